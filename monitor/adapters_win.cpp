// The network adapters of the machine and the reports of their changes, from the IP helper.
#include <winsock2.h>
#include <windows.h>
// The IP helper declares its newer interfaces only after the IP definitions.
#include <ws2ipdef.h>

#include <iphlpapi.h>
#include <netioapi.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "monitor/adapterchanges_win.h"
#include "monitor/remoteaccess.h"

namespace {

HANDLE changeEvent;
HANDLE interfaceNotification;
HANDLE addressNotification;
// Set from the system's thread by the first report of either kind.
std::atomic<bool> changesReported;

void signalChange()
{
    changesReported = true;
    if (changeEvent != nullptr)
        SetEvent(changeEvent);
}

VOID NETIOAPI_API_ onInterfaceChange(PVOID, PMIB_IPINTERFACE_ROW, MIB_NOTIFICATION_TYPE) { signalChange(); }
VOID NETIOAPI_API_ onAddressChange(PVOID, PMIB_UNICASTIPADDRESS_ROW, MIB_NOTIFICATION_TYPE) { signalChange(); }

void copyWide(char* target, size_t size, const wchar_t* source)
{
    target[0] = '\0';
    if (source != nullptr && WideCharToMultiByte(CP_ACP, 0, source, -1, target, int(size), nullptr, nullptr) == 0)
        target[0] = '\0';
    target[size - 1] = '\0';
}

void formatIpv4(const sockaddr_in* address, char* text, size_t size)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(&address->sin_addr);
    snprintf(text, size, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
}

// The usual short form: eight groups in hexadecimal, the longest run of two or more zero groups
// written as "::".
void formatIpv6(const sockaddr_in6* address, char* text, size_t size)
{
    uint16_t groups[8];
    for (int i = 0; i < 8; ++i)
        groups[i] = uint16_t(address->sin6_addr.s6_addr[2 * i] << 8 | address->sin6_addr.s6_addr[2 * i + 1]);
    int runStart = -1, runLength = 0;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[j] == 0)
            ++j;
        if (j - i > runLength && j - i >= 2) {
            runStart = i;
            runLength = j - i;
        }
        i = j == i ? i + 1 : j;
    }
    size_t used = 0;
    text[0] = '\0';
    for (int i = 0; i < 8 && used < size; ++i) {
        if (i == runStart) {
            used += size_t(snprintf(text + used, size - used, "::"));
            i += runLength - 1;
            continue;
        }
        const bool afterRun = runStart >= 0 && i == runStart + runLength;
        used += size_t(snprintf(text + used, size - used, "%s%x", i == 0 || afterRun ? "" : ":", groups[i]));
    }
}

void appendAddress(NetworkAdapter& adapter, const SOCKET_ADDRESS& socketAddress)
{
    char text[64] = "";
    const sockaddr* address = socketAddress.lpSockaddr;
    if (address == nullptr)
        return;
    if (address->sa_family == AF_INET) {
        formatIpv4(reinterpret_cast<const sockaddr_in*>(address), text, sizeof text);
        if (adapter.ipv4Address[0] == '\0')
            snprintf(adapter.ipv4Address, sizeof adapter.ipv4Address, "%s", text);
    } else if (address->sa_family == AF_INET6) {
        formatIpv6(reinterpret_cast<const sockaddr_in6*>(address), text, sizeof text);
    } else {
        return;
    }
    const size_t used = strlen(adapter.addresses);
    snprintf(adapter.addresses + used, sizeof adapter.addresses - used, "%s%s", used != 0 ? ", " : "", text);
}

} // namespace

bool listNetworkAdapters(std::vector<NetworkAdapter>& adapters)
{
    adapters.clear();
    ULONG bytes = 16 * 1024;
    constexpr ULONG kFlags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    // The list can grow between the call that asks for the size and the one that fills it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[bytes]);
        if (!buffer)
            return false;
        auto* first = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.get());
        const ULONG result = GetAdaptersAddresses(AF_UNSPEC, kFlags, nullptr, first, &bytes);
        if (result == ERROR_BUFFER_OVERFLOW)
            continue;
        if (result == ERROR_NO_DATA)
            return true;
        if (result != NO_ERROR) {
            SetLastError(result);
            return false;
        }
        for (const IP_ADAPTER_ADDRESSES* entry = first; entry != nullptr; entry = entry->Next) {
            NetworkAdapter adapter {};
            snprintf(adapter.id, sizeof adapter.id, "%s", entry->AdapterName != nullptr ? entry->AdapterName : "");
            copyWide(adapter.name, sizeof adapter.name, entry->FriendlyName);
            copyWide(adapter.description, sizeof adapter.description, entry->Description);
            for (const IP_ADAPTER_UNICAST_ADDRESS* address = entry->FirstUnicastAddress; address != nullptr;
                 address = address->Next)
                appendAddress(adapter, address->Address);
            adapter.interfaceIndex = entry->IfIndex != 0 ? entry->IfIndex : entry->Ipv6IfIndex;
            adapter.up = entry->OperStatus == IfOperStatusUp;
            if (adapter.id[0] != '\0')
                adapters.push_back(adapter);
        }
        return true;
    }
    return false;
}

// A registration without a handle is no registration: Wine answers that way, and calls back at
// most once, at once.
bool adapterChangesNotified()
{
    return changesReported && interfaceNotification != nullptr && addressNotification != nullptr;
}

bool startAdapterChangeNotifications(HANDLE event)
{
    changeEvent = event;
    // The first report comes at once (the initial notification) where the system keeps its word.
    const bool interfaces
        = NotifyIpInterfaceChange(AF_UNSPEC, onInterfaceChange, nullptr, TRUE, &interfaceNotification) == NO_ERROR;
    const bool addresses
        = NotifyUnicastIpAddressChange(AF_UNSPEC, onAddressChange, nullptr, TRUE, &addressNotification) == NO_ERROR;
    if (!interfaces)
        interfaceNotification = nullptr;
    if (!addresses)
        addressNotification = nullptr;
    return interfaces && addresses;
}

void stopAdapterChangeNotifications()
{
    if (interfaceNotification != nullptr)
        CancelMibChangeNotify2(interfaceNotification);
    if (addressNotification != nullptr)
        CancelMibChangeNotify2(addressNotification);
    interfaceNotification = addressNotification = nullptr;
    changeEvent = nullptr;
}
