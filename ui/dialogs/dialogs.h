#pragma once
// The options sheet and the about dialog, as the main window runs them.
#include <windows.h>

struct MainWindowState;

// Shows the options sheet (tariffs, holidays, general options) over the main window and
// returns once it has closed, whichever button closed it: 0, or -1 when the sheet cannot be
// created (the caller reports kErrorDialog). The main window is disabled meanwhile. While the
// sheet is open its own loop serves `connectionEvent` (null when there is none) by sending
// WM_USER to the main window, as the main loop would.
int runOptionsSheet(MainWindowState* state, HANDLE connectionEvent);

// Runs the about dialog modally, owned by `owner`. False, with AppError set to kErrorDialog,
// when it cannot be shown.
bool showAboutDialog(HWND owner);
