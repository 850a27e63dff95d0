#include <cstring>
#include <string>
#include <vector>

#include "core/deferredreports.h"
#include "monitor/watcher.h"
#include "monitorfixture.h"
#include "support.h"

namespace {

class WatcherTest : public MonitorTest {
protected:
    static std::vector<uintptr_t> watchedHandles()
    {
        std::vector<uintptr_t> handles;
        for (uint32_t i = 0; i < liveConnectionCount(); ++i)
            handles.push_back(liveConnectionAt(i)->handle);
        return handles;
    }
    static uint32_t loggedRecords()
    {
        uint32_t count = 0;
        for (const LogRecord* record = currentMonth.records.head; record != nullptr; record = record->next)
            ++count;
        return count;
    }
    static std::string monthFile(const char* name) { return readGzipFile(scratchDirectory() + name); }
    static bool isZeroed(const LiveConnection& record)
    {
        static const LiveConnection zero {};
        return memcmp(&record, &zero, sizeof record) == 0;
    }
};

TEST_F(WatcherTest, ANewConnectionIsWatchedWithItsNameAddressAndStart)
{
    fakeConnect(0x10, "My ISP", "10.20.30.40");
    fakeConnect(0x20, "No projection");
    const uint32_t addressReads = fakeRemoteAccess.addressTableReads;
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 2u);
    const LiveConnection& first = *liveConnectionAt(0);
    EXPECT_EQ(first.handle, 0x10u);
    EXPECT_STREQ(first.entryName, "My ISP");
    EXPECT_STREQ(first.ipAddress, "10.20.30.40");
    EXPECT_EQ(first.lastInPackets, kNoReadingYet);
    EXPECT_EQ(memcmp(&first.sliceStart, &fakePlatform.now, sizeof(LocalTime)), 0);
    EXPECT_STREQ(liveConnectionAt(1)->ipAddress, "");
    // The scan takes the first counter reading at once.
    EXPECT_EQ(fakeRemoteAccess.addressTableReads - addressReads, 1u);
}

TEST_F(WatcherTest, TwoScansWithoutChangeAddRemoveAndLogNothing)
{
    fakeConnect(0x10, "A", "10.0.0.1");
    fakeConnect(0x20, "B");
    ASSERT_TRUE(rescanConnections());
    LiveConnectionTable before;
    memcpy(&before, &liveConnections, sizeof before);
    advanceClock(60);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(memcmp(&before, &liveConnections, sizeof before), 0);
    EXPECT_EQ(loggedRecords(), 0u);
    EXPECT_FALSE(fileExists(scratchDirectory() + "log_200310.zip"));
}

TEST_F(WatcherTest, AConnectionThatCameAndWentBetweenScansIsNeverLogged)
{
    ASSERT_TRUE(rescanConnections());
    fakeConnect(0x10, "Brief");
    advanceClock(30);
    fakeDisconnect(0x10);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(liveConnectionCount(), 0u);
    EXPECT_EQ(loggedRecords(), 0u);
    EXPECT_FALSE(fileExists(scratchDirectory() + "log_200310.zip"));
}

TEST_F(WatcherTest, ARedialUnderTheSameNameLogsTheOldAndAddsTheNewAtTheEnd)
{
    // 15 October 2003, 14:03:20: second 50600 of the day.
    fakeConnect(0x10, "ISP");
    fakeConnect(0x30, "Other");
    ASSERT_TRUE(rescanConnections());
    LiveConnection& old = *liveConnectionAt(0);
    old.bytesReceived = 120000;
    old.packetsReceived = 400;
    old.bytesSent = 30000;
    old.packetsSent = 350;

    advanceClock(754);
    fakeDisconnect(0x10);
    fakeConnect(0x14, "ISP");
    ASSERT_TRUE(rescanConnections());

    EXPECT_EQ(watchedHandles(), (std::vector<uintptr_t> { 0x30, 0x14 }));
    EXPECT_STREQ(liveConnectionAt(1)->entryName, "ISP");
    EXPECT_EQ(liveConnectionAt(1)->sliceStart.minute, 15); // 14:15:54, the second scan
    EXPECT_EQ(liveConnectionAt(1)->bytesReceived, 0u);
    EXPECT_TRUE(isZeroed(liveConnections.records[2]));
    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(15, 50600, 754, 120000, 400, 30000, 350));
    EXPECT_EQ(loggedRecords(), 1u);
    EXPECT_EQ(currentMonth.onlineTime[0], 754);
    EXPECT_EQ(currentMonth.onlineTime[15], 754);
    EXPECT_EQ(currentMonth.volume[15], 150000);
}

TEST_F(WatcherTest, AFullTableWatchesANewConnectionOnlyAfterTheEndedOneIsRemoved)
{
    for (uintptr_t handle = 1; handle <= 16; ++handle)
        fakeConnect(handle, ("Entry " + std::to_string(handle)).c_str());
    fakeConnect(17, "Seventeenth");
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 16u);
    EXPECT_FALSE(isEntryConnected("Seventeenth"));

    fakeDisconnect(5);
    fakeConnect(99, "Late");
    ASSERT_TRUE(rescanConnections());
    std::vector<uintptr_t> expected { 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 };
    EXPECT_EQ(watchedHandles(), expected);
    EXPECT_TRUE(isZeroed(liveConnections.records[15]));
    EXPECT_EQ(loggedRecords(), 1u);

    // The next scan has room: the first unwatched connection in the service's order gets it.
    ASSERT_TRUE(rescanConnections());
    expected.push_back(17);
    EXPECT_EQ(watchedHandles(), expected);
}

TEST_F(WatcherTest, RemovalKeepsTheOrderOfTheRest)
{
    struct Case {
        const char* name;
        std::vector<uintptr_t> ended;
        std::vector<uintptr_t> remaining;
    };
    const Case cases[] = {
        { "first of three", { 1 }, { 2, 3 } },
        { "middle of three", { 2 }, { 1, 3 } },
        { "last of three", { 3 }, { 1, 2 } },
        { "two adjacent", { 1, 2 }, { 3 } },
        { "all", { 1, 2, 3 }, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        fakeConnect(1, "A");
        fakeConnect(2, "B");
        fakeConnect(3, "C");
        ASSERT_TRUE(rescanConnections());
        for (uintptr_t handle : c.ended)
            fakeDisconnect(handle);
        ASSERT_TRUE(rescanConnections());
        EXPECT_EQ(watchedHandles(), c.remaining);
        for (uint32_t slot = uint32_t(c.remaining.size()); slot < kMaxLiveConnections; ++slot)
            EXPECT_TRUE(isZeroed(liveConnections.records[slot])) << "slot " << slot;
        EXPECT_EQ(loggedRecords(), c.ended.size());
    }
}

TEST_F(WatcherTest, AFailedScanIsMadeAgainOnTheFollowingTicksUntilItSucceeds)
{
    fakePlatform.messages[kErrorConnectionsUnreadable] = "connections unreadable";
    fakeConnect(1, "ISP");
    ASSERT_TRUE(rescanConnections());
    // The connection ends; the scan of its signal fails, and so do the scans of two ticks.
    advanceClock(60);
    fakeDisconnect(1);
    fakeRemoteAccess.enumerationFails = true;
    EXPECT_FALSE(rescanConnections());
    for (int tick = 0; tick < 2; ++tick) {
        advanceClock(1);
        watchConnectionsOnTick();
    }
    EXPECT_EQ(watchedHandles(), std::vector<uintptr_t> { 1 });
    // The failure is shown once, after the scan, not from inside it.
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(showDeferredReports(), 1u);

    fakeRemoteAccess.enumerationFails = false;
    advanceClock(1);
    watchConnectionsOnTick();
    EXPECT_EQ(liveConnectionCount(), 0u);
    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(15, 50600, 63, 0, 0, 0, 0));
}

TEST_F(WatcherTest, AConnectionFirstSeenWithoutAnAddressIsAskedAgainUntilItsInterfaceIsKnown)
{
    // An auto-dial still negotiating: listed, but without an IP projection yet.
    fakeConnect(0x10, "Auto");
    fakeRemoteAccess.interfaces[5] = { 1000, 10, 0, 500, 5, 0 };
    ASSERT_TRUE(rescanConnections());
    const LiveConnection& record = *liveConnectionAt(0);
    advanceClock(1);
    watchConnectionsOnTick();
    EXPECT_STREQ(record.ipAddress, "");

    // The projection comes before its address is in the address table.
    fakeRemoteAccess.addresses[0x10] = "10.0.0.7";
    advanceClock(1);
    watchConnectionsOnTick();
    EXPECT_STREQ(record.ipAddress, "10.0.0.7");
    EXPECT_EQ(record.lastInPackets, kNoReadingYet);

    fakeRemoteAccess.addressRows.push_back({ { 10, 0, 0, 7 }, 5 });
    advanceClock(1);
    watchConnectionsOnTick();
    fakeRemoteAccess.interfaces[5] = { 4000, 16, 0, 900, 9, 0 };
    advanceClock(1);
    watchConnectionsOnTick();
    advanceClock(1);
    fakeDisconnect(0x10);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(15, 50600, 5, 3000, 6, 400, 4));
}

TEST_F(WatcherTest, AFiveGiBDownloadIsLoggedAsSlicesThatSumToFiveGiB)
{
    fakeConnect(1, "ISP", "10.0.0.1");
    fakeRemoteAccess.addressRows.push_back({ { 10, 0, 0, 1 }, 3 });
    fakeRemoteAccess.interfaces[3] = { 0, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(rescanConnections());
    // 1 GiB a second for five seconds; the interface's 32-bit counter wraps after four.
    for (int second = 1; second <= 5; ++second) {
        fakeRemoteAccess.interfaces[3].inOctets += 1073741824u;
        advanceClock(1);
        watchConnectionsOnTick();
    }
    fakeDisconnect(1);
    ASSERT_TRUE(rescanConnections());
    // The tick of the fourth second would bring the slice to 4 GiB: the 3 GiB before it are
    // logged, and its gigabyte starts the next slice.
    EXPECT_EQ(monthFile("log_200310.zip"),
        logBlock(15, 50600, 4, 3221225472u, 0, 0, 0) + logBlock(15, 50604, 1, 2147483648u, 0, 0, 0));
}

TEST_F(WatcherTest, TenGiBInOneReadingOfAWideCounterAreLoggedWhole)
{
    fakeConnect(1, "ISP", "10.0.0.1");
    fakeRemoteAccess.addressRows.push_back({ { 10, 0, 0, 1 }, 3 });
    fakeRemoteAccess.interfaces[3] = { 0, 0, 0, 0, 0, 0, 0, true };
    ASSERT_TRUE(rescanConnections());
    // A gigabit adapter over the longest update interval: 10 GiB between two readings.
    fakeRemoteAccess.interfaces[3].inOctets = 10737418240u;
    advanceClock(60);
    watchConnectionsOnTick();
    advanceClock(1);
    fakeDisconnect(1);
    ASSERT_TRUE(rescanConnections());
    // The minute before the reading, two full slices, and the 2 GiB + 2 bytes left.
    EXPECT_EQ(monthFile("log_200310.zip"),
        logBlock(15, 50600, 60, 0, 0, 0, 0) + logBlock(15, 50660, 0, 4294967295u, 0, 0, 0)
            + logBlock(15, 50660, 0, 4294967295u, 0, 0, 0) + logBlock(15, 50660, 1, 2147483650u, 0, 0, 0));
}

TEST_F(WatcherTest, AFailedLogWriteInAScanIsShownOnceTheScanIsDone)
{
    fakePlatform.messages[kErrorMonthLogCreate] = "log not written";
    fakeConnect(1, "Ended");
    fakeConnect(2, "Running");
    ASSERT_TRUE(rescanConnections());
    advanceClock(60);
    // The log is held: logging the ended connection fails. The box's own loop delivers a tick
    // and the next connection signal, as Windows does.
    fakePlatform.heldFiles.insert(scratchDirectory() + "log_200310.zip");
    fakePlatform.whileBoxOpen = [] {
        fakePlatform.heldFiles.clear();
        advanceClock(1);
        watchConnectionsOnTick();
        rescanConnections();
    };
    fakeDisconnect(1);
    rescanConnections();
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(showDeferredReports(), 1u);
    // The ended slice once, written once the log is free, the running connection still watched.
    EXPECT_TRUE(saveUnsavedMonths());
    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(15, 50600, 60, 0, 0, 0, 0));
    EXPECT_EQ(watchedHandles(), std::vector<uintptr_t> { 2 });
}

TEST_F(WatcherTest, AnUnreadableServiceIsReportedAndLeavesTheTable)
{
    fakePlatform.messages[kErrorConnectionsUnreadable] = "connections unreadable";
    fakeConnect(1, "A");
    ASSERT_TRUE(rescanConnections());
    fakeRemoteAccess.enumerationFails = true;
    EXPECT_FALSE(rescanConnections());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(showDeferredReports(), 1u);
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "connections unreadable");
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_EQ(watchedHandles(), std::vector<uintptr_t> { 1 });
    EXPECT_EQ(loggedRecords(), 0u);
}

TEST_F(WatcherTest, ClosingSlicesLogsEachAndRestartsItWithoutLosingReadings)
{
    fakeConnect(1, "A");
    fakeConnect(2, "B");
    ASSERT_TRUE(rescanConnections());
    for (uint32_t i = 0; i < 2; ++i) {
        LiveConnection& record = *liveConnectionAt(i);
        record.bytesReceived = 1000 * (i + 1);
        record.bytesSent = 10 * (i + 1);
        record.packetsReceived = 5;
        record.packetsSent = 6;
        record.lastInOctets = 777;
        record.lastInPackets = 8;
        record.receiveRateHistory[0] = 99;
    }
    advanceClock(100);
    const LocalTime tick = fakePlatform.now;
    closeSlices(tick);

    EXPECT_EQ(monthFile("log_200310.zip"),
        logBlock(15, 50600, 100, 1000, 5, 10, 6) + logBlock(15, 50600, 100, 2000, 5, 20, 6));
    for (uint32_t i = 0; i < 2; ++i) {
        const LiveConnection& record = *liveConnectionAt(i);
        EXPECT_EQ(memcmp(&record.sliceStart, &tick, sizeof tick), 0);
        EXPECT_EQ(record.bytesReceived, 0u);
        EXPECT_EQ(record.bytesSent, 0u);
        EXPECT_EQ(record.packetsReceived, 0u);
        EXPECT_EQ(record.packetsSent, 0u);
        EXPECT_EQ(record.lastInOctets, 777u);
        EXPECT_EQ(record.lastInPackets, 8u);
        EXPECT_EQ(record.receiveRateHistory[0], 99u);
    }
}

TEST_F(WatcherTest, TheFractionOfASecondLeftAtACutGoesIntoTheNextSlice)
{
    // Up at 14:03:20.600; cut at 14:03:30.300 (9.7 s), at 14:03:40.000 (9.7 s more) and ended at
    // 14:03:50.500 (10.5 s more): 29.9 s in all, logged as 9 + 10 + 10 s.
    fakePlatform.now.milliseconds = 600;
    fakeConnect(1, "ISP");
    ASSERT_TRUE(rescanConnections());
    fakePlatform.now = { 2003, 10, 3, 15, 14, 3, 30, 300 };
    closeSlices(fakePlatform.now);
    fakePlatform.now = { 2003, 10, 3, 15, 14, 3, 40, 0 };
    closeSlices(fakePlatform.now);
    fakePlatform.now = { 2003, 10, 3, 15, 14, 3, 50, 500 };
    fakeDisconnect(1);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(monthFile("log_200310.zip"),
        logBlock(15, 50600, 9, 0, 0, 0, 0) + logBlock(15, 50610, 10, 0, 0, 0, 0) + logBlock(15, 50620, 10, 0, 0, 0, 0));
}

TEST_F(WatcherTest, TheCountersAreReadOnceMoreBeforeASliceEnds)
{
    // Read at the scan (1000 in, 100 out) and at a tick 10 s later (+4000, +400); 5 s after the
    // tick the counters have moved again (+500, +50) when the slice ends.
    struct Case {
        const char* what;
        void (*end)();
    } cases[] = {
        { "the adapter goes down", [] { fakeAdapter("{A}", "Hotspot", "", 7); } },
        { "the adapter is unticked", [] { watchedAdapters = WatchedAdapterList {}; } },
        { "the program ends", [] { closeSlices(fakePlatform.now); } },
        { "the machine goes to sleep", [] { suspendSlices(fakePlatform.now); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ASSERT_TRUE(watchAdapter("{A}", "Hotspot"));
        fakeAdapter("{A}", "Hotspot", "192.168.43.2", 7);
        fakeRemoteAccess.interfaces[7] = { 1000, 10, 0, 100, 1, 0, 0, true };
        ASSERT_TRUE(rescanConnections());
        fakeRemoteAccess.interfaces[7] = { 5000, 20, 0, 500, 5, 0, 0, true };
        advanceClock(10);
        watchConnectionsOnTick();
        fakeRemoteAccess.interfaces[7] = { 5500, 25, 0, 550, 7, 0, 0, true };
        advanceClock(5);
        c.end();
        ASSERT_TRUE(rescanConnections());
        EXPECT_EQ(monthFile("log_200310.zip"), logBlock(15, 50600, 15, 4500, 15, 450, 6));
    }
}

TEST_F(WatcherTest, AnInterfaceThatCarriesARemoteAccessConnectionIsCountedOnceAsThatConnection)
{
    // The dial-up connection's own adapter is ticked too: it is the same interface.
    ASSERT_TRUE(watchAdapter("{P}", "Dial-up adapter"));
    fakeAdapter("{P}", "Dial-up adapter", "10.1.2.3", 5);
    fakeConnect(1, "ISP", "10.1.2.3");
    fakeRemoteAccess.addressRows.push_back({ { 10, 1, 2, 3 }, 5 });
    fakeRemoteAccess.interfaces[5] = { 0, 0, 0, 0, 0, 0, 0, true };
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 1u);
    EXPECT_FALSE(liveConnectionAt(0)->isAdapter);
    EXPECT_STREQ(remoteConnectionOnAdapter(fakeRemoteAccess.adapters[0]), "ISP");
    fakeRemoteAccess.interfaces[5].inOctets = 1048576;
    advanceClock(10);
    watchConnectionsOnTick();
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(liveConnectionCount(), 1u);
    fakeDisconnect(1);
    fakeAdapter("{P}", "Dial-up adapter", "", 5);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(15, 50600, 10, 1048576, 0, 0, 0));
    EXPECT_EQ(remoteConnectionOnAdapter(fakeRemoteAccess.adapters[0]), nullptr);

    // The adapter was counted first; once the service lists the connection on it, the adapter's
    // slice ends and the connection counts from there.
    fakeAdapter("{P}", "Dial-up adapter", "10.1.2.3", 5);
    ASSERT_TRUE(rescanConnections());
    ASSERT_TRUE(liveConnectionAt(0)->isAdapter);
    fakeRemoteAccess.interfaces[5].inOctets += 2000;
    advanceClock(10);
    watchConnectionsOnTick();
    fakeConnect(2, "ISP", "10.1.2.3");
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 1u);
    EXPECT_FALSE(liveConnectionAt(0)->isAdapter);
    fakeRemoteAccess.interfaces[5].inOctets += 3000;
    advanceClock(10);
    watchConnectionsOnTick();
    fakeDisconnect(2);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(monthFile("log_200310.zip"),
        logBlock(15, 50600, 10, 1048576, 0, 0, 0) + logBlock(15, 50610, 10, 2000, 0, 0, 0)
            + logBlock(15, 50620, 10, 3000, 0, 0, 0));
}

TEST_F(WatcherTest, AConnectionAcrossTheMonthEndIsLoggedIntoBothMonths)
{
    // 31 October 2003, 23:50:00; the main window's timer cuts at 1 November 00:00:00.
    fakePlatform.now = { 2003, 10, 5, 31, 23, 50, 0, 0 };
    fakeConnect(1, "ISP");
    ASSERT_TRUE(rescanConnections());
    liveConnectionAt(0)->bytesReceived = 300;
    advanceClock(600);
    closeSlices(fakePlatform.now);
    clearMonthCache();
    liveConnectionAt(0)->bytesReceived = 400;
    advanceClock(420);
    fakeDisconnect(1);
    ASSERT_TRUE(rescanConnections());

    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(31, 85800, 600, 300, 0, 0, 0));
    EXPECT_EQ(monthFile("log_200311.zip"), logBlock(1, 0, 420, 400, 0, 0, 0));
}

TEST_F(WatcherTest, ATickedAdapterIsAConnectionWhileItIsUpWithAnAddress)
{
    // 15 October 2003, 14:03:20: second 50600 of the day.
    ASSERT_TRUE(watchAdapter("{A}", "Phone hotspot"));
    ASSERT_TRUE(watchAdapter("{B}", "USB stick"));
    fakeAdapter("{A}", "Phone hotspot", "192.168.43.2", 7);
    fakeAdapter("{B}", "USB stick", "", 9); // down
    fakeAdapter("{C}", "Office LAN", "10.0.0.3", 4); // up, but not ticked
    fakeRemoteAccess.interfaces[7] = { 1000, 10, 0, 100, 1, 0, 0, true };
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 1u);
    const LiveConnection& hotspot = *liveConnectionAt(0);
    EXPECT_TRUE(hotspot.isAdapter);
    EXPECT_STREQ(hotspot.entryName, "Phone hotspot");
    EXPECT_STREQ(hotspot.ipAddress, "192.168.43.2");
    EXPECT_FALSE(isEntryConnected("Phone hotspot")); // no phone-book entry to hang up
    EXPECT_EQ(hotspot.lastInOctets, 1000u); // the scan took the baseline

    // Counted from the same tick reading as every connection.
    fakeRemoteAccess.interfaces[7] = { 6000, 20, 0, 900, 5, 0, 0, true };
    advanceClock(10);
    watchConnectionsOnTick();
    // Renamed: the slice goes on under the new name.
    fakeAdapter("{A}", "Hotspot", "192.168.43.2", 7);
    advanceClock(10);
    ASSERT_TRUE(rescanConnections());
    EXPECT_STREQ(liveConnectionAt(0)->entryName, "Hotspot");
    EXPECT_EQ(loggedRecords(), 0u);

    // The second adapter comes up: two adapters.
    fakeAdapter("{B}", "USB stick", "10.64.1.9", 9);
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 2u);
    EXPECT_STREQ(liveConnectionAt(1)->entryName, "USB stick");

    // The hotspot loses its address while it stays up: its slice ends and is logged.
    advanceClock(40);
    fakeAdapter("{A}", "Hotspot", "", 7).up = true;
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 1u);
    EXPECT_STREQ(liveConnectionAt(0)->entryName, "USB stick");
    // The stick goes down.
    advanceClock(20);
    fakeAdapter("{B}", "USB stick", "", 9);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(liveConnectionCount(), 0u);
    EXPECT_EQ(
        monthFile("log_200310.zip"), logBlock(15, 50600, 60, 5000, 10, 800, 4) + logBlock(15, 50620, 60, 0, 0, 0, 0));
}

TEST_F(WatcherTest, AdaptersAndRemoteAccessConnectionsShareTheSixteenSlots)
{
    for (uintptr_t handle = 1; handle <= 15; ++handle)
        fakeConnect(handle, ("Entry " + std::to_string(handle)).c_str());
    ASSERT_TRUE(watchAdapter("{A}", "First"));
    ASSERT_TRUE(watchAdapter("{B}", "Second"));
    fakeAdapter("{A}", "First", "10.0.0.1", 3);
    fakeAdapter("{B}", "Second", "10.0.0.2", 4);
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 16u);
    EXPECT_STREQ(liveConnectionAt(15)->entryName, "First");

    // A connection ends: additions still come first, so the second adapter waits a scan.
    fakeDisconnect(2);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(liveConnectionCount(), 15u);
    ASSERT_TRUE(rescanConnections());
    ASSERT_EQ(liveConnectionCount(), 16u);
    EXPECT_STREQ(liveConnectionAt(15)->entryName, "Second");
}

TEST_F(WatcherTest, WithoutTheSystemsChangeReportsTheTickLooksAtTheAdapters)
{
    ASSERT_TRUE(watchAdapter("{A}", "Hotspot"));
    fakeAdapter("{A}", "Hotspot", "192.168.43.2", 7);

    // The system reports changes: the report's scan notices them, the tick leaves the list.
    fakeRemoteAccess.adapterChangesNotified = true;
    ASSERT_TRUE(rescanConnections());
    const uint32_t reads = fakeRemoteAccess.adapterListReads;
    fakeAdapter("{A}", "Hotspot", "", 7);
    watchConnectionsOnTick();
    EXPECT_EQ(fakeRemoteAccess.adapterListReads, reads);
    EXPECT_EQ(liveConnectionCount(), 1u);
    ASSERT_TRUE(rescanConnections());
    EXPECT_EQ(liveConnectionCount(), 0u);

    // Without reports each tick looks, and no more often.
    fakeRemoteAccess.adapterChangesNotified = false;
    fakeAdapter("{A}", "Hotspot", "192.168.43.2", 7);
    watchConnectionsOnTick();
    EXPECT_EQ(liveConnectionCount(), 1u);
    fakeAdapter("{A}", "Hotspot", "", 7);
    watchConnectionsOnTick();
    EXPECT_EQ(liveConnectionCount(), 0u);
    EXPECT_EQ(fakeRemoteAccess.adapterListReads, reads + 3);

    // An adapter list that cannot be read ends no slice.
    fakeAdapter("{A}", "Hotspot", "192.168.43.2", 7);
    watchConnectionsOnTick();
    fakeRemoteAccess.adapterListFails = true;
    watchConnectionsOnTick();
    EXPECT_EQ(liveConnectionCount(), 1u);
    EXPECT_EQ(loggedRecords(), 2u);
}

TEST_F(WatcherTest, TheAdaptersFileKeepsTheTickedAdaptersAndADamagedOneWatchesNothing)
{
    const std::string path = scratchDirectory() + "adapters.zip";
    fakePlatform.messages[kErrorAdaptersRead] = "adapters unreadable";
    ASSERT_TRUE(loadWatchedAdapters()); // a first start: no file
    EXPECT_EQ(watchedAdapters.count, 0u);
    ASSERT_TRUE(watchAdapter("{1F2E}", "Hotspot <5G>"));
    ASSERT_TRUE(watchAdapter("{77AB}", "USB stick"));
    EXPECT_FALSE(watchAdapter("", "No id"));
    ASSERT_TRUE(saveWatchedAdapters());
    EXPECT_EQ(readGzipFile(path),
        "<version>1</version>\r\n<adapter>{1F2E}</adapter>\r\n<name>Hotspot ?5G></name>\r\n"
        "<adapter>{77AB}</adapter>\r\n<name>USB stick</name>\r\n");
    watchedAdapters = WatchedAdapterList {};
    ASSERT_TRUE(loadWatchedAdapters());
    ASSERT_EQ(watchedAdapters.count, 2u);
    EXPECT_STREQ(findWatchedAdapter("{77AB}")->name, "USB stick");

    const std::string damaged[] = {
        "not gzip at all",
        "<version>1</version>\r\n<colour>red</colour>\r\n", // a tag the file does not hold
        "<version>1</version>\r\n<adapter>{1F2E}</adapter>\r\n<adapter>{1F2E}</adapter>\r\n", // twice
        "<version>1</version>\r\n<name>Without an adapter</name>\r\n",
        "<version>2</version>\r\n",
    };
    for (const std::string& content : damaged) {
        SCOPED_TRACE(content);
        resetFakePlatform();
        fakePlatform.messages[kErrorAdaptersRead] = "adapters unreadable";
        if (content[0] == '<')
            writeGzipFile(path, content);
        else
            writePlainFile(path, content);
        const std::string asItWas = readPlainFile(path);
        EXPECT_FALSE(loadWatchedAdapters());
        EXPECT_EQ(AppError, uint32_t(kErrorAdaptersRead));
        EXPECT_EQ(std::string(MessageArguments.text2), path + ".damaged");
        EXPECT_EQ(readPlainFile(path + ".damaged"), asItWas);
        EXPECT_EQ(watchedAdapters.count, 0u);
        // Watching stays off after the next start, without a second report.
        AppError = kNothingPending;
        EXPECT_TRUE(loadWatchedAdapters());
        EXPECT_EQ(watchedAdapters.count, 0u);
    }
}

TEST_F(WatcherTest, EveryAdapterThePageTicksReadsBack)
{
    // 64 ticked adapters (the most the list keeps), ids of 63 characters, names as long as the
    // system gives them (256 characters), empty and with characters a tag line cannot hold.
    for (uint32_t i = 0; i < kMaxWatchedAdapters; ++i) {
        std::string id(63, char('A' + i % 26));
        id[0] = '>';
        id[1] = char('0' + i / 26);
        std::string name = i == 0 ? std::string() : i == 1 ? "Wi-Fi <5G>\t" : std::string(256, 'n');
        ASSERT_TRUE(watchAdapter(id.c_str(), name.c_str()));
    }
    const WatchedAdapterList stored = watchedAdapters;
    ASSERT_TRUE(saveWatchedAdapters());
    ASSERT_TRUE(loadWatchedAdapters());
    EXPECT_EQ(AppError, kNothingPending);
    ASSERT_EQ(watchedAdapters.count, kMaxWatchedAdapters);
    for (uint32_t i = 0; i < kMaxWatchedAdapters; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(watchedAdapters.adapters[i].id, stored.adapters[i].id);
        // A name is only shown: the file keeps as much of it as a tag line holds.
        EXPECT_EQ(std::string(watchedAdapters.adapters[i].name), std::string(stored.adapters[i].name).substr(0, 255));
    }
    EXPECT_STREQ(watchedAdapters.adapters[1].name, "Wi-Fi ?5G>?");
}

} // namespace
