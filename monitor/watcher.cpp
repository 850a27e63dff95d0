#include "monitor/watcher.h"

#include <cstring>
#include <vector>

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/platform.h"
#include "monitor/remoteaccess.h"
#include "monitor/slicelog.h"
#include "monitor/traffic.h"
#include "monitor/watchedadapters.h"

namespace {

// Set while the service cannot be asked: the tick scans again until it can, and the failure is
// reported once, not at every attempt.
bool scanFailing = false;

// Set from the machine's going to sleep until it wakes up: the slices rest, nothing is counted
// or logged, and the monotonic time it went to sleep.
bool asleep = false;
uint64_t suspendedAtMs = 0;

template <size_t N> void copyText(char (&target)[N], const char* source)
{
    const size_t length = strnlen(source, N - 1);
    memcpy(target, source, length);
    target[length] = '\0';
}

static_assert(kAdapterIdSize == kConnectionIdSize);

// The adapter list of the last look, kept so a tick allocates nothing once it has its size.
std::vector<NetworkAdapter> listedAdapters;

bool isWatched(uintptr_t handle)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        if (!liveConnections.records[i].isAdapter && liveConnections.records[i].handle == handle)
            return true;
    return false;
}

LiveConnection* liveAdapter(const char* id)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        if (liveConnections.records[i].isAdapter && strcmp(liveConnections.records[i].adapterId, id) == 0)
            return &liveConnections.records[i];
    return nullptr;
}

// A ticked adapter is a connection while it is up with an IPv4 address.
const NetworkAdapter* connectedAdapter(const char* id)
{
    for (const NetworkAdapter& adapter : listedAdapters)
        if (strcmp(adapter.id, id) == 0)
            return adapter.up && adapter.ipv4Address[0] != '\0' && findWatchedAdapter(id) != nullptr ? &adapter
                                                                                                     : nullptr;
    return nullptr;
}

// The remote-access connection whose interface an adapter is: the same address, or the same
// interface once the connection's is known.
const LiveConnection* remoteConnectionOn(const NetworkAdapter& adapter)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        const LiveConnection& record = liveConnections.records[i];
        if (record.isAdapter)
            continue;
        if ((record.interfaceIndex != 0 && record.interfaceIndex == adapter.interfaceIndex)
            || (record.ipAddress[0] != '\0' && strcmp(record.ipAddress, adapter.ipv4Address) == 0))
            return &record;
    }
    return nullptr;
}

// A ticked adapter is a connection of its own while it is up with an IPv4 address and carries no
// remote-access connection: one interface is counted once, and the remote-access connection,
// which the user dialled, keeps it.
bool isAdapterConnection(const NetworkAdapter& adapter)
{
    return connectedAdapter(adapter.id) != nullptr && remoteConnectionOn(adapter) == nullptr;
}

bool isListed(const std::vector<RemoteConnection>& listed, uintptr_t handle)
{
    for (const RemoteConnection& connection : listed)
        if (connection.handle == handle)
            return true;
    return false;
}

void watchConnection(const RemoteConnection& connection)
{
    LiveConnection& record = liveConnections.records[liveConnections.count++];
    memset(&record, 0, sizeof record);
    copyText(record.entryName, connection.entryName);
    char address[sizeof record.ipAddress] = "";
    if (remoteConnectionAddress(connection.handle, address, sizeof address))
        copyText(record.ipAddress, address);
    record.handle = connection.handle;
    record.sliceStart = localTimeNow();
    record.sliceStartMs = monotonicMilliseconds();
    record.lastInPackets = kNoReadingYet;
}

void watchAdapterConnection(const NetworkAdapter& adapter)
{
    LiveConnection& record = liveConnections.records[liveConnections.count++];
    memset(&record, 0, sizeof record);
    record.isAdapter = true;
    copyText(record.adapterId, adapter.id);
    copyText(record.entryName, adapter.name);
    copyText(record.ipAddress, adapter.ipv4Address);
    record.interfaceIndex = adapter.interfaceIndex;
    record.sliceStart = localTimeNow();
    record.sliceStartMs = monotonicMilliseconds();
    record.lastInPackets = kNoReadingYet;
}

// Closes the gap so the remaining connections keep the order in which they were first seen;
// the freed slot at the end is zeroed, as unused slots always are.
void removeConnectionAt(uint32_t index)
{
    const uint32_t last = liveConnections.count - 1;
    memmove(
        &liveConnections.records[index], &liveConnections.records[index + 1], (last - index) * sizeof(LiveConnection));
    memset(&liveConnections.records[last], 0, sizeof(LiveConnection));
    liveConnections.count = last;
}

// Whether the record is still a running connection: listed by the service, or a ticked adapter
// that is up. An adapter that is still up takes its new name and address. While the adapters
// cannot be listed, their records stay as they are.
bool isStillRunning(LiveConnection& record, const std::vector<RemoteConnection>& listed, bool adaptersListed)
{
    if (!record.isAdapter)
        return isListed(listed, record.handle);
    if (!adaptersListed)
        return true;
    const NetworkAdapter* adapter = connectedAdapter(record.adapterId);
    if (adapter == nullptr || remoteConnectionOn(*adapter) != nullptr)
        return false;
    copyText(record.entryName, adapter->name);
    copyText(record.ipAddress, adapter->ipv4Address);
    if (adapter->interfaceIndex != record.interfaceIndex) {
        record.interfaceIndex = adapter->interfaceIndex;
        record.lastInPackets = kNoReadingYet;
    }
    return true;
}

// Brings the table in line with the service's connections and the ticked adapters. Additions
// come first: with a full table, a connection that ended does not make room for a new one in
// the same scan.
void matchConnections(const std::vector<RemoteConnection>& listed)
{
    for (const RemoteConnection& connection : listed)
        if (!isWatched(connection.handle) && liveConnections.count < kMaxLiveConnections)
            watchConnection(connection);

    // Nothing to ask of the adapters while none is ticked and none is running.
    bool adaptersLive = false;
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        adaptersLive = adaptersLive || liveConnections.records[i].isAdapter;
    bool adaptersListed = false;
    if (watchedAdapters.count != 0 || adaptersLive) {
        adaptersListed = listNetworkAdapters(listedAdapters);
        if (!adaptersListed)
            listedAdapters.clear();
    } else {
        listedAdapters.clear();
        adaptersListed = true;
    }
    for (const NetworkAdapter& adapter : listedAdapters)
        if (isAdapterConnection(adapter) && liveAdapter(adapter.id) == nullptr
            && liveConnections.count < kMaxLiveConnections)
            watchAdapterConnection(adapter);

    bool ended[kMaxLiveConnections] = {};
    bool anyEnded = false;
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        ended[i] = !isStillRunning(liveConnections.records[i], listed, adaptersListed);
        anyEnded = anyEnded || ended[i];
    }
    // What passed since the last tick is counted while the interfaces can still be read (an
    // adapter that went down or was unticked is still in the table).
    if (anyEnded && !asleep)
        updateTraffic(TrafficReading::beforeCut);
    for (uint32_t i = 0, kept = 0; i < kMaxLiveConnections && kept < liveConnections.count; ++i) {
        if (!ended[i]) {
            ++kept;
            continue;
        }
        // Asleep, the slice begun when the machine went to sleep holds no time awake.
        if (!asleep && !logSlice(liveConnections.records[kept]))
            reportError(0);
        removeConnectionAt(kept);
    }
}

// The adapters' share of a scan, with the remote-access connections as they are.
void rescanAdapters()
{
    std::vector<RemoteConnection> listed;
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        if (!liveConnections.records[i].isAdapter)
            listed.push_back({ liveConnections.records[i].handle, {} });
    const uint32_t countBefore = liveConnections.count;
    matchConnections(listed);
    // New adapters take their first reading at once.
    if (liveConnections.count > countBefore)
        updateTraffic(TrafficReading::afterScan);
}

} // namespace

bool rescanConnections()
{
    const DeferredReports scanning;
    std::vector<RemoteConnection> listed;
    if (!enumerateRemoteConnections(listed)) {
        if (!scanFailing)
            reportError(kErrorConnectionsUnreadable);
        scanFailing = true;
        // The adapters do not depend on the service.
        rescanAdapters();
        return false;
    }
    scanFailing = false;
    matchConnections(listed);

    // Takes the first counter reading of the new connections at once.
    updateTraffic(TrafficReading::afterScan);
    return true;
}

void resetConnectionWatcher()
{
    scanFailing = false;
    asleep = false;
    listedAdapters.clear();
    resetTrafficCounting();
}

const char* remoteConnectionOnAdapter(const NetworkAdapter& adapter)
{
    const LiveConnection* record = remoteConnectionOn(adapter);
    return record != nullptr ? record->entryName : nullptr;
}

bool watchingNeedsTicks() { return liveConnections.count != 0 || scanFailing; }

bool adaptersNeedPolling() { return watchedAdapters.count != 0 && !adapterChangesNotified(); }

void watchConnectionsOnTick()
{
    const DeferredReports ticking;
    // Asleep, the readings would go into slices that hold no time awake; waking up takes a fresh
    // reading.
    if (asleep)
        return;
    // Until a scan succeeds, an ended connection would go on counting time.
    if (scanFailing)
        rescanConnections();
    // Without the system's reports of adapter changes, the tick looks at the adapters itself.
    else if (adaptersNeedPolling())
        rescanAdapters();
    updateTraffic(TrafficReading::tick);
}

void closeSlices(const LocalTime& now)
{
    const DeferredReports cutting;
    if (asleep)
        return;
    updateTraffic(TrafficReading::beforeCut);
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        cutSlice(liveConnections.records[i], now);
}

void suspendSlices(const LocalTime& now)
{
    if (asleep)
        return;
    closeSlices(now);
    asleep = true;
    suspendedAtMs = monotonicMilliseconds();
}

bool resumeSlices(const LocalTime& now)
{
    if (!asleep)
        return false;
    asleep = false;
    const uint64_t nowMs = monotonicMilliseconds();
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        LiveConnection& record = liveConnections.records[i];
        // What was left of a second when the slice was logged goes on from now.
        const uint64_t carried = suspendedAtMs > record.sliceStartMs ? suspendedAtMs - record.sliceStartMs : 0;
        startSlice(record, now);
        record.sliceStartMs = nowMs - (carried < nowMs ? carried : 0);
        // The counters may have moved, or been reset, while the machine slept.
        record.lastInPackets = kNoReadingYet;
    }
    return true;
}
