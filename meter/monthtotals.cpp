#include "ui/traytip.h"

#include "log/statistics.h"
#include "ui/viewmath.h"

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
