#pragma once
// The parts of the main window that a tick redraws alone (the kRedraw bits of TickWork) and the
// skin elements each is painted into: what a tick invalidates, and what a paint must draw again.
#include <windows.h>

#include <cstdint>

#include "meter/ticks.h"

constexpr int kMaxTickRects = 16;

// The rectangles of the parts in `work` (kRedrawWindow aside), each widened by the width of a
// drawn line: a chart's cost line runs along its bottom edge. With `yearShown` the figures are the
// year's charts and totals, and there is no live graph. Returns their count.
int tickWorkRects(uint32_t work, bool yearShown, RECT* rects);

// True when the paint under way reaches into `part` (one kRedraw bit) of the month's view: the
// clip region of `dc` meets what the part's painter may draw, the connection list's row numbers
// left of it included. A part it does not reach keeps what the back buffer holds.
bool paintReaches(HDC dc, uint32_t part);
