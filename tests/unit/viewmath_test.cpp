#include <gtest/gtest.h>

#include "ui/viewmath.h"

namespace {

TEST(ViewMath, BarHeightsRoundHalfUp)
{
    const struct {
        int64_t value, max;
        int32_t height, expected;
    } cases[] = {
        {100, 300, 100, 33},  // 33.33
        {150, 300, 100, 50},
        {250, 300, 100, 83},  // 83.33
        {300, 300, 100, 100},
        {1, 200, 100, 1},     // 0.5 rounds up
        {1, 201, 100, 0},     // 0.4975
        {0, 300, 100, 0},
        {5, 0, 100, 0},       // nothing to scale in an empty month
    };
    for (const auto& c : cases)
        EXPECT_EQ(barHeight(c.value, c.max, c.height), c.expected) << c.value << "/" << c.max;

    int64_t days[32] = {};
    EXPECT_EQ(largestDayValue(days), 0);
    days[0] = 1000000;  // the month total is not a day
    days[3] = 400;
    days[31] = 700;
    EXPECT_EQ(largestDayValue(days), 700);
}

TEST(ViewMath, DaysLeftInTheMonth)
{
    const struct {
        uint32_t selectedMonth;
        LocalTime tick;
        int32_t expected;
    } cases[] = {
        {0, {2003, 10, 5, 17, 12, 0, 0, 0}, 15},
        {0, {2003, 10, 5, 31, 12, 0, 0, 0}, 1},
        {0, {2003, 10, 3, 1, 0, 0, 0, 0}, 31},
        {0, {2004, 2, 0, 29, 12, 0, 0, 0}, 0},  // February counts 28 days in every year
        {0, {2004, 2, 6, 28, 12, 0, 0, 0}, 1},
        {0, {2003, 4, 3, 30, 12, 0, 0, 0}, 1},
        {2003u * 65536u + 9u, {2003, 10, 5, 17, 12, 0, 0, 0}, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(daysLeft(c.selectedMonth, c.tick), c.expected) << c.tick.month << "/" << c.tick.day;
}

TEST(FreeUnitsTable, TwelveHoursOfATenHourTariff)
{
    // Time tariff, 10 free hours (amount 10, unit 5), 12 hours used in the main period.
    FreeUnitsCells cells;
    computeFreeUnitsCells(12 * 3600, 0, 10 * unitSize(5), 0, 15, formatDuration, &cells);
    EXPECT_FALSE(cells.secondaryRow);
    EXPECT_STREQ(cells.text[0][0], "12.0h");
    EXPECT_STREQ(cells.text[0][1], "+2.00h");
    EXPECT_STREQ(cells.text[0][2], "");  // an exceeded quota has no per-day share
    EXPECT_STREQ(cells.text[1][0], "");
    EXPECT_STREQ(cells.text[2][0], "12.0h");
    EXPECT_STREQ(cells.text[2][1], "+2.00h");
    EXPECT_STREQ(cells.text[2][2], "");
}

TEST(FreeUnitsTable, VolumeTariffWithSecondaryFreeUnits)
{
    // 100 MB main and 50 MB secondary free; 50 MB and 10 MB used; 10 days left.
    FreeUnitsCells cells;
    computeFreeUnitsCells(52428800, 10485760, 100 * unitSize(1), 50 * unitSize(1), 10, formatVolume, &cells);
    ASSERT_TRUE(cells.secondaryRow);
    const char* expected[3][3] = {
        {"50.0MB", "50.0MB", "5.00MB"},
        {"10.0MB", "40.0MB", "4.00MB"},
        {"60.0MB", "90.0MB", "9.00MB"},
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_STREQ(cells.text[row][column], expected[row][column]) << row << "," << column;
}

TEST(FreeUnitsTable, EmptyMonthShowsTheFullFreeUnitsAndNoDaysLeftLeavesPerDayEmpty)
{
    FreeUnitsCells cells;
    computeFreeUnitsCells(0, 0, 1024 * unitSize(0), 0, 0, formatVolume, &cells);
    EXPECT_STREQ(cells.text[0][0], "0B");
    EXPECT_STREQ(cells.text[0][1], "1.00MB");  // 1048576 bytes
    EXPECT_STREQ(cells.text[0][2], "");
    EXPECT_STREQ(cells.text[2][2], "");
}

TEST(ViewMath, ListScrollLimit)
{
    EXPECT_EQ(listScrollLimit(50, 116, 13), 42);  // 116 / 13 = 8 rows fit
    EXPECT_EQ(listScrollLimit(10, 116, 13), 2);
    EXPECT_EQ(listScrollLimit(8, 116, 13), 0);
    EXPECT_EQ(listScrollLimit(5, 116, 13), 0);
    EXPECT_EQ(listScrollLimit(5, 116, 0), 0);
}

TEST(ViewMath, MixedColour)
{
    EXPECT_EQ(mixedColor(0x0000FF, 0xFF0000), 0x800080u);
    EXPECT_EQ(mixedColor(0x102030, 0x102031), 0x102031u);
    EXPECT_EQ(mixedColor(0xFFFFFF, 0xFFFFFF), 0xFFFFFFu);
}

TEST(ViewMath, LiveGraphColumns)
{
    GraphColumn column = graphColumn(100, 100, 200, 100);
    EXPECT_EQ(column.sharedHeight, 50u);
    EXPECT_EQ(column.fullHeight, 50u);
    EXPECT_TRUE(column.receivedOnTop);

    column = graphColumn(50, 150, 200, 80);
    EXPECT_EQ(column.sharedHeight, 20u);
    EXPECT_EQ(column.fullHeight, 60u);
    EXPECT_FALSE(column.receivedOnTop);

    column = graphColumn(0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 116);
    EXPECT_EQ(column.fullHeight, 116u);  // no wrap in the product

    column = graphColumn(5, 5, 0, 116);
    EXPECT_EQ(column.fullHeight, 0u);
}

TEST(ViewMath, AverageLabelsKeepApart)
{
    const struct {
        int32_t received, sent, top, line;
        int32_t expectedReceived, expectedSent;
    } cases[] = {
        {10, 12, 20, 13, 20, 33},  // both raised to the top, then the sent one pushed down
        {50, 40, 20, 13, 53, 40},  // the received one is lower and moves
        {40, 50, 20, 13, 40, 53},
        {50, 80, 20, 13, 50, 80},
        {60, 60, 20, 13, 60, 73},
    };
    for (const auto& c : cases) {
        int32_t received = c.received, sent = c.sent;
        separateLabels(&received, &sent, c.top, c.line);
        EXPECT_EQ(received, c.expectedReceived);
        EXPECT_EQ(sent, c.expectedSent);
    }
}

}  // namespace
