#include "meter/monthtotals.h"

#include "log/statistics.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

double monthTotalCost(const double* costs)
{
    const Rate* rate = tariffAt(settings.activeTariff);
    return costs[0] + (rate != nullptr ? rate->cost[0] : 0.0);
}

double recordCost(const LogRecord* first, const LogRecord* target, int32_t tariffIndex)
{
    FreeUnitCounters counters {};
    for (const LogRecord* record = first; record != nullptr; record = record->next) {
        const double cost = computeCost(counters, *record, tariffIndex);
        if (record == target)
            return cost;
    }
    return 0.0;
}

bool trayTipFigures(TrayTipFigures& figures)
{
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
