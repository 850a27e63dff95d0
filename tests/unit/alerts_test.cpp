#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "fakes/fakeremoteaccess.h"
#include "log/statistics.h"
#include "meter/alertrules.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "support.h"
#include "tariff/alerts.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kSeptember2003 = 2003 * 65536 + 9;
constexpr uint32_t kOctober2003 = 2003 * 65536 + 10;
constexpr uint32_t kNovember2003 = 2003 * 65536 + 11;
constexpr unsigned kFirstUsage = 1u << 0;
constexpr unsigned kSecondUsage = 1u << 1;
constexpr unsigned kMoney = 1u << kMoneyAlert;

class AlertsTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetFakeRemoteAccess();
        resetSettings();
        resetAlerts();
        freeTariffs();
        clearMonthCache();
        setRunningSliceSource(runningSliceRecord);
        memset(&liveConnections, 0, sizeof liveConnections);
        path = std::string(programDirectory) + "alerts.zip";
        fakePlatform.now = LocalTime { 2003, 10, 0, 12, 22, 10, 0, 0 }; // Sunday 12 October, 22:10
    }
    void TearDown() override
    {
        clearMonthCache();
        freeTariffs();
        memset(&liveConnections, 0, sizeof liveConnections);
    }

    // What a restart does to the alerts: they are read back from their file.
    static void restart()
    {
        ASSERT_TRUE(saveAlerts());
        resetAlerts();
        ASSERT_TRUE(loadAlerts());
    }

    // 100 MB of free units in a month of October.
    static AlertFigures usage(uint32_t month, int64_t usedMegabytes)
    {
        return AlertFigures { month, 100 * 1048576, usedMegabytes * 1048576, 0.0 };
    }

    std::string path;
};

TEST_F(AlertsTest, FileHoldsTheSettingsAndWhatFiredAndReadsBack)
{
    EXPECT_TRUE(loadAlerts()); // no file: the defaults
    EXPECT_TRUE(alerts.usageOn[0] && alerts.usageOn[1]);
    EXPECT_EQ(alerts.usagePercent[0], 80u);
    EXPECT_EQ(alerts.usagePercent[1], 100u);
    EXPECT_FALSE(alerts.limitOn || alerts.hangUp);

    alerts.usagePercent[0] = 75;
    alerts.usageOn[1] = false;
    alerts.limitOn = true;
    alerts.limit = 25.5;
    alerts.hangUp = true;
    alerts.fired[0] = { kOctober2003, 75 };
    alerts.fired[kMoneyAlert] = { kSeptember2003, 20.25 };
    ASSERT_TRUE(saveAlerts());
    EXPECT_EQ(readGzipFile(path),
        "<version>1</version>\r\n"
        "<usage1>75</usage1>\r\n<usage1on>1</usage1on>\r\n"
        "<usage1month>200310</usage1month>\r\n<usage1level>75</usage1level>\r\n"
        "<usage2>100</usage2>\r\n<usage2on>0</usage2on>\r\n"
        "<usage2month>0</usage2month>\r\n<usage2level>0</usage2level>\r\n"
        "<limit>25.500000</limit>\r\n<limiton>1</limiton>\r\n"
        "<limitmonth>200309</limitmonth>\r\n<limitlevel>20.250000</limitlevel>\r\n"
        "<hangup>1</hangup>\r\n");
    resetAlerts();
    ASSERT_TRUE(loadAlerts());
    EXPECT_EQ(alerts.usagePercent[0], 75u);
    EXPECT_TRUE(alerts.usageOn[0]);
    EXPECT_FALSE(alerts.usageOn[1]);
    EXPECT_TRUE(alerts.limitOn && alerts.hangUp);
    EXPECT_EQ(alerts.limit, 25.5);
    EXPECT_EQ(alerts.fired[0].monthKey, kOctober2003);
    EXPECT_EQ(alerts.fired[0].level, 75);
    EXPECT_EQ(alerts.fired[1].monthKey, 0u);
    EXPECT_EQ(alerts.fired[kMoneyAlert].monthKey, kSeptember2003);
    EXPECT_EQ(alerts.fired[kMoneyAlert].level, 20.25);
}

TEST_F(AlertsTest, DamagedFileIsReportedKeptAndTurnsEveryAlertOffOnce)
{
    const std::string damaged[] = {
        "not gzip at all", // written as plain text
        "<version>1</version>\r\n<usage1>101</usage1>\r\n", // a share beyond 100 %
        "<version>1</version>\r\n<limit>-5</limit>\r\n", // a negative limit
        "<version>1</version>\r\n<usage1month>200313</usage1month>\r\n", // no such month
        "<version>1</version>\r\n<colour>red</colour>\r\n", // a tag the file does not hold
        "<version>1</version>\r\n<hangup>1\r\n", // not closed on its line
    };
    for (const std::string& content : damaged) {
        SCOPED_TRACE(content);
        resetFakePlatform();
        if (content[0] == '<')
            writeGzipFile(path, "<usage2on>1</usage2on>\r\n<limiton>1</limiton>\r\n" + content);
        else
            writePlainFile(path, content);
        const std::string asItWas = readPlainFile(path);
        EXPECT_FALSE(loadAlerts());
        EXPECT_EQ(AppError, uint32_t(kErrorAlertsRead));
        EXPECT_EQ(std::string(MessageArguments.text1), path);
        EXPECT_EQ(std::string(MessageArguments.text2), path + ".damaged");
        EXPECT_EQ(readPlainFile(path + ".damaged"), asItWas);
        EXPECT_FALSE(alerts.usageOn[0] || alerts.usageOn[1] || alerts.limitOn || alerts.hangUp);
        // The alerts stay off after the next start, without a second report.
        AppError = kNothingPending;
        resetAlerts();
        EXPECT_TRUE(loadAlerts());
        EXPECT_FALSE(alerts.usageOn[0] || alerts.usageOn[1] || alerts.limitOn);
    }
}

TEST_F(AlertsTest, UsageAlertsFireOncePerMonthAgainAfterARaiseNotAfterARestart)
{
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 79)), 0u);
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 80)), kFirstUsage);
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 85)), 0u);
    restart();
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 90)), 0u);
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 100)), kSecondUsage);
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 120)), 0u);

    // Raised to 95 %: the first warning comes again at 95, not at once below it.
    alerts.usagePercent[0] = 95;
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 94)), 0u);
    restart();
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 95)), kFirstUsage);
    // Lowered again, or turned off and on, it has fired this month already.
    alerts.usagePercent[0] = 50;
    alerts.usageOn[1] = false;
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 120)), 0u);
    alerts.usageOn[1] = true;
    EXPECT_EQ(fireAlerts(alerts, usage(kOctober2003, 120)), 0u);

    // A new month starts afresh; both shares passed at once fire together.
    EXPECT_EQ(fireAlerts(alerts, usage(kNovember2003, 100)), kFirstUsage | kSecondUsage);
    // A tariff without free units has no share to warn about.
    EXPECT_EQ(fireAlerts(alerts, AlertFigures { kSeptember2003, 0, 5000, 0.0 }), 0u);
}

TEST_F(AlertsTest, MoneyLimitCountsTheRunningConnectionAndHangsUpWhileReached)
{
    // Minutes at 0.10 after 10 free ones, 1.00 a month.
    Rate* rate = new Rate {};
    rate->unit = 4;
    rate->amount[0] = 10;
    rate->amount[2] = 10000;
    rate->cost[0] = 1.00;
    rate->cost[1] = 0.10;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    // 15 minutes logged: 5 charged, 0.50.
    writeGzipFile(std::string(programDirectory) + "log_200310.zip", logBlock(12, 7200, 900, 1000, 1, 100, 1));
    ASSERT_TRUE(loadMonth(0));
    alerts.usageOn[0] = alerts.usageOn[1] = false;
    alerts.limitOn = true;
    alerts.limit = 2.00;
    alerts.hangUp = true;

    // 1.00 + 0.50 is below the limit; nothing fires, nothing is hung up.
    AlertCheck check = checkAlerts();
    EXPECT_EQ(check.fired, 0u);
    EXPECT_NEAR(check.figures.monthCost, 1.50, 1e-9);
    EXPECT_FALSE(fileExists(path));

    // A connection running since 21:55, 15 minutes at 22:10: another 1.50 makes 3.00.
    LiveConnection& running = liveConnections.records[liveConnections.count++];
    running.handle = 0x51;
    running.sliceStart = LocalTime { 2003, 10, 0, 12, 21, 55, 0, 0 };
    running.sliceStartMs = monotonicAt(running.sliceStart);
    LiveConnection& other = liveConnections.records[liveConnections.count++];
    other.handle = 0x52;
    other.sliceStart = fakePlatform.now;
    other.sliceStartMs = monotonicAt(other.sliceStart);
    check = checkAlerts();
    EXPECT_EQ(check.fired, kMoney);
    EXPECT_NEAR(check.figures.monthCost, 3.00, 1e-9);
    EXPECT_TRUE(check.hungUp);
    EXPECT_TRUE(check.saved);
    EXPECT_EQ(fakeRemoteAccess.hungUp, (std::vector<uintptr_t> { 0x51, 0x52 }));
    // The minutes used count against the ten free ones: 30 used, 20 beyond them.
    EXPECT_EQ(check.figures.usedUnits, 30 * 60);
    EXPECT_EQ(check.figures.freeUnits, 10 * 60);
    int64_t left = 0;
    bool isVolume = true;
    EXPECT_TRUE(freeUnitsLeft(0, &left, &isVolume));
    EXPECT_EQ(left, -20 * 60);
    EXPECT_FALSE(isVolume);
    // Kept at once, so a restart does not warn again.
    resetAlerts();
    ASSERT_TRUE(loadAlerts());
    EXPECT_EQ(alerts.fired[kMoneyAlert].monthKey, kOctober2003);
    EXPECT_EQ(alerts.fired[kMoneyAlert].level, 2.00);

    // Still above the limit a tick later, the service not yet done: no second alert, and the
    // connections are not asked again.
    check = checkAlerts();
    EXPECT_EQ(check.fired, 0u);
    EXPECT_FALSE(check.hungUp);
    EXPECT_EQ(fakeRemoteAccess.hungUp.size(), 2u);
    // Dialled again while the limit is reached: hung up too, without the alert firing again.
    liveConnections.count = 1;
    running.handle = 0x53;
    check = checkAlerts();
    EXPECT_EQ(check.fired, 0u);
    EXPECT_TRUE(check.hungUp);
    EXPECT_EQ(fakeRemoteAccess.hungUp, (std::vector<uintptr_t> { 0x51, 0x52, 0x53 }));
    // With hang-up off the limit only warns.
    alerts.hangUp = false;
    running.handle = 0x54;
    EXPECT_FALSE(checkAlerts().hungUp);
    EXPECT_EQ(fakeRemoteAccess.hungUp.size(), 3u);
}

TEST_F(AlertsTest, EveryValueThePageOrTheProgramStoresReadsBack)
{
    // The page keeps what a 127-character field gives (up to 127 digits), shares of 1 to 100 and
    // the tariff's nine decimal places; the program keeps months of any clock Windows has, from
    // January 1601 to December 30827.
    constexpr uint32_t kFirstMonth = 1601u * 65536 + 1;
    constexpr uint32_t kLastMonth = 30827u * 65536 + 12;
    struct Case {
        const char* what;
        bool on;
        uint32_t percent;
        double limit;
        FiredAlert usage, money;
    } cases[] = {
        { "largest", true, 100, 9.99999e126, { kLastMonth, 100 }, { kLastMonth, 9.99999e126 } },
        { "smallest", false, 1, 0.0, { 0, 0 }, { 0, 0.0 } },
        { "five trillion", true, 50, 5e12, { kFirstMonth, 1 }, { kFirstMonth, 5e12 } },
        { "nine places", true, 80, 0.000000001, { kOctober2003, 80 }, { kOctober2003, 12345.678901234 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int slot = 0; slot < kUsageAlertCount; ++slot) {
            alerts.usageOn[slot] = c.on;
            alerts.usagePercent[slot] = c.percent;
            alerts.fired[slot] = c.usage;
        }
        alerts.limitOn = alerts.hangUp = c.on;
        alerts.limit = c.limit;
        alerts.fired[kMoneyAlert] = c.money;
        const Alerts stored = alerts;
        restart();
        EXPECT_EQ(AppError, kNothingPending);
        for (int slot = 0; slot < kUsageAlertCount; ++slot) {
            EXPECT_EQ(alerts.usageOn[slot], stored.usageOn[slot]);
            EXPECT_EQ(alerts.usagePercent[slot], stored.usagePercent[slot]);
        }
        EXPECT_EQ(alerts.limitOn, stored.limitOn);
        EXPECT_EQ(alerts.hangUp, stored.hangUp);
        EXPECT_EQ(alerts.limit, stored.limit);
        for (int slot = 0; slot < kAlertSlots; ++slot) {
            EXPECT_EQ(alerts.fired[slot].monthKey, stored.fired[slot].monthKey) << slot;
            EXPECT_EQ(alerts.fired[slot].level, stored.fired[slot].level) << slot;
        }
    }
}

} // namespace
