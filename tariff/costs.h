#pragma once
// Pricing of one logged slice under a tariff, and the test of a tariff's two periods.
#include <cstdint>

#include "core/localtime.h"
#include "tariff/logrecord.h"

struct Rate;

// The usage already priced in the month being summed: [0] the main period, [1] the secondary
// period. Bytes (after the volume correction) for volume tariffs, seconds for time tariffs,
// never tariff units, so a change of unit re-prices correctly from the log.
struct FreeUnitCounters {
    int64_t used[2];
};

// The usage priced in one calendar month, by billing period. Free units count from the tariff's
// billing day, so the days of a month before it continue the period that began in the month
// before; with billing day 1 every record counts in `fromBillingDay`.
struct MonthCounters {
    FreeUnitCounters beforeBillingDay; // starts with what the month before used from its billing day on
    FreeUnitCounters fromBillingDay; // starts at zero
};

// True when `time` (with its day of week) lies in the secondary period of the tariff in slot
// `tariffIndex`. An empty slot, or a tariff whose window is empty (ltimeb == ltimee), has no
// secondary period.
bool isSecondaryPeriod(const LocalTime& time, int32_t tariffIndex);
bool isSecondaryPeriodUnder(const LocalTime& time, const Rate& rate);

// The cost of `record` under the tariff in slot `tariffIndex`, in currency, after the usage in
// `counters`; advances the counter of the record's period by its usage. An empty slot (or an
// index outside the table) costs 0.0 and leaves the counters alone.
double computeCost(FreeUnitCounters& counters, const LogRecord& record, int32_t tariffIndex);
// The price steps of a tariff in one period as computeCost charges them: step k is charged above
// thresholds[k] (tariff units; below thresholds[0] the usage is free) at prices[k] a unit.
struct PriceSteps {
    uint32_t thresholds[3];
    double prices[3];
};
PriceSteps priceSteps(const Rate& rate, bool secondary);

// The same under a tariff that need not be in the table (one being edited).
double computeCostUnder(FreeUnitCounters& counters, const LogRecord& record, const Rate& rate);

// True when `start` lies before the billing day of `rate` (day 1 without a tariff) in its month:
// such a record belongs to the billing period that began in the month before.
bool beforeBillingDay(const LocalTime& start, const Rate* rate);

// computeCost against the counters of the billing period that `record` began in.
double computeMonthCost(MonthCounters& counters, const LogRecord& record, int32_t tariffIndex);
double computeMonthCostUnder(MonthCounters& counters, const LogRecord& record, const Rate& rate);

// A byte count after the volume correction of the settings: n * (1 - volumeCorrection * 0.0001),
// truncated toward zero.
int64_t correctedVolume(uint64_t bytes);

// The bytes received and sent of a record after the volume correction. Each direction of a slice
// stays below 4 GiB, their sum need not: it is taken in 64 bits.
int64_t recordVolume(const LogRecord& record);

// Tariff units per byte (volume tariffs) or per second (time tariffs) of a unit code; false
// in `isVolume` for time tariffs. A code outside 0..5 counts as a time tariff in seconds.
double unitFactor(int32_t unit, bool* isVolume);
