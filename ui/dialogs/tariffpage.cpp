// The tariff editor page: edits the tariff table in place, one tariff at a time.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>

#include "core/apperror.h"
#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "meter/monthrange.h"
#include "meter/tariffcompare.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/enterkey_win.h"
#include "ui/dialogs/money_win.h"
#include "ui/dialogs/numberfield_win.h"
#include "ui/dialogs/optionspages.h"
#include "ui/dialogs/tariffdescription.h"
#include "ui/dialogs/tarifftable.h"

namespace {

constexpr int kUnitCount = 6;
constexpr int kCostCount = 7;
constexpr int kAmountCount = 4;
constexpr int kFirstTimeUnit = 3;
// Each amount stays far enough below 2^32 that the thresholds made of three of them never wrap.
constexpr double kLargestAmount = 1000000000;
constexpr double kLargestPrice = 1000000000;
constexpr int kPricePlaces = 6; // what rates.zip keeps of a price

NumberField costField(int index)
{
    return { IDC_TARIFF_COST_FIRST + index, NumberKind::money, 0, kLargestPrice, kPricePlaces,
        index == 0 ? 9.95 : 0.005 };
}
NumberField amountField(int index)
{
    return { IDC_TARIFF_AMOUNT_FIRST + index, NumberKind::whole, 0, kLargestAmount, 0, 0 };
}
const NumberField kPrecisionField = { IDC_TARIFF_PRECISION, NumberKind::whole, 0, 6, 0, 0 };
// Every month has the days 1 to 28.
const NumberField kBillingDayField = { IDC_TARIFF_BILLING_DAY, NumberKind::whole, 1, kLastBillingDay, 0, 0 };

// The page's own state while its window lives.
struct TariffPage {
    HWND window;
    int edited; // the tariff being edited
    int count; // tariffs in the table
    bool filling; // fields are being set by the page, not typed in
    uint32_t shownMonth; // the month the main window shows, priced in the description
    MonthRange* shownRange; // its records, read when the page opens; null when they cannot be had
    // The edited tariff's prices as they are; a price changes only when its field is typed in,
    // and while its text is no price the field is marked.
    double costs[kCostCount];
    bool costUnread[kCostCount];
    char unitNames[kUnitCount][256];
    char costLabelFormat[256];
    char timeLabelFormat[256];
};
HWND item(const TariffPage& page, int id) { return GetDlgItem(page.window, id); }

void setText(const TariffPage& page, int id, const char* text) { SetDlgItemTextA(page.window, id, text); }

// A price shows every place it has: the tariff's places are for the month's totals.
void showCost(TariffPage& page, int index)
{
    char shown[256];
    formatPrice(page.costs[index], shown, sizeof shown);
    const bool filling = page.filling;
    page.filling = true;
    setText(page, IDC_TARIFF_COST_FIRST + index, shown);
    page.filling = filling;
    page.costUnread[index] = false;
}

void readTypedCost(TariffPage& page, int index)
{
    double price = 0;
    page.costUnread[index] = !readNumberField(page.window, costField(index), price);
    if (!page.costUnread[index])
        page.costs[index] = price;
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

// The unit a count of the selected unit is in: "MB", or "minutes" from the time label format.
void countUnitName(const TariffPage& page, int unit, char* name, size_t size)
{
    if (unit >= kFirstTimeUnit)
        fillLabelFormat(page.timeLabelFormat, page.unitNames[unit], name, size);
    else
        snprintf(name, size, "%s", page.unitNames[unit]);
}

void formatCount(uint64_t units, char* text, size_t size) { formatLocaleNumber(double(units), 0, text, size); }

// The fields read into `rate` (name and anything the page does not show stay). False when a
// field holds no number it takes; with `mend`, that field then gets the focus and a balloon.
bool readTariffFields(TariffPage& page, Rate& rate, bool mend)
{
    const auto take = [&](const NumberField& field, double& value) {
        return mend ? takeNumberField(page.window, field, value) : readNumberField(page.window, field, value);
    };
    for (int i = 0; i < kCostCount; ++i) {
        double price = 0;
        if (page.costUnread[i] && !take(costField(i), price))
            return false;
        rate.cost[i] = page.costs[i];
    }
    for (int i = 0; i < kAmountCount; ++i) {
        double amount = 0;
        if (!take(amountField(i), amount))
            return false;
        rate.amount[i] = uint32_t(amount);
    }
    double places = 0;
    if (!take(kPrecisionField, places))
        return false;
    snprintf(rate.precision, sizeof rate.precision, "%d", int(places));
    // The day the tariff has already leaves it as it was read (a tariff without one keeps none).
    double billingDay = 0;
    if (!take(kBillingDayField, billingDay))
        return false;
    if (uint32_t(billingDay) != billingDayOf(&rate))
        rate.billingDay = uint32_t(billingDay);
    const LRESULT unit = SendMessageA(item(page, IDC_TARIFF_UNIT), CB_GETCURSEL, 0, 0);
    if (unit >= 0) // a unit the list does not know stays as it was read
        rate.unit = int32_t(unit);
    rate.ltimeb = secondsOfPicker(page, IDC_TARIFF_TIME_BEGIN, rate.ltimeb);
    rate.ltimee = secondsOfPicker(page, IDC_TARIFF_TIME_END, rate.ltimee);
    rate.ldays = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (IsDlgButtonChecked(page.window, IDC_TARIFF_DAY_FIRST + bit) == BST_CHECKED)
            rate.ldays |= 1u << bit;
    return true;
}

void freeShownMonth(TariffPage& page)
{
    if (page.shownRange != nullptr)
        freeMonthRange(*page.shownRange);
    delete page.shownRange;
    page.shownRange = nullptr;
}

// The month the main window shows, with its running connections when it is the current one,
// read once: the description prices it at every keystroke.
void readShownMonth(TariffPage& page, uint32_t shownMonth)
{
    const uint32_t current = currentMonth.key != 0 ? currentMonth.key : monthKeyOf(localTimeNow());
    page.shownMonth = shownMonth != 0 ? shownMonth : current;
    page.shownRange = new (std::nothrow) MonthRange {};
    if (page.shownRange == nullptr) {
        reportError(kErrorNoMemory);
        return;
    }
    // Half a month would be priced as if it were all of it: no figure then.
    if (!readMonthRange(page.shownMonth, 1, current, *page.shownRange)) {
        reportError(0);
        freeShownMonth(page);
    }
}

// The month the main window shows, by name, and what it would cost under `rate`, as the
// comparison of tariffs prices it.
void appendMonthCost(const TariffPage& page, const Rate& rate, char* text, size_t size)
{
    if (page.shownRange == nullptr)
        return;
    const double cost = priceRate(*page.shownRange, rate).total;
    SYSTEMTIME month = {};
    month.wYear = WORD(page.shownMonth >> 16);
    month.wMonth = WORD(page.shownMonth & 0xFFFF);
    month.wDay = 1;
    char monthName[128], money[128], pattern[512], line[768];
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_YEARMONTH, &month, nullptr, monthName, sizeof monthName) == 0)
        monthName[0] = '\0';
    // A total: the tariff's own decimal places.
    if (!formatMoney(cost, precisionDigits(rate.precision), money, sizeof money))
        snprintf(money, sizeof money, "%.2f", cost);
    loadLanguageText(IDS_TARIFF_DESCRIBE_MONTH, pattern, sizeof pattern);
    const char* inserts[] = { monthName, money };
    fillInserts(pattern, inserts, 2, line, sizeof line);
    const size_t used = strlen(text);
    snprintf(text + used, size - used, "%s", line);
}

// What the tariff being edited charges, in words, as the fields stand now.
void refreshDescription(TariffPage& page)
{
    char text[2048] = "";
    Rate rate {};
    if (page.count > 0)
        rate = *TariffTable[page.edited];
    const LRESULT unit = SendMessageA(item(page, IDC_TARIFF_UNIT), CB_GETCURSEL, 0, 0);
    if (page.count == 0 || unit < 0 || unit >= kUnitCount) {
        // nothing to describe
    } else if (!readTariffFields(page, rate, false)) {
        loadLanguageText(IDS_TARIFF_DESCRIBE_WAITING, text, sizeof text);
    } else {
        char countUnit[512];
        countUnitName(page, int(unit), countUnit, sizeof countUnit);
        const TariffWording wording { page.unitNames[unit], countUnit, formatPrice, formatCount };
        describeTariff(rate, wording, text, sizeof text);
        appendMonthCost(page, rate, text, sizeof text);
    }
    setText(page, IDC_TARIFF_DESCRIPTION, text);
}

void showTariff(TariffPage& page, int index)
{
    const Rate* rate = TariffTable[index];
    page.filling = true;
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
    refreshDescription(page);
}

// Writes the fields into the tariff at `index`; false, with the tariff as it was and a balloon
// on the first field that holds no number it takes.
bool storeTariff(TariffPage& page, int index)
{
    Rate rate = *TariffTable[index];
    if (!readTariffFields(page, rate, true))
        return false;
    *TariffTable[index] = rate;
    return true;
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
    // The tariff shown is kept first; what it cannot keep is mended before another is added.
    if (page.count > 0 && !storeTariff(page, page.edited))
        return;
    Rate* rate = appendTariff();
    if (rate == nullptr) {
        reportError(kErrorNoMemory);
        return;
    }
    if (page.count == 0)
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
    hideFieldBalloon();
    removeTariff(page.edited);
    // The month stays priced by the same tariff, which has moved a slot down.
    if (page.edited < settings.activeTariff)
        --settings.activeTariff;
    SendMessageA(item(page, IDC_TARIFF_LIST), CB_DELETESTRING, WPARAM(page.edited), 0);
    if (page.edited > 0)
        --page.edited;
    --page.count;
    if (page.count == 0) {
        enableTariffControls(page, false);
        refreshDescription(page);
    } else {
        showTariff(page, page.edited);
    }
    updateAddButton(page);
}

void selectTariff(TariffPage& page)
{
    const LRESULT selected = SendMessageA(item(page, IDC_TARIFF_LIST), CB_GETCURSEL, 0, 0);
    if (page.count == 0 || selected < 0 || selected >= page.count)
        return;
    if (!storeTariff(page, page.edited)) {
        // The tariff left behind would lose what its fields hold: it stays until mended.
        SendMessageA(item(page, IDC_TARIFF_LIST), CB_SETCURSEL, page.edited, 0);
        return;
    }
    page.edited = int(selected);
    showTariff(page, page.edited);
}

void openPage(TariffPage& page, HWND window, uint32_t shownMonth)
{
    page.window = window;
    page.filling = false;
    readShownMonth(page, shownMonth);
    page.count = tariffCount();
    page.edited = tariffAt(settings.activeTariff) ? settings.activeTariff : 0;
    SendMessageA(item(page, IDC_TARIFF_PRECISION_SPIN), UDM_SETRANGE32, 0, 6);
    SendMessageA(item(page, IDC_TARIFF_PRECISION), EM_LIMITTEXT, 3, 0);
    SendMessageA(item(page, IDC_TARIFF_BILLING_DAY_SPIN), UDM_SETRANGE32, 1, kLastBillingDay);
    SendMessageA(item(page, IDC_TARIFF_BILLING_DAY), EM_LIMITTEXT, 2, 0);
    SendMessageA(item(page, IDC_TARIFF_NEW_NAME), EM_LIMITTEXT, 255, 0);
    clickOnEnter(item(page, IDC_TARIFF_NEW_NAME), IDC_TARIFF_ADD);

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
        const int index = id - IDC_TARIFF_COST_FIRST;
        if (notification == EN_CHANGE && !page.filling) {
            hideFieldBalloon();
            readTypedCost(page, index);
            refreshDescription(page);
        } else if (notification == EN_KILLFOCUS) {
            // A price shows as the locale writes it once it is read; a text that is none stays
            // as typed, and the balloon says what is wanted.
            if (!page.costUnread[index])
                showCost(page, index);
            else if (GetFocus() != nullptr && IsChild(page.window, GetFocus()))
                explainNumberField(page.window, costField(index));
        }
        return;
    }
    if (page.filling || page.count == 0)
        return;
    const bool amount = id >= IDC_TARIFF_AMOUNT_FIRST && id <= IDC_TARIFF_AMOUNT_LAST;
    if ((amount || id == IDC_TARIFF_PRECISION || id == IDC_TARIFF_BILLING_DAY) && notification == EN_CHANGE) {
        hideFieldBalloon();
        refreshDescription(page);
        return;
    }
    if (id >= IDC_TARIFF_DAY_FIRST && id <= IDC_TARIFF_DAY_LAST && notification == BN_CLICKED) {
        refreshDescription(page);
        return;
    }
    switch (id) {
    case IDC_TARIFF_UNIT:
        if (notification == CBN_SELCHANGE) {
            updateUnitLabels(page);
            refreshDescription(page);
        }
        break;
    }
}

// Commands that act on the table work with no tariff shown as well.
void onTableCommand(TariffPage& page, int id, int notification)
{
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
    default:
        onCommand(page, id, notification);
    }
}

// A skipped price handed over to a price of 0 makes usage free: asked before OK keeps it.
bool confirmFreeUsage(TariffPage& page, const Rate& rate)
{
    uint32_t freeFrom = 0;
    const int skipped = freeUsageTrap(rate, &freeFrom);
    if (skipped == 0)
        return true;
    const LRESULT unit = SendMessageA(item(page, IDC_TARIFF_UNIT), CB_GETCURSEL, 0, 0);
    char count[64], countUnit[512], amount[640], pattern[1024], text[2048], caption[256], number[8];
    formatCount(freeFrom, count, sizeof count);
    countUnitName(page, unit >= 0 && unit < kUnitCount ? int(unit) : 0, countUnit, sizeof countUnit);
    loadLanguageText(IDS_TARIFF_COUNT, pattern, sizeof pattern);
    const char* countInserts[] = { count, countUnit };
    fillInserts(pattern, countInserts, 2, amount, sizeof amount);
    snprintf(number, sizeof number, "%d", skipped);
    loadLanguageText(IDS_TARIFF_FREE_BEYOND_QUESTION, pattern, sizeof pattern);
    const char* inserts[] = { amount, number };
    fillInserts(pattern, inserts, 2, text, sizeof text);
    loadLanguageText(IDS_OPTIONS_CAPTION, caption, sizeof caption);
    if (MessageBoxA(GetParent(page.window), text, caption, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        return true;
    // Back to the length that skips the price.
    SetFocus(item(page, IDC_TARIFF_AMOUNT_FIRST + 1 + skipped));
    SendMessageA(item(page, IDC_TARIFF_AMOUNT_FIRST + 1 + skipped), EM_SETSEL, 0, -1);
    return false;
}

bool apply(TariffPage& page)
{
    if (page.count == 0)
        return true;
    Rate rate = *TariffTable[page.edited];
    if (!readTariffFields(page, rate, true) || !confirmFreeUsage(page, rate))
        return false;
    *TariffTable[page.edited] = rate;
    settings.activeTariff = page.edited;
    return true;
}

// The page may be left (another page, or OK) once every field holds a number it takes.
bool mayLeave(TariffPage& page)
{
    Rate rate {};
    return page.count == 0 || readTariffFields(page, rate, true);
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
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        openPage(*page, window, sheetPage != nullptr ? uint32_t(sheetPage->lParam) : 0);
        return TRUE;
    }
    // Messages before WM_INITDIALOG, or a page whose state could not be had, find none.
    auto* page = dialogState<TariffPage>(window);
    if (page == nullptr)
        return 0;
    switch (message) {
    case WM_COMMAND:
        onTableCommand(*page, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (isLeaveNotification(lParam))
            return answerLeave(window, mayLeave(*page));
        if (isApplyNotification(lParam))
            return apply(*page) ? acceptApply(window) : refuseApply(window);
        if (header->code == DTN_DATETIMECHANGE && !page->filling && page->count > 0)
            refreshDescription(*page);
        return 0;
    }
    case WM_DESTROY:
        freeShownMonth(*page);
        freeDialogState<TariffPage>(window);
        return 0;
    }
    return 0;
}
