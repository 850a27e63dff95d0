// The main window's timer tick and what the system reports to it: connections that come and go,
// sleep and wake.
#include "ui/mainwindowhandlers.h"

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/platform.h"
#include "meter/ticks.h"
#include "monitor/liveconnections.h"
#include "monitor/watcher.h"
#include "tariff/settings.h"
#include "ui/alertnotice.h"
#include "ui/statusline.h"
#include "ui/trayicon.h"

void onTick(MainWindowState* state)
{
    // Nothing that counts starts again inside counting that is under way.
    if (DeferredReports::active())
        return;
    const DeferredReports ticking;
    const LocalTime now = localTimeNow();
    const TickDecision decision = countTick(state->lastTick, now);

    if (settings.alwaysOnTop && settings.onTopWhileOnline
        && int32_t(liveConnectionCount()) != state->lastTopmostCount) {
        state->lastTopmostCount = int32_t(liveConnectionCount());
        makeTopmost(state->window, state->lastTopmostCount != 0);
    }

    if (decision.monthChanged)
        invalidateAll(state, true);
    state->lastTick = now;

    if (IsWindowVisible(state->window))
        invalidateAll(state, false);
    updateTrayTip(state);
    checkUsageAlerts(state);
}

// Sleep is no time online: the slices end when the machine goes to sleep and start again when
// it wakes, with fresh counter readings. Windows tells one wake-up twice (PBT_APMRESUMEAUTOMATIC,
// then PBT_APMRESUMESUSPEND once the user is there); only the first after a sleep counts.
void onPowerBroadcast(MainWindowState* state, WPARAM event)
{
    const DeferredReports reporting;
    const LocalTime now = localTimeNow();
    if (event == PBT_APMSUSPEND) {
        applySuspend(now);
    } else if (event == PBT_APMRESUMESUSPEND || event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMECRITICAL) {
        if (!applyResume(state->lastTick, now))
            return;
    } else {
        return;
    }
    state->lastTick = now;
    invalidateAll(state, true);
}

void onConnectionSignal(MainWindowState* state)
{
    const DeferredReports scanning;
    const uint32_t countBefore = liveConnectionCount();
    if (!rescanConnections())
        reportError(0);
    // A connection that comes up takes the status line back from an older message (a dial that
    // failed before); the line names the connections that run from the next paint on.
    if (liveConnectionCount() > countBefore)
        showStatusMessage(state, "");
    updateTrayIcon(state);
    invalidateAll(state, true);
}
