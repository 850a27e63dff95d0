#pragma once
// What the main window's timer must do to the running connections at a tick.
#include <cstdint>

#include "core/localtime.h"

struct TickDecision {
    bool monthChanged; // the running slices end in the old month, and the new month is read
    bool periodChanged; // the active tariff moved between its main and secondary period
    bool billingPeriodChanged; // its free units count anew from its billing day (a new month with day 1)
    bool closeSlices() const { return monthChanged || periodChanged || billingPeriodChanged; }
};

// Compares the previous tick with this one. `secondaryBefore` and `secondaryNow` are the
// tariff period at the two moments, `billingDay` the day its free units count from.
TickDecision decideTick(
    const LocalTime& lastTick, const LocalTime& now, bool secondaryBefore, bool secondaryNow, uint32_t billingDay);

// Applies the tick's slice rules for the active tariff: the running slices are closed once
// when the month or the period changed, and a new month is read from its file.
TickDecision applyTickRules(const LocalTime& lastTick, const LocalTime& now);

// The meter's whole share of a timer tick (or of a change of the clock): the counters are read
// (a failed scan is made again), the tick's slice rules applied, and month logs that could not be
// written are tried again when their pause is over. Reports wait until it is done.
TickDecision countTick(const LocalTime& lastTick, const LocalTime& now);

// The machine goes to sleep: the slices are closed and rest until it wakes up.
void applySuspend(const LocalTime& now);

// The machine has woken up after `lastTick`: the slices start again at `now` with fresh counter
// readings, and a new month is read if one has begun. Only the first of Windows' two wake-up
// events after a sleep does so; false for any other.
bool applyResume(const LocalTime& lastTick, const LocalTime& now);
