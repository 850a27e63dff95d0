#include <cstring>
#include <string>

#include "meter/ticks.h"
#include "monitor/watcher.h"
#include "monitorfixture.h"
#include "support.h"
#include "tariff/rates.h"

namespace {

class TickRulesTest : public MonitorTest {
protected:
    void SetUp() override
    {
        MonitorTest::SetUp();
        // One connection, up since 23:00 on Friday 31 October 2003 with 5000 bytes in, 1000 out.
        LiveConnection& connection = liveConnections.records[0];
        connection.handle = 7;
        strcpy(connection.entryName, "Provider");
        strcpy(connection.ipAddress, "10.0.0.1");
        connection.sliceStart = { 2003, 10, 5, 31, 23, 0, 0, 0 };
        connection.sliceStartMs = monotonicAt(connection.sliceStart);
        connection.bytesReceived = 5000;
        connection.bytesSent = 1000;
        connection.packetsReceived = 10;
        connection.packetsSent = 5;
        connection.lastInOctets = 123456;
        liveConnections.count = 1;
    }
    void TearDown() override
    {
        freeTariffs();
        MonitorTest::TearDown();
    }
    // A tariff whose main period is 08:00 to 18:00 on every day.
    static void makeDaytimeTariff()
    {
        Rate* rate = new Rate {};
        strcpy(rate->name, "Daytime");
        rate->ltimeb = 8 * 3600;
        rate->ltimee = 18 * 3600;
        rate->unit = 0;
        TariffTable[0] = rate;
        settings.activeTariff = 0;
    }
    static void startSliceAt(const LocalTime& start)
    {
        liveConnections.records[0].sliceStart = start;
        liveConnections.records[0].sliceStartMs = monotonicAt(start);
    }
    static std::string monthFile(const char* name) { return readGzipFile(scratchDirectory() + name); }
    static void expectNewSliceAt(const LocalTime& now)
    {
        const LiveConnection& connection = liveConnections.records[0];
        EXPECT_EQ(memcmp(&connection.sliceStart, &now, sizeof now), 0);
        EXPECT_EQ(connection.bytesReceived, 0u);
        EXPECT_EQ(connection.bytesSent, 0u);
        EXPECT_EQ(connection.packetsReceived, 0u);
        EXPECT_EQ(connection.lastInOctets, 123456u); // counting goes on without a gap
    }
};

TEST_F(TickRulesTest, FirstTickOfAMonthLogsIntoThePreviousMonthAndStartsNewSlices)
{
    const LocalTime lastTick = { 2003, 10, 5, 31, 23, 59, 59, 600 };
    const LocalTime now = { 2003, 11, 6, 1, 0, 0, 0, 0 };
    fakePlatform.now = now;
    const TickDecision decision = applyTickRules(lastTick, now);
    EXPECT_TRUE(decision.monthChanged);

    // 23:00 is 82800 s after midnight; the slice lasted one hour.
    EXPECT_EQ(monthFile("log_200310.zip"),
        "<log>\r\n\t<day>31</day>\r\n\t<time>82800</time>\r\n\t<dur>3600</dur>\r\n\t<rx>5000</rx>\r\n"
        "\t<rxp>10</rxp>\r\n\t<tx>1000</tx>\r\n\t<txp>5</txp>\r\n</log>\r\n");
    EXPECT_FALSE(fileExists(scratchDirectory() + "log_200311.zip"));
    expectNewSliceAt(now);
    // The new month starts with empty sums.
    EXPECT_EQ(currentMonth.records.head, nullptr);
    EXPECT_EQ(currentMonth.volume[0], 0);
}

// Records in a month file, counted by their opening lines.
size_t recordsIn(const std::string& path)
{
    const std::string text = readGzipFile(path);
    size_t count = 0;
    for (size_t at = text.find("<log>"); at != std::string::npos; at = text.find("<log>", at + 1))
        ++count;
    return count;
}

TEST_F(TickRulesTest, AClockSetBackAMonthAndForwardAgainKeepsEveryRecordOfBothMonths)
{
    const std::string september = scratchDirectory() + "log_200309.zip";
    const std::string october = scratchDirectory() + "log_200310.zip";
    writeGzipFile(september, logBlock(2, 0, 60, 1, 1, 1, 1));
    writeGzipFile(
        october, logBlock(1, 0, 60, 1, 1, 1, 1) + logBlock(2, 0, 60, 1, 1, 1, 1) + logBlock(3, 0, 60, 1, 1, 1, 1));
    const LocalTime octoberTick = { 2003, 10, 0, 12, 10, 30, 0, 0 };
    fakePlatform.now = octoberTick;
    ASSERT_TRUE(loadMonth(0));
    startSliceAt({ 2003, 10, 0, 12, 10, 0, 0, 0 });

    // A time synchronisation sets the clock back into September, and forward again.
    const LocalTime septemberTick = { 2003, 9, 2, 30, 23, 0, 0, 0 };
    fakePlatform.now = septemberTick;
    EXPECT_TRUE(applyTickRules(octoberTick, septemberTick).monthChanged);
    EXPECT_EQ(recordsIn(october), 4u);
    EXPECT_EQ(currentMonth.key, 2003u * 65536 + 9);
    const LocalTime backInOctober = { 2003, 10, 0, 12, 10, 40, 0, 0 };
    fakePlatform.now = backInOctober;
    EXPECT_TRUE(applyTickRules(septemberTick, backInOctober).monthChanged);
    EXPECT_EQ(recordsIn(september), 2u);

    // The connection ends: its last slice joins the October records read back from the file.
    ASSERT_TRUE(logSlice(liveConnections.records[0]));
    EXPECT_EQ(recordsIn(october), 5u);
    EXPECT_EQ(recordsIn(september), 2u);
    EXPECT_TRUE(fakePlatform.boxes.empty());
}

TEST_F(TickRulesTest, ATariffSwitchBetweenMidnightAndTheNextTickKeepsTheOldMonthsFile)
{
    const std::string october = scratchDirectory() + "log_200310.zip";
    writeGzipFile(october, logBlock(1, 0, 60, 1, 1, 1, 1) + logBlock(2, 0, 60, 1, 1, 1, 1));
    const LocalTime lastTick = { 2003, 10, 5, 31, 23, 59, 59, 800 };
    fakePlatform.now = lastTick;
    ASSERT_TRUE(loadMonth(0));

    // The tariff menu re-prices the month it holds, not the month the clock has just entered.
    fakePlatform.now = { 2003, 11, 6, 1, 0, 0, 0, 100 };
    ASSERT_TRUE(reloadStatistics());
    EXPECT_EQ(currentMonth.key, 2003u * 65536 + 10);
    const LocalTime now = { 2003, 11, 6, 1, 0, 0, 0, 300 };
    fakePlatform.now = now;
    EXPECT_TRUE(applyTickRules(lastTick, now).monthChanged);
    EXPECT_EQ(recordsIn(october), 3u);
    EXPECT_FALSE(fileExists(scratchDirectory() + "log_200311.zip"));
}

TEST_F(TickRulesTest, APeriodChangeCutsTheSlices)
{
    makeDaytimeTariff();
    startSliceAt({ 2003, 10, 1, 6, 17, 30, 0, 0 });
    const LocalTime lastTick = { 2003, 10, 1, 6, 17, 59, 59, 700 };
    const LocalTime now = { 2003, 10, 1, 6, 18, 0, 0, 200 };
    fakePlatform.now = now;
    const TickDecision decision = applyTickRules(lastTick, now);
    EXPECT_FALSE(decision.monthChanged);
    EXPECT_TRUE(decision.periodChanged);
    // 17:30 is 63000 s; 30 minutes up to the cut.
    EXPECT_EQ(monthFile("log_200310.zip"),
        "<log>\r\n\t<day>6</day>\r\n\t<time>63000</time>\r\n\t<dur>1800</dur>\r\n\t<rx>5000</rx>\r\n"
        "\t<rxp>10</rxp>\r\n\t<tx>1000</tx>\r\n\t<txp>5</txp>\r\n</log>\r\n");
    expectNewSliceAt(now);
    ASSERT_NE(currentMonth.records.head, nullptr); // the month goes on with its record
    EXPECT_EQ(currentMonth.volume[6], 6000);
}

TEST_F(TickRulesTest, MidnightWithoutAPeriodChangeCutsNothing)
{
    makeDaytimeTariff(); // 23:59 and 00:00 both lie outside 08:00..18:00
    const LocalTime slice = { 2003, 10, 0, 5, 22, 0, 0, 0 };
    startSliceAt(slice);
    const LocalTime lastTick = { 2003, 10, 0, 5, 23, 59, 59, 800 };
    const LocalTime now = { 2003, 10, 1, 6, 0, 0, 0, 300 };
    fakePlatform.now = now;
    const TickDecision decision = applyTickRules(lastTick, now);
    EXPECT_FALSE(decision.closeSlices());
    EXPECT_FALSE(fileExists(scratchDirectory() + "log_200310.zip"));
    EXPECT_EQ(memcmp(&liveConnections.records[0].sliceStart, &slice, sizeof slice), 0);
    EXPECT_EQ(liveConnections.records[0].bytesReceived, 5000u);
}

TEST_F(TickRulesTest, SleepIsNoTimeOnline)
{
    const LocalTime start = { 2003, 10, 1, 6, 10, 0, 0, 0 };
    fakePlatform.now = start;
    startSliceAt(start);
    advanceClock(600);
    const LocalTime asleep = fakePlatform.now;
    suspendSlices(asleep); // the machine goes to sleep

    // Three days later it wakes up; the counters read then are a fresh baseline.
    advanceClock(3 * 86400);
    applyResume(asleep, fakePlatform.now);
    LiveConnection& connection = liveConnections.records[0];
    EXPECT_EQ(connection.lastInPackets, kNoReadingYet);
    EXPECT_EQ(connection.sliceStart.day, 9);
    // Windows tells the same wake-up again once the user is back: 8 MB counted in between stay.
    advanceClock(20);
    connection.bytesSent = 8000000;
    applyResume(asleep, fakePlatform.now);
    advanceClock(40);
    ASSERT_TRUE(logSlice(connection));
    // 10:00 on the 6th for 600 s, 10:10 on the 9th for 60 s: nothing of the 3 days asleep.
    EXPECT_EQ(monthFile("log_200310.zip"),
        logBlock(6, 36000, 600, 5000, 10, 1000, 5) + logBlock(9, 36600, 60, 0, 0, 8000000, 0));

    // Asleep across the month's end: November is read when the machine wakes, nothing is logged.
    const LocalTime beforeMidnight = { 2003, 10, 5, 31, 23, 50, 0, 0 };
    fakePlatform.now = beforeMidnight;
    suspendSlices(beforeMidnight);
    fakePlatform.now = { 2003, 11, 0, 2, 8, 0, 0, 0 };
    applyResume(beforeMidnight, fakePlatform.now);
    EXPECT_EQ(currentMonth.key, 2003u * 65536 + 11);
    EXPECT_FALSE(fileExists(scratchDirectory() + "log_200311.zip"));
}

TEST_F(TickRulesTest, AClockChangeMovesTheDateOfASliceNeverItsLength)
{
    // Up since 10:00; an hour later the clock is set back an hour, and an hour after that the
    // slice has lasted two hours.
    const LocalTime start = { 2003, 10, 1, 6, 10, 0, 0, 0 };
    fakePlatform.now = start;
    startSliceAt(start);
    advanceClock(3600);
    setWallClock(start);
    EXPECT_FALSE(applyTickRules({ 2003, 10, 1, 6, 11, 0, 0, 0 }, start).closeSlices());
    advanceClock(3600);
    LogRecord record {};
    ASSERT_TRUE(recordFromSlice(&record, &liveConnections.records[0]));
    EXPECT_EQ(record.dur, 7200u);

    // Set forward by five hours after half an hour: half an hour it is.
    startSliceAt(fakePlatform.now);
    advanceClock(1800);
    setWallClock(localTimeFromSeconds(secondsSinceEpoch(fakePlatform.now) + 5 * 3600));
    ASSERT_TRUE(recordFromSlice(&record, &liveConnections.records[0]));
    EXPECT_EQ(record.dur, 1800u);

    // Set forward into the next month: the slice is cut and logged under its own month with
    // the time it really lasted.
    setWallClock({ 2003, 11, 0, 2, 9, 0, 0, 0 });
    EXPECT_TRUE(applyTickRules({ 2003, 10, 1, 6, 11, 30, 0, 0 }, fakePlatform.now).monthChanged);
    EXPECT_EQ(monthFile("log_200310.zip"), logBlock(6, 39600, 1800, 5000, 10, 1000, 5));
}

// What a tick redraws and tells, from what it found changed since the tick before.
TEST(TickWork, OnlyWhatMovedIsRedrawnAndTold)
{
    // Friday 31 October 2003, main period, one connection that has moved 5000 bytes in 30 s;
    // the month has logged 1000 bytes in 60 s.
    const ShownFigures online = { 2003u * 65536 * 256 + 10 * 256 + 31, false, 1, 1000, 60, 5000, 30 };
    ShownFigures offline = online;
    offline.connections = 0;
    offline.liveVolume = offline.liveSeconds = 0;
    constexpr uint32_t kEverything = kRedrawWindow | kUpdateTrayTip | kCheckAlerts;
    constexpr uint32_t kUsage = kRedrawSummary | kRedrawStatusLine | kUpdateTrayTip | kCheckAlerts;
    const auto changed = [](ShownFigures figures, auto change) {
        change(figures);
        return figures;
    };
    const struct {
        const char* what;
        ShownFigures before, now;
        bool refreshAll;
        uint32_t work;
    } cases[] = {
        { "offline, nothing changed", offline, offline, false, 0 },
        { "offline, a setting changed", offline, offline, true, kEverything },
        { "offline, midnight", offline, changed(offline, [](auto& f) { f.date += 1; }), false, kEverything },
        { "offline, the period changed", offline, changed(offline, [](auto& f) { f.secondaryPeriod = true; }), false,
            kEverything },
        { "a connection came up", offline, changed(online, [](auto& f) { f.liveVolume = f.liveSeconds = 0; }), false,
            kEverything },
        { "online, nothing moved: the graph takes its sample", online, online, false, kRedrawLiveGraph },
        { "online, bytes moved", online, changed(online, [](auto& f) { f.liveVolume += 1; }), false,
            kRedrawLiveGraph | kRedrawVolumeChart | kUsage },
        { "online, a second passed", online, changed(online, [](auto& f) { f.liveSeconds += 1; }), false,
            kRedrawLiveGraph | kRedrawTimeChart | kUsage },
        { "online, both moved", online,
            changed(online,
                [](auto& f) {
                    f.liveVolume += 1500;
                    f.liveSeconds += 1;
                }),
            false, kRedrawLiveGraph | kRedrawVolumeChart | kRedrawTimeChart | kUsage },
        // A cut logs the running slice and starts the next one: the list and the bars change.
        { "online, the slice was logged", online,
            changed(online,
                [](auto& f) {
                    f.loggedVolume += f.liveVolume;
                    f.loggedSeconds += f.liveSeconds;
                    f.liveVolume = f.liveSeconds = 0;
                }),
            false, kEverything },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(decideTickWork(c.before, c.now, c.refreshAll), c.work);
    }
}

// How long the timer rests offline: until just after midnight or the next edge of the tariff's
// periods, an hour at most, the adapters' look where they are polled; not at all while anything
// is counted or waits to be written.
TEST(TickWork, TheTimerRestsOfflineUntilTheDateOrThePeriodChanges)
{
    const struct {
        const char* what;
        LocalTime now;
        TickNeeds needs;
        uint32_t restMs;
    } cases[] = {
        { "a connection runs", { 2003, 10, 5, 31, 23, 59, 59, 0 }, { true, false, false, 0, {} }, 0 },
        { "a month log waits", { 2003, 10, 5, 31, 12, 0, 0, 0 }, { false, true, false, 0, {} }, 0 },
        { "noon: an hour", { 2003, 10, 5, 31, 12, 0, 0, 0 }, { false, false, false, 0, {} }, 3600000 },
        // 30 minutes to midnight and half a second past it.
        { "23:30", { 2003, 10, 5, 31, 23, 30, 0, 0 }, { false, false, false, 0, {} }, 1800500 },
        { "23:59:59", { 2003, 10, 5, 31, 23, 59, 59, 0 }, { false, false, false, 0, {} }, 1500 },
        { "23:59:59.900: a second at least", { 2003, 10, 5, 31, 23, 59, 59, 900 }, { false, false, false, 0, {} },
            1000 },
        { "adapters polled at noon", { 2003, 10, 5, 31, 12, 0, 0, 0 }, { false, false, true, 0, {} }, 3000 },
        { "adapters polled at 23:59:59", { 2003, 10, 5, 31, 23, 59, 59, 0 }, { false, false, true, 0, {} }, 1500 },
        // A main period from 8:00 to 18:00: the rest ends just after the next edge.
        { "17:30, the period ends at 18:00", { 2003, 10, 5, 31, 17, 30, 0, 0 },
            { false, false, false, 2, { 28800, 64800 } }, 1800500 },
        { "7:59:58, it begins at 8:00", { 2003, 10, 5, 31, 7, 59, 58, 0 }, { false, false, false, 2, { 28800, 64800 } },
            2500 },
        { "18:00 itself: the edge has passed", { 2003, 10, 5, 31, 18, 0, 0, 0 },
            { false, false, false, 2, { 28800, 64800 } }, 3600000 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(tickRestMs(c.now, c.needs), c.restMs);
    }
}

} // namespace
