#pragma once
// The month sums the display shows: the current month kept up to date as slices are logged,
// one other month read on demand, and the running connections added on the fly.
#include <cstdint>

#include "log/monthlog.h"

extern MonthStats currentMonth;
extern MonthStats heldMonth;
extern uint32_t heldMonthKey;  // the month heldMonth holds; 0 while none is held

struct TrafficTotals {
    uint32_t monthKey;  // input: the month asked for, 0 the current month
    int64_t received;   // bytes, after the volume correction
    int64_t sent;
    uint32_t onlineSeconds;
};

// The month queries. Key 0: the current month plus every running connection, priced as if it
// ended now (a snapshot, overwritten by the next query of the same kind). Any other key: the
// held month, read from its file first when another month is held; null when it cannot be read.
// The arrays have kMonthSlots elements: 0 the month, 1..31 its days.
const int64_t* monthVolume(uint32_t monthKey);
const int64_t* monthOnlineTime(uint32_t monthKey);
const double* monthCost(uint32_t monthKey);
const FreeUnitCounters* monthCounters(uint32_t monthKey);
// The first logged record of the month (running connections are not in the list); null for an
// empty month and when the month cannot be read.
const LogRecord* monthRecords(uint32_t monthKey);

// Sums of the month `totals.monthKey` (running connections included for key 0). False when
// the month could not be read.
bool monthTraffic(TrafficTotals& totals);

// Sums of the running connection at `connectionIndex`, or of all of them for -1.
void liveTraffic(TrafficTotals& totals, int32_t connectionIndex);

// Adds a just-logged slice to currentMonth's sums (the caller appends it to the list).
void accountSlice(const LogRecord& record);

// Reads the current month and the held month again, after the prices changed (tariff,
// volume correction, holidays). False when memory ran out.
bool reloadStatistics();

// Frees both months and forgets the held one (at a change of month and at shut-down).
void clearMonthCache();
