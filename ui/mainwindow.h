#pragma once
// The skinned main window: its procedure, status line, confirmations and element actions.
#include <windows.h>

#include <cstdint>

#include "lang/ids.h"
#include "res/resource.h"
#include "tariff/settings.h"
#include "ui/mainwindowstate.h"

constexpr char kMainWindowClass[] = "VekMwCl";
constexpr UINT WM_CONNECTION_SIGNAL = WM_USER;
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 1;
constexpr UINT_PTR kTickTimer = 1;

// What the main window asks of the program that creates it: handed over as the creation
// parameter (CreateWindowEx's last argument) and kept in the window's state for its life.
struct MainWindowHost {
    HINSTANCE instance;      // the executable: the tray icons; owner of the tip window
    HANDLE connectionEvent;  // served by the options sheet's loop too; null when there is none
    // The user chose a language (or the window is being created with the stored one): loads its
    // module, stores it and has the window reload its shortcuts. False with AppError set.
    bool (*swapLanguage)(MainWindowState* state, uint16_t languageId);
    // The Windows session ends: everything is stored as at exit, without any box.
    void (*storeForSessionEnd)();
};

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The message a later start of the program posts to the main window: show yourself and come to
// the front.
UINT showInstanceMessage();

// Loads the accelerator table of the language module into the state (reporting a module without
// one) and redraws the window: after the language changed.
void reloadShortcuts(MainWindowState* state);

// The state stored in the window's user data; null before creation and after destruction.
MainWindowState* mainWindowState(HWND window);

// Shows language string `stringId` in the status line (0 or a missing string: empty).
void updateStatusText(MainWindowState* state, uint32_t stringId);

// Asks the question of language string (low 16 bits) in a box owned by `owner`, unless the bit
// (high 16 bits) of suppressedMessages says it was answered for good; true for Yes.
bool showConfirmation(HWND owner, uint32_t question);

// What a click on skin element `slot` does.
void elementAction(MainWindowState* state, uint32_t slot);

// The exit confirmation: its question and the bit that suppresses it.
constexpr uint32_t kConfirmExit = (kConfirmExitBit << 16) | IDS_CONFIRM_EXIT;
