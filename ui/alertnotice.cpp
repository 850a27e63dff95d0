// The usage alerts shown: balloons at the notification-area icon and the status line.
#include "ui/alertnotice.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/apperror.h"
#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "meter/alertrules.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/money_win.h"
#include "ui/formatters.h"

namespace {

void formatUnits(int64_t units, bool isVolume, char* text)
{
    if (isVolume)
        formatVolume(units, text);
    else
        formatDuration(units, text);
}

// With a billing day other than the 1st the warnings speak of the billing period, over which
// they count, instead of the month.
bool countsOverBillingPeriod() { return billingDayOf(tariffAt(settings.activeTariff)) != 1; }

void usageText(int slot, const AlertFigures& figures, bool isVolume, char* text, size_t size)
{
    char percent[16], left[kFormattedValueSize], format[512];
    snprintf(percent, sizeof percent, "%u", alerts.usagePercent[slot]);
    const int64_t remaining = figures.freeUnits - figures.usedUnits;
    formatUnits(remaining, isVolume, left);
    const bool period = countsOverBillingPeriod();
    const uint32_t id = remaining > 0 ? (period ? IDS_ALERT_USAGE_PERIOD : IDS_ALERT_USAGE)
                                      : (period ? IDS_ALERT_USED_UP_PERIOD : IDS_ALERT_USED_UP);
    languageString(id, format, sizeof format);
    const char* values[] = { percent, left };
    fillTextFormat(format, values, 2, text, size);
}

void moneyText(const AlertCheck& check, char* text, size_t size)
{
    char cost[128], limit[128], format[512];
    formatTariffMoney(check.figures.monthCost, cost, sizeof cost);
    formatTariffMoney(alerts.limit, limit, sizeof limit);
    languageString(countsOverBillingPeriod() ? IDS_ALERT_MONEY_PERIOD : IDS_ALERT_MONEY, format, sizeof format);
    const char* values[] = { cost, limit };
    fillTextFormat(format, values, 2, text, size);
    if (check.hungUp) {
        const size_t used = strlen(text);
        languageString(IDS_ALERT_HUNG_UP, text + used, size - used);
    }
}

// A balloon from the notification-area icon; the icon's record of the window is left alone.
void showBalloon(const MainWindowState* state, const char* title, const char* text, bool warning)
{
    NOTIFYICONDATAA balloon {};
    // The smallest record that carries a balloon, which every shell since Windows 2000 takes.
    balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    balloon.hWnd = state->window;
    balloon.uID = state->tray.uID;
    balloon.uFlags = NIF_INFO;
    snprintf(balloon.szInfo, sizeof balloon.szInfo, "%s", text);
    snprintf(balloon.szInfoTitle, sizeof balloon.szInfoTitle, "%s", title);
    balloon.uTimeout = 15000;
    balloon.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &balloon);
}

void showAlert(MainWindowState* state, uint32_t titleId, const char* text, bool warning)
{
    char title[64];
    languageString(titleId, title, sizeof title);
    showBalloon(state, title, text, warning);
    if (IsWindowVisible(state->window)) {
        snprintf(state->statusText, sizeof state->statusText, "%s", text);
        InvalidateRect(state->window, nullptr, FALSE);
    }
}

} // namespace

void checkUsageAlerts(MainWindowState* state)
{
    const AlertCheck check = checkAlerts();
    if (check.fired == 0 && !check.hungUp)
        return;
    int64_t left = 0;
    bool isVolume = true;
    freeUnitsLeft(0, &left, &isVolume);
    char text[512];
    // The lower share first: when several fire at once, the balloon that stays is the weightiest.
    const int low = alerts.usagePercent[0] <= alerts.usagePercent[1] ? 0 : 1;
    for (int slot : { low, 1 - low }) {
        if ((check.fired & 1u << slot) == 0)
            continue;
        usageText(slot, check.figures, isVolume, text, sizeof text);
        showAlert(state, IDS_ALERT_USAGE_TITLE, text, false);
    }
    // A hang-up is always told: a connection that ends at once would otherwise be a riddle.
    if ((check.fired & 1u << kMoneyAlert) != 0 || check.hungUp) {
        moneyText(check, text, sizeof text);
        showAlert(state, IDS_ALERT_MONEY_TITLE, text, true);
    }
    if (!check.saved)
        reportError(0);
}

void appendFreeUnitsLeft(uint32_t monthKey, char* tip, size_t size)
{
    int64_t left = 0;
    bool isVolume = true;
    const size_t used = strlen(tip);
    if (!freeUnitsLeft(monthKey, &left, &isVolume) || used + 2 >= size)
        return;
    char units[kFormattedValueSize], format[64], text[128];
    // Beyond the free units the formatter marks the excess with "+"; the text says so itself.
    formatUnits(left > 0 ? left : -left, isVolume, units);
    languageString(left >= 0 ? IDS_TRAY_FREE_LEFT : IDS_TRAY_FREE_EXCEEDED, format, sizeof format);
    fillLabelFormat(format, units, text, sizeof text);
    snprintf(tip + used, size - used, ", %s", text);
}
