#pragma once
// Inside the options sheet: its pages, its help panel and the sheet without its own loop.
#include <windows.h>

#include <cstdint>

INT_PTR CALLBACK tariffPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK holidaysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK generalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK alertsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK adaptersPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The private calls of the help panel, sent straight to its subclass procedure.
constexpr UINT kInstallHelpPanel = WM_USER;
constexpr UINT kUpdateHoverHelp = WM_USER + 1; // wParam, lParam: the pointer's screen x and y

// Creates the modeless sheet owned by `parent` (may be null) from the language module's
// templates and installs its help panel; null when it cannot be created. The caller runs the
// messages and destroys it. The tariff page prices `shownMonth` (0: the current month), the
// month the main window shows.
HWND createOptionsSheet(HWND parent, uint32_t shownMonth = 0);

// The help panel's subclass procedure of the sheet window.
LRESULT CALLBACK helpPanelProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam);

// A string of the language module; empty when it is missing.
void loadLanguageText(UINT id, char* buffer, int size);
