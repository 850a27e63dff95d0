#pragma once
// The skinned main window: its procedure, status line, shortcuts and element actions.
#include <windows.h>

#include <cstdint>

#include "ui/mainwindowstate.h"

constexpr char kMainWindowClass[] = "VekMwCl";
constexpr UINT_PTR kTickTimer = 1;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The message a later start of the program posts to the main window: show yourself and come to
// the front.
UINT showInstanceMessage();

// Loads the accelerator table of the language module into the state (reporting a module without
// one) and redraws the window: after the language changed.
void reloadShortcuts(MainWindowState* state);

// The state stored in the window's user data; null before creation and after destruction.
MainWindowState* mainWindowState(HWND window);

// Shows language string `stringId` in the status line (0 or a missing string: empty, which
// shows the running connections again).
void updateStatusText(MainWindowState* state, uint32_t stringId);

// What a click on skin element `slot` does.
void elementAction(MainWindowState* state, uint32_t slot);
