#pragma once
// The main window's own record, reached through the window's user data.
#include <windows.h>
#include <shellapi.h>

#include <cstdint>

#include "core/localtime.h"

struct MainWindowHost;

struct MainWindowState {
    HWND window;
    const MainWindowHost* host;
    HMENU menu;
    RECT clientRect;
    HACCEL accelerators;
    NOTIFYICONDATAA tray;
    UINT_PTR timer;
    uint32_t selectedMonth;  // 0: the current month, else year * 65536 + month
    LocalTime lastTick;
    int32_t lastTopmostCount;
    HBITMAP backBuffer;
    HBITMAP backBufferOld;
    HDC backBufferDc;
    char statusText[512];
    uint8_t dragging;
    uint8_t scrolling;
    POINT dragStart;
    int32_t listScroll;
    int32_t scrollLastY;
    uint32_t hotElement;
    uint32_t hotState;
    uint8_t painting;  // a paint is in progress (a message box's loop can deliver another)
};
