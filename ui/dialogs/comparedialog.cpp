// Which tariff would have been cheapest: every tariff of the table priced over the month shown or
// the twelve months up to it, cheapest first, the active one marked; one of them can be made the
// active tariff from here.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "meter/monthrange.h"
#include "meter/tariffcompare.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/money_win.h"

namespace {

constexpr int kColumns = 5; // tariff, usage, fixed amounts, total, difference
const uint32_t kHeadings[kColumns] = { IDS_COMPARE_COLUMN_TARIFF, IDS_COMPARE_COLUMN_USAGE, IDS_COMPARE_COLUMN_FIXED,
    IDS_COMPARE_COLUMN_TOTAL, IDS_COMPARE_COLUMN_DIFFERENCE };
constexpr int kHeadingPadding = 16; // the heading's margins and its sort mark's room

struct CompareRequest {
    uint32_t shownKey; // 0: the current month
    int32_t chosen; // the tariff to make active, -1 for none
};

struct CompareDialogState {
    CompareRequest* request;
    uint32_t shownKey; // never 0
    uint32_t currentKey;
    bool twelveMonths;
    MonthRange range;
    TariffComparison comparison;
};

uint32_t currentMonthKey() { return currentMonth.key != 0 ? currentMonth.key : monthKeyOf(localTimeNow()); }

void monthText(uint32_t key, char* text, int size)
{
    SYSTEMTIME date {};
    date.wYear = WORD(key >> 16);
    date.wMonth = WORD(key & 0xFFFF);
    date.wDay = 1;
    if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_YEARMONTH, &date, nullptr, text, size) == 0)
        snprintf(text, size_t(size), "%04u-%02u", unsigned(key >> 16), unsigned(key & 0xFFFF));
}

uint32_t firstOfTwelve(uint32_t last)
{
    for (int i = 0; i < 11; ++i)
        last = monthBeforeKey(last);
    return last;
}

void setChoiceTexts(HWND dialog, const CompareDialogState& state)
{
    char format[256], month[128], first[128], text[512];
    monthText(state.shownKey, month, sizeof month);
    languageString(IDS_COMPARE_MONTH, format, sizeof format);
    fillLabelFormat(format, month, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_COMPARE_MONTH, text);
    monthText(firstOfTwelve(state.shownKey), first, sizeof first);
    languageString(IDS_COMPARE_TWELVE_MONTHS, format, sizeof format);
    const char* months[] = { first, month };
    fillTextFormat(format, months, 2, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_COMPARE_TWELVE_MONTHS, text);
    languageString(IDS_COMPARE_NOTE, text, sizeof text);
    SetDlgItemTextA(dialog, IDC_COMPARE_NOTE, text);
}

void addColumns(HWND list)
{
    for (int i = 0; i < kColumns; ++i) {
        char heading[128];
        languageString(kHeadings[i], heading, sizeof heading);
        LVCOLUMNA column {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM | LVCF_WIDTH;
        column.fmt = i == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.cx = 60;
        column.pszText = heading;
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(i), LPARAM(&column));
    }
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
}

void setCell(HWND list, int row, int column, const char* text)
{
    LVITEMA cell {};
    cell.iSubItem = column;
    cell.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&cell));
}

void fillList(HWND dialog, const CompareDialogState& state)
{
    HWND list = GetDlgItem(dialog, IDC_COMPARE_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const TariffComparison& comparison = state.comparison;
    int activeRow = -1;
    for (int32_t row = 0; row < comparison.count; ++row) {
        const TariffPrice& price = comparison.prices[row];
        const Rate* rate = tariffAt(price.tariff);
        char name[sizeof rate->name + 1] = {}, text[512];
        memcpy(name, rate->name, sizeof rate->name);
        const bool active = price.tariff == settings.activeTariff;
        if (active) {
            char format[128];
            languageString(IDS_COMPARE_ACTIVE, format, sizeof format);
            fillLabelFormat(format, name, text, sizeof text);
            activeRow = row;
        } else {
            snprintf(text, sizeof text, "%s", name);
        }
        LVITEMA item {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = text;
        item.lParam = LPARAM(price.tariff);
        SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item));
        const double amounts[3] = { price.usageCost, price.fixedCost, price.total };
        for (int column = 1; column <= 3; ++column) {
            formatTariffMoney(amounts[column - 1], text, sizeof text);
            setCell(list, row, column, text);
        }
        // The active tariff is what the others differ from.
        text[0] = '\0';
        if (comparison.hasActive && !active) {
            char money[256];
            formatTariffMoney(price.difference, money, sizeof money);
            snprintf(text, sizeof text, "%s%s", price.difference > 0 ? "+" : "", money);
        }
        setCell(list, row, 4, text);
    }
    // The figures' columns as wide as their widest text or heading, the names in the room left.
    RECT client;
    GetClientRect(list, &client);
    int used = GetSystemMetrics(SM_CXVSCROLL);
    for (int column = 1; column < kColumns; ++column) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(column), LVSCW_AUTOSIZE);
        const int content = int(SendMessageA(list, LVM_GETCOLUMNWIDTH, WPARAM(column), 0));
        char heading[128];
        languageString(kHeadings[column], heading, sizeof heading);
        const int headingWidth = int(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, LPARAM(heading))) + kHeadingPadding;
        const int width = content > headingWidth ? content : headingWidth;
        SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(column), width);
        used += width;
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, client.right - used > 60 ? client.right - used : 60);
    if (activeRow >= 0) {
        ListView_SetItemState(list, activeRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, activeRow, FALSE);
    }
}

// The tariff of the selected row, -1 for none.
int32_t selectedTariff(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_COMPARE_LIST);
    const int row = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
    if (row < 0)
        return -1;
    LVITEMA item {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
    return int32_t(item.lParam);
}

void enableMakeActive(HWND dialog)
{
    const int32_t tariff = selectedTariff(dialog);
    EnableWindow(GetDlgItem(dialog, IDC_COMPARE_MAKE_ACTIVE), tariff >= 0 && tariff != settings.activeTariff);
}

// Reads the months chosen and prices every tariff over them; a damaged log is reported as it
// is read.
void compareChosenMonths(HWND dialog, CompareDialogState& state)
{
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const uint32_t first = state.twelveMonths ? firstOfTwelve(state.shownKey) : state.shownKey;
    if (!readMonthRange(first, state.twelveMonths ? 12 : 1, state.currentKey, state.range))
        reportError(0);
    priceEveryTariff(state.range, state.comparison);
    freeMonthRange(state.range);
    rankTariffs(state.comparison, settings.activeTariff);
    SetCursor(previous);
    fillList(dialog, state);
    enableMakeActive(dialog);
}

void choose(HWND dialog, CompareDialogState& state)
{
    const int32_t tariff = selectedTariff(dialog);
    if (tariff < 0)
        return;
    state.request->chosen = tariff;
    EndDialog(dialog, IDOK);
}

bool onInit(HWND dialog, CompareRequest* request)
{
    CompareDialogState* state = createDialogState<CompareDialogState>(dialog);
    if (state == nullptr)
        return false;
    state->request = request;
    state->currentKey = currentMonthKey();
    state->shownKey = request->shownKey != 0 ? request->shownKey : state->currentKey;
    setChoiceTexts(dialog, *state);
    CheckRadioButton(dialog, IDC_COMPARE_MONTH, IDC_COMPARE_TWELVE_MONTHS, IDC_COMPARE_MONTH);
    addColumns(GetDlgItem(dialog, IDC_COMPARE_LIST));
    compareChosenMonths(dialog, *state);
    return true;
}

INT_PTR CALLBACK compareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        if (!onInit(dialog, reinterpret_cast<CompareRequest*>(lParam)))
            EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    CompareDialogState* state = dialogState<CompareDialogState>(dialog);
    if (state == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_COMPARE_MONTH:
        case IDC_COMPARE_TWELVE_MONTHS: {
            const bool twelve = LOWORD(wParam) == IDC_COMPARE_TWELVE_MONTHS;
            if (HIWORD(wParam) == BN_CLICKED && twelve != state->twelveMonths) {
                state->twelveMonths = twelve;
                compareChosenMonths(dialog, *state);
            }
            return TRUE;
        }
        case IDC_COMPARE_MAKE_ACTIVE:
            choose(dialog, *state);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_COMPARE_LIST)
            return FALSE;
        if (header->code == LVN_ITEMCHANGED)
            enableMakeActive(dialog);
        else if (header->code == NM_DBLCLK)
            choose(dialog, *state);
        return TRUE;
    }
    case WM_DESTROY:
        freeMonthRange(state->range);
        freeDialogState<CompareDialogState>(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool showCompareDialog(HWND owner, uint32_t shownKey, int32_t* chosen)
{
    CompareRequest request { shownKey, -1 };
    const INT_PTR result = DialogBoxParamA(
        LanguageModule, MAKEINTRESOURCEA(IDD_COMPARE_TARIFFS), owner, compareDialogProc, LPARAM(&request));
    *chosen = request.chosen;
    if (LanguageModule == nullptr || result == -1 || result == 0)
        return failWith(kErrorDialog);
    return true;
}
