// The holidays page: the list lives in the list view until OK writes it into Settings.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/localtime.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/holidaytable.h"
#include "ui/dialogs/optionspages.h"

namespace {

constexpr int kNewRow = -1;
constexpr int kCellPadding = 12;

int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM)
{
    return compareHolidayDates(uint32_t(first), uint32_t(second));
}

// A holiday of every year shows its day and month in the locale's order, without a year.
void dateText(uint32_t packedDate, char* text, int size)
{
    const HolidayDate date = unpackDate(packedDate);
    SYSTEMTIME time = {};
    time.wYear = WORD(date.year);
    time.wMonth = WORD(date.month);
    time.wDay = WORD(date.day);
    text[0] = '\0';
    if (!isEveryYear(packedDate)) {
        if (GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, size) == 0)
            text[0] = '\0';
        return;
    }
    char shortDate[80], picture[80], day[80], pattern[256];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, shortDate, sizeof shortDate) == 0)
        return;
    monthDayPicture(shortDate, picture, sizeof picture);
    time.wYear = 2000; // a leap year: 29 February is a day of it
    if (GetDateFormatA(LOCALE_USER_DEFAULT, 0, &time, picture, day, sizeof day) == 0)
        return;
    if (!languageString(IDS_HOLIDAY_EVERY_YEAR, pattern, sizeof pattern))
        snprintf(pattern, sizeof pattern, "%%1");
    const char* inserts[] = { day };
    fillInserts(pattern, inserts, 1, text, size_t(size));
}

void putHolidayRow(HWND list, int row, uint32_t packedDate, const char* name)
{
    char date[64];
    dateText(packedDate, date, sizeof date);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.pszText = date;
    item.lParam = LPARAM(packedDate);
    if (row == kNewRow) {
        item.iItem = 0;
        row = int(SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&item)));
        if (row < 0)
            return;
    } else {
        item.iItem = row;
        SendMessageA(list, LVM_SETITEMA, 0, LPARAM(&item));
    }
    LVITEMA nameItem = {};
    nameItem.iSubItem = 1;
    nameItem.pszText = const_cast<char*>(name);
    SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), LPARAM(&nameItem));
    ListView_SortItems(list, compareRows, 0);
}

uint32_t getHolidayRow(HWND list, int row, char* name, int size)
{
    LVITEMA nameItem = {};
    nameItem.iSubItem = 1;
    nameItem.pszText = name;
    nameItem.cchTextMax = size;
    name[0] = '\0';
    SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&nameItem));
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
    return uint32_t(item.lParam);
}

// The date column holds the widest short date of the locale: eight "0"s are too narrow for a
// four-digit year with separators.
int dateColumnWidth(HWND list)
{
    const ScopedWindowDc dc(list);
    const ScopedSelection font(dc.get(), HGDIOBJ(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE zero = {}, widest = {};
    GetTextExtentPoint32A(dc.get(), "0", 1, &zero);
    for (uint32_t sampleDate : { packDate(2088, 12, 28), packDate(0, 12, 28) }) {
        char sample[256];
        dateText(sampleDate, sample, sizeof sample);
        SIZE size = {};
        GetTextExtentPoint32A(dc.get(), sample, int(strlen(sample)), &size);
        if (size.cx > widest.cx)
            widest = size;
    }
    const int eightZeros = zero.cx * 8;
    return widest.cx + kCellPadding > eightZeros ? widest.cx + kCellPadding : eightZeros;
}

void addColumns(HWND list)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = dateColumnWidth(list);
    char heading[64];
    languageString(IDS_HOLIDAY_COLUMN_DATE, heading, sizeof heading);
    column.pszText = heading;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, LPARAM(&column));

    // The name column fills the rest, leaving room for the scroll bar of a long list.
    RECT client;
    GetClientRect(list, &client);
    const int rest = client.right - column.cx - GetSystemMetrics(SM_CXVSCROLL);
    column.cx = rest > 0 ? rest : 0;
    languageString(IDS_HOLIDAY_COLUMN_NAME, heading, sizeof heading);
    column.pszText = heading;
    column.iSubItem = 1;
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, LPARAM(&column));
}

HWND holidayList(HWND page) { return GetDlgItem(page, IDC_HOLIDAY_LIST); }

// The holidays table has 32 entries: a full list takes no more. Change and Delete act on the
// selected row, so they wait for one.
void updateButtons(HWND page)
{
    HWND list = holidayList(page);
    const bool selected = ListView_GetNextItem(list, -1, LVNI_SELECTED) >= 0;
    EnableWindow(GetDlgItem(page, IDC_HOLIDAY_ADD), ListView_GetItemCount(list) < kHolidayCount);
    EnableWindow(GetDlgItem(page, IDC_HOLIDAY_CHANGE), selected);
    EnableWindow(GetDlgItem(page, IDC_HOLIDAY_DELETE), selected);
}

uint32_t enteredDate(HWND page)
{
    SYSTEMTIME time;
    if (SendMessageA(GetDlgItem(page, IDC_HOLIDAY_DATE), DTM_GETSYSTEMTIME, 0, LPARAM(&time)) != GDT_VALID)
        GetLocalTime(&time);
    const bool everyYear = IsDlgButtonChecked(page, IDC_HOLIDAY_EVERY_YEAR) == BST_CHECKED;
    return packDate(everyYear ? 0 : time.wYear, time.wMonth, time.wDay);
}

void openPage(HWND page)
{
    HWND list = holidayList(page);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    addColumns(list);
    SendMessageA(GetDlgItem(page, IDC_HOLIDAY_NAME), EM_LIMITTEXT, 255, 0);
    const int count = holidayCount();
    // Every name ends inside its field: loadSettings and storeHolidays see to it.
    for (int i = 0; i < count; ++i)
        putHolidayRow(list, kNewRow, settings.holidays[i].packedDate, settings.holidays[i].name);
    updateButtons(page);
}

void onCommand(HWND page, int id)
{
    HWND list = holidayList(page);
    const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    char name[256];
    switch (id) {
    case IDC_HOLIDAY_ADD:
        if (ListView_GetItemCount(list) >= kHolidayCount)
            return;
        GetDlgItemTextA(page, IDC_HOLIDAY_NAME, name, sizeof name);
        putHolidayRow(list, kNewRow, enteredDate(page), name);
        break;
    case IDC_HOLIDAY_DELETE:
        if (selected >= 0)
            ListView_DeleteItem(list, selected);
        break;
    case IDC_HOLIDAY_CHANGE:
        if (selected >= 0) {
            GetDlgItemTextA(page, IDC_HOLIDAY_NAME, name, sizeof name);
            putHolidayRow(list, selected, enteredDate(page), name);
        }
        break;
    default:
        return;
    }
    updateButtons(page);
}

void onSelect(HWND page, const NMLISTVIEW* change)
{
    if (change->uChanged & LVIF_STATE)
        updateButtons(page);
    if (!(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_SELECTED) || change->iItem < 0)
        return;
    char name[256];
    HolidayDate date = unpackDate(getHolidayRow(holidayList(page), change->iItem, name, sizeof name));
    SetDlgItemTextA(page, IDC_HOLIDAY_NAME, name);
    CheckDlgButton(page, IDC_HOLIDAY_EVERY_YEAR, date.year == 0 ? BST_CHECKED : BST_UNCHECKED);
    SYSTEMTIME time = {};
    if (date.year == 0) {
        // The picker needs a year: this one, or the next that has the day.
        GetLocalTime(&time);
        while (int(date.day) > daysInMonth(time.wYear, WORD(date.month)))
            ++time.wYear;
        date.year = time.wYear;
    }
    time.wYear = WORD(date.year);
    time.wMonth = WORD(date.month);
    time.wDay = WORD(date.day);
    SendMessageA(GetDlgItem(page, IDC_HOLIDAY_DATE), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&time));
}

void apply(HWND page)
{
    HWND list = holidayList(page);
    int count = ListView_GetItemCount(list);
    if (count > kHolidayCount)
        count = kHolidayCount;
    Holiday rows[kHolidayCount] = {};
    for (int i = 0; i < count; ++i)
        rows[i].packedDate = getHolidayRow(list, i, rows[i].name, sizeof rows[i].name);
    storeHolidays(rows, count);
}

} // namespace

INT_PTR CALLBACK holidaysPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        openPage(page);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            onCommand(page, LOWORD(wParam));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (isApplyNotification(lParam)) {
            apply(page);
            return acceptApply(page);
        }
        if (header->idFrom == IDC_HOLIDAY_LIST && header->code == LVN_ITEMCHANGED)
            onSelect(page, reinterpret_cast<const NMLISTVIEW*>(lParam));
        return 0;
    }
    }
    return 0;
}
