#pragma once
// The dial-up simulator's phone book and connections, kept in one text file so that the
// simulated rasapi32.dll in every process and the control tool see the same state.
//
// The folder is named by the environment variable DIALSIM_DIR, else it is the folder of the
// module (the DLL or the tool). A named mutex derived from the folder serialises every
// read-modify-write; every change wakes the processes that registered for notifications.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct SimEntry {
    std::string name;
    std::string ipAddress; // "" when the connection has no IP projection
    uint32_t dialDelayMs = 300; // the modem handshake that RasDialA waits through
    uint32_t dialError = 0; // 0: dialling succeeds; otherwise RasDialA fails with it
    bool storedParameters = true;
};

struct SimConnection {
    uint64_t handle = 0;
    std::string entryName;
    std::string ipAddress;
};

struct SimState {
    uint64_t nextHandle = 0x5100;
    std::vector<SimEntry> entries;
    std::vector<SimConnection> connections;
    std::vector<uint32_t> listeners; // process ids with a notification registration
};

std::string simFolder(); // ends in a backslash

// Held while the state is read, changed and written.
class SimLock {
public:
    SimLock();
    ~SimLock();
    SimLock(const SimLock&) = delete;
    SimLock& operator=(const SimLock&) = delete;

private:
    HANDLE mutex_;
};

// False only when a state file exists and cannot be read; a missing file is an empty state.
bool loadSimState(SimState& state);
bool saveSimState(const SimState& state);

SimEntry* findEntry(SimState& state, const std::string& name);
SimConnection* findConnection(SimState& state, uint64_t handle);

// Wakes every registered listener process; drops those that have gone. Call with the lock
// held and save the state afterwards.
void wakeListeners(SimState& state);

// Name of the event a listener process waits on.
std::string listenerEventName(uint32_t processId);

// Whether a name can be kept in the state file (no tabs or line breaks, 1..256 characters).
bool isValidEntryName(const std::string& name);
