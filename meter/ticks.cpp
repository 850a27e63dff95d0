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
