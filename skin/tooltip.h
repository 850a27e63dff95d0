#pragma once
// The help-tip window: a bordered pale-yellow pop-up with a word-wrapped text that sits
// above and to the right of the pointer and can follow it, drawn at the scale of the screen
// the pointer is on. It answers WM_GETFONT with the font it measures and draws its text in.
#include <windows.h>

#include <cstdint>

constexpr UINT WM_TIP_SHOW = WM_USER; // wParam flags, lParam offsets x (low) and y (high)
constexpr UINT WM_TIP_MOVE = WM_USER + 1; // wParam, lParam: pointer position on the screen

constexpr uint32_t TIP_SHOW = 0x1;
constexpr uint32_t TIP_FOLLOW = 0x2;
constexpr uint32_t TIP_DELAYED = 0x4;

constexpr char kTipWindowClass[] = "VekTtCl";

struct TipState {
    uint32_t tipFlags;
    UINT_PTR tipTimer;
    HBRUSH tipBrush;
    int32_t tipOffsetX; // pointer to the tip's left edge
    int32_t tipOffsetY; // pointer to the tip's bottom edge
    RECT tipWindowRect;
    RECT tipTextRect;
    int32_t tipTextLength;
    char tipText[65536];
    HFONT tipFont; // the system's tip font at tipDpi
    uint32_t tipDpi; // the scale the text was measured at; offsets and wrap width follow it
};

extern TipState tipState;
extern HWND tipWindow;

LRESULT CALLBACK tipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The one tip window (hidden), kept in tipWindow: made with its class when first asked for, so
// that a telvane nobody points at has neither it nor the library its shadow is looked up in.
// Null when it cannot be made, which is reported the first time.
HWND ensureTipWindow(HINSTANCE instance);
