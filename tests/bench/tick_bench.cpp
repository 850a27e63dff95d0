// The cost of one main-window timer tick with 16 live connections, for a month of 100 and of
// 10,000 logged records: traffic read, slice rules, a full paint into a back buffer, tray tip.
// A Windows program (it paints with GDI): run it under Wine through tools/bench tick.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "core/programdirectory.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/traffic.h"
#include "skin/skin.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/formatters.h"
#include "ui/mainwindowstate.h"
#include "ui/ticks.h"
#include "ui/views.h"

namespace {

void fillMonth(int records, const LocalTime& now)
{
    clearMonthCache();
    for (int i = 0; i < records; ++i) {
        LogRecord* record = new LogRecord{};
        record->start = {now.year, now.month, 0, uint16_t(1 + i % now.day), uint16_t(i % 24), 0, 0, 0};
        record->dur = 600 + i % 3000;
        record->rx = 100000 + uint32_t(i) * 37;
        record->tx = 20000 + uint32_t(i) * 11;
        accountSlice(*record);
        appendMonthRecord(currentMonth, record);
    }
}

void startConnections(const LocalTime& now)
{
    memset(&liveConnections, 0, sizeof liveConnections);
    for (int i = 0; i < kMaxLiveConnections; ++i) {
        LiveConnection& connection = liveConnections.records[i];
        connection.handle = uintptr_t(100 + i);
        snprintf(connection.entryName, sizeof connection.entryName, "Provider %d", i);
        strcpy(connection.ipAddress, "127.0.0.1");
        connection.sliceStart = now;
        connection.lastInPackets = kNoReadingYet;
        for (int h = 0; h < kRateHistoryLength; ++h) {
            connection.receiveRateHistory[h] = uint32_t(5000 + (h * 37 + i) % 4000);
            connection.sendRateHistory[h] = uint32_t(800 + (h * 13 + i) % 900);
        }
    }
    liveConnections.count = kMaxLiveConnections;
}

// What onTick does, without a window: the same calls in the same order.
void tick(MainWindowState& state, HDC buffer)
{
    updateTraffic(settings.updateIntervalMs);
    const LocalTime now = localTimeNow();
    applyTickRules(state.lastTick, now);
    state.lastTick = now;

    HDC source = CreateCompatibleDC(buffer);
    HGDIOBJ old = SelectObject(source, skin.images[kElementMainWindow][kButtonEnabled]);
    BitBlt(buffer, 0, 0, skin.windowWidth, skin.windowHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
    paintStatistics(&state, buffer);
    RECT status = skin.rects[kElementStatusText];
    DrawTextA(buffer, state.statusText, -1, &status, skin.textFormats[kElementStatusText]);

    TrafficTotals totals{};
    char tip[128], volume[kFormattedValueSize], duration[kFormattedValueSize];
    if (monthTraffic(totals)) {
        formatVolume(totals.received + totals.sent, volume);
        formatDuration(totals.onlineSeconds, duration);
        snprintf(tip, sizeof tip, "%s, %s, ", volume, duration);
    }
    if (const double* costs = monthCost(0))
        formatTariffMoney(costs[0], tip + strlen(tip), 64 - int(strlen(tip)));
}

double secondsPerTick(int records, int ticks, HDC buffer)
{
    MainWindowState state{};
    state.lastTick = localTimeNow();
    fillMonth(records, state.lastTick);
    startConnections(state.lastTick);
    tick(state, buffer);  // first readings and caches
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < ticks; ++i)
        tick(state, buffer);
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / ticks;
}

}  // namespace

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
    Rate* rate = new Rate{};
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
    if (!loadSkin("default")) {
        fputs("tick_bench: the default skin does not load\n", stderr);
        return 1;
    }
    HDC screen = GetDC(nullptr);
    HDC buffer = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, skin.windowWidth, skin.windowHeight);
    SelectObject(buffer, bitmap);
    constexpr int kTicks = 300;
    // Alternate the two sizes so that drift of the machine affects both alike.
    double small = 0, large = 0;
    for (int round = 0; round < 3; ++round) {
        small += secondsPerTick(100, kTicks, buffer);
        large += secondsPerTick(10000, kTicks, buffer);
    }
    small /= 3;
    large /= 3;
    printf("one tick, 16 connections, 100 records:    %8.1f us\n", small * 1e6);
    printf("one tick, 16 connections, 10000 records:  %8.1f us\n", large * 1e6);
    printf("ratio 10000 / 100: %.3f (at most 1.2 wanted)\n", large / small);
    clearMonthCache();
    return 0;
}
