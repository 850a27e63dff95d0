// The alerts page: warnings at shares of the free units, the monthly money limit and whether
// reaching it hangs up.
#include <windows.h>

#include <prsht.h>

#include <cstdio>
#include <cstring>

#include "lang/ids.h"
#include "tariff/alerts.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/money_win.h"
#include "ui/dialogs/numberfield_win.h"
#include "ui/dialogs/optionspages.h"

namespace {

constexpr int kUsageOn[kUsageAlertCount] = { IDC_ALERT_USAGE1_ON, IDC_ALERT_USAGE2_ON };
constexpr int kUsagePercent[kUsageAlertCount] = { IDC_ALERT_USAGE1, IDC_ALERT_USAGE2 };
constexpr double kLargestLimit = 1000000000;

NumberField percentField(int slot) { return { kUsagePercent[slot], NumberKind::whole, 1, kLargestUsagePercent, 0, 0 }; }
const NumberField kLimitField = { IDC_ALERT_LIMIT, NumberKind::money, 0, kLargestLimit, 6, 25 };

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

// The numbers of the page as typed: a field that takes input only while its box is ticked is
// read only then. False, with the balloon on the first that holds none it takes.
struct AlertNumbers {
    double percent[kUsageAlertCount];
    double limit;
};

bool readNumbers(HWND page, const AlertsPage* state, AlertNumbers& numbers)
{
    for (int slot = 0; slot < kUsageAlertCount; ++slot) {
        numbers.percent[slot] = alerts.usagePercent[slot];
        if (isTicked(page, kUsageOn[slot]) && !takeNumberField(page, percentField(slot), numbers.percent[slot]))
            return false;
    }
    // The limit as it was shown keeps every digit it has.
    char text[128];
    GetDlgItemTextA(page, IDC_ALERT_LIMIT, text, sizeof text);
    numbers.limit = alerts.limit;
    return !isTicked(page, IDC_ALERT_LIMIT_ON) || strcmp(text, state->shownLimit) == 0
        || takeNumberField(page, kLimitField, numbers.limit);
}

bool apply(HWND page, const AlertsPage* state)
{
    AlertNumbers numbers {};
    if (!readNumbers(page, state, numbers))
        return false;
    for (int slot = 0; slot < kUsageAlertCount; ++slot) {
        alerts.usageOn[slot] = isTicked(page, kUsageOn[slot]);
        alerts.usagePercent[slot] = uint32_t(numbers.percent[slot]);
    }
    alerts.limitOn = isTicked(page, IDC_ALERT_LIMIT_ON);
    alerts.limit = numbers.limit;
    alerts.hangUp = isTicked(page, IDC_ALERT_HANG_UP);
    return true;
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
        else if (HIWORD(wParam) == EN_CHANGE)
            hideFieldBalloon();
        return 0;
    case WM_NOTIFY:
        if (state == nullptr)
            return 0;
        if (isLeaveNotification(lParam)) {
            AlertNumbers numbers {};
            return answerLeave(page, readNumbers(page, state, numbers));
        }
        if (isApplyNotification(lParam))
            return apply(page, state) ? acceptApply(page) : refuseApply(page);
        return 0;
    }
    return 0;
}
