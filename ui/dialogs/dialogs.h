#pragma once
// The options sheet and the about dialog, as the main window runs them.
#include <windows.h>

// Shows the options sheet (tariffs, holidays, general options) over `owner` (the main window,
// or null) and returns once it has closed, whichever button closed it: 0, or -1 when the sheet
// cannot be created (the caller reports kErrorDialog). The owner is disabled meanwhile. While
// the sheet is open its own loop serves `connectionEvent` (null when there is none) by sending
// WM_USER to the owner, as the main loop would.
int runOptionsSheet(HWND owner, HANDLE connectionEvent);

// Runs the about dialog modally, owned by `owner`. False, with AppError set to kErrorDialog,
// when it cannot be shown.
bool showAboutDialog(HWND owner);
