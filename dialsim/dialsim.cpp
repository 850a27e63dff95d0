// Control tool of the dial-up simulator: edits its phone book and brings connections up and
// down from outside the program under test, as a modem and a provider would.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialsim/simstate.h"

namespace {

enum ExitCode { kDone = 0, kRefused = 1, kUsage = 2, kStateUnusable = 3 };

int usage()
{
    fputs(
        "usage: dialsim add NAME [--ip ADDRESS | --no-ip] [--delay MS (300)] [--fail ERROR] [--no-stored-parameters]\n"
        "       dialsim remove NAME\n"
        "       dialsim connect NAME\n"
        "       dialsim hangup NAME\n"
        "       dialsim list\n"
        "       dialsim reset\n"
        "State folder: %DIALSIM_DIR%, else the folder of dialsim.exe.\n",
        stderr);
    return kUsage;
}

bool parseNumber(const char* text, uint32_t& value)
{
    char* end = nullptr;
    const unsigned long parsed = strtoul(text, &end, 0);
    if (end == text || *end != '\0')
        return false;
    value = uint32_t(parsed);
    return true;
}

bool isValidAddress(const std::string& text)
{
    unsigned parts[4];
    char rest;
    return sscanf(text.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3], &rest) == 4
        && parts[0] < 256 && parts[1] < 256 && parts[2] < 256 && parts[3] < 256 && text.size() <= 15;
}

int addEntry(SimState& state, int argc, char** argv)
{
    SimEntry entry;
    entry.name = argv[2];
    entry.ipAddress = "127.0.0.1";
    if (!isValidEntryName(entry.name)) {
        fprintf(stderr, "dialsim: an entry name has 1 to 256 characters and no tabs or line breaks\n");
        return kUsage;
    }
    for (int i = 3; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--ip" && i + 1 < argc && isValidAddress(argv[i + 1])) {
            entry.ipAddress = argv[++i];
        } else if (option == "--no-ip") {
            entry.ipAddress.clear();
        } else if (option == "--delay" && i + 1 < argc && parseNumber(argv[i + 1], entry.dialDelayMs)) {
            ++i;
        } else if (option == "--fail" && i + 1 < argc && parseNumber(argv[i + 1], entry.dialError)) {
            ++i;
        } else if (option == "--no-stored-parameters") {
            entry.storedParameters = false;
        } else {
            return usage();
        }
    }
    if (findEntry(state, entry.name) != nullptr) {
        fprintf(stderr, "dialsim: entry \"%s\" exists already\n", entry.name.c_str());
        return kRefused;
    }
    state.entries.push_back(entry);
    return kDone;
}

// Removes the connections of `name` (all of them when `name` is null); true when any went.
bool hangUpEntry(SimState& state, const char* name)
{
    const size_t before = state.connections.size();
    std::erase_if(state.connections, [&](const SimConnection& c) { return name == nullptr || c.entryName == name; });
    return state.connections.size() != before;
}

int run(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    const bool takesName = command == "add" || command == "remove" || command == "connect" || command == "hangup";
    if (takesName ? argc < 3 : argc != 2)
        return usage();
    if (command != "add" && takesName && argc != 3)
        return usage();

    SimLock lock;
    SimState state;
    if (!loadSimState(state)) {
        fprintf(stderr, "dialsim: cannot read the state in %s\n", simFolder().c_str());
        return kStateUnusable;
    }

    int result = kDone;
    bool changedConnections = false;
    if (command == "add") {
        result = addEntry(state, argc, argv);
    } else if (command == "remove") {
        if (findEntry(state, argv[2]) == nullptr) {
            fprintf(stderr, "dialsim: no entry \"%s\"\n", argv[2]);
            return kRefused;
        }
        std::erase_if(state.entries, [&](const SimEntry& e) { return e.name == argv[2]; });
        changedConnections = hangUpEntry(state, argv[2]);
    } else if (command == "connect") {
        const SimEntry* entry = findEntry(state, argv[2]);
        if (entry == nullptr) {
            fprintf(stderr, "dialsim: no entry \"%s\"\n", argv[2]);
            return kRefused;
        }
        state.connections.push_back({ state.nextHandle, entry->name, entry->ipAddress });
        printf("0x%llx\n", static_cast<unsigned long long>(state.nextHandle));
        state.nextHandle += 4;
        changedConnections = true;
    } else if (command == "hangup") {
        if (!hangUpEntry(state, argv[2])) {
            fprintf(stderr, "dialsim: \"%s\" is not connected\n", argv[2]);
            return kRefused;
        }
        changedConnections = true;
    } else if (command == "list") {
        for (const SimEntry& entry : state.entries)
            printf("entry\t%s\tip=%s\tdelay=%u\tfail=%u\tstored-parameters=%s\n", entry.name.c_str(),
                entry.ipAddress.empty() ? "none" : entry.ipAddress.c_str(), entry.dialDelayMs, entry.dialError,
                entry.storedParameters ? "yes" : "no");
        for (const SimConnection& connection : state.connections)
            printf("connection\t0x%llx\t%s\t%s\n", static_cast<unsigned long long>(connection.handle),
                connection.entryName.c_str(), connection.ipAddress.empty() ? "none" : connection.ipAddress.c_str());
        return kDone;
    } else if (command == "reset") {
        changedConnections = hangUpEntry(state, nullptr);
        state.entries.clear();
    } else {
        return usage();
    }
    if (result != kDone)
        return result;
    if (changedConnections)
        wakeListeners(state);
    if (!saveSimState(state)) {
        fprintf(stderr, "dialsim: cannot write the state in %s\n", simFolder().c_str());
        return kStateUnusable;
    }
    return kDone;
}

} // namespace

int main(int argc, char** argv)
{
    const int result = run(argc, argv);
    fflush(stdout);
    return result;
}
