#include "monitor/traffic.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/apperror.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"

namespace {

// Set while the address table cannot be read. A message box keeps delivering timer ticks, so
// reporting on every tick would stack boxes without end: one report per failure episode.
bool addressTableFailing = false;

const AddressRow* rowOfAddress(const std::vector<AddressRow>& rows, const char* ipAddress)
{
    char text[16];
    for (const AddressRow& row : rows) {
        snprintf(text, sizeof text, "%i.%i.%i.%i", row.address[0], row.address[1], row.address[2], row.address[3]);
        if (strcmp(text, ipAddress) == 0)
            return &row;
    }
    return nullptr;
}

// Bytes per second over the tick. Worked in 64 bits: a tick of more than 4,294,967 bytes
// would overflow 32-bit arithmetic and show a small rate; such a rate is shown as the
// largest value the history holds.
uint32_t ratePerSecond(uint32_t delta, uint32_t elapsedMs)
{
    const uint64_t rate = uint64_t(delta) * 1000u / elapsedMs;
    return rate > UINT32_MAX ? UINT32_MAX : uint32_t(rate);
}

void pushRate(uint32_t (&history)[kRateHistoryLength], uint32_t value)
{
    memmove(&history[1], &history[0], (kRateHistoryLength - 1) * sizeof history[0]);
    history[0] = value;
}

void countTraffic(LiveConnection& record, const InterfaceCounters& counters, uint32_t elapsedMs)
{
    const uint32_t inPackets = counters.inUnicastPackets + counters.inNonUnicastPackets;
    const uint32_t outPackets = counters.outUnicastPackets + counters.outNonUnicastPackets;
    if (record.lastInPackets != kNoReadingYet) {
        // Unsigned 32-bit differences stay right across one wrap of a counter.
        const uint32_t received = counters.inOctets - record.lastInOctets;
        const uint32_t sent = counters.outOctets - record.lastOutOctets;
        record.bytesReceived += received;
        record.bytesSent += sent;
        record.packetsReceived += inPackets - record.lastInPackets;
        record.packetsSent += outPackets - record.lastOutPackets;
        if (elapsedMs != 0) {
            pushRate(record.receiveRateHistory, ratePerSecond(received, elapsedMs));
            pushRate(record.sendRateHistory, ratePerSecond(sent, elapsedMs));
        }
    }
    record.lastInOctets = counters.inOctets;
    record.lastOutOctets = counters.outOctets;
    record.lastInPackets = inPackets;
    record.lastOutPackets = outPackets;
}

}  // namespace

bool updateTraffic(uint32_t elapsedMs)
{
    std::vector<AddressRow> rows;
    if (!readAddressTable(rows)) {
        if (!addressTableFailing) {
            addressTableFailing = true;
            reportError(kErrorConnectionsUnreadable);
        }
        return false;
    }
    addressTableFailing = false;

    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        LiveConnection& record = liveConnections.records[i];
        const AddressRow* row = rowOfAddress(rows, record.ipAddress);
        InterfaceCounters counters;
        if (row == nullptr || !readInterfaceCounters(row->interfaceIndex, counters))
            continue;
        countTraffic(record, counters, elapsedMs);
    }
    return true;
}
