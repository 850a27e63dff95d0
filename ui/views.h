#pragma once
// Painting the figures into the main window's back buffer.
#include <windows.h>

#include <cstdint>

#include "core/localtime.h"
#include "ui/formatters.h"
#include "ui/mainwindowstate.h"

struct FreeUnitCounters;
struct LiveConnection;

enum class ChartKind { volume, time };

// Text drawing shared by the views.
// Selects the skin's font of `slot`, or its Text font where the skin has none for the slot.
void selectSkinFont(HDC dc, uint32_t slot);
// The extent of a "0" in the selected font: the cell the views measure their columns in.
SIZE zeroSize(HDC dc);
SYSTEMTIME systemTimeOf(const LocalTime& time);
// The number part of a formatted value, right-aligned on one line in the box from `top`
// down to the bottom of `column`.
void drawNumberLabel(HDC dc, const char* text, int numberLength, const RECT& column, LONG top);
// The scale of a chart or graph whose top is `chartTop`: the unit of `largest` centred at the
// top of `labels`, its number level with the chart's top but never over the unit. Returns the
// number's top.
LONG drawScaleLabels(
    HDC dc, const RECT& labels, LONG chartTop, int32_t lineHeight, int64_t largest, ValueFormatter format);

void paintStatistics(MainWindowState* state, HDC dc);

// The year at a glance in place of the month's figures (yearview.cpp), and the tip of its chart
// `slot` at month `part` (1..12), or of its totals.
void paintYearView(MainWindowState* state, HDC dc);
void yearTipText(const MainWindowState* state, uint32_t slot, int32_t part, char* text, size_t size);

// One month chart: bars per day, the cost line when `costs` is given, the average line and
// the labels. `element` is the chart's skin slot (Data or Time); its text and summary
// elements are the two slots after it.
void drawDailyChart(HDC dc, uint32_t element, const int64_t* values, const double* costs, ChartKind kind);

struct FreeUnitsTableLayout {
    HDC dc;
    int32_t x0, y0;
    int32_t columnWidth;
    int32_t lineHeight;
    const FreeUnitCounters* counters;
    int64_t freeMain;
    int64_t freeSecondary;
    int32_t daysLeft;
    ValueFormatter format;
};
void drawFreeUnitsTable(const FreeUnitsTableLayout& layout);

// The log area: the live graph while a connection runs, else the month's connection list.
// `monthAvailable` is false when the selected month's figures could not be read. The list is
// scrolled no further than the limit its last paint found, and where the list was painted goes
// into state->painted.
void paintLogArea(MainWindowState* state, HDC dc, bool monthAvailable);
void drawLiveGraph(HDC dc, const RECT& graph, const LiveConnection& connection, const RECT& labels);
// The month's connections from row `skipRows` on, their place in state->painted; returns the
// largest useful skipRows.
int32_t drawConnectionList(MainWindowState* state, HDC dc, const RECT& list, int32_t skipRows);

// The decimal separator of the volumes and times, taken from the user's locale.
void useUserNumberFormat();
