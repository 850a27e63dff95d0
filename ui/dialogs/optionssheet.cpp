// The options sheet: its pages from the language module and a foldable help panel below them.
// It is modeless; the loop that runs it (ui/optionsloop.cpp) shows it every message first.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <new>

#include "core/apperror.h"
#include "core/dpi_win.h"
#include "core/language.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "skin/pngresource.h"
#include "skin/skinscale.h"
#include "skin/tooltip.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/optionspages.h"

namespace {

constexpr int kToggleSize = 20; // at 96 DPI, as the panel's margins

// The help panel's state, kept with the sheet (a window property: the sheet's own user data is
// the property sheet's) from its installation to the sheet's destruction.
struct HelpPanel {
    WNDPROC previous; // the sheet's procedure before the panel's
    ScopedBrush brush;
    int lastHovered; // 0: no control
    // The tip that F1 showed, and the control the pointer was on then: it stays until the
    // pointer reaches another control or the sheet closes.
    bool contextTipShown;
    int contextTipAnchor;
    char text[65535];
};
constexpr char kHelpPanelProperty[] = "telvane help panel";

HelpPanel* helpPanelOf(HWND sheet) { return static_cast<HelpPanel*>(GetPropA(sheet, kHelpPanelProperty)); }

bool hasNoIdentifier(int id) { return id == 0 || id == -1 || id == 0xFFFF; }

void hideTipIfShown(int lastHovered)
{
    if (lastHovered == 0)
        return;
    if (tipWindow)
        SendMessageA(tipWindow, WM_TIP_SHOW, 0, 0);
}

// The visible control of `parent` under a screen point. Group boxes enclose other controls:
// the control inside wins over the box around it.
HWND controlAtPoint(HWND parent, POINT screen)
{
    HWND box = nullptr;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        if (!IsWindowVisible(child) || !GetWindowRect(child, &rect) || !PtInRect(&rect, screen))
            continue;
        char className[16];
        const bool isButton = GetClassNameA(child, className, sizeof className) && lstrcmpiA(className, "Button") == 0;
        if (isButton && (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
            if (box == nullptr)
                box = child;
            continue;
        }
        return child;
    }
    return box;
}

void layOutHelpPanel(HWND sheet)
{
    RECT edge;
    GetWindowRect(GetDlgItem(sheet, settings.helpPanelOpen ? IDC_HELP_PANEL : IDC_HELP_SEPARATOR), &edge);
    const LONG bottom = settings.helpPanelOpen ? edge.bottom : edge.top;
    RECT window;
    GetWindowRect(sheet, &window);
    RECT frame = { window.left, window.top, window.right, bottom };
    AdjustWindowRectEx(
        &frame, DWORD(GetWindowLongA(sheet, GWL_STYLE)), FALSE, DWORD(GetWindowLongA(sheet, GWL_EXSTYLE)));
    // An unfolded panel must not push the sheet's foot off the screen: then the sheet moves up.
    int top = window.top;
    const int height = frame.bottom - window.top;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromWindow(sheet, MONITOR_DEFAULTTONEAREST), &monitor)
        && top + height > monitor.rcWork.bottom) {
        top = monitor.rcWork.bottom - height;
        if (top < monitor.rcWork.top)
            top = monitor.rcWork.top;
    }
    SetWindowPos(sheet, nullptr, window.left, top, window.right - window.left, height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(GetDlgItem(sheet, IDC_HELP_TOGGLE), nullptr, TRUE);
}

void installHelpPanel(HWND sheet)
{
    if (helpPanelOf(sheet) != nullptr)
        return;
    auto* helpPanel = new (std::nothrow) HelpPanel {};
    if (helpPanel == nullptr) {
        reportError(kErrorNoMemory);
        return;
    }
    if (!SetPropA(sheet, kHelpPanelProperty, helpPanel)) {
        delete helpPanel;
        return;
    }
    helpPanel->previous = WNDPROC(SetWindowLongPtrA(sheet, GWLP_WNDPROC, LONG_PTR(helpPanelProc)));

    RECT client;
    GetClientRect(sheet, &client);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const uint32_t dpi = windowDpi(sheet);
    const auto scaled = [dpi](int length) { return scaleToDpi(length, dpi); };
    // The separator is a line, two pixels high, along the sheet's foot.
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, client.left + scaled(1), client.bottom,
        client.right - scaled(2), scaled(2), sheet, HMENU(IDC_HELP_SEPARATOR), instance, nullptr);
    HWND panel
        = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, client.left + scaled(5), client.bottom + scaled(5),
            client.right - scaled(10), scaled(50), sheet, HMENU(IDC_HELP_PANEL), instance, nullptr);
    // The sheet's own font: it grows with the screen's scale, as the stock fonts do not.
    SendMessageA(panel, WM_SETFONT, WPARAM(SendMessageA(sheet, WM_GETFONT, 0, 0)), FALSE);
    // The toggle's pictures are made when a sheet first needs them, not at start-up.
    if (helpToggleImages == nullptr)
        refreshHelpToggleImages();
    CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHLIKE | BS_OWNERDRAW,
        client.left + scaled(5), client.bottom - scaled(25), scaled(kToggleSize), scaled(kToggleSize), sheet,
        HMENU(IDC_HELP_TOGGLE), instance, nullptr);
    helpPanel->brush.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));

    // The toggle inverts the stored state back and lays the sheet out as it was last left.
    settings.helpPanelOpen = !settings.helpPanelOpen;
    SendMessageA(
        sheet, WM_COMMAND, MAKEWPARAM(IDC_HELP_TOGGLE, BN_CLICKED), LPARAM(GetDlgItem(sheet, IDC_HELP_TOGGLE)));
}

void drawToggle(const HelpPanel& helpPanel, const DRAWITEMSTRUCT* item)
{
    HBRUSH brush = helpPanel.brush.get();
    FillRect(item->hDC, &item->rcItem, brush != nullptr ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const int size = scaleToDpi(kToggleSize, windowDpi(item->hwndItem));
    const int top = item->rcItem.bottom - size;
    // The pictures keep their size; a larger button holds them in its middle.
    int width = 0, height = 0;
    if (helpToggleImages != nullptr && ImageList_GetIconSize(helpToggleImages, &width, &height))
        ImageList_Draw(helpToggleImages, settings.helpPanelOpen ? 0 : 1, item->hDC, (size - width) / 2,
            top + (size - height) / 2, ILD_TRANSPARENT);
    if (item->itemState & ODS_FOCUS) {
        RECT focus = { 0, top, size, item->rcItem.bottom };
        DrawFocusRect(item->hDC, &focus);
    }
}

// The control under a screen point on the current page or on the sheet itself.
HWND sheetControlAt(HWND sheet, POINT screen)
{
    HWND control = nullptr;
    if (HWND page = PropSheet_GetCurrentPageHwnd(sheet))
        control = controlAtPoint(page, screen);
    return control != nullptr ? control : controlAtPoint(sheet, screen);
}

void hideContextTip(HelpPanel& helpPanel)
{
    if (helpPanel.contextTipShown && tipWindow)
        SendMessageA(tipWindow, WM_TIP_SHOW, 0, 0);
    helpPanel.contextTipShown = false;
}

void updateHoverHelp(HelpPanel& helpPanel, HWND sheet, POINT screen)
{
    HWND control = sheetControlAt(sheet, screen);
    if (helpPanel.contextTipShown && (control == nullptr || GetDlgCtrlID(control) != helpPanel.contextTipAnchor))
        hideContextTip(helpPanel);
    if (control == nullptr)
        return;
    const int id = GetDlgCtrlID(control);
    if (hasNoIdentifier(id) || id == IDC_HELP_SEPARATOR || id == IDC_HELP_PANEL) {
        if (helpPanel.lastHovered != 0) {
            hideTipIfShown(helpPanel.lastHovered);
            SetDlgItemTextA(sheet, IDC_HELP_PANEL, "");
        }
        helpPanel.lastHovered = 0;
        return;
    }
    if (id == helpPanel.lastHovered)
        return;
    loadLanguageText(UINT(id), helpPanel.text, sizeof helpPanel.text);
    SetDlgItemTextA(sheet, IDC_HELP_PANEL, helpPanel.text);
    hideTipIfShown(helpPanel.lastHovered);
    helpPanel.lastHovered = id;
}

void showContextHelp(HelpPanel& helpPanel, HWND sheet, const HELPINFO* help)
{
    if (help->iContextType != HELPINFO_WINDOW)
        return;
    loadLanguageText(UINT(help->iCtrlId), helpPanel.text, sizeof helpPanel.text);
    if (helpPanel.text[0] == '\0')
        loadLanguageText(IDS_OPTIONS_HELP_FALLBACK, helpPanel.text, sizeof helpPanel.text);
    if (ensureTipWindow(GetModuleHandleA(nullptr)) != nullptr) {
        SendMessageA(tipWindow, WM_SETTEXT, 0, LPARAM(helpPanel.text));
        SendMessageA(tipWindow, WM_TIP_SHOW, TIP_SHOW | TIP_FOLLOW, MAKELPARAM(5, -5));
        POINT pointer;
        GetCursorPos(&pointer);
        HWND under = sheetControlAt(sheet, pointer);
        helpPanel.contextTipShown = true;
        helpPanel.contextTipAnchor = under != nullptr ? GetDlgCtrlID(under) : 0;
    }
    helpPanel.lastHovered = 0;
}

} // namespace

void loadLanguageText(UINT id, char* buffer, int size)
{
    buffer[0] = '\0';
    if (LanguageModule == nullptr || LoadStringA(LanguageModule, id, buffer, size) <= 0)
        buffer[0] = '\0';
}

LRESULT CALLBACK helpPanelProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kInstallHelpPanel) {
        installHelpPanel(sheet);
        return 0;
    }
    HelpPanel* helpPanel = helpPanelOf(sheet);
    if (helpPanel == nullptr)
        return 0; // called directly on a sheet without the panel: nothing to do
    switch (message) {
    case kUpdateHoverHelp:
        updateHoverHelp(*helpPanel, sheet, POINT { LONG(wParam), LONG(lParam) });
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_HELP_TOGGLE && HIWORD(wParam) == BN_CLICKED) {
            settings.helpPanelOpen = !settings.helpPanelOpen;
            layOutHelpPanel(sheet);
            return 0;
        }
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_HELP_TOGGLE) {
            drawToggle(*helpPanel, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_HELP:
        showContextHelp(*helpPanel, sheet, reinterpret_cast<const HELPINFO*>(lParam));
        return 0;
    case WM_DESTROY: {
        hideContextTip(*helpPanel);
        WNDPROC previous = helpPanel->previous;
        SetWindowLongPtrA(sheet, GWLP_WNDPROC, LONG_PTR(previous));
        RemovePropA(sheet, kHelpPanelProperty);
        delete helpPanel;
        return CallWindowProcA(previous, sheet, message, wParam, lParam);
    }
    }
    return CallWindowProcA(helpPanel->previous, sheet, message, wParam, lParam);
}

HWND createOptionsSheet(HWND parent, uint32_t shownMonth)
{
    if (LanguageModule == nullptr)
        return nullptr;
    const struct {
        int templateId;
        int titleId;
        DLGPROC procedure;
    } pages[] = {
        { IDD_OPTIONS_TARIFFS, IDS_PAGE_TARIFFS, tariffPageProc },
        { IDD_OPTIONS_HOLIDAYS, IDS_PAGE_HOLIDAYS, holidaysPageProc },
        { IDD_OPTIONS_GENERAL, IDS_PAGE_GENERAL, generalPageProc },
        { IDD_OPTIONS_ALERTS, IDS_PAGE_ALERTS, alertsPageProc },
        { IDD_OPTIONS_ADAPTERS, IDS_PAGE_ADAPTERS, adaptersPageProc },
    };
    constexpr int kPageCount = sizeof pages / sizeof pages[0];
    PROPSHEETPAGEA sheetPages[kPageCount] = {};
    for (int i = 0; i < kPageCount; ++i) {
        sheetPages[i].dwSize = sizeof sheetPages[i];
        sheetPages[i].dwFlags = PSP_USETITLE;
        sheetPages[i].hInstance = LanguageModule;
        sheetPages[i].pszTemplate = MAKEINTRESOURCEA(pages[i].templateId);
        sheetPages[i].pszTitle = MAKEINTRESOURCEA(pages[i].titleId);
        sheetPages[i].pfnDlgProc = pages[i].procedure;
    }
    sheetPages[0].lParam = LPARAM(shownMonth);
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_MODELESS;
    header.hwndParent = parent;
    header.hInstance = LanguageModule;
    header.pszCaption = MAKEINTRESOURCEA(IDS_OPTIONS_CAPTION);
    header.nPages = kPageCount;
    header.nStartPage = 0;
    header.ppsp = sheetPages;
    const INT_PTR created = PropertySheetA(&header);
    if (created == 0 || created == -1)
        return nullptr;
    HWND sheet = HWND(created);
    // The sheet words its own buttons in the system's language; they speak telvane's.
    const struct {
        int control;
        UINT text;
    } buttons[] = { { IDOK, IDS_SHEET_OK }, { IDCANCEL, IDS_SHEET_CANCEL } };
    for (const auto& button : buttons) {
        char text[64];
        loadLanguageText(button.text, text, sizeof text);
        if (text[0] != '\0')
            SetDlgItemTextA(sheet, button.control, text);
    }
    helpPanelProc(sheet, kInstallHelpPanel, 0, 0);
    return sheet;
}

bool takeOptionsSheetMessage(HWND sheet, MSG& message)
{
    if (message.message == WM_MOUSEMOVE)
        helpPanelProc(sheet, kUpdateHoverHelp, WPARAM(message.pt.x), LPARAM(message.pt.y));
    return PropSheet_IsDialogMessage(sheet, &message) != FALSE;
}

bool isOptionsSheetClosed(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet) == nullptr; }

void closeOptionsSheet(HWND sheet, HWND owner)
{
    if (owner)
        EnableWindow(owner, TRUE);
    DestroyWindow(sheet);
}
