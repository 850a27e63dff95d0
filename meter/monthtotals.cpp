#include "meter/monthtotals.h"

#include "core/platform.h"
#include "log/statistics.h"
#include "meter/billingperiod.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

double monthTotalCost(const double* costs)
{
    const Rate* rate = tariffAt(settings.activeTariff);
    return costs[0] + (rate != nullptr ? rate->cost[0] : 0.0);
}

double recordCost(const MonthStats& month, const LogRecord* target)
{
    MonthCounters counters { month.carried.counters, {} };
    for (const LogRecord* record = month.records.head; record != nullptr; record = record->next) {
        const double cost = computeMonthCost(counters, *record, settings.activeTariff);
        if (record == target)
            return cost;
    }
    return 0.0;
}

bool trayTipFigures(TrayTipFigures& figures)
{
    if (billingDayOf(tariffAt(settings.activeTariff)) != 1) {
        BillingPeriod period;
        if (!billingPeriodOf(0, localTimeNow(), period))
            return false;
        figures.volume = period.volume;
        figures.onlineSeconds = uint32_t(period.onlineTime);
        figures.cost = monthTotalCost(&period.usageCost);
        return true;
    }
    TrafficTotals totals {};
    totals.monthKey = 0;
    const double* costs = monthCost(0);
    if (!monthTraffic(totals) || costs == nullptr)
        return false;
    figures.volume = totals.received + totals.sent;
    figures.onlineSeconds = totals.onlineSeconds;
    figures.cost = monthTotalCost(costs);
    return true;
}
