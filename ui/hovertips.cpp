// What the figure under the pointer means, in the tip window.
#include "ui/hovertips.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "lang/ids.h"
#include "log/statistics.h"
#include "meter/billingperiod.h"
#include "meter/monthtotals.h"
#include "monitor/liveconnections.h"
#include "skin/skin.h"
#include "skin/tooltip.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "tariff/tariffunits.h"
#include "ui/datetext.h"
#include "ui/dialogs/money_win.h"
#include "ui/tiptext.h"
#include "ui/viewmath.h"
#include "ui/views.h"

namespace {

// The tip's bottom-left corner sits this far right of and above the pointer.
constexpr int kTipOffsetX = 5;
constexpr int kTipOffsetY = -5;

// What the pointer rests on: a skin slot and the part of it (a Summary cell, a day, a list
// row), so that moving within one part keeps its tip where it is.
struct HoverTarget {
    int32_t slot; // -1: nothing that explains itself
    int32_t part;
    bool operator==(const HoverTarget&) const = default;
};
constexpr HoverTarget kNothing = { -1, 0 };

HoverTarget shownTarget(const MainWindowState* state) { return { state->hover.slot, state->hover.part }; }

void keepShownTarget(MainWindowState* state, const HoverTarget& target)
{
    state->hover.slot = target.slot;
    state->hover.part = target.part;
}

// The month the window shows, as a date of its day `day`.
SYSTEMTIME shownDay(const MainWindowState* state, int32_t day)
{
    SYSTEMTIME date {};
    date.wYear = state->selectedMonth != 0 ? WORD(state->selectedMonth >> 16) : state->lastTick.year;
    date.wMonth = state->selectedMonth != 0 ? WORD(state->selectedMonth & 0xFFFF) : state->lastTick.month;
    date.wDay = WORD(day);
    return date;
}

// The active tariff's name, ended inside its field; empty without a tariff.
void activeTariffName(char* name, size_t size)
{
    name[0] = '\0';
    if (const Rate* rate = tariffAt(settings.activeTariff))
        snprintf(name, size, "%.*s", int(strnlen(rate->name, sizeof rate->name)), rate->name);
}

bool chartCarriesCosts(uint32_t chart)
{
    const Rate* rate = tariffAt(settings.activeTariff);
    return rate != nullptr && (isVolumeUnit(rate->unit) == (chart == kElementData));
}

const int64_t* chartValues(const MainWindowState* state, uint32_t chart)
{
    return chart == kElementData ? monthVolume(state->selectedMonth) : monthOnlineTime(state->selectedMonth);
}

HoverTarget targetAt(const MainWindowState* state, POINT point, int32_t slot)
{
    const PaintedLayout& painted = state->painted;
    const bool live = liveConnectionCount() != 0;
    switch (slot) {
    case kElementSummary: {
        if (!painted.summaryShown)
            return kNothing;
        const RECT& area = skin.rects[kElementSummary];
        const SummaryCell cell = summaryCellAt(point.x, point.y, area.left, area.top, painted.summaryColumnWidth,
            painted.summaryLineHeight, painted.secondaryRow);
        // Without a secondary row the total row shows its money only.
        if (cell.row < 0 || (cell.row == 2 && cell.column < 4 && !painted.secondaryRow))
            return kNothing;
        return HoverTarget { slot, cell.row * 8 + cell.column };
    }
    case kElementData:
    case kElementTime: {
        const RECT& chart = skin.rects[slot];
        const int32_t day = chartDayAt(point.x, chart.left, (chart.right - chart.left + 1) / 31);
        const SYSTEMTIME date = shownDay(state, 1);
        if (day == 0 || day > daysInMonth(date.wYear, date.wMonth))
            return kNothing;
        return { slot, day };
    }
    case kElementDataText:
    case kElementTimeText:
    case kElementDataSummary:
    case kElementTimeSummary:
        return { slot, 0 };
    case kElementLogText:
    case kElementLogScroll: // beside the list while it shows, among the graph's labels otherwise
        return live ? HoverTarget { kElementLog, -1 } : kNothing;
    case kElementLog: {
        if (live)
            return { slot, -1 };
        if (!painted.listShown)
            return kNothing;
        const int32_t row
            = listRowAt(point.y, skin.rects[kElementLog].top, painted.listLineHeight, painted.listRowsShown);
        return row < 0 ? kNothing : HoverTarget { slot, state->listScroll + row };
    }
    case kElementMenuButton:
    case kElementMinimizeButton:
    case kElementCloseButton:
    case kElementTariffButton:
    case kElementYearSummary:
        return { slot, 0 };
    case kElementStatusText:
        return painted.statusCut ? HoverTarget { slot, 0 } : kNothing;
    case kElementYearData:
    case kElementYearTime:
    case kElementYearCost: {
        const RECT& chart = skin.rects[slot];
        const int32_t month = yearMonthAt(point.x, chart.left, chart.right);
        return month == 0 ? kNothing : HoverTarget { slot, month };
    }
    default:
        return kNothing;
    }
}

// A date as the locale writes it short.
void shortDate(const LocalTime& date, char* text, size_t size)
{
    const SYSTEMTIME when = systemTimeOf(date);
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, text, int(size)) == 0)
        text[0] = '\0';
}

void summaryText(const MainWindowState* state, int32_t part, char* text, size_t size)
{
    const Rate* rate = tariffAt(settings.activeTariff);
    BillingPeriod period;
    if (rate == nullptr || !billingPeriodOf(state->selectedMonth, state->lastTick, period))
        return;
    char monthCostText[128], totalText[128], feeText[128], name[256], first[64], last[64];
    formatTariffMoney(period.usageCost, monthCostText, sizeof monthCostText);
    formatTariffMoney(monthTotalCost(&period.usageCost), totalText, sizeof totalText);
    formatTariffMoney(rate->cost[0], feeText, sizeof feeText);
    activeTariffName(name, sizeof name);
    shortDate(period.first, first, sizeof first);
    shortDate(period.last, last, sizeof last);
    const int64_t unit = unitSize(rate->unit);
    SummaryFigures figures {};
    figures.secondaryRow = rate->amount[1] != 0;
    figures.used[0] = period.used.used[0];
    figures.used[1] = period.used.used[1];
    figures.freeUnits[0] = int64_t(rate->amount[0]) * unit;
    figures.freeUnits[1] = int64_t(rate->amount[1]) * unit;
    figures.daysLeft = period.daysLeft;
    figures.pastMonth = state->selectedMonth != 0;
    figures.format = isVolumeUnit(rate->unit) ? formatVolume : formatDuration;
    figures.monthCost = monthCostText;
    figures.totalCost = totalText;
    figures.monthlyFee = feeText;
    figures.tariffName = name;
    figures.billingPeriodFirst = period.billingDay != 1 ? first : nullptr;
    figures.billingPeriodLast = last;
    summaryCellTip(figures, part / 8, part % 8, text, size);
}

void dayText(const MainWindowState* state, uint32_t chart, int32_t day, char* text, size_t size)
{
    const int64_t* values = chartValues(state, chart);
    if (values == nullptr)
        return;
    const int64_t value = values[day];
    char cost[128];
    const bool withCost = chartCarriesCosts(chart);
    if (withCost) {
        const double* costs = monthCost(state->selectedMonth);
        formatTariffMoney(costs != nullptr ? costs[day] : 0.0, cost, sizeof cost);
    }
    const SYSTEMTIME date = shownDay(state, day);
    char dateText[128];
    longDateText(date.wYear, date.wMonth, date.wDay, dateText, sizeof dateText);
    chartDayTip(chart == kElementData, dateText, value, withCost ? cost : nullptr, text, size);
}

void labelsText(const MainWindowState* state, uint32_t chart, char* text, size_t size)
{
    const int64_t* values = chartValues(state, chart);
    if (values == nullptr)
        return;
    int32_t days = 0;
    for (int day = 1; day < kMonthSlots; ++day)
        days += values[day] != 0;
    chartLabelsTip(chart == kElementData ? formatVolume : formatDuration, largestDayValue(values),
        days != 0 ? values[0] / days : 0, days, text, size);
}

void monthTotalText(const MainWindowState* state, uint32_t chart, char* text, size_t size)
{
    const int64_t* values = chartValues(state, chart);
    if (values == nullptr)
        return;
    const bool running = liveConnectionCount() != 0;
    TrafficTotals live {};
    if (running)
        liveTraffic(live, -1);
    const bool volume = chart == kElementData;
    monthTotalTip(
        volume, values[0], running, volume ? live.received + live.sent : int64_t(live.onlineSeconds), text, size);
}

void recordText(const MainWindowState* state, int32_t index, char* text, size_t size)
{
    const MonthStats* month = monthStats(state->selectedMonth);
    const LogRecord* first = month != nullptr ? month->records.head : nullptr;
    int64_t totalVolume = 0, totalDuration = 0;
    int32_t at = 0;
    for (const LogRecord* record = first; record != nullptr; record = record->next, ++at) {
        totalVolume += recordVolume(*record);
        totalDuration += record->dur;
        if (at != index)
            continue;
        const SYSTEMTIME start = systemTimeOf(record->start);
        char date[64], time[64], cost[128], name[256];
        if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &start, nullptr, date, sizeof date) == 0)
            date[0] = '\0';
        if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &start, nullptr, time, sizeof time) == 0)
            time[0] = '\0';
        const bool priced = tariffAt(settings.activeTariff) != nullptr;
        if (priced)
            formatTariffMoney(recordCost(*month, record), cost, sizeof cost);
        activeTariffName(name, sizeof name);
        const RecordFigures figures { index + 1, date, time, int64_t(record->dur), correctedVolume(record->rx),
            correctedVolume(record->tx), priced ? cost : nullptr, name, totalDuration, totalVolume };
        recordTip(figures, text, size);
        return;
    }
}

void liveText(char* text, size_t size)
{
    const uint32_t count = liveConnectionCount();
    if (count == 0)
        return;
    const LiveConnection& connection = *liveConnectionAt(count - 1);
    // The graph's columns: as many entries as it draws.
    const RECT& graph = skin.rects[kElementLog];
    const int32_t columns = std::clamp<int32_t>(graph.right - graph.left, 1, kRateHistoryLength);
    uint64_t sums[2] = {}, counts[2] = {};
    uint32_t largest = 0;
    for (int32_t i = 0; i < columns; ++i) {
        const uint32_t rates[2] = { connection.receiveRateHistory[i], connection.sendRateHistory[i] };
        for (int direction = 0; direction < 2; ++direction) {
            sums[direction] += rates[direction];
            counts[direction] += rates[direction] != 0;
            largest = std::max(largest, rates[direction]);
        }
    }
    liveGraphTip(connection.entryName, connection.receiveRateHistory[0], connection.sendRateHistory[0],
        counts[0] != 0 ? int64_t(sums[0] / counts[0]) : 0, counts[1] != 0 ? int64_t(sums[1] / counts[1]) : 0, largest,
        text, size);
}

void tipTextOf(const MainWindowState* state, const HoverTarget& target, char* text, size_t size)
{
    text[0] = '\0';
    switch (target.slot) {
    case kElementSummary:
        summaryText(state, target.part, text, size);
        break;
    case kElementData:
    case kElementTime:
        dayText(state, uint32_t(target.slot), target.part, text, size);
        break;
    case kElementDataText:
        labelsText(state, kElementData, text, size);
        break;
    case kElementTimeText:
        labelsText(state, kElementTime, text, size);
        break;
    case kElementDataSummary:
        monthTotalText(state, kElementData, text, size);
        break;
    case kElementTimeSummary:
        monthTotalText(state, kElementTime, text, size);
        break;
    case kElementLog:
        if (target.part < 0)
            liveText(text, size);
        else
            recordText(state, target.part, text, size);
        break;
    case kElementStatusText:
        snprintf(text, size, "%s", state->statusText);
        break;
    case kElementYearData:
    case kElementYearTime:
    case kElementYearCost:
    case kElementYearSummary:
        yearTipText(state, uint32_t(target.slot), target.part, text, size);
        break;
    default: {
        char name[256];
        activeTariffName(name, sizeof name);
        buttonTip(uint32_t(target.slot), tariffAt(settings.activeTariff) != nullptr ? name : nullptr, text, size);
        break;
    }
    }
}

bool tipShowingNow() { return (tipState.tipFlags & TIP_SHOW) != 0 && (tipState.tipFlags & TIP_DELAYED) == 0; }

} // namespace

void updateHoverTip(MainWindowState* state, POINT client, int32_t slot)
{
    if (ensureTipWindow(state->host->instance) == nullptr)
        return;
    if (!state->hover.leaveTracked) {
        TRACKMOUSEEVENT leave { sizeof leave, TME_LEAVE, state->window, 0 };
        state->hover.leaveTracked = TrackMouseEvent(&leave) != FALSE;
    }
    const HoverTarget target = targetAt(state, client, slot);
    if (target == shownTarget(state))
        return;
    keepShownTarget(state, target);
    char text[kTipTextSize] = "";
    if (target.slot >= 0)
        tipTextOf(state, target, text, sizeof text);
    if (text[0] == '\0') {
        hideHoverTip(state);
        return;
    }
    // Once a tip shows, the next figure's tip follows at once; the first one waits.
    const uint32_t flags = TIP_SHOW | TIP_FOLLOW | (tipShowingNow() ? 0 : TIP_DELAYED);
    SendMessageA(tipWindow, WM_SETTEXT, 0, LPARAM(text));
    SendMessageA(tipWindow, WM_TIP_SHOW, flags, MAKELPARAM(uint16_t(kTipOffsetX), uint16_t(int16_t(kTipOffsetY))));
}

void refreshHoverTip(MainWindowState* state, POINT client, int32_t slot)
{
    if (tipWindow == nullptr || state->hover.slot < 0)
        return;
    const HoverTarget target = targetAt(state, client, slot);
    if (!(target == shownTarget(state))) {
        updateHoverTip(state, client, slot);
        return;
    }
    char text[kTipTextSize] = "";
    tipTextOf(state, target, text, sizeof text);
    if (text[0] == '\0')
        hideHoverTip(state);
    else if (strcmp(text, tipState.tipText) != 0)
        SendMessageA(tipWindow, WM_SETTEXT, 0, LPARAM(text));
}

void hideHoverTip(MainWindowState* state)
{
    keepShownTarget(state, kNothing);
    state->hover.leaveTracked = false;
    if (tipWindow != nullptr && (tipState.tipFlags & TIP_SHOW) != 0)
        SendMessageA(tipWindow, WM_TIP_SHOW, 0, 0);
}
