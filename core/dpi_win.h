#pragma once
// The scale of the screen a window or monitor shows on, in dots an inch (96 is 100 %), from
// the newest call the running Windows has: per window (Windows 10 1607 on), per monitor (8.1
// on), else the one scale of the whole desktop (Windows 7 and 8).
#include <windows.h>

#include <cstdint>

uint32_t windowDpi(HWND window);
uint32_t monitorDpi(HMONITOR monitor);
// The scale of the desktop as a whole.
uint32_t systemDpi();

// A new font like the one the system gives status bars and tips, at `dpi`: the system's own
// for that scale where it offers one, else its font scaled from the desktop's scale. Null
// when it cannot be made; the caller deletes it.
HFONT createStatusFont(uint32_t dpi);

// The window rectangle around a client rectangle for a window of `style` at `dpi`: frames
// and captions are as high as the window's own scale makes them.
void adjustWindowRectAt(RECT* rect, DWORD style, DWORD exStyle, uint32_t dpi);
