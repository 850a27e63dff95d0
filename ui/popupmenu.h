#pragma once
// Every pop-up menu of the main window goes through here.
#include <windows.h>

// Where the pointer is on the screen now.
POINT cursorOnScreen();

// Shows `menu` at `at` for `owner` with TrackPopupMenu's `flags`. The owner comes to the front
// first and is sent WM_NULL after, or the menu would not close when the user clicks elsewhere.
// Returns the chosen command with TPM_RETURNCMD (0: none); without it the menu posts the
// command to the owner and the result only says whether it was shown.
UINT trackPopupMenu(HWND owner, HMENU menu, UINT flags, POINT at);
