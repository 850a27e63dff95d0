#pragma once
// rimcutter's one window: the picture with the traced shapes, its menu, keys and status bar.
#include <windows.h>

extern const char kToolWindowClass[];

bool registerToolWindowClass(HINSTANCE instance);

// Created 800 x 600 centred on the desktop, not yet shown; null when creation fails.
HWND createToolWindow(HINSTANCE instance);
