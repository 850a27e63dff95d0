#pragma once
// The main window's hover tips: resting the pointer on a figure, a chart or a button shows
// in the tip window what it is and what it counts.
#include <windows.h>

#include <cstdint>

#include "ui/mainwindowstate.h"

// The pointer is at `client` over skin slot `slot` (-1 for none): the tip shows, after the
// delay of the tip window, what lies there, or hides when nothing there explains itself.
void updateHoverTip(MainWindowState* state, POINT client, int32_t slot);

// Every timer tick: the figures under a resting pointer change, and so does their tip.
void refreshHoverTip(MainWindowState* state, POINT client, int32_t slot);

// The pointer left the window, a button was pressed, a key or a menu took over. Also what a new
// window starts with: no tip.
void hideHoverTip(MainWindowState* state);
