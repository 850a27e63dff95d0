// The remote-access service and the IP helper behind the monitor's seam.
#include <winsock2.h>
#include <windows.h>
// The IP helper declares its newer interfaces only after the IP definitions.
#include <ws2ipdef.h>

#include <iphlpapi.h>
#include <netioapi.h>
#include <ras.h>
#include <raserror.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "monitor/remoteaccess.h"

namespace {

template <size_t N> void copyText(char (&target)[N], const char* source, size_t sourceSize)
{
    size_t length = strnlen(source, sourceSize);
    if (length > N - 1)
        length = N - 1;
    memcpy(target, source, length);
    target[length] = '\0';
}

// A list can grow between the call that asks for the size and the call that fills the
// buffer; a connection that comes up at that moment must not read as a failure.
constexpr int kSizeRetries = 4;

} // namespace

bool enumerateRemoteConnections(std::vector<RemoteConnection>& connections)
{
    connections.clear();
    DWORD bytes = sizeof(RASCONNA);
    for (int attempt = 0; attempt < kSizeRetries; ++attempt) {
        const DWORD slots = bytes < sizeof(RASCONNA) ? 1 : DWORD((bytes + sizeof(RASCONNA) - 1) / sizeof(RASCONNA));
        std::unique_ptr<RASCONNA[]> buffer(new (std::nothrow) RASCONNA[slots]());
        if (!buffer) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        buffer[0].dwSize = sizeof(RASCONNA);
        bytes = DWORD(slots * sizeof(RASCONNA));
        DWORD count = 0;
        const DWORD result = RasEnumConnectionsA(buffer.get(), &bytes, &count);
        if (result == ERROR_BUFFER_TOO_SMALL)
            continue;
        if (result != 0) {
            SetLastError(result);
            return false;
        }
        for (DWORD i = 0; i < count && i < slots; ++i) {
            RemoteConnection connection {};
            connection.handle = reinterpret_cast<uintptr_t>(buffer[i].hrasconn);
            copyText(connection.entryName, buffer[i].szEntryName, sizeof buffer[i].szEntryName);
            connections.push_back(connection);
        }
        return true;
    }
    SetLastError(ERROR_BUFFER_TOO_SMALL);
    return false;
}

bool remoteConnectionAddress(uintptr_t handle, char* address, size_t size)
{
    if (size != 0)
        address[0] = '\0';
    RASPPPIPA projection;
    memset(&projection, 0, sizeof projection);
    projection.dwSize = sizeof projection;
    DWORD bytes = sizeof projection;
    if (RasGetProjectionInfoA(reinterpret_cast<HRASCONN>(handle), RASP_PppIp, &projection, &bytes) != 0)
        return false;
    char text[sizeof projection.szIpAddress + 1];
    copyText(text, projection.szIpAddress, sizeof projection.szIpAddress);
    if (size == 0 || strlen(text) >= size)
        return false;
    strcpy(address, text);
    return true;
}

bool readAddressTable(std::vector<AddressRow>& rows)
{
    rows.clear();
    ULONG bytes = sizeof(MIB_IPADDRTABLE);
    for (int attempt = 0; attempt < kSizeRetries; ++attempt) {
        std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[bytes]());
        if (!buffer) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return false;
        }
        auto* table = reinterpret_cast<MIB_IPADDRTABLE*>(buffer.get());
        const DWORD result = GetIpAddrTable(table, &bytes, FALSE);
        if (result == ERROR_INSUFFICIENT_BUFFER)
            continue;
        if (result != NO_ERROR) {
            SetLastError(result);
            return false;
        }
        for (DWORD i = 0; i < table->dwNumEntries; ++i) {
            AddressRow row {};
            memcpy(row.address, &table->table[i].dwAddr, sizeof row.address);
            row.interfaceIndex = table->table[i].dwIndex;
            rows.push_back(row);
        }
        return true;
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
}

// The 64-bit counters of every interface in one read, so a fast link never wraps between two
// ticks.
bool readInterfaceTable(std::vector<InterfaceRow>& rows)
{
    rows.clear();
    MIB_IF_TABLE2* table = nullptr;
    const DWORD result = GetIfTable2(&table);
    if (result != NO_ERROR) {
        SetLastError(result);
        return false;
    }
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IF_ROW2& entry = table->Table[i];
        InterfaceRow row {};
        row.interfaceIndex = entry.InterfaceIndex;
        row.counters.inOctets = entry.InOctets;
        row.counters.inUnicastPackets = entry.InUcastPkts;
        row.counters.inNonUnicastPackets = entry.InNUcastPkts;
        row.counters.outOctets = entry.OutOctets;
        row.counters.outUnicastPackets = entry.OutUcastPkts;
        row.counters.outNonUnicastPackets = entry.OutNUcastPkts;
        row.counters.speed = entry.ReceiveLinkSpeed;
        row.counters.wide = true;
        rows.push_back(row);
    }
    FreeMibTable(table);
    return true;
}

void hangUpRemoteConnection(uintptr_t handle) { RasHangUpA(reinterpret_cast<HRASCONN>(handle)); }

uint32_t dialPhoneBookEntry(const char* entryName)
{
    RASDIALPARAMSA parameters;
    memset(&parameters, 0, sizeof parameters);
    parameters.dwSize = sizeof parameters;
    copyText(parameters.szEntryName, entryName, sizeof parameters.szEntryName);
    // Without stored parameters the entry is dialled with its name alone.
    BOOL passwordStored = FALSE;
    RasGetEntryDialParamsA(nullptr, &parameters, &passwordStored);
    HRASCONN connection = nullptr;
    const DWORD result = RasDialA(nullptr, nullptr, &parameters, 0, nullptr, &connection);
    // A failed dial can still hand back a handle, which holds the port until it is hung up.
    if (result != 0 && connection != nullptr)
        RasHangUpA(connection);
    return result;
}

bool remoteAccessErrorText(uint32_t error, char* text, size_t size)
{
    if (size == 0)
        return false;
    text[0] = '\0';
    char buffer[512] = "";
    // The system's error table means other things by the same numbers: only the service knows.
    if (RasGetErrorStringA(UINT(error), buffer, sizeof buffer) != 0)
        return false;
    // One line in a balloon and the status line: the line break the system ends it with goes.
    size_t length = strnlen(buffer, sizeof buffer - 1);
    while (length > 0 && (buffer[length - 1] == '\r' || buffer[length - 1] == '\n' || buffer[length - 1] == ' '))
        --length;
    buffer[length] = '\0';
    snprintf(text, size, "%s", buffer);
    return length > 0;
}

bool listPhoneBookEntries(PhoneBookEntryName (&names)[kMaxPhoneBookEntries], uint32_t& count)
{
    count = 0;
    std::unique_ptr<RASENTRYNAMEA[]> entries(new (std::nothrow) RASENTRYNAMEA[kMaxPhoneBookEntries]());
    if (!entries)
        return false;
    entries[0].dwSize = sizeof(RASENTRYNAMEA);
    DWORD bytes = kMaxPhoneBookEntries * sizeof(RASENTRYNAMEA);
    DWORD listed = 0;
    if (RasEnumEntriesA(nullptr, nullptr, entries.get(), &bytes, &listed) != 0)
        return false;
    for (DWORD i = 0; i < listed && i < kMaxPhoneBookEntries; ++i)
        copyText(names[count++].name, entries[i].szEntryName, sizeof entries[i].szEntryName);
    return true;
}
