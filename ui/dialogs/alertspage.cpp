// The alerts page: warnings at shares of the free units, the monthly money limit and whether
// reaching it hangs up.
#include <windows.h>

#include <prsht.h>

#include <cstdio>
#include <cstring>

#include "lang/ids.h"
#include "tariff/alerts.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/money_win.h"
#include "ui/dialogs/optionspages.h"

namespace {

constexpr int kUsageOn[kUsageAlertCount] = { IDC_ALERT_USAGE1_ON, IDC_ALERT_USAGE2_ON };
constexpr int kUsagePercent[kUsageAlertCount] = { IDC_ALERT_USAGE1, IDC_ALERT_USAGE2 };

// The page's state while its window lives.
struct AlertsPage {
    // The limit as the field first showed it, rounded to the tariff's places: the limit changes
    // only when the field is typed in.
    char shownLimit[128];
};

void check(HWND page, int id, bool ticked) { CheckDlgButton(page, id, ticked ? BST_CHECKED : BST_UNCHECKED); }
bool isTicked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

// A field takes input only while its box is ticked; hang-up goes with the limit.
void followTicks(HWND page)
{
    for (int slot = 0; slot < kUsageAlertCount; ++slot)
        EnableWindow(GetDlgItem(page, kUsagePercent[slot]), isTicked(page, kUsageOn[slot]));
    const bool limit = isTicked(page, IDC_ALERT_LIMIT_ON);
    EnableWindow(GetDlgItem(page, IDC_ALERT_LIMIT), limit);
    EnableWindow(GetDlgItem(page, IDC_ALERT_HANG_UP), limit);
}

void openPage(HWND page, AlertsPage* state)
{
    for (int slot = 0; slot < kUsageAlertCount; ++slot) {
        check(page, kUsageOn[slot], alerts.usageOn[slot]);
        SetDlgItemInt(page, kUsagePercent[slot], alerts.usagePercent[slot], FALSE);
    }
    check(page, IDC_ALERT_LIMIT_ON, alerts.limitOn);
    formatTariffMoney(alerts.limit, state->shownLimit, sizeof state->shownLimit);
    SetDlgItemTextA(page, IDC_ALERT_LIMIT, state->shownLimit);
    check(page, IDC_ALERT_HANG_UP, alerts.hangUp);
    followTicks(page);
}

void apply(HWND page, const AlertsPage* state)
{
    for (int slot = 0; slot < kUsageAlertCount; ++slot) {
        alerts.usageOn[slot] = isTicked(page, kUsageOn[slot]);
        BOOL isNumber = FALSE;
        const UINT percent = GetDlgItemInt(page, kUsagePercent[slot], &isNumber, FALSE);
        // A share outside 1..100 is brought into range; a text that is no number keeps the share.
        if (isNumber)
            alerts.usagePercent[slot] = percent < 1 ? 1
                : percent > kLargestUsagePercent    ? kLargestUsagePercent
                                                    : percent;
    }
    alerts.limitOn = isTicked(page, IDC_ALERT_LIMIT_ON);
    char text[128];
    GetDlgItemTextA(page, IDC_ALERT_LIMIT, text, sizeof text);
    if (strcmp(text, state->shownLimit) != 0) {
        char decimalSeparator[8], groupSeparator[8];
        userMoneySeparators(decimalSeparator, groupSeparator, sizeof decimalSeparator);
        alerts.limit = parseMoneyText(text, decimalSeparator, groupSeparator);
    }
    alerts.hangUp = isTicked(page, IDC_ALERT_HANG_UP);
}

} // namespace

INT_PTR CALLBACK alertsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    AlertsPage* state = dialogState<AlertsPage>(page);
    switch (message) {
    case WM_INITDIALOG:
        // Without its state the page shows nothing and changes nothing.
        if ((state = createDialogState<AlertsPage>(page)) != nullptr)
            openPage(page, state);
        return TRUE;
    case WM_DESTROY:
        freeDialogState<AlertsPage>(page);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            followTicks(page);
        return 0;
    case WM_NOTIFY:
        if (isApplyNotification(lParam) && state != nullptr) {
            apply(page, state);
            return acceptApply(page);
        }
        return 0;
    }
    return 0;
}
