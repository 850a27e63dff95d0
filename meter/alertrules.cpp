#include "meter/alertrules.h"

#include <cstring>

#include "core/platform.h"
#include "log/statistics.h"
#include "meter/billingperiod.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "tariff/tariffunits.h"

namespace {

// Fires when the figure has reached the level and the alert has not fired this month at this
// level or a higher one.
bool firesNow(FiredAlert& fired, uint32_t monthKey, bool reached, double level)
{
    if (!reached || (fired.monthKey == monthKey && fired.level >= level))
        return false;
    fired.monthKey = monthKey;
    fired.level = level;
    return true;
}

// Nothing charged yet is no limit reached, even for a limit of 0.
bool limitReached(const Alerts& alerts, const AlertFigures& figures)
{
    return alerts.limitOn && figures.monthCost > 0 && figures.monthCost >= alerts.limit;
}

// The connections asked to hang up whose end the service has not signalled yet: each is asked
// once, so a slow hang-up is neither asked for nor shown again at every tick.
uintptr_t askedToHangUp[kMaxLiveConnections];
uint32_t askedCount;

// Asks the service to end every running connection not asked before; true when there was one.
bool hangUpNewConnections()
{
    uintptr_t stillUp[kMaxLiveConnections];
    uint32_t stillUpCount = 0;
    bool hungUp = false;
    for (uint32_t index = 0; index < liveConnectionCount(); ++index) {
        // A network adapter cannot be hung up.
        if (liveConnectionAt(index)->isAdapter)
            continue;
        const uintptr_t handle = liveConnectionAt(index)->handle;
        bool asked = false;
        for (uint32_t i = 0; i < askedCount; ++i)
            asked = asked || askedToHangUp[i] == handle;
        if (!asked) {
            hangUpRemoteConnection(handle);
            hungUp = true;
        }
        stillUp[stillUpCount++] = handle;
    }
    memcpy(askedToHangUp, stillUp, sizeof stillUp);
    askedCount = stillUpCount;
    return hungUp;
}

} // namespace

unsigned fireAlerts(Alerts& alerts, const AlertFigures& figures)
{
    unsigned fired = 0;
    for (int slot = 0; slot < kUsageAlertCount; ++slot) {
        const double percent = alerts.usagePercent[slot];
        // In floating point: a hundred times the free units of a gigabyte tariff passes 2^63.
        const bool reached = alerts.usageOn[slot] && figures.freeUnits > 0
            && double(figures.usedUnits) * 100.0 >= percent * double(figures.freeUnits);
        if (firesNow(alerts.fired[slot], figures.monthKey, reached, percent))
            fired |= 1u << slot;
    }
    if (firesNow(alerts.fired[kMoneyAlert], figures.monthKey, limitReached(alerts, figures), alerts.limit))
        fired |= 1u << kMoneyAlert;
    return fired;
}

AlertFigures currentAlertFigures()
{
    AlertFigures figures {};
    const LocalTime now = localTimeNow();
    const Rate* rate = tariffAt(settings.activeTariff);
    // Each alert shows once a billing period: the key of the month the period began in.
    figures.monthKey = billingPeriodKeyOf(now, billingDayOf(rate));
    BillingPeriod period;
    const bool available = billingPeriodOf(0, now, period);
    figures.monthCost = available ? period.usageCost : 0.0;
    if (rate != nullptr) {
        figures.monthCost += rate->cost[0];
        figures.freeUnits = freeUnitsOf(*rate);
    }
    if (available)
        figures.usedUnits = period.used.used[0] + period.used.used[1];
    return figures;
}

AlertCheck checkAlerts()
{
    AlertCheck check {};
    check.saved = true;
    check.figures = currentAlertFigures();
    check.fired = fireAlerts(alerts, check.figures);
    if (check.fired != 0)
        check.saved = saveAlerts();
    // The limit holds as long as it is reached: a connection dialled afterwards is hung up too.
    if (alerts.hangUp && limitReached(alerts, check.figures))
        check.hungUp = hangUpNewConnections();
    else
        askedCount = 0;
    return check;
}

bool freeUnitsLeft(uint32_t monthKey, int64_t* left, bool* isVolume)
{
    const Rate* rate = tariffAt(settings.activeTariff);
    if (rate == nullptr || freeUnitsOf(*rate) == 0)
        return false;
    BillingPeriod period;
    if (!billingPeriodOf(monthKey, localTimeNow(), period))
        return false;
    *left = freeUnitsOf(*rate) - period.used.used[0] - period.used.used[1];
    *isVolume = isVolumeUnit(rate->unit);
    return true;
}
