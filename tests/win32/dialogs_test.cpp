// The options sheet and its pages, driven through their real controls under Wine.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cctype>
#include <cstring>
#include <string>
#include <utility>

#include "core/language.h"
#include "lang/ids.h"
#include "skin/pngresource.h"
#include "skin/tooltip.h"
#include "tariff/alerts.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/numberfield_win.h"
#include "ui/dialogs/optionspages.h"
#include "ui/optionsloop.h"
#include "win32/support/dialogsupport.h"

namespace {

std::string digitsOf(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

// Whether a control shows nothing but its background in the left part of its client area
// (the right holds a date picker's arrows), read from the screen.
bool showsNoText(HWND control)
{
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    const COLORREF background = GetPixel(dc, 3, client.bottom / 2);
    bool blank = true;
    for (int y = 3; y < client.bottom - 3 && blank; ++y)
        for (int x = 3; x < client.right * 3 / 5 && blank; ++x)
            blank = GetPixel(dc, x, y) == background;
    ReleaseDC(control, dc);
    return blank;
}

// The warning balloon that shows, whoever draws it: the control it points at and its text.
struct ShownBalloon {
    HWND control = nullptr;
    std::string text;
};

BOOL CALLBACK findBalloon(HWND window, LPARAM found)
{
    char className[32];
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, TOOLTIPS_CLASSA) != 0 || !IsWindowVisible(window)
        || !(GetWindowLongA(window, GWL_STYLE) & TTS_BALLOON))
        return TRUE;
    auto* balloon = reinterpret_cast<ShownBalloon*>(found);
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    if (SendMessageA(window, TTM_ENUMTOOLSA, 0, LPARAM(&tool)))
        balloon->control = HWND(tool.uId);
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    balloon->text = text;
    return FALSE;
}

ShownBalloon shownBalloon()
{
    ShownBalloon balloon;
    EnumThreadWindows(GetCurrentThreadId(), findBalloon, LPARAM(&balloon));
    return balloon;
}

Rate* addRate(const char* name)
{
    Rate* rate = new Rate {};
    strcpy(rate->name, name);
    strcpy(rate->precision, "2");
    TariffTable[tariffCount()] = rate;
    return rate;
}

std::string languageText(UINT id)
{
    char text[1024];
    loadLanguageText(id, text, sizeof text);
    return text;
}

class OptionsSheet : public testing::Test {
protected:
    static void SetUpTestSuite() { prepareDialogTests(); }

    void SetUp() override
    {
        ASSERT_NE(LanguageModule, nullptr);
        freeTariffs();
        memset(&settings, 0, sizeof settings);
        settings.updateIntervalMs = 500;
    }
    void TearDown() override
    {
        hideFieldBalloon();
        if (sheet)
            DestroyWindow(sheet);
        pumpMessages(nullptr);
        freeTariffs();
    }

    void open(int pageIndex = 0)
    {
        sheet = createOptionsSheet(nullptr);
        ASSERT_NE(sheet, nullptr);
        if (pageIndex)
            PropSheet_SetCurSel(sheet, nullptr, pageIndex);
        pumpMessages(sheet);
        page = PropSheet_GetCurrentPageHwnd(sheet);
        ASSERT_NE(page, nullptr);
    }
    // Closes the sheet with OK or Cancel the way its buttons do.
    void close(int button)
    {
        PropSheet_PressButton(sheet, button);
        pumpMessages(sheet);
        EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet), nullptr);
        DestroyWindow(sheet);
        sheet = page = nullptr;
    }

    HWND item(int id) { return GetDlgItem(page, id); }
    std::string text(int id)
    {
        char buffer[1024];
        GetWindowTextA(item(id), buffer, sizeof buffer);
        return buffer;
    }
    void type(int id, const char* value) { SetWindowTextA(item(id), value); }
    void click(int id)
    {
        SendMessageA(item(id), BM_CLICK, 0, 0);
        pumpMessages(sheet);
    }
    void choose(int id, int index)
    {
        SendMessageA(item(id), CB_SETCURSEL, index, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(item(id)));
    }
    void leave(int id) { SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), LPARAM(item(id))); }
    int selection(int id) { return int(SendMessageA(item(id), CB_GETCURSEL, 0, 0)); }
    // A key as the keyboard sends it to the control with the focus, through the sheet's keys.
    void press(int id, WPARAM key)
    {
        SetFocus(item(id));
        PostMessageA(item(id), WM_KEYDOWN, key, 1);
        if (key == VK_RETURN)
            PostMessageA(item(id), WM_CHAR, '\r', 1);
        PostMessageA(item(id), WM_KEYUP, key, 0xC0000001);
        pumpMessages(sheet);
    }
    bool isOpen() { return sheet != nullptr && PropSheet_GetCurrentPageHwnd(sheet) != nullptr; }
    // Presses OK where the sheet may stay open.
    void pressOk()
    {
        PropSheet_PressButton(sheet, PSBTN_OK);
        pumpMessages(sheet);
    }

    HWND sheet = nullptr;
    HWND page = nullptr;
};

// --- Tariff page ---------------------------------------------------------------------------

TEST_F(OptionsSheet, EmptyTableDisablesTheEditorUntilAdd)
{
    open();
    for (int id : { IDC_TARIFF_LIST, IDC_TARIFF_DELETE, IDC_TARIFF_TIME_BEGIN, IDC_TARIFF_MONDAY, IDC_TARIFF_PRECISION,
             IDC_TARIFF_UNIT, IDC_TARIFF_AMOUNT_FIRST, IDC_TARIFF_COST_FIRST, IDC_TARIFF_COST_LAST })
        EXPECT_FALSE(IsWindowEnabled(item(id))) << id;
    for (int id = IDC_TARIFF_AMOUNT_FIRST; id <= IDC_TARIFF_COST_LABEL_LAST; ++id)
        EXPECT_EQ(text(id), "") << id;
    for (int id : { IDC_TARIFF_TIME_BEGIN, IDC_TARIFF_TIME_END })
        EXPECT_TRUE(showsNoText(item(id))) << id; // not the clock's time
    EXPECT_TRUE(IsWindowEnabled(item(IDC_TARIFF_ADD)));

    type(IDC_TARIFF_NEW_NAME, "Evening");
    click(IDC_TARIFF_ADD);
    ASSERT_EQ(tariffCount(), 1);
    EXPECT_STREQ(TariffTable[0]->name, "Evening");
    for (int id : { IDC_TARIFF_LIST, IDC_TARIFF_DELETE, IDC_TARIFF_PRECISION, IDC_TARIFF_UNIT, IDC_TARIFF_COST_LAST })
        EXPECT_TRUE(IsWindowEnabled(item(id))) << id;
    EXPECT_EQ(text(IDC_TARIFF_NEW_NAME), "");
    EXPECT_FALSE(showsNoText(item(IDC_TARIFF_TIME_BEGIN)));
    EXPECT_EQ(selection(IDC_TARIFF_LIST), 0);
    EXPECT_EQ(selection(IDC_TARIFF_UNIT), 0);
    EXPECT_EQ(text(IDC_TARIFF_PRECISION), "2");
    for (int id = IDC_TARIFF_COST_FIRST; id <= IDC_TARIFF_COST_LAST; ++id)
        EXPECT_EQ(digitsOf(text(id)), "000") << id; // 0.00 in the locale's money format
    for (int id = IDC_TARIFF_AMOUNT_FIRST; id <= IDC_TARIFF_AMOUNT_LAST; ++id)
        EXPECT_EQ(text(id), "0") << id;

    close(PSBTN_OK);
    EXPECT_EQ(settings.activeTariff, 0);
    EXPECT_STREQ(TariffTable[0]->precision, "2");
    EXPECT_EQ(TariffTable[0]->unit, 0);
}

TEST_F(OptionsSheet, EditsAreStoredOnOkAndWhenAnotherTariffIsChosen)
{
    addRate("Day");
    addRate("Night");
    settings.activeTariff = 1;
    open();
    EXPECT_EQ(selection(IDC_TARIFF_LIST), 1);

    choose(IDC_TARIFF_UNIT, 4);
    type(IDC_TARIFF_AMOUNT_FIRST, "30");
    type(IDC_TARIFF_AMOUNT_FIRST + 1, "not a number");
    type(IDC_TARIFF_COST_FIRST + 1, "0,05");
    click(IDC_TARIFF_SATURDAY);
    click(IDC_TARIFF_HOLIDAYS);
    EXPECT_EQ(text(IDC_TARIFF_BILLING_DAY), "1"); // a tariff without a billing day
    type(IDC_TARIFF_BILLING_DAY, "15");
    SYSTEMTIME time = {};
    GetLocalTime(&time);
    time.wHour = 18, time.wMinute = 30, time.wSecond = 15;
    SendMessageA(item(IDC_TARIFF_TIME_BEGIN), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&time));
    // A field that holds no number keeps Night on the page, as it was, until it is mended.
    choose(IDC_TARIFF_LIST, 0);
    EXPECT_EQ(selection(IDC_TARIFF_LIST), 1);
    EXPECT_EQ(TariffTable[1]->unit, 0);
    EXPECT_EQ(text(IDC_TARIFF_AMOUNT_FIRST + 1), "not a number");
    EXPECT_EQ(shownBalloon().control, item(IDC_TARIFF_AMOUNT_FIRST + 1));
    EXPECT_EQ(GetFocus(), item(IDC_TARIFF_AMOUNT_FIRST + 1));
    type(IDC_TARIFF_AMOUNT_FIRST + 1, "0");
    choose(IDC_TARIFF_LIST, 0); // leaving Night stores it at once
    const Rate* night = TariffTable[1];
    EXPECT_EQ(night->unit, 4);
    EXPECT_EQ(night->amount[0], 30u);
    EXPECT_EQ(night->amount[1], 0u);
    EXPECT_DOUBLE_EQ(night->cost[1], 0.05);
    EXPECT_EQ(night->ldays, (1u << 5) | (1u << 7));
    EXPECT_EQ(night->ltimeb, 18 * 3600 + 30 * 60 + 15);
    EXPECT_EQ(night->billingDay, 15u);

    choose(IDC_TARIFF_LIST, 1); // and coming back shows what was stored
    EXPECT_EQ(selection(IDC_TARIFF_UNIT), 4);
    EXPECT_EQ(text(IDC_TARIFF_AMOUNT_FIRST), "30");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_TARIFF_SATURDAY), UINT(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_TARIFF_SUNDAY), UINT(BST_UNCHECKED));
    EXPECT_EQ(text(IDC_TARIFF_BILLING_DAY), "15");
    // A day that not every month has is refused with a word, not turned into another one.
    type(IDC_TARIFF_BILLING_DAY, "31");
    choose(IDC_TARIFF_LIST, 0);
    EXPECT_EQ(selection(IDC_TARIFF_LIST), 1);
    EXPECT_EQ(shownBalloon().control, item(IDC_TARIFF_BILLING_DAY));
    EXPECT_EQ(TariffTable[1]->billingDay, 15u);
    type(IDC_TARIFF_BILLING_DAY, "28");
    choose(IDC_TARIFF_LIST, 0);
    EXPECT_EQ(TariffTable[1]->billingDay, 28u);
    close(PSBTN_OK);
    EXPECT_EQ(settings.activeTariff, 0);
}

TEST_F(OptionsSheet, DeletingTariffs)
{
    addRate("A");
    addRate("B");
    addRate("C");
    settings.activeTariff = 2;
    open();
    choose(IDC_TARIFF_LIST, 0);
    click(IDC_TARIFF_DELETE); // tariff 0 of several: index 0 stays, the former second shows
    ASSERT_EQ(tariffCount(), 2);
    EXPECT_STREQ(TariffTable[0]->name, "B");
    EXPECT_STREQ(tariffAt(settings.activeTariff)->name, "C"); // the month is still priced by C
    EXPECT_EQ(selection(IDC_TARIFF_LIST), 0);
    EXPECT_EQ(SendMessageA(item(IDC_TARIFF_LIST), CB_GETCOUNT, 0, 0), 2);
    char shown[256];
    SendMessageA(item(IDC_TARIFF_LIST), CB_GETLBTEXT, 0, LPARAM(shown));
    EXPECT_STREQ(shown, "B");

    choose(IDC_TARIFF_LIST, 1);
    click(IDC_TARIFF_DELETE); // the previous one becomes the tariff edited
    EXPECT_EQ(selection(IDC_TARIFF_LIST), 0);
    click(IDC_TARIFF_DELETE); // the only one: the editor is disabled again
    EXPECT_EQ(tariffCount(), 0);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_TARIFF_LIST)));
    EXPECT_FALSE(IsWindowEnabled(item(IDC_TARIFF_COST_FIRST)));
    EXPECT_EQ(text(IDC_TARIFF_COST_FIRST), "");

    close(PSBTN_CANCEL); // deletions take effect at once, and the number follows them
    EXPECT_EQ(settings.activeTariff, 0);
}

// Prices show every place they carry, up to six; the tariff's places are for totals only.
TEST_F(OptionsSheet, PricesShowEveryPlaceAndChangeOnlyWhereTyped)
{
    Rate* rate = addRate("T");
    const double prices[7] = { 9.95, 0.005, 1.4999, 0.0123, 0.000001, 123456.789, 0.1 };
    memcpy(rate->cost, prices, sizeof prices);
    const Rate before = *rate;
    open();
    const char* shown[7] = { "995", "0005", "14999", "00123", "0000001", "123456789", "010" };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(digitsOf(text(IDC_TARIFF_COST_FIRST + i)), shown[i]) << i;
    close(PSBTN_OK);
    EXPECT_EQ(memcmp(rate, &before, sizeof before), 0); // OK without edits changes nothing

    // The places field, key by key: the prices stay as they are.
    open();
    const int field = IDC_TARIFF_COST_FIRST + 2;
    for (const char* places : { "", "4", "", "0" })
        type(IDC_TARIFF_PRECISION, places);
    EXPECT_EQ(digitsOf(text(field)), "14999");
    EXPECT_EQ(digitsOf(text(IDC_TARIFF_COST_FIRST + 1)), "0005");

    // A price typed in is taken as typed, and shown as the locale writes it once left.
    type(IDC_TARIFF_PRECISION, "3");
    type(field, "0,0123");
    leave(field);
    EXPECT_EQ(digitsOf(text(field)), "00123");
    close(PSBTN_OK);
    EXPECT_DOUBLE_EQ(rate->cost[2], 0.0123);
    EXPECT_STREQ(rate->precision, "3");
    for (int i = 0; i < 7; ++i) {
        if (i != 2) {
            EXPECT_EQ(rate->cost[i], prices[i]) << i;
        }
    }
}

// What a newcomer typed was silently turned into other numbers: now each field keeps the text,
// a balloon on it says what is wanted with the range, and OK or another page waits.
TEST_F(OptionsSheet, NumbersAFieldCannotTakeAreRefusedNotRewritten)
{
    resetAlerts();
    const struct {
        int page;
        int field;
        const char* typed;
        const char* wantedDigits; // the range the balloon names, as digits
    } cases[] = {
        { 0, IDC_TARIFF_COST_FIRST + 1, "12ab34", "000100000000000" }, // 0.00 to 1,000,000,000.00
        { 0, IDC_TARIFF_COST_FIRST + 1, "-0.02", "000100000000000" },
        { 0, IDC_TARIFF_COST_FIRST + 3, "1e3", "000100000000000" },
        { 0, IDC_TARIFF_COST_FIRST + 3, "0.0000001", "000100000000000" },
        { 0, IDC_TARIFF_AMOUNT_FIRST + 2, "5000000000", "01000000000" },
        { 0, IDC_TARIFF_PRECISION, "9", "06" },
        { 0, IDC_TARIFF_BILLING_DAY, "29", "128" }, // a month has no 29th every year
        { 0, IDC_TARIFF_BILLING_DAY, "0", "128" },
        { 2, IDC_VOLUME_CORRECTION, "-50abc", "00010000" },
        { 2, IDC_UPDATE_INTERVAL, "5", "10060000" },
        { 3, IDC_ALERT_USAGE1, "250", "1100" },
        { 3, IDC_ALERT_LIMIT, "12ab34", "000100000000000" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        addRate("T");
        settings.updateIntervalMs = 500;
        alerts.limitOn = c.field == IDC_ALERT_LIMIT;
        const Rate before = *TariffTable[0];
        open(c.page);
        type(c.field, c.typed);
        pressOk();
        ASSERT_TRUE(isOpen());
        EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet), page); // still on the page
        EXPECT_EQ(text(c.field), c.typed); // as typed
        const ShownBalloon balloon = shownBalloon();
        EXPECT_EQ(balloon.control, item(c.field));
        EXPECT_NE(digitsOf(balloon.text).find(c.wantedDigits), std::string::npos) << balloon.text;
        // Another page waits as well.
        PropSheet_SetCurSel(sheet, nullptr, c.page == 0 ? 1 : 0);
        pumpMessages(sheet);
        EXPECT_EQ(PropSheet_GetCurrentPageHwnd(sheet), page);
        close(PSBTN_CANCEL);
        EXPECT_EQ(memcmp(TariffTable[0], &before, sizeof before), 0);
        EXPECT_EQ(settings.updateIntervalMs, 500u);
        EXPECT_EQ(alerts.usagePercent[0], 80u);
        freeTariffs();
    }
    resetAlerts();
}

// A step of length 0 handed over to a price of 0 makes the usage free: the description says so
// as the user types, and OK asks first, with the way back.
TEST_F(OptionsSheet, TheDescriptionFollowsTheFieldsAndOkAsksAboutFreeUsage)
{
    addRate("First");
    open();
    type(IDC_TARIFF_COST_FIRST, "9.95");
    std::string description = text(IDC_TARIFF_DESCRIPTION);
    EXPECT_NE(digitsOf(description).find("995"), std::string::npos) << description; // the month with its fee
    type(IDC_TARIFF_AMOUNT_FIRST, "5000");
    type(IDC_TARIFF_COST_FIRST + 1, "0.005");
    description = text(IDC_TARIFF_DESCRIPTION);
    char pattern[512];
    loadLanguageText(IDS_TARIFF_FREE_BEYOND, pattern, sizeof pattern);
    const std::string warning(pattern, strstr(pattern, "%1"));
    EXPECT_NE(description.find(warning), std::string::npos) << description;
    EXPECT_NE(digitsOf(description).find("5000"), std::string::npos) << description;

    type(IDC_TARIFF_AMOUNT_FIRST + 2, "x");
    EXPECT_EQ(text(IDC_TARIFF_DESCRIPTION), languageText(IDS_TARIFF_DESCRIBE_WAITING));
    type(IDC_TARIFF_AMOUNT_FIRST + 2, "0");

    {
        DialogCloser closer(IDNO); // go back
        pressOk();
        EXPECT_EQ(closer.closedCount(), 1);
    }
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(TariffTable[0]->amount[0], 0u); // nothing stored yet
    EXPECT_EQ(GetFocus(), item(IDC_TARIFF_AMOUNT_FIRST + 2)); // the length that skips price 1

    // With a price for the usage beyond, nothing costs nothing.
    type(IDC_TARIFF_COST_FIRST + 5, "0.004");
    EXPECT_EQ(text(IDC_TARIFF_DESCRIPTION).find(warning), std::string::npos);
    type(IDC_TARIFF_COST_FIRST + 5, "0");
    {
        DialogCloser closer(IDYES); // keep it as it is
        close(PSBTN_OK);
        EXPECT_EQ(closer.closedCount(), 1);
    }
    EXPECT_EQ(TariffTable[0]->amount[0], 5000u);
    EXPECT_DOUBLE_EQ(TariffTable[0]->cost[1], 0.005);
}

// Enter in the name of a new tariff or holiday adds it; elsewhere it is the sheet's OK.
TEST_F(OptionsSheet, EnterAddsFromTheNameFieldsAndIsOkElsewhere)
{
    open();
    type(IDC_TARIFF_NEW_NAME, "Evening");
    press(IDC_TARIFF_NEW_NAME, VK_RETURN);
    ASSERT_TRUE(isOpen());
    ASSERT_EQ(tariffCount(), 1);
    EXPECT_STREQ(TariffTable[0]->name, "Evening");
    EXPECT_EQ(text(IDC_TARIFF_NEW_NAME), "");

    PropSheet_SetCurSel(sheet, nullptr, 1);
    pumpMessages(sheet);
    page = PropSheet_GetCurrentPageHwnd(sheet);
    type(IDC_HOLIDAY_NAME, "Boxing Day");
    press(IDC_HOLIDAY_NAME, VK_RETURN);
    ASSERT_TRUE(isOpen());
    EXPECT_EQ(ListView_GetItemCount(item(IDC_HOLIDAY_LIST)), 1);

    press(IDC_HOLIDAY_DATE, VK_RETURN); // the sheet's OK
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(holidayCount(), 1);
    EXPECT_STREQ(settings.holidays[0].name, "Boxing Day");
    DestroyWindow(sheet);
    sheet = page = nullptr;
}

TEST_F(OptionsSheet, UnitChoiceRelabelsTheFields)
{
    addRate("T");
    open();
    char unitName[6][256], costFormat[256], timeFormat[256];
    // The language module's template texts: the unit names and the two label formats.
    HWND templatePage = CreateDialogParamA(
        LanguageModule, MAKEINTRESOURCEA(IDD_OPTIONS_TARIFFS), sheet,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; }, 0);
    ASSERT_NE(templatePage, nullptr);
    for (int i = 0; i < 6; ++i)
        GetDlgItemTextA(templatePage, IDC_TARIFF_COST_LABEL_FIRST + i, unitName[i], 256);
    GetDlgItemTextA(templatePage, IDC_TARIFF_COST_LABEL_FORMAT, costFormat, 256);
    GetDlgItemTextA(templatePage, IDC_TARIFF_TIME_LABEL_FORMAT, timeFormat, 256);
    DestroyWindow(templatePage);
    ASSERT_NE(strstr(costFormat, "%s"), nullptr);
    ASSERT_NE(strstr(timeFormat, "%s"), nullptr);

    for (int unit : { 1, 4 }) {
        choose(IDC_TARIFF_UNIT, unit);
        char expectedAmount[512], expectedCost[512];
        if (unit >= 3)
            snprintf(expectedAmount, sizeof expectedAmount, timeFormat, unitName[unit]);
        else
            snprintf(expectedAmount, sizeof expectedAmount, "%s", unitName[unit]);
        snprintf(expectedCost, sizeof expectedCost, costFormat, unitName[unit]);
        for (int id = IDC_TARIFF_AMOUNT_LABEL_FIRST; id <= IDC_TARIFF_AMOUNT_LABEL_LAST; ++id)
            EXPECT_EQ(text(id), expectedAmount) << unit << " " << id;
        for (int id = IDC_TARIFF_COST_LABEL_FIRST; id <= IDC_TARIFF_COST_LABEL_LAST; ++id)
            EXPECT_EQ(text(id), expectedCost) << unit << " " << id;
    }
}

TEST_F(OptionsSheet, AddIsRefusedForAFullTableAndForANameWithLessThan)
{
    for (int i = 0; i < kTariffSlots - 1; ++i)
        addRate("x");
    open();
    EXPECT_TRUE(IsWindowEnabled(item(IDC_TARIFF_ADD)));

    DialogCloser closer; // answers the message box that refuses the name
    type(IDC_TARIFF_NEW_NAME, "a<b");
    click(IDC_TARIFF_ADD);
    EXPECT_EQ(closer.closedCount(), 1);
    EXPECT_EQ(closer.lastText(), languageText(IDS_TARIFF_NAME_REFUSED));
    EXPECT_FALSE(closer.lastText().empty());
    EXPECT_EQ(tariffCount(), kTariffSlots - 1);

    type(IDC_TARIFF_NEW_NAME, "last");
    click(IDC_TARIFF_ADD);
    EXPECT_EQ(tariffCount(), kTariffSlots);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_TARIFF_ADD)));
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_TARIFF_ADD, BN_CLICKED), LPARAM(item(IDC_TARIFF_ADD)));
    EXPECT_EQ(tariffCount(), kTariffSlots);
    click(IDC_TARIFF_DELETE);
    EXPECT_TRUE(IsWindowEnabled(item(IDC_TARIFF_ADD)));
}

// --- Holidays page -------------------------------------------------------------------------

uint32_t rowDate(HWND list, int row)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageA(list, LVM_GETITEMA, 0, LPARAM(&item));
    return uint32_t(item.lParam);
}

std::string rowName(HWND list, int row)
{
    char name[256] = "";
    LVITEMA item = {};
    item.iSubItem = 1;
    item.pszText = name;
    item.cchTextMax = sizeof name;
    SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), LPARAM(&item));
    return name;
}

void selectRow(HWND list, int row)
{
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(OptionsSheet, HolidaysAreListedByDateAndWrittenBackOnOk)
{
    const struct {
        const char* name;
        uint32_t date;
    } entered[] = { { "Boxing Day", packDate(2003, 12, 26) }, { "New Year", packDate(2003, 1, 1) },
        { "", packDate(2003, 12, 24) } };
    for (int i = 0; i < 3; ++i) {
        strcpy(settings.holidays[i].name, entered[i].name);
        settings.holidays[i].packedDate = entered[i].date;
    }
    strcpy(settings.holidays[4].name, "after the end");
    settings.holidays[4].packedDate = packDate(2003, 5, 1);
    open(1);
    HWND list = item(IDC_HOLIDAY_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    EXPECT_EQ(rowDate(list, 0), packDate(2003, 1, 1));
    EXPECT_EQ(rowDate(list, 1), packDate(2003, 12, 24));
    EXPECT_EQ(rowDate(list, 2), packDate(2003, 12, 26));
    EXPECT_EQ(rowName(list, 0), "New Year");
    char dateText[64];
    ListView_GetItemText(list, 2, 0, dateText, sizeof dateText);
    EXPECT_NE(digitsOf(dateText).find("26"), std::string::npos);

    selectRow(list, 2); // selecting fills the fields
    EXPECT_EQ(text(IDC_HOLIDAY_NAME), "Boxing Day");
    SYSTEMTIME date = {};
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_GETSYSTEMTIME, 0, LPARAM(&date));
    EXPECT_EQ(date.wYear, 2003);
    EXPECT_EQ(date.wMonth, 12);
    EXPECT_EQ(date.wDay, 26);

    click(IDC_HOLIDAY_DELETE); // the last of three
    close(PSBTN_OK);
    EXPECT_EQ(settings.holidays[0].packedDate, packDate(2003, 1, 1));
    EXPECT_STREQ(settings.holidays[0].name, "New Year");
    EXPECT_EQ(settings.holidays[1].packedDate, packDate(2003, 12, 24));
    EXPECT_STREQ(settings.holidays[1].name, "");
    EXPECT_EQ(settings.holidays[2].packedDate, 0u);
    EXPECT_EQ(holidayCount(), 2);
}

TEST_F(OptionsSheet, HolidayAddAndChangeKeepTheOrderAndCancelDiscards)
{
    settings.holidays[0].packedDate = packDate(2004, 6, 1);
    strcpy(settings.holidays[0].name, "June");
    open(1);
    HWND list = item(IDC_HOLIDAY_LIST);
    SYSTEMTIME date = {};
    date.wYear = 2004, date.wMonth = 3, date.wDay = 9;
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&date));
    type(IDC_HOLIDAY_NAME, "March");
    click(IDC_HOLIDAY_ADD);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(rowName(list, 0), "March");

    selectRow(list, 0); // change March to a date after June: it moves down
    date.wMonth = 9;
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&date));
    type(IDC_HOLIDAY_NAME, "September");
    click(IDC_HOLIDAY_CHANGE);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(rowName(list, 0), "June");
    EXPECT_EQ(rowName(list, 1), "September");
    EXPECT_EQ(rowDate(list, 1), packDate(2004, 9, 9));

    // A day is listed once: its date again is refused with a word, on Add and on Change.
    date.wMonth = 6, date.wDay = 1;
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&date));
    type(IDC_HOLIDAY_NAME, "June again");
    click(IDC_HOLIDAY_ADD);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    const ShownBalloon balloon = shownBalloon();
    EXPECT_EQ(balloon.control, item(IDC_HOLIDAY_DATE));
    EXPECT_NE(digitsOf(balloon.text).find("2004"), std::string::npos) << balloon.text;
    selectRow(list, 1);
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&date));
    click(IDC_HOLIDAY_CHANGE);
    EXPECT_EQ(rowName(list, 1), "September");
    EXPECT_EQ(rowDate(list, 1), packDate(2004, 9, 9));

    close(PSBTN_CANCEL);
    EXPECT_EQ(holidayCount(), 1);
    EXPECT_STREQ(settings.holidays[0].name, "June");
}

// Change and Delete need a selected row; a holiday of every year is kept with year 0 and shown
// without a year.
TEST_F(OptionsSheet, HolidayButtonsFollowTheSelectionAndAHolidayOfEveryYearHasNoYear)
{
    settings.holidays[0].packedDate = packDate(2004, 6, 1);
    strcpy(settings.holidays[0].name, "June");
    open(1);
    HWND list = item(IDC_HOLIDAY_LIST);
    char heading[64] = "";
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    column.cchTextMax = sizeof heading;
    ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, 0, LPARAM(&column)));
    EXPECT_EQ(std::string(heading), languageText(IDS_HOLIDAY_COLUMN_DATE));
    EXPECT_FALSE(IsWindowEnabled(item(IDC_HOLIDAY_CHANGE)));
    EXPECT_FALSE(IsWindowEnabled(item(IDC_HOLIDAY_DELETE)));

    SYSTEMTIME date = {};
    date.wYear = 2004, date.wMonth = 5, date.wDay = 1;
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&date));
    type(IDC_HOLIDAY_NAME, "Labour Day");
    click(IDC_HOLIDAY_EVERY_YEAR);
    click(IDC_HOLIDAY_ADD);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(rowDate(list, 0), packDate(0, 5, 1)); // year 0 comes first
    char dateText[256];
    ListView_GetItemText(list, 0, 0, dateText, sizeof dateText);
    EXPECT_EQ(digitsOf(dateText).find("200"), std::string::npos) << dateText; // day and month, no year
    EXPECT_NE(std::string(dateText).find('5'), std::string::npos) << dateText;

    selectRow(list, 1);
    EXPECT_TRUE(IsWindowEnabled(item(IDC_HOLIDAY_CHANGE)));
    EXPECT_TRUE(IsWindowEnabled(item(IDC_HOLIDAY_DELETE)));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_HOLIDAY_EVERY_YEAR), BST_UNCHECKED);
    selectRow(list, 0);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_HOLIDAY_EVERY_YEAR), BST_CHECKED);
    SendMessageA(item(IDC_HOLIDAY_DATE), DTM_GETSYSTEMTIME, 0, LPARAM(&date));
    EXPECT_EQ(date.wMonth, 5);
    EXPECT_EQ(date.wDay, 1);
    selectRow(list, 1);
    click(IDC_HOLIDAY_DELETE); // June goes, and nothing is selected any more
    EXPECT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_HOLIDAY_CHANGE)));
    EXPECT_FALSE(IsWindowEnabled(item(IDC_HOLIDAY_DELETE)));

    close(PSBTN_OK);
    EXPECT_EQ(holidayCount(), 1);
    EXPECT_EQ(settings.holidays[0].packedDate, packDate(0, 5, 1));
    EXPECT_STREQ(settings.holidays[0].name, "Labour Day");
}

TEST_F(OptionsSheet, HolidayListTakesNoMoreThanTheTable)
{
    for (int i = 0; i < kHolidayCount - 1; ++i)
        settings.holidays[i].packedDate = packDate(2005, 1, 1) + uint32_t(i);
    open(1);
    HWND list = item(IDC_HOLIDAY_LIST);
    EXPECT_TRUE(IsWindowEnabled(item(IDC_HOLIDAY_ADD)));
    click(IDC_HOLIDAY_ADD);
    EXPECT_EQ(ListView_GetItemCount(list), kHolidayCount);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_HOLIDAY_ADD)));
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_HOLIDAY_ADD, BN_CLICKED), LPARAM(item(IDC_HOLIDAY_ADD)));
    EXPECT_EQ(ListView_GetItemCount(list), kHolidayCount);
    close(PSBTN_OK);
    EXPECT_EQ(holidayCount(), kHolidayCount);
    EXPECT_EQ(settings.updateIntervalMs, 500u); // nothing written past the table
}

// --- General page --------------------------------------------------------------------------

TEST_F(OptionsSheet, GeneralPageReadsCorrectionWithEitherDecimalMark)
{
    for (const char* typed : { "0,29", "0.29" }) {
        settings.volumeCorrection = 0;
        open(2);
        type(IDC_UPDATE_INTERVAL, "750");
        type(IDC_VOLUME_CORRECTION, typed);
        close(PSBTN_OK);
        EXPECT_EQ(settings.volumeCorrection, 29u) << typed;
        EXPECT_EQ(settings.updateIntervalMs, 750u);
    }
    open(2); // and shows it again with two decimals
    EXPECT_EQ(digitsOf(text(IDC_VOLUME_CORRECTION)), "029");
    EXPECT_EQ(text(IDC_UPDATE_INTERVAL), "750");
    close(PSBTN_CANCEL);
}

TEST_F(OptionsSheet, OnTopWhileOnlineFollowsAlwaysOnTop)
{
    settings.alwaysOnTop = 1;
    settings.onTopWhileOnline = 1;
    open(2);
    EXPECT_TRUE(IsWindowEnabled(item(IDC_ON_TOP_WHILE_ONLINE)));
    click(IDC_ALWAYS_ON_TOP);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_ON_TOP_WHILE_ONLINE)));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_ON_TOP_WHILE_ONLINE), UINT(BST_CHECKED));
    click(IDC_START_HIDDEN);
    close(PSBTN_OK);
    EXPECT_EQ(settings.alwaysOnTop, 0);
    EXPECT_EQ(settings.onTopWhileOnline, 1);
    EXPECT_EQ(settings.startHidden, 1);

    settings.alwaysOnTop = 0;
    open(2);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_ON_TOP_WHILE_ONLINE)));
    close(PSBTN_CANCEL);
}

// The user's Run key as the test found it, put back however the test ends: a value left behind
// would start the test program with the next Wine session.
class RunValue {
public:
    RunValue() { saved = read(&existed); }
    ~RunValue() { existed ? write(saved) : erase(); }

    static std::string read(bool* exists = nullptr)
    {
        char value[1024] = "";
        DWORD size = sizeof value;
        const bool found = RegGetValueA(HKEY_CURRENT_USER, kRunKey, "telvane", RRF_RT_REG_SZ, nullptr, value, &size)
            == ERROR_SUCCESS;
        if (exists != nullptr)
            *exists = found;
        return found ? value : "(none)";
    }
    static void write(const std::string& value)
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, kRunKey, "telvane", REG_SZ, value.c_str(), DWORD(value.size() + 1));
    }
    static void erase() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "telvane"); }

private:
    static constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    std::string saved;
    bool existed = false;
};

TEST_F(OptionsSheet, StartWithWindowsShowsAndSetsTheRunValue)
{
    const RunValue restore;
    char own[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, own, sizeof own), 0u);
    const std::string quoted = std::string("\"") + own + "\"";
    std::string shouting = own;
    for (char& c : shouting)
        c = char(toupper(static_cast<unsigned char>(c)));
    const std::string other = "\"C:\\Tools\\telvane\\telvane.exe\"";

    struct Case {
        const char* what;
        const char* before; // nullptr: no value
        bool shownTicked;
        bool click;
        const char* after; // nullptr: no value
    };
    const Case cases[] = {
        { "no value: unticked; ticking sets the quoted path", nullptr, false, true, quoted.c_str() },
        { "the quoted path: ticked; unticking deletes it", quoted.c_str(), true, true, nullptr },
        { "the path unquoted in other letter case: ticked, kept", shouting.c_str(), true, false, shouting.c_str() },
        { "another copy's value: unticked, and left to it", other.c_str(), false, false, other.c_str() },
        { "another copy's value: ticking makes it this program's", other.c_str(), false, true, quoted.c_str() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.before != nullptr ? RunValue::write(c.before) : RunValue::erase();
        open(2);
        EXPECT_EQ(IsDlgButtonChecked(page, IDC_START_WITH_WINDOWS), UINT(c.shownTicked ? BST_CHECKED : BST_UNCHECKED));
        if (c.click)
            click(IDC_START_WITH_WINDOWS);
        close(PSBTN_OK);
        EXPECT_EQ(RunValue::read(), c.after != nullptr ? c.after : "(none)");
    }

    // Cancel changes nothing.
    RunValue::erase();
    open(2);
    click(IDC_START_WITH_WINDOWS);
    close(PSBTN_CANCEL);
    EXPECT_EQ(RunValue::read(), "(none)");
}

TEST_F(OptionsSheet, PagesNeverShownChangeNothing)
{
    settings.volumeCorrection = 1234;
    settings.holidays[0].packedDate = packDate(2004, 1, 1);
    open();
    close(PSBTN_OK);
    EXPECT_EQ(settings.volumeCorrection, 1234u);
    EXPECT_EQ(holidayCount(), 1);
}

// --- Alerts page ---------------------------------------------------------------------------

TEST_F(OptionsSheet, AlertsPageShowsTheAlertsAndStoresThemOnOk)
{
    resetAlerts();
    alerts.limit = 12.345;
    open(3);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_ALERT_USAGE1_ON), UINT(BST_CHECKED));
    EXPECT_EQ(text(IDC_ALERT_USAGE1), "80");
    EXPECT_EQ(text(IDC_ALERT_USAGE2), "100");
    EXPECT_EQ(digitsOf(text(IDC_ALERT_LIMIT)), "1235"); // shown at the currency's two places
    // The limit and its hang-up take input only while the limit is ticked.
    EXPECT_FALSE(IsWindowEnabled(item(IDC_ALERT_LIMIT)));
    EXPECT_FALSE(IsWindowEnabled(item(IDC_ALERT_HANG_UP)));
    click(IDC_ALERT_LIMIT_ON);
    EXPECT_TRUE(IsWindowEnabled(item(IDC_ALERT_LIMIT)));
    EXPECT_TRUE(IsWindowEnabled(item(IDC_ALERT_HANG_UP)));
    click(IDC_ALERT_HANG_UP);
    click(IDC_ALERT_USAGE2_ON);
    EXPECT_FALSE(IsWindowEnabled(item(IDC_ALERT_USAGE2)));
    type(IDC_ALERT_USAGE1, "90");
    close(PSBTN_OK);
    EXPECT_TRUE(alerts.limitOn);
    EXPECT_TRUE(alerts.hangUp);
    EXPECT_TRUE(alerts.usageOn[0]);
    EXPECT_FALSE(alerts.usageOn[1]);
    EXPECT_EQ(alerts.usagePercent[0], 90u);
    EXPECT_EQ(alerts.limit, 12.345); // not typed in: kept at full precision

    open(3);
    type(IDC_ALERT_LIMIT, "20,75");
    type(IDC_ALERT_USAGE2, "none");
    close(PSBTN_OK);
    EXPECT_DOUBLE_EQ(alerts.limit, 20.75);
    EXPECT_EQ(alerts.usagePercent[1], 100u); // unticked: the field is not read
    resetAlerts();
}

// --- Help panel ----------------------------------------------------------------------------

int sheetHeight(HWND sheet)
{
    RECT rect;
    GetWindowRect(sheet, &rect);
    return rect.bottom - rect.top;
}

POINT centreOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    return { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

TEST_F(OptionsSheet, HelpPanelKeepsItsFoldAcrossSheets)
{
    settings.helpPanelOpen = 0;
    open();
    const int folded = sheetHeight(sheet);
    RECT panel;
    GetWindowRect(GetDlgItem(sheet, IDC_HELP_PANEL), &panel);
    SendMessageA(GetDlgItem(sheet, IDC_HELP_TOGGLE), BM_CLICK, 0, 0);
    pumpMessages(sheet);
    EXPECT_EQ(settings.helpPanelOpen, 1);
    const int unfolded = sheetHeight(sheet);
    RECT window;
    GetWindowRect(sheet, &window);
    EXPECT_GE(window.bottom, panel.bottom); // the whole panel shows
    EXPECT_GT(unfolded, folded + 50);
    close(PSBTN_CANCEL);

    open(); // opens as it was left
    EXPECT_EQ(settings.helpPanelOpen, 1);
    EXPECT_EQ(sheetHeight(sheet), unfolded);
    SendMessageA(GetDlgItem(sheet, IDC_HELP_TOGGLE), BM_CLICK, 0, 0);
    pumpMessages(sheet);
    EXPECT_EQ(settings.helpPanelOpen, 0);
    EXPECT_EQ(sheetHeight(sheet), folded);
    close(PSBTN_CANCEL);
    open();
    EXPECT_EQ(sheetHeight(sheet), folded);
}

// The toggle's pictures as start-up makes them for a true-colour display without shadows.
void useHelpToggleImages()
{
    if (helpToggleImages)
        return;
    HDC screen = GetDC(nullptr);
    helpToggleImages = loadImageList(screen, 22);
    ReleaseDC(nullptr, screen);
}

// A 20 x 20 picture of the toggle as the sheet draws it, or of `image` over the button face.
std::string togglePicture(HWND sheet, int image)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 20, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT rect = { 0, 0, 20, 20 };
    if (sheet) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_HELP_TOGGLE;
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = GetDlgItem(sheet, IDC_HELP_TOGGLE);
        item.hDC = dc;
        item.rcItem = rect;
        EXPECT_EQ(SendMessageA(sheet, WM_DRAWITEM, IDC_HELP_TOGGLE, LPARAM(&item)), TRUE);
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        ImageList_Draw(helpToggleImages, image, dc, 0, 0, ILD_TRANSPARENT);
    }
    std::string pixels;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            pixels += std::to_string(GetPixel(dc, x, y)) + ",";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixels;
}

TEST_F(OptionsSheet, HelpToggleShowsTheImageOfItsState)
{
    useHelpToggleImages();
    ASSERT_NE(helpToggleImages, nullptr);
    const std::string openImage = togglePicture(nullptr, 0), foldedImage = togglePicture(nullptr, 1);
    ASSERT_NE(openImage, foldedImage);
    settings.helpPanelOpen = 0;
    open();
    EXPECT_EQ(togglePicture(sheet, 0), foldedImage);
    SendMessageA(GetDlgItem(sheet, IDC_HELP_TOGGLE), BM_CLICK, 0, 0);
    pumpMessages(sheet);
    EXPECT_EQ(togglePicture(sheet, 0), openImage);
}

TEST_F(OptionsSheet, HoverHelpFollowsTheControlUnderThePointer)
{
    addRate("T");
    settings.helpPanelOpen = 1;
    open();
    HWND panel = GetDlgItem(sheet, IDC_HELP_PANEL);
    auto hover = [&](HWND control) {
        const POINT at = centreOf(control);
        helpPanelProc(sheet, kUpdateHoverHelp, WPARAM(at.x), LPARAM(at.y));
    };
    auto panelText = [&] {
        char buffer[1024];
        GetWindowTextA(panel, buffer, sizeof buffer);
        return std::string(buffer);
    };

    hover(item(IDC_TARIFF_DELETE));
    EXPECT_EQ(panelText(), languageText(IDC_TARIFF_DELETE));
    EXPECT_FALSE(panelText().empty());

    SetWindowTextA(panel, "kept"); // the same control again does not reload its text
    hover(item(IDC_TARIFF_DELETE));
    EXPECT_EQ(panelText(), "kept");

    // A check box inside a group box is found, not the box around it.
    hover(item(IDC_TARIFF_SATURDAY));
    EXPECT_EQ(panelText(), languageText(IDC_TARIFF_SATURDAY));

    // A label without an identifier empties the panel.
    HWND label = nullptr;
    for (HWND child = GetWindow(page, GW_CHILD); child && !label; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16];
        GetClassNameA(child, className, sizeof className);
        if (GetDlgCtrlID(child) == -1 && lstrcmpiA(className, "Static") == 0)
            label = child;
    }
    ASSERT_NE(label, nullptr);
    hover(label);
    EXPECT_EQ(panelText(), "");
}

TEST_F(OptionsSheet, ContextHelpShowsTheControlsTextOrTheFallbackInTheTip)
{
    open();
    HELPINFO help = {};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = IDC_TARIFF_ADD;
    SendMessageA(sheet, WM_HELP, 0, LPARAM(&help));
    EXPECT_EQ(std::string(tipState.tipText), languageText(IDC_TARIFF_ADD));
    EXPECT_EQ(tipState.tipFlags, TIP_SHOW | TIP_FOLLOW);
    EXPECT_EQ(tipState.tipOffsetX, 5);
    EXPECT_EQ(tipState.tipOffsetY, -5);

    help.iCtrlId = 4321; // no string of that number
    SendMessageA(sheet, WM_HELP, 0, LPARAM(&help));
    EXPECT_EQ(std::string(tipState.tipText), languageText(IDS_OPTIONS_HELP_FALLBACK));
    EXPECT_FALSE(std::string(tipState.tipText).empty());
    SendMessageA(tipWindow, WM_TIP_SHOW, 0, 0);

    // The tip stays while the pointer stays on the control it was on, and goes when the pointer
    // reaches another control or the sheet closes.
    const POINT add = centreOf(item(IDC_TARIFF_ADD)), remove = centreOf(item(IDC_TARIFF_DELETE));
    SetCursorPos(add.x, add.y);
    help.iCtrlId = IDC_TARIFF_ADD;
    SendMessageA(sheet, WM_HELP, 0, LPARAM(&help));
    helpPanelProc(sheet, kUpdateHoverHelp, WPARAM(add.x + 1), LPARAM(add.y));
    EXPECT_TRUE(IsWindowVisible(tipWindow));
    SetCursorPos(remove.x, remove.y);
    helpPanelProc(sheet, kUpdateHoverHelp, WPARAM(remove.x), LPARAM(remove.y));
    EXPECT_FALSE(IsWindowVisible(tipWindow));
    EXPECT_EQ(tipState.tipFlags, 0u);
    SendMessageA(sheet, WM_HELP, 0, LPARAM(&help));
    EXPECT_TRUE(IsWindowVisible(tipWindow));
    DestroyWindow(sheet);
    sheet = nullptr;
    EXPECT_FALSE(IsWindowVisible(tipWindow));
}

// --- The sheet's own loop ------------------------------------------------------------------

struct LoopProbe {
    HANDLE event;
    int signals;
    bool mainWindowWasDisabled;
    HWND mainWindow;
    POINT pointer;
    RECT tip;
    std::string panelText;
};
LoopProbe probe;

LRESULT CALLBACK probeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND sheet = FindWindowExA(nullptr, nullptr, MAKEINTRESOURCEA(32770), nullptr);
    if (message == WM_USER) {
        ++probe.signals;
        ResetEvent(probe.event);
        // The pointer moves over the Delete button: the loop hands the move to the tip and the
        // hover help before the probe looks and OK closes the sheet.
        probe.pointer = centreOf(GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), IDC_TARIFF_DELETE));
        SetCursorPos(probe.pointer.x, probe.pointer.y);
        PostMessageA(sheet, WM_MOUSEMOVE, 0, 0);
        PostMessageA(window, WM_APP, 0, 0);
        return 0;
    }
    if (message == WM_APP) {
        GetWindowRect(tipWindow, &probe.tip);
        char text[1024];
        GetDlgItemTextA(sheet, IDC_HELP_PANEL, text, sizeof text);
        probe.panelText = text;
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void CALLBACK signalConnection(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    probe.mainWindowWasDisabled = !IsWindowEnabled(probe.mainWindow);
    SetEvent(probe.event);
}

TEST_F(OptionsSheet, RunServesTheConnectionEventAndEnablesTheMainWindowAgain)
{
    WNDCLASSA probeClass = {};
    probeClass.lpfnWndProc = probeWindowProc;
    probeClass.hInstance = GetModuleHandleA(nullptr);
    probeClass.lpszClassName = "TelvaneDialogProbe";
    RegisterClassA(&probeClass);
    probe = {};
    probe.mainWindow = CreateWindowExA(0, "TelvaneDialogProbe", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
        nullptr, GetModuleHandleA(nullptr), nullptr);
    probe.event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(ensureTipWindow(GetModuleHandleA(nullptr)), nullptr);
    SendMessageA(tipWindow, WM_SETTEXT, 0, LPARAM("following"));
    SendMessageA(tipWindow, WM_TIP_SHOW, TIP_SHOW | TIP_FOLLOW, MAKELPARAM(5, -5));
    SetTimer(nullptr, 0, 10, signalConnection);
    EXPECT_EQ(runOptionsSheet(probe.mainWindow, probe.event), 0);
    SendMessageA(tipWindow, WM_TIP_SHOW, 0, 0);
    EXPECT_EQ(probe.signals, 1);
    EXPECT_EQ(probe.tip.left, probe.pointer.x + 5);
    EXPECT_EQ(probe.tip.bottom, probe.pointer.y - 5);
    EXPECT_EQ(probe.panelText, languageText(IDC_TARIFF_DELETE));
    EXPECT_TRUE(probe.mainWindowWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(probe.mainWindow));
    DestroyWindow(probe.mainWindow);
    CloseHandle(probe.event);
}

TEST_F(OptionsSheet, RunWithoutALanguageModuleFails)
{
    HMODULE module = LanguageModule;
    LanguageModule = nullptr;
    EXPECT_EQ(runOptionsSheet(nullptr, nullptr), -1);
    LanguageModule = module;
}

// Pictures of every page for a look by eye: TELVANE_SCREENSHOTS names the folder.
TEST_F(OptionsSheet, Screenshots)
{
    const std::string folder = screenshotFolder();
    if (folder.empty())
        GTEST_SKIP() << "TELVANE_SCREENSHOTS is not set";
    const char* language = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN ? "de" : "en";
    Rate* rate = addRate("Evening and weekend");
    rate->unit = 4;
    rate->amount[0] = 30;
    rate->amount[2] = 120;
    rate->cost[0] = 4.95;
    rate->cost[1] = 0.039;
    rate->cost[2] = 0.015;
    rate->cost[5] = 0.029;
    rate->cost[6] = 0.012;
    rate->ltimeb = 8 * 3600;
    rate->ltimee = 18 * 3600;
    rate->ldays = 0xE0;
    strcpy(settings.holidays[0].name, "New Year's Day");
    settings.holidays[0].packedDate = packDate(2026, 1, 1);
    strcpy(settings.holidays[1].name, "Christmas Eve");
    settings.holidays[1].packedDate = packDate(2026, 12, 24);
    settings.volumeCorrection = 150;
    settings.alwaysOnTop = 1;
    settings.helpPanelOpen = 1;
    useHelpToggleImages();
    open();
    SetWindowPos(sheet, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    resetAlerts();
    alerts.limitOn = true;
    alerts.limit = 15;
    const int hovered[] = { IDC_TARIFF_DESCRIPTION, IDC_HOLIDAY_LIST, IDC_ON_TOP_WHILE_ONLINE, IDC_ALERT_HANG_UP };
    for (int index = 0; index < 4; ++index) {
        PropSheet_SetCurSel(sheet, nullptr, index);
        pumpMessages(sheet);
        page = PropSheet_GetCurrentPageHwnd(sheet);
        const POINT at = centreOf(item(hovered[index]));
        helpPanelProc(sheet, kUpdateHoverHelp, WPARAM(at.x), LPARAM(at.y));
        const std::string path = folder + "/sheet" + std::to_string(index + 1) + "_" + language + ".bmp";
        EXPECT_TRUE(saveWindowPicture(sheet, path.c_str())) << path;
    }
    // A price that is none, and OK: the balloon on the field, reaching past the sheet's edge
    // (under Wine a pop-up wholly inside another window of the program stays black).
    PropSheet_SetCurSel(sheet, nullptr, 0);
    pumpMessages(sheet);
    page = PropSheet_GetCurrentPageHwnd(sheet);
    const POINT field = centreOf(item(IDC_TARIFF_COST_FIRST + 2));
    helpPanelProc(sheet, kUpdateHoverHelp, WPARAM(field.x), LPARAM(field.y));
    type(IDC_TARIFF_COST_FIRST + 2, "12ab34");
    pressOk();
    RECT shown;
    GetWindowRect(sheet, &shown);
    shown.right += 160;
    const std::string balloonPath = folder + "/balloon_" + language + ".bmp";
    EXPECT_TRUE(saveScreenPicture(shown, balloonPath.c_str()));
    close(PSBTN_CANCEL);
}

} // namespace
