#pragma once
// The main window's own record, reached through the window's user data, what the program that
// creates the window hands it, and the private messages it answers.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "core/localtime.h"
#include "meter/ticks.h"
#include "meter/yearsums.h"

constexpr UINT WM_CONNECTION_SIGNAL = WM_USER; // the connection event fired
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 1; // the notification-area icon's mouse messages
constexpr UINT WM_SHOW_REPORTS = WM_USER + 2; // reports wait that a scan, a tick or a paint made
constexpr UINT WM_FINISH_START = WM_USER + 3; // the window has been painted: the rest of its start
// The year view's figures are to be read from the logs, which may report a damaged one: posted
// by the paint, which must not read them itself.
constexpr UINT WM_READ_YEAR = WM_APP + 1;

struct MainWindowState;

// What the hover tip explains now: a skin slot and the part of it (a Summary cell, a day, a list
// row), so that moving within one part keeps the tip where it is.
struct HoverTip {
    int32_t slot; // -1: nothing
    int32_t part;
    bool leaveTracked; // the window reports when the pointer leaves it
};

// Where the last paint put the figures that the hover tips explain and the keys scroll.
struct PaintedLayout {
    bool summaryShown; // a tariff is active and the month could be read
    bool secondaryRow; // the Summary has its row for the secondary period
    int32_t summaryColumnWidth;
    int32_t summaryLineHeight;
    bool listShown; // the connection list (no connection runs)
    int32_t listLineHeight;
    int32_t listRowsShown;
    int32_t listScrollLimit; // the largest useful listScroll
    bool statusCut; // the status line was too long for its box: its tip shows it whole
};

// The year at a glance: the year shown and its months as last read from their logs.
struct YearView {
    bool shown; // the window shows the year instead of the month
    uint16_t year;
    bool read; // `totals` hold the year as its logs were at `generation`
    bool readAsked; // a WM_READ_YEAR is on its way
    uint32_t generation; // statisticsGeneration() when it was read
    YearTotals totals;
};

// What the main window asks of the program that creates it: handed over as the creation
// parameter (CreateWindowEx's last argument) and kept in the window's state for its life.
struct MainWindowHost {
    HINSTANCE instance; // the executable: the tray icons; owner of the tip window
    HANDLE connectionEvent; // served by the options sheet's loop too; null when there is none
    // The user chose a language (or the window is being created with the stored one): loads its
    // module, stores it and has the window reload its shortcuts. False with AppError set.
    bool (*swapLanguage)(MainWindowState* state, uint16_t languageId);
    // The Windows session ends: everything is stored as at exit, without any box.
    void (*storeForSessionEnd)();
    // The program's start-up that the first paint does not need, run from the window's queue
    // before the window's own. May be null.
    void (*finishStartUp)();
};

struct MainWindowState {
    HWND window;
    const MainWindowHost* host;
    HMENU menu;
    RECT clientRect;
    HACCEL accelerators;
    NOTIFYICONDATAA tray;
    UINT_PTR timer;
    uint32_t tickPeriodMs; // the timer's period now: the update interval, or a rest while offline
    uint8_t tickAll; // the next tick does all its work (a setting or the connections changed)
    ShownFigures shown; // as the last tick found them
    uint32_t selectedMonth; // 0: the current month, else year * 65536 + month
    LocalTime lastTick;
    int32_t lastTopmostCount;
    HBITMAP backBuffer;
    HBITMAP backBufferOld;
    HDC backBufferDc;
    char statusText[512];
    uint8_t statusShowsConnections; // statusText is the running connections' line, redone each paint
    uint64_t statusMessageMs; // when the message in statusText was shown (GetTickCount64)
    uint8_t dragging;
    uint8_t scrolling;
    POINT dragStart;
    int32_t listScroll;
    PaintedLayout painted;
    HoverTip hover;
    int32_t scrollLastY;
    uint32_t hotElement;
    uint32_t hotState;
    uint8_t painting; // a paint is in progress (a message box's loop can deliver another)
    uint8_t reportsPosted; // WM_SHOW_REPORTS is on its way
    // Messages being handled, one inside the other when a handler runs a modal loop (the options
    // sheet, a menu, a box). The window can be destroyed inside (the session ends); its state is
    // freed only once the outermost handler is done with it.
    uint32_t handling;
    uint8_t destroyed;
    YearView year;
};
