// The statistics views: heading, the two month charts and the Summary of the active tariff.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/platform.h"
#include "core/scoped_win.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "meter/billingperiod.h"
#include "meter/monthtotals.h"
#include "monitor/liveconnections.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "tariff/tariffunits.h"
#include "ui/datetext.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/money_win.h"
#include "ui/viewmath.h"
#include "ui/viewparts.h"
#include "ui/views.h"

namespace {

void drawHeading(MainWindowState* state, HDC dc)
{
    char text[1024 + 260];
    languageString(IDS_STATISTICS_HEADING, text, 1024);
    uint16_t year = state->lastTick.year, month = state->lastTick.month;
    if (state->selectedMonth != 0) {
        year = uint16_t(state->selectedMonth >> 16);
        month = uint16_t(state->selectedMonth & 0xFFFF);
    }
    const size_t used = strlen(text);
    monthYearText(year, month, text + used, sizeof text - used);
    SetTextColor(dc, skin.fontColors[kFontHeading]);
    RECT box = skin.rects[kElementHeading];
    DrawTextA(dc, text, -1, &box, skin.textFormats[kElementHeading]);
}

// The Summary's column headings and row names in the Text font, where the skin places them:
// the headings over the columns' right edges, the names beside the rows.
void drawSummaryLabels(HDC dc, const RECT& area, int32_t w, int32_t h, bool secondaryRow)
{
    const RECT& headings = skin.rects[kElementSummaryColumns];
    const RECT& names = skin.rects[kElementSummaryRows];
    selectSkinFont(dc, kFontText);
    SetTextColor(dc, skin.fontColors[kFontText]);
    char text[128];
    if (!IsRectEmpty(&headings)) {
        SetTextAlign(dc, TA_RIGHT | TA_TOP);
        const uint32_t ids[] = { IDS_SUMMARY_USED, IDS_SUMMARY_LEFT, IDS_SUMMARY_PER_DAY, IDS_SUMMARY_COST };
        for (int column = 1; column <= 4; ++column) {
            languageString(ids[column - 1], text, sizeof text);
            TextOutA(dc, area.left + column * w, headings.top, text, int(strlen(text)));
        }
    }
    if (!IsRectEmpty(&names)) {
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        // Without free units of its own for the secondary period, row 0 holds the whole month.
        const uint32_t ids[] = { uint32_t(secondaryRow ? IDS_SUMMARY_MAIN_PERIOD : IDS_SUMMARY_MONTH),
            IDS_SUMMARY_SECONDARY_PERIOD, IDS_SUMMARY_TOTAL };
        for (int row = 0; row < 3; ++row) {
            if (row == 1 && !secondaryRow)
                continue;
            languageString(ids[row], text, sizeof text);
            RECT box = { names.left, area.top + row * h, names.right, area.top + (row + 1) * h };
            DrawTextA(dc, text, -1, &box, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
}

void drawSummary(MainWindowState* state, HDC dc, const Rate& rate, const BillingPeriod& period)
{
    selectSkinFont(dc, kFontSummary);
    SetTextColor(dc, skin.fontColors[kFontSummary]);
    const RECT& area = skin.rects[kElementSummary];
    const int32_t h = zeroSize(dc).cy;
    const int32_t w = (area.right - area.left) / 4;
    SetTextAlign(dc, TA_RIGHT | TA_TOP);

    char money[128];
    formatTariffMoney(period.usageCost, money, sizeof money);
    TextOutA(dc, area.left + 4 * w, area.top, money, int(strlen(money)));
    // Row 1's cost cell stays empty: the month's cost is not split by period, and the total
    // below counts every cost once.
    formatTariffMoney(monthTotalCost(&period.usageCost), money, sizeof money);
    TextOutA(dc, area.left + 4 * w, area.top + 2 * h, money, int(strlen(money)));

    const int64_t unit = unitSize(rate.unit);
    FreeUnitsTableLayout layout {};
    layout.dc = dc;
    layout.x0 = area.left;
    layout.y0 = area.top;
    layout.columnWidth = w;
    layout.lineHeight = h;
    layout.counters = &period.used;
    layout.freeMain = int64_t(rate.amount[0]) * unit;
    layout.freeSecondary = int64_t(rate.amount[1]) * unit;
    layout.daysLeft = period.daysLeft;
    layout.format = isVolumeUnit(rate.unit) ? formatVolume : formatDuration;
    drawFreeUnitsTable(layout);
    drawSummaryLabels(dc, area, w, h, layout.freeSecondary != 0);
    // The connection list draws with what the Summary leaves selected.
    selectSkinFont(dc, kFontSummary);
    SetTextColor(dc, skin.fontColors[kFontSummary]);
    state->painted.summaryShown = true;
    state->painted.secondaryRow = layout.freeSecondary != 0;
    state->painted.summaryColumnWidth = w;
    state->painted.summaryLineHeight = h;
    // The labels drawn after the Summary are placed with DrawText, which right alignment would
    // shift; the font and colour stay, as the connection list draws with them.
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

// Without a tariff there is nothing to price: the Summary says how to add one.
void drawTariffHint(HDC dc)
{
    char text[512];
    if (!languageString(IDS_NO_TARIFF, text, sizeof text))
        return;
    selectSkinFont(dc, kFontSummary);
    SetTextColor(dc, skin.fontColors[kFontSummary]);
    RECT area = skin.rects[kElementSummary];
    DrawTextA(dc, text, -1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    // The connection list after it draws in the Text font, as it does without a tariff.
    selectSkinFont(dc, kFontText);
    SetTextColor(dc, skin.fontColors[kFontText]);
}

} // namespace

void drawFreeUnitsTable(const FreeUnitsTableLayout& layout)
{
    const int64_t usedMain = layout.counters != nullptr ? layout.counters->used[0] : 0;
    const int64_t usedSecondary = layout.counters != nullptr ? layout.counters->used[1] : 0;
    FreeUnitsCells cells;
    computeFreeUnitsCells(
        usedMain, usedSecondary, layout.freeMain, layout.freeSecondary, layout.daysLeft, layout.format, &cells);
    for (int row = 0; row < 3; ++row) {
        if (row == 1 && !cells.secondaryRow)
            continue;
        for (int column = 0; column < 3; ++column) {
            const char* text = cells.text[row][column];
            if (text[0] != '\0')
                TextOutA(layout.dc, layout.x0 + (column + 1) * layout.columnWidth, layout.y0 + row * layout.lineHeight,
                    text, int(strlen(text)));
        }
    }
}

void drawDailyChart(HDC dc, uint32_t element, const int64_t* values, const double* costs, ChartKind kind)
{
    const RECT& chart = skin.rects[element];
    const RECT& labels = skin.rects[element + 1];
    const RECT& summary = skin.rects[element + 2];
    const ValueFormatter format = kind == ChartKind::volume ? formatVolume : formatDuration;
    const uint32_t chartFont = kind == ChartKind::volume ? kFontData : kFontTime;
    const int32_t height = chart.bottom - chart.top;
    const int32_t pitch = (chart.right - chart.left + 1) / 31;
    const int32_t h = zeroSize(dc).cy;

    const int64_t largest = largestDayValue(values);

    char text[256];
    format(values[0], text);
    if (liveConnectionCount() != 0) {
        TrafficTotals live {};
        liveTraffic(live, -1);
        char total[kFormattedValueSize], share[kFormattedValueSize], pattern[128];
        memcpy(total, text, sizeof total);
        format(kind == ChartKind::volume ? live.received + live.sent : int64_t(live.onlineSeconds), share);
        // The brackets say what they hold: the share of the connections running now.
        if (!languageString(IDS_CHART_RUNNING_SHARE, pattern, sizeof pattern))
            snprintf(pattern, sizeof pattern, "%%1 (%%2)");
        const char* inserts[] = { total, share };
        fillInserts(pattern, inserts, 2, text, sizeof text);
    }
    RECT summaryBox = summary;
    DrawTextA(dc, text, -1, &summaryBox, skin.textFormats[element + 2] | DT_END_ELLIPSIS);

    const LONG scaleTop = drawScaleLabels(dc, labels, chart.top, h, largest, format);

    int32_t daysWithValue = 0;
    {
        const ScopedBrush bars(CreateSolidBrush(skin.fontColors[chartFont]));
        const ScopedPen costPen(CreatePen(PS_SOLID, scaleToDpi(1, skin.dpi), skin.fontColors[kFontSummary]));
        const ScopedSelection selectedPen(dc, costPen.get());
        MoveToEx(dc, chart.left, chart.bottom, nullptr);
        const bool costLine = costs != nullptr && costs[0] != 0.0;
        double runningCost = 0.0;
        for (int day = 1; day <= 31; ++day) {
            const int32_t x = chart.left + (day - 1) * pitch;
            const int32_t bar = barHeight(values[day], largest, height);
            if (bar > 0) {
                RECT box = { x, chart.bottom - bar, x + pitch - 1, chart.bottom };
                FillRect(dc, &box, bars.get());
            }
            if (costLine) {
                runningCost += costs[day];
                LineTo(dc, x + pitch / 2, chart.bottom - int32_t(std::floor(runningCost / costs[0] * height + 0.5)));
            }
            if (values[day] != 0)
                ++daysWithValue;
        }
    }

    if (daysWithValue != 0 && largest > 0) {
        const int32_t y
            = chart.bottom - int32_t(std::floor(double(values[0]) * height / daysWithValue / double(largest) + 0.5));
        {
            const ScopedPen averagePen(CreatePen(PS_SOLID, scaleToDpi(1, skin.dpi), skin.fontColors[chartFont]));
            const ScopedSelection selectedPen(dc, averagePen.get());
            MoveToEx(dc, chart.left, y, nullptr);
            LineTo(dc, chart.right, y);
        }

        selectSkinFont(dc, chartFont);
        SetTextColor(dc, skin.fontColors[chartFont]);
        char average[kFormattedValueSize];
        const int averageNumber = formatInUnitOf(format, values[0] / daysWithValue, largest, average);
        drawNumberLabel(dc, average, averageNumber, labels, std::max<LONG>(y - h / 2, scaleTop + h));
    }
    SetTextColor(dc, skin.fontColors[kFontText]);
    selectSkinFont(dc, kFontText);
}

void paintStatistics(MainWindowState* state, HDC dc)
{
    SetTextColor(dc, skin.fontColors[kFontText]);
    SetBkMode(dc, TRANSPARENT);
    selectSkinFont(dc, kFontHeading);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    drawHeading(state, dc);

    // A month whose log cannot be read shows its heading and nothing else: no stale figures.
    const double* costs = monthCost(state->selectedMonth);
    const int64_t* volumes = monthVolume(state->selectedMonth);
    const int64_t* times = monthOnlineTime(state->selectedMonth);
    const bool monthAvailable = costs != nullptr && volumes != nullptr && times != nullptr;

    selectSkinFont(dc, kFontText);
    SetTextColor(dc, skin.fontColors[kFontText]);
    const Rate* rate = tariffAt(settings.activeTariff);
    // A part the paint does not reach keeps its picture, and what it told the tips.
    const bool summaryReached = paintReaches(dc, kRedrawSummary);
    if (summaryReached)
        state->painted.summaryShown = false;
    if (rate == nullptr && summaryReached)
        drawTariffHint(dc);
    if (monthAvailable) {
        const bool volumeTariff = rate != nullptr && isVolumeUnit(rate->unit);
        if (paintReaches(dc, kRedrawVolumeChart))
            drawDailyChart(dc, kElementData, volumes, volumeTariff ? costs : nullptr, ChartKind::volume);
        if (paintReaches(dc, kRedrawTimeChart))
            drawDailyChart(dc, kElementTime, times, volumeTariff ? nullptr : costs, ChartKind::time);
        // The Summary counts over the tariff's billing period, which need not be the month.
        BillingPeriod period;
        if (rate != nullptr && summaryReached && billingPeriodOf(state->selectedMonth, state->lastTick, period))
            drawSummary(state, dc, *rate, period);
    }
    // The connection list draws in what the Summary leaves selected, drawn or not.
    if (!summaryReached && rate != nullptr && monthAvailable) {
        selectSkinFont(dc, kFontSummary);
        SetTextColor(dc, skin.fontColors[kFontSummary]);
    }
    if (paintReaches(dc, kRedrawLiveGraph))
        paintLogArea(state, dc, monthAvailable);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SetBkMode(dc, TRANSPARENT);
}
