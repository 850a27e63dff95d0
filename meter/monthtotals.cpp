#include "meter/monthtotals.h"

#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
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

bool monthCostUnder(uint32_t monthKey, const Rate& rate, double& cost)
{
    const LogRecord* first = monthRecords(monthKey);
    // An empty month has no first record either; only a month that cannot be read has no costs.
    if (first == nullptr && monthCost(monthKey) == nullptr)
        return false;
    FreeUnitCounters counters {};
    double sum = rate.cost[0];
    for (const LogRecord* record = first; record != nullptr; record = record->next)
        sum += computeCostUnder(counters, *record, rate);
    LogRecord running;
    for (uint32_t index = 0; monthKey == 0 && runningSlice(index, running); ++index)
        sum += computeCostUnder(counters, running, rate);
    cost = sum;
    return true;
}

bool runningConnectionFigures(uint32_t index, RunningFigures& figures)
{
    const LiveConnection* connection = liveConnectionAt(index);
    if (connection == nullptr)
        return false;
    figures.seconds = int64_t(connection->earlierSeconds) + sliceSeconds(*connection);
    figures.cost = connection->earlierCost + runningSliceCost(index);
    return true;
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
