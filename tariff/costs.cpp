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
    if (rate == nullptr || rate->ltimeb == rate->ltimee)
        return false;
    if ((rate->ldays & weekdayBit(time.dayOfWeek)) != 0)
        return true;
    if ((rate->ldays & kHolidayBit) != 0 && isHoliday(time))
        return true;
    const uint32_t seconds = uint32_t(time.hour) * 3600u + uint32_t(time.minute) * 60u + time.second;
    return seconds < uint32_t(rate->ltimeb) || seconds >= uint32_t(rate->ltimee);
}

double computeCost(FreeUnitCounters& counters, const LogRecord& record, int32_t tariffIndex)
{
    const Rate* rate = tariffAt(tariffIndex);
    if (rate == nullptr)
        return 0.0;

    bool isVolume = false;
    const double factor = unitFactor(rate->unit, &isVolume);
    const uint32_t* amount = rate->amount;
    const bool ownSecondaryUnits = amount[1] != 0;

    // The thresholds wrap in 32 bits like the unit counts they are made of.
    const uint32_t base = ownSecondaryUnits ? amount[1] : amount[0];
    const uint32_t mainBase = amount[0];
    const uint32_t thresholds[2][3] = {
        { mainBase, mainBase + amount[2], mainBase + amount[2] + amount[3] },
        { base, base + amount[2], base + amount[2] + amount[3] },
    };

    // Without secondary free units the tariff keeps one set of step prices after step 0; step 2
    // then takes its own pair, the one the user entered for it.
    const double prices[3][2] = {
        { rate->cost[1], rate->cost[2] },
        { ownSecondaryUnits ? rate->cost[3] : rate->cost[1], ownSecondaryUnits ? rate->cost[4] : rate->cost[2] },
        { rate->cost[5], rate->cost[6] },
    };

    const int64_t usage = isVolume ? recordVolume(record) : int64_t(record.dur);
    const int period = isSecondaryPeriod(record.start, tariffIndex) ? 1 : 0;
    const int row = period == 1 && ownSecondaryUnits ? 1 : 0;

    const int64_t before = counters.used[row];
    // Wraps instead of overflowing; no month comes near it.
    const int64_t after = int64_t(uint64_t(before) + uint64_t(usage));
    counters.used[row] = after;
    const double beforeUnits = double(before) * factor;
    const double afterUnits = double(after) * factor;

    int step = 2;
    while (step >= 0 && !(double(thresholds[row][step]) < afterUnits))
        --step;
    if (step < 0)
        return 0.0;

    const double threshold = double(thresholds[row][step]);
    if (beforeUnits > threshold)
        return double(usage) * prices[step][period] * factor;
    const double below = step == 0 ? 0.0 : (threshold - beforeUnits) * prices[step - 1][period];
    return below + (afterUnits - threshold) * prices[step][period];
}

bool beforeBillingDay(const LocalTime& start, int32_t tariffIndex)
{
    return start.day < billingDayOf(tariffAt(tariffIndex));
}

double computeMonthCost(MonthCounters& counters, const LogRecord& record, int32_t tariffIndex)
{
    FreeUnitCounters& period
        = beforeBillingDay(record.start, tariffIndex) ? counters.beforeBillingDay : counters.fromBillingDay;
    return computeCost(period, record, tariffIndex);
}
