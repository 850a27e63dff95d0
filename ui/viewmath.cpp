#include "ui/viewmath.h"

#include <algorithm>
#include <cmath>

#include "skin/skinrules.h"

int32_t barHeight(int64_t value, int64_t maxValue, int32_t height)
{
    return barHeight(double(value), double(maxValue), height);
}

int32_t barHeight(double value, double maxValue, int32_t height)
{
    if (!(maxValue > 0) || !(value > 0))
        return 0;
    return int32_t(std::floor(value * double(height) / maxValue + 0.5));
}

int64_t largestDayValue(const int64_t values[32])
{
    int64_t largest = 0;
    for (int day = 1; day <= 31; ++day)
        largest = std::max(largest, values[day]);
    return largest;
}

namespace {
void fillRow(char row[3][kFormattedValueSize], int64_t used, int64_t remaining, int32_t days, ValueFormatter format)
{
    format(used, row[0]);
    format(remaining, row[1]);
    row[2][0] = '\0';
    if (days > 0) {
        char perDay[kFormattedValueSize];
        format(remaining / days, perDay);
        // An exceeded quota has nothing left to spread over the days.
        if (perDay[0] != '+')
            std::copy(perDay, perDay + kFormattedValueSize, row[2]);
    }
}
} // namespace

void computeFreeUnitsCells(int64_t usedMain, int64_t usedSecondary, int64_t freeMain, int64_t freeSecondary,
    int32_t daysLeftCount, ValueFormatter format, FreeUnitsCells* cells)
{
    cells->secondaryRow = freeSecondary != 0;
    fillRow(cells->text[0], usedMain, freeMain - usedMain, daysLeftCount, format);
    for (int row : { 1, 2 })
        for (auto& cell : cells->text[row])
            cell[0] = '\0';
    // With one period's free units the total row would only repeat the row above: it keeps
    // just its money.
    if (!cells->secondaryRow)
        return;
    fillRow(cells->text[1], usedSecondary, freeSecondary - usedSecondary, daysLeftCount, format);
    const int64_t remaining = (freeMain - usedMain) + (freeSecondary - usedSecondary);
    format(usedMain + usedSecondary, cells->text[2][0]);
    format(remaining, cells->text[2][1]);
    if (daysLeftCount > 0) {
        char text[kFormattedValueSize];
        // The sum of the rows' shares, each cut to whole units as drawn above it.
        format((freeMain - usedMain) / daysLeftCount + (freeSecondary - usedSecondary) / daysLeftCount, text);
        if (text[0] != '+')
            std::copy(text, text + kFormattedValueSize, cells->text[2][2]);
    }
}

int32_t listScrollLimit(int32_t recordCount, int32_t height, int32_t lineHeight)
{
    if (lineHeight <= 0)
        return 0;
    return std::max(0, recordCount - height / lineHeight);
}

ScrollThumb listScrollThumb(int32_t recordCount, int32_t firstRow, int32_t rowsShown, int32_t height)
{
    if (recordCount <= 0 || rowsShown >= recordCount || height <= 0)
        return { 0, 0 };
    const int32_t thumb = std::max<int32_t>(std::min(4, height), int32_t(int64_t(height) * rowsShown / recordCount));
    // The positions the list can take share out the track the thumb leaves free.
    const int32_t positions = recordCount - rowsShown;
    const int32_t first = std::clamp(firstRow, 0, positions);
    return { int32_t(int64_t(height - thumb) * first / positions), thumb };
}

uint32_t mixedColor(uint32_t a, uint32_t b)
{
    uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t channel = (((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) + 1) / 2;
        mixed |= channel << shift;
    }
    return mixed;
}

GraphColumn graphColumn(uint32_t received, uint32_t sent, uint32_t maxValue, uint32_t height)
{
    GraphColumn column {};
    if (maxValue == 0)
        return column;
    // 64-bit products: a rate near 4 GB/s times the graph height must not wrap.
    auto scaled = [&](uint32_t value) { return uint32_t(uint64_t(height) * value / maxValue); };
    column.sharedHeight = scaled(std::min(received, sent));
    column.receivedOnTop = received >= sent;
    column.fullHeight = scaled(column.receivedOnTop ? received : sent);
    return column;
}

void separateLabels(int32_t* receivedY, int32_t* sentY, int32_t minimumTop, int32_t lineHeight)
{
    *receivedY = std::max(*receivedY, minimumTop);
    *sentY = std::max(*sentY, minimumTop);
    const int32_t distance = *receivedY > *sentY ? *receivedY - *sentY : *sentY - *receivedY;
    if (distance >= lineHeight)
        return;
    if (*receivedY > *sentY)
        *receivedY = *sentY + lineHeight;
    else
        *sentY = *receivedY + lineHeight;
}

void listColumnEdges(
    const int32_t* widths, int count, int32_t left, int32_t available, int32_t minimumGap, int32_t* edges)
{
    int32_t used = 0;
    for (int i = 0; i < count; ++i)
        used += widths[i];
    const int32_t gap = count > 1 ? std::max(minimumGap, (available - used) / (count - 1)) : 0;
    int32_t edge = left;
    for (int i = 0; i < count; ++i) {
        edge += (i > 0 ? gap : 0) + widths[i];
        edges[i] = edge;
    }
}

SummaryCell summaryCellAt(
    int32_t x, int32_t y, int32_t left, int32_t top, int32_t columnWidth, int32_t lineHeight, bool secondaryRow)
{
    const SummaryCell none = { -1, 0 };
    if (columnWidth <= 0 || lineHeight <= 0 || x <= left || x > left + 4 * columnWidth || y < top
        || y >= top + 3 * lineHeight)
        return none;
    const int32_t row = (y - top) / lineHeight;
    if (row == 1 && !secondaryRow)
        return none;
    // A cell's text ends at its right edge, which belongs to it.
    return { row, (x - left - 1) / columnWidth + 1 };
}

int32_t chartDayAt(int32_t x, int32_t left, int32_t pitch)
{
    if (pitch <= 0 || x < left || x >= left + 31 * pitch)
        return 0;
    return (x - left) / pitch + 1;
}

int32_t yearMonthAt(int32_t x, int32_t left, int32_t right)
{
    const int32_t pitch = (right - left) / 12;
    if (pitch <= 0 || x < left || x >= left + 12 * pitch)
        return 0;
    return (x - left) / pitch + 1;
}

bool slotInView(uint32_t slot, bool yearView)
{
    if (slot >= kElementYearData && slot <= kElementYearSummary)
        return yearView;
    if ((slot >= kElementData && slot <= kElementSummary)
        || (slot >= kElementSummaryColumns && slot <= kElementLogScroll))
        return !yearView;
    return true;
}

int32_t listRowAt(int32_t y, int32_t top, int32_t lineHeight, int32_t rowsShown)
{
    if (lineHeight <= 0 || y < top - 1)
        return -1;
    const int32_t row = (y - (top - 1)) / lineHeight;
    return row < rowsShown ? row : -1;
}

int32_t scrolledListPosition(ListKey key, int32_t scroll, int32_t pageRows, int32_t limit)
{
    const int32_t page = std::max(1, pageRows);
    int32_t position = scroll;
    switch (key) {
    case ListKey::up:
        position = scroll - 1;
        break;
    case ListKey::down:
        position = scroll + 1;
        break;
    case ListKey::pageUp:
        position = scroll - page;
        break;
    case ListKey::pageDown:
        position = scroll + page;
        break;
    case ListKey::home:
        position = 0;
        break;
    case ListKey::end:
        position = limit;
        break;
    }
    return std::clamp(position, 0, std::max(0, limit));
}
