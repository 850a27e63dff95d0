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
#include "ui/mainwindow.h"
#include "ui/statusline.h"
#include "ui/trayicon.h"
#include "ui/viewparts.h"

namespace {

void setTickPeriod(MainWindowState* state, uint32_t periodMs)
{
    if (periodMs == state->tickPeriodMs)
        return; // setting it again would put the next tick off
    state->timer = SetTimer(state->window, kTickTimer, periodMs, nullptr);
    state->tickPeriodMs = periodMs;
}

// Only the parts of the window that changed; a hidden window is drawn whole when it shows.
void redraw(MainWindowState* state, uint32_t work)
{
    if ((work & kRedrawWindow) != 0) {
        invalidateAll(state, true);
        return;
    }
    if (!IsWindowVisible(state->window))
        return;
    // A year view shows the running month only in its own year.
    const bool yearShown = state->year.shown != 0;
    if (yearShown && state->year.year != monthKeyOf(state->lastTick) >> 16)
        work &= ~uint32_t(kRedrawVolumeChart | kRedrawTimeChart | kRedrawSummary);
    RECT rects[kMaxTickRects];
    const int count = tickWorkRects(work, yearShown, rects);
    for (int i = 0; i < count; ++i)
        InvalidateRect(state->window, &rects[i], FALSE);
}

} // namespace

void tickSoon(MainWindowState* state)
{
    state->tickAll = 1;
    setTickPeriod(state, settings.updateIntervalMs);
}

void onTick(MainWindowState* state)
{
    // Nothing that counts starts again inside counting that is under way.
    if (DeferredReports::active())
        return;
    const DeferredReports ticking;
    const LocalTime now = localTimeNow();
    countTick(state->lastTick, now);

    if (settings.alwaysOnTop && settings.onTopWhileOnline
        && int32_t(liveConnectionCount()) != state->lastTopmostCount) {
        state->lastTopmostCount = int32_t(liveConnectionCount());
        makeTopmost(state->window, state->lastTopmostCount != 0);
    }
    state->lastTick = now;

    const ShownFigures figures = currentShownFigures(now);
    const uint32_t work = decideTickWork(state->shown, figures, state->tickAll != 0);
    state->shown = figures;
    state->tickAll = 0;
    redraw(state, work);
    if ((work & kUpdateTrayTip) != 0)
        updateTrayTip(state);
    if ((work & kCheckAlerts) != 0)
        checkUsageAlerts(state);
    const uint32_t restMs = tickRestMs(now, currentTickNeeds());
    setTickPeriod(state, restMs != 0 ? restMs : settings.updateIntervalMs);
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
        // A rest measured before the sleep has no meaning after it.
        tickSoon(state);
    } else {
        return;
    }
    state->lastTick = now;
    invalidateAll(state, true);
}

void onConnectionSignal(MainWindowState* state)
{
    // A resting timer may have slept through midnight or a change of the tariff's period: its tick
    // comes first, so that a connection that came up is not cut at once by a change before it.
    if (state->tickPeriodMs != settings.updateIntervalMs)
        onTick(state);
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
    // A connection that came up is counted from the next tick on, however long the timer rested.
    tickSoon(state);
}
