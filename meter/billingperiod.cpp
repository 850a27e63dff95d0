#include "meter/billingperiod.h"

#include "log/statistics.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

LocalTime dayOf(uint32_t monthKey, int day)
{
    const uint16_t year = uint16_t(monthKey >> 16), month = uint16_t(monthKey & 0xFFFF);
    const int64_t days = daysSinceEpoch(year, month, uint16_t(day));
    return localTimeFromSeconds(days * 86400);
}

// The sum of `values` over the days first..last of a month.
template <typename T> T sumOfDays(const T* values, int first, int last)
{
    T sum = 0;
    for (int day = first; day <= last; ++day)
        sum += values[day];
    return sum;
}

} // namespace

uint32_t billingPeriodKeyOf(const LocalTime& time, uint32_t billingDay)
{
    const uint32_t key = monthKeyOf(time);
    return time.day < billingDay ? monthBeforeKey(key) : key;
}

int32_t billingDaysLeft(uint32_t monthKey, const LocalTime& today, uint32_t billingDay)
{
    if (monthKey != 0 || today.month < 1 || today.month > 12)
        return 1;
    const int32_t day = today.day;
    if (billingDay <= 1) {
        static const int32_t kMonthLengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
        return kMonthLengths[today.month - 1] - day + 1;
    }
    const int32_t billing = int32_t(billingDay);
    if (day < billing)
        return billing - day;
    return daysInMonth(today.year, today.month) - day + 1 + billing - 1;
}

bool billingPeriodOf(uint32_t monthKey, const LocalTime& today, BillingPeriod& period)
{
    const double* costs = monthCost(monthKey);
    const int64_t* volumes = monthVolume(monthKey);
    const int64_t* times = monthOnlineTime(monthKey);
    const MonthCounters* counters = monthCounters(monthKey);
    const MonthStats* month = monthStats(monthKey);
    if (costs == nullptr || volumes == nullptr || times == nullptr || counters == nullptr || month == nullptr)
        return false;

    period = BillingPeriod {};
    const uint32_t billingDay = billingDayOf(tariffAt(settings.activeTariff));
    const uint32_t key = monthKey != 0 ? monthKey : monthKeyOf(today);
    period.billingDay = billingDay;
    period.daysLeft = billingDaysLeft(monthKey, today, billingDay);
    const int lastDay = daysInMonth(uint16_t(key >> 16), uint16_t(key & 0xFFFF));
    if (billingDay == 1) {
        period.key = key;
        period.first = dayOf(key, 1);
        period.last = dayOf(key, lastDay);
        period.used = counters->fromBillingDay;
        period.usageCost = costs[0];
        period.volume = volumes[0];
        period.onlineTime = times[0];
        return true;
    }
    const int billing = int(billingDay);
    // The current month from its billing day on is a period begun this month; before it, and in a
    // past month, the period that began in the month before ends here.
    if (monthKey == 0 && today.day >= billing) {
        period.key = key;
        period.first = dayOf(key, billing);
        period.last = dayOf(monthAfterKey(key), billing - 1);
        period.used = counters->fromBillingDay;
        period.usageCost = sumOfDays(costs, billing, kMonthSlots - 1);
        period.volume = sumOfDays(volumes, billing, kMonthSlots - 1);
        period.onlineTime = sumOfDays(times, billing, kMonthSlots - 1);
        return true;
    }
    period.key = monthBeforeKey(key);
    period.first = dayOf(period.key, billing);
    period.last = dayOf(key, billing - 1);
    period.used = counters->beforeBillingDay;
    period.usageCost = month->carried.cost + sumOfDays(costs, 1, billing - 1);
    period.volume = month->carried.volume + sumOfDays(volumes, 1, billing - 1);
    period.onlineTime = month->carried.onlineTime + sumOfDays(times, 1, billing - 1);
    return true;
}
