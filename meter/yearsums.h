#pragma once
// The year at a glance: the twelve months of a year, each as its month shows it under the active
// tariff, and the year's totals.
#include <cstdint>

struct MonthRange;

struct MonthTotals {
    bool hasLog; // the month has a log (the current month always counts)
    bool running; // the current month, with its running connections priced as if they ended now
    int64_t volume; // bytes received and sent, corrected, as the month's chart sums them
    int64_t onlineTime; // seconds
    uint64_t received; // bytes as logged
    uint64_t sent;
    double usageCost; // the usage priced under the active tariff
    double fixedCost; // the tariff's monthly fixed amount, for a month with a log
    double cost() const { return usageCost + fixedCost; }
};

struct YearTotals {
    uint16_t year;
    MonthTotals months[12];
    int32_t monthsWithLog;
    int64_t volume;
    int64_t onlineTime;
    uint64_t received;
    uint64_t sent;
    double cost; // the months' costs, their fixed amounts included
};

// The twelve months of `range` (January to December of one year, as readMonthRange read them)
// and their sums: the current month as the month's figures show it with its running connections,
// every other month from its log.
void sumYear(uint16_t year, const MonthRange& range, YearTotals& totals);

// Reads and sums the year `year`; `currentKey` as readMonthRange takes it. False (AppError
// 0x80000001) when memory runs out.
bool readYear(uint16_t year, uint32_t currentKey, YearTotals& totals);

// Takes the current month `currentKey` anew from the month's figures (its running connections
// move on with every tick) and sums the year again; nothing when the year does not hold it.
void refreshCurrentMonth(YearTotals& totals, uint32_t currentKey);
