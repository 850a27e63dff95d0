#include "skin/tooltip.h"

#include <cstring>

#include "core/apperror.h"
#include "core/dpi_win.h"
#include "core/scoped_win.h"
#include "skin/commoncontrols.h"
#include "skin/pngresource.h"
#include "skin/skinscale.h"

TipState tipState;
HWND tipWindow;

namespace {

constexpr UINT_PTR kDelayTimer = 1;
constexpr UINT kShowDelayMs = 500;
constexpr COLORREF kTipColor = 0x00E0FFFF;
constexpr int kWrapWidth = 300; // at 96 DPI, as the offsets the senders give

// Where the tip goes for a pointer at `x`, `y`: its bottom-left corner at the offsets, but
// always whole on the pointer's screen. Without room above the pointer it goes below it,
// clear of the cursor; at the right edge it moves left.
POINT tipPosition(int x, int y)
{
    const LONG width = tipState.tipWindowRect.right, height = tipState.tipWindowRect.bottom;
    const int32_t offsetX = scaleToDpi(tipState.tipOffsetX, tipState.tipDpi);
    const int32_t offsetY = scaleToDpi(tipState.tipOffsetY, tipState.tipDpi);
    POINT at = { x + offsetX, y + offsetY - height };
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromPoint(POINT { x, y }, MONITOR_DEFAULTTONEAREST), &monitor))
        return at;
    const RECT& work = monitor.rcWork;
    if (at.y < work.top)
        at.y = y - offsetY + GetSystemMetrics(SM_CYCURSOR) / 2;
    if (at.y + height > work.bottom)
        at.y = work.bottom - height;
    if (at.x + width > work.right)
        at.x = work.right - width;
    if (at.x < work.left)
        at.x = work.left;
    if (at.y < work.top)
        at.y = work.top;
    return at;
}

// The font the text is measured and drawn in; the stock one until a tip font could be made.
HGDIOBJ tipFont() { return tipState.tipFont != nullptr ? HGDIOBJ(tipState.tipFont) : GetStockObject(ANSI_VAR_FONT); }

void onCreate()
{
    tipState.tipBrush = CreateSolidBrush(kTipColor);
    tipState.tipDpi = kDesignDpi;
}

void onDestroy()
{
    if (tipState.tipBrush != nullptr)
        DeleteObject(tipState.tipBrush);
    tipState.tipBrush = nullptr;
    if (tipState.tipFont != nullptr)
        DeleteObject(tipState.tipFont);
    tipState.tipFont = nullptr;
    tipWindow = nullptr;
}

// The tip font for the scale of the screen under the pointer, made when that scale changes.
// The stock variable-pitch font keeps one size at every scale; the system's tip font grows
// with the screen.
HGDIOBJ tipFontAt(POINT pointer)
{
    const uint32_t dpi = monitorDpi(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST));
    if (tipState.tipFont == nullptr || dpi != tipState.tipDpi) {
        if (HFONT font = createStatusFont(dpi)) {
            if (tipState.tipFont != nullptr)
                DeleteObject(tipState.tipFont);
            tipState.tipFont = font;
            tipState.tipDpi = dpi;
        }
    }
    return tipFont();
}

void onSetText(HWND window, const char* text)
{
    const size_t length = text != nullptr ? strnlen(text, sizeof tipState.tipText - 1) : 0;
    if (length != 0)
        memcpy(tipState.tipText, text, length);
    tipState.tipText[length] = '\0';
    tipState.tipTextLength = int32_t(length);

    POINT pointer;
    GetCursorPos(&pointer);
    HGDIOBJ tipFontNow = tipFontAt(pointer);
    RECT measured = { 0, 0, scaleToDpi(kWrapWidth, tipState.tipDpi), 0 };
    if (const ScopedWindowDc dc(window); dc.get() != nullptr) {
        const ScopedSelection font(dc.get(), tipFontNow);
        DrawTextA(dc.get(), tipState.tipText, tipState.tipTextLength, &measured, DT_CALCRECT | DT_WORDBREAK);
    }
    tipState.tipTextRect = { 0, 0, measured.right + 2, measured.bottom + 2 };

    RECT frame = tipState.tipTextRect;
    AdjustWindowRectEx(
        &frame, DWORD(GetWindowLongA(window, GWL_STYLE)), FALSE, DWORD(GetWindowLongA(window, GWL_EXSTYLE)));
    tipState.tipWindowRect = { 0, 0, frame.right - frame.left, frame.bottom - frame.top };

    const POINT at = tipPosition(pointer.x, pointer.y);
    SetWindowPos(window, nullptr, at.x, at.y, tipState.tipWindowRect.right, tipState.tipWindowRect.bottom,
        SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOCOPYBITS);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

void onShow(HWND window, uint32_t flags, LPARAM offsets)
{
    if (flags & TIP_SHOW) {
        tipState.tipOffsetX = int16_t(LOWORD(offsets));
        tipState.tipOffsetY = int16_t(HIWORD(offsets));
        POINT pointer;
        GetCursorPos(&pointer);
        const POINT at = tipPosition(pointer.x, pointer.y);
        UINT positionFlags = SWP_NOACTIVATE | SWP_NOZORDER;
        if (flags & TIP_DELAYED) {
            SetWindowPos(window, nullptr, at.x, at.y, tipState.tipWindowRect.right, tipState.tipWindowRect.bottom,
                positionFlags | SWP_HIDEWINDOW);
            tipState.tipTimer = SetTimer(window, kDelayTimer, kShowDelayMs, nullptr);
        } else {
            // A pending delay must not show the tip a second time later.
            KillTimer(window, kDelayTimer);
            SetWindowPos(window, nullptr, at.x, at.y, tipState.tipWindowRect.right, tipState.tipWindowRect.bottom,
                positionFlags | SWP_SHOWWINDOW);
        }
        UpdateWindow(window);
    } else if (tipState.tipFlags & TIP_SHOW) {
        ShowWindow(window, SW_HIDE);
    }
    tipState.tipFlags = flags;
}

void onDelayEnd(HWND window)
{
    KillTimer(window, kDelayTimer);
    if (tipState.tipFlags & TIP_SHOW)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    tipState.tipFlags &= ~TIP_DELAYED;
}

void onMove(HWND window, int x, int y)
{
    const uint32_t flags = tipState.tipFlags;
    if (!(flags & TIP_SHOW) || !(flags & TIP_FOLLOW) || (flags & TIP_DELAYED))
        return;
    const POINT at = tipPosition(x, y);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void onPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &tipState.tipTextRect,
        tipState.tipBrush != nullptr ? tipState.tipBrush : HBRUSH(GetStockObject(WHITE_BRUSH)));
    {
        const ScopedSelection font(dc, tipFont());
        SetBkMode(dc, TRANSPARENT);
        RECT text = tipState.tipTextRect;
        OffsetRect(&text, 1, 1);
        DrawTextA(dc, tipState.tipText, tipState.tipTextLength, &text, DT_WORDBREAK);
    }
    EndPaint(window, &paint);
}

} // namespace

LRESULT CALLBACK tipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        onCreate();
        break;
    case WM_DESTROY:
        onDestroy();
        break;
    case WM_SETTEXT:
        onSetText(window, reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_TIP_SHOW:
        onShow(window, uint32_t(wParam), lParam);
        return 0;
    case WM_TIP_MOVE:
        onMove(window, int(int32_t(wParam)), int(int32_t(lParam)));
        return 0;
    case WM_TIMER:
        onDelayEnd(window);
        return 0;
    case WM_PAINT:
        onPaint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETFONT:
        return LRESULT(tipFont());
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND ensureTipWindow(HINSTANCE instance)
{
    if (tipWindow != nullptr)
        return tipWindow;
    checkDropShadow();
    WNDCLASSEXA tipClass {};
    tipClass.cbSize = sizeof tipClass;
    tipClass.style = CS_SAVEBITS | (dropShadowAvailable ? CS_DROPSHADOW : 0);
    tipClass.lpfnWndProc = tipWindowProc;
    tipClass.hInstance = instance;
    tipClass.lpszClassName = kTipWindowClass;
    if (RegisterClassExA(&tipClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        tipWindow = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTipWindowClass, nullptr, WS_POPUP | WS_BORDER, 0,
            0, 0, 0, nullptr, nullptr, instance, nullptr);
    // Said once: the pointer asks again at every move.
    static bool reported;
    if (tipWindow == nullptr && !reported) {
        reported = true;
        reportError(kErrorTipWindow);
    }
    return tipWindow;
}
