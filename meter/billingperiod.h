#pragma once
// The billing period of the active tariff: its free units count from the billing day of one month
// to the day before it in the next. The Summary with its per-day figures, the alerts and the tray
// tip count over that period; the charts, the logs and the exports stay by calendar month. With
// billing day 1 the period is the calendar month, and every figure is the month's.
#include <cstdint>

#include "core/localtime.h"
#include "tariff/costs.h"

// The month key of the month in which the billing period holding `time` began.
uint32_t billingPeriodKeyOf(const LocalTime& time, uint32_t billingDay);

// The days left of the billing period shown for `monthKey` (0: the current month) on `today`,
// today included, over which the per-day figures spread what is left. A past month has one. With
// billing day 1 the current month counts February with 28 days, so 29 February leaves none.
int32_t billingDaysLeft(uint32_t monthKey, const LocalTime& today, uint32_t billingDay);

struct BillingPeriod {
    uint32_t billingDay; // 1..28
    uint32_t key; // the month key of the month it began in
    LocalTime first; // its first and its last day
    LocalTime last;
    FreeUnitCounters used; // usage counted against the free units, main and secondary period
    double usageCost; // the priced usage, without the monthly fixed amount
    int64_t volume; // bytes received and sent, corrected
    int64_t onlineTime; // seconds
    int32_t daysLeft;
};

// The billing period of the active tariff that the Summary shows for month `monthKey` (0: the
// current month, its running connections included): the period that holds `today` in the current
// month, the period that ends in a past month. False when the month cannot be read.
bool billingPeriodOf(uint32_t monthKey, const LocalTime& today, BillingPeriod& period);
