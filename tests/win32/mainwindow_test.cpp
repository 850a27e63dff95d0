// The main window itself, created on this thread with the default skin: its hover tips, its
// keys and a skin switch, driven with the messages the system would send.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/languageswap.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "skin/skin.h"
#include "skin/skinscale.h"
#include "skin/tooltip.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/mainwindow.h"
#include "ui/statusline.h"
#include "ui/views.h"
#include "win32/support/dialogsupport.h"

namespace {

constexpr int64_t MB = 1048576;

// What the program hands its window: this executable, no connection event, the program's own
// language swap; a session end does not come in these tests.
MainWindowHost host = { nullptr, nullptr, swapLanguage, [] {}, nullptr };
constexpr POINT kWindowAt = { 100, 100 };

void useDistFolder()
{
    std::string path = TELVANE_DIST_DIR;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path[0] == '\\')
        path = "Z:" + path;
    snprintf(programDirectory, sizeof programDirectory, "%s\\", path.c_str());
    programDirectoryLength = uint32_t(strlen(programDirectory));
}

// The popup menu window that a key opened: where it showed, then closed again.
RECT openedMenu;
void CALLBACK closeOpenMenu(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (strcmp(name, "#32768") != 0 || !IsWindowVisible(window))
                return TRUE;
            GetWindowRect(window, &openedMenu);
            EndMenu();
            return FALSE;
        },
        0);
}

class MainWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        prepareDialogTests();
        CoInitialize(nullptr);
        host.instance = GetModuleHandleA(nullptr);
        WNDCLASSEXA mainClass {};
        mainClass.cbSize = sizeof mainClass;
        mainClass.style = CS_CLASSDC;
        mainClass.lpfnWndProc = mainWindowProc;
        mainClass.hInstance = host.instance;
        mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        mainClass.lpszClassName = kMainWindowClass;
        RegisterClassExA(&mainClass);
        WNDCLASSEXA tipClass {};
        tipClass.cbSize = sizeof tipClass;
        tipClass.lpfnWndProc = tipWindowProc;
        tipClass.hInstance = host.instance;
        tipClass.lpszClassName = kTipWindowClass;
        RegisterClassExA(&tipClass);
    }

    void SetUp() override
    {
        memcpy(savedDirectory, programDirectory, sizeof savedDirectory);
        useDistFolder();
        resetSettings();
        settings.languageId = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN ? kLanguageGerman : kLanguageEnglish;
        settings.volumeCorrection = 0;
        ASSERT_TRUE(loadSkin("default", kDesignDpi));
        // A tariff of 100 MB free a month, and 564 MB used in this month's first days.
        freeTariffs();
        Rate* rate = new Rate {};
        strcpy(rate->name, "Demo");
        rate->unit = 1;
        rate->amount[0] = 100;
        rate->amount[2] = 100000;
        TariffTable[0] = rate;
        settings.activeTariff = 0;
        clearMonthCache();
        ASSERT_TRUE(loadMonth(0));
        const LocalTime now = localTimeNow();
        addRecords(now, 1, 2, 564 * MB);
    }

    void TearDown() override
    {
        if (window != nullptr)
            DestroyWindow(window);
        pumpMessages(nullptr);
        // The quit message the window's end posts is not this test's to take.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        if (tipWindow != nullptr)
            DestroyWindow(tipWindow);
        clearMonthCache();
        freeTariffs();
        releaseSkin();
        memcpy(programDirectory, savedDirectory, sizeof savedDirectory);
        programDirectoryLength = uint32_t(strlen(programDirectory));
    }

    // `count` records of the month of `now`, from day `firstDay`, together `bytes` received.
    static void addRecords(const LocalTime& now, uint16_t firstDay, int count, int64_t bytes)
    {
        for (int i = 0; i < count; ++i) {
            LogRecord* record = new LogRecord {};
            record->rx = uint32_t(bytes / count);
            record->dur = 30;
            record->start = { now.year, now.month, 0, uint16_t(firstDay + i % 20), 10, 0, 0, 0 };
            appendMonthRecord(currentMonth, record);
        }
        sumMonth(currentMonth);
    }

    void createWindow(POINT at = kWindowAt)
    {
        DialogCloser closer; // a tray that is missing under the test is reported in a box
        window = CreateWindowExA(0, kMainWindowClass, "telvane", WS_POPUP, at.x, at.y, skin.windowWidth,
            skin.windowHeight, nullptr, nullptr, host.instance, &host);
        ASSERT_NE(window, nullptr);
        SetWindowRgn(window, copyWindowRegion(), TRUE);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        pumpMessages(nullptr);
        state = mainWindowState(window);
        ASSERT_NE(state, nullptr);
    }

    // The pointer moves to `client` of the window, as the system reports it.
    void pointAt(POINT client)
    {
        POINT screen = client;
        ClientToScreen(window, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    }

    static bool tipShown() { return IsWindowVisible(tipWindow) != FALSE; }
    static RECT tipRect()
    {
        RECT r;
        GetWindowRect(tipWindow, &r);
        return r;
    }
    static std::string tipText() { return tipState.tipText; }

    HWND window = nullptr;
    MainWindowState* state = nullptr;
    char savedDirectory[sizeof programDirectory];
};

TEST_F(MainWindow, TipsExplainTheFigureUnderThePointerAndSitBesideIt)
{
    createWindow();
    const RECT& summary = skin.rects[kElementSummary];
    const int columnWidth = (summary.right - summary.left) / 4;

    // The remaining free units of the main period: "+464 MB", 564 MB used of 100 MB.
    const POINT left = { summary.left + 2 * columnWidth - 5, summary.top + 2 };
    pointAt(left);
    EXPECT_FALSE(tipShown()); // the first tip waits for the pointer to rest
    SendMessageA(tipWindow, WM_TIMER, 1, 0);
    ASSERT_TRUE(tipShown());
    const std::string over = tipText();
    for (const char* figure : { "564 MB", "100 MB", "464 MB" })
        EXPECT_NE(over.find(figure), std::string::npos) << figure << " in " << over;
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(tipRect().left, pointer.x + 5);
    EXPECT_EQ(tipRect().bottom, pointer.y - 5);

    // Within the same cell the tip stays; in the next one it changes at once, still shown.
    pointAt({ left.x - 3, left.y + 1 });
    EXPECT_EQ(tipText(), over);
    pointAt({ summary.left + 4 * columnWidth - 5, summary.top + 2 });
    EXPECT_TRUE(tipShown());
    EXPECT_NE(tipText(), over);

    // A bar of the volume chart: its day's 282 MB; then the menu button and its key.
    const RECT& chart = skin.rects[kElementData];
    const int pitch = (chart.right - chart.left + 1) / 31;
    pointAt({ chart.left + pitch + 1, chart.bottom - 2 });
    EXPECT_NE(tipText().find("282 MB"), std::string::npos) << tipText();
    pointAt({ skin.rects[kElementMenuButton].left + 14, skin.rects[kElementMenuButton].top + 14 });
    EXPECT_NE(tipText().find("F10"), std::string::npos) << tipText();

    // Leaving the window, or pressing a button, hides it.
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(tipShown());
    pointAt(left);
    SendMessageA(tipWindow, WM_TIMER, 1, 0);
    EXPECT_TRUE(tipShown());
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left.x, left.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(left.x, left.y));
    EXPECT_FALSE(tipShown());

    // A window pushed against the top of the screen: no room above its buttons, so their
    // tip goes below the pointer.
    SetWindowPos(window, nullptr, 300, -10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const RECT& close = skin.rects[kElementCloseButton];
    pointAt({ (close.left + close.right) / 2, (close.top + close.bottom) / 2 });
    SendMessageA(tipWindow, WM_TIMER, 1, 0);
    ASSERT_TRUE(tipShown());
    GetCursorPos(&pointer);
    const RECT below = tipRect();
    ASSERT_LT(pointer.y - 5 - (below.bottom - below.top), 0); // it would not fit above
    EXPECT_GT(below.top, pointer.y);
}

TEST_F(MainWindow, KeysOpenTheMenuAtItsButtonAndScrollTheList)
{
    addRecords(localTimeNow(), 3, 30, 30 * MB); // 32 connections in all
    createWindow();
    ASSERT_TRUE(state->painted.listShown);
    const int32_t page = state->painted.listRowsShown;
    ASSERT_GT(page, 2);
    ASSERT_EQ(state->painted.listScrollLimit, 32 - page);

    const struct {
        WPARAM key;
        int32_t scroll;
    } steps[] = { { VK_DOWN, 1 }, { VK_DOWN, 2 }, { VK_UP, 1 }, { VK_NEXT, 1 + page }, { VK_END, 32 - page },
        { VK_DOWN, 32 - page }, { VK_PRIOR, 32 - 2 * page }, { VK_HOME, 0 }, { VK_UP, 0 } };
    for (const auto& step : steps) {
        SendMessageA(window, WM_KEYDOWN, step.key, 1);
        UpdateWindow(window);
        EXPECT_EQ(state->listScroll, step.scroll) << "key " << step.key;
    }

    // F10, Shift+F10 and the context-menu key hang the main menu from the menu button.
    POINT button = { skin.rects[kElementMenuButton].left, skin.rects[kElementMenuButton].bottom };
    ClientToScreen(window, &button);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, closeOpenMenu);
    const struct {
        UINT message;
        WPARAM key;
    } keys[] = { { WM_SYSKEYDOWN, VK_F10 }, { WM_KEYDOWN, VK_APPS } };
    for (const auto& key : keys) {
        openedMenu = {};
        SendMessageA(window, key.message, key.key, 1);
        EXPECT_EQ(openedMenu.left, button.x) << "key " << key.key;
        EXPECT_EQ(openedMenu.top, button.y) << "key " << key.key;
    }
    KillTimer(nullptr, timer);
}

// A status line longer than its box is cut after a word; resting on it shows it whole.
TEST_F(MainWindow, ALongStatusLineShowsWholeInItsTip)
{
    createWindow();
    const RECT& status = skin.rects[kElementStatusText];
    const POINT onStatus = { status.left + 20, (status.top + status.bottom) / 2 };
    const std::string longLine = "This month's costs, the monthly fee included, have reached $10.000; your limit is "
                                 "$10.000. telvane has hung up every connection.";
    snprintf(state->statusText, sizeof state->statusText, "%s", longLine.c_str());
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_TRUE(state->painted.statusCut);
    pointAt(onStatus);
    SendMessageA(tipWindow, WM_TIMER, 1, 0);
    ASSERT_TRUE(tipShown());
    EXPECT_EQ(tipText(), longLine);

    // A line that fits has nothing more to show.
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    snprintf(state->statusText, sizeof state->statusText, "Settings saved.");
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    EXPECT_FALSE(state->painted.statusCut);
    pointAt(onStatus);
    SendMessageA(tipWindow, WM_TIMER, 1, 0);
    EXPECT_FALSE(tipShown());
}

TEST_F(MainWindow, ASkinChosenAtRunTimeBringsItsOutlineAtOnce)
{
    createWindow();
    HMENU skins = CreatePopupMenu();
    AppendMenuA(skins, MF_STRING, IDM_SKIN_FIRST, "paper");
    state->menu = skins; // the kept menu the skin item was chosen from
    SendMessageA(window, WM_COMMAND, IDM_SKIN_FIRST, 0);
    EXPECT_STREQ(settings.skinName, "paper");

    HRGN shown = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, shown), ERROR);
    EXPECT_TRUE(EqualRgn(shown, skin.regions[kElementMainWindow]));
    ASSERT_TRUE(loadSkin("default", kDesignDpi));
    EXPECT_FALSE(EqualRgn(shown, skin.regions[kElementMainWindow])); // the two outlines differ
    DeleteObject(shown);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, skin.windowWidth);
    BITMAP buffer {};
    ASSERT_TRUE(GetObjectA(state->backBuffer, sizeof buffer, &buffer));
    EXPECT_EQ(buffer.bmWidth, skin.windowWidth);
    EXPECT_EQ(buffer.bmHeight, skin.windowHeight);
}

TEST_F(MainWindow, TheYearAtAGlanceShowsTheMonthsAndLeadsBackToOne)
{
    createWindow();
    SendMessageA(window, WM_COMMAND, IDM_YEAR_VIEW, 0);
    ASSERT_TRUE(state->year.shown);
    const LocalTime now = localTimeNow();
    EXPECT_EQ(state->year.year, now.year);
    // The logs are read after the paint asked for them, not inside it.
    pumpMessages(nullptr);
    UpdateWindow(window);
    ASSERT_TRUE(state->year.read);
    EXPECT_EQ(state->year.totals.months[now.month - 1].volume, 564 * MB);
    EXPECT_FALSE(state->painted.listShown);

    // The pointer finds the year's bars, not the list that lies under them in the month view.
    const RECT& costs = skin.rects[kElementYearCost];
    const int pitch = (costs.right - costs.left) / 12;
    const POINT bar = { costs.left + (now.month - 1) * pitch + pitch / 2, costs.bottom - 20 };
    pointAt(bar);
    SendMessageA(tipWindow, WM_TIMER, 1, 0);
    ASSERT_TRUE(tipShown());
    const RECT& volumes = skin.rects[kElementYearData];
    pointAt({ volumes.left + (now.month - 1) * ((volumes.right - volumes.left) / 12) + 2, volumes.bottom - 20 });
    EXPECT_NE(tipText().find("564 MB"), std::string::npos) << tipText();

    // No year has a log after this one, nor before it here: the arrows stay; Escape goes back.
    SendMessageA(window, WM_KEYDOWN, VK_RIGHT, 1);
    SendMessageA(window, WM_KEYDOWN, VK_LEFT, 1);
    EXPECT_EQ(state->year.year, now.year);
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(state->year.shown);

    // A click on a month's bar shows that month: here the current one.
    state->selectedMonth = 2001 * 65536 + 1;
    SendMessageA(window, WM_COMMAND, IDM_YEAR_VIEW, 0);
    pumpMessages(nullptr);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar.x, bar.y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(bar.x, bar.y));
    EXPECT_FALSE(state->year.shown);
    EXPECT_EQ(state->selectedMonth, 0u);
}

TEST_F(MainWindow, AMoveToAScreenOfAnotherScaleRedrawsTheSkinForIt)
{
    createWindow();
    // Asked first (Windows 10 1703 on): the default skin's 434 x 334 at 150 %.
    SIZE size = {};
    EXPECT_TRUE(SendMessageA(window, 0x02E4 /* WM_GETDPISCALEDSIZE */, 144, LPARAM(&size)));
    EXPECT_EQ(size.cx, 651);
    EXPECT_EQ(size.cy, 501);

    // Then told, with the place the system suggests.
    RECT suggested = { 200, 150, 200 + 651, 150 + 501 };
    SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&suggested));
    EXPECT_EQ(skin.dpi, 144u);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 200);
    EXPECT_EQ(frame.top, 150);
    EXPECT_EQ(frame.right - frame.left, 651);
    EXPECT_EQ(frame.bottom - frame.top, 501);
    BITMAP buffer {};
    ASSERT_TRUE(GetObjectA(state->backBuffer, sizeof buffer, &buffer));
    EXPECT_EQ(buffer.bmWidth, 651);
    EXPECT_EQ(buffer.bmHeight, 501);

    // The outline scaled with it: its right edge at 651, the corner still cut.
    HRGN shown = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window, shown), ERROR);
    RECT box;
    GetRgnBox(shown, &box);
    EXPECT_EQ(box.right, 651);
    EXPECT_EQ(box.bottom, 501);
    EXPECT_TRUE(PtInRegion(shown, 640, 300)); // beyond the 434 pixels of 100 %
    EXPECT_FALSE(PtInRegion(shown, 1, 1));
    DeleteObject(shown);

    // The close button, 398 + 26 by 12 + 18 at 100 %, is hit where it is drawn now.
    const POINT close = { (597 + 636) / 2, (18 + 45) / 2 };
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(close.x, close.y));
    EXPECT_EQ(state->hotElement, uint32_t(kElementCloseButton));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(405, 25)); // the close button at 100 %
    EXPECT_NE(state->hotElement, uint32_t(kElementCloseButton));
}

// What the window shows: the back buffer's pixels, which the paints copy to the screen.
std::vector<uint32_t> shownPixels(const MainWindowState* state)
{
    const int width = skin.windowWidth, height = skin.windowHeight;
    BITMAPINFO info {};
    info.bmiHeader = { sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    void* bits = nullptr;
    HDC copy = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, state->backBufferDc, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(
        static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + width * height);
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    return pixels;
}

size_t differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
    size_t count = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return count;
}

POINT middleOf(uint32_t slot)
{
    const RECT& r = skin.rects[slot];
    return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}

// Offline a tick that changes nothing draws nothing and the timer rests; online a tick redraws the
// parts whose figures moved, and the window then shows what a whole paint would show.
TEST_F(MainWindow, ATickRedrawsWhatMovedAsAWholePaintWouldAndOfflineTheTimerRests)
{
    createWindow();
    EXPECT_EQ(state->tickPeriodMs, settings.updateIntervalMs); // ticking since the start
    SendMessageA(window, WM_TIMER, kTickTimer, 0);
    UpdateWindow(window);
    SendMessageA(window, WM_TIMER, kTickTimer, 0);
    RECT invalid;
    EXPECT_FALSE(GetUpdateRect(window, &invalid, FALSE));
    EXPECT_GT(state->tickPeriodMs, settings.updateIntervalMs);
    // A change of the user's formats wakes it: the tray tip is written in them.
    SendMessageA(window, WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(state->tickPeriodMs, settings.updateIntervalMs);
    UpdateWindow(window);
    // Resting again, as if since another day: the connection event first makes the tick that the
    // rest put off, so that the date a connection's first slice starts in is today's.
    SendMessageA(window, WM_TIMER, kTickTimer, 0);
    ASSERT_GT(state->tickPeriodMs, settings.updateIntervalMs);
    const LocalTime today = localTimeNow();
    state->lastTick.day = today.day == 1 ? 2 : uint16_t(today.day - 1);
    SendMessageA(window, WM_CONNECTION_SIGNAL, 0, 0);
    EXPECT_EQ(state->lastTick.day, today.day);
    EXPECT_EQ(state->tickPeriodMs, settings.updateIntervalMs);
    UpdateWindow(window);

    // A connection at an address no interface has: only this test moves its counts.
    setRunningSliceSource(runningSliceRecord);
    LiveConnection& connection = liveConnections.records[0];
    connection = LiveConnection {};
    connection.handle = 77;
    strcpy(connection.entryName, "Provider");
    strcpy(connection.ipAddress, "10.254.253.252");
    connection.sliceStart = localTimeNow();
    connection.sliceStartMs = monotonicMilliseconds();
    connection.lastInPackets = kNoReadingYet;
    liveConnections.count = 1;
    SendMessageA(window, WM_TIMER, kTickTimer, 0);
    EXPECT_EQ(state->tickPeriodMs, settings.updateIntervalMs);
    UpdateWindow(window);

    // What a tick left to paint covers the parts that moved and none of the others; painted, the
    // window is what a whole repaint draws.
    auto expectRedrawn = [&](std::initializer_list<uint32_t> moved) {
        HRGN redrawn = CreateRectRgn(0, 0, 0, 0);
        GetUpdateRgn(window, redrawn, FALSE);
        for (uint32_t slot : moved) {
            const POINT p = middleOf(slot);
            EXPECT_TRUE(PtInRegion(redrawn, p.x, p.y)) << "slot " << slot;
        }
        for (uint32_t slot : { kElementHeading, kElementMenuButton, kElementCloseButton }) {
            const POINT p = middleOf(slot);
            EXPECT_FALSE(PtInRegion(redrawn, p.x, p.y)) << "slot " << slot;
        }
        DeleteObject(redrawn);
    };
    auto expectPaintedAsAWhole = [&] {
        UpdateWindow(window);
        const std::vector<uint32_t> painted = shownPixels(state);
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        EXPECT_EQ(differingPixels(painted, shownPixels(state)), 0u);
    };
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        // 3 MB more and a minute longer online (the slice began that long ago, and a tenth of a
        // second more, so the second does not change before both paints are done).
        connection.bytesReceived += 3 * uint32_t(MB);
        connection.sliceStartMs = monotonicMilliseconds() - 60000 * uint64_t(round) - 100;
        memmove(&connection.receiveRateHistory[1], &connection.receiveRateHistory[0],
            (kRateHistoryLength - 1) * sizeof connection.receiveRateHistory[0]);
        connection.receiveRateHistory[0] = 6000000 + uint32_t(round) * 1000000;
        SendMessageA(window, WM_TIMER, kTickTimer, 0);

        expectRedrawn({ kElementData, kElementTime, kElementSummary, kElementLog, kElementStatusText });
        expectPaintedAsAWhole();
    }

    // A message in the status line redraws the status line alone.
    showStatusMessage(state, "A message of its own");
    expectRedrawn({ kElementStatusText });
    expectPaintedAsAWhole();

    // Hidden, a tick draws nothing; shown again, the window is drawn whole.
    ShowWindow(window, SW_HIDE);
    connection.bytesReceived += 5 * uint32_t(MB);
    connection.sliceStartMs = monotonicMilliseconds() - 300000 - 100;
    SendMessageA(window, WM_TIMER, kTickTimer, 0);
    EXPECT_FALSE(GetUpdateRect(window, &invalid, FALSE));
    ShowWindow(window, SW_SHOW);
    expectPaintedAsAWhole();

    // The year at a glance holds the running month: a tick redraws the year's charts and totals
    // and the status line, as a whole paint would draw them.
    SendMessageA(window, WM_COMMAND, IDM_YEAR_VIEW, 0);
    SendMessageA(window, WM_READ_YEAR, 0, 0); // the year's logs, read from the queue
    ASSERT_TRUE(state->year.shown && state->year.read);
    UpdateWindow(window);
    connection.bytesReceived += 2 * uint32_t(MB);
    connection.sliceStartMs = monotonicMilliseconds() - 360000 - 100;
    SendMessageA(window, WM_TIMER, kTickTimer, 0);
    expectRedrawn({ kElementYearData, kElementYearTime, kElementYearCost, kElementYearSummary, kElementStatusText });
    expectPaintedAsAWhole();
    SendMessageA(window, WM_COMMAND, IDM_YEAR_VIEW, 0);
    liveConnections = {};
}

// The session ends while the options sheet is open: the window goes, and what the sheet's
// handler does after its loop must not touch a state that was freed under it.
HWND endingWindow;
bool sessionStored;
void CALLBACK endTheSession(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (SendMessageA(endingWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF))
        SendMessageA(endingWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
}

TEST_F(MainWindow, TheSessionEndingWhileTheOptionsAreOpenEndsTheWindowSafely)
{
    createWindow();
    // Nothing of this test is written beside the programs.
    char scratch[MAX_PATH];
    GetTempPathA(sizeof scratch, scratch);
    snprintf(programDirectory, sizeof programDirectory, "%s", scratch);
    programDirectoryLength = uint32_t(strlen(programDirectory));
    sessionStored = false;
    host.storeForSessionEnd = [] { sessionStored = true; };
    endingWindow = window;
    SetTimer(nullptr, 0, 100, endTheSession);
    SendMessageA(window, WM_COMMAND, IDM_OPTIONS, 0);
    host.storeForSessionEnd = [] {};
    EXPECT_TRUE(sessionStored);
    EXPECT_FALSE(IsWindow(window));
    window = nullptr;
}

} // namespace
