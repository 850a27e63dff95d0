#include "monitor/watcher.h"

#include <cstring>
#include <vector>

#include "core/apperror.h"
#include "core/platform.h"
#include "monitor/remoteaccess.h"
#include "monitor/slicelog.h"
#include "monitor/traffic.h"

namespace {

// Set while the service cannot be asked: the tick scans again until it can, and the failure is
// reported once, not at every attempt.
bool scanFailing = false;

template <size_t N> void copyText(char (&target)[N], const char* source)
{
    const size_t length = strnlen(source, N - 1);
    memcpy(target, source, length);
    target[length] = '\0';
}

bool isWatched(uintptr_t handle)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        if (liveConnections.records[i].handle == handle)
            return true;
    return false;
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

} // namespace

bool rescanConnections()
{
    std::vector<RemoteConnection> listed;
    if (!enumerateRemoteConnections(listed)) {
        if (!scanFailing)
            reportError(kErrorConnectionsUnreadable);
        scanFailing = true;
        return false;
    }
    scanFailing = false;

    // Additions come first: with a full table, a connection that ended does not make room for
    // a new one in the same scan.
    for (const RemoteConnection& connection : listed)
        if (!isWatched(connection.handle) && liveConnections.count < kMaxLiveConnections)
            watchConnection(connection);

    for (uint32_t i = 0; i < liveConnections.count;) {
        if (isListed(listed, liveConnections.records[i].handle)) {
            ++i;
            continue;
        }
        if (!logSlice(liveConnections.records[i]))
            reportError(0);
        removeConnectionAt(i);
    }

    // Takes the first counter reading of the new connections at once.
    updateTraffic(TrafficReading::afterScan);
    return true;
}

void resetConnectionWatcher()
{
    scanFailing = false;
    resetTrafficCounting();
}

void watchConnectionsOnTick()
{
    // Until a scan succeeds, an ended connection would go on counting time.
    if (scanFailing)
        rescanConnections();
    updateTraffic(TrafficReading::tick);
}

void closeSlices(const LocalTime& now)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i)
        cutSlice(liveConnections.records[i], now);
}

void resumeSlices(const LocalTime& now)
{
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        LiveConnection& record = liveConnections.records[i];
        startSlice(record, now);
        // The counters may have moved, or been reset, while the machine slept.
        record.lastInPackets = kNoReadingYet;
    }
}
