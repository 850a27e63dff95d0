// A stand-in for the system's remote-access library, for running telvane under Wine, whose own
// rasapi32 knows no connections. It serves the eight calls telvane makes, with the platform's
// signatures, size rules and error codes, over the simulator's state file.
#include <windows.h>
#include <ras.h>
#include <raserror.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "dialsim/simstate.h"

namespace {

template <size_t N> void copyText(char (&target)[N], const std::string& source)
{
    const size_t length = source.size() < N - 1 ? source.size() : N - 1;
    memcpy(target, source.data(), length);
    target[length] = '\0';
}

// Dial parameters of systems before Windows 7 end before dwIfIndex; both layouts are accepted.
constexpr DWORD kOldDialParamsSize = DWORD((offsetof(RASDIALPARAMSA, dwIfIndex) + alignof(RASDIALPARAMSA) - 1)
    / alignof(RASDIALPARAMSA) * alignof(RASDIALPARAMSA));

// A copy of the state for a call that only reads it: the lock is held just while it is loaded.
bool readSimState(SimState& state)
{
    SimLock lock;
    return loadSimState(state);
}

bool isDialParamsSize(DWORD size) { return size == sizeof(RASDIALPARAMSA) || size == kOldDialParamsSize; }

struct Registration {
    HANDLE event;
    bool allConnections;
    uint64_t handle;
    DWORD flags;
};

// Notification registrations of this process and the connections last seen by its listener.
SRWLOCK registrationLock = SRWLOCK_INIT;
std::vector<Registration> registrations;
std::vector<uint64_t> knownConnections;
HANDLE wakeEvent = nullptr;

bool contains(const std::vector<uint64_t>& handles, uint64_t handle)
{
    for (uint64_t known : handles)
        if (known == handle)
            return true;
    return false;
}

// Woken by any process that changed the state: finds what came and went since the last wake
// and signals the registrations that asked for it.
DWORD WINAPI listenForChanges(void* event)
{
    for (;;) {
        if (WaitForSingleObject(static_cast<HANDLE>(event), INFINITE) != WAIT_OBJECT_0)
            return 0;
        std::vector<uint64_t> current;
        {
            SimLock lock;
            SimState state;
            if (!loadSimState(state))
                continue;
            for (const SimConnection& connection : state.connections)
                current.push_back(connection.handle);
        }
        AcquireSRWLockExclusive(&registrationLock);
        bool anyConnected = false;
        std::vector<uint64_t> disconnected;
        for (uint64_t handle : current)
            anyConnected = anyConnected || !contains(knownConnections, handle);
        for (uint64_t handle : knownConnections)
            if (!contains(current, handle))
                disconnected.push_back(handle);
        knownConnections = current;
        for (const Registration& registration : registrations) {
            const bool connection
                = (registration.flags & RASCN_Connection) && registration.allConnections && anyConnected;
            const bool disconnection = (registration.flags & RASCN_Disconnection)
                && (registration.allConnections ? !disconnected.empty() : contains(disconnected, registration.handle));
            if (connection || disconnection)
                SetEvent(registration.event);
        }
        ReleaseSRWLockExclusive(&registrationLock);
    }
}

// Makes this process a listener once: its wake event, its entry in the state and its thread.
bool startListening()
{
    if (wakeEvent != nullptr)
        return true;
    const DWORD processId = GetCurrentProcessId();
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, listenerEventName(processId).c_str());
    if (event == nullptr)
        return false;
    {
        SimLock lock;
        SimState state;
        if (!loadSimState(state)) {
            CloseHandle(event);
            return false;
        }
        bool listed = false;
        for (uint32_t listener : state.listeners)
            listed = listed || listener == processId;
        if (!listed)
            state.listeners.push_back(processId);
        knownConnections.clear();
        for (const SimConnection& connection : state.connections)
            knownConnections.push_back(connection.handle);
        if (!saveSimState(state)) {
            CloseHandle(event);
            return false;
        }
    }
    // The thread gets the event itself: read from wakeEvent, it could still be null when the
    // thread first waits, and the listener would end before its first wake.
    HANDLE thread = CreateThread(nullptr, 0, listenForChanges, event, 0, nullptr);
    if (thread == nullptr) {
        CloseHandle(event);
        return false;
    }
    CloseHandle(thread);
    wakeEvent = event;
    return true;
}

uint64_t handleValue(HRASCONN connection) { return reinterpret_cast<uintptr_t>(connection); }

} // namespace

extern "C" {

DWORD WINAPI RasConnectionNotificationA(HRASCONN connection, HANDLE event, DWORD flags)
{
    if (event == nullptr || event == INVALID_HANDLE_VALUE)
        return ERROR_INVALID_PARAMETER;
    AcquireSRWLockExclusive(&registrationLock);
    const bool listening = startListening();
    if (listening)
        registrations.push_back({ event, connection == INVALID_HANDLE_VALUE, handleValue(connection), flags });
    ReleaseSRWLockExclusive(&registrationLock);
    return listening ? 0 : ERROR_CANNOT_OPEN_PHONEBOOK;
}

DWORD WINAPI RasEnumConnectionsA(LPRASCONNA connections, LPDWORD bytes, LPDWORD count)
{
    if (bytes == nullptr || count == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (connections != nullptr && connections->dwSize != sizeof(RASCONNA))
        return ERROR_INVALID_SIZE;
    SimState state;
    if (!readSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const DWORD needed = DWORD(state.connections.size() * sizeof(RASCONNA));
    if (connections == nullptr || *bytes < needed) {
        *bytes = needed;
        *count = DWORD(state.connections.size());
        return needed == 0 ? 0 : ERROR_BUFFER_TOO_SMALL;
    }
    const std::string phoneBook = simFolder() + "dialsim-state.txt";
    for (size_t i = 0; i < state.connections.size(); ++i) {
        RASCONNA& out = connections[i];
        memset(&out, 0, sizeof out);
        out.dwSize = sizeof out;
        out.hrasconn = reinterpret_cast<HRASCONN>(uintptr_t(state.connections[i].handle));
        copyText(out.szEntryName, state.connections[i].entryName);
        copyText(out.szDeviceType, "modem");
        copyText(out.szDeviceName, "Dial-up Simulator");
        copyText(out.szPhonebook, phoneBook);
        out.dwSubEntry = 1;
    }
    *bytes = needed;
    *count = DWORD(state.connections.size());
    return 0;
}

DWORD WINAPI RasGetProjectionInfoA(HRASCONN connection, RASPROJECTION projection, LPVOID buffer, LPDWORD bytes)
{
    if (buffer == nullptr || bytes == nullptr)
        return ERROR_INVALID_PARAMETER;
    SimState state;
    if (!readSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const SimConnection* found = findConnection(state, handleValue(connection));
    if (found == nullptr)
        return ERROR_INVALID_HANDLE;
    if (projection != RASP_PppIp || found->ipAddress.empty())
        return ERROR_PROTOCOL_NOT_CONFIGURED;
    auto* ip = static_cast<RASPPPIPA*>(buffer);
    if (*bytes < sizeof(RASPPPIPA)) {
        *bytes = sizeof(RASPPPIPA);
        return ERROR_BUFFER_TOO_SMALL;
    }
    if (ip->dwSize != sizeof(RASPPPIPA))
        return ERROR_INVALID_SIZE;
    memset(ip, 0, sizeof *ip);
    ip->dwSize = sizeof *ip;
    copyText(ip->szIpAddress, found->ipAddress);
    copyText(ip->szServerIpAddress, found->ipAddress);
    *bytes = sizeof *ip;
    return 0;
}

DWORD WINAPI RasEnumEntriesA(LPCSTR, LPCSTR, LPRASENTRYNAMEA entries, LPDWORD bytes, LPDWORD count)
{
    if (bytes == nullptr || count == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (entries != nullptr && entries->dwSize != sizeof(RASENTRYNAMEA))
        return ERROR_INVALID_SIZE;
    SimState state;
    if (!readSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const DWORD needed = DWORD(state.entries.size() * sizeof(RASENTRYNAMEA));
    if (entries == nullptr || *bytes < needed) {
        *bytes = needed;
        *count = DWORD(state.entries.size());
        return needed == 0 ? 0 : ERROR_BUFFER_TOO_SMALL;
    }
    const std::string phoneBook = simFolder() + "dialsim-state.txt";
    for (size_t i = 0; i < state.entries.size(); ++i) {
        RASENTRYNAMEA& out = entries[i];
        memset(&out, 0, sizeof out);
        out.dwSize = sizeof out;
        copyText(out.szEntryName, state.entries[i].name);
        out.dwFlags = REN_User;
        copyText(out.szPhonebookPath, phoneBook);
    }
    *bytes = needed;
    *count = DWORD(state.entries.size());
    return 0;
}

DWORD WINAPI RasGetEntryDialParamsA(LPCSTR, LPRASDIALPARAMSA parameters, LPBOOL passwordStored)
{
    if (parameters == nullptr || passwordStored == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (!isDialParamsSize(parameters->dwSize))
        return ERROR_INVALID_SIZE;
    SimState state;
    if (!readSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const std::string name(parameters->szEntryName, strnlen(parameters->szEntryName, sizeof parameters->szEntryName));
    const SimEntry* entry = findEntry(state, name);
    if (entry == nullptr || !entry->storedParameters)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    copyText(parameters->szPhoneNumber, "");
    copyText(parameters->szUserName, "dialsim");
    copyText(parameters->szPassword, "");
    *passwordStored = FALSE;
    return 0;
}

DWORD WINAPI RasDialA(
    LPRASDIALEXTENSIONS, LPCSTR, LPRASDIALPARAMSA parameters, DWORD, LPVOID notifier, LPHRASCONN connection)
{
    if (parameters == nullptr || connection == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (!isDialParamsSize(parameters->dwSize))
        return ERROR_INVALID_SIZE;
    // Only the synchronous form is simulated.
    if (notifier != nullptr)
        return ERROR_NOT_SUPPORTED;
    *connection = nullptr;
    const std::string name(parameters->szEntryName, strnlen(parameters->szEntryName, sizeof parameters->szEntryName));

    SimEntry entry;
    {
        SimLock lock;
        SimState state;
        if (!loadSimState(state))
            return ERROR_CANNOT_OPEN_PHONEBOOK;
        const SimEntry* found = findEntry(state, name);
        if (found == nullptr)
            return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
        for (const SimConnection& running : state.connections)
            if (running.entryName == name)
                return ERROR_PORT_ALREADY_OPEN;
        entry = *found;
    }
    // The modem's handshake, outside the lock so other processes go on meanwhile.
    if (entry.dialDelayMs != 0)
        Sleep(entry.dialDelayMs);
    if (entry.dialError != 0)
        return entry.dialError;

    SimLock lock;
    SimState state;
    if (!loadSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    for (const SimConnection& running : state.connections)
        if (running.entryName == name)
            return ERROR_PORT_ALREADY_OPEN;
    SimConnection made { state.nextHandle, name, entry.ipAddress };
    state.nextHandle += 4;
    state.connections.push_back(made);
    wakeListeners(state);
    if (!saveSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    *connection = reinterpret_cast<HRASCONN>(uintptr_t(made.handle));
    return 0;
}

DWORD WINAPI RasHangUpA(HRASCONN connection)
{
    SimLock lock;
    SimState state;
    if (!loadSimState(state))
        return ERROR_CANNOT_OPEN_PHONEBOOK;
    const uint64_t handle = handleValue(connection);
    for (size_t i = 0; i < state.connections.size(); ++i) {
        if (state.connections[i].handle == handle) {
            state.connections.erase(state.connections.begin() + ptrdiff_t(i));
            wakeListeners(state);
            return saveSimState(state) ? 0 : ERROR_CANNOT_OPEN_PHONEBOOK;
        }
    }
    return ERROR_INVALID_HANDLE;
}

// The texts of the errors a simulated dial can fail with, in the user interface's language as
// the system gives them (English, or German on a German system), in the ANSI code page.
DWORD WINAPI RasGetErrorStringA(UINT error, LPSTR text, DWORD size)
{
    static const struct {
        UINT error;
        const char* english;
        const char* german;
    } texts[] = {
        { ERROR_LINE_BUSY, "The phone line is busy.", "Die Leitung ist besetzt." },
        { ERROR_NO_ANSWER, "The remote computer did not respond.", "Der Remotecomputer hat nicht geantwortet." },
        { ERROR_NO_DIALTONE, "There is no dial tone.", "Es ist kein W\xE4hlton vorhanden." },
        { ERROR_AUTHENTICATION_FAILURE, "Access was denied because the username and/or password was invalid.",
            "Der Zugriff wurde verweigert, weil der Benutzername oder das Kennwort ung\xFCltig ist." },
        { ERROR_CANNOT_FIND_PHONEBOOK_ENTRY, "The system could not find the phone book entry for this connection.",
            "Der Telefonbucheintrag f\xFCr diese Verbindung wurde nicht gefunden." },
    };
    if (text == nullptr)
        return ERROR_INVALID_PARAMETER;
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    for (const auto& known : texts) {
        if (known.error != error)
            continue;
        const char* chosen = german ? known.german : known.english;
        if (strlen(chosen) + 1 > size)
            return ERROR_INSUFFICIENT_BUFFER;
        memcpy(text, chosen, strlen(chosen) + 1);
        return 0;
    }
    return ERROR_INVALID_PARAMETER;
}

} // extern "C"
