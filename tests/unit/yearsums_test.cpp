// The year at a glance and the comparison of tariffs, against the records priced one by one by
// hand; the command lines' tables and their exit codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "log/statistics.h"
#include "meter/monthrange.h"
#include "meter/monthtotals.h"
#include "meter/tableexport.h"
#include "meter/tariffcompare.h"
#include "meter/yearsums.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "support.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kMarch2003 = 2003 * 65536 + 3;
constexpr uint32_t kApril2002 = 2002 * 65536 + 4;
constexpr unsigned MB = 1048576;

const CsvHeadings kHeadings = { { "Date", "Start", "Duration (s)", "Received (bytes)", "Received (packets)",
                                    "Sent (bytes)", "Sent (packets)", "Cost" },
    "Month", "Cost with the fee", "Tariff", "Usage", "Fixed", "Total", nullptr };

Rate* addTariff(const char* name, int32_t unit, uint32_t freeUnits, double price, double fixed, uint32_t billingDay)
{
    Rate* rate = new Rate {};
    strcpy(rate->name, name);
    rate->unit = unit;
    rate->amount[0] = freeUnits;
    rate->amount[2] = 100000;
    rate->cost[0] = fixed;
    rate->cost[1] = rate->cost[2] = price;
    rate->billingDay = billingDay;
    TariffTable[tariffCount()] = rate;
    return rate;
}

class YearAndComparison : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetSettings();
        freeTariffs();
        clearMonthCache();
        setRunningSliceSource(runningSliceRecord);
        memset(&liveConnections, 0, sizeof liveConnections);
        fakePlatform.now = LocalTime { 2003, 11, 6, 14, 12, 0, 0, 0 };
        // Minutes: 60 free, then 0.05, 5.00 a month. Megabytes: 100 free from the 15th, then
        // 0.10, 2.00 a month. Flat: 20.00 a month and nothing else.
        addTariff("Minutes", 4, 60, 0.05, 5.0, 1);
        addTariff("Megabytes", 1, 100, 0.10, 2.0, 15);
        addTariff("Flat", 3, 0, 0.0, 20.0, 1);
        settings.activeTariff = 0;
        const std::string folder = programDirectory;
        // 20 December: 10 minutes, 90 MB.
        writeGzipFile(folder + "log_200212.zip", logBlock(20, 36000, 600, 90 * MB, 1, 0, 0));
        // 10 February: 90 minutes, 50 MB and 1000 bytes sent; 20 February: 6 minutes, 70 MB.
        writeGzipFile(folder + "log_200302.zip",
            logBlock(10, 36000, 5400, 50 * MB, 1, 1000, 1) + logBlock(20, 36000, 360, 70 * MB, 1, 0, 0));
        // 3 March: 30 minutes, 80 MB; 20 March: 60 minutes, 40 MB.
        writeGzipFile(folder + "log_200303.zip",
            logBlock(3, 36000, 1800, 80 * MB, 1, 0, 0) + logBlock(20, 36000, 3600, 40 * MB, 1, 0, 0));
    }
    void TearDown() override
    {
        freeMonthRange(range);
        clearMonthCache();
        freeTariffs();
        memset(&liveConnections, 0, sizeof liveConnections);
    }

    TariffComparison compare(uint32_t firstKey, int count, uint32_t currentKey)
    {
        EXPECT_TRUE(readMonthRange(firstKey, count, currentKey, range));
        TariffComparison comparison;
        priceEveryTariff(range, comparison);
        return comparison;
    }

    MonthRange range {};
};

// Minutes: February 90 minutes, 30 beyond the free 60 (1.50), then 6 more (0.30); March 30
// and 60, 30 beyond (1.50). Megabytes, counted from the 15th: 20 February's 70 MB and 3 March's
// 80 MB share one period, 50 MB beyond the free 100 (5.00); every other period stays free.
TEST_F(YearAndComparison, EveryTariffIsPricedOverTheSameRecords)
{
    struct Expected {
        const char* name;
        double usage, fixed, total;
    };
    const TariffComparison march = compare(kMarch2003, 1, 0);
    const Expected oneMonth[]
        = { { "Minutes", 1.50, 5.0, 6.50 }, { "Megabytes", 5.00, 2.0, 7.00 }, { "Flat", 0.0, 20.0, 20.0 } };
    // Twelve months from April 2002: December, February and March have a log.
    const TariffComparison twelve = compare(kApril2002, 12, 0);
    const Expected twelveMonths[]
        = { { "Minutes", 3.30, 15.0, 18.30 }, { "Megabytes", 5.00, 6.0, 11.00 }, { "Flat", 0.0, 60.0, 60.0 } };
    for (const auto& [comparison, expected] : { std::pair { &march, oneMonth }, std::pair { &twelve, twelveMonths } }) {
        ASSERT_EQ(comparison->count, 3);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(expected[i].name);
            const TariffPrice& price = comparison->prices[i];
            EXPECT_EQ(price.tariff, i);
            EXPECT_NEAR(price.usageCost, expected[i].usage, 1e-9);
            EXPECT_NEAR(price.fixedCost, expected[i].fixed, 1e-9);
            EXPECT_NEAR(price.total, expected[i].total, 1e-9);
        }
    }

    // Cheapest first; the differences to the active tariff.
    TariffComparison ranked = twelve;
    rankTariffs(ranked, 0);
    EXPECT_TRUE(ranked.hasActive);
    EXPECT_EQ(ranked.prices[0].tariff, 1);
    EXPECT_NEAR(ranked.prices[0].difference, 11.0 - 18.3, 1e-9);
    EXPECT_EQ(ranked.prices[1].tariff, 0);
    EXPECT_EQ(ranked.prices[1].difference, 0.0);
    EXPECT_EQ(ranked.prices[2].tariff, 2);
    EXPECT_NEAR(ranked.prices[2].difference, 60.0 - 18.3, 1e-9);
    ranked = march;
    rankTariffs(ranked, 7); // no tariff in that slot
    EXPECT_FALSE(ranked.hasActive);
    EXPECT_EQ(ranked.prices[0].tariff, 0);
    EXPECT_EQ(ranked.prices[1].difference, 0.0);
}

// The window's March is the current month with a connection running since 12:00: ten more
// minutes (0.50 beyond the free ones) and 10 MB (free in the period begun on the 15th).
TEST_F(YearAndComparison, EachTotalIsWhatTheWindowShowsWithThatTariffActive)
{
    fakePlatform.now = LocalTime { 2003, 3, 2, 25, 12, 10, 0, 0 };
    ASSERT_TRUE(loadMonth(0));
    LiveConnection& connection = liveConnections.records[liveConnections.count++];
    connection.sliceStart = { 2003, 3, 2, 25, 12, 0, 0, 0 };
    connection.sliceStartMs = monotonicAt(connection.sliceStart);
    connection.bytesReceived = 10 * MB;

    const TariffComparison comparison = compare(kMarch2003, 1, kMarch2003);
    const double expected[3] = { 2.00 + 5.0, 5.00 + 2.0, 20.0 };
    for (int32_t tariff = 0; tariff < 3; ++tariff) {
        SCOPED_TRACE(tariff);
        settings.activeTariff = tariff;
        ASSERT_TRUE(reloadStatistics());
        const double shown = monthTotalCost(monthCost(0));
        EXPECT_NEAR(shown, expected[tariff], 1e-9);
        EXPECT_EQ(comparison.prices[tariff].total, shown); // to the last bit

        // The year at a glance shows March as the month does, and each month as its own view.
        YearTotals year;
        ASSERT_TRUE(readYear(2003, kMarch2003, year));
        EXPECT_EQ(year.months[2].cost(), shown);
        EXPECT_TRUE(year.months[2].running);
        EXPECT_EQ(year.months[1].usageCost, monthCost(2003 * 65536 + 2)[0]);
        EXPECT_EQ(year.months[1].volume, monthVolume(2003 * 65536 + 2)[0]);
    }
}

TEST_F(YearAndComparison, TheYearsMonthsAndTotals)
{
    YearTotals year;
    ASSERT_TRUE(readYear(2003, 0, year));
    EXPECT_EQ(year.year, 2003);
    EXPECT_EQ(year.monthsWithLog, 2);
    EXPECT_FALSE(year.months[0].hasLog);
    EXPECT_EQ(year.months[0].cost(), 0.0);
    const MonthTotals& february = year.months[1];
    EXPECT_TRUE(february.hasLog);
    EXPECT_EQ(february.onlineTime, 5400 + 360);
    EXPECT_EQ(february.received, 120u * MB);
    EXPECT_EQ(february.sent, 1000u);
    EXPECT_EQ(february.volume, int64_t(120) * MB + 1000);
    EXPECT_NEAR(february.usageCost, 1.80, 1e-9);
    EXPECT_EQ(february.fixedCost, 5.0);
    EXPECT_NEAR(year.months[2].cost(), 6.50, 1e-9);
    EXPECT_EQ(year.onlineTime, 5760 + 5400);
    EXPECT_EQ(year.received, 240u * MB);
    EXPECT_NEAR(year.cost, 6.80 + 6.50, 1e-9);

    // Under the Megabytes tariff March carries February's period from the 20th on.
    settings.activeTariff = 1;
    ASSERT_TRUE(readYear(2003, 0, year));
    EXPECT_EQ(year.months[1].usageCost, 0.0);
    EXPECT_NEAR(year.months[2].usageCost, 5.00, 1e-9);
    EXPECT_NEAR(year.cost, 5.00 + 2 * 2.0, 1e-9);

    settings.activeTariff = 0;
    const std::string csv = std::string(programDirectory) + "2003.csv";
    ASSERT_TRUE(readYear(2003, 0, year));
    ASSERT_TRUE(writeYearCsv(csv.c_str(), year, kHeadings));
    std::string expected = "Month,Duration (s),Received (bytes),Sent (bytes),Cost with the fee\r\n"
                           "2003-01,0,0,0,0.000000\r\n"
                           "2003-02,5760,125829120,1000,6.800000\r\n"
                           "2003-03,5400,125829120,0,6.500000\r\n";
    for (int month = 4; month <= 12; ++month)
        expected += "2003-" + std::string(month < 10 ? "0" : "") + std::to_string(month) + ",0,0,0,0.000000\r\n";
    EXPECT_EQ(readPlainFile(csv), expected);
}

// The command lines' steps: the tables, and an exit code for each way they can end.
TEST_F(YearAndComparison, CommandLineTablesAndExitCodes)
{
    const std::string csv = std::string(programDirectory) + "out.csv";
    ExportRequest request {};
    snprintf(request.path, sizeof request.path, "%s", csv.c_str());

    request.kind = ExportRequestKind::compare;
    request.monthKey = kMarch2003;
    EXPECT_EQ(exportComparisonFile(request, kHeadings), kExportDone);
    EXPECT_EQ(readPlainFile(csv),
        "Tariff,Usage,Fixed,Total\r\n"
        "Minutes,1.500000,5.000000,6.500000\r\n"
        "Megabytes,5.000000,2.000000,7.000000\r\n"
        "Flat,0.000000,20.000000,20.000000\r\n");
    EXPECT_TRUE(fakePlatform.boxes.empty());

    struct Case {
        const char* what;
        ExportRequestKind kind;
        uint32_t monthKey;
        int code;
    } cases[] = {
        { "a month without a log", ExportRequestKind::compare, 2003 * 65536 + 1, kExportNoMonth },
        { "a year without a log", ExportRequestKind::year, 2001 * 65536 + 1, kExportNoMonth },
        { "a damaged month", ExportRequestKind::compare, kMarch2003, kExportDamaged },
        { "a year with a damaged month", ExportRequestKind::year, 2003 * 65536 + 1, kExportDamaged },
    };
    writeGzipFile(std::string(programDirectory) + "log_200303.zip", "<log>\r\n\t<colour>5</colour>\r\n");
    remove(csv.c_str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakePlatform.boxes.clear();
        request.kind = c.kind;
        request.monthKey = c.monthKey;
        const int code = c.kind == ExportRequestKind::year ? exportYearFile(request, kHeadings)
                                                           : exportComparisonFile(request, kHeadings);
        EXPECT_EQ(code, c.code);
        EXPECT_FALSE(fakePlatform.boxes.empty());
        EXPECT_FALSE(fileExists(csv));
    }

    request.kind = ExportRequestKind::year;
    request.monthKey = 2002 * 65536 + 1;
    snprintf(request.path, sizeof request.path, "%smissing-folder/2002.csv", programDirectory);
    EXPECT_EQ(exportYearFile(request, kHeadings), kExportNotWritten);
}

} // namespace
