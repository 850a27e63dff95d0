#include "ui/viewparts.h"

#include <span>

#include "skin/skin.h"
#include "skin/skinscale.h"

namespace {

struct PartElements {
    uint32_t part;
    uint32_t slots[4];
    int count;
};

// The Summary's and the list's headings are drawn with them: a paint that reaches one draws both.
const PartElements kMonthParts[] = {
    { kRedrawVolumeChart, { kElementData, kElementDataText, kElementDataSummary }, 3 },
    { kRedrawTimeChart, { kElementTime, kElementTimeText, kElementTimeSummary }, 3 },
    { kRedrawSummary, { kElementSummary, kElementSummaryColumns, kElementSummaryRows }, 3 },
    { kRedrawLiveGraph, { kElementLog, kElementLogText, kElementLogColumns, kElementLogScroll }, 4 },
    { kRedrawStatusLine, { kElementStatusText }, 1 },
};

// The year's charts and totals all show the month's volume, time and cost.
constexpr uint32_t kYearFigures = kRedrawVolumeChart | kRedrawTimeChart | kRedrawSummary;
const PartElements kYearParts[] = {
    { kYearFigures, { kElementYearData, kElementYearTime, kElementYearCost, kElementYearSummary }, 4 },
    { kRedrawStatusLine, { kElementStatusText }, 1 },
};

RECT widened(const RECT& rect)
{
    const LONG line = scaleToDpi(2, skin.dpi);
    return { rect.left - line, rect.top - line, rect.right + line, rect.bottom + line };
}

} // namespace

int tickWorkRects(uint32_t work, bool yearShown, RECT* rects)
{
    int count = 0;
    const std::span<const PartElements> parts
        = yearShown ? std::span<const PartElements>(kYearParts) : std::span<const PartElements>(kMonthParts);
    for (const PartElements& part : parts) {
        if ((work & part.part) == 0)
            continue;
        for (int i = 0; i < part.count; ++i)
            if (!IsRectEmpty(&skin.rects[part.slots[i]]))
                rects[count++] = widened(skin.rects[part.slots[i]]);
    }
    return count;
}

bool paintReaches(HDC dc, uint32_t part)
{
    RECT rects[kMaxTickRects];
    const int count = tickWorkRects(part, false, rects);
    // The list numbers its rows left of the log area, up to the window's edge.
    if (part == kRedrawLiveGraph && count != 0)
        rects[0].left = 0;
    for (int i = 0; i < count; ++i)
        if (RectVisible(dc, &rects[i]))
            return true;
    return false;
}
