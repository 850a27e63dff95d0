// What the main window's menus, keys, buttons and tray icon do.
#include "ui/mainwindowhandlers.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/dpi_win.h"
#include "core/language.h"
#include "core/platform.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/watchedadapters.h"
#include "skin/commoncontrols.h"
#include "skin/skin.h"
#include "tariff/alerts.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/confirmation.h"
#include "ui/dialogs/dialogs.h"
#include "ui/exportmonth.h"
#include "ui/helppage.h"
#include "ui/hovertips.h"
#include "ui/mainmenu.h"
#include "ui/mainwindow.h"
#include "ui/menulists.h"
#include "ui/optionsloop.h"
#include "ui/popupmenu.h"
#include "ui/trayicon.h"
#include "ui/viewmath.h"

namespace {

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

void makeTariffActive(MainWindowState* state, int32_t index)
{
    settings.activeTariff = index;
    invalidateAll(state, true);
    tickSoon(state); // the tray tip and the alerts price under it
    if (!reloadStatistics())
        reportError(0);
}

// The options and the comparison of tariffs are the first to need the common controls, which are
// loaded then; without them telvane ends, as its message says.
bool commonControlsReady(MainWindowState* state)
{
    if (prepareCommonControls())
        return true;
    reportError(0);
    DestroyWindow(state->window);
    return false;
}

// Which tariff would have been cheapest for the month shown, or the twelve months up to it; the
// dialog may make one of them active.
void compareTariffs(MainWindowState* state)
{
    hideHoverTip(state);
    if (!commonControlsReady(state))
        return;
    int32_t chosen = -1;
    if (!showCompareDialog(state->window, state->selectedMonth, &chosen)) {
        reportError(kErrorDialog);
        return;
    }
    if (chosen >= 0 && chosen != settings.activeTariff)
        makeTariffActive(state, chosen);
}

void switchSkin(MainWindowState* state, UINT id)
{
    char text[2 * 260], name[260];
    if (state->menu == nullptr || GetMenuStringA(state->menu, id, text, sizeof text, MF_BYCOMMAND) <= 0)
        return;
    menuItemName(text, name, sizeof name);
    const uint32_t dpi = windowDpi(state->window);
    if (loadSkin(name, dpi)) {
        snprintf(settings.skinName, sizeof settings.skinName, "%s", name);
    } else if (!loadSkin(settings.skinName, dpi)) {
        reportError(0);
    }
    // A skin brings its own size and outline: the window takes them at once.
    applySkinShape(state, nullptr);
    invalidateAll(state, true);
}

} // namespace

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

void showWindow(MainWindowState* state)
{
    ShowWindow(state->window, SW_SHOW);
    SetForegroundWindow(state->window);
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

void runOptions(MainWindowState* state)
{
    if (!commonControlsReady(state))
        return;
    if (runOptionsSheet(state->window, state->host->connectionEvent, state->selectedMonth) != 0) {
        reportError(kErrorDialog);
        return;
    }
    // The session ended while the sheet was open: everything was stored then, and the window
    // is gone.
    if (state->destroyed)
        return;
    // The update interval, the tariffs and the alerts may have changed.
    tickSoon(state);
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
    const UINT chosen = openTrayMenu(state);
    if (state->destroyed)
        return;
    switch (chosen) {
    case IDM_SHOW_WINDOW:
        showWindow(state);
        break;
    case IDM_OPTIONS:
        runOptions(state);
        break;
    case IDM_HELP:
        if (!openHelpPage(state->window))
            reportError(0);
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
        tickSoon(state); // the tray tip speaks the new language
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
    case IDM_HELP:
        if (!openHelpPage(state->window))
            reportError(0);
        break;
    case IDM_YEAR_VIEW:
        showYearView(state, !state->year.shown);
        break;
    case IDM_COMPARE_TARIFFS:
        compareTariffs(state);
        break;
    case IDM_ABOUT:
        if (!showAboutDialog(state->window))
            reportError(kErrorDialog);
        break;
    default:
        if (id >= IDM_TARIFF_FIRST && id <= IDM_TARIFF_LAST)
            makeTariffActive(state, int32_t(id - IDM_TARIFF_FIRST));
        break;
    }
    destroyKeptMenu(state);
}

// F10, Shift+F10 and the context-menu key open the main menu; the arrows, the page keys,
// Home and End scroll the list. True when the key was one of them.
bool onKey(MainWindowState* state, WPARAM key)
{
    if (key == VK_F10 || key == VK_APPS) {
        openMainMenu(state, belowMenuButton(state));
        return true;
    }
    if (state->year.shown)
        return onYearKey(state, key);
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
