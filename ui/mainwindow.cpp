// The main window procedure: creation, painting, the timer tick, mouse, tray and commands.
#include "ui/mainwindow.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/apperror.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/singleinstance.h"
#include "core/startup.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "monitor/dialling.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"
#include "monitor/watcher.h"
#include "skin/pngresource.h"
#include "skin/skin.h"
#include "skin/tooltip.h"
#include "tariff/alerts.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/alertnotice.h"
#include "ui/dialogs/dialogs.h"
#include "ui/exportmonth.h"
#include "ui/hovertips.h"
#include "ui/mainmenu.h"
#include "ui/menulists.h"
#include "ui/textinserts.h"
#include "ui/ticks.h"
#include "ui/traytip.h"
#include "ui/viewmath.h"
#include "ui/views.h"

namespace {

constexpr int kWheelRows = 3;        // list rows per notch of the mouse wheel
constexpr int kScrollPixelsPerRow = 6;  // pointer travel that scrolls the list by one row

POINT pointFrom(LPARAM lParam)
{
    // Client coordinates arrive as unsigned 16-bit values.
    return {LONG(LOWORD(lParam)), LONG(HIWORD(lParam))};
}

void invalidateAll(MainWindowState* state, bool erase)
{
    InvalidateRect(state->window, nullptr, erase ? TRUE : FALSE);
}

void invalidateElement(MainWindowState* state, uint32_t slot)
{
    InvalidateRect(state->window, &skin.rects[slot], FALSE);
}

HICON trayIcon(bool online)
{
    return HICON(LoadImageA(ownInstance, MAKEINTRESOURCEA(online ? kIconOnline : kIconOffline), IMAGE_ICON, 16, 16,
                            LR_SHARED));
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

POINT cursorOnScreen()
{
    POINT cursor;
    GetCursorPos(&cursor);
    return cursor;
}

// Sent to every top-level window when the notification area is created anew (Explorer
// restarted); the icons it held are gone. 0 when it could not be registered.
UINT taskbarCreatedMessage()
{
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}

bool addTrayIcon(MainWindowState* state)
{
    state->tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return Shell_NotifyIconA(NIM_ADD, &state->tray);
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
    HDC windowDc = GetDC(state->window);
    state->backBufferDc = CreateCompatibleDC(windowDc);
    state->backBuffer = CreateCompatibleBitmap(windowDc, skin.windowWidth, skin.windowHeight);
    ReleaseDC(state->window, windowDc);
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

bool onCreate(HWND window)
{
    auto* state = static_cast<MainWindowState*>(calloc(1, sizeof(MainWindowState)));
    if (state == nullptr)
        return failWith(kErrorNoMemory);
    SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(state));
    state->window = window;

    if (!loadLanguage(state, settings.languageId))
        reportError(0);
    useUserNumberFormat();
    if (createTipWindow(ownInstance) == nullptr)
        reportError(kErrorTipWindow);
    if (!rescanConnections())
        reportError(0);

    NOTIFYICONDATAA& tray = state->tray;
    tray.cbSize = sizeof tray;
    tray.hWnd = window;
    tray.uID = 0;
    tray.uCallbackMessage = WM_TRAY_CALLBACK;
    tray.hIcon = trayIcon(liveConnectionCount() != 0);
    tray.szTip[0] = '\0';
    if (!addTrayIcon(state))
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
    WINDOWPLACEMENT placement{};
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
    hideHoverTip();
    deleteBackBuffer(state);
    Shell_NotifyIconA(NIM_DELETE, &state->tray);
    KillTimer(window, kTickTimer);
    destroyKeptMenu(state);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    free(state);
    PostQuitMessage(0);
}

// ---- painting ----

void copyBitmap(HDC target, HBITMAP bitmap, const RECT& to)
{
    HDC source = CreateCompatibleDC(target);
    if (source == nullptr)
        return;
    HGDIOBJ old = SelectObject(source, bitmap);
    BitBlt(target, to.left, to.top, to.right - to.left, to.bottom - to.top, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
    DeleteDC(source);
}

// The figures change with every tick; so does the tip of the figure the pointer rests on.
void refreshTipAtCursor(MainWindowState* state)
{
    POINT cursor = cursorOnScreen();
    if (WindowFromPoint(cursor) != state->window) {
        hideHoverTip();
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
        const RECT whole = {0, 0, skin.windowWidth, skin.windowHeight};
        const bool active = GetActiveWindow() == state->window;
        HBITMAP background = skin.images[kElementMainWindow][active ? kButtonEnabled : kButtonDisabled];
        if (background == nullptr)
            background = skin.images[kElementMainWindow][kButtonEnabled];
        if (background != nullptr)
            copyBitmap(buffer, background, whole);
        else
            FillRect(buffer, &whole, HBRUSH(GetStockObject(WHITE_BRUSH)));  // no picture: no stale frame
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

void updateTrayTip(MainWindowState* state)
{
    // The tip keeps to the 64 bytes every version of the notification area shows.
    char* tip = state->tray.szTip;
    const size_t size = 64;
    static_assert(sizeof state->tray.szTip >= 64);
    TrayTipFigures figures;
    if (trayTipFigures(figures)) {
        char volume[kFormattedValueSize], duration[kFormattedValueSize];
        formatVolume(figures.volume, volume);
        formatDuration(figures.onlineSeconds, duration);
        snprintf(tip, size, "%s, %s, ", volume, duration);
        const size_t used = strlen(tip);
        formatTariffMoney(figures.cost, tip + used, int(size - used));
    } else {
        snprintf(tip, size, ", ");
    }
    // The tip speaks of the current month throughout, its free units too.
    appendFreeUnitsLeft(0, tip, size);
    state->tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Shell_NotifyIconA(NIM_MODIFY, &state->tray);
}

void onTick(MainWindowState* state)
{
    watchConnectionsOnTick();

    if (settings.alwaysOnTop && settings.onTopWhileOnline &&
        int32_t(liveConnectionCount()) != state->lastTopmostCount) {
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
        POINT origin = {0, 0};
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
    hideHoverTip();
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
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(state->window, &point);
    if (liveConnectionCount() != 0 || !PtInRect(&skin.rects[kElementLog], point))
        return;
    const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
    state->listScroll = std::max(0, state->listScroll - notches * kWheelRows);
    invalidateAll(state, true);
}

// ---- menus ----

// Shows `menu` with its top-left corner at `at` (screen); a chosen command arrives as WM_COMMAND.
void trackAndPostNull(MainWindowState* state, HMENU menu, POINT at)
{
    hideHoverTip();
    SetForegroundWindow(state->window);
    TrackPopupMenu(menu, TPM_LEFTBUTTON, at.x, at.y, 0, state->window, nullptr);
    PostMessageA(state->window, WM_NULL, 0, 0);
}

// Menus opened by a click open just up and left of the pointer.
POINT atCursor()
{
    const POINT cursor = cursorOnScreen();
    return {cursor.x - 5, cursor.y - 5};
}

// The main menu opened from the keyboard hangs from the menu button.
POINT belowMenuButton(const MainWindowState* state)
{
    POINT corner = {skin.rects[kElementMenuButton].left, skin.rects[kElementMenuButton].bottom};
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
    trackAndPostNull(state, popup, at);
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
        AppendMenuA(menu, MF_STRING | checked, kTariffFirstId + UINT(index), text);
    }
    trackAndPostNull(state, menu, atCursor());
    DestroyMenu(menu);
}

void showWindow(MainWindowState* state);
void runOptions(MainWindowState* state);

void openPhoneBookMenu(MainWindowState* state)
{
    PhoneBookEntryName entries[kMaxPhoneBookEntries];
    uint32_t count = 0;
    if (!listPhoneBookEntries(entries, count))
        return;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return;
    // Each entry says what choosing it does: dial it, or hang up a connected one.
    for (uint32_t i = 0; i < count; ++i) {
        char name[2 * sizeof entries[i].name], pattern[256], text[sizeof name + sizeof pattern];
        menuItemText(entries[i].name, name, sizeof name);
        const bool connected = isEntryConnected(entries[i].name);
        if (!languageString(connected ? IDS_TRAY_HANG_UP : IDS_TRAY_DIAL, pattern, sizeof pattern))
            snprintf(pattern, sizeof pattern, "%%1");
        const char* inserts[] = {name};
        fillInserts(pattern, inserts, 1, text, sizeof text);
        AppendMenuA(menu, MF_STRING | (connected ? MF_CHECKED : 0), kPhoneBookFirstId + i, text);
    }
    if (count != 0)
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const struct {
        uint32_t text;
        UINT command;
    } items[] = {{IDS_TRAY_SHOW, IDM_SHOW_WINDOW}, {IDS_TRAY_OPTIONS, IDM_OPTIONS}, {IDS_TRAY_EXIT, IDM_EXIT}};
    for (const auto& item : items) {
        char text[256];
        languageString(item.text, text, sizeof text);
        AppendMenuA(menu, MF_STRING, item.command, text);
    }
    SetMenuDefaultItem(menu, IDM_SHOW_WINDOW, FALSE);

    hideHoverTip();
    const POINT cursor = cursorOnScreen();
    SetForegroundWindow(state->window);
    const UINT chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_BOTTOMALIGN | TPM_RIGHTALIGN, cursor.x + 1,
                                            cursor.y + 1, 0, state->window, nullptr));
    PostMessageA(state->window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == IDM_EXIT) {
        if (showConfirmation(kConfirmExit))
            DestroyWindow(state->window);
        return;
    }
    if (chosen == IDM_SHOW_WINDOW) {
        showWindow(state);
        return;
    }
    if (chosen == IDM_OPTIONS) {
        runOptions(state);
        return;
    }
    if (chosen >= kPhoneBookFirstId && chosen - kPhoneBookFirstId < count)
        dialOrHangUp(entries[chosen - kPhoneBookFirstId].name);
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
    storeForSessionEnd();
    DestroyWindow(state->window);
}

void onTrayCallback(MainWindowState* state, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN) {
        if (IsWindowVisible(state->window))
            ShowWindow(state->window, SW_HIDE);
        else
            showWindow(state);
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        openPhoneBookMenu(state);
    }
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
    state->tray.hIcon = trayIcon(liveConnectionCount() != 0);
    state->tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Shell_NotifyIconA(NIM_MODIFY, &state->tray);
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
    hideHoverTip();
    deleteBackBuffer(state);
    SetWindowPos(state->window, nullptr, 0, 0, skin.windowWidth, skin.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    if (loadSkin(name)) {
        snprintf(settings.skinName, sizeof settings.skinName, "%s", name);
    } else if (!loadSkin(settings.skinName)) {
        reportError(0);
    }
    applySkinShape(state);
    invalidateAll(state, true);
}

void runOptions(MainWindowState* state)
{
    if (runOptionsSheet(state, connectionEvent) != 0) {
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
    invalidateAll(state, true);
}

void onCommand(MainWindowState* state, UINT id)
{
    if (id >= IDM_LOG_MONTH_FIRST && id <= IDM_LOG_MONTH_LAST) {
        MENUITEMINFOA item{};
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
            return;  // destroyed: the state and the kept menu are gone with it
        break;
    }
    case IDM_OPTIONS:
        runOptions(state);
        break;
    case IDM_LANGUAGE_GERMAN:
    case IDM_LANGUAGE_ENGLISH:
        if (!loadLanguage(state, id == IDM_LANGUAGE_GERMAN ? 7 : 9))
            reportError(0);
        break;
    case IDM_SAVE_SETTINGS:
        if (saveSettings())
            updateStatusText(state, IDS_SETTINGS_SAVED);
        else
            reportError(0);
        break;
    case IDM_EXPORT_MONTH: exportShownMonth(state); break;
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
    case VK_UP: listKey = ListKey::up; break;
    case VK_DOWN: listKey = ListKey::down; break;
    case VK_PRIOR: listKey = ListKey::pageUp; break;
    case VK_NEXT: listKey = ListKey::pageDown; break;
    case VK_HOME: listKey = ListKey::home; break;
    case VK_END: listKey = ListKey::end; break;
    default: return false;
    }
    hideHoverTip();
    if (!paintedLayout.listShown)
        return true;
    state->listScroll = scrolledListPosition(listKey, state->listScroll, paintedLayout.listRowsShown,
                                             paintedLayout.listScrollLimit);
    invalidateAll(state, true);
    return true;
}

INT_PTR CALLBACK confirmationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const uint32_t question = uint32_t(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(question));
        const uint32_t bit = question >> 16;
        if (bit < 32 && (settings.suppressedMessages & (1u << bit)) != 0) {
            EndDialog(dialog, IDYES);
            return TRUE;
        }
        char text[1024];
        languageString(question & 0xFFFF, text, sizeof text);
        SetDlgItemTextA(dialog, IDC_CONFIRM_QUESTION, text);
        return TRUE;
    }
    case WM_COMMAND: {
        const UINT button = LOWORD(wParam);
        if (button != IDYES && button != IDNO)
            return FALSE;
        const uint32_t bit = uint32_t(GetWindowLongPtrA(dialog, DWLP_USER)) >> 16;
        if (bit < 32 && IsDlgButtonChecked(dialog, IDC_CONFIRM_DONT_ASK) == BST_CHECKED)
            settings.suppressedMessages |= 1u << bit;
        EndDialog(dialog, button);
        return TRUE;
    }
    }
    return FALSE;
}

}  // namespace

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

bool showConfirmation(uint32_t question)
{
    const INT_PTR answer = DialogBoxParamA(LanguageModule, MAKEINTRESOURCEA(IDD_CONFIRM), mainWindow, confirmationProc,
                                           LPARAM(question));
    // Without the dialog there is nobody to ask; refusing would leave no way to quit.
    return answer == IDYES || answer == -1 || answer == 0;
}

void elementAction(MainWindowState* state, uint32_t slot)
{
    switch (slot) {
    case kElementLog:
        // Scrolling happens while the button is held on the list (see the press handler).
        break;
    case kElementMenuButton: openMainMenu(state, atCursor()); break;
    case kElementMinimizeButton:
        hideHoverTip();
        ShowWindow(state->window, SW_HIDE);
        break;
    case kElementCloseButton: PostMessageA(state->window, WM_CLOSE, 0, 0); break;
    case kElementTariffButton: openTariffMenu(state); break;
    default: break;
    }
    state->hotElement = slot;
    state->hotState = kButtonPressed;
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MainWindowState* state = mainWindowState(window);
    if (state != nullptr && message == taskbarCreatedMessage() && message != 0) {
        addTrayIcon(state);
        return 0;
    }
    if (message == WM_CREATE) {
        if (!onCreate(window))
            return -1;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (state == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == showInstanceMessage()) {
        showWindow(state);  // a second start of the program asks for the window
        return 0;
    }

    switch (message) {
    case WM_DESTROY: onDestroy(state); break;
    case WM_SIZE: GetClientRect(window, &state->clientRect); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: invalidateAll(state, true); break;
    case WM_PAINT: onPaint(state); return 0;
    case WM_CLOSE:
        if (showConfirmation(kConfirmExit))
            DestroyWindow(window);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NOTIFY: return 0;
    case WM_DISPLAYCHANGE:
        displayColorDepth = uint32_t(wParam);
        refreshHelpToggleImages();
        break;
    case WM_COMMAND: onCommand(state, LOWORD(wParam)); break;
    case WM_TIMER: onTick(state); break;
    // A clock set by the user or a time synchronisation: a change of month or period that it
    // makes is cut at once.
    case WM_TIMECHANGE: onTick(state); break;
    case WM_POWERBROADCAST: onPowerBroadcast(state, wParam); return TRUE;
    case WM_MENUSELECT: onMenuSelect(state, LOWORD(wParam), HMENU(lParam)); break;
    case WM_MOUSEMOVE: onMouseMove(state, pointFrom(lParam)); break;
    case WM_LBUTTONDOWN: onButtonDown(state, pointFrom(lParam)); break;
    case WM_LBUTTONUP: onButtonUp(state, pointFrom(lParam)); break;
    case WM_MOUSEWHEEL: onMouseWheel(state, wParam, lParam); return 0;
    case WM_MOUSELEAVE: hideHoverTip(); return 0;
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
        if (lParam == -1) {  // from the keyboard
            openMainMenu(state, belowMenuButton(state));
            return 0;
        }
        break;
    case WM_SETTINGCHANGE:
        useUserNumberFormat();
        invalidateAll(state, true);
        break;
    case WM_CONNECTION_SIGNAL: onConnectionSignal(state); break;
    case WM_TRAY_CALLBACK: onTrayCallback(state, lParam); break;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION: onEndSession(state, wParam != FALSE); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
