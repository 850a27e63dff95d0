// The year at a glance: the twelve months of a year as bars of volume, online time and cost under
// the active tariff, the year's totals, and the keys and clicks that move between years and back
// to a month.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "core/scoped_win.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "skin/skin.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/money_win.h"
#include "ui/hovertips.h"
#include "ui/mainwindowhandlers.h"
#include "ui/tiptext.h"
#include "ui/viewmath.h"
#include "ui/views.h"

namespace {

uint32_t currentMonthKey(const MainWindowState* state)
{
    return currentMonth.key != 0 ? currentMonth.key : monthKeyOf(state->lastTick);
}

// The first year a month log exists for; `latest` when there is none.
uint16_t earliestLoggedYear(uint16_t latest)
{
    uint16_t earliest = latest;
    char pattern[MAX_PATH];
    if (!buildPathBeside("log_??????.zip", pattern, sizeof pattern))
        return earliest;
    ScopedFind search(pattern);
    if (!search.isOpen())
        return earliest;
    do {
        const char* name = search.found().cFileName;
        const uint16_t year = uint16_t(atoi(name + 4) / 100);
        if (year >= 1601 && year < earliest)
            earliest = year;
    } while (search.next());
    return earliest;
}

void askToRead(MainWindowState* state)
{
    if (state->year.readAsked)
        return;
    state->year.readAsked = true;
    PostMessageA(state->window, WM_READ_YEAR, 0, 0);
}

void showYear(MainWindowState* state, uint16_t year)
{
    const uint16_t latest = uint16_t(currentMonthKey(state) >> 16);
    year = std::clamp(year, earliestLoggedYear(latest), latest);
    if (year == state->year.year && state->year.read)
        return;
    hideHoverTip(state);
    state->year.year = year;
    state->year.read = false;
    askToRead(state);
    invalidateAll(state, true);
}

// The month `month` (1..12) of the shown year as the locale writes it, short ("Mar") or whole
// with its year ("March 2026").
void monthName(uint16_t year, int month, bool withYear, char* text, int size)
{
    SYSTEMTIME date {};
    date.wYear = year;
    date.wMonth = WORD(month);
    date.wDay = 1;
    const int written = withYear ? GetDateFormatA(LOCALE_USER_DEFAULT, DATE_YEARMONTH, &date, nullptr, text, size)
                                 : GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, "MMM", text, size);
    if (written == 0)
        snprintf(text, size_t(size), "%d", month);
}

double chartValue(const MonthTotals& month, uint32_t chart)
{
    switch (chart) {
    case kElementYearData:
        return double(month.volume);
    case kElementYearTime:
        return double(month.onlineTime);
    default:
        return month.cost();
    }
}

// A chart's figure as its caption and its tips show it.
void chartText(const YearTotals& totals, uint32_t chart, const MonthTotals* month, char* text, int size)
{
    char value[kFormattedValueSize];
    switch (chart) {
    case kElementYearData:
        formatVolume(month != nullptr ? month->volume : totals.volume, value);
        snprintf(text, size_t(size), "%s", value);
        break;
    case kElementYearTime:
        formatDuration(month != nullptr ? month->onlineTime : totals.onlineTime, value);
        snprintf(text, size_t(size), "%s", value);
        break;
    default:
        formatTariffMoney(month != nullptr ? month->cost() : totals.cost, text, size);
        break;
    }
}

void drawYearChart(const MainWindowState* state, HDC dc, uint32_t chart)
{
    const RECT& area = skin.rects[chart];
    const int32_t pitch = (area.right - area.left) / 12;
    if (pitch <= 0 || area.bottom <= area.top)
        return;
    const YearTotals& totals = state->year.totals;
    const uint32_t font = chart == kElementYearData ? kFontData : chart == kElementYearTime ? kFontTime : kFontSummary;
    const uint32_t caption = chart == kElementYearData ? IDS_YEAR_VOLUME
        : chart == kElementYearTime                    ? IDS_YEAR_TIME
                                                       : IDS_YEAR_COST;
    selectSkinFont(dc, kFontText);
    const int32_t h = zeroSize(dc).cy;

    char text[256];
    languageString(caption, text, sizeof text);
    SetTextColor(dc, skin.fontColors[kFontText]);
    RECT line = { area.left, area.top, area.right, area.top + h };
    DrawTextA(dc, text, -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    chartText(totals, chart, nullptr, text, sizeof text);
    SetTextColor(dc, skin.fontColors[font]);
    DrawTextA(dc, text, -1, &line, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);

    const int32_t barsTop = area.top + h + 2;
    const int32_t barsBottom = area.bottom - h - 1;
    double largest = 0;
    for (const MonthTotals& month : totals.months)
        largest = std::max(largest, chartValue(month, chart));
    // The month names as the locale abbreviates them, or their first letters where those do not fit.
    char names[12][32];
    int32_t widest = 0;
    for (int m = 0; m < 12; ++m) {
        monthName(totals.year, m + 1, false, names[m], sizeof names[m]);
        SIZE size {};
        GetTextExtentPoint32A(dc, names[m], int(strlen(names[m])), &size);
        widest = std::max<int32_t>(widest, size.cx);
    }
    const bool initials = widest > pitch - 2;
    const int32_t barWidth = std::max<int32_t>(1, pitch - std::max<int32_t>(2, pitch / 4));
    const uint32_t current = currentMonthKey(state);
    const ScopedBrush bars(CreateSolidBrush(skin.fontColors[font]));
    const ScopedPen base(CreatePen(PS_SOLID, 0, skin.fontColors[kFontText]));
    {
        const ScopedSelection selected(dc, base.get());
        MoveToEx(dc, area.left, barsBottom, nullptr);
        LineTo(dc, area.left + 12 * pitch, barsBottom);
    }
    for (int m = 0; m < 12; ++m) {
        const int32_t left = area.left + m * pitch;
        const int32_t height = barHeight(chartValue(totals.months[m], chart), largest, barsBottom - barsTop);
        if (height > 0) {
            RECT bar = { left + (pitch - barWidth) / 2, barsBottom - height, left + (pitch - barWidth) / 2 + barWidth,
                barsBottom };
            FillRect(dc, &bar, bars.get());
        }
        if (initials)
            names[m][1] = '\0';
        // The current month's name in the chart's colour: its bar grows while the month runs.
        const bool isCurrent = current == uint32_t(totals.year) * 65536u + uint32_t(m + 1);
        SetTextColor(dc, skin.fontColors[isCurrent ? font : kFontText]);
        RECT label = { left, barsBottom + 1, left + pitch, area.bottom };
        DrawTextA(dc, names[m], -1, &label, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SetTextColor(dc, skin.fontColors[kFontText]);
}

void drawYearHeading(const MainWindowState* state, HDC dc)
{
    char format[256], year[8], text[320];
    languageString(IDS_YEAR_HEADING, format, sizeof format);
    snprintf(year, sizeof year, "%u", unsigned(state->year.year));
    fillLabelFormat(format, year, text, sizeof text);
    selectSkinFont(dc, kFontHeading);
    SetTextColor(dc, skin.fontColors[kFontHeading]);
    RECT box = skin.rects[kElementHeading];
    DrawTextA(dc, text, -1, &box, skin.textFormats[kElementHeading]);
}

void drawYearTotals(const MainWindowState* state, HDC dc)
{
    const YearTotals& totals = state->year.totals;
    char text[1024];
    if (totals.monthsWithLog == 0) {
        char format[256], year[8];
        languageString(IDS_YEAR_NO_LOGS, format, sizeof format);
        snprintf(year, sizeof year, "%u", unsigned(totals.year));
        fillLabelFormat(format, year, text, sizeof text);
    } else {
        char volume[kFormattedValueSize], time[kFormattedValueSize], cost[128], pattern[512];
        formatVolume(totals.volume, volume);
        formatDuration(totals.onlineTime, time);
        formatTariffMoney(totals.cost, cost, sizeof cost);
        languageString(IDS_YEAR_TOTALS, pattern, sizeof pattern);
        const char* inserts[] = { volume, time, cost };
        fillInserts(pattern, inserts, 3, text, sizeof text);
    }
    selectSkinFont(dc, kFontSummary);
    SetTextColor(dc, skin.fontColors[kFontSummary]);
    RECT box = skin.rects[kElementYearSummary];
    DrawTextA(dc, text, -1, &box, skin.textFormats[kElementYearSummary] | DT_END_ELLIPSIS);
}

} // namespace

void showYearView(MainWindowState* state, bool shown)
{
    hideHoverTip(state);
    state->year.shown = shown;
    if (shown) {
        const uint32_t shownMonth = state->selectedMonth != 0 ? state->selectedMonth : currentMonthKey(state);
        state->year.read = false;
        state->year.year = 0;
        showYear(state, uint16_t(shownMonth >> 16));
    }
    invalidateAll(state, true);
}

void readShownYear(MainWindowState* state)
{
    if (state->year.shown) {
        // A damaged log is reported as it is read; the box's loop may paint meanwhile, and that
        // paint asks for no second reading while this one runs.
        const uint32_t generation = statisticsGeneration();
        if (!readYear(state->year.year, currentMonthKey(state), state->year.totals))
            reportError(0);
        state->year.read = true;
        state->year.generation = generation;
        invalidateAll(state, false);
    }
    state->year.readAsked = false;
}

bool onYearKey(MainWindowState* state, WPARAM key)
{
    switch (key) {
    case VK_LEFT:
        showYear(state, uint16_t(state->year.year - 1));
        return true;
    case VK_RIGHT:
        showYear(state, uint16_t(state->year.year + 1));
        return true;
    case VK_HOME:
        showYear(state, uint16_t(currentMonthKey(state) >> 16));
        return true;
    case VK_ESCAPE:
        showYearView(state, false);
        return true;
    default:
        return false;
    }
}

void openYearMonth(MainWindowState* state, uint32_t slot, POINT point)
{
    const RECT& chart = skin.rects[slot];
    const int32_t month = yearMonthAt(point.x, chart.left, chart.right);
    if (month == 0 || !state->year.read)
        return;
    const uint32_t key = uint32_t(state->year.year) * 65536u + uint32_t(month);
    state->selectedMonth = key == currentMonthKey(state) ? 0 : key;
    state->listScroll = 0;
    showYearView(state, false);
}

void paintYearView(MainWindowState* state, HDC dc)
{
    state->painted.summaryShown = false;
    state->painted.listShown = false;
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    drawYearHeading(state, dc);
    // The logs are read outside the paint: a damaged one is reported in a box.
    if (!state->year.read || state->year.generation != statisticsGeneration())
        askToRead(state);
    if (state->year.read) {
        refreshCurrentMonth(state->year.totals, currentMonthKey(state));
        for (uint32_t chart : { kElementYearData, kElementYearTime, kElementYearCost })
            drawYearChart(state, dc, chart);
        drawYearTotals(state, dc);
    }
    selectSkinFont(dc, kFontText);
    SetTextColor(dc, skin.fontColors[kFontText]);
}

void yearTipText(const MainWindowState* state, uint32_t slot, int32_t part, char* text, size_t size)
{
    text[0] = '\0';
    if (!state->year.read)
        return;
    const YearTotals& totals = state->year.totals;
    if (slot == kElementYearSummary) {
        char name[256];
        const Rate* rate = tariffAt(settings.activeTariff);
        if (rate != nullptr)
            snprintf(name, sizeof name, "%.*s", int(strnlen(rate->name, sizeof rate->name)), rate->name);
        yearTotalsTip(totals.monthsWithLog, rate != nullptr ? name : nullptr, text, size);
        return;
    }
    if (part < 1 || part > 12)
        return;
    const MonthTotals& month = totals.months[part - 1];
    char name[128], value[128], usage[128], fee[128];
    monthName(totals.year, part, true, name, sizeof name);
    chartText(totals, slot, &month, value, sizeof value);
    formatTariffMoney(month.usageCost, usage, sizeof usage);
    formatTariffMoney(month.fixedCost, fee, sizeof fee);
    const YearMonthFigures figures { slot, name, month.hasLog, month.running, value, usage, fee };
    yearMonthTip(figures, text, size);
}
