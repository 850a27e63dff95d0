#pragma once
// The options sheet's own loop, run from the main window.
#include <windows.h>

#include <cstdint>

// Shows the options sheet (tariffs, holidays, general options) over `owner` (the main window,
// or null) and returns once it has closed, whichever button closed it: 0, or -1 when the sheet
// cannot be created (the caller reports kErrorDialog). The owner is disabled meanwhile. While
// the sheet is open its loop serves `connectionEvent` (null when there is none) by sending
// WM_CONNECTION_SIGNAL to the owner, as the main loop would; a quit message ends it and is
// posted again for the main loop.
// The tariff page prices `shownMonth`, the month the owner shows (0: the current month).
int runOptionsSheet(HWND owner, HANDLE connectionEvent, uint32_t shownMonth = 0);
