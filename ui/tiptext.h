#pragma once
// The texts of the main window's hover tips, from the language module and the figures the
// window shows. Money and dates arrive formatted, as the locale writes them.
#include <cstddef>
#include <cstdint>

#include "ui/formatters.h"

constexpr size_t kTipTextSize = 2048;

// The figures behind the Summary's cells.
struct SummaryFigures {
    bool secondaryRow; // the tariff has free units of its own for the secondary period
    int64_t used[2]; // usage counted in the main and the secondary period
    int64_t freeUnits[2]; // free units of the two periods (bytes or seconds)
    int32_t daysLeft; // of the current billing period; a past month has 1
    bool pastMonth;
    ValueFormatter format; // formatVolume or formatDuration, as the tariff bills
    const char* monthCost; // the month's cost, formatted
    const char* totalCost; // with the monthly fee
    const char* monthlyFee;
    const char* tariffName;
    // The dates of the billing period, as the locale writes them; null first day when the period
    // is the calendar month (billing day 1).
    const char* billingPeriodFirst;
    const char* billingPeriodLast;
};
void summaryCellTip(const SummaryFigures& figures, int32_t row, int32_t column, char* text, size_t size);

// A day of a chart: its date as the locale writes it, its value, and its cost when the chart
// carries the cost line (null otherwise).
void chartDayTip(bool volumeChart, const char* date, int64_t value, const char* cost, char* text, size_t size);

// The scale and average labels of a chart: the busiest day, and the average over the days
// with a value (none when `daysWithValue` is 0).
void chartLabelsTip(
    ValueFormatter format, int64_t largest, int64_t average, int32_t daysWithValue, char* text, size_t size);

// The month total under a chart, with the running connections' share when any runs.
void monthTotalTip(bool volumeChart, int64_t total, bool running, int64_t runningShare, char* text, size_t size);

// One connection of the list: its row number, start date and time (as the locale writes them),
// its figures, its cost under the active tariff (null without one) and the running totals.
struct RecordFigures {
    int32_t number;
    const char* date;
    const char* startTime;
    int64_t duration;
    int64_t received;
    int64_t sent;
    const char* cost;
    const char* tariffName;
    int64_t totalDuration;
    int64_t totalVolume;
};
void recordTip(const RecordFigures& record, char* text, size_t size);

// The live graph of the connection `entryName`: its newest rates, their averages and the
// graph's scale, in bytes per second.
void liveGraphTip(const char* entryName, int64_t receivedNow, int64_t sentNow, int64_t receivedAverage,
    int64_t sentAverage, int64_t largest, char* text, size_t size);

// A month of the year's charts (YearData, YearTime or YearCost): `month` its name and year as
// the locale writes them, `value` the bar's figure as shown; for the cost chart `usage` and `fee`,
// the parts of that figure. A month without a log says so, a month with running connections that
// they count as if they ended now.
struct YearMonthFigures {
    uint32_t chart;
    const char* month;
    bool hasLog;
    bool running;
    const char* value;
    const char* usage;
    const char* fee;
};
void yearMonthTip(const YearMonthFigures& figures, char* text, size_t size);

// The line of the year's totals: how many months have a log and which tariff priced them (null
// without one).
void yearTotalsTip(int32_t monthsWithLog, const char* tariffName, char* text, size_t size);

// A button of the window: its name and shortcut. The tariff button names the active tariff
// (null without one).
void buttonTip(uint32_t element, const char* tariffName, char* text, size_t size);
