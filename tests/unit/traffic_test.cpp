#include <cstring>

#include "monitorfixture.h"
#include "monitor/traffic.h"

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
        fakeRemoteAccess.addressRows.push_back({{a, b, c, d}, index});
    }
};

struct CounterCase {
    const char* name;
    InterfaceCounters before;
    InterfaceCounters after;
    uint32_t elapsedMs;
    uint32_t bytesReceived, bytesSent, packetsReceived, packetsSent;
    bool rateStored;
    uint32_t receiveRate, sendRate;
};

// Counters: in octets, in unicast, in non-unicast, out octets, out unicast, out non-unicast.
const CounterCase kCounterCases[] = {
    {"1000 octets in 500 ms", {1000, 0, 0, 0, 0, 0}, {2000, 0, 0, 0, 0, 0}, 500, 1000, 0, 0, 0, true, 2000, 0},
    {"received counter wraps", {4294967000u, 0, 0, 0, 0, 0}, {200, 0, 0, 0, 0, 0}, 500, 496, 0, 0, 0, true, 992, 0},
    {"sent counter wraps", {0, 0, 0, 4294967295u, 0, 0}, {0, 0, 0, 0, 0, 0}, 1000, 0, 1, 0, 0, true, 0, 1},
    {"packets are unicast plus non-unicast", {0, 10, 2, 0, 7, 0}, {0, 15, 3, 0, 9, 1}, 500, 0, 0, 6, 3, true, 0, 0},
    {"packet counter wraps", {0, 4294967290u, 0, 0, 0, 0}, {0, 4, 0, 0, 0, 0}, 500, 0, 0, 10, 0, true, 0, 0},
    {"after a scan: counted, no rate", {1000, 1, 0, 50, 1, 0}, {1600, 3, 0, 90, 2, 0}, 0, 600, 40, 2, 1, false, 0, 0},
    {"rate truncated", {0, 0, 0, 0, 0, 0}, {1001, 0, 0, 7, 0, 0}, 3000, 1001, 7, 0, 0, true, 333, 2},
    // 5,000,000 bytes in half a second is 10,000,000 bytes per second, beyond what a 32-bit
    // product of delta and 1000 holds.
    {"large tick", {0, 0, 0, 0, 0, 0}, {5000000, 0, 0, 0, 0, 0}, 500, 5000000, 0, 0, 0, true, 10000000, 0},
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
        EXPECT_TRUE(updateTraffic(500));
        // The first reading only takes the baseline.
        EXPECT_EQ(record.bytesReceived, 0u);
        EXPECT_EQ(record.packetsReceived, 0u);
        EXPECT_EQ(record.receiveRateHistory[0], 77u);

        fakeRemoteAccess.interfaces[5] = c.after;
        EXPECT_TRUE(updateTraffic(c.elapsedMs));
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

TEST_F(TrafficTest, TheOldestRateDropsOutOfAFullHistory)
{
    LiveConnection& record = watch("10.1.2.3");
    addInterface(10, 1, 2, 3, 5);
    for (int i = 0; i < kRateHistoryLength; ++i)
        record.receiveRateHistory[i] = uint32_t(i + 1);
    fakeRemoteAccess.interfaces[5] = {0, 0, 0, 0, 0, 0};
    updateTraffic(500);
    fakeRemoteAccess.interfaces[5] = {50, 0, 0, 0, 0, 0};
    updateTraffic(500);
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
    fakeRemoteAccess.interfaces[1] = {111, 0, 0, 0, 0, 0};
    fakeRemoteAccess.interfaces[2] = {222, 0, 0, 0, 0, 0};
    fakeRemoteAccess.interfaces[3] = {333, 0, 0, 0, 0, 0};
    LiveConnection& exact = watch("10.0.0.1");
    LiveConnection& unknown = watch("10.0.0.2");
    LiveConnection& noAddress = watch("");
    LiveConnection& unreadable = watch("192.168.100.254");
    addInterface(192, 168, 100, 254, 9);  // no interface entry 9: GetIfEntry fails

    EXPECT_TRUE(updateTraffic(0));
    EXPECT_EQ(exact.lastInOctets, 222u);
    for (const LiveConnection* untouched : {&unknown, &noAddress, &unreadable}) {
        EXPECT_EQ(untouched->lastInPackets, kNoReadingYet);
        EXPECT_EQ(untouched->lastInOctets, 0u);
    }
}

TEST_F(TrafficTest, TwoConnectionsWithOneAddressBothCountTheInterface)
{
    addInterface(127, 0, 0, 1, 4);
    LiveConnection& first = watch("127.0.0.1");
    LiveConnection& second = watch("127.0.0.1");
    fakeRemoteAccess.interfaces[4] = {100, 1, 0, 200, 2, 0};
    updateTraffic(0);
    fakeRemoteAccess.interfaces[4] = {1100, 4, 0, 700, 3, 0};
    updateTraffic(500);
    for (const LiveConnection* record : {&first, &second}) {
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
    fakeRemoteAccess.interfaces[5] = {10, 0, 0, 0, 0, 0};

    fakeRemoteAccess.addressTableFails = true;
    EXPECT_FALSE(updateTraffic(500));
    EXPECT_FALSE(updateTraffic(500));
    EXPECT_FALSE(updateTraffic(500));
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "connections unreadable");
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_EQ(record.lastInPackets, kNoReadingYet);  // nothing updated while failing

    fakeRemoteAccess.addressTableFails = false;
    EXPECT_TRUE(updateTraffic(500));
    EXPECT_EQ(record.lastInOctets, 10u);
    EXPECT_EQ(fakePlatform.boxes.size(), 1u);

    fakeRemoteAccess.addressTableFails = true;
    EXPECT_FALSE(updateTraffic(500));
    EXPECT_FALSE(updateTraffic(500));
    EXPECT_EQ(fakePlatform.boxes.size(), 2u);
}

}  // namespace
