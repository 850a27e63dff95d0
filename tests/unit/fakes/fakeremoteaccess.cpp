#include "fakes/fakeremoteaccess.h"

#include <algorithm>
#include <cstring>

FakeRemoteAccess fakeRemoteAccess;

void resetFakeRemoteAccess() { fakeRemoteAccess = FakeRemoteAccess {}; }

void fakeConnect(uintptr_t handle, const char* name, const char* ipAddress)
{
    RemoteConnection connection {};
    connection.handle = handle;
    strncpy(connection.entryName, name, sizeof connection.entryName - 1);
    fakeRemoteAccess.connections.push_back(connection);
    if (ipAddress[0] != '\0')
        fakeRemoteAccess.addresses[handle] = ipAddress;
}

void fakeDisconnect(uintptr_t handle)
{
    std::erase_if(fakeRemoteAccess.connections, [&](const RemoteConnection& c) { return c.handle == handle; });
}

NetworkAdapter& fakeAdapter(const char* id, const char* name, const char* ipv4Address, uint32_t interfaceIndex)
{
    NetworkAdapter* adapter = nullptr;
    for (NetworkAdapter& listed : fakeRemoteAccess.adapters)
        if (strcmp(listed.id, id) == 0)
            adapter = &listed;
    if (adapter == nullptr)
        adapter = &fakeRemoteAccess.adapters.emplace_back();
    *adapter = NetworkAdapter {};
    strncpy(adapter->id, id, sizeof adapter->id - 1);
    strncpy(adapter->name, name, sizeof adapter->name - 1);
    strncpy(adapter->ipv4Address, ipv4Address, sizeof adapter->ipv4Address - 1);
    strncpy(adapter->addresses, ipv4Address, sizeof adapter->addresses - 1);
    adapter->interfaceIndex = interfaceIndex;
    adapter->up = ipv4Address[0] != '\0';
    return *adapter;
}

bool listNetworkAdapters(std::vector<NetworkAdapter>& adapters)
{
    ++fakeRemoteAccess.adapterListReads;
    adapters.clear();
    if (fakeRemoteAccess.adapterListFails)
        return false;
    adapters = fakeRemoteAccess.adapters;
    return true;
}

bool adapterChangesNotified() { return fakeRemoteAccess.adapterChangesNotified; }

bool enumerateRemoteConnections(std::vector<RemoteConnection>& connections)
{
    connections.clear();
    if (fakeRemoteAccess.enumerationFails)
        return false;
    connections = fakeRemoteAccess.connections;
    return true;
}

bool remoteConnectionAddress(uintptr_t handle, char* address, size_t size)
{
    address[0] = '\0';
    auto found = fakeRemoteAccess.addresses.find(handle);
    if (found == fakeRemoteAccess.addresses.end() || found->second.size() >= size)
        return false;
    strcpy(address, found->second.c_str());
    return true;
}

bool readAddressTable(std::vector<AddressRow>& rows)
{
    ++fakeRemoteAccess.addressTableReads;
    rows.clear();
    if (fakeRemoteAccess.addressTableFails)
        return false;
    rows = fakeRemoteAccess.addressRows;
    return true;
}

bool readInterfaceTable(std::vector<InterfaceRow>& rows)
{
    ++fakeRemoteAccess.interfaceTableReads;
    rows.clear();
    if (fakeRemoteAccess.interfaceTableFails)
        return false;
    for (const auto& [index, counters] : fakeRemoteAccess.interfaces)
        rows.push_back({ index, counters });
    return true;
}

void hangUpRemoteConnection(uintptr_t handle) { fakeRemoteAccess.hungUp.push_back(handle); }

uint32_t dialPhoneBookEntry(const char* entryName)
{
    fakeRemoteAccess.dialled.push_back(entryName);
    return fakeRemoteAccess.dialResult;
}

bool listPhoneBookEntries(PhoneBookEntryName (&)[kMaxPhoneBookEntries], uint32_t& count)
{
    count = 0;
    return true;
}
