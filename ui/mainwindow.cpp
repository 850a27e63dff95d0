// The main window procedure: it creates and destroys the window's state and hands every message to
// the handler of its concern (painting, the tick, the mouse, the commands).
#include "ui/mainwindow.h"
#include "ui/mainwindowhandlers.h"

#include <cstdlib>
#include <cstring>

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/language.h"
#include "core/platform.h"
#include "lang/ids.h"
#include "monitor/watcher.h"
#include "skin/pngresource.h"
#include "skin/skin.h"
#include "skin/tooltip.h"
#include "tariff/settings.h"
#include "ui/confirmation.h"
#include "ui/hovertips.h"
#include "ui/statusline.h"
#include "ui/trayicon.h"
#include "ui/views.h"

namespace {

// Sent by Windows 10 1703 and later; the headers name it for newer targets only.
constexpr UINT kGetDpiScaledSize = 0x02E4;

POINT pointFrom(LPARAM lParam)
{
    // Client coordinates arrive as unsigned 16-bit values.
    return { LONG(LOWORD(lParam)), LONG(HIWORD(lParam)) };
}

bool onCreate(HWND window, const CREATESTRUCTA* creation)
{
    const auto* host = static_cast<const MainWindowHost*>(creation->lpCreateParams);
    if (host == nullptr)
        return false;
    auto* state = static_cast<MainWindowState*>(calloc(1, sizeof(MainWindowState)));
    if (state == nullptr)
        return failWith(kErrorNoMemory);
    SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(state));
    state->window = window;
    state->host = host;
    state->hover.slot = -1; // no hover tip yet

    if (!host->swapLanguage(state, settings.languageId))
        reportError(0);
    useUserNumberFormat();
    state->lastTick = localTimeNow();
    if (settings.alwaysOnTop)
        makeTopmost(window, true);
    state->lastTopmostCount = -1;
    createBackBuffer(state);
    // What the first paint does not need comes after it.
    PostMessageA(window, WM_FINISH_START, 0, 0);
    return true;
}

// The rest of the window's start, once it has been painted: the connections, the tray icon and
// the timer.
void onFinishStart(MainWindowState* state)
{
    const MainWindowHost* host = state->host;
    if (host->finishStartUp != nullptr)
        host->finishStartUp();
    if (!rescanConnections())
        reportError(0);
    if (!createTrayIcon(state))
        reportError(kErrorTrayIcon);
    tickSoon(state);
}

// The window's place goes into the settings, which are saved after it.
void storePlacement(HWND window)
{
    WINDOWPLACEMENT placement {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window, &placement)) {
        static_assert(sizeof placement == sizeof settings.windowPlacement);
        memcpy(&settings.windowPlacement, &placement, sizeof placement);
    }
}

// The state itself is freed when the outermost message handler is done (see mainWindowProc).
void onDestroy(MainWindowState* state)
{
    HWND window = state->window;
    storePlacement(window);
    hideHoverTip(state);
    deleteBackBuffer(state);
    removeTrayIcon(state);
    KillTimer(window, kTickTimer);
    destroyKeptMenu(state);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    state->destroyed = 1;
    PostQuitMessage(0);
}

// Windows is logging off or shutting down: nobody answers the exit question now, and the
// process may be ended as soon as this returns.
void onEndSession(MainWindowState* state, bool ending)
{
    if (!ending)
        return;
    storePlacement(state->window);
    state->host->storeForSessionEnd();
    DestroyWindow(state->window);
}

} // namespace

void invalidateAll(MainWindowState* state, bool erase) { InvalidateRect(state->window, nullptr, erase ? TRUE : FALSE); }

void invalidateElement(MainWindowState* state, uint32_t slot)
{
    InvalidateRect(state->window, &skin.rects[slot], FALSE);
}

void makeTopmost(HWND window, bool topmost)
{
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void destroyKeptMenu(MainWindowState* state)
{
    if (state->menu != nullptr)
        DestroyMenu(state->menu);
    state->menu = nullptr;
}

UINT showInstanceMessage()
{
    static const UINT message = RegisterWindowMessageA("telvane: show the window");
    return message;
}

void reloadShortcuts(MainWindowState* state)
{
    // Without any module (already reported) there are no shortcuts to look for.
    state->accelerators = LanguageModule != nullptr
        ? LoadAcceleratorsA(LanguageModule, MAKEINTRESOURCEA(IDA_MAIN_ACCELERATORS))
        : nullptr;
    if (state->accelerators == nullptr && LanguageModule != nullptr)
        reportError(kErrorAcceleratorsMissing);
    InvalidateRect(state->window, nullptr, TRUE);
}

MainWindowState* mainWindowState(HWND window)
{
    return reinterpret_cast<MainWindowState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void updateStatusText(MainWindowState* state, uint32_t stringId)
{
    char text[sizeof state->statusText] = "";
    if (stringId != 0)
        languageString(stringId, text, sizeof text);
    showStatusMessage(state, text);
}

namespace {

LRESULT handleMessage(MainWindowState* state, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == taskbarCreatedMessage() && message != 0) {
        restoreTrayIcon(state);
        return 0;
    }
    if (message == showInstanceMessage()) {
        showWindow(state); // a second start of the program asks for the window
        return 0;
    }

    switch (message) {
    case WM_DESTROY:
        onDestroy(state);
        break;
    case WM_SIZE:
        GetClientRect(window, &state->clientRect);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        invalidateAll(state, true);
        break;
    case WM_PAINT:
        onPaint(state);
        return 0;
    case WM_CLOSE:
        if (showConfirmation(window, kConfirmExit))
            DestroyWindow(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_NOTIFY:
        return 0;
    case kGetDpiScaledSize:
        return onGetDpiScaledSize(LOWORD(wParam), reinterpret_cast<SIZE*>(lParam));
    case WM_DPICHANGED:
        onDpiChanged(state, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
        displayColorDepth = uint32_t(wParam);
        if (helpToggleImages != nullptr)
            refreshHelpToggleImages();
        break;
    case WM_COMMAND:
        onCommand(state, LOWORD(wParam));
        break;
    case WM_TIMER:
        onTick(state);
        break;
    // A clock set by the user or a time synchronisation: a change of month or period that it
    // makes is cut at once.
    case WM_TIMECHANGE:
        onTick(state);
        break;
    case WM_POWERBROADCAST:
        onPowerBroadcast(state, wParam);
        return TRUE;
    case WM_MENUSELECT:
        onMenuSelect(state, LOWORD(wParam), HMENU(lParam));
        break;
    case WM_MOUSEMOVE:
        onMouseMove(state, pointFrom(lParam));
        break;
    case WM_LBUTTONDOWN:
        onButtonDown(state, pointFrom(lParam));
        break;
    case WM_LBUTTONUP:
        onButtonUp(state, pointFrom(lParam));
        break;
    case WM_MOUSEWHEEL:
        onMouseWheel(state, wParam, lParam);
        return 0;
    case WM_MOUSELEAVE:
        hideHoverTip(state);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (onKey(state, wParam))
            return 0;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // The system would answer these keys' release with its own menu or a context menu.
        if (wParam == VK_F10 || wParam == VK_APPS)
            return 0;
        break;
    case WM_CONTEXTMENU:
        if (lParam == -1) { // from the keyboard
            openMainMenu(state, belowMenuButton(state));
            return 0;
        }
        break;
    case WM_SETTINGCHANGE:
        useUserNumberFormat();
        invalidateAll(state, true);
        tickSoon(state); // the tray tip in the new formats
        break;
    case WM_CONNECTION_SIGNAL:
        onConnectionSignal(state);
        break;
    case WM_TRAY_CALLBACK:
        onTrayCallback(state, lParam);
        break;
    case WM_READ_YEAR:
        readShownYear(state);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        onEndSession(state, wParam != FALSE);
        return 0;
    case WM_FINISH_START:
        onFinishStart(state);
        return 0;
    case WM_SHOW_REPORTS:
        state->reportsPosted = 0;
        showDeferredReports();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        if (!onCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam)))
            return -1;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    MainWindowState* state = mainWindowState(window);
    if (state == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    ++state->handling;
    const LRESULT result = handleMessage(state, window, message, wParam, lParam);
    if (--state->handling == 0 && state->destroyed) {
        free(state);
        return result;
    }
    // Reports that a scan, a tick or a paint made wait until it is done; they are shown from the
    // message loop, where no counting is under way.
    if (!state->destroyed && !state->reportsPosted && hasDeferredReports() && !DeferredReports::active()) {
        state->reportsPosted = 1;
        PostMessageA(window, WM_SHOW_REPORTS, 0, 0);
    }
    return result;
}
