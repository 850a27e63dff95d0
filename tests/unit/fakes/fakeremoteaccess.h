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

    bool adapterListFails = false;
    std::vector<NetworkAdapter> adapters;
    bool adapterChangesNotified = false; // the system reports adapter changes
    uint32_t adapterListReads = 0;

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

// Lists an adapter, up with the given IPv4 address (down when it is empty), or changes the one
// with that id.
NetworkAdapter& fakeAdapter(const char* id, const char* name, const char* ipv4Address, uint32_t interfaceIndex);
