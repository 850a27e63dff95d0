#include "ui/statusline.h"

#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "meter/monthtotals.h"
#include "monitor/liveconnections.h"
#include "ui/dialogs/money_win.h"
#include "ui/formatters.h"
#include "ui/viewparts.h"

namespace {

constexpr uint64_t kMessageMs = 15000;

} // namespace

void showStatusMessage(MainWindowState* state, const char* text)
{
    snprintf(state->statusText, sizeof state->statusText, "%s", text);
    state->statusShowsConnections = 0;
    state->statusMessageMs = GetTickCount64();
    // The status line alone: nothing else of the window changed.
    RECT rects[kMaxTickRects];
    const int count = tickWorkRects(kRedrawStatusLine, state->year.shown != 0, rects);
    for (int i = 0; i < count; ++i)
        InvalidateRect(state->window, &rects[i], FALSE);
}

bool runningConnectionText(uint32_t index, uint32_t patternId, char* text, size_t size)
{
    const LiveConnection* connection = liveConnectionAt(index);
    RunningFigures figures {};
    if (connection == nullptr || !runningConnectionFigures(index, figures))
        return false;
    char time[kFormattedValueSize], cost[128], pattern[256];
    formatClockDuration(figures.seconds, time);
    formatTariffMoney(figures.cost, cost, sizeof cost);
    languageString(patternId, pattern, sizeof pattern);
    const char* inserts[] = { connection->entryName, connection->ipAddress, time, cost };
    fillInserts(pattern, inserts, 4, text, size);
    return true;
}

void refreshConnectionStatus(MainWindowState* state)
{
    const bool messageShows = state->statusText[0] != '\0' && !state->statusShowsConnections;
    if (messageShows && (liveConnectionCount() == 0 || GetTickCount64() - state->statusMessageMs < kMessageMs))
        return;
    char* line = state->statusText;
    const size_t size = sizeof state->statusText;
    line[0] = '\0';
    char separator[16];
    languageString(IDS_STATUS_CONNECTION_SEPARATOR, separator, sizeof separator);
    char one[sizeof state->statusText];
    for (uint32_t index = 0; runningConnectionText(index, IDS_STATUS_CONNECTION, one, sizeof one); ++index) {
        const size_t used = strlen(line);
        snprintf(line + used, size - used, "%s%s", used != 0 ? separator : "", one);
    }
    state->statusShowsConnections = line[0] != '\0';
}
