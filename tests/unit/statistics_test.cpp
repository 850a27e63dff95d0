#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "log/statistics.h"
#include "meter/alertrules.h"
#include "meter/billingperiod.h"
#include "meter/monthtotals.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "support.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kSeptember2003 = 2003 * 65536 + 9;
constexpr uint32_t kOctober2003 = 2003 * 65536 + 10;

std::string block(unsigned day, unsigned time, unsigned dur, unsigned rx, unsigned tx)
{
    return logBlock(day, time, dur, rx, 1, tx, 1);
}

class Statistics : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetSettings();
        freeTariffs();
        clearMonthCache();
        setRunningSliceSource(runningSliceRecord);
        memset(&liveConnections, 0, sizeof liveConnections);
        october = std::string(programDirectory) + "log_200310.zip";
        november = std::string(programDirectory) + "log_200311.zip";
        fakePlatform.now = LocalTime { 2003, 10, 0, 12, 22, 10, 0, 0 }; // Sunday 12 October, 22:10
    }
    void TearDown() override
    {
        clearMonthCache();
        freeTariffs();
        memset(&liveConnections, 0, sizeof liveConnections);
    }

    static LiveConnection& addConnection(LocalTime start, uint32_t received, uint32_t sent)
    {
        LiveConnection& connection = liveConnections.records[liveConnections.count++];
        connection.sliceStart = start;
        connection.sliceStartMs = monotonicAt(start);
        connection.bytesReceived = received;
        connection.bytesSent = sent;
        return connection;
    }

    // Minutes, 60 free, 0.05 a minute, one period all week.
    static void useMinuteTariff()
    {
        Rate* rate = new Rate {};
        rate->unit = 4;
        rate->amount[0] = 60;
        rate->amount[2] = 1000;
        rate->cost[1] = 0.05;
        TariffTable[0] = rate;
        settings.activeTariff = 0;
    }

    std::string october;
    std::string november;
};

const LocalTime k2200On12th { 2003, 10, 0, 12, 22, 0, 0, 0 };
const LocalTime k2110On12th { 2003, 10, 0, 12, 21, 10, 0, 0 };

TEST_F(Statistics, WithoutRunningConnectionsKeyZeroIsTheCurrentMonth)
{
    useMinuteTariff();
    writeGzipFile(october, block(5, 50600, 4000, 120000, 30000) + block(12, 3600, 60, 1, 2));
    ASSERT_TRUE(loadMonth(0));
    EXPECT_EQ(memcmp(monthVolume(0), currentMonth.volume, sizeof currentMonth.volume), 0);
    EXPECT_EQ(memcmp(monthOnlineTime(0), currentMonth.onlineTime, sizeof currentMonth.onlineTime), 0);
    EXPECT_EQ(memcmp(monthCost(0), currentMonth.cost, sizeof currentMonth.cost), 0);
    EXPECT_EQ(memcmp(monthCounters(0), &currentMonth.counters, sizeof currentMonth.counters), 0);
    EXPECT_EQ(monthRecords(0), currentMonth.records.head);
    EXPECT_NEAR(currentMonth.cost[0], (4000 + 60 - 3600) / 60.0 * 0.05, 1e-9);
}

TEST_F(Statistics, RunningConnectionsAreAddedToSnapshotsOnly)
{
    useMinuteTariff();
    writeGzipFile(october, block(5, 50600, 1800, 120000, 30000));
    ASSERT_TRUE(loadMonth(0));
    addConnection(k2200On12th, 2000000, 500000);

    const int64_t* volume = monthVolume(0);
    EXPECT_EQ(volume[0], 150000 + 2500000);
    EXPECT_EQ(volume[12], 2500000);
    EXPECT_EQ(volume[5], 150000);
    const int64_t* online = monthOnlineTime(0);
    EXPECT_EQ(online[0], 1800 + 600);
    EXPECT_EQ(online[12], 600);
    EXPECT_EQ(currentMonth.volume[0], 150000);
    EXPECT_EQ(currentMonth.volume[12], 0);
    EXPECT_EQ(currentMonth.onlineTime[0], 1800);

    // Priced after the logged half hour, in index order: a further 60 minutes crosses the
    // 60 free minutes at 90 (1.50), the 10 running minutes lie wholly above (0.50).
    liveConnections.records[0].sliceStart = k2110On12th;
    liveConnections.records[0].sliceStartMs = monotonicAt(k2110On12th);
    addConnection(k2200On12th, 0, 0);
    const double* cost = monthCost(0);
    EXPECT_NEAR(cost[0], 1.50 + 0.50, 1e-9);
    EXPECT_NEAR(cost[12], 1.50 + 0.50, 1e-9);
    EXPECT_EQ(cost[5], 0.0);
    EXPECT_EQ(currentMonth.cost[0], 0.0);
    EXPECT_EQ(monthCounters(0)->fromBillingDay.used[0], 1800 + 3600 + 600);
    EXPECT_EQ(currentMonth.counters.fromBillingDay.used[0], 1800);
    // Asked again, the snapshot starts from the current month, not from the last answer.
    EXPECT_NEAR(monthCost(0)[0], 2.0, 1e-9);
    EXPECT_EQ(monthRecords(0), currentMonth.records.head);
    EXPECT_EQ(currentMonth.records.head->next, nullptr);

    // Each direction of a slice stays below 4 GiB, their sum need not: 3 GiB + 1.5 GiB.
    liveConnections.records[1].bytesReceived = 3221225472u;
    liveConnections.records[1].bytesSent = 1610612736u;
    EXPECT_EQ(monthVolume(0)[12], 2500000 + 4831838208);
}

TEST_F(Statistics, HeldMonthIsReadOnceUntilAnotherMonthIsAsked)
{
    fakePlatform.now = LocalTime { 2003, 11, 3, 5, 12, 0, 0, 0 };
    writeGzipFile(october, block(5, 0, 100, 10, 10));
    ASSERT_NE(monthOnlineTime(kOctober2003), nullptr);
    EXPECT_EQ(monthOnlineTime(kOctober2003)[0], 100);
    EXPECT_EQ(heldMonthKey, kOctober2003);

    writeGzipFile(october, block(5, 0, 200, 10, 10));
    EXPECT_EQ(monthOnlineTime(kOctober2003)[0], 100);
    EXPECT_EQ(monthVolume(kOctober2003)[5], 20);
    EXPECT_EQ(monthRecords(kOctober2003)->dur, 100u);

    // A month without a file is held too, with nothing in it.
    EXPECT_EQ(monthRecords(kSeptember2003), nullptr);
    EXPECT_EQ(heldMonthKey, kSeptember2003);
    EXPECT_EQ(monthVolume(kSeptember2003)[0], 0);
    EXPECT_EQ(monthCost(kSeptember2003)[0], 0.0);
    EXPECT_EQ(monthCounters(kSeptember2003)->fromBillingDay.used[0], 0);

    EXPECT_EQ(monthOnlineTime(kOctober2003)[0], 200);
}

TEST_F(Statistics, ClearingTheCacheEmptiesEverythingAndForgetsTheHeldMonth)
{
    fakePlatform.now = LocalTime { 2003, 11, 3, 5, 12, 0, 0, 0 };
    useMinuteTariff();
    writeGzipFile(october, block(5, 0, 7200, 10, 10));
    writeGzipFile(november, block(1, 0, 7200, 10, 10));
    ASSERT_TRUE(loadMonth(0));
    ASSERT_NE(monthCost(kOctober2003), nullptr);
    ASSERT_NE(monthCost(0), nullptr);

    clearMonthCache();
    MonthStats empty {};
    EXPECT_EQ(memcmp(&currentMonth, &empty, sizeof empty), 0);
    EXPECT_EQ(memcmp(&heldMonth, &empty, sizeof empty), 0);
    EXPECT_EQ(heldMonthKey, 0u);
    EXPECT_EQ(monthCost(0)[0], 0.0);
    EXPECT_EQ(monthCounters(0)->fromBillingDay.used[0], 0);

    writeGzipFile(october, block(5, 0, 60, 10, 10));
    EXPECT_EQ(monthOnlineTime(kOctober2003)[0], 60);
}

TEST_F(Statistics, TheTrayTipShowsTheCurrentMonthWithItsMonthlyFixedAmount)
{
    useMinuteTariff();
    TariffTable[0]->cost[0] = 4.95;
    writeGzipFile(std::string(programDirectory) + "log_200309.zip", block(3, 0, 36000, 9000000, 9000000));
    writeGzipFile(october, block(5, 50600, 4200, 120000, 30000));
    ASSERT_TRUE(loadMonth(0));
    addConnection(k2200On12th, 2000000, 500000);
    // The window shows September.
    ASSERT_NE(monthCost(kSeptember2003), nullptr);

    TrayTipFigures figures {};
    ASSERT_TRUE(trayTipFigures(figures));
    EXPECT_EQ(figures.volume, 150000 + 2500000);
    EXPECT_EQ(figures.onlineSeconds, 4200u + 600);
    // 70 logged minutes, 10 of them beyond the 60 free ones, and 10 running minutes, at 0.05;
    // and the monthly 4.95.
    EXPECT_NEAR(figures.cost, 20 * 0.05 + 4.95, 1e-9);
}

TEST_F(Statistics, TrafficSumsCorrectReceivedAndSentApart)
{
    settings.volumeCorrection = 500;
    fakePlatform.now = LocalTime { 2003, 11, 3, 5, 12, 0, 0, 0 };
    writeGzipFile(october, block(5, 0, 100, 1000000, 2000) + block(6, 0, 50, 3000000000u, 3000000000u));

    TrafficTotals totals { kOctober2003, -1, -1, 99 };
    ASSERT_TRUE(monthTraffic(totals));
    EXPECT_EQ(totals.received, 950000 + 2850000000);
    EXPECT_EQ(totals.sent, 1900 + 2850000000);
    EXPECT_EQ(totals.onlineSeconds, 150u);
    EXPECT_EQ(heldMonthKey, kOctober2003);

    writeGzipFile(november, block(1, 0, 30, 20000, 40000));
    ASSERT_TRUE(loadMonth(0));
    addConnection(LocalTime { 2003, 11, 3, 5, 11, 0, 0, 0 }, 100000, 200);
    addConnection(LocalTime { 2003, 11, 3, 5, 11, 59, 0, 0 }, 1000, 0);
    totals = TrafficTotals { 0, -1, -1, 99 };
    ASSERT_TRUE(monthTraffic(totals));
    EXPECT_EQ(totals.received, 19000 + 95000 + 950);
    EXPECT_EQ(totals.sent, 38000 + 190);
    EXPECT_EQ(totals.onlineSeconds, 30u + 3600 + 60);

    struct Case {
        int32_t index;
        int64_t received, sent;
        uint32_t seconds;
    } cases[]
        = { { -1, 95950, 190, 3660 }, { 0, 95000, 190, 3600 }, { 1, 950, 0, 60 }, { 2, 0, 0, 0 }, { 16, 0, 0, 0 } };
    for (const Case& c : cases) {
        TrafficTotals live { 0, -1, -1, 99 };
        liveTraffic(live, c.index);
        EXPECT_EQ(live.received, c.received) << c.index;
        EXPECT_EQ(live.sent, c.sent) << c.index;
        EXPECT_EQ(live.onlineSeconds, c.seconds) << c.index;
    }
}

TEST_F(Statistics, AccountedSlicesGiveTheSameSumsAsReadingTheFile)
{
    useMinuteTariff();
    settings.volumeCorrection = 250;
    ASSERT_TRUE(loadMonth(0));
    const LogRecord slices[] = {
        { nullptr, 100000, 1, 5000, 1, { 2003, 10, 3, 1, 9, 0, 0, 0 }, 1800 },
        { nullptr, 3000000000u, 1, 2000000000u, 1, { 2003, 10, 6, 4, 23, 50, 0, 0 }, 3600 },
        { nullptr, 7, 1, 7, 1, { 2003, 10, 0, 12, 8, 0, 0, 0 }, 600 },
    };
    for (const LogRecord& slice : slices) {
        // What logging a slice does: account, append, write the month.
        LogRecord* record = new LogRecord(slice);
        accountSlice(*record);
        appendMonthRecord(currentMonth, record);
        ASSERT_TRUE(writeMonthLog(currentMonth));
    }
    EXPECT_NEAR(currentMonth.cost[0], (90 - 60) * 0.05 + 10 * 0.05, 1e-9);
    EXPECT_EQ(currentMonth.volume[4], int64_t(5000000000 * 0.975));
    const MonthStats accounted = currentMonth;

    ASSERT_TRUE(reloadStatistics());
    EXPECT_EQ(memcmp(currentMonth.volume, accounted.volume, sizeof accounted.volume), 0);
    EXPECT_EQ(memcmp(currentMonth.onlineTime, accounted.onlineTime, sizeof accounted.onlineTime), 0);
    for (int day = 0; day < kMonthSlots; ++day)
        EXPECT_DOUBLE_EQ(currentMonth.cost[day], accounted.cost[day]) << day;
    EXPECT_EQ(currentMonth.counters.fromBillingDay.used[0], accounted.counters.fromBillingDay.used[0]);
    EXPECT_EQ(currentMonth.counters.fromBillingDay.used[1], accounted.counters.fromBillingDay.used[1]);
}

TEST_F(Statistics, ReloadRepricesBothMonths)
{
    fakePlatform.now = LocalTime { 2003, 11, 3, 5, 12, 0, 0, 0 };
    writeGzipFile(october, block(5, 0, 7200, 10, 10));
    writeGzipFile(november, block(1, 0, 3600, 10, 10));
    ASSERT_TRUE(loadMonth(0));
    EXPECT_EQ(monthCost(kOctober2003)[0], 0.0);
    EXPECT_EQ(currentMonth.cost[0], 0.0);

    useMinuteTariff();
    ASSERT_TRUE(reloadStatistics());
    EXPECT_EQ(heldMonthKey, kOctober2003);
    EXPECT_NEAR(heldMonth.cost[0], 60 * 0.05, 1e-9);
    EXPECT_NEAR(currentMonth.cost[0], 0.0, 1e-12);
    EXPECT_NEAR(monthCost(kOctober2003)[5], 3.0, 1e-9);
}

TEST_F(Statistics, ARecordThatCannotBeWrittenStaysUntilItsMonthIsWritten)
{
    useMinuteTariff();
    writeGzipFile(october, block(1, 0, 600, 10, 10));
    ASSERT_TRUE(loadMonth(0));
    // The temporary file cannot be made where a folder of that name stands.
    std::filesystem::create_directory(october + ".tmp");
    EXPECT_FALSE(logRecord(new LogRecord { nullptr, 5, 1, 5, 1, k2110On12th, 3600 }));
    EXPECT_EQ(AppError, kErrorMonthLogCreate);
    EXPECT_TRUE(currentMonth.unsaved);

    // The month changes while the disk still refuses: the records stay in memory, and a
    // look at October is answered from them, priced like any other.
    fakePlatform.now = LocalTime { 2003, 11, 6, 1, 0, 0, 0, 0 };
    ASSERT_TRUE(startCurrentMonth());
    EXPECT_EQ(currentMonth.key, 2003u * 65536 + 11);
    ASSERT_NE(monthCost(kOctober2003), nullptr);
    EXPECT_NEAR(monthCost(kOctober2003)[0], (70 - 60) * 0.05, 1e-9);
    EXPECT_FALSE(saveUnsavedMonths());
    EXPECT_EQ(AppError, kErrorMonthLogCreate);

    // Once the file can be written, both records reach it.
    std::filesystem::remove(october + ".tmp");
    EXPECT_TRUE(saveUnsavedMonths());
    EXPECT_EQ(readGzipFile(october), block(1, 0, 600, 10, 10) + block(12, 76200, 3600, 5, 5));
    EXPECT_TRUE(saveUnsavedMonths());
}

// Free units counted from the 15th: a period runs from 15 September to 14 October, and the
// usage before the 15th of October goes on with what September used from its 15th on.
TEST_F(Statistics, TheBillingPeriodReadsTheMonthBeforeAndItsFreeUnitsCrossTheMonthsEnd)
{
    useMinuteTariff();
    Rate& rate = *TariffTable[0];
    rate.billingDay = 15;
    rate.cost[0] = 4.95;
    // 10 September: 30 minutes of the period that ended on the 14th; 20 September: 40 minutes.
    writeGzipFile(std::string(programDirectory) + "log_200309.zip",
        block(10, 36000, 1800, 1000, 1000) + block(20, 36000, 2400, 2000, 2000));
    // 5 October: 30 minutes, 70 of the period with September's 40: 10 beyond the free 60.
    writeGzipFile(october, block(5, 36000, 1800, 3000, 3000));
    ASSERT_TRUE(loadMonth(0));
    EXPECT_EQ(currentMonth.carried.counters.used[0], 2400);
    EXPECT_EQ(currentMonth.carried.onlineTime, 2400);
    EXPECT_EQ(currentMonth.carried.volume, 4000);
    EXPECT_NEAR(currentMonth.cost[5], 10 * 0.05, 1e-9);
    EXPECT_NEAR(currentMonth.cost[0], 10 * 0.05, 1e-9); // the chart stays by calendar month

    // Sunday 12 October 22:10, online since 22:00: ten more minutes, all beyond the free units.
    addConnection(k2200On12th, 500, 500);
    BillingPeriod period;
    ASSERT_TRUE(billingPeriodOf(0, fakePlatform.now, period));
    EXPECT_EQ(period.key, kSeptember2003);
    EXPECT_EQ(period.first.month, 9);
    EXPECT_EQ(period.first.day, 15);
    EXPECT_EQ(period.last.month, 10);
    EXPECT_EQ(period.last.day, 14);
    EXPECT_EQ(period.used.used[0], 2400 + 1800 + 600);
    EXPECT_NEAR(period.usageCost, 20 * 0.05, 1e-9);
    EXPECT_EQ(period.onlineTime, 2400 + 1800 + 600);
    EXPECT_EQ(period.volume, 4000 + 6000 + 1000);
    EXPECT_EQ(period.daysLeft, 3); // the 12th, 13th and 14th

    // The tray tip and the alerts count the same period; the alerts fire once for it.
    TrayTipFigures tip {};
    ASSERT_TRUE(trayTipFigures(tip));
    EXPECT_EQ(tip.onlineSeconds, 4800u);
    EXPECT_NEAR(tip.cost, 1.0 + 4.95, 1e-9);
    const AlertFigures alerts = currentAlertFigures();
    EXPECT_EQ(alerts.monthKey, kSeptember2003);
    EXPECT_EQ(alerts.usedUnits, 4800);
    EXPECT_EQ(alerts.freeUnits, 3600);
    EXPECT_NEAR(alerts.monthCost, 1.0 + 4.95, 1e-9);

    // From the 15th a new period counts from zero: 20 minutes on the 16th are free.
    memset(&liveConnections, 0, sizeof liveConnections);
    fakePlatform.now = LocalTime { 2003, 10, 1, 20, 12, 0, 0, 0 };
    ASSERT_TRUE(logRecord(new LogRecord { nullptr, 5, 1, 5, 1, { 2003, 10, 4, 16, 9, 0, 0, 0 }, 1200 }));
    ASSERT_TRUE(billingPeriodOf(0, fakePlatform.now, period));
    EXPECT_EQ(period.key, kOctober2003);
    EXPECT_EQ(period.last.month, 11);
    EXPECT_EQ(period.last.day, 14);
    EXPECT_EQ(period.used.used[0], 1200);
    EXPECT_EQ(period.usageCost, 0.0);
    EXPECT_EQ(period.daysLeft, 12 + 14);
    EXPECT_EQ(currentAlertFigures().monthKey, kOctober2003);

    // A past month shows the period that ends in it: September's from 15 August, of which
    // only the 10th's 30 minutes are logged.
    ASSERT_TRUE(billingPeriodOf(kSeptember2003, fakePlatform.now, period));
    EXPECT_EQ(period.first.month, 8);
    EXPECT_EQ(period.used.used[0], 1800);
    EXPECT_EQ(period.daysLeft, 1);

    // Back to billing day 1: October is priced from its own 1st again, and nothing is carried.
    rate.billingDay = 1;
    ASSERT_TRUE(reloadStatistics());
    EXPECT_EQ(currentMonth.carried.counters.used[0], 0);
    EXPECT_EQ(currentMonth.cost[0], 0.0);
    ASSERT_TRUE(billingPeriodOf(0, fakePlatform.now, period));
    EXPECT_EQ(period.used.used[0], 1800 + 1200);
    EXPECT_EQ(period.daysLeft, 31 - 20 + 1);
}

TEST_F(Statistics, AMonthLogAnotherProgramHoldsIsTriedAgainAndAtExitSetAsideWhole)
{
    ASSERT_TRUE(loadMonth(0));
    const auto logAt = [](uint32_t minute) {
        return logRecord(
            new LogRecord { nullptr, minute, 1, 0, 1, { 2003, 10, 0, 12, 20, uint16_t(minute), 0, 0 }, 60 });
    };
    ASSERT_TRUE(logAt(1));
    ASSERT_TRUE(logAt(2));
    // A virus scanner opens the log: the new log cannot be moved over it.
    fakePlatform.heldFiles.insert(october);
    EXPECT_FALSE(logAt(3));
    EXPECT_EQ(AppError, kErrorMonthLogCreate);
    AppError = kNothingPending;

    // Tried again after 1 s, then after pauses of 2 s and 4 s, quietly.
    const uint32_t attempts = fakePlatform.replacements;
    const int waits[] = { 500, 500, 1000, 1000, 1000, 3000, 1000 };
    const uint32_t tried[] = { 0, 1, 1, 2, 2, 3, 3 };
    for (size_t i = 0; i < std::size(waits); ++i) {
        SCOPED_TRACE(i);
        fakePlatform.monotonicMs += uint64_t(waits[i]);
        retryUnsavedMonths();
        EXPECT_EQ(fakePlatform.replacements - attempts, tried[i]);
    }
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_FALSE(logAt(4));
    EXPECT_FALSE(logAt(5));

    // At exit the log is still held: the month goes whole into the pending file beside it.
    EXPECT_FALSE(saveUnsavedMonths());
    ASSERT_TRUE(setAsidePendingMonths());
    std::string five;
    for (unsigned minute = 1; minute <= 5; ++minute)
        five += block(12, 72000 + minute * 60, 60, minute, 0);
    EXPECT_EQ(readGzipFile(october + ".pending"), five);
    EXPECT_EQ(readGzipFile(october), block(12, 72060, 60, 1, 0) + block(12, 72120, 60, 2, 0));

    // The next start: still held, so the month is read from the pending file, and its next
    // write, once the log is free, takes everything in and leaves nothing pending.
    clearMonthCache();
    EXPECT_FALSE(takeInPendingMonth(kOctober2003));
    ASSERT_TRUE(loadMonth(0));
    EXPECT_EQ(currentMonth.onlineTime[0], 5 * 60);
    fakePlatform.heldFiles.clear();
    ASSERT_TRUE(logAt(6));
    EXPECT_EQ(readGzipFile(october), five + block(12, 72360, 60, 6, 0));
    EXPECT_FALSE(fileExists(october + ".pending"));

    // Set aside again and freed before the next start: the start moves it over the log.
    fakePlatform.heldFiles.insert(october);
    EXPECT_FALSE(logAt(7));
    ASSERT_TRUE(setAsidePendingMonths());
    clearMonthCache();
    fakePlatform.heldFiles.clear();
    EXPECT_TRUE(takeInPendingMonth(kOctober2003));
    EXPECT_FALSE(fileExists(october + ".pending"));
    EXPECT_EQ(readGzipFile(october), five + block(12, 72360, 60, 6, 0) + block(12, 72420, 60, 7, 0));
    EXPECT_TRUE(fakePlatform.boxes.empty());
}

} // namespace
