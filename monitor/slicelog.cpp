#include "monitor/slicelog.h"

#include <new>

#include "core/apperror.h"
#include "core/platform.h"
#include "log/statistics.h"

uint32_t sliceSeconds(const LiveConnection& connection)
{
    const uint64_t now = monotonicMilliseconds();
    if (now <= connection.sliceStartMs)
        return 0;
    const uint64_t seconds = (now - connection.sliceStartMs) / 1000;
    return seconds > UINT32_MAX ? UINT32_MAX : uint32_t(seconds);
}

bool recordFromSlice(LogRecord* record, const LiveConnection* connection)
{
    if (record == nullptr || connection == nullptr)
        return false;
    record->next = nullptr;
    record->rx = connection->bytesReceived;
    record->rxp = connection->packetsReceived;
    record->tx = connection->bytesSent;
    record->txp = connection->packetsSent;
    record->start = connection->sliceStart;
    record->dur = sliceSeconds(*connection);
    return true;
}

bool runningSliceRecord(uint32_t index, LogRecord& record) { return recordFromSlice(&record, liveConnectionAt(index)); }

bool logSlice(const LiveConnection& connection)
{
    LogRecord* record = new (std::nothrow) LogRecord {};
    if (record == nullptr)
        return failWith(kErrorNoMemory);
    recordFromSlice(record, &connection);
    return logRecord(record);
}

void cutSlice(LiveConnection& record, const LocalTime& now)
{
    // A slice cut again at the tick that began it (a cut before 4 GiB, then a change of month)
    // holds nothing worth a record.
    const uint32_t seconds = sliceSeconds(record);
    const bool empty = seconds == 0 && record.bytesReceived == 0 && record.bytesSent == 0 && record.packetsReceived == 0
        && record.packetsSent == 0;
    if (!empty)
        logSlice(record);
    // The record holds whole seconds: the next slice begins where they end, so the fraction left
    // over is counted there and the slices of a connection add up to its whole time.
    const uint64_t loggedEnd = record.sliceStartMs + uint64_t(seconds) * 1000u;
    startSlice(record, now);
    record.sliceStartMs = loggedEnd;
}

void startSlice(LiveConnection& record, const LocalTime& now)
{
    record.sliceStart = now;
    record.sliceStartMs = monotonicMilliseconds();
    record.packetsReceived = 0;
    record.packetsSent = 0;
    record.bytesReceived = 0;
    record.bytesSent = 0;
}
