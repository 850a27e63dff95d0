#pragma once
// The remote-access service and the interface counters as the connection monitor needs them.
// The programs link the Win32 implementation (remoteaccess_win.cpp); the unit tests link
// fakes. Records here are plain copies of the platform's, so the core never sees <windows.h>.
#include <cstddef>
#include <cstdint>
#include <vector>

struct RemoteConnection {
    uintptr_t handle;
    char entryName[257];
};

// Every connection the service lists, in the service's order. False when the service could
// not be asked; the system error is then left for the report.
bool enumerateRemoteConnections(std::vector<RemoteConnection>& connections);

// The connection's own IP address as dotted text (at most 15 characters). False, with an
// empty text, when the service has no IP projection for it.
bool remoteConnectionAddress(uintptr_t handle, char* address, size_t size);

// One row of the machine's IP address table: the address bytes in memory (network) order.
struct AddressRow {
    uint8_t address[4];
    uint32_t interfaceIndex;
};

// The address table, unsorted. False when it could not be read.
bool readAddressTable(std::vector<AddressRow>& rows);

// The counters of one network interface, and its speed. Older tables have 32-bit counters,
// which a fast link wraps within seconds; `wide` counters are 64-bit and never wrap.
struct InterfaceCounters {
    uint64_t inOctets;
    uint64_t inUnicastPackets;
    uint64_t inNonUnicastPackets;
    uint64_t outOctets;
    uint64_t outUnicastPackets;
    uint64_t outNonUnicastPackets;
    uint64_t speed = 0; // bits per second; 0 when the system does not know it
    bool wide = false;
};

struct InterfaceRow {
    uint32_t interfaceIndex;
    InterfaceCounters counters;
};

// The counters of every interface of the machine, in one read. False when they could not be
// read.
bool readInterfaceTable(std::vector<InterfaceRow>& rows);

// A network adapter of the machine, as the options list it and the watcher follows it.
constexpr size_t kAdapterIdSize = 64;
struct NetworkAdapter {
    char id[kAdapterIdSize]; // stable across restarts: the interface's GUID as text
    char name[257]; // the friendly name the user gave it
    char description[257];
    char addresses[256]; // every current address, for display, separated by ", "
    char ipv4Address[16]; // the first IPv4 address as dotted text; empty when it has none
    uint32_t interfaceIndex; // its row in the interface table
    bool up; // operational status up
};

// The machine's network adapters. False when they could not be listed.
bool listNetworkAdapters(std::vector<NetworkAdapter>& adapters);

// True once the system has shown that it reports adapter changes (its first report has come):
// until then the timer tick looks at the adapters itself.
bool adapterChangesNotified();

// Asks the service to end a connection; does not wait for it to go down.
void hangUpRemoteConnection(uintptr_t handle);

// Dials an entry of the default phone book with the parameters stored for it and waits until
// the connection is up or has failed. Returns 0 when it is up, otherwise the service's error.
uint32_t dialPhoneBookEntry(const char* entryName);

// The system's own text of a remote-access error such as 678, in the system's language; false
// when it has none.
bool remoteAccessErrorText(uint32_t error, char* text, size_t size);

constexpr uint32_t kMaxPhoneBookEntries = 64;
struct PhoneBookEntryName {
    char name[257];
};

// The entries of the default phone book. False when they cannot be listed, also when there
// are more than kMaxPhoneBookEntries of them.
bool listPhoneBookEntries(PhoneBookEntryName (&names)[kMaxPhoneBookEntries], uint32_t& count);
