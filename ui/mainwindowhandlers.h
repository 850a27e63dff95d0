#pragma once
// The main window's handlers, a file for each concern; the window procedure (mainwindow.cpp)
// dispatches to them. Only the main window's own files include this.
#include <windows.h>

#include <cstdint>

#include "ui/mainwindowstate.h"

// mainwindow.cpp: what every concern asks of the window.
void invalidateAll(MainWindowState* state, bool erase);
void invalidateElement(MainWindowState* state, uint32_t slot);
void makeTopmost(HWND window, bool topmost);
void destroyKeptMenu(MainWindowState* state);

// mainpaint.cpp: the window-sized picture every paint is drawn into first, and the paint.
void createBackBuffer(MainWindowState* state);
void deleteBackBuffer(MainWindowState* state);
void onPaint(MainWindowState* state);

// maintick.cpp: the timer, sleep and wake, and the connection signal. A tick redraws and tells
// only what changed; offline the timer rests (until the date changes, or the adapters are looked
// at) and tickSoon wakes it: the next tick, an update interval away, does all its work.
void onTick(MainWindowState* state);
void tickSoon(MainWindowState* state);
void onPowerBroadcast(MainWindowState* state, WPARAM event);
void onConnectionSignal(MainWindowState* state);

// mainmouse.cpp: the skin slot of the view shown under a client point, 0 when only the window
// itself (or nothing) is there, and the mouse messages.
int32_t hitTest(const MainWindowState* state, POINT point);
void onMouseMove(MainWindowState* state, POINT point);
void onButtonDown(MainWindowState* state, POINT point);
void onButtonUp(MainWindowState* state, POINT point);
void onMouseWheel(MainWindowState* state, WPARAM wParam, LPARAM lParam);

// mainscale.cpp: the window takes the skin's size and outline (at `at` on the screen, or where
// it is), and the skin follows the scale of the window's screen. The system asks the size of
// the window at a new scale (Windows 10 1703 on), then tells the new scale and the place it
// suggests.
void applySkinShape(MainWindowState* state, const POINT* at);
bool onGetDpiScaledSize(uint32_t dpi, SIZE* size);
void onDpiChanged(MainWindowState* state, uint32_t dpi, const RECT& suggested);

// maincommands.cpp: menus, commands and keys.
POINT belowMenuButton(const MainWindowState* state);
void openMainMenu(MainWindowState* state, POINT at);
void showWindow(MainWindowState* state);
void onMenuSelect(MainWindowState* state, UINT item, HMENU menu);
void runOptions(MainWindowState* state);
void onTrayCallback(MainWindowState* state, LPARAM mouseMessage);
void onCommand(MainWindowState* state, UINT id);
bool onKey(MainWindowState* state, WPARAM key);

// yearview.cpp: the year at a glance shown or not, which year, reading its logs (WM_READ_YEAR),
// its keys (true when the key was one of them) and a click on a month, which shows that month.
void showYearView(MainWindowState* state, bool shown);
void readShownYear(MainWindowState* state);
bool onYearKey(MainWindowState* state, WPARAM key);
void openYearMonth(MainWindowState* state, uint32_t slot, POINT point);
