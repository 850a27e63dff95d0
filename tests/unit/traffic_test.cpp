#include <cstring>

#include "monitor/traffic.h"
#include "monitorfixture.h"

namespace {

class TrafficTest : public MonitorTest {
protected:
    // A running connection with the given address, without a counter reading yet.
    LiveConnection& watch(const char* ipAddress)
    {
        LiveConnection& record = liveConnections.records[liveConnections.count++];
        memset(&record, 0, sizeof record);
        record.handle = 0x100 + liveConnections.count;
        strcpy(record.entryName, "ISP");
        strcpy(record.ipAddress, ipAddress);
        record.lastInPackets = kNoReadingYet;
        return record;
    }
    static void addInterface(uint8_t a, uint8_t b, uint8_t c, uint8_t d, uint32_t index)
    {
        fakeRemoteAccess.addressRows.push_back({ { a, b, c, d }, index });
    }
    // A timer tick `ms` milliseconds after the previous reading.
    static bool tickAfter(uint32_t ms)
    {
        fakePlatform.monotonicMs += ms;
        return updateTraffic(TrafficReading::tick);
    }
};

struct CounterCase {
    const char* name;
    InterfaceCounters before;
    InterfaceCounters after;
    uint32_t elapsedMs; // 0: the reading after a scan
    uint32_t bytesReceived, bytesSent, packetsReceived, packetsSent;
    bool rateStored;
    uint32_t receiveRate, sendRate;
};

// Counters: in octets, in unicast, in non-unicast, out octets, out unicast, out non-unicast
// (speed unknown).
const CounterCase kCounterCases[] = {
    { "1000 octets in 500 ms", { 1000, 0, 0, 0, 0, 0 }, { 2000, 0, 0, 0, 0, 0 }, 500, 1000, 0, 0, 0, true, 2000, 0 },
    { "received counter wraps", { 4294967000u, 0, 0, 0, 0, 0 }, { 200, 0, 0, 0, 0, 0 }, 500, 496, 0, 0, 0, true, 992,
        0 },
    { "sent counter wraps", { 0, 0, 0, 4294967295u, 0, 0 }, { 0, 0, 0, 0, 0, 0 }, 1000, 0, 1, 0, 0, true, 0, 1 },
    { "packets are unicast plus non-unicast", { 0, 10, 2, 0, 7, 0 }, { 0, 15, 3, 0, 9, 1 }, 500, 0, 0, 6, 3, true, 0,
        0 },
    { "packet counter wraps", { 0, 4294967290u, 0, 0, 0, 0 }, { 0, 4, 0, 0, 0, 0 }, 500, 0, 0, 10, 0, true, 0, 0 },
    { "after a scan: counted, no rate", { 1000, 1, 0, 50, 1, 0 }, { 1600, 3, 0, 90, 2, 0 }, 0, 600, 40, 2, 1, false, 0,
        0 },
    { "rate truncated", { 0, 0, 0, 0, 0, 0 }, { 1001, 0, 0, 7, 0, 0 }, 3000, 1001, 7, 0, 0, true, 333, 2 },
    // 5,000,000 bytes in half a second is 10,000,000 bytes per second, beyond what a 32-bit
    // product of delta and 1000 holds.
    { "large tick", { 0, 0, 0, 0, 0, 0 }, { 5000000, 0, 0, 0, 0, 0 }, 500, 5000000, 0, 0, 0, true, 10000000, 0 },
    // 64-bit counters go on past 2^32 without a wrap, their packets added in 64 bits.
    { "wide counters past 2^32", { 4294967000u, 4294967295u, 1, 0, 0, 0, 0, true },
        { 4294968496u, 4294967300u, 1, 0, 0, 0, 0, true }, 500, 1496, 0, 5, 0, true, 2992, 0 },
};

TEST_F(TrafficTest, CountsTheCounterDifferencesOfOneTick)
{
    for (const CounterCase& c : kCounterCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        LiveConnection& record = watch("10.1.2.3");
        record.receiveRateHistory[0] = 77;
        record.sendRateHistory[0] = 88;
        addInterface(10, 1, 2, 3, 5);

        fakeRemoteAccess.interfaces[5] = c.before;
        EXPECT_TRUE(tickAfter(500));
        // The first reading only takes the baseline.
        EXPECT_EQ(record.bytesReceived, 0u);
        EXPECT_EQ(record.packetsReceived, 0u);
        EXPECT_EQ(record.receiveRateHistory[0], 77u);

        fakeRemoteAccess.interfaces[5] = c.after;
        EXPECT_TRUE(c.elapsedMs != 0 ? tickAfter(c.elapsedMs) : updateTraffic(TrafficReading::afterScan));
        EXPECT_EQ(record.bytesReceived, c.bytesReceived);
        EXPECT_EQ(record.bytesSent, c.bytesSent);
        EXPECT_EQ(record.packetsReceived, c.packetsReceived);
        EXPECT_EQ(record.packetsSent, c.packetsSent);
        if (c.rateStored) {
            EXPECT_EQ(record.receiveRateHistory[0], c.receiveRate);
            EXPECT_EQ(record.sendRateHistory[0], c.sendRate);
            EXPECT_EQ(record.receiveRateHistory[1], 77u);
            EXPECT_EQ(record.sendRateHistory[1], 88u);
        } else {
            EXPECT_EQ(record.receiveRateHistory[0], 77u);
            EXPECT_EQ(record.sendRateHistory[0], 88u);
            EXPECT_EQ(record.receiveRateHistory[1], 0u);
        }
        EXPECT_EQ(record.lastInOctets, c.after.inOctets);
        EXPECT_EQ(record.lastOutOctets, c.after.outOctets);
        EXPECT_EQ(record.lastInPackets, c.after.inUnicastPackets + c.after.inNonUnicastPackets);
        EXPECT_EQ(record.lastOutPackets, c.after.outUnicastPackets + c.after.outNonUnicastPackets);
    }
}

struct ResetCase {
    const char* name;
    uint32_t speed; // bits per second, 0 unknown
    uint32_t elapsedMs;
    InterfaceCounters before;
    InterfaceCounters after;
    uint32_t bytesReceived, packetsReceived;
    bool rateStored;
};

// A wrap implies a step of 2^32 - before + after. It is believed when the step is at most
// twice what the speed carries in the elapsed time (speed / 8 * seconds * 2), or 2^31 with no
// speed known; otherwise the interface started again and the new reading is a baseline.
const ResetCase kResetCases[] = {
    // 4,291,969,296 bytes and 4,294,967,199 packets would be counted, at 8.6 GB/s.
    { "down, speed unknown", 0, 500, { 3000000, 100, 0, 50000, 80, 0 }, { 2000, 3, 0, 700, 2, 0 }, 0, 0, false },
    { "wrap, speed unknown", 0, 500, { 4294967000u, 7, 0, 0, 0, 0 }, { 200, 9, 0, 0, 0, 0 }, 496, 2, true },
    // 56 kbit/s carry 3500 bytes in half a second: a step of up to 7000 is believed.
    { "wrap within 56 kbit/s", 56000, 500, { 4294967000u, 0, 0, 0, 0, 0 }, { 200, 0, 0, 0, 0, 0 }, 496, 0, true },
    { "step of 9296 beyond 56 kbit/s", 56000, 500, { 4294960000u, 0, 0, 0, 0, 0 }, { 2000, 0, 0, 0, 0, 0 }, 0, 0,
        false },
    // 10 Mbit/s carry 1,250,000 bytes in a second: 967,296 + 1,000,000 fit into twice that.
    { "wrap within 10 Mbit/s", 10000000, 1000, { 4294000000u, 0, 0, 0, 0, 0 }, { 1000000, 0, 0, 0, 0, 0 }, 1967296, 0,
        true },
    { "only the packets went down", 0, 500, { 5000, 100, 0, 0, 0, 0 }, { 6000, 3, 0, 0, 0, 0 }, 0, 0, false },
    // A 64-bit counter never wraps: down is a reset, even where a 32-bit wrap would fit.
    { "wide counter down", 0, 500, { 4294967000u, 7, 0, 0, 0, 0, 0, true }, { 200, 9, 0, 0, 0, 0, 0, true }, 0, 0,
        false },
};

TEST_F(TrafficTest, ACounterThatGoesDownIsAResetUnlessTheWrapFitsTheTime)
{
    for (const ResetCase& c : kResetCases) {
        SCOPED_TRACE(c.name);
        SetUp();
        LiveConnection& record = watch("10.1.2.3");
        record.receiveRateHistory[0] = 77;
        addInterface(10, 1, 2, 3, 5);
        fakeRemoteAccess.interfaces[5] = c.before;
        fakeRemoteAccess.interfaces[5].speed = c.speed;
        tickAfter(500);
        fakeRemoteAccess.interfaces[5] = c.after;
        fakeRemoteAccess.interfaces[5].speed = c.speed;
        tickAfter(c.elapsedMs);
        EXPECT_EQ(record.bytesReceived, c.bytesReceived);
        EXPECT_EQ(record.packetsReceived, c.packetsReceived);
        EXPECT_EQ(record.bytesSent, 0u);
        EXPECT_EQ(record.packetsSent, 0u);
        EXPECT_EQ(record.receiveRateHistory[c.rateStored ? 1 : 0], 77u);
        // Either way the next tick counts from this reading.
        fakeRemoteAccess.interfaces[5].inOctets += 1000;
        tickAfter(500);
        EXPECT_EQ(record.bytesReceived, c.bytesReceived + 1000);
    }

    // The address moves to another interface (its index changes) whose counters are unrelated.
    SetUp();
    LiveConnection& record = watch("10.1.2.3");
    addInterface(10, 1, 2, 3, 5);
    fakeRemoteAccess.interfaces[5] = { 1000, 0, 0, 0, 0, 0 };
    tickAfter(500);
    fakeRemoteAccess.addressRows[0].interfaceIndex = 6;
    fakeRemoteAccess.interfaces.erase(5);
    fakeRemoteAccess.interfaces[6] = { 900000, 0, 0, 0, 0, 0 };
    tickAfter(500);
    EXPECT_EQ(record.bytesReceived, 0u);
    fakeRemoteAccess.interfaces[6].inOctets = 900500;
    tickAfter(500);
    EXPECT_EQ(record.bytesReceived, 500u);
}

TEST_F(TrafficTest, RatesUseTheTimeSinceTheLastReading)
{
    LiveConnection& record = watch("10.1.2.3");
    addInterface(10, 1, 2, 3, 5);
    fakeRemoteAccess.interfaces[5] = { 0, 0, 0, 0, 0, 0 };
    tickAfter(500);
    // A scan 200 ms later counts 1000 bytes without a rate; the tick 300 ms after the scan
    // brings 600 more: 2000 a second.
    fakePlatform.monotonicMs += 200;
    fakeRemoteAccess.interfaces[5].inOctets = 1000;
    updateTraffic(TrafficReading::afterScan);
    fakeRemoteAccess.interfaces[5].inOctets = 1600;
    tickAfter(300);
    // A tick delivered 1500 ms after the previous one: 3000 bytes are 2000 a second.
    fakeRemoteAccess.interfaces[5].inOctets = 4600;
    tickAfter(1500);
    EXPECT_EQ(record.bytesReceived, 4600u);
    EXPECT_EQ(record.receiveRateHistory[0], 2000u);
    EXPECT_EQ(record.receiveRateHistory[1], 2000u);
    EXPECT_EQ(record.receiveRateHistory[2], 0u);
}

TEST_F(TrafficTest, OneInterfaceTableReadATickAndTheAddressTableOnlyWhileAnInterfaceIsUnknown)
{
    addInterface(127, 0, 0, 1, 4);
    fakeRemoteAccess.interfaces[4] = { 100, 1, 0, 200, 2, 0 };
    for (int i = 0; i < kMaxLiveConnections - 1; ++i)
        watch("127.0.0.1");
    LiveConnection& late = watch("10.9.9.9"); // not in the address table yet
    const uint32_t addressReads = fakeRemoteAccess.addressTableReads;
    const uint32_t interfaceReads = fakeRemoteAccess.interfaceTableReads;
    for (int i = 0; i < 3; ++i)
        tickAfter(500);
    EXPECT_EQ(fakeRemoteAccess.addressTableReads - addressReads, 3u);
    EXPECT_EQ(fakeRemoteAccess.interfaceTableReads - interfaceReads, 3u);

    addInterface(10, 9, 9, 9, 7);
    fakeRemoteAccess.interfaces[7] = { 5, 0, 0, 5, 0, 0 };
    tickAfter(500);
    EXPECT_EQ(late.lastInOctets, 5u);
    for (int i = 0; i < 10; ++i)
        tickAfter(500);
    EXPECT_EQ(fakeRemoteAccess.addressTableReads - addressReads, 4u);
    EXPECT_EQ(fakeRemoteAccess.interfaceTableReads - interfaceReads, 14u);
    EXPECT_EQ(liveConnections.records[0].lastInOctets, 100u);

    // After a scan the connection table may have changed: the addresses are looked up again.
    updateTraffic(TrafficReading::afterScan);
    EXPECT_EQ(fakeRemoteAccess.addressTableReads - addressReads, 5u);
    EXPECT_EQ(fakeRemoteAccess.interfaceTableReads - interfaceReads, 15u);
}

TEST_F(TrafficTest, TheOldestRateDropsOutOfAFullHistory)
{
    LiveConnection& record = watch("10.1.2.3");
    addInterface(10, 1, 2, 3, 5);
    for (int i = 0; i < kRateHistoryLength; ++i)
        record.receiveRateHistory[i] = uint32_t(i + 1);
    fakeRemoteAccess.interfaces[5] = { 0, 0, 0, 0, 0, 0 };
    tickAfter(500);
    fakeRemoteAccess.interfaces[5] = { 50, 0, 0, 0, 0, 0 };
    tickAfter(500);
    EXPECT_EQ(record.receiveRateHistory[0], 100u);
    for (int i = 1; i < kRateHistoryLength; ++i)
        ASSERT_EQ(record.receiveRateHistory[i], uint32_t(i)) << "at " << i;
}

TEST_F(TrafficTest, FindsTheInterfaceByTheExactAddressText)
{
    // 10.0.0.11 starts with the text 10.0.0.1 but is another address; the first exact row wins.
    addInterface(10, 0, 0, 11, 1);
    addInterface(10, 0, 0, 1, 2);
    addInterface(10, 0, 0, 1, 3);
    fakeRemoteAccess.interfaces[1] = { 111, 0, 0, 0, 0, 0 };
    fakeRemoteAccess.interfaces[2] = { 222, 0, 0, 0, 0, 0 };
    fakeRemoteAccess.interfaces[3] = { 333, 0, 0, 0, 0, 0 };
    LiveConnection& exact = watch("10.0.0.1");
    LiveConnection& unknown = watch("10.0.0.2");
    LiveConnection& noAddress = watch("");
    LiveConnection& unreadable = watch("192.168.100.254");
    addInterface(192, 168, 100, 254, 9); // no interface 9 in the interface table

    EXPECT_TRUE(updateTraffic(TrafficReading::afterScan));
    EXPECT_EQ(exact.lastInOctets, 222u);
    for (const LiveConnection* untouched : { &unknown, &noAddress, &unreadable }) {
        EXPECT_EQ(untouched->lastInPackets, kNoReadingYet);
        EXPECT_EQ(untouched->lastInOctets, 0u);
    }
}

TEST_F(TrafficTest, TwoConnectionsWithOneAddressBothCountTheInterface)
{
    addInterface(127, 0, 0, 1, 4);
    LiveConnection& first = watch("127.0.0.1");
    LiveConnection& second = watch("127.0.0.1");
    fakeRemoteAccess.interfaces[4] = { 100, 1, 0, 200, 2, 0 };
    updateTraffic(TrafficReading::afterScan);
    fakeRemoteAccess.interfaces[4] = { 1100, 4, 0, 700, 3, 0 };
    tickAfter(500);
    for (const LiveConnection* record : { &first, &second }) {
        EXPECT_EQ(record->bytesReceived, 1000u);
        EXPECT_EQ(record->bytesSent, 500u);
        EXPECT_EQ(record->packetsReceived, 3u);
        EXPECT_EQ(record->packetsSent, 1u);
        EXPECT_EQ(record->receiveRateHistory[0], 2000u);
        EXPECT_EQ(record->sendRateHistory[0], 1000u);
    }
}

TEST_F(TrafficTest, AnUnreadableAddressTableIsReportedOncePerEpisode)
{
    fakePlatform.messages[kErrorConnectionsUnreadable] = "connections unreadable";
    LiveConnection& record = watch("10.1.2.3");
    addInterface(10, 1, 2, 3, 5);
    fakeRemoteAccess.interfaces[5] = { 10, 0, 0, 0, 0, 0 };

    fakeRemoteAccess.addressTableFails = true;
    EXPECT_FALSE(tickAfter(500));
    EXPECT_FALSE(tickAfter(500));
    EXPECT_FALSE(tickAfter(500));
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "connections unreadable");
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_EQ(record.lastInPackets, kNoReadingYet); // nothing updated while failing

    fakeRemoteAccess.addressTableFails = false;
    EXPECT_TRUE(tickAfter(500));
    EXPECT_EQ(record.lastInOctets, 10u);
    EXPECT_EQ(fakePlatform.boxes.size(), 1u);

    // A tick needs the table only while an interface is unknown; the reading after a scan
    // always looks the addresses up again.
    fakeRemoteAccess.addressTableFails = true;
    EXPECT_TRUE(tickAfter(500));
    EXPECT_FALSE(updateTraffic(TrafficReading::afterScan));
    EXPECT_FALSE(updateTraffic(TrafficReading::afterScan));
    EXPECT_EQ(fakePlatform.boxes.size(), 2u);
}

} // namespace
