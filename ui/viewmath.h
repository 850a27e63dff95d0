#pragma once
// The arithmetic of the statistics views, apart from the drawing: bar heights, the free-units
// table, the number of days left, the scroll limit of the connection list.
#include <cstddef>
#include <cstdint>

#include "core/localtime.h"
#include "ui/formatters.h"

// Height of a chart bar for `value` when `maxValue` fills `height` pixels, rounded half up.
// 0 when there is nothing to scale (max not positive) or the value is not positive.
int32_t barHeight(int64_t value, int64_t maxValue, int32_t height);
int32_t barHeight(double value, double maxValue, int32_t height);

// The largest of the day values 1..31 (element 0 is the month), at least 0.
int64_t largestDayValue(const int64_t values[32]);

// The texts of the free-units table: rows 0 (main period), 1 (secondary period, only with
// secondary free units) and 2 (totals, only with secondary free units: otherwise row 0 is
// the month's total already); columns used, remaining, remaining per day.
struct FreeUnitsCells {
    bool secondaryRow;
    char text[3][3][kFormattedValueSize]; // an empty text is a cell left blank
};

void computeFreeUnitsCells(int64_t usedMain, int64_t usedSecondary, int64_t freeMain, int64_t freeSecondary,
    int32_t daysLeftCount, ValueFormatter format, FreeUnitsCells* cells);

// The largest useful listScroll: the rows that do not fit into `height` pixels.
int32_t listScrollLimit(int32_t recordCount, int32_t height, int32_t lineHeight);

// The part of a bar `height` pixels long that stands for the rows shown of a longer list: its
// top and height, never less than 4 pixels (or the bar), reaching the bar's end with the last
// rows. Height 0 while every record is shown.
struct ScrollThumb {
    int32_t top;
    int32_t height;
};
ScrollThumb listScrollThumb(int32_t recordCount, int32_t firstRow, int32_t rowsShown, int32_t height);

// Where a line too long for its box is cut, given that its first `fitting` characters fit: after
// the last word that fits whole (the spaces before the cut left out), or at `fitting` when not
// even the first word fits. `length` is the whole line's.
template <typename Char> size_t cutAtWord(const Char* text, size_t length, size_t fitting)
{
    if (fitting >= length)
        return length;
    size_t cut = fitting;
    if (text[cut] != Char(' ')) {
        while (cut > 0 && text[cut - 1] != Char(' '))
            --cut;
    }
    while (cut > 0 && text[cut - 1] == Char(' '))
        --cut;
    return cut > 0 ? cut : fitting;
}

// The colour between two GDI colour references, channel by channel rounded up.
uint32_t mixedColor(uint32_t a, uint32_t b);

// Heights of one live-graph column: the shared part drawn in the mixed colour and the whole
// column, drawn in the colour of the larger direction.
struct GraphColumn {
    uint32_t sharedHeight;
    uint32_t fullHeight;
    bool receivedOnTop; // received not less than sent
};
GraphColumn graphColumn(uint32_t received, uint32_t sent, uint32_t maxValue, uint32_t height);

// Pushes the two average labels of the live graph apart so that they do not overlap:
// neither above `minimumTop`, and the lower one (the sent one on a tie) at least
// `lineHeight` below the other.
void separateLabels(int32_t* receivedY, int32_t* sentY, int32_t minimumTop, int32_t lineHeight);

// Right edges of the connection list's columns: each as wide as its widest text in
// `widths`, the first starting at `left`, the room that is left of `available` pixels shared
// out between them, but never less than `minimumGap` between two columns.
void listColumnEdges(
    const int32_t* widths, int count, int32_t left, int32_t available, int32_t minimumGap, int32_t* edges);

// What lies under a point of the main window's figures. Every function answers "nothing"
// (-1 or 0) outside its area.
struct SummaryCell {
    int32_t row; // 0 main period, 1 secondary period, 2 totals; -1 for none
    int32_t column; // 1 used, 2 left, 3 per day, 4 money
};
// The Summary draws column k right-aligned at left + k * columnWidth and row r at
// top + r * lineHeight; row 1 only when the tariff has secondary free units.
SummaryCell summaryCellAt(
    int32_t x, int32_t y, int32_t left, int32_t top, int32_t columnWidth, int32_t lineHeight, bool secondaryRow);
// The day (1..31) whose bar of pitch `pitch` from `left` holds x; 0 for none.
int32_t chartDayAt(int32_t x, int32_t left, int32_t pitch);
// The month (1..12) of a year chart whose twelve bars share left..right; 0 for none.
int32_t yearMonthAt(int32_t x, int32_t left, int32_t right);
// Whether skin slot `slot` is part of the view shown: the month's figures in the month view, the
// year's charts in the year view, the window, the heading, the buttons and the status line in both.
bool slotInView(uint32_t slot, bool yearView);
// The shown row (0 the first) of a list drawn from `top` - 1 in rows of `lineHeight`; -1 for none.
int32_t listRowAt(int32_t y, int32_t top, int32_t lineHeight, int32_t rowsShown);

// The list's scroll position after a key: a row up or down, a page of `pageRows` up or down,
// the first or the last rows (`limit`, the largest useful position).
enum class ListKey { up, down, pageUp, pageDown, home, end };
int32_t scrolledListPosition(ListKey key, int32_t scroll, int32_t pageRows, int32_t limit);
