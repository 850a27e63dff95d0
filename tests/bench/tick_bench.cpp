// The cost of one main-window timer tick, split into reading the counters, painting and the
// rest (slice rules, tray tip), the painting only of what the tick's figures moved: with 1 and with 16 live
// connections, and with a month of 100 and of 10,000 logged records; and with the machine's adapters that are up
// watched, where the tick looks at the adapter list itself because the system does not report their changes. A Windows
// program (it paints with GDI): run it under Wine through tools/bench tick.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "core/platform.h"
#include "core/programdirectory.h"
#include "log/statistics.h"
#include "meter/ticks.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"
#include "monitor/slicelog.h"
#include "monitor/watchedadapters.h"
#include "monitor/watcher.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/money_win.h"
#include "ui/formatters.h"
#include "ui/mainwindowstate.h"
#include "ui/viewparts.h"
#include "ui/views.h"

namespace {

void fillMonth(int records, const LocalTime& now)
{
    clearMonthCache();
    for (int i = 0; i < records; ++i) {
        LogRecord* record = new LogRecord {};
        record->start = { now.year, now.month, 0, uint16_t(1 + i % now.day), uint16_t(i % 24), 0, 0, 0 };
        record->dur = 600 + i % 3000;
        record->rx = 100000 + uint32_t(i) * 37;
        record->tx = 20000 + uint32_t(i) * 11;
        accountSlice(*record);
        appendMonthRecord(currentMonth, record);
    }
}

void startConnections(int count, const LocalTime& now)
{
    memset(&liveConnections, 0, sizeof liveConnections);
    for (int i = 0; i < count; ++i) {
        LiveConnection& connection = liveConnections.records[i];
        connection.handle = uintptr_t(100 + i);
        snprintf(connection.entryName, sizeof connection.entryName, "Provider %d", i);
        strcpy(connection.ipAddress, "127.0.0.1");
        connection.sliceStart = now;
        connection.sliceStartMs = monotonicMilliseconds();
        connection.lastInPackets = kNoReadingYet;
        for (int h = 0; h < kRateHistoryLength; ++h) {
            connection.receiveRateHistory[h] = uint32_t(5000 + (h * 37 + i) % 4000);
            connection.sendRateHistory[h] = uint32_t(800 + (h * 13 + i) % 900);
        }
    }
    liveConnections.count = uint32_t(count);
    setRunningSliceSource(runningSliceRecord);
}

double seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    static const double frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return double(value.QuadPart);
    }();
    return double(to.QuadPart - from.QuadPart) / frequency;
}

struct TickSplit {
    double counters = 0;
    double painting = 0;
    double rest = 0;
    double total() const { return counters + painting + rest; }
};

// What onTick does, without a window: the same calls in the same order, each part timed.
void tick(MainWindowState& state, HDC buffer, TickSplit& split)
{
    LARGE_INTEGER start, counted, ruled, painted, end;
    QueryPerformanceCounter(&start);
    watchConnectionsOnTick();
    QueryPerformanceCounter(&counted);
    const LocalTime now = localTimeNow();
    applyTickRules(state.lastTick, now);
    state.lastTick = now;
    const ShownFigures figures = currentShownFigures(now);
    const uint32_t work = decideTickWork(state.shown, figures, false);
    state.shown = figures;
    QueryPerformanceCounter(&ruled);

    // The paint that follows draws what the tick invalidated: the parts whose figures moved.
    HRGN invalid = CreateRectRgn(0, 0, 0, 0);
    RECT rects[kMaxTickRects];
    const int count = (work & kRedrawWindow) != 0 ? 0 : tickWorkRects(work, false, rects);
    for (int i = 0; i < count; ++i) {
        HRGN part = CreateRectRgnIndirect(&rects[i]);
        CombineRgn(invalid, invalid, part, RGN_OR);
        DeleteObject(part);
    }
    if ((work & kRedrawWindow) == 0)
        SelectClipRgn(buffer, invalid);
    if ((work & kRedrawWindow) != 0 || count != 0) {
        HDC source = CreateCompatibleDC(buffer);
        HGDIOBJ old = SelectObject(source, skinPicture(kElementMainWindow, kButtonEnabled));
        BitBlt(buffer, 0, 0, skin.windowWidth, skin.windowHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        paintStatistics(&state, buffer);
        RECT status = skin.rects[kElementStatusText];
        if (paintReaches(buffer, kRedrawStatusLine))
            DrawTextA(buffer, state.statusText, -1, &status, skin.textFormats[kElementStatusText]);
    }
    SelectClipRgn(buffer, nullptr);
    DeleteObject(invalid);
    QueryPerformanceCounter(&painted);

    TrafficTotals totals {};
    char tip[128] = "", volume[kFormattedValueSize], duration[kFormattedValueSize];
    if (monthTraffic(totals)) {
        formatVolume(totals.received + totals.sent, volume);
        formatDuration(totals.onlineSeconds, duration);
        snprintf(tip, sizeof tip, "%s, %s, ", volume, duration);
    }
    if (const double* costs = monthCost(0))
        formatTariffMoney(costs[0], tip + strlen(tip), 64 - int(strlen(tip)));
    QueryPerformanceCounter(&end);

    split.counters += seconds(start, counted);
    split.painting += seconds(ruled, painted);
    split.rest += seconds(counted, ruled) + seconds(painted, end);
}

// Ticks every adapter of the machine that is up with an IPv4 address; the first tick takes them
// into the table. Returns how many there are.
int watchAdaptersThatAreUp()
{
    watchedAdapters = WatchedAdapterList {};
    std::vector<NetworkAdapter> adapters;
    listNetworkAdapters(adapters);
    int up = 0;
    for (const NetworkAdapter& adapter : adapters)
        if (adapter.up && adapter.ipv4Address[0] != '\0' && watchAdapter(adapter.id, adapter.name))
            ++up;
    return up;
}

void measure(int connections, int records, int ticks, HDC buffer, TickSplit& split, bool adapters = false)
{
    MainWindowState state {};
    state.lastTick = localTimeNow();
    fillMonth(records, state.lastTick);
    startConnections(connections, state.lastTick);
    watchedAdapters = WatchedAdapterList {};
    if (adapters)
        watchAdaptersThatAreUp();
    TickSplit warmUp;
    tick(state, buffer, warmUp); // first readings and caches
    TickSplit sum;
    for (int i = 0; i < ticks; ++i)
        tick(state, buffer, sum);
    split.counters += sum.counters / ticks;
    split.painting += sum.painting / ticks;
    split.rest += sum.rest / ticks;
}

void printSplit(const char* what, const TickSplit& split)
{
    printf("%-34s %9.1f %9.1f %9.1f %9.1f\n", what, split.counters * 1e6, split.painting * 1e6, split.rest * 1e6,
        split.total() * 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fputs("usage: tick_bench DIST_FOLDER (with the default skin)\n", stderr);
        return 2;
    }
    char executable[MAX_PATH];
    snprintf(executable, sizeof executable, "%s\\tick_bench.exe", argv[1]);
    setProgramDirectoryFromPath(executable);
    resetSettings();
    // A volume tariff, so the Summary and the cost line are painted too.
    Rate* rate = new Rate {};
    strcpy(rate->name, "Bench");
    strcpy(rate->precision, "2");
    rate->unit = 1;
    rate->amount[0] = 100;
    rate->amount[2] = 1000;
    rate->cost[0] = 9.9;
    rate->cost[1] = 0.01;
    rate->cost[2] = 0.005;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    CoInitialize(nullptr);
    if (!loadSkin("default", kDesignDpi)) {
        fputs("tick_bench: the default skin does not load\n", stderr);
        return 1;
    }
    HDC screen = GetDC(nullptr);
    HDC buffer = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, skin.windowWidth, skin.windowHeight);
    SelectObject(buffer, bitmap);
    constexpr int kTicks = 200;
    constexpr int kRounds = 3;
    // Alternate the configurations so that drift of the machine affects all alike.
    const int adaptersUp = watchAdaptersThatAreUp();
    TickSplit one, sixteen, sixteenLarge, oneAdapters, sixteenAdapters;
    for (int round = 0; round < kRounds; ++round) {
        measure(1, 100, kTicks, buffer, one);
        measure(kMaxLiveConnections, 100, kTicks, buffer, sixteen);
        measure(kMaxLiveConnections, 10000, kTicks, buffer, sixteenLarge);
        measure(1, 100, kTicks, buffer, oneAdapters, true);
        measure(kMaxLiveConnections - adaptersUp, 100, kTicks, buffer, sixteenAdapters, true);
    }
    for (TickSplit* split : { &one, &sixteen, &sixteenLarge, &oneAdapters, &sixteenAdapters }) {
        split->counters /= kRounds;
        split->painting /= kRounds;
        split->rest /= kRounds;
    }
    printf("%-34s %9s %9s %9s %9s\n", "one tick (us)", "counters", "painting", "rest", "total");
    printSplit("1 connection, 100 records", one);
    printSplit("16 connections, 100 records", sixteen);
    printSplit("16 connections, 10000 records", sixteenLarge);
    char what[64];
    snprintf(what, sizeof what, "1 + %d adapters, 100 records", adaptersUp);
    printSplit(what, oneAdapters);
    snprintf(what, sizeof what, "%d + %d adapters, 100 records", kMaxLiveConnections - adaptersUp, adaptersUp);
    printSplit(what, sixteenAdapters);
    printf("ratio 16 / 1 connections (100 records):     %.3f (at most 1.3 wanted)\n", sixteen.total() / one.total());
    printf("ratio 10000 / 100 records (16 connections): %.3f (at most 1.2 wanted)\n",
        sixteenLarge.total() / sixteen.total());
    printf("ratio with / without watched adapters (16):  %.3f\n", sixteenAdapters.total() / sixteen.total());
    clearMonthCache();
    return 0;
}
