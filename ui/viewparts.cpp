#include "ui/viewparts.h"

#include "skin/skin.h"
#include "skin/skinscale.h"

namespace {

struct PartElements {
    uint32_t part;
    uint32_t slots[3];
    int count;
};

const PartElements kParts[] = {
    { kRedrawVolumeChart, { kElementData, kElementDataText, kElementDataSummary }, 3 },
    { kRedrawTimeChart, { kElementTime, kElementTimeText, kElementTimeSummary }, 3 },
    { kRedrawSummary, { kElementSummary }, 1 },
    { kRedrawLiveGraph, { kElementLog, kElementLogText }, 2 },
    { kRedrawStatusLine, { kElementStatusText }, 1 },
};

RECT widened(const RECT& rect)
{
    const LONG line = scaleToDpi(2, skin.dpi);
    return { rect.left - line, rect.top - line, rect.right + line, rect.bottom + line };
}

} // namespace

int tickWorkRects(uint32_t work, RECT* rects)
{
    int count = 0;
    for (const PartElements& part : kParts) {
        if ((work & part.part) == 0)
            continue;
        for (int i = 0; i < part.count; ++i)
            rects[count++] = widened(skin.rects[part.slots[i]]);
    }
    return count;
}

bool paintReaches(HDC dc, uint32_t part)
{
    RECT rects[kMaxTickRects];
    const int count = tickWorkRects(part, rects);
    // The list numbers its rows left of the log area, up to the window's edge.
    if (part == kRedrawLiveGraph && count != 0)
        rects[0].left = 0;
    for (int i = 0; i < count; ++i)
        if (RectVisible(dc, &rects[i]))
            return true;
    return false;
}
