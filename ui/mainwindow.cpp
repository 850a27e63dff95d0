// The main window procedure: creation, painting, the timer tick, mouse, keys, menus and commands.
#include "ui/mainwindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/apperror.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/watchedadapters.h"
#include "monitor/watcher.h"
#include "skin/pngresource.h"
#include "skin/skin.h"
#include "skin/tooltip.h"
#include "tariff/alerts.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/alertnotice.h"
#include "ui/confirmation.h"
#include "ui/dialogs/dialogs.h"
#include "ui/exportmonth.h"
#include "ui/hovertips.h"
#include "ui/mainmenu.h"
#include "ui/menulists.h"
#include "ui/optionsloop.h"
#include "ui/popupmenu.h"
#include "ui/ticks.h"
#include "ui/trayicon.h"
#include "ui/viewmath.h"
#include "ui/views.h"

namespace {

constexpr int kWheelRows = 3; // list rows per notch of the mouse wheel
constexpr int kScrollPixelsPerRow = 6; // pointer travel that scrolls the list by one row

POINT pointFrom(LPARAM lParam)
{
    // Client coordinates arrive as unsigned 16-bit values.
    return { LONG(LOWORD(lParam)), LONG(HIWORD(lParam)) };
}

void invalidateAll(MainWindowState* state, bool erase) { InvalidateRect(state->window, nullptr, erase ? TRUE : FALSE); }

void invalidateElement(MainWindowState* state, uint32_t slot)
{
    InvalidateRect(state->window, &skin.rects[slot], FALSE);
}

void makeTopmost(HWND window, bool topmost)
{
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The skin slot under a client point, 0 when only the window itself (or nothing) is there.
// Later slots lie on top of earlier ones.
int32_t hitTest(POINT point)
{
    for (int32_t slot = kSkinElementCount - 1; slot >= 0; --slot) {
        if (skin.regions[slot] != nullptr) {
            if (PtInRegion(skin.regions[slot], point.x, point.y))
                return slot;
        } else if (PtInRect(&skin.rects[slot], point)) {
            return slot;
        }
    }
    return -1;
}

void destroyKeptMenu(MainWindowState* state)
{
    if (state->menu != nullptr)
        DestroyMenu(state->menu);
    state->menu = nullptr;
}

// ---- creation and destruction ----

// The window-sized picture every paint is drawn into first.
void createBackBuffer(MainWindowState* state)
{
    {
        const ScopedWindowDc windowDc(state->window);
        state->backBufferDc = CreateCompatibleDC(windowDc.get());
        state->backBuffer = CreateCompatibleBitmap(windowDc.get(), skin.windowWidth, skin.windowHeight);
    }
    if (state->backBufferDc != nullptr && state->backBuffer != nullptr)
        state->backBufferOld = HBITMAP(SelectObject(state->backBufferDc, state->backBuffer));
}

void deleteBackBuffer(MainWindowState* state)
{
    if (state->backBufferDc != nullptr) {
        if (state->backBufferOld != nullptr)
            SelectObject(state->backBufferDc, state->backBufferOld);
        DeleteDC(state->backBufferDc);
    }
    if (state->backBuffer != nullptr)
        DeleteObject(state->backBuffer);
    state->backBufferDc = nullptr;
    state->backBuffer = nullptr;
    state->backBufferOld = nullptr;
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
    if (createTipWindow(host->instance) == nullptr)
        reportError(kErrorTipWindow);
    if (!rescanConnections())
        reportError(0);

    if (!createTrayIcon(state))
        reportError(kErrorTrayIcon);

    state->lastTick = localTimeNow();
    if (settings.alwaysOnTop)
        makeTopmost(window, true);
    state->lastTopmostCount = -1;

    createBackBuffer(state);

    state->timer = SetTimer(window, kTickTimer, settings.updateIntervalMs, nullptr);
    return true;
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
    free(state);
    PostQuitMessage(0);
}

// ---- painting ----

void copyBitmap(HDC target, HBITMAP bitmap, const RECT& to)
{
    const ScopedBitmapDc source(target, bitmap);
    if (source.get() != nullptr)
        BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, source.get(), 0, 0, SRCCOPY);
}

// The figures change with every tick; so does the tip of the figure the pointer rests on.
void refreshTipAtCursor(MainWindowState* state)
{
    POINT cursor = cursorOnScreen();
    if (WindowFromPoint(cursor) != state->window) {
        hideHoverTip(state);
        return;
    }
    ScreenToClient(state->window, &cursor);
    refreshHoverTip(state, cursor, hitTest(cursor));
}

void onPaint(MainWindowState* state)
{
    PAINTSTRUCT paint;
    HDC windowDc = BeginPaint(state->window, &paint);
    HDC buffer = state->backBufferDc;
    // A month log with a format error is reported from inside the paint that reads it; the
    // box's loop delivers paints, which must not read (and report) the month again. The paint
    // in progress copies the whole picture when it is done.
    if (buffer != nullptr && state->backBuffer != nullptr && !state->painting) {
        state->painting = 1;
        // The painters select the skin's fonts and set colours and modes as they go; the buffer
        // gets its own back afterwards, so no skin font stays selected when the skin changes.
        const ScopedDcState restore(buffer);
        const RECT whole = { 0, 0, skin.windowWidth, skin.windowHeight };
        const bool active = GetActiveWindow() == state->window;
        HBITMAP background = skin.images[kElementMainWindow][active ? kButtonEnabled : kButtonDisabled];
        if (background == nullptr)
            background = skin.images[kElementMainWindow][kButtonEnabled];
        if (background != nullptr)
            copyBitmap(buffer, background, whole);
        else
            FillRect(buffer, &whole, HBRUSH(GetStockObject(WHITE_BRUSH))); // no picture: no stale frame
        if (state->hotElement < kSkinElementCount && state->hotState < kButtonStateCount) {
            if (HBITMAP hot = skin.images[state->hotElement][state->hotState])
                copyBitmap(buffer, hot, skin.rects[state->hotElement]);
        }
        paintStatistics(state, buffer);

        selectSkinFont(buffer, kFontText);
        SetTextColor(buffer, skin.fontColors[kFontText]);
        SetBkMode(buffer, TRANSPARENT);
        RECT status = skin.rects[kElementStatusText];
        DrawTextA(buffer, state->statusText, -1, &status, skin.textFormats[kElementStatusText]);
        BitBlt(windowDc, 0, 0, skin.windowWidth, skin.windowHeight, buffer, 0, 0, SRCCOPY);
        state->painting = 0;
    }
    EndPaint(state->window, &paint);
    refreshTipAtCursor(state);
}

// ---- the timer tick ----

void onTick(MainWindowState* state)
{
    watchConnectionsOnTick();

    if (settings.alwaysOnTop && settings.onTopWhileOnline
        && int32_t(liveConnectionCount()) != state->lastTopmostCount) {
        state->lastTopmostCount = int32_t(liveConnectionCount());
        makeTopmost(state->window, state->lastTopmostCount != 0);
    }

    const LocalTime now = localTimeNow();
    const TickDecision decision = applyTickRules(state->lastTick, now);
    if (decision.monthChanged)
        invalidateAll(state, true);
    state->lastTick = now;

    if (IsWindowVisible(state->window))
        invalidateAll(state, false);
    updateTrayTip(state);
    checkUsageAlerts(state);
}

// Sleep is no time online: the slices end when the machine goes to sleep and start again when
// it wakes, with fresh counter readings.
void onPowerBroadcast(MainWindowState* state, WPARAM event)
{
    const LocalTime now = localTimeNow();
    if (event == PBT_APMSUSPEND) {
        closeSlices(now);
    } else if (event == PBT_APMRESUMESUSPEND || event == PBT_APMRESUMEAUTOMATIC) {
        applyResume(state->lastTick, now);
    } else {
        return;
    }
    state->lastTick = now;
    invalidateAll(state, true);
}

// ---- mouse ----

void onMouseMove(MainWindowState* state, POINT point)
{
    const int32_t hit = hitTest(point);
    if (hit >= 0 && uint32_t(hit) != state->hotElement) {
        state->hotElement = uint32_t(hit);
        state->hotState = kButtonHilight;
        invalidateElement(state, state->hotElement);
    }
    if (state->dragging) {
        const POINT cursor = cursorOnScreen();
        POINT origin = { 0, 0 };
        ClientToScreen(state->window, &origin);
        SetWindowPos(state->window, HWND_TOP, origin.x + cursor.x - state->dragStart.x,
            origin.y + cursor.y - state->dragStart.y, 0, 0, SWP_NOSIZE);
        state->dragStart = cursor;
    } else if (state->scrolling) {
        const POINT cursor = cursorOnScreen();
        const int32_t rows = (cursor.y - state->scrollLastY) / kScrollPixelsPerRow;
        if (rows != 0) {
            state->listScroll = std::max(0, state->listScroll + rows);
            state->scrollLastY += rows * kScrollPixelsPerRow;
            invalidateAll(state, true);
        }
    } else {
        // The list can be dragged to scroll; say so over it.
        const bool overList = liveConnectionCount() == 0 && PtInRect(&skin.rects[kElementLog], point);
        HCURSOR cursor = LoadCursorA(nullptr, overList ? IDC_SIZENS : IDC_ARROW);
        SetClassLongPtrA(state->window, GCLP_HCURSOR, LONG_PTR(cursor));
        SetCursor(cursor);
        updateHoverTip(state, point, hit);
    }
}

// The press point on the screen: where the cursor was when the button went down, even when
// the press is handled only after the cursor has moved on.
POINT pressOnScreen(const MainWindowState* state, POINT point)
{
    ClientToScreen(state->window, &point);
    return point;
}

void startScrolling(MainWindowState* state, POINT point)
{
    state->scrolling = 1;
    state->scrollLastY = pressOnScreen(state, point).y;
    SetCapture(state->window);
}

void onButtonDown(MainWindowState* state, POINT point)
{
    hideHoverTip(state);
    state->hotElement = 0;
    const int32_t hit = hitTest(point);
    if (hit >= 0) {
        state->hotElement = uint32_t(hit);
        state->hotState = kButtonPressed;
        invalidateElement(state, state->hotElement);
    }
    if (state->hotElement == kElementLog && liveConnectionCount() == 0) {
        // Pressing on the list and dragging scrolls it until the button is released.
        startScrolling(state, point);
    } else if (state->hotElement == 0) {
        state->dragging = 1;
        state->dragStart = pressOnScreen(state, point);
        SetCapture(state->window);
    }
}

void onButtonUp(MainWindowState* state, POINT point)
{
    const bool wasScrolling = state->scrolling;
    const int32_t hit = hitTest(point);
    if (hit >= 0) {
        state->hotElement = uint32_t(hit);
        state->hotState = kButtonEnabled;
        // The release that ends a scroll is not a click on the list.
        if (!(wasScrolling && uint32_t(hit) == kElementLog))
            elementAction(state, state->hotElement);
        invalidateElement(state, state->hotElement);
    }
    state->dragging = 0;
    state->scrolling = 0;
    if (GetCapture() == state->window)
        ReleaseCapture();
}

void onMouseWheel(MainWindowState* state, WPARAM wParam, LPARAM lParam)
{
    POINT point = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    ScreenToClient(state->window, &point);
    if (liveConnectionCount() != 0 || !PtInRect(&skin.rects[kElementLog], point))
        return;
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    state->listScroll = std::max(0, state->listScroll - notches * kWheelRows);
    invalidateAll(state, true);
}

// ---- menus ----

// Shows `menu` with its top-left corner at `at` (screen); a chosen command arrives as WM_COMMAND.
void trackFromWindow(MainWindowState* state, HMENU menu, POINT at)
{
    hideHoverTip(state);
    trackPopupMenu(state->window, menu, TPM_LEFTBUTTON, at);
}

// Menus opened by a click open just up and left of the pointer.
POINT atCursor()
{
    const POINT cursor = cursorOnScreen();
    return { cursor.x - 5, cursor.y - 5 };
}

// The main menu opened from the keyboard hangs from the menu button.
POINT belowMenuButton(const MainWindowState* state)
{
    POINT corner = { skin.rects[kElementMenuButton].left, skin.rects[kElementMenuButton].bottom };
    ClientToScreen(state->window, &corner);
    return corner;
}

void openMainMenu(MainWindowState* state, POINT at)
{
    destroyKeptMenu(state);
    state->menu = LoadMenuA(LanguageModule, MAKEINTRESOURCEA(IDM_MAIN_MENU));
    HMENU popup = state->menu != nullptr ? GetSubMenu(state->menu, 0) : nullptr;
    if (popup == nullptr)
        return;
    if (!addAcceleratorTexts(state->accelerators, popup))
        reportError(0);
    buildMainMenu(state, popup);
    trackFromWindow(state, popup, at);
}

void openTariffMenu(MainWindowState* state)
{
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return;
    for (int32_t index = 0; index < kTariffSlots; ++index) {
        const Rate* rate = tariffAt(index);
        if (rate == nullptr)
            break;
        char name[sizeof rate->name];
        memcpy(name, rate->name, sizeof name);
        name[sizeof name - 1] = '\0';
        char text[2 * sizeof name];
        menuItemText(name, text, sizeof text);
        const UINT checked = index == settings.activeTariff ? MF_CHECKED : 0;
        AppendMenuA(menu, MF_STRING | checked, IDM_TARIFF_FIRST + UINT(index), text);
    }
    trackFromWindow(state, menu, atCursor());
    DestroyMenu(menu);
}

void showWindow(MainWindowState* state)
{
    ShowWindow(state->window, SW_SHOW);
    SetForegroundWindow(state->window);
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

// The status line text the log area fills in for the connection it shows, or "" offline.
void shownConnectionText(char* text, size_t size)
{
    text[0] = '\0';
    const uint32_t count = liveConnectionCount();
    if (count == 0)
        return;
    const LiveConnection* connection = liveConnectionAt(count - 1);
    snprintf(text, size, "%s (%s)", connection->entryName, connection->ipAddress);
}

void onConnectionSignal(MainWindowState* state)
{
    char shownBefore[sizeof state->statusText], shownAfter[sizeof state->statusText];
    shownConnectionText(shownBefore, sizeof shownBefore);
    if (!rescanConnections())
        reportError(0);
    // The status line keeps the name of the connection it was filled with; once that
    // connection is no longer the one shown, it would name a line that has gone down.
    shownConnectionText(shownAfter, sizeof shownAfter);
    if (shownBefore[0] != '\0' && strcmp(shownBefore, shownAfter) != 0 && strcmp(state->statusText, shownBefore) == 0)
        state->statusText[0] = '\0';
    updateTrayIcon(state);
    invalidateAll(state, true);
}

void onMenuSelect(MainWindowState* state, UINT item, HMENU menu)
{
    const uint32_t hint = menuHintId(item);
    // The item number is a position when it opens a sub-menu.
    if (menu == nullptr || GetSubMenu(menu, int(item)) != nullptr)
        updateStatusText(state, 0);
    else
        updateStatusText(state, hint);
}

// A skin brings its own size and outline: the window takes them at once, and its back buffer
// the new size.
void applySkinShape(MainWindowState* state)
{
    hideHoverTip(state);
    deleteBackBuffer(state);
    SetWindowPos(
        state->window, nullptr, 0, 0, skin.windowWidth, skin.windowHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The window owns the copy of the outline from here on; none leaves it rectangular.
    SetWindowRgn(state->window, copyWindowRegion(), TRUE);
    createBackBuffer(state);
}

void switchSkin(MainWindowState* state, UINT id)
{
    char text[2 * 260], name[260];
    if (state->menu == nullptr || GetMenuStringA(state->menu, id, text, sizeof text, MF_BYCOMMAND) <= 0)
        return;
    menuItemName(text, name, sizeof name);
    const uint32_t dpi = skin.dpi;
    if (loadSkin(name, dpi)) {
        snprintf(settings.skinName, sizeof settings.skinName, "%s", name);
    } else if (!loadSkin(settings.skinName, dpi)) {
        reportError(0);
    }
    applySkinShape(state);
    invalidateAll(state, true);
}

void runOptions(MainWindowState* state)
{
    if (runOptionsSheet(state->window, state->host->connectionEvent) != 0) {
        reportError(kErrorDialog);
        return;
    }
    KillTimer(state->window, kTickTimer);
    state->timer = SetTimer(state->window, kTickTimer, settings.updateIntervalMs, nullptr);
    const bool online = liveConnectionCount() != 0;
    makeTopmost(state->window, settings.alwaysOnTop && !(settings.onTopWhileOnline && !online));
    if (settings.alwaysOnTop)
        state->lastTopmostCount = int32_t(liveConnectionCount());
    if (!reloadStatistics())
        reportError(0);
    // The tariff file alone first, so the tariffs survive even when the settings cannot be
    // written.
    if (!writeRates())
        reportError(0);
    if (!saveSettings())
        reportError(0);
    if (!saveAlerts())
        reportError(0);
    if (!saveWatchedAdapters())
        reportError(0);
    // An adapter ticked or unticked comes up or ends at once.
    onConnectionSignal(state);
}

// A click on the notification-area icon shows or hides the window; its menu dials and hangs up
// by itself and leaves the window's own commands to the window.
void onTrayCallback(MainWindowState* state, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN) {
        if (IsWindowVisible(state->window))
            ShowWindow(state->window, SW_HIDE);
        else
            showWindow(state);
        return;
    }
    if (mouseMessage != WM_RBUTTONDOWN)
        return;
    switch (openTrayMenu(state)) {
    case IDM_SHOW_WINDOW:
        showWindow(state);
        break;
    case IDM_OPTIONS:
        runOptions(state);
        break;
    case IDM_EXIT:
        if (showConfirmation(state->window, kConfirmExit))
            DestroyWindow(state->window);
        break;
    default:
        break;
    }
}

void onCommand(MainWindowState* state, UINT id)
{
    if (id >= IDM_LOG_MONTH_FIRST && id <= IDM_LOG_MONTH_LAST) {
        MENUITEMINFOA item {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_DATA;
        if (state->menu != nullptr && GetMenuItemInfoA(state->menu, id, FALSE, &item)) {
            state->selectedMonth = uint32_t(item.dwItemData);
            state->listScroll = 0;
        }
        invalidateAll(state, true);
        return;
    }
    if (id >= IDM_SKIN_FIRST && id <= IDM_SKIN_LAST) {
        switchSkin(state, id);
        return;
    }
    switch (id) {
    case IDM_EXIT: {
        HWND window = state->window;
        SendMessageA(window, WM_CLOSE, 0, 0);
        if (!IsWindow(window))
            return; // destroyed: the state and the kept menu are gone with it
        break;
    }
    case IDM_OPTIONS:
        runOptions(state);
        break;
    case IDM_LANGUAGE_GERMAN:
    case IDM_LANGUAGE_ENGLISH:
        if (!state->host->swapLanguage(state, id == IDM_LANGUAGE_GERMAN ? kLanguageGerman : kLanguageEnglish))
            reportError(0);
        break;
    case IDM_SAVE_SETTINGS:
        if (saveSettings())
            updateStatusText(state, IDS_SETTINGS_SAVED);
        else
            reportError(0);
        break;
    case IDM_EXPORT_MONTH:
        exportShownMonth(state);
        break;
    case IDM_ABOUT:
        if (!showAboutDialog(state->window))
            reportError(kErrorDialog);
        break;
    default:
        if (id >= IDM_TARIFF_FIRST && id <= IDM_TARIFF_LAST) {
            settings.activeTariff = int32_t(id - IDM_TARIFF_FIRST);
            invalidateAll(state, true);
            if (!reloadStatistics())
                reportError(0);
        }
        break;
    }
    destroyKeptMenu(state);
}

// ---- keyboard ----

// F10, Shift+F10 and the context-menu key open the main menu; the arrows, the page keys,
// Home and End scroll the list. True when the key was one of them.
bool onKey(MainWindowState* state, WPARAM key)
{
    if (key == VK_F10 || key == VK_APPS) {
        openMainMenu(state, belowMenuButton(state));
        return true;
    }
    ListKey listKey;
    switch (key) {
    case VK_UP:
        listKey = ListKey::up;
        break;
    case VK_DOWN:
        listKey = ListKey::down;
        break;
    case VK_PRIOR:
        listKey = ListKey::pageUp;
        break;
    case VK_NEXT:
        listKey = ListKey::pageDown;
        break;
    case VK_HOME:
        listKey = ListKey::home;
        break;
    case VK_END:
        listKey = ListKey::end;
        break;
    default:
        return false;
    }
    hideHoverTip(state);
    const PaintedLayout& painted = state->painted;
    if (!painted.listShown)
        return true;
    state->listScroll
        = scrolledListPosition(listKey, state->listScroll, painted.listRowsShown, painted.listScrollLimit);
    invalidateAll(state, true);
    return true;
}

} // namespace

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
    state->statusText[0] = '\0';
    if (stringId != 0)
        languageString(stringId, state->statusText, sizeof state->statusText);
    InvalidateRect(state->window, nullptr, FALSE);
}

void elementAction(MainWindowState* state, uint32_t slot)
{
    switch (slot) {
    case kElementLog:
        // Scrolling happens while the button is held on the list (see the press handler).
        break;
    case kElementMenuButton:
        openMainMenu(state, atCursor());
        break;
    case kElementMinimizeButton:
        hideHoverTip(state);
        ShowWindow(state->window, SW_HIDE);
        break;
    case kElementCloseButton:
        PostMessageA(state->window, WM_CLOSE, 0, 0);
        break;
    case kElementTariffButton:
        openTariffMenu(state);
        break;
    default:
        break;
    }
    state->hotElement = slot;
    state->hotState = kButtonPressed;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MainWindowState* state = mainWindowState(window);
    if (state != nullptr && message == taskbarCreatedMessage() && message != 0) {
        restoreTrayIcon(state);
        return 0;
    }
    if (message == WM_CREATE) {
        if (!onCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam)))
            return -1;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (state == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
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
    case WM_DISPLAYCHANGE:
        displayColorDepth = uint32_t(wParam);
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
        break;
    case WM_CONNECTION_SIGNAL:
        onConnectionSignal(state);
        break;
    case WM_TRAY_CALLBACK:
        onTrayCallback(state, lParam);
        break;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        onEndSession(state, wParam != FALSE);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
