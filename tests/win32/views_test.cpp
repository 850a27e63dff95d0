#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/languagemodule_win.h"
#include "core/platform.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/formatters.h"
#include "ui/views.h"
#include "win32/support/distpath.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kBlue = 0xFF0000;

// A white 32-bit picture in a memory device context, as the back buffer is.
class Canvas {
public:
    Canvas(int width, int height)
        : width_(width)
        , height_(height)
    {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info {};
        info.bmiHeader = { sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all = { 0, 0, width, height };
        FillRect(dc_, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc_, TRANSPARENT);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }
    int count(const RECT& area, COLORREF colour) const
    {
        int found = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                found += at(x, y) == colour;
        return found;
    }
    bool sameAs(const Canvas& other, const RECT& area) const
    {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (at(x, y) != other.at(x, y))
                    return false;
        return true;
    }
    bool inkIn(const RECT& area) const
    {
        return count(area, kWhite) != (area.right - area.left) * (area.bottom - area.top);
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

class Views : public testing::Test {
protected:
    void SetUp() override
    {
        memset(&skin, 0, sizeof skin);
        skin.dpi = kDesignDpi;
        // Data chart 310 pixels wide (a bar pitch of 311 / 31 = 10) and 100 high.
        skin.rects[kElementData] = { 40, 50, 350, 150 };
        skin.rects[kElementDataText] = { 0, 50, 38, 150 };
        skin.rects[kElementDataSummary] = { 40, 155, 350, 175 };
        skin.fontColors[kFontData] = kRed;
        skin.fontColors[kFontSummary] = kGreen;
        skin.fontColors[kFontReceived] = kRed;
        skin.fontColors[kFontSent] = kBlue;
        for (auto& format : skin.textFormats)
            format = 0x820;
        liveConnections = {};
        setRunningSliceSource(runningSliceRecord);
        resetSettings();
        settings.volumeCorrection = 0;
    }
    void TearDown() override
    {
        clearMonthCache();
        liveConnections = {};
        memset(&skin, 0, sizeof skin);
    }
};

TEST_F(Views, DailyChartBarsForKnownDayValues)
{
    Canvas canvas(400, 200);
    int64_t values[32] = {};
    values[1] = 100; // 100 * 100 / 200 = 50 pixels
    values[2] = 200; // the largest: the full 100 pixels
    values[3] = 50; // 25 pixels
    values[0] = 350;
    drawDailyChart(canvas.dc(), kElementData, values, nullptr, ChartKind::volume);

    const struct {
        int x, y;
        bool red;
    } probes[] = {
        { 44, 149, true }, { 44, 100, true }, { 44, 99, false }, // day 1: columns 40..48, rows 100..149
        { 48, 120, true }, { 49, 120, false }, // the bar leaves its pitch's last column free
        { 54, 50, true }, { 54, 49, false }, // day 2 reaches the chart's top
        { 64, 125, true }, { 64, 124, false }, // day 3
        { 74, 149, false }, // day 4 has no bar
    };
    for (const auto& probe : probes)
        EXPECT_EQ(canvas.at(probe.x, probe.y) == kRed, probe.red) << probe.x << "," << probe.y;

    // Average of the three days with a value: 350 / 3 over 200 of 100 pixels = 58.3, so y = 92,
    // drawn across the chart in its colour.
    EXPECT_EQ(canvas.at(200, 92), kRed);
    EXPECT_EQ(canvas.at(200, 91), kWhite);
    EXPECT_EQ(canvas.at(200, 93), kWhite);
}

TEST_F(Views, EmptyMonthDrawsNoBarsNoAverageAndNoCostLine)
{
    Canvas canvas(400, 200);
    int64_t values[32] = {};
    double costs[32] = {};
    drawDailyChart(canvas.dc(), kElementData, values, costs, ChartKind::volume);
    const RECT chart = { 40, 45, 351, 151 };
    EXPECT_EQ(canvas.count(chart, kRed), 0);
    EXPECT_EQ(canvas.count(chart, kGreen), 0);
}

TEST_F(Views, CostLineEndsAtTheTop)
{
    Canvas canvas(400, 200);
    int64_t values[32] = {};
    double costs[32] = {};
    costs[0] = 10.0;
    costs[1] = 5.0; // half the month's cost on day 1: y = 150 - 50 at x = 45
    costs[2] = 5.0; // all of it by day 2: the line reaches the top, y = 50, at x = 55
    drawDailyChart(canvas.dc(), kElementData, values, costs, ChartKind::volume);
    EXPECT_EQ(canvas.at(45, 100), kGreen);
    EXPECT_EQ(canvas.at(100, 50), kGreen);
    EXPECT_EQ(canvas.at(340, 50), kGreen); // and stays there to day 31 (x = 345)
    EXPECT_EQ(canvas.at(100, 51), kWhite);
    EXPECT_EQ(canvas.count({ 40, 50, 351, 151 }, kRed), 0); // no values: no bars
}

TEST_F(Views, FreeUnitsTableOfTheTwelveHourExampleLeavesThePerDayCellEmpty)
{
    Canvas canvas(400, 100);
    FreeUnitCounters counters { { 12 * 3600, 0 } };
    FreeUnitsTableLayout layout {};
    layout.dc = canvas.dc();
    layout.x0 = 0;
    layout.y0 = 0;
    layout.columnWidth = 90;
    layout.lineHeight = 20;
    layout.counters = &counters;
    layout.freeMain = 10 * 3600;
    layout.daysLeft = 15;
    layout.format = formatDuration;
    SetTextAlign(canvas.dc(), TA_RIGHT | TA_TOP);
    drawFreeUnitsTable(layout);

    // Reference: the same cells drawn by hand with the texts worked out from the tariff.
    Canvas expected(400, 100);
    SetTextAlign(expected.dc(), TA_RIGHT | TA_TOP);
    TextOutA(expected.dc(), 90, 0, "12:00:00", 8);
    TextOutA(expected.dc(), 180, 0, "+2:00:00", 8);
    EXPECT_TRUE(canvas.sameAs(expected, { 0, 0, 400, 100 }));
    EXPECT_FALSE(canvas.inkIn({ 181, 0, 270, 100 })); // column 3 empty in every row
    // No secondary row, and no total row repeating row 0: its money is the Summary's.
    EXPECT_FALSE(canvas.inkIn({ 0, 20, 400, 100 }));
}

TEST_F(Views, LiveGraphDrawsThreeHundredSixtyColumnsAtTheRightEnd)
{
    Canvas canvas(420, 320);
    LiveConnection connection {};
    for (int i = 0; i < kRateHistoryLength; ++i)
        connection.receiveRateHistory[i] = connection.sendRateHistory[i] = 100;
    connection.receiveRateHistory[0] = 100;
    connection.sendRateHistory[0] = 50;
    const RECT graph = { 0, 200, 400, 300 };
    const RECT labels = { 402, 200, 420, 300 };
    drawLiveGraph(canvas.dc(), graph, connection, labels);

    const COLORREF mixed = 0x800080; // (0xFF + 0 + 1) / 2 in red and blue
    EXPECT_EQ(canvas.at(40, 250), mixed); // entry 359, the leftmost column
    EXPECT_EQ(canvas.at(39, 250), kWhite); // nothing left of the 360 columns
    EXPECT_EQ(canvas.at(200, 299), mixed); // equal rates: the whole column mixed
    EXPECT_EQ(canvas.at(200, 202), mixed);
    // Entry 0 (newest, at x 399): received 100 over sent 50, mixed up to half height.
    EXPECT_EQ(canvas.at(399, 299), mixed);
    EXPECT_EQ(canvas.at(399, 250), mixed);
    EXPECT_EQ(canvas.at(399, 249), kRed);
    EXPECT_EQ(canvas.at(399, 202), kRed);
    // Averages: received 100 (y = 300 - 100 = 200), sent 35950 / 360 = 99 (y = 201).
    EXPECT_EQ(canvas.at(10, 200), kRed);
    EXPECT_EQ(canvas.at(10, 201), kBlue);
    EXPECT_EQ(canvas.at(10, 202), kWhite);

    // At 200 % each sample is two pixels wide: the same 360 in 720 pixels.
    skin.dpi = 192;
    Canvas doubled(840, 320);
    drawLiveGraph(doubled.dc(), { 0, 200, 800, 300 }, connection, { 802, 200, 840, 300 });
    EXPECT_EQ(doubled.at(80, 250), mixed); // entry 359
    EXPECT_EQ(doubled.at(79, 250), kWhite);
    EXPECT_EQ(doubled.at(799, 249), kRed); // entry 0 at x 798 and 799
    EXPECT_EQ(doubled.at(798, 249), kRed);
    EXPECT_EQ(doubled.at(797, 249), mixed); // entry 1
}

TEST_F(Views, LiveGraphDrawsNothingWhileBothHistoriesAreZero)
{
    Canvas canvas(420, 320);
    LiveConnection connection {};
    drawLiveGraph(canvas.dc(), { 0, 200, 400, 300 }, connection, { 402, 200, 420, 300 });
    EXPECT_FALSE(canvas.inkIn({ 0, 0, 420, 320 }));
}

TEST_F(Views, ConnectionListStartsAtListScrollAndCountsSkippedRows)
{
    for (uint16_t day = 1; day <= 5; ++day) {
        LogRecord* record = new LogRecord {};
        record->rx = 1000;
        record->tx = 24; // 1024 bytes a record
        record->dur = 60;
        record->start = { 2003, 10, 0, day, 10, 0, 0, 0 };
        appendMonthRecord(currentMonth, record);
    }
    Canvas canvas(700, 200);
    HDC dc = canvas.dc();
    SIZE zero;
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int h = zero.cy;
    const RECT list = { 40, 20, 680, 20 + 3 * h }; // three rows fit
    MainWindowState state {};
    state.lastTick = { 2003, 10, 5, 17, 12, 0, 0, 0 };
    EXPECT_EQ(drawConnectionList(&state, dc, list, 2), 2); // 5 records - 3 rows

    // The first row shows record 3: "3." left of the list, and running totals of three records.
    Canvas expected(700, 200);
    SetTextAlign(expected.dc(), TA_RIGHT | TA_TOP);
    TextOutA(expected.dc(), 37, 19, "3.", 2);
    TextOutA(expected.dc(), 37, 19 + h, "4.", 2);
    TextOutA(expected.dc(), 37, 19 + 2 * h, "5.", 2);
    EXPECT_TRUE(canvas.sameAs(expected, { 0, 0, 39, 200 }));

    // The columns are as wide as their texts and never touch: each row shows six separate
    // blocks of text (a block may hold a space narrower than the gap between two columns),
    // the last of them, the running volume, ending near the list's right edge.
    // The list is far wider than its texts, so its columns stand wide apart; within a cell the
    // space between number and unit stays narrower than two digits.
    const int gap = 2 * zero.cx;
    for (int row = 0; row < 3; ++row) {
        const RECT band = { list.left, 19 + row * h, list.right, 19 + (row + 1) * h };
        int blocks = 0, blank = gap, lastInk = -1;
        for (int x = band.left; x < band.right; ++x) {
            const bool ink = canvas.inkIn({ x, band.top, x + 1, band.bottom });
            if (ink && blank >= gap)
                ++blocks;
            blank = ink ? 0 : blank + 1;
            if (ink)
                lastInk = x;
        }
        EXPECT_EQ(blocks, 6) << "row " << row;
        EXPECT_GE(lastInk, list.right - 6) << "row " << row;
    }
    // The running totals: three records of 1024 bytes and 60 s each by the first row shown,
    // five by the last, drawn right-aligned at the last column's edge.
    Canvas cumulative(700, 200);
    SetTextAlign(cumulative.dc(), TA_RIGHT | TA_TOP);
    SIZE total;
    GetTextExtentPoint32A(dc, "5.00 kB", 7, &total);
    int right = list.right;
    while (right > list.left && !canvas.inkIn({ right - 1, 19 + 2 * h, right, 19 + 3 * h }))
        --right;
    TextOutA(cumulative.dc(), right + 1, 19, "3.00 kB", 7);
    TextOutA(cumulative.dc(), right + 1, 19 + 2 * h, "5.00 kB", 7);
    EXPECT_TRUE(canvas.sameAs(cumulative, { right + 1 - total.cx, 19, right + 1, 19 + h }));
    EXPECT_TRUE(canvas.sameAs(cumulative, { right + 1 - total.cx, 19 + 2 * h, right + 1, 19 + 3 * h }));
    // Nothing is drawn below the rows that fit.
    EXPECT_FALSE(canvas.inkIn({ 0, 19 + 3 * h, 700, 200 }));
}

// Ink blocks along a band of the canvas: runs of columns with ink, apart by at least `gap`
// blank columns; `lastInk` the rightmost column with ink.
int inkBlocks(const Canvas& canvas, const RECT& band, int gap, int* lastInk = nullptr)
{
    int blocks = 0, blank = gap, last = -1;
    for (int x = band.left; x < band.right; ++x) {
        const bool ink = canvas.inkIn({ x, band.top, x + 1, band.bottom });
        if (ink && blank >= gap)
            ++blocks;
        blank = ink ? 0 : blank + 1;
        if (ink)
            last = x;
    }
    if (lastInk != nullptr)
        *lastInk = last;
    return blocks;
}

// With a tariff each row carries its cost; the skin's heading row names the columns over
// them, and its bar beside a longer list shows which part is shown.
TEST_F(Views, ConnectionListHeadingsCostColumnAndScrollBar)
{
    HMODULE savedModule = LanguageModule;
    LanguageModule = LoadLibraryA(distPath("english.dll").c_str());
    ASSERT_NE(LanguageModule, nullptr);
    // A kilobyte tariff without free units: 0.50 a kilobyte, so 0.50 a record.
    TariffTable[0] = new Rate {};
    TariffTable[0]->unit = 0;
    TariffTable[0]->amount[2] = 1000000;
    TariffTable[0]->amount[3] = 1000000;
    TariffTable[0]->cost[1] = 0.5;
    settings.activeTariff = 0;
    for (uint16_t day = 1; day <= 12; ++day) {
        LogRecord* record = new LogRecord {};
        record->rx = 1024;
        record->dur = 60;
        record->start = { 2003, 10, 0, day, 10, 0, 0, 0 };
        appendMonthRecord(currentMonth, record);
    }
    Canvas canvas(700, 200);
    HDC dc = canvas.dc();
    SIZE zero;
    GetTextExtentPoint32A(dc, "0", 1, &zero);
    const int h = zero.cy;
    const RECT list = { 40, 20, 680, 20 + 3 * h };
    skin.rects[kElementLogColumns] = { 40, 2, 680, 2 + h };
    skin.rects[kElementLogScroll] = { 690, 20, 694, 20 + 3 * h };
    MainWindowState state {};
    state.lastTick = { 2003, 10, 5, 17, 12, 0, 0, 0 };
    EXPECT_EQ(drawConnectionList(&state, dc, list, 0), 9);

    // Seven columns, headed by seven headings ending where their columns end.
    int headingEnd = 0, rowEnd = 0;
    EXPECT_EQ(inkBlocks(canvas, { 40, 2, 680, 2 + h }, 2 * zero.cx, &headingEnd), 7);
    EXPECT_EQ(inkBlocks(canvas, { 40, 19, 680, 19 + h }, 2 * zero.cx, &rowEnd), 7);
    EXPECT_LE(abs(headingEnd - rowEnd), 1);

    // 3 of 12 rows, the first shown: a thumb a quarter of the bar at its top, then the track.
    const int thumb = 3 * h * 3 / 12;
    EXPECT_EQ(canvas.count({ 690, 20, 694, 20 + thumb }, 0), 4 * thumb);
    EXPECT_EQ(canvas.at(690, 20 + thumb), kWhite);
    EXPECT_EQ(canvas.at(692, 20 + 3 * h - 1), 0u); // the track down the middle
    EXPECT_EQ(canvas.at(693, 20 + 3 * h - 1), kWhite);

    // A skin without the two elements: no headings, no bar, the rows as they were.
    Canvas plain(700, 200);
    skin.rects[kElementLogColumns] = {};
    skin.rects[kElementLogScroll] = {};
    drawConnectionList(&state, plain.dc(), list, 0);
    EXPECT_FALSE(plain.inkIn({ 0, 0, 700, 18 }));
    EXPECT_FALSE(plain.inkIn({ 685, 0, 700, 200 }));
    EXPECT_EQ(inkBlocks(plain, { 40, 19, 680, 19 + h }, 2 * zero.cx), 7);

    freeTariffs();
    FreeLibrary(LanguageModule);
    LanguageModule = savedModule;
}

// The Summary right-aligns its figures; the live graph drawn after it must still place its
// labels as it does on a fresh device context.
TEST_F(Views, LiveGraphLabelsAfterTheSummaryAreDrawnAsOnTheirOwn)
{
    TariffTable[0] = new Rate {};
    TariffTable[0]->unit = 1;
    settings.activeTariff = 0;
    const RECT graph = { 0, 200, 360, 300 };
    const RECT labels = { 362, 200, 420, 300 };
    skin.rects[kElementLog] = graph;
    skin.rects[kElementLogText] = labels;
    LiveConnection& connection = liveConnections.records[0];
    for (int i = 0; i < kRateHistoryLength; ++i) {
        connection.receiveRateHistory[i] = 3000;
        connection.sendRateHistory[i] = 1000;
    }
    connection.sliceStart = localTimeNow();
    connection.sliceStartMs = monotonicMilliseconds();
    liveConnections.count = 1;
    MainWindowState state {};
    state.lastTick = localTimeNow();

    Canvas painted(420, 320);
    paintStatistics(&state, painted.dc());
    Canvas alone(420, 320);
    drawLiveGraph(alone.dc(), graph, connection, labels);
    EXPECT_TRUE(alone.inkIn(labels));
    EXPECT_TRUE(painted.sameAs(alone, labels));
    freeTariffs();
}

} // namespace
