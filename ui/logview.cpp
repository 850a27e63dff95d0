// The log area: the live graph of the connection registered last, or the month's list.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/scoped_win.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "skin/skin.h"
#include "tariff/costs.h"
#include "ui/viewmath.h"
#include "ui/views.h"

namespace {

// The widest start time this locale writes, measured at times with two-digit hours in the
// morning and in the afternoon.
int32_t timeColumnWidth(HDC dc)
{
    int32_t widest = 0;
    for (WORD hour : {10, 12, 22, 23}) {
        SYSTEMTIME time{2003, 10, 0, 1, hour, 58, 58, 0};
        char text[64];
        if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, sizeof text) > 0) {
            SIZE size;
            GetTextExtentPoint32A(dc, text, int(strlen(text)), &size);
            widest = std::max<int32_t>(widest, size.cx);
        }
    }
    return widest;
}

void drawCell(HDC dc, int32_t right, int32_t y, const char* text)
{
    TextOutA(dc, right, y, text, int(strlen(text)));
}

}  // namespace

void drawLiveGraph(HDC dc, const RECT& graph, const LiveConnection& connection, const RECT& labels)
{
    const int32_t columns = std::min<int32_t>(graph.right - graph.left, kRateHistoryLength);
    if (columns <= 0)
        return;
    uint32_t largest = 0;
    for (int32_t i = 0; i < columns; ++i)
        largest = std::max({largest, connection.receiveRateHistory[i], connection.sendRateHistory[i]});
    if (largest == 0)
        return;

    const uint32_t height = uint32_t(graph.bottom - graph.top);
    const COLORREF receivedColor = skin.fontColors[kFontReceived];
    const COLORREF sentColor = skin.fontColors[kFontSent];
    const ScopedPen receivedPen(CreatePen(PS_SOLID, 1, receivedColor));
    const ScopedPen sentPen(CreatePen(PS_SOLID, 1, sentColor));
    const ScopedPen mixedPen(CreatePen(PS_SOLID, 1, mixedColor(receivedColor, sentColor)));
    // The pen selected before is back before the three are deleted, however the columns left it.
    const ScopedSelection selectedPen(dc, mixedPen.get());

    uint64_t receivedSum = 0, sentSum = 0;
    uint32_t receivedCount = 0, sentCount = 0;
    const int32_t base = graph.bottom - 1;
    for (int32_t i = 0; i < columns; ++i) {
        const uint32_t received = connection.receiveRateHistory[i];
        const uint32_t sent = connection.sendRateHistory[i];
        const GraphColumn column = graphColumn(received, sent, largest, height);
        const int32_t x = graph.right - 1 - i;
        SelectObject(dc, mixedPen.get());
        MoveToEx(dc, x, base, nullptr);
        LineTo(dc, x, base - int32_t(column.sharedHeight));
        SelectObject(dc, column.receivedOnTop ? receivedPen.get() : sentPen.get());
        LineTo(dc, x, base - int32_t(column.fullHeight));
        receivedSum += received;
        sentSum += sent;
        receivedCount += received != 0;
        sentCount += sent != 0;
    }

    const int32_t h = zeroSize(dc).cy;
    SetTextColor(dc, skin.fontColors[kFontText]);
    const LONG scaleTop = drawScaleLabels(dc, labels, graph.top, h, largest, formatVolume);

    const uint32_t receivedAverage = receivedCount != 0 ? uint32_t(receivedSum / receivedCount) : 0;
    const uint32_t sentAverage = sentCount != 0 ? uint32_t(sentSum / sentCount) : 0;
    const int32_t receivedY = graph.bottom - int32_t(uint64_t(height) * receivedAverage / largest);
    const int32_t sentY = graph.bottom - int32_t(uint64_t(height) * sentAverage / largest);
    SelectObject(dc, receivedPen.get());
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
    int number = formatVolume(receivedAverage, average);
    drawNumberLabel(dc, average, number, labels, receivedLabel - h / 2);
    selectSkinFont(dc, kFontSent);
    SetTextColor(dc, sentColor);
    number = formatVolume(sentAverage, average);
    drawNumberLabel(dc, average, number, labels, sentLabel - h / 2);
}

int32_t drawConnectionList(MainWindowState* state, HDC dc, const RECT& list, int32_t skipRows)
{
    // The date column is as wide as the widest weekday name makes it in this locale.
    int32_t dateWidth = 0;
    for (uint16_t day = 1; day <= 7; ++day) {
        const SYSTEMTIME date = systemTimeOf({state->lastTick.year, state->lastTick.month, 0, day, 0, 0, 0, 0});
        char text[64];
        if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &date, "ddd, dd.MM.yyyy", text, sizeof text) > 0) {
            SIZE size;
            GetTextExtentPoint32A(dc, text, int(strlen(text)), &size);
            dateWidth = std::max<int32_t>(dateWidth, size.cx);
        }
    }
    dateWidth += 10;
    const SIZE zero = zeroSize(dc);
    const int32_t f = zero.cx, h = zero.cy;
    // The start-time column holds eight digits' width; a locale whose times are longer (a.m.
    // and p.m. marks) widens it and moves the columns behind it, so no two cells overlap.
    const int32_t timeExtra = std::max(0, timeColumnWidth(dc) - 8 * f);
    const int32_t left = list.left + dateWidth;
    const int32_t edges[6] = {left,
                              left + 8 * f + 10 + timeExtra,
                              left + 14 * f + 20 + timeExtra,
                              left + 21 * f + 30 + timeExtra,
                              left + 27 * f + 40 + timeExtra,
                              left + 34 * f + 50 + timeExtra};
    SetTextAlign(dc, TA_RIGHT | TA_TOP);

    const int32_t listLeft = list.left;
    int32_t y = list.top - 1;
    int32_t rowNumber = skipRows + 1;
    int32_t toSkip = skipRows;
    int32_t recordCount = 0;
    int64_t totalVolume = 0, totalDuration = 0;
    for (const LogRecord* record = monthRecords(state->selectedMonth); record != nullptr; record = record->next) {
        ++recordCount;
        const int64_t volume = correctedVolume(record->rx + record->tx);
        totalVolume += volume;
        totalDuration += record->dur;
        if (toSkip > 0) {
            --toSkip;
            continue;
        }
        if (h <= 0 || y + h > list.bottom)
            continue;
        char text[kFormattedValueSize];
        snprintf(text, sizeof text, "%i.", rowNumber);
        drawCell(dc, listLeft - 3, y, text);
        const SYSTEMTIME start = systemTimeOf(record->start);
        if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &start, "ddd, dd.MM.yyyy", text, sizeof text) > 0)
            drawCell(dc, edges[0], y, text);
        if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &start, nullptr, text, sizeof text) > 0)
            drawCell(dc, edges[1], y, text);
        formatDuration(record->dur, text);
        drawCell(dc, edges[2], y, text);
        formatVolume(volume, text);
        drawCell(dc, edges[3], y, text);
        formatDuration(totalDuration, text);
        drawCell(dc, edges[4], y, text);
        formatVolume(totalVolume, text);
        drawCell(dc, edges[5], y, text);
        y += h;
        ++rowNumber;
    }
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    return listScrollLimit(recordCount, list.bottom - list.top, h);
}

void paintLogArea(MainWindowState* state, HDC dc, bool monthAvailable)
{
    const uint32_t count = liveConnectionCount();
    if (count != 0) {
        const LiveConnection* connection = liveConnectionAt(count - 1);
        selectSkinFont(dc, kFontText);
        drawLiveGraph(dc, skin.rects[kElementLog], *connection, skin.rects[kElementLogText]);
        if (state->statusText[0] == '\0')
            snprintf(state->statusText, sizeof state->statusText, "%s (%s)", connection->entryName,
                     connection->ipAddress);
        return;
    }
    state->listScroll = std::min(state->listScroll, state->listScrollLimit);
    if (monthAvailable)
        state->listScrollLimit = drawConnectionList(state, dc, skin.rects[kElementLog], state->listScroll);
}
