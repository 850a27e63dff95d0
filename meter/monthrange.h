#pragma once
// A run of consecutive months read for the year at a glance and the comparison of tariffs: each
// month's records as the window's figures price them, the current month's running connections
// included, and the month before the run, where the billing periods begin that reach into it.
#include <cstdint>

#include "log/monthlog.h"

constexpr int kMaxRangeMonths = 12;
constexpr int kMaxRunningSlices = 16;

struct RangeMonth {
    uint32_t key;
    bool isCurrent; // the month the running program holds, with its running connections
    bool hasLog; // its log file exists; the current month always counts as logged
    const MonthStats* stats; // its records in logged order, and their sums under the active tariff
    LogRecord running[kMaxRunningSlices]; // the current month's running slices, ending now
    uint32_t runningCount;
};

struct MonthRange {
    MonthStats before; // the month before the first one, when a billing day needs it
    MonthStats read[kMaxRangeMonths]; // the months read from their files
    RangeMonth months[kMaxRangeMonths];
    int count;
};

// Reads `count` (1..12) months from `firstKey` on into `range` (freed first). The month
// `currentKey` is the running program's current month, taken from memory with its running
// connections; 0 for none (the command line reads files only). A damaged log is reported as it is
// read and gives what was read before the damage. False (AppError 0x80000001) when memory runs out.
bool readMonthRange(uint32_t firstKey, int count, uint32_t currentKey, MonthRange& range);

// Fills `month` as the running program's current month `key`: from memory, with its running
// slices ending now.
void takeCurrentMonth(RangeMonth& month, uint32_t key);

// Frees every record `range` read.
void freeMonthRange(MonthRange& range);
