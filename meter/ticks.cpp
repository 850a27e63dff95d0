#include "meter/ticks.h"

TickDecision decideTick(const LocalTime& lastTick, const LocalTime& now, bool secondaryBefore, bool secondaryNow)
{
    TickDecision decision {};
    // The year counts too: a clock set back or forward by whole years still starts a new month.
    decision.monthChanged = monthKeyOf(lastTick) != monthKeyOf(now);
    decision.periodChanged = secondaryBefore != secondaryNow;
    return decision;
}
