// The general options page: timer interval, volume correction, start with Windows, start and
// topmost behaviour.
#include <windows.h>
#include <prsht.h>

#include <cstdio>

#include "core/apperror.h"
#include "core/autostart.h"
#include "lang/ids.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/optionspages.h"

namespace {

void check(HWND page, int id, bool ticked) { CheckDlgButton(page, id, ticked ? BST_CHECKED : BST_UNCHECKED); }
bool isTicked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void followAlwaysOnTop(HWND page)
{
    EnableWindow(GetDlgItem(page, IDC_ON_TOP_WHILE_ONLINE), isTicked(page, IDC_ALWAYS_ON_TOP));
}

void openPage(HWND page)
{
    SetDlgItemInt(page, IDC_UPDATE_INTERVAL, settings.updateIntervalMs, FALSE);
    char number[64], shown[64];
    snprintf(number, sizeof number, "%.2f", settings.volumeCorrection * 0.01);
    if (GetNumberFormatA(LOCALE_SYSTEM_DEFAULT, 0, number, nullptr, shown, sizeof shown) == 0)
        snprintf(shown, sizeof shown, "%s", number);
    SetDlgItemTextA(page, IDC_VOLUME_CORRECTION, shown);
    // The registry, not the settings, holds it: the user or another program may change it.
    check(page, IDC_START_WITH_WINDOWS, startsWithWindows());
    check(page, IDC_START_HIDDEN, settings.startHidden);
    check(page, IDC_ALWAYS_ON_TOP, settings.alwaysOnTop);
    check(page, IDC_ON_TOP_WHILE_ONLINE, settings.onTopWhileOnline);
    followAlwaysOnTop(page);
}

void apply(HWND page)
{
    BOOL isNumber = FALSE;
    const UINT interval = GetDlgItemInt(page, IDC_UPDATE_INTERVAL, &isNumber, FALSE);
    // A period the timer cannot keep (0 would make it fire every 10 ms) is brought into range;
    // a text that is no number leaves the period as it was.
    if (isNumber)
        settings.updateIntervalMs = clampedUpdateInterval(interval);

    char text[256], decimalSeparator[8], groupSeparator[8];
    GetDlgItemTextA(page, IDC_VOLUME_CORRECTION, text, sizeof text);
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_SDECIMAL, decimalSeparator, sizeof decimalSeparator) == 0)
        snprintf(decimalSeparator, sizeof decimalSeparator, ".");
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_STHOUSAND, groupSeparator, sizeof groupSeparator) == 0)
        snprintf(groupSeparator, sizeof groupSeparator, ",");
    settings.volumeCorrection = volumeCorrectionFromText(text, decimalSeparator, groupSeparator);

    if (!setStartWithWindows(isTicked(page, IDC_START_WITH_WINDOWS)))
        reportError(0);
    settings.startHidden = isTicked(page, IDC_START_HIDDEN);
    settings.alwaysOnTop = isTicked(page, IDC_ALWAYS_ON_TOP);
    settings.onTopWhileOnline = isTicked(page, IDC_ON_TOP_WHILE_ONLINE);
}

} // namespace

INT_PTR CALLBACK generalPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        openPage(page);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ALWAYS_ON_TOP && HIWORD(wParam) == BN_CLICKED)
            followAlwaysOnTop(page);
        return 0;
    case WM_NOTIFY:
        if (isApplyNotification(lParam)) {
            apply(page);
            return acceptApply(page);
        }
        return 0;
    }
    return 0;
}
