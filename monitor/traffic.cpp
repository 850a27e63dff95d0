#include "monitor/traffic.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/apperror.h"
#include "core/platform.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"
#include "monitor/slicelog.h"

namespace {

// Set while the address table cannot be read. A message box keeps delivering timer ticks, so
// reporting on every tick would stack boxes without end: one report per failure episode.
bool addressTableFailing = false;

// Kept from call to call so that a tick allocates nothing once they have their size.
std::vector<AddressRow> addressRows;
std::vector<InterfaceRow> interfaceRows;

const AddressRow* rowOfAddress(const char* ipAddress)
{
    char text[16];
    for (const AddressRow& row : addressRows) {
        snprintf(text, sizeof text, "%i.%i.%i.%i", row.address[0], row.address[1], row.address[2], row.address[3]);
        if (strcmp(text, ipAddress) == 0)
            return &row;
    }
    return nullptr;
}

const InterfaceCounters* countersOf(uint32_t interfaceIndex)
{
    if (interfaceIndex == 0)
        return nullptr;
    for (const InterfaceRow& row : interfaceRows)
        if (row.interfaceIndex == interfaceIndex)
            return &row.counters;
    return nullptr;
}

// A connection whose address is not known yet (an auto-dial still negotiating when it was
// first seen) asks the service again; a failed answer keeps what is known.
void askAddressAgain(LiveConnection& record)
{
    char address[sizeof record.ipAddress] = "";
    if (remoteConnectionAddress(record.handle, address, sizeof address))
        memcpy(record.ipAddress, address, sizeof address);
}

// Readings of another interface do not continue the last ones: counting starts from a fresh
// baseline there.
void findInterface(LiveConnection& record)
{
    const AddressRow* row = rowOfAddress(record.ipAddress);
    if (row == nullptr || row->interfaceIndex == record.interfaceIndex)
        return;
    record.interfaceIndex = row->interfaceIndex;
    record.lastInPackets = kNoReadingYet;
}

// The most a counter can have moved between two readings `elapsedMs` apart: twice what the
// interface's speed carries in that time (timer granularity, link compression), in bytes, and
// as many packets, each being at least a byte. Without a known speed, half the counter's
// range: a larger step forward cannot be told from a step back.
uint64_t largestStep(uint64_t speed, uint64_t elapsedMs)
{
    constexpr uint64_t kDayMs = 24 * 3600 * 1000;
    if (speed == 0)
        return 0x80000000u;
    // A link faster than a terabit a second is no link: its wrap is not believed beyond that.
    const uint64_t bitsPerSecond = speed < 1000000000000u ? speed : 1000000000000u;
    return bitsPerSecond * (elapsedMs < kDayMs ? elapsedMs : kDayMs) / 8000 * 2;
}

// How far a counter moved. A 32-bit counter is taken modulo 2^32, so one wrap between two
// readings still gives the right step; a wide counter does not wrap.
uint64_t stepOf(uint64_t last, uint64_t now, bool wide) { return wide ? now - last : uint32_t(now - last); }

// A counter that went down either wrapped or started again from 0, because the interface was
// reset or replaced. A wide counter never wraps; a 32-bit wrap is believed only when the count
// it implies fits the time.
// A wide counter that leaps by more than a thousand full slices (4 TiB) between two readings has
// gone wrong rather than counted traffic; it too is taken as a new start.
bool startedAgain(uint64_t last, uint64_t now, uint64_t largest, bool wide)
{
    constexpr uint64_t kLargestWideStep = 1024 * uint64_t(UINT32_MAX);
    if (wide)
        return now < last || now - last > kLargestWideStep;
    return now < last && stepOf(last, now, false) > largest;
}

// Bytes per second over `elapsedMs`, shown as the largest value the history holds when it is
// more.
uint32_t ratePerSecond(uint64_t delta, uint64_t elapsedMs)
{
    const uint64_t rate = delta < UINT64_MAX / 1000u ? delta * 1000u / elapsedMs : UINT64_MAX;
    return rate > UINT32_MAX ? UINT32_MAX : uint32_t(rate);
}

void pushRate(uint32_t (&history)[kRateHistoryLength], uint32_t value)
{
    memmove(&history[1], &history[0], (kRateHistoryLength - 1) * sizeof history[0]);
    history[0] = value;
}

bool wouldPassLimit(uint32_t total, uint64_t delta) { return delta > UINT32_MAX - total; }

// Takes what one slice can hold of a step and leaves the rest in it.
uint32_t takeSliceShare(uint64_t& step)
{
    const uint32_t share = step > UINT32_MAX ? UINT32_MAX : uint32_t(step);
    step -= share;
    return share;
}

// Adds one reading's steps to the running slice. The log holds 32-bit counts: the slice ends
// before one of them would wrap, and a step larger than a whole slice (a fast adapter over a
// long update interval) fills as many full slices as it needs, so nothing is lost.
void addToSlice(LiveConnection& record, uint64_t received, uint64_t sent, uint64_t packetsIn, uint64_t packetsOut)
{
    if (wouldPassLimit(record.bytesReceived, received) || wouldPassLimit(record.bytesSent, sent)
        || wouldPassLimit(record.packetsReceived, packetsIn) || wouldPassLimit(record.packetsSent, packetsOut))
        cutSlice(record, localTimeNow());
    for (;;) {
        record.bytesReceived += takeSliceShare(received);
        record.bytesSent += takeSliceShare(sent);
        record.packetsReceived += takeSliceShare(packetsIn);
        record.packetsSent += takeSliceShare(packetsOut);
        if ((received | sent | packetsIn | packetsOut) == 0)
            return;
        cutSlice(record, localTimeNow());
    }
}

uint64_t packetsOf(uint64_t unicast, uint64_t nonUnicast, bool wide)
{
    return wide ? unicast + nonUnicast : uint32_t(unicast + nonUnicast);
}

void countTraffic(LiveConnection& record, const InterfaceCounters& counters, uint64_t nowMs, bool tick)
{
    const bool wide = counters.wide;
    const uint64_t inPackets = packetsOf(counters.inUnicastPackets, counters.inNonUnicastPackets, wide);
    const uint64_t outPackets = packetsOf(counters.outUnicastPackets, counters.outNonUnicastPackets, wide);
    const uint64_t elapsedMs = nowMs - record.lastReadingMs;
    const uint64_t largest = largestStep(counters.speed, elapsedMs);
    const bool reset = startedAgain(record.lastInOctets, counters.inOctets, largest, wide)
        || startedAgain(record.lastOutOctets, counters.outOctets, largest, wide)
        || startedAgain(record.lastInPackets, inPackets, largest, wide)
        || startedAgain(record.lastOutPackets, outPackets, largest, wide);
    // After a reset the new readings are only the baseline, like a first reading.
    if (record.lastInPackets != kNoReadingYet && !reset) {
        const uint64_t received = stepOf(record.lastInOctets, counters.inOctets, wide);
        const uint64_t sent = stepOf(record.lastOutOctets, counters.outOctets, wide);
        const uint64_t packetsIn = stepOf(record.lastInPackets, inPackets, wide);
        const uint64_t packetsOut = stepOf(record.lastOutPackets, outPackets, wide);
        addToSlice(record, received, sent, packetsIn, packetsOut);
        if (tick && elapsedMs != 0) {
            pushRate(record.receiveRateHistory, ratePerSecond(received, elapsedMs));
            pushRate(record.sendRateHistory, ratePerSecond(sent, elapsedMs));
        }
    }
    record.lastInOctets = counters.inOctets;
    record.lastOutOctets = counters.outOctets;
    record.lastInPackets = inPackets;
    record.lastOutPackets = outPackets;
    record.lastReadingMs = nowMs;
}

} // namespace

void resetTrafficCounting()
{
    addressTableFailing = false;
    addressRows.clear();
    interfaceRows.clear();
}

bool updateTraffic(TrafficReading reading)
{
    const bool tick = reading == TrafficReading::tick;
    if (liveConnections.count != 0 && !readInterfaceTable(interfaceRows))
        interfaceRows.clear();

    // The address table tells which interface carries a connection. It is read after a scan,
    // and on a tick only while a connection's interface is unknown.
    bool addressesNeeded = reading == TrafficReading::afterScan;
    for (uint32_t i = 0; reading != TrafficReading::beforeCut && i < liveConnections.count; ++i) {
        LiveConnection& record = liveConnections.records[i];
        // An adapter's interface comes with it from the adapter list.
        if (record.isAdapter || countersOf(record.interfaceIndex) != nullptr)
            continue;
        addressesNeeded = true;
        if (tick)
            askAddressAgain(record); // the scan has just asked
    }
    if (addressesNeeded) {
        if (!readAddressTable(addressRows)) {
            if (!addressTableFailing) {
                addressTableFailing = true;
                reportError(kErrorConnectionsUnreadable);
            }
            return false;
        }
        addressTableFailing = false;
        for (uint32_t i = 0; i < liveConnections.count; ++i) {
            LiveConnection& record = liveConnections.records[i];
            if (!record.isAdapter && (!tick || countersOf(record.interfaceIndex) == nullptr))
                findInterface(record);
        }
    }

    const uint64_t nowMs = monotonicMilliseconds();
    for (uint32_t i = 0; i < liveConnections.count; ++i) {
        LiveConnection& record = liveConnections.records[i];
        if (const InterfaceCounters* counters = countersOf(record.interfaceIndex))
            countTraffic(record, *counters, nowMs, tick);
    }
    return true;
}
