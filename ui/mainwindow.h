#pragma once
// The skinned main window: its procedure, status line, confirmations and element actions.
#include <windows.h>

#include <cstdint>

#include "ui/mainwindowstate.h"

constexpr char kMainWindowClass[] = "VekMwCl";
constexpr UINT WM_CONNECTION_SIGNAL = WM_USER;
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 1;
constexpr UINT kIconOffline = 100;
constexpr UINT kIconOnline = 101;
constexpr UINT_PTR kTickTimer = 1;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The state stored in the window's user data; null before creation and after destruction.
MainWindowState* mainWindowState(HWND window);

// Shows language string `stringId` in the status line (0 or a missing string: empty).
void updateStatusText(MainWindowState* state, uint32_t stringId);

// Asks the question of language string (low 16 bits) unless the bit (high 16 bits) of
// suppressedMessages says it was answered for good; true for Yes.
bool showConfirmation(uint32_t question);

// What a click on skin element `slot` does.
void elementAction(MainWindowState* state, uint32_t slot);

// The exit confirmation: string 300, suppression bit 1.
constexpr uint32_t kConfirmExit = (1u << 16) | 300u;
