#include "dialsim/simstate.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string moduleFolder()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&moduleFolder), &module);
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return ".\\";
    std::string folder(path, length);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? ".\\" : folder.substr(0, slash + 1);
}

// Names of kernel objects cannot hold backslashes: the folder is reduced to a hash.
std::string folderKey()
{
    std::string folder = simFolder();
    uint32_t hash = 2166136261u;
    for (char c : folder) {
        const char lower = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c == '/' ? '\\' : c;
        hash = (hash ^ uint8_t(lower)) * 16777619u;
    }
    char text[16];
    snprintf(text, sizeof text, "%08x", hash);
    return text;
}

std::string stateFile() { return simFolder() + "dialsim-state.txt"; }

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

uint32_t number(const std::string& text) { return uint32_t(strtoul(text.c_str(), nullptr, 0)); }

} // namespace

std::string simFolder()
{
    char value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("DIALSIM_DIR", value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return moduleFolder();
    std::string folder(value, length);
    if (folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

SimLock::SimLock()
    : mutex_(CreateMutexA(nullptr, FALSE, ("dialsim-lock-" + folderKey()).c_str()))
{
    if (mutex_ != nullptr)
        WaitForSingleObject(mutex_, INFINITE);
}

SimLock::~SimLock()
{
    if (mutex_ != nullptr) {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
}

std::string listenerEventName(uint32_t processId)
{
    char suffix[16];
    snprintf(suffix, sizeof suffix, "-%u", processId);
    return "dialsim-wake-" + folderKey() + suffix;
}

bool loadSimState(SimState& state)
{
    state = SimState {};
    FILE* file = fopen(stateFile().c_str(), "rb");
    if (file == nullptr)
        return GetFileAttributesA(stateFile().c_str()) == INVALID_FILE_ATTRIBUTES;
    char buffer[1024];
    while (fgets(buffer, sizeof buffer, file) != nullptr) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        const std::vector<std::string> fields = splitTabs(line);
        if (fields[0] == "next" && fields.size() == 2) {
            state.nextHandle = strtoull(fields[1].c_str(), nullptr, 0);
        } else if (fields[0] == "entry" && fields.size() == 6) {
            state.entries.push_back({ fields[1], fields[2], number(fields[3]), number(fields[4]), fields[5] == "1" });
        } else if (fields[0] == "connection" && fields.size() == 4) {
            state.connections.push_back({ strtoull(fields[1].c_str(), nullptr, 0), fields[2], fields[3] });
        } else if (fields[0] == "listener" && fields.size() == 2) {
            state.listeners.push_back(number(fields[1]));
        }
    }
    fclose(file);
    return true;
}

bool saveSimState(const SimState& state)
{
    const std::string target = stateFile();
    const std::string temporary = target + ".new";
    FILE* file = fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    fprintf(file, "next\t%llu\n", static_cast<unsigned long long>(state.nextHandle));
    for (const SimEntry& entry : state.entries)
        fprintf(file, "entry\t%s\t%s\t%u\t%u\t%d\n", entry.name.c_str(), entry.ipAddress.c_str(), entry.dialDelayMs,
            entry.dialError, entry.storedParameters ? 1 : 0);
    for (const SimConnection& connection : state.connections)
        fprintf(file, "connection\t%llu\t%s\t%s\n", static_cast<unsigned long long>(connection.handle),
            connection.entryName.c_str(), connection.ipAddress.c_str());
    for (uint32_t listener : state.listeners)
        fprintf(file, "listener\t%u\n", listener);
    const bool written = fflush(file) == 0;
    fclose(file);
    if (!written)
        return false;
    return MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

SimEntry* findEntry(SimState& state, const std::string& name)
{
    for (SimEntry& entry : state.entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

SimConnection* findConnection(SimState& state, uint64_t handle)
{
    for (SimConnection& connection : state.connections)
        if (connection.handle == handle)
            return &connection;
    return nullptr;
}

void wakeListeners(SimState& state)
{
    std::vector<uint32_t> alive;
    for (uint32_t listener : state.listeners) {
        HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, listenerEventName(listener).c_str());
        if (event == nullptr)
            continue;
        SetEvent(event);
        CloseHandle(event);
        alive.push_back(listener);
    }
    state.listeners = alive;
}

bool isValidEntryName(const std::string& name)
{
    return !name.empty() && name.size() <= 256 && name.find_first_of("\t\r\n") == std::string::npos;
}
