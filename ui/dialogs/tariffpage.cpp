// The tariff editor page: edits the tariff table in place, one tariff at a time.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "core/apperror.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/money_win.h"
#include "ui/dialogs/optionspages.h"
#include "ui/dialogs/tarifftable.h"

namespace {

constexpr int kUnitCount = 6;
constexpr int kCostCount = 7;
constexpr int kAmountCount = 4;
constexpr int kFirstTimeUnit = 3;

// The page's own state while its window lives.
struct TariffPage {
    HWND window;
    int edited; // the tariff being edited
    int count; // tariffs in the table
    int digits; // decimal places of the cost fields
    bool filling; // fields are being set by the page, not typed in
    // The edited tariff's prices at full precision. The fields show them rounded to the tariff's
    // places; a price changes only when its field is typed in.
    double costs[kCostCount];
    char unitNames[kUnitCount][256];
    char costLabelFormat[256];
    char timeLabelFormat[256];
};
HWND item(const TariffPage& page, int id) { return GetDlgItem(page.window, id); }

void setText(const TariffPage& page, int id, const char* text) { SetDlgItemTextA(page.window, id, text); }

void showCost(TariffPage& page, int index)
{
    char shown[256];
    if (!formatMoney(page.costs[index], page.digits, shown, sizeof shown))
        snprintf(shown, sizeof shown, "%.*f", page.digits, page.costs[index]);
    const bool filling = page.filling;
    page.filling = true;
    setText(page, IDC_TARIFF_COST_FIRST + index, shown);
    page.filling = filling;
}

void readTypedCost(TariffPage& page, int index)
{
    char decimalSeparator[8], groupSeparator[8];
    userMoneySeparators(decimalSeparator, groupSeparator, sizeof decimalSeparator);
    char text[256];
    GetDlgItemTextA(page.window, IDC_TARIFF_COST_FIRST + index, text, sizeof text);
    page.costs[index] = parseMoneyText(text, decimalSeparator, groupSeparator);
}

void updateUnitLabels(TariffPage& page)
{
    const LRESULT unit = SendMessageA(item(page, IDC_TARIFF_UNIT), CB_GETCURSEL, 0, 0);
    const char* name = unit >= 0 && unit < kUnitCount ? page.unitNames[unit] : "";
    char label[512];
    for (int id = IDC_TARIFF_AMOUNT_LABEL_FIRST; id <= IDC_TARIFF_AMOUNT_LABEL_LAST; ++id) {
        if (unit >= kFirstTimeUnit)
            fillLabelFormat(page.timeLabelFormat, name, label, sizeof label);
        else
            snprintf(label, sizeof label, "%s", name);
        setText(page, id, unit < 0 ? "" : label);
    }
    fillLabelFormat(page.costLabelFormat, name, label, sizeof label);
    for (int id = IDC_TARIFF_COST_LABEL_FIRST; id <= IDC_TARIFF_COST_LABEL_LAST; ++id)
        setText(page, id, unit < 0 ? "" : label);
}

void enableTariffControls(TariffPage& page, bool enable)
{
    for (int id = IDC_TARIFF_TIME_BEGIN; id <= IDC_TARIFF_COST_LABEL_LAST; ++id)
        if (HWND control = item(page, id))
            EnableWindow(control, enable);
    EnableWindow(item(page, IDC_TARIFF_LIST), enable);
    EnableWindow(item(page, IDC_TARIFF_DELETE), enable);
    for (int id : { IDC_TARIFF_BILLING_DAY, IDC_TARIFF_BILLING_DAY_SPIN })
        EnableWindow(item(page, id), enable);
    for (int id = IDC_TARIFF_AMOUNT_FIRST; id <= IDC_TARIFF_COST_LABEL_LAST; ++id)
        setText(page, id, "");
    setText(page, IDC_TARIFF_BILLING_DAY, "");
    // Without a tariff the time fields show no time rather than the clock's: a picture of one
    // blank, and the picker's own format again once there is a tariff to show.
    for (int id : { IDC_TARIFF_TIME_BEGIN, IDC_TARIFF_TIME_END })
        SendMessageA(item(page, id), DTM_SETFORMATA, 0, enable ? 0 : LPARAM("' '"));
}

// A full table has no slot for another tariff.
void updateAddButton(TariffPage& page) { EnableWindow(item(page, IDC_TARIFF_ADD), page.count < kTariffSlots); }

int32_t secondsOfPicker(const TariffPage& page, int id, int32_t keep)
{
    SYSTEMTIME time;
    if (SendMessageA(item(page, id), DTM_GETSYSTEMTIME, 0, LPARAM(&time)) != GDT_VALID)
        return keep;
    return time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
}

void setPicker(TariffPage& page, int id, int32_t seconds)
{
    // Values read from rates.zip are not checked; the picker shows them within one day.
    if (seconds < 0 || seconds > 86399)
        seconds = seconds < 0 ? 0 : 86399;
    SYSTEMTIME time;
    GetLocalTime(&time);
    time.wHour = WORD(seconds / 3600);
    time.wMinute = WORD(seconds / 60 % 60);
    time.wSecond = WORD(seconds % 60);
    time.wMilliseconds = 0;
    SendMessageA(item(page, id), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&time));
}

void showTariff(TariffPage& page, int index)
{
    const Rate* rate = TariffTable[index];
    page.filling = true;
    page.digits = precisionDigits(rate->precision);
    SendMessageA(
        item(page, IDC_TARIFF_UNIT), CB_SETCURSEL, rate->unit >= 0 && rate->unit < kUnitCount ? rate->unit : -1, 0);
    for (int i = 0; i < kAmountCount; ++i)
        SetDlgItemInt(page.window, IDC_TARIFF_AMOUNT_FIRST + i, rate->amount[i], FALSE);
    for (int i = 0; i < kCostCount; ++i) {
        page.costs[i] = rate->cost[i];
        showCost(page, i);
    }
    updateUnitLabels(page);
    SendMessageA(item(page, IDC_TARIFF_PRECISION_SPIN), UDM_SETPOS32, 0, atoi(rate->precision));
    // The field shows the stored text itself, which the spin control may have clamped.
    setText(page, IDC_TARIFF_PRECISION, rate->precision);
    SendMessageA(item(page, IDC_TARIFF_LIST), CB_SETCURSEL, index, 0);
    SendMessageA(item(page, IDC_TARIFF_BILLING_DAY_SPIN), UDM_SETPOS32, 0, LPARAM(billingDayOf(rate)));
    SetDlgItemInt(page.window, IDC_TARIFF_BILLING_DAY, billingDayOf(rate), FALSE);
    setPicker(page, IDC_TARIFF_TIME_BEGIN, rate->ltimeb);
    setPicker(page, IDC_TARIFF_TIME_END, rate->ltimee);
    for (int bit = 0; bit < 8; ++bit)
        CheckDlgButton(page.window, IDC_TARIFF_DAY_FIRST + bit, (rate->ldays >> bit) & 1 ? BST_CHECKED : BST_UNCHECKED);
    page.filling = false;
}

void storeTariff(TariffPage& page, int index)
{
    Rate* rate = TariffTable[index];
    for (int i = 0; i < kCostCount; ++i)
        rate->cost[i] = page.costs[i];
    const LRESULT unit = SendMessageA(item(page, IDC_TARIFF_UNIT), CB_GETCURSEL, 0, 0);
    if (unit >= 0) // a unit the list does not know stays as it was read
        rate->unit = int32_t(unit);
    for (int i = 0; i < kAmountCount; ++i) {
        BOOL isNumber = FALSE;
        const UINT amount = GetDlgItemInt(page.window, IDC_TARIFF_AMOUNT_FIRST + i, &isNumber, FALSE);
        rate->amount[i] = isNumber ? amount : 0;
    }
    GetDlgItemTextA(page.window, IDC_TARIFF_PRECISION, rate->precision, sizeof rate->precision);
    // Every month has the days 1 to 28; a day beyond them is taken as the nearest that every
    // month has, and an empty field, or the day the tariff has, leaves the tariff as it was.
    BOOL isNumber = FALSE;
    const uint32_t billingDay = std::clamp<uint32_t>(
        GetDlgItemInt(page.window, IDC_TARIFF_BILLING_DAY, &isNumber, FALSE), 1, kLastBillingDay);
    if (isNumber && billingDay != billingDayOf(rate))
        rate->billingDay = billingDay;
    rate->ltimeb = secondsOfPicker(page, IDC_TARIFF_TIME_BEGIN, rate->ltimeb);
    rate->ltimee = secondsOfPicker(page, IDC_TARIFF_TIME_END, rate->ltimee);
    rate->ldays = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (IsDlgButtonChecked(page.window, IDC_TARIFF_DAY_FIRST + bit) == BST_CHECKED)
            rate->ldays |= 1u << bit;
}

void refuseName(TariffPage& page)
{
    char text[512], caption[256];
    loadLanguageText(IDS_TARIFF_NAME_REFUSED, text, sizeof text);
    loadLanguageText(IDS_OPTIONS_CAPTION, caption, sizeof caption);
    MessageBoxA(page.window, text, caption, MB_OK | MB_ICONWARNING);
    SetFocus(item(page, IDC_TARIFF_NEW_NAME));
}

void addTariff(TariffPage& page)
{
    char name[256];
    GetDlgItemTextA(page.window, IDC_TARIFF_NEW_NAME, name, sizeof name);
    if (!isStorableTariffName(name)) {
        refuseName(page);
        return;
    }
    if (page.count >= kTariffSlots)
        return;
    Rate* rate = appendTariff();
    if (rate == nullptr) {
        reportError(kErrorNoMemory);
        return;
    }
    if (page.count > 0)
        storeTariff(page, page.edited);
    else
        enableTariffControls(page, true);
    ++page.count;
    strcpy(rate->name, name);
    setText(page, IDC_TARIFF_NEW_NAME, "");
    const LRESULT entry = SendMessageA(item(page, IDC_TARIFF_LIST), CB_ADDSTRING, 0, LPARAM(rate->name));
    SendMessageA(item(page, IDC_TARIFF_LIST), CB_SETCURSEL, WPARAM(entry), 0);
    SendMessageA(item(page, IDC_TARIFF_UNIT), CB_SETCURSEL, 0, 0);
    page.edited = page.count - 1;
    showTariff(page, page.edited);
    updateAddButton(page);
}

void deleteTariff(TariffPage& page)
{
    if (page.count == 0)
        return;
    removeTariff(page.edited);
    // The month stays priced by the same tariff, which has moved a slot down.
    if (page.edited < settings.activeTariff)
        --settings.activeTariff;
    SendMessageA(item(page, IDC_TARIFF_LIST), CB_DELETESTRING, WPARAM(page.edited), 0);
    if (page.edited > 0)
        --page.edited;
    --page.count;
    if (page.count == 0)
        enableTariffControls(page, false);
    else
        showTariff(page, page.edited);
    updateAddButton(page);
}

void selectTariff(TariffPage& page)
{
    const LRESULT selected = SendMessageA(item(page, IDC_TARIFF_LIST), CB_GETCURSEL, 0, 0);
    if (page.count == 0 || selected < 0 || selected >= page.count)
        return;
    storeTariff(page, page.edited);
    page.edited = int(selected);
    showTariff(page, page.edited);
}

void changePrecision(TariffPage& page)
{
    if (page.filling || page.count == 0)
        return;
    char text[4];
    GetDlgItemTextA(page.window, IDC_TARIFF_PRECISION, text, sizeof text);
    page.digits = precisionDigits(text);
    // Only the display follows the places: the prices keep every digit they have.
    for (int i = 0; i < kCostCount; ++i)
        showCost(page, i);
}

void openPage(TariffPage& page, HWND window)
{
    page.window = window;
    page.filling = false;
    page.count = tariffCount();
    page.edited = tariffAt(settings.activeTariff) ? settings.activeTariff : 0;
    page.digits = 2;
    SendMessageA(item(page, IDC_TARIFF_PRECISION_SPIN), UDM_SETRANGE32, 0, 6);
    SendMessageA(item(page, IDC_TARIFF_PRECISION), EM_LIMITTEXT, 3, 0);
    SendMessageA(item(page, IDC_TARIFF_BILLING_DAY_SPIN), UDM_SETRANGE32, 1, kLastBillingDay);
    SendMessageA(item(page, IDC_TARIFF_BILLING_DAY), EM_LIMITTEXT, 2, 0);
    SendMessageA(item(page, IDC_TARIFF_NEW_NAME), EM_LIMITTEXT, 255, 0);

    for (int i = 0; i < kUnitCount; ++i) {
        GetDlgItemTextA(window, IDC_TARIFF_COST_LABEL_FIRST + i, page.unitNames[i], sizeof page.unitNames[i]);
        SendMessageA(item(page, IDC_TARIFF_UNIT), CB_ADDSTRING, 0, LPARAM(page.unitNames[i]));
    }
    GetDlgItemTextA(window, IDC_TARIFF_COST_LABEL_FORMAT, page.costLabelFormat, sizeof page.costLabelFormat);
    GetDlgItemTextA(window, IDC_TARIFF_TIME_LABEL_FORMAT, page.timeLabelFormat, sizeof page.timeLabelFormat);

    for (int i = 0; i < page.count; ++i)
        SendMessageA(item(page, IDC_TARIFF_LIST), CB_ADDSTRING, 0, LPARAM(TariffTable[i]->name));
    SendMessageA(item(page, IDC_TARIFF_UNIT), CB_SETCURSEL, 0, 0);
    if (page.count > 0)
        showTariff(page, page.edited);
    else
        enableTariffControls(page, false);
    updateAddButton(page);
}

void onCommand(TariffPage& page, int id, int notification)
{
    if (id >= IDC_TARIFF_COST_FIRST && id <= IDC_TARIFF_COST_LAST) {
        if (page.count == 0)
            return;
        if (notification == EN_CHANGE && !page.filling)
            readTypedCost(page, id - IDC_TARIFF_COST_FIRST);
        else if (notification == EN_KILLFOCUS)
            showCost(page, id - IDC_TARIFF_COST_FIRST);
        return;
    }
    switch (id) {
    case IDC_TARIFF_LIST:
        if (notification == CBN_SELCHANGE)
            selectTariff(page);
        break;
    case IDC_TARIFF_DELETE:
        if (notification == BN_CLICKED)
            deleteTariff(page);
        break;
    case IDC_TARIFF_ADD:
        if (notification == BN_CLICKED)
            addTariff(page);
        break;
    case IDC_TARIFF_PRECISION:
        if (notification == EN_CHANGE)
            changePrecision(page);
        break;
    case IDC_TARIFF_UNIT:
        if (notification == CBN_SELCHANGE)
            updateUnitLabels(page);
        break;
    }
}

void apply(TariffPage& page)
{
    if (page.count == 0)
        return;
    storeTariff(page, page.edited);
    settings.activeTariff = page.edited;
}

} // namespace

INT_PTR CALLBACK tariffPageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* page = createDialogState<TariffPage>(window);
        if (page == nullptr) {
            reportError(kErrorNoMemory);
            return TRUE;
        }
        openPage(*page, window);
        return TRUE;
    }
    // Messages before WM_INITDIALOG, or a page whose state could not be had, find none.
    auto* page = dialogState<TariffPage>(window);
    if (page == nullptr)
        return 0;
    switch (message) {
    case WM_COMMAND:
        onCommand(*page, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY:
        if (isApplyNotification(lParam)) {
            apply(*page);
            return acceptApply(window);
        }
        return 0;
    case WM_DESTROY:
        freeDialogState<TariffPage>(window);
        return 0;
    }
    return 0;
}
