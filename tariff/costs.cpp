#include "tariff/costs.h"

#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kHolidayBit = 1u << 7;

// Bit of `ldays` for a day of week counted from Sunday = 0: Monday is bit 0, Sunday bit 6.
uint32_t weekdayBit(uint16_t dayOfWeek) { return 1u << ((dayOfWeek + 6u) % 7u); }

// A holiday stored with year 0 falls on its day in every year.
bool isHoliday(const LocalTime& time)
{
    const uint32_t date = packDate(time.year, time.month, time.day);
    const uint32_t everyYear = packDate(0, time.month, time.day);
    for (const Holiday& holiday : settings.holidays) {
        if (holiday.packedDate == 0)
            break;
        if (holiday.packedDate == date || holiday.packedDate == everyYear)
            return true;
    }
    return false;
}

// The step that the usage just above `units` is priced at: the highest whose threshold lies
// below it; -1 within the free units. It never falls as the usage grows, whatever order wrapped
// thresholds have.
int stepAt(const uint32_t* thresholds, double units)
{
    int step = 2;
    while (step >= 0 && !(double(thresholds[step]) < units))
        --step;
    return step;
}

// A record that crosses thresholds: each part of it at the step it lies in, the part within the
// free units free, lower parts first. Its month then costs the same however its usage is cut
// into records. At most four parts.
double crossingCost(const PriceSteps& steps, double beforeUnits, double afterUnits)
{
    const uint32_t* thresholds = steps.thresholds;
    double cost = 0.0;
    double from = beforeUnits;
    while (from < afterUnits) {
        int step = -1;
        for (int k = 0; k < 3; ++k)
            if (double(thresholds[k]) <= from)
                step = k;
        // Only a higher step's threshold changes the price; every one of them lies above `from`.
        double to = afterUnits;
        for (int k = step + 1; k < 3; ++k)
            if (double(thresholds[k]) < to)
                to = double(thresholds[k]);
        cost += (to - from) * (step < 0 ? 0.0 : steps.prices[step]);
        from = to;
    }
    return cost;
}

} // namespace

double unitFactor(int32_t unit, bool* isVolume)
{
    static const double factors[kLastUnit + 1]
        = { 1.0 / 1024, 1.0 / 1048576, 1.0 / 1073741824, 1.0, 1.0 / 60, 1.0 / 3600 };
    const bool volume = unit >= 0 && unit <= 2;
    if (isVolume != nullptr)
        *isVolume = volume;
    return unit >= 0 && unit <= kLastUnit ? factors[unit] : 1.0;
}

int64_t correctedVolume(uint64_t bytes)
{
    return int64_t(double(bytes) * (1.0 - double(settings.volumeCorrection) * 0.0001));
}

int64_t recordVolume(const LogRecord& record) { return correctedVolume(uint64_t(record.rx) + record.tx); }

bool isSecondaryPeriod(const LocalTime& time, int32_t tariffIndex)
{
    const Rate* rate = tariffAt(tariffIndex);
    return rate != nullptr && isSecondaryPeriodUnder(time, *rate);
}

bool isSecondaryPeriodUnder(const LocalTime& time, const Rate& rate)
{
    if (rate.ltimeb == rate.ltimee)
        return false;
    if ((rate.ldays & weekdayBit(time.dayOfWeek)) != 0)
        return true;
    if ((rate.ldays & kHolidayBit) != 0 && isHoliday(time))
        return true;
    const uint32_t seconds = uint32_t(time.hour) * 3600u + uint32_t(time.minute) * 60u + time.second;
    return seconds < uint32_t(rate.ltimeb) || seconds >= uint32_t(rate.ltimee);
}

double computeCost(FreeUnitCounters& counters, const LogRecord& record, int32_t tariffIndex)
{
    const Rate* rate = tariffAt(tariffIndex);
    return rate != nullptr ? computeCostUnder(counters, record, *rate) : 0.0;
}

PriceSteps priceSteps(const Rate& rate, bool secondary)
{
    const uint32_t* amount = rate.amount;
    const bool ownSecondaryUnits = amount[1] != 0;
    // Without secondary free units the secondary period shares the main period's thresholds.
    const uint32_t base = secondary && ownSecondaryUnits ? amount[1] : amount[0];
    const int column = secondary ? 1 : 0;
    // Without secondary free units the tariff keeps one set of step prices after step 0; step 2
    // then takes its own pair, the one the user entered for it. The thresholds wrap in 32 bits
    // like the unit counts they are made of.
    return PriceSteps {
        { base, base + amount[2], base + amount[2] + amount[3] },
        { rate.cost[1 + column], rate.cost[(ownSecondaryUnits ? 3 : 1) + column], rate.cost[5 + column] },
    };
}

double computeCostUnder(FreeUnitCounters& counters, const LogRecord& record, const Rate& rate)
{
    bool isVolume = false;
    const double factor = unitFactor(rate.unit, &isVolume);
    const int64_t usage = isVolume ? recordVolume(record) : int64_t(record.dur);
    const bool secondary = isSecondaryPeriodUnder(record.start, rate);
    const PriceSteps steps = priceSteps(rate, secondary);
    const int row = secondary && rate.amount[1] != 0 ? 1 : 0;

    const int64_t before = counters.used[row];
    // Wraps instead of overflowing; no month comes near it.
    const int64_t after = int64_t(uint64_t(before) + uint64_t(usage));
    counters.used[row] = after;
    const double beforeUnits = double(before) * factor;
    const double afterUnits = double(after) * factor;

    const int last = stepAt(steps.thresholds, afterUnits);
    if (last < 0)
        return 0.0;
    if (beforeUnits > double(steps.thresholds[last]))
        return double(usage) * steps.prices[last] * factor;
    return crossingCost(steps, beforeUnits, afterUnits);
}

bool beforeBillingDay(const LocalTime& start, const Rate* rate) { return start.day < billingDayOf(rate); }

double computeMonthCost(MonthCounters& counters, const LogRecord& record, int32_t tariffIndex)
{
    const Rate* rate = tariffAt(tariffIndex);
    return rate != nullptr ? computeMonthCostUnder(counters, record, *rate) : 0.0;
}

double computeMonthCostUnder(MonthCounters& counters, const LogRecord& record, const Rate& rate)
{
    FreeUnitCounters& period
        = beforeBillingDay(record.start, &rate) ? counters.beforeBillingDay : counters.fromBillingDay;
    return computeCostUnder(period, record, rate);
}
