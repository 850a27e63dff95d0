#include "meter/ticks.h"

#include "meter/billingperiod.h"

TickDecision decideTick(
    const LocalTime& lastTick, const LocalTime& now, bool secondaryBefore, bool secondaryNow, uint32_t billingDay)
{
    TickDecision decision {};
    // The year counts too: a clock set back or forward by whole years still starts a new month.
    decision.monthChanged = monthKeyOf(lastTick) != monthKeyOf(now);
    decision.periodChanged = secondaryBefore != secondaryNow;
    // A slice running into the billing day ends there, so that each period's free units count
    // its own usage.
    decision.billingPeriodChanged = billingPeriodKeyOf(lastTick, billingDay) != billingPeriodKeyOf(now, billingDay);
    return decision;
}

uint32_t decideTickWork(const ShownFigures& before, const ShownFigures& now, bool refreshAll)
{
    constexpr uint32_t kEverything = kRedrawWindow | kUpdateTrayTip | kCheckAlerts;
    if (refreshAll || before.date != now.date || before.secondaryPeriod != now.secondaryPeriod
        || before.connections != now.connections || before.loggedVolume != now.loggedVolume
        || before.loggedSeconds != now.loggedSeconds)
        return kEverything;
    uint32_t work = 0;
    if (now.connections != 0)
        work |= kRedrawLiveGraph;
    // The Summary, the status line, the tip and the alerts speak of both.
    constexpr uint32_t kUsageMoved = kRedrawSummary | kRedrawStatusLine | kUpdateTrayTip | kCheckAlerts;
    if (before.liveVolume != now.liveVolume)
        work |= kRedrawVolumeChart | kUsageMoved;
    if (before.liveSeconds != now.liveSeconds)
        work |= kRedrawTimeChart | kUsageMoved;
    return work;
}

uint32_t tickRestMs(const LocalTime& now, const TickNeeds& needs)
{
    if (needs.counting || needs.retrying)
        return 0;
    constexpr uint64_t kDayMs = 24u * 3600u * 1000u;
    const uint64_t sinceMidnightMs
        = ((uint64_t(now.hour) * 60u + now.minute) * 60u + now.second) * 1000u + now.milliseconds;
    // A little past midnight, so that the tick finds the new date.
    const uint64_t untilMidnightMs = (sinceMidnightMs < kDayMs ? kDayMs - sinceMidnightMs : 0) + 500u;
    uint64_t rest = untilMidnightMs < kLongestTickRestMs ? untilMidnightMs : kLongestTickRestMs;
    // Just past the edge too, so that the tick finds the new period.
    for (uint32_t i = 0; i < needs.periodEdgeCount && i < 2; ++i) {
        const uint64_t edgeMs = uint64_t(needs.periodEdges[i]) * 1000u;
        if (edgeMs > sinceMidnightMs && edgeMs - sinceMidnightMs + 500u < rest)
            rest = edgeMs - sinceMidnightMs + 500u;
    }
    if (needs.pollingAdapters && rest > kAdapterPollMs)
        rest = kAdapterPollMs;
    return rest > kShortestTickRestMs ? uint32_t(rest) : kShortestTickRestMs;
}
