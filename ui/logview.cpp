// The log area: the live graph of the connection registered last, or the month's list.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/money_win.h"
#include "ui/viewmath.h"
#include "ui/views.h"

namespace {

void drawCell(HDC dc, int32_t right, int32_t y, const char* text) { TextOutA(dc, right, y, text, int(strlen(text))); }

// The columns of a list row: start date and time in the user's formats, duration, volume, cost
// under the active tariff, and the running totals of duration and volume.
constexpr int kListColumns = 7;
constexpr int kCostColumn = 4;
struct ListRowTexts {
    char cells[kListColumns][kFormattedValueSize];
};

void listRowTexts(const LogRecord& record, int64_t volume, const double* cost, int64_t totalDuration,
    int64_t totalVolume, ListRowTexts& texts)
{
    const SYSTEMTIME start = systemTimeOf(record.start);
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &start, nullptr, texts.cells[0], kFormattedValueSize) == 0)
        texts.cells[0][0] = '\0';
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &start, nullptr, texts.cells[1], kFormattedValueSize) == 0)
        texts.cells[1][0] = '\0';
    formatDuration(record.dur, texts.cells[2]);
    formatVolume(volume, texts.cells[3]);
    texts.cells[kCostColumn][0] = '\0';
    if (cost != nullptr)
        formatTariffMoney(*cost, texts.cells[kCostColumn], kFormattedValueSize);
    formatDuration(totalDuration, texts.cells[5]);
    formatVolume(totalVolume, texts.cells[6]);
}

int32_t textWidth(HDC dc, const char* text)
{
    SIZE size {};
    GetTextExtentPoint32A(dc, text, int(strlen(text)), &size);
    return size.cx;
}

// The thin bar beside a list longer than its area: the track, and on it the part shown.
void drawListScrollBar(HDC dc, const RECT& bar, int32_t recordCount, int32_t firstRow, int32_t rowsShown)
{
    const ScrollThumb thumb = listScrollThumb(recordCount, firstRow, rowsShown, bar.bottom - bar.top);
    if (thumb.height <= 0)
        return;
    const COLORREF colour = skin.fontColors[kFontText];
    const ScopedBrush track(CreateSolidBrush(colour));
    // The track is a line down the bar's middle; the thumb fills the bar's width.
    const int32_t middle = (bar.left + bar.right) / 2;
    const RECT line = { middle, bar.top, middle + 1, bar.bottom };
    FrameRect(dc, &line, track.get());
    const RECT shown = { bar.left, bar.top + thumb.top, bar.right, bar.top + thumb.top + thumb.height };
    FillRect(dc, &shown, track.get());
}

} // namespace

void drawLiveGraph(HDC dc, const RECT& graph, const LiveConnection& connection, const RECT& labels)
{
    // A sample a pixel at 96 DPI; at a larger scale each is as wide as its place scales to, so
    // the graph spans the same time at every scale.
    const uint32_t dpi = skin.dpi;
    int32_t columns = 0;
    while (columns < kRateHistoryLength && scaleToDpi(columns + 1, dpi) <= graph.right - graph.left)
        ++columns;
    if (columns <= 0)
        return;
    uint32_t largest = 0;
    for (int32_t i = 0; i < columns; ++i)
        largest = std::max({ largest, connection.receiveRateHistory[i], connection.sendRateHistory[i] });
    if (largest == 0)
        return;

    const uint32_t height = uint32_t(graph.bottom - graph.top);
    const COLORREF receivedColor = skin.fontColors[kFontReceived];
    const COLORREF sentColor = skin.fontColors[kFontSent];
    const ScopedBrush receivedBrush(CreateSolidBrush(receivedColor));
    const ScopedBrush sentBrush(CreateSolidBrush(sentColor));
    const ScopedBrush mixedBrush(CreateSolidBrush(mixedColor(receivedColor, sentColor)));

    uint64_t receivedSum = 0, sentSum = 0;
    uint32_t receivedCount = 0, sentCount = 0;
    for (int32_t i = 0; i < columns; ++i) {
        const uint32_t received = connection.receiveRateHistory[i];
        const uint32_t sent = connection.sendRateHistory[i];
        const GraphColumn column = graphColumn(received, sent, largest, height);
        // The newest sample at the right; both directions share the lower part of a column.
        const LONG left = graph.right - scaleToDpi(i + 1, dpi), right = graph.right - scaleToDpi(i, dpi);
        const LONG sharedTop = graph.bottom - LONG(column.sharedHeight);
        const RECT shared = { left, sharedTop, right, graph.bottom };
        const RECT above = { left, graph.bottom - LONG(column.fullHeight), right, sharedTop };
        FillRect(dc, &shared, mixedBrush.get());
        FillRect(dc, &above, column.receivedOnTop ? receivedBrush.get() : sentBrush.get());
        receivedSum += received;
        sentSum += sent;
        receivedCount += received != 0;
        sentCount += sent != 0;
    }

    const int32_t h = zeroSize(dc).cy;
    SetTextColor(dc, skin.fontColors[kFontText]);
    const LONG scaleTop = drawScaleLabels(dc, labels, graph.top, h, largest, formatRate);

    const uint32_t receivedAverage = receivedCount != 0 ? uint32_t(receivedSum / receivedCount) : 0;
    const uint32_t sentAverage = sentCount != 0 ? uint32_t(sentSum / sentCount) : 0;
    const int32_t receivedY = graph.bottom - int32_t(uint64_t(height) * receivedAverage / largest);
    const int32_t sentY = graph.bottom - int32_t(uint64_t(height) * sentAverage / largest);
    const int lineWidth = scaleToDpi(1, dpi);
    const ScopedPen receivedPen(CreatePen(PS_SOLID, lineWidth, receivedColor));
    const ScopedPen sentPen(CreatePen(PS_SOLID, lineWidth, sentColor));
    // The pen selected before is back before the two are deleted.
    const ScopedSelection selectedPen(dc, receivedPen.get());
    MoveToEx(dc, graph.left, receivedY, nullptr);
    LineTo(dc, graph.right, receivedY);
    SelectObject(dc, sentPen.get());
    MoveToEx(dc, graph.left, sentY, nullptr);
    LineTo(dc, graph.right, sentY);

    int32_t receivedLabel = receivedY, sentLabel = sentY;
    // Labels are centred on their lines; the highest one still starts a line below the scale
    // label, so a full graph does not print its average over its maximum.
    separateLabels(&receivedLabel, &sentLabel, std::max<int32_t>(graph.top + h, scaleTop + h + h / 2), h);
    char average[kFormattedValueSize];
    selectSkinFont(dc, kFontReceived);
    SetTextColor(dc, receivedColor);
    int number = formatInUnitOf(formatRate, receivedAverage, largest, average);
    drawNumberLabel(dc, average, number, labels, receivedLabel - h / 2);
    selectSkinFont(dc, kFontSent);
    SetTextColor(dc, sentColor);
    number = formatInUnitOf(formatRate, sentAverage, largest, average);
    drawNumberLabel(dc, average, number, labels, sentLabel - h / 2);
}

int32_t drawConnectionList(MainWindowState* state, HDC dc, const RECT& list, int32_t skipRows)
{
    const SIZE zero = zeroSize(dc);
    const int32_t f = zero.cx, h = zero.cy;
    const int32_t rowsFitting = h > 0 ? (list.bottom - list.top) / h : 0;
    const bool priced = tariffAt(settings.activeTariff) != nullptr;

    // The rows shown, in list order with the running totals and the cost of every record before
    // them. The first walk measures their texts, the second draws them in columns that fit them.
    const auto forEachShownRow = [&](auto&& row) {
        int32_t index = 0, shown = 0;
        int64_t totalVolume = 0, totalDuration = 0;
        FreeUnitCounters counters {};
        for (const LogRecord* record = monthRecords(state->selectedMonth); record != nullptr;
             record = record->next, ++index) {
            const int64_t volume = recordVolume(*record);
            totalVolume += volume;
            totalDuration += record->dur;
            // Priced from the month's start, as the month's sums are.
            const double cost = priced ? computeCost(counters, *record, settings.activeTariff) : 0.0;
            if (index < skipRows || shown >= rowsFitting)
                continue;
            ListRowTexts texts;
            listRowTexts(*record, volume, priced ? &cost : nullptr, totalDuration, totalVolume, texts);
            row(shown++, texts);
        }
        return index;
    };

    // The headings, where the skin has a row for them, in its Text font: the columns are wide
    // enough for them too. The rows keep the font and colour they were given.
    const RECT& headingRow = skin.rects[kElementLogColumns];
    const bool headed = !IsRectEmpty(&headingRow);
    char headings[kListColumns][64] = {};
    int32_t widths[kListColumns] = {};
    HGDIOBJ rowFont = GetCurrentObject(dc, OBJ_FONT);
    const COLORREF rowColour = GetTextColor(dc);
    if (headed) {
        selectSkinFont(dc, kFontText);
        for (int column = 0; column < kListColumns; ++column) {
            languageString(IDS_LIST_FIRST_COLUMN + uint32_t(column), headings[column], sizeof headings[column]);
            if (column != kCostColumn || priced)
                widths[column] = textWidth(dc, headings[column]);
        }
        SelectObject(dc, rowFont);
    }
    forEachShownRow([&](int32_t, const ListRowTexts& texts) {
        for (int column = 0; column < kListColumns; ++column)
            widths[column] = std::max<int32_t>(widths[column], textWidth(dc, texts.cells[column]));
    });
    // Without a tariff the cost column has no width and takes no gap.
    int32_t shownWidths[kListColumns], edges[kListColumns];
    int shownColumns = 0;
    for (int column = 0; column < kListColumns; ++column)
        if (column != kCostColumn || priced)
            shownWidths[shownColumns++] = widths[column];
    int32_t shownEdges[kListColumns];
    listColumnEdges(shownWidths, shownColumns, list.left, list.right - list.left, f, shownEdges);
    for (int column = 0, shown = 0; column < kListColumns; ++column)
        edges[column] = column != kCostColumn || priced ? shownEdges[shown++] : 0;

    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    if (headed) {
        selectSkinFont(dc, kFontText);
        SetTextColor(dc, skin.fontColors[kFontText]);
        for (int column = 0; column < kListColumns; ++column)
            if (column != kCostColumn || priced)
                drawCell(dc, edges[column], headingRow.top, headings[column]);
        SelectObject(dc, rowFont);
        SetTextColor(dc, rowColour);
    }
    const int32_t recordCount = forEachShownRow([&](int32_t row, const ListRowTexts& texts) {
        const int32_t y = list.top - 1 + row * h;
        char number[16];
        snprintf(number, sizeof number, "%i.", skipRows + row + 1);
        drawCell(dc, list.left - scaleToDpi(3, skin.dpi), y, number);
        for (int column = 0; column < kListColumns; ++column)
            if (column != kCostColumn || priced)
                drawCell(dc, edges[column], y, texts.cells[column]);
    });
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const int32_t limit = listScrollLimit(recordCount, list.bottom - list.top, h);
    PaintedLayout& painted = state->painted;
    painted.listShown = true;
    painted.listLineHeight = h;
    painted.listRowsShown = std::max(0, std::min(rowsFitting, recordCount - skipRows));
    painted.listScrollLimit = limit;
    if (!IsRectEmpty(&skin.rects[kElementLogScroll]))
        drawListScrollBar(dc, skin.rects[kElementLogScroll], recordCount, skipRows, painted.listRowsShown);
    return limit;
}

void paintLogArea(MainWindowState* state, HDC dc, bool monthAvailable)
{
    const uint32_t count = liveConnectionCount();
    state->painted.listShown = false;
    if (count != 0) {
        const LiveConnection* connection = liveConnectionAt(count - 1);
        selectSkinFont(dc, kFontText);
        drawLiveGraph(dc, skin.rects[kElementLog], *connection, skin.rects[kElementLogText]);
        if (state->statusText[0] == '\0')
            snprintf(
                state->statusText, sizeof state->statusText, "%s (%s)", connection->entryName, connection->ipAddress);
        return;
    }
    // Scrolled no further than the last paint of the list found useful; this paint finds the
    // limit anew.
    state->listScroll = std::min(state->listScroll, state->painted.listScrollLimit);
    if (monthAvailable)
        drawConnectionList(state, dc, skin.rects[kElementLog], state->listScroll);
}
