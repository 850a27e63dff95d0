// The general options page: timer interval, volume correction, start with Windows, start and
// topmost behaviour.
#include <windows.h>
#include <prsht.h>

#include <cmath>
#include <cstdio>

#include "core/apperror.h"
#include "core/autostart.h"
#include "lang/ids.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/numberfield_win.h"
#include "ui/dialogs/optionspages.h"

namespace {

// What the settings' reader and the timer accept; a correction of 100 % counts nothing.
const NumberField kIntervalField
    = { IDC_UPDATE_INTERVAL, NumberKind::whole, kShortestUpdateIntervalMs, kLongestUpdateIntervalMs, 0, 0 };
const NumberField kCorrectionField = { IDC_VOLUME_CORRECTION, NumberKind::decimal, 0, 100, 2, 1.5 };

void check(HWND page, int id, bool ticked) { CheckDlgButton(page, id, ticked ? BST_CHECKED : BST_UNCHECKED); }
bool isTicked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void followAlwaysOnTop(HWND page)
{
    EnableWindow(GetDlgItem(page, IDC_ON_TOP_WHILE_ONLINE), isTicked(page, IDC_ALWAYS_ON_TOP));
}

void openPage(HWND page)
{
    SetDlgItemInt(page, IDC_UPDATE_INTERVAL, settings.updateIntervalMs, FALSE);
    // In the user's format, which is what the field reads back.
    char shown[64];
    formatLocaleNumber(settings.volumeCorrection * 0.01, 2, shown, sizeof shown);
    SetDlgItemTextA(page, IDC_VOLUME_CORRECTION, shown);
    // The registry, not the settings, holds it: the user or another program may change it.
    check(page, IDC_START_WITH_WINDOWS, startsWithWindows());
    check(page, IDC_START_HIDDEN, settings.startHidden);
    check(page, IDC_ALWAYS_ON_TOP, settings.alwaysOnTop);
    check(page, IDC_ON_TOP_WHILE_ONLINE, settings.onTopWhileOnline);
    followAlwaysOnTop(page);
}

// Both numbers as typed, or the balloon on the first that is none the field takes.
bool readNumbers(HWND page, double& interval, double& correction)
{
    return takeNumberField(page, kIntervalField, interval) && takeNumberField(page, kCorrectionField, correction);
}

bool apply(HWND page)
{
    double interval = 0, correction = 0;
    if (!readNumbers(page, interval, correction))
        return false;
    settings.updateIntervalMs = uint32_t(interval);
    settings.volumeCorrection = uint32_t(std::lround(correction * 100));
    if (!setStartWithWindows(isTicked(page, IDC_START_WITH_WINDOWS)))
        reportError(0);
    settings.startHidden = isTicked(page, IDC_START_HIDDEN);
    settings.alwaysOnTop = isTicked(page, IDC_ALWAYS_ON_TOP);
    settings.onTopWhileOnline = isTicked(page, IDC_ON_TOP_WHILE_ONLINE);
    return true;
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
        else if (HIWORD(wParam) == EN_CHANGE)
            hideFieldBalloon();
        return 0;
    case WM_NOTIFY:
        if (isLeaveNotification(lParam)) {
            double interval = 0, correction = 0;
            return answerLeave(page, readNumbers(page, interval, correction));
        }
        if (isApplyNotification(lParam))
            return apply(page) ? acceptApply(page) : refuseApply(page);
        return 0;
    }
    return 0;
}
