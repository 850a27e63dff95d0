#pragma once
// A remote-access service and interface table that the monitor's tests set up by hand.
#include <map>
#include <string>
#include <vector>

#include "monitor/remoteaccess.h"

struct FakeRemoteAccess {
    bool enumerationFails = false;
    std::vector<RemoteConnection> connections;
    std::map<uintptr_t, std::string> addresses; // IP projection by handle; missing: none

    bool addressTableFails = false;
    std::vector<AddressRow> addressRows;
    bool interfaceTableFails = false;
    std::map<uint32_t, InterfaceCounters> interfaces; // the interface table, by index

    std::vector<uintptr_t> hungUp;
    std::vector<std::string> dialled;
    uint32_t dialResult = 0;
    uint32_t addressTableReads = 0;
    uint32_t interfaceTableReads = 0;
};

extern FakeRemoteAccess fakeRemoteAccess;

void resetFakeRemoteAccess();

// Lists a connection with the given handle and name (and IP projection, when not empty).
void fakeConnect(uintptr_t handle, const char* name, const char* ipAddress = "");
void fakeDisconnect(uintptr_t handle);
