#include "core/apperror.h"
#include "core/deferredreports.h"
#include "log/statistics.h"
#include "meter/ticks.h"
#include "monitor/liveconnections.h"
#include "monitor/watcher.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

TickDecision applyTickRules(const LocalTime& lastTick, const LocalTime& now)
{
    const DeferredReports ticking;
    const TickDecision decision = decideTick(lastTick, now, isSecondaryPeriod(lastTick, settings.activeTariff),
        isSecondaryPeriod(now, settings.activeTariff), billingDayOf(tariffAt(settings.activeTariff)));
    // One cut for every change: a second one at the same moment would log an empty slice.
    if (decision.closeSlices())
        closeSlices(now);
    // The new month may already have a file (a clock set back): its records are read, so the
    // next write keeps them.
    if (decision.monthChanged && !startCurrentMonth())
        reportError(0);
    return decision;
}

TickDecision countTick(const LocalTime& lastTick, const LocalTime& now)
{
    const DeferredReports ticking;
    watchConnectionsOnTick();
    const TickDecision decision = applyTickRules(lastTick, now);
    retryUnsavedMonths();
    return decision;
}

void applySuspend(const LocalTime& now)
{
    const DeferredReports suspending;
    suspendSlices(now);
}

bool applyResume(const LocalTime& lastTick, const LocalTime& now)
{
    const DeferredReports resuming;
    if (!resumeSlices(now))
        return false;
    // The slices were logged when the machine went to sleep; a month that began meanwhile is
    // read without logging anything more.
    if (monthKeyOf(lastTick) != monthKeyOf(now) && !startCurrentMonth())
        reportError(0);
    return true;
}

ShownFigures currentShownFigures(const LocalTime& now)
{
    ShownFigures figures {};
    figures.date = monthKeyOf(now) * 256u + now.day;
    figures.secondaryPeriod = isSecondaryPeriod(now, settings.activeTariff);
    figures.connections = liveConnectionCount();
    figures.loggedVolume = currentMonth.volume[0];
    figures.loggedSeconds = currentMonth.onlineTime[0];
    TrafficTotals live {};
    liveTraffic(live, -1);
    figures.liveVolume = live.received + live.sent;
    figures.liveSeconds = live.onlineSeconds;
    return figures;
}

TickNeeds currentTickNeeds()
{
    TickNeeds needs {};
    needs.counting = watchingNeedsTicks();
    needs.retrying = unsavedMonthsWaiting();
    needs.pollingAdapters = adaptersNeedPolling();
    if (const Rate* rate = tariffAt(settings.activeTariff); rate != nullptr && rate->ltimeb != rate->ltimee) {
        for (const int32_t edge : { rate->ltimeb, rate->ltimee })
            if (edge >= 0)
                needs.periodEdges[needs.periodEdgeCount++] = uint32_t(edge);
    }
    return needs;
}
