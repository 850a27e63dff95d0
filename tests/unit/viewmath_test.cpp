#include <gtest/gtest.h>

#include <cstring>

#include "log/monthlog.h"
#include "meter/billingperiod.h"
#include "meter/monthtotals.h"
#include "skin/skinrules.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "tariff/tariffunits.h"
#include "ui/viewmath.h"

namespace {

TEST(ViewMath, BarHeightsRoundHalfUp)
{
    const struct {
        int64_t value, max;
        int32_t height, expected;
    } cases[] = {
        { 100, 300, 100, 33 }, // 33.33
        { 150, 300, 100, 50 }, { 250, 300, 100, 83 }, // 83.33
        { 300, 300, 100, 100 }, { 1, 200, 100, 1 }, // 0.5 rounds up
        { 1, 201, 100, 0 }, // 0.4975
        { 0, 300, 100, 0 }, { 5, 0, 100, 0 }, // nothing to scale in an empty month
    };
    for (const auto& c : cases)
        EXPECT_EQ(barHeight(c.value, c.max, c.height), c.expected) << c.value << "/" << c.max;

    int64_t days[32] = {};
    EXPECT_EQ(largestDayValue(days), 0);
    days[0] = 1000000; // the month total is not a day
    days[3] = 400;
    days[31] = 700;
    EXPECT_EQ(largestDayValue(days), 700);
}

// The per-day figures spread what is left over the days left of the billing period: the month
// with billing day 1, else from the billing day to the day before it in the next month.
TEST(ViewMath, DaysLeftInTheBillingPeriod)
{
    const struct {
        uint32_t selectedMonth;
        LocalTime tick;
        uint32_t billingDay;
        int32_t expected;
    } cases[] = {
        { 0, { 2003, 10, 5, 17, 12, 0, 0, 0 }, 1, 15 },
        { 0, { 2003, 10, 5, 31, 12, 0, 0, 0 }, 1, 1 },
        { 0, { 2003, 10, 3, 1, 0, 0, 0, 0 }, 1, 31 },
        { 0, { 2004, 2, 0, 29, 12, 0, 0, 0 }, 1, 0 }, // February counts 28 days in every year
        { 0, { 2004, 2, 6, 28, 12, 0, 0, 0 }, 1, 1 },
        { 0, { 2003, 4, 3, 30, 12, 0, 0, 0 }, 1, 1 },
        { 2003u * 65536u + 9u, { 2003, 10, 5, 17, 12, 0, 0, 0 }, 1, 1 },
        // Billing day 15: 17 October lies in 15 October .. 14 November, 15 days of October
        // and 14 of November; 3 October in 15 September .. 14 October.
        { 0, { 2003, 10, 5, 17, 12, 0, 0, 0 }, 15, 29 },
        { 0, { 2003, 10, 5, 3, 12, 0, 0, 0 }, 15, 12 },
        { 0, { 2003, 10, 2, 14, 12, 0, 0, 0 }, 15, 1 },
        { 0, { 2003, 10, 3, 15, 0, 0, 0, 0 }, 15, 31 },
        { 0, { 2004, 2, 0, 29, 12, 0, 0, 0 }, 10, 10 }, // with the calendar's 29 February
        { 0, { 2003, 12, 3, 31, 12, 0, 0, 0 }, 28, 28 },
        { 2003u * 65536u + 9u, { 2003, 10, 5, 17, 12, 0, 0, 0 }, 15, 1 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(billingDaysLeft(c.selectedMonth, c.tick, c.billingDay), c.expected)
            << c.tick.month << "/" << c.tick.day << " billing day " << c.billingDay;
}

TEST(FreeUnitsTable, TwelveHoursOfATenHourTariff)
{
    // Time tariff, 10 free hours (amount 10, unit 5), 12 hours used in the main period.
    FreeUnitsCells cells;
    computeFreeUnitsCells(12 * 3600, 0, 10 * unitSize(5), 0, 15, formatDuration, &cells);
    EXPECT_FALSE(cells.secondaryRow);
    EXPECT_STREQ(cells.text[0][0], "12:00:00");
    EXPECT_STREQ(cells.text[0][1], "+2:00:00");
    EXPECT_STREQ(cells.text[0][2], ""); // an exceeded quota has no per-day share
    // Without free units of the secondary period row 0 is the whole month: the total row does
    // not repeat it.
    for (int row : { 1, 2 })
        for (int column = 0; column < 3; ++column)
            EXPECT_STREQ(cells.text[row][column], "") << row << "," << column;
}

TEST(FreeUnitsTable, VolumeTariffWithSecondaryFreeUnits)
{
    // 100 MB main and 50 MB secondary free; 50 MB and 10 MB used; 10 days left.
    FreeUnitsCells cells;
    computeFreeUnitsCells(52428800, 10485760, 100 * unitSize(1), 50 * unitSize(1), 10, formatVolume, &cells);
    ASSERT_TRUE(cells.secondaryRow);
    const char* expected[3][3] = {
        { "50.0 MB", "50.0 MB", "5.00 MB" },
        { "10.0 MB", "40.0 MB", "4.00 MB" },
        { "60.0 MB", "90.0 MB", "9.00 MB" },
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_STREQ(cells.text[row][column], expected[row][column]) << row << "," << column;
}

TEST(FreeUnitsTable, EmptyMonthShowsTheFullFreeUnitsAndNoDaysLeftLeavesPerDayEmpty)
{
    FreeUnitsCells cells;
    computeFreeUnitsCells(0, 0, 1024 * unitSize(0), 0, 0, formatVolume, &cells);
    EXPECT_STREQ(cells.text[0][0], "0 B");
    EXPECT_STREQ(cells.text[0][1], "1.00 MB"); // 1048576 bytes
    EXPECT_STREQ(cells.text[0][2], "");
    EXPECT_STREQ(cells.text[2][2], "");
}

TEST(ViewMath, ListScrollLimit)
{
    EXPECT_EQ(listScrollLimit(50, 116, 13), 42); // 116 / 13 = 8 rows fit
    EXPECT_EQ(listScrollLimit(10, 116, 13), 2);
    EXPECT_EQ(listScrollLimit(8, 116, 13), 0);
    EXPECT_EQ(listScrollLimit(5, 116, 13), 0);
    EXPECT_EQ(listScrollLimit(5, 116, 0), 0);
}

// The bar beside a longer list: the thumb's share is the rows shown, its place the first of
// them, and the last rows bring it to the bar's end.
TEST(ViewMath, ListScrollThumb)
{
    const struct {
        int32_t count, first, shown, height;
        ScrollThumb thumb;
    } cases[] = {
        { 52, 0, 9, 116, { 0, 20 } }, // 116 * 9 / 52 = 20.07
        { 52, 43, 9, 116, { 96, 20 } }, // the last rows: 96 + 20 = 116
        { 52, 20, 9, 116, { 44, 20 } }, // 96 * 20 / 43 = 44.65
        { 52, 60, 9, 116, { 96, 20 } }, // scrolled beyond the end: at the end
        { 1000, 0, 9, 116, { 0, 4 } }, // 1.04 pixels would be lost: 4
        { 1000, 991, 9, 116, { 112, 4 } },
        { 9, 0, 9, 116, { 0, 0 } }, // every row shown: no bar
        { 0, 0, 0, 116, { 0, 0 } },
        { 52, 0, 9, 0, { 0, 0 } },
    };
    for (const auto& c : cases) {
        const ScrollThumb thumb = listScrollThumb(c.count, c.first, c.shown, c.height);
        EXPECT_EQ(thumb.top, c.thumb.top) << c.count << " " << c.first;
        EXPECT_EQ(thumb.height, c.thumb.height) << c.count << " " << c.first;
    }
}

// A status line too long for its box ends after its last whole word, not inside one.
TEST(ViewMath, LinesAreCutAtAWord)
{
    const char* line = "your limit is $10.000. telvane has hung up";
    const struct {
        size_t fitting;
        size_t cut;
    } cases[] = {
        { 24, 22 }, // "...$10.000. t" would cut "telvane": back to "$10.000."
        { 22, 22 }, // the cut falls on the space itself
        { 23, 22 }, // after the space: the space is left out
        { 3, 3 }, // not even "your" fits: cut inside it
        { 42, 42 }, // the whole line fits
        { 50, 42 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(cutAtWord(line, strlen(line), c.fitting), c.cut) << c.fitting;
    const char16_t wide[] = u"Hauptzeit verbraucht";
    EXPECT_EQ(cutAtWord(wide, 20, 15), 9u); // the same for the wide texts the window draws
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
    EXPECT_EQ(column.fullHeight, 116u); // no wrap in the product

    column = graphColumn(5, 5, 0, 116);
    EXPECT_EQ(column.fullHeight, 0u);
}

TEST(ViewMath, AverageLabelsKeepApart)
{
    const struct {
        int32_t received, sent, top, line;
        int32_t expectedReceived, expectedSent;
    } cases[] = {
        { 10, 12, 20, 13, 20, 33 }, // both raised to the top, then the sent one pushed down
        { 50, 40, 20, 13, 53, 40 }, // the received one is lower and moves
        { 40, 50, 20, 13, 40, 53 },
        { 50, 80, 20, 13, 50, 80 },
        { 60, 60, 20, 13, 60, 73 },
    };
    for (const auto& c : cases) {
        int32_t received = c.received, sent = c.sent;
        separateLabels(&received, &sent, c.top, c.line);
        EXPECT_EQ(received, c.expectedReceived);
        EXPECT_EQ(sent, c.expectedSent);
    }
}

// The list's columns are as wide as the texts shown in them; the room left goes between them.
TEST(ViewMath, ListColumnsTakeTheirTextsWidthAndNeverTouch)
{
    const int32_t widths[6] = { 50, 40, 30, 30, 30, 40 }; // 220 pixels of text
    int32_t edges[6];
    listColumnEdges(widths, 6, 40, 354, 6, edges); // 134 spare: 26 between two columns
    const int32_t spread[6] = { 90, 156, 212, 268, 324, 390 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(edges[i], spread[i]) << i;

    listColumnEdges(widths, 6, 40, 230, 6, edges); // 10 spare: the smallest gap of 6
    const int32_t tight[6] = { 90, 136, 172, 208, 244, 290 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(edges[i], tight[i]) << i;
}

TEST(ViewMath, WhatLiesUnderThePointer)
{
    // Summary from (40, 115), columns 88 wide (right edges 128, 216, 304, 392), rows 13 high.
    const struct {
        int32_t x, y;
        bool secondaryRow;
        int32_t row, column;
    } cells[] = {
        { 41, 115, false, 0, 1 },
        { 128, 127, false, 0, 1 },
        { 129, 115, false, 0, 2 },
        { 392, 141, false, 2, 4 },
        { 300, 130, false, -1, 0 }, // row 1 is not drawn without secondary free units
        { 300, 130, true, 1, 3 },
        { 40, 120, true, -1, 0 },
        { 393, 120, true, -1, 0 },
        { 100, 154, true, -1, 0 },
        { 100, 114, true, -1, 0 },
    };
    for (const auto& c : cells) {
        const SummaryCell cell = summaryCellAt(c.x, c.y, 40, 115, 88, 13, c.secondaryRow);
        EXPECT_EQ(cell.row, c.row) << c.x << "," << c.y;
        if (c.row >= 0) {
            EXPECT_EQ(cell.column, c.column) << c.x << "," << c.y;
        }
    }

    // Bars of pitch 5 from x 51: day 1 takes 51..55, day 31 ends at 205.
    EXPECT_EQ(chartDayAt(51, 51, 5), 1);
    EXPECT_EQ(chartDayAt(56, 51, 5), 2);
    EXPECT_EQ(chartDayAt(205, 51, 5), 31);
    EXPECT_EQ(chartDayAt(206, 51, 5), 0);
    EXPECT_EQ(chartDayAt(50, 51, 5), 0);
    EXPECT_EQ(chartDayAt(60, 51, 0), 0);

    // A year chart from 40 to 394: twelve months of 29 pixels, 40..388.
    EXPECT_EQ(yearMonthAt(40, 40, 394), 1);
    EXPECT_EQ(yearMonthAt(68, 40, 394), 1);
    EXPECT_EQ(yearMonthAt(69, 40, 394), 2);
    EXPECT_EQ(yearMonthAt(387, 40, 394), 12);
    EXPECT_EQ(yearMonthAt(388, 40, 394), 0);
    EXPECT_EQ(yearMonthAt(39, 40, 394), 0);
    EXPECT_EQ(yearMonthAt(45, 40, 50), 0); // too narrow for twelve bars
    // The pointer finds only what the view shows.
    EXPECT_TRUE(slotInView(kElementYearCost, true));
    EXPECT_FALSE(slotInView(kElementYearCost, false));
    EXPECT_FALSE(slotInView(kElementLog, true));
    EXPECT_TRUE(slotInView(kElementSummary, false));
    EXPECT_TRUE(slotInView(kElementMenuButton, true));

    // List rows from y 156 (one above the area's top at 157), 13 high, 4 of them shown.
    EXPECT_EQ(listRowAt(156, 157, 13, 4), 0);
    EXPECT_EQ(listRowAt(168, 157, 13, 4), 0);
    EXPECT_EQ(listRowAt(169, 157, 13, 4), 1);
    EXPECT_EQ(listRowAt(207, 157, 13, 4), 3);
    EXPECT_EQ(listRowAt(208, 157, 13, 4), -1);
    EXPECT_EQ(listRowAt(155, 157, 13, 4), -1);
}

TEST(ViewMath, ListKeysScrollByRowPageAndToEitherEnd)
{
    const struct {
        ListKey key;
        int32_t scroll, expected;
    } cases[] = {
        { ListKey::down, 0, 1 },
        { ListKey::down, 42, 42 }, // never beyond the limit of 42
        { ListKey::up, 5, 4 },
        { ListKey::up, 0, 0 },
        { ListKey::pageDown, 3, 11 },
        { ListKey::pageDown, 40, 42 },
        { ListKey::pageUp, 11, 3 },
        { ListKey::pageUp, 5, 0 },
        { ListKey::home, 17, 0 },
        { ListKey::end, 3, 42 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(scrolledListPosition(c.key, c.scroll, 8, 42), c.expected) << int(c.key) << " from " << c.scroll;
    EXPECT_EQ(scrolledListPosition(ListKey::end, 0, 8, 0), 0); // a list that fits does not move
}

// A record's cost is what it adds to the month after the records before it, and before the
// billing day after what the month before used from it on.
TEST(ViewMath, RecordCostAfterTheRecordsBeforeIt)
{
    resetSettings();
    settings.volumeCorrection = 0;
    freeTariffs();
    Rate* rate = new Rate {};
    rate->unit = 1; // megabytes
    rate->amount[0] = 1; // one free
    rate->amount[2] = 1000; // then price 1
    rate->cost[1] = 2.0; // 2.00 a megabyte in the main period
    rate->cost[2] = 2.0;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    LogRecord records[3] = {};
    for (int i = 0; i < 3; ++i) {
        records[i].rx = 524288; // half a megabyte each
        records[i].start = { 2026, 12, 2, 1, 10, 0, 0, 0 };
        records[i].next = i < 2 ? &records[i + 1] : nullptr;
    }
    MonthStats month {};
    month.records.head = records;
    EXPECT_DOUBLE_EQ(recordCost(month, &records[0]), 0.0); // within the free megabyte
    EXPECT_DOUBLE_EQ(recordCost(month, &records[1]), 0.0); // fills it exactly
    EXPECT_DOUBLE_EQ(recordCost(month, &records[2]), 1.0); // half a megabyte at 2.00

    // Billing day 15, and the period begun on 15 November has used half a megabyte already: the
    // first record fills the free megabyte, the second lies beyond it; the third, on the 20th,
    // is the first of a new period.
    rate->billingDay = 15;
    month.carried.counters.used[0] = 524288;
    records[2].start.day = 20;
    EXPECT_DOUBLE_EQ(recordCost(month, &records[0]), 0.0);
    EXPECT_DOUBLE_EQ(recordCost(month, &records[1]), 1.0);
    EXPECT_DOUBLE_EQ(recordCost(month, &records[2]), 0.0);

    settings.activeTariff = 1; // no tariff in slot 1
    EXPECT_DOUBLE_EQ(recordCost(month, &records[1]), 0.0);
    freeTariffs();
}

} // namespace
