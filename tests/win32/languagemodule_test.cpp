// The language modules as the program uses them: every string, message, menu item, shortcut,
// key name and dialog control the program asks for, in both languages.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "lang/ids.h"
#include "win32/support/distpath.h"

namespace {

struct Language {
    const char* file;
    // Shortcut text of the save item, worked out from the key names the language should use.
    const char* saveShortcut;
    const char* keyShift;
    const char* keyControl;
    const char* keyAlt;
    const char* keyF1;
};

void PrintTo(const Language& language, std::ostream* out) { *out << language.file; }

const Language kEnglish { "english.dll", "\tCtrl+Shift+S", "Shift", "Ctrl", "Alt", "F1" };
const Language kGerman { "deutsch.dll", "\tStrg+Umschalt+S", "Umschalt", "Strg", "Alt", "F1" };

// Resources of the program that are not tied to a control or a menu item.
const UINT kFixedStrings[] = {
    IDS_SEVERITY_SUCCESS,
    IDS_SEVERITY_INFORMATION,
    IDS_SEVERITY_WARNING,
    IDS_SEVERITY_ERROR,
    IDS_SYSTEM_ERROR_INTRO,
    IDS_MESSAGE_CAPTION,
    IDS_MAIN_TITLE,
    IDS_OPTIONS_HELP_FALLBACK,
    IDS_SETTINGS_SAVED,
    IDS_OPTIONS_CAPTION,
    IDS_PAGE_TARIFFS,
    IDS_PAGE_HOLIDAYS,
    IDS_PAGE_GENERAL,
    IDS_PAGE_ALERTS,
    IDS_PAGE_ADAPTERS,
    IDS_TARIFF_NAME_REFUSED,
    IDS_MISSING_IMAGE,
    IDS_MISSING_KEY_NAMES,
    IDS_MISSING_FILE_NAME,
    IDS_TRAY_EXIT,
    IDS_STATISTICS_HEADING,
    IDS_CONFIRM_EXIT,
    IDS_ALERT_USAGE_TITLE,
    IDS_ALERT_USAGE,
    IDS_ALERT_USED_UP,
    IDS_ALERT_MONEY_TITLE,
    IDS_ALERT_MONEY,
    IDS_ALERT_HUNG_UP,
    IDS_TRAY_FREE_LEFT,
    IDS_TRAY_FREE_EXCEEDED,
    IDS_EXPORT_TITLE,
    IDS_EXPORT_FILTER,
    IDS_EXPORT_FILE_NAME,
    IDS_EXPORT_DONE,
    IDS_CSV_FIRST_HEADING,
    IDS_CSV_FIRST_HEADING + 1,
    IDS_CSV_FIRST_HEADING + 2,
    IDS_CSV_FIRST_HEADING + 3,
    IDS_CSV_FIRST_HEADING + 4,
    IDS_CSV_FIRST_HEADING + 5,
    IDS_CSV_FIRST_HEADING + 6,
    IDS_CSV_COST,
    IDS_CSV_COST_TARIFF,
    IDS_NO_TARIFF,
    IDS_NO_LOGS,
    IDS_HOLIDAY_COLUMN_DATE,
    IDS_HOLIDAY_COLUMN_NAME,
    IDS_HOLIDAY_EVERY_YEAR,
    IDS_TRAY_DIAL,
    IDS_TRAY_HANG_UP,
    IDS_TRAY_SHOW,
    IDS_TRAY_OPTIONS,
    IDS_ADAPTER_COLUMN_NAME,
    IDS_ADAPTER_COLUMN_DESCRIPTION,
    IDS_ADAPTER_COLUMN_ADDRESSES,
    IDS_ADAPTER_COLUMN_STATE,
    IDS_ADAPTER_UP,
    IDS_ADAPTER_DOWN,
    IDS_ADAPTER_ABSENT,
    IDS_TRAY_ADAPTER,
    IDS_ADAPTER_DIAL_UP,
    IDS_ADAPTER_SHARED_NOTE,
    // The billing period, the year at a glance and the comparison of tariffs.
    IDS_TIP_BILLING_PERIOD,
    IDS_TIP_WHOLE_PERIOD,
    IDS_TIP_PER_DAY_PERIOD,
    IDS_TIP_NOTHING_LEFT_PERIOD,
    IDS_TIP_LEFT_AT_PERIOD_END,
    IDS_TIP_PERIOD_COST,
    IDS_YEAR_HEADING,
    IDS_YEAR_VOLUME,
    IDS_YEAR_TIME,
    IDS_YEAR_COST,
    IDS_YEAR_TOTALS,
    IDS_YEAR_NO_LOGS,
    IDS_TIP_YEAR_MONTH_COST,
    IDS_TIP_YEAR_NO_LOG,
    IDS_TIP_YEAR_RUNNING,
    IDS_TIP_YEAR_TOTALS,
    IDS_TIP_YEAR_KEYS,
    IDS_TIP_YEAR_MONTH_VOLUME,
    IDS_TIP_YEAR_MONTH_TIME,
    IDS_COMPARE_COLUMN_TARIFF,
    IDS_COMPARE_COLUMN_USAGE,
    IDS_COMPARE_COLUMN_FIXED,
    IDS_COMPARE_COLUMN_TOTAL,
    IDS_COMPARE_COLUMN_DIFFERENCE,
    IDS_COMPARE_MONTH,
    IDS_COMPARE_TWELVE_MONTHS,
    IDS_COMPARE_ACTIVE,
    IDS_COMPARE_NOTE,
    IDS_CSV_MONTH,
    IDS_CSV_YEAR_COST,
    IDS_CSV_YEAR_COST_TARIFF,
    IDS_CSV_TARIFF,
    IDS_CSV_USAGE_COST,
    IDS_CSV_FIXED_COST,
    IDS_CSV_TOTAL_COST,
    IDS_ALERT_USAGE_PERIOD,
    IDS_ALERT_USED_UP_PERIOD,
    IDS_ALERT_MONEY_PERIOD,
    IDM_SHOW_WINDOW,
    // Hints of the menus the program builds itself (tray menu, tariff menu, month and skin lists).
    IDM_LOG_MONTH_FIRST,
    IDM_PHONEBOOK_FIRST,
    IDM_TARIFF_FIRST,
    IDM_SKIN_FIRST,
    // Help texts of the options sheet's own controls, which the hover help also reaches.
    IDOK,
    IDCANCEL,
    IDC_HELP_TOGGLE,
    IDC_SHEET_TABS,
};

// The hover tips of the main window: every one of them, in every language.
std::vector<UINT> tipStrings()
{
    std::vector<UINT> ids;
    for (UINT id = IDS_TIP_MAIN_PERIOD; id <= IDS_TIP_CLOSE_BUTTON; ++id)
        ids.push_back(id);
    return ids;
}

// The hint shown for a menu item: ranges of generated items share the hint of their first id.
UINT hintOf(UINT command)
{
    if (command >= IDM_LOG_MONTH_FIRST && command <= IDM_LOG_MONTH_LAST)
        return IDM_LOG_MONTH_FIRST;
    if (command >= IDM_TARIFF_FIRST && command <= IDM_TARIFF_LAST)
        return IDM_TARIFF_FIRST;
    if (command >= IDM_SKIN_FIRST && command <= IDM_SKIN_LAST)
        return IDM_SKIN_FIRST;
    if (command >= IDM_PHONEBOOK_FIRST && command <= IDM_PHONEBOOK_LAST)
        return IDM_PHONEBOOK_FIRST;
    return command;
}

// Which inserts a message takes: 'n' a 32-bit number, 't' a text, 'p' a pointer-sized address.
struct MessageInserts {
    uint32_t code;
    const char* kinds; // kinds of %1..%4, '-' for unused
};

std::vector<MessageInserts> allMessages()
{
    std::vector<MessageInserts> messages;
    for (unsigned i = 0; i < kAllErrorCodeCount; ++i)
        messages.push_back({ kAllErrorCodes[i], "----" });
    for (uint32_t code = kCrashGeneral; code <= kCrashAskResume; ++code)
        messages.push_back({ code, "----" });
    for (MessageInserts& message : messages) {
        if (message.code == kErrorResourceMissing)
            message.kinds = "n-t-";
        else if (message.code == kErrorSkinParse)
            message.kinds = "nntt";
        else if (message.code == kErrorTagLine || message.code == kErrorSettingsRead || message.code == kErrorAlertsRead
            || message.code == kErrorAdaptersRead)
            message.kinds = "--tt"; // the damaged file, and where its original was kept
        else if (message.code == kErrorExportWrite || message.code == kErrorExportNoMonth
            || message.code == kErrorHelpPage)
            message.kinds = "--t-"; // the file
        else if (message.code == kErrorExportNoYear)
            message.kinds = "--t-"; // the year
        else if (message.code == kErrorLanguageModule)
            message.kinds = "--t-"; // the module that failed
        else if (message.code == kErrorNoSkin)
            message.kinds = "--t-"; // the folder without a skin
        else if (message.code == kErrorLanguageStandIn)
            message.kinds = "--tt"; // the module that failed, and the one standing in
        else if (message.code == kCrashTargetAddress || message.code == kCrashInstructionAddress)
            message.kinds = "p---";
    }
    return messages;
}

struct Insert {
    int number;
    std::string format; // between the exclamation marks, empty when there is none
};

// The inserts of a raw message text, skipping the escapes %0, %%, %n, %. and so on.
std::vector<Insert> insertsOf(const std::string& text)
{
    std::vector<Insert> inserts;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%' || at + 1 >= text.size())
            continue;
        const char next = text[at + 1];
        if (next < '1' || next > '9') {
            ++at;
            continue;
        }
        Insert insert { next - '0', "" };
        size_t end = at + 2;
        if (end < text.size() && text[end] == '!') {
            const size_t close = text.find('!', end + 1);
            insert.format = text.substr(end + 1, close == std::string::npos ? std::string::npos : close - end - 1);
            end = close == std::string::npos ? text.size() : close + 1;
        }
        inserts.push_back(insert);
        at = end - 1;
    }
    return inserts;
}

class LanguageModuleTest : public testing::TestWithParam<Language> {
protected:
    void SetUp() override
    {
        module = LoadLibraryA(distPath(GetParam().file).c_str());
        ASSERT_NE(module, nullptr) << distPath(GetParam().file);
    }
    void TearDown() override
    {
        if (module != nullptr)
            FreeLibrary(module);
    }

    std::string string(UINT id) const
    {
        char text[4096];
        const int length = LoadStringA(module, id, text, sizeof text);
        return length > 0 ? std::string(text, length) : std::string();
    }

    std::string rawMessage(uint32_t code) const
    {
        char text[4096] = "";
        const DWORD length = FormatMessageA(
            FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, module, code, 0, text, sizeof text, nullptr);
        return std::string(text, length);
    }

    std::string keyName(unsigned key) const
    {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_KEY_NAMES), MAKEINTRESOURCEA(RT_KEY_NAMES));
        if (found == nullptr || SizeofResource(module, found) < KEY_NAME_COUNT * KEY_NAME_SIZE)
            return "<no table>";
        const char* table = static_cast<const char*>(LockResource(LoadResource(module, found)));
        return std::string(table + key * KEY_NAME_SIZE, strnlen(table + key * KEY_NAME_SIZE, KEY_NAME_SIZE));
    }

    // Every command id in a menu and its sub-menus.
    static void collectCommands(HMENU menu, std::vector<UINT>& commands)
    {
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            if (HMENU sub = GetSubMenu(menu, position))
                collectCommands(sub, commands);
            else if (const UINT id = GetMenuItemID(menu, position); id != 0 && id != UINT(-1))
                commands.push_back(id);
        }
    }

    HMODULE module = nullptr;
};

TEST_P(LanguageModuleTest, EveryFixedStringExists)
{
    for (UINT id : kFixedStrings)
        EXPECT_FALSE(string(id).empty()) << "string " << id;
    // Month and day names, the window's labels and the help page's name.
    for (UINT id = IDS_MONTH_FIRST; id <= IDS_HELP_FILE; ++id)
        EXPECT_FALSE(string(id).empty()) << "string " << id;
    // Texts the program fills in: each keeps as many placeholders as it is given values.
    const std::pair<UINT, size_t> filled[] = { { IDS_ALERT_USAGE, 2 }, { IDS_ALERT_USED_UP, 1 }, { IDS_ALERT_MONEY, 2 },
        { IDS_TRAY_FREE_LEFT, 1 }, { IDS_TRAY_FREE_EXCEEDED, 1 }, { IDS_EXPORT_FILE_NAME, 1 }, { IDS_EXPORT_DONE, 1 },
        { IDS_CSV_COST_TARIFF, 1 }, { IDS_ALERT_USAGE_PERIOD, 2 }, { IDS_ALERT_USED_UP_PERIOD, 1 },
        { IDS_ALERT_MONEY_PERIOD, 2 }, { IDS_CSV_YEAR_COST_TARIFF, 1 }, { IDS_YEAR_HEADING, 1 },
        { IDS_YEAR_NO_LOGS, 1 }, { IDS_COMPARE_MONTH, 1 }, { IDS_COMPARE_TWELVE_MONTHS, 2 },
        { IDS_COMPARE_ACTIVE, 1 } };
    for (const auto& [id, count] : filled) {
        const std::string text = string(id);
        size_t found = 0;
        for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2))
            ++found;
        EXPECT_EQ(found, count) << "string " << id << " \"" << text << "\"";
    }
    // The save dialog's filter: pairs of name and pattern, each part ended by '|'.
    const std::string filter = string(IDS_EXPORT_FILTER);
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|') % 2, 0) << filter;
    EXPECT_EQ(filter.back(), '|') << filter;
    for (UINT id : tipStrings())
        EXPECT_FALSE(string(id).empty()) << "tip " << id;
}

TEST_P(LanguageModuleTest, MenuHasTheShapeTheProgramFills)
{
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDM_MAIN_MENU));
    ASSERT_NE(menu, nullptr);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_NE(GetSubMenu(popup, MAIN_MENU_POS_LOG_MONTHS), nullptr) << "log months";
    EXPECT_NE(GetSubMenu(popup, MAIN_MENU_POS_SKINS), nullptr) << "skins";
    for (UINT command : { IDM_EXIT, IDM_OPTIONS, IDM_LANGUAGE_GERMAN, IDM_LANGUAGE_ENGLISH, IDM_SAVE_SETTINGS,
             IDM_EXPORT_MONTH, IDM_YEAR_VIEW, IDM_COMPARE_TARIFFS, IDM_HELP, IDM_ABOUT })
        EXPECT_NE(GetMenuState(popup, command, MF_BYCOMMAND), UINT(-1)) << "command " << command;

    // Help opens the page of the module's own language, which the build puts beside the program.
    FILE* page = fopen(distPath(string(IDS_HELP_FILE).c_str()).c_str(), "rb");
    ASSERT_NE(page, nullptr) << string(IDS_HELP_FILE);
    char head[512] = "";
    head[fread(head, 1, sizeof head - 1, page)] = '\0';
    fclose(page);
    const bool german = std::string(GetParam().file) == "deutsch.dll";
    EXPECT_NE(strstr(head, german ? "<html lang=\"de\">" : "<html lang=\"en\">"), nullptr) << head;

    // Every item of the menu has its status-line hint.
    std::vector<UINT> commands;
    collectCommands(popup, commands);
    EXPECT_GE(commands.size(), 6u);
    for (UINT command : commands)
        EXPECT_FALSE(string(hintOf(command)).empty()) << "hint of " << command;
    DestroyMenu(menu);
}

TEST_P(LanguageModuleTest, ShortcutsExistAndNameTheirKeys)
{
    HACCEL accelerators = LoadAcceleratorsA(module, MAKEINTRESOURCEA(IDA_MAIN_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    ACCEL entries[64];
    const int count = CopyAcceleratorTableA(accelerators, entries, 64);
    ASSERT_GT(count, 0);
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(IDM_MAIN_MENU));
    bool saveFound = false;
    for (int i = 0; i < count; ++i) {
        const ACCEL& entry = entries[i];
        // A shortcut whose command is not in the menu would work but never be shown.
        EXPECT_NE(GetMenuState(menu, entry.cmd, MF_BYCOMMAND), UINT(-1)) << "command " << entry.cmd;
        if (entry.fVirt & FVIRTKEY) {
            EXPECT_FALSE(keyName(entry.key & 0xFF).empty()) << "key " << entry.key;
        }
        if (entry.cmd == IDM_SAVE_SETTINGS
            && (entry.fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT)) == (FVIRTKEY | FCONTROL | FSHIFT)
            && entry.key == 'S')
            saveFound = true;
    }
    EXPECT_TRUE(saveFound) << "Ctrl+Shift+S on the save item";
    // The text the menu shows after the save item, built as the program builds it.
    const std::string shortcut = "\t" + keyName(VK_CONTROL) + "+" + keyName(VK_SHIFT) + "+" + keyName('S');
    EXPECT_EQ(shortcut, GetParam().saveShortcut);
    DestroyMenu(menu);
    DestroyAcceleratorTable(accelerators);
}

TEST_P(LanguageModuleTest, KeyNameTableHas256TerminatedEntries)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(IDR_KEY_NAMES), MAKEINTRESOURCEA(RT_KEY_NAMES));
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(module, found), DWORD(KEY_NAME_COUNT * KEY_NAME_SIZE));
    const char* table = static_cast<const char*>(LockResource(LoadResource(module, found)));
    for (unsigned key = 0; key < KEY_NAME_COUNT; ++key)
        EXPECT_EQ(table[key * KEY_NAME_SIZE + KEY_NAME_SIZE - 1], '\0') << "entry " << key;
    EXPECT_EQ(keyName(VK_SHIFT), GetParam().keyShift);
    EXPECT_EQ(keyName(VK_CONTROL), GetParam().keyControl);
    EXPECT_EQ(keyName(VK_MENU), GetParam().keyAlt);
    EXPECT_EQ(keyName(VK_F1), GetParam().keyF1);
    // Letters, digits and the function keys are named after what is printed on them.
    for (unsigned key = 'A'; key <= 'Z'; ++key)
        EXPECT_EQ(keyName(key), std::string(1, char(key)));
    for (unsigned key = '0'; key <= '9'; ++key)
        EXPECT_EQ(keyName(key), std::string(1, char(key)));
    for (unsigned key : { VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE, VK_SPACE, VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT,
             VK_UP, VK_RIGHT, VK_DOWN, VK_INSERT, VK_DELETE, VK_F12, VK_NUMPAD0, VK_ADD })
        EXPECT_FALSE(keyName(key).empty()) << "key " << key;
}

TEST_P(LanguageModuleTest, EveryMessageExistsWithTheInsertsItNeeds)
{
    const char* kText1 = "skin.xml";
    const char* kText2 = "unexpected end";
    for (const MessageInserts& message : allMessages()) {
        SCOPED_TRACE(testing::Message() << std::hex << message.code);
        const std::string raw = rawMessage(message.code);
        ASSERT_FALSE(raw.empty());

        // A number or an address printed through a bare %1 would be read as a text pointer.
        std::set<int> used;
        for (const Insert& insert : insertsOf(raw)) {
            ASSERT_GE(insert.number, 1);
            ASSERT_LE(insert.number, 4);
            const char kind = message.kinds[insert.number - 1];
            EXPECT_NE(kind, '-') << "%" << insert.number << " is not an insert of this message";
            if (kind == 'n') {
                EXPECT_TRUE(
                    insert.format == "u" || insert.format == "d" || insert.format == "x" || insert.format == "X")
                    << "%" << insert.number << " needs a number format, has '" << insert.format << "'";
            }
            if (kind == 't') {
                EXPECT_TRUE(insert.format.empty() || insert.format == "s") << "%" << insert.number;
            }
            if (kind == 'p') {
                EXPECT_EQ(insert.format, "p") << "%" << insert.number << " needs the pointer-sized format";
            }
            used.insert(insert.number);
        }
        for (int number = 1; number <= 4; ++number)
            if (message.kinds[number - 1] != '-') {
                EXPECT_TRUE(used.count(number)) << "%" << number << " is not shown";
            }

        // Formatting as the program does, with inserts of the kinds the program passes.
        const bool address = message.kinds[0] == 'p';
        const DWORD_PTR arguments[4] = { address ? DWORD_PTR(0x00007FF612345678ull) : DWORD_PTR(4711), 815,
            DWORD_PTR(kText1), DWORD_PTR(kText2) };
        char text[4096] = "";
        const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ARGUMENT_ARRAY, module,
            message.code, 0, text, sizeof text, (va_list*)arguments);
        ASSERT_GT(length, 0u);
        const std::string formatted(text, length);
        const char* expected[4] = { address ? "0x00007FF612345678" : "4711", "815", kText1, kText2 };
        for (int number : used)
            EXPECT_NE(formatted.find(expected[number - 1]), std::string::npos) << formatted;
        EXPECT_EQ(formatted.find('%'), std::string::npos) << formatted;

        // Error texts are followed by the system's text, so they end without a line break; the
        // crash report stacks its lines, so those end with one, except the closing question.
        const bool crashLine = message.code >= kCrashGeneral && message.code < kCrashCannotResume;
        EXPECT_EQ(formatted.back() == '\n', crashLine) << formatted;
    }
}

TEST_P(LanguageModuleTest, TextsAreInCodePage1252)
{
    // UTF-8 umlauts would show as two characters; 1252 keeps one byte each.
    std::string all;
    for (UINT id : kFixedStrings)
        all += string(id);
    for (UINT id : tipStrings())
        all += string(id);
    for (const MessageInserts& message : allMessages())
        all += rawMessage(message.code);
    EXPECT_EQ(all.find('\xC3'), std::string::npos);
    if (std::string(GetParam().file) == "deutsch.dll") {
        EXPECT_EQ(string(IDS_CONFIRM_EXIT).substr(0, 8),
            "M\xF6"
            "chten ");
        EXPECT_NE(all.find('\xFC'), std::string::npos); // ü
        EXPECT_NE(all.find('\xE4'), std::string::npos); // ä
    }
}

// ---------------------------------------------------------------------------------------------
// Dialogs

struct ControlKind {
    int id;
    const char* className;
    DWORD typeMask; // style bits that must be exactly `type` under the mask (0: any)
    DWORD type;
};

constexpr DWORD kButtonType = BS_TYPEMASK;

struct DialogControls {
    int dialog;
    std::vector<ControlKind> controls;
};

std::vector<DialogControls> requiredControls()
{
    std::vector<ControlKind> tariffs = {
        { IDC_TARIFF_LIST, "ComboBox", 0x3, CBS_DROPDOWNLIST },
        { IDC_TARIFF_DELETE, "Button", kButtonType, BS_PUSHBUTTON },
        { IDC_TARIFF_NEW_NAME, "Edit", 0, 0 },
        { IDC_TARIFF_ADD, "Button", kButtonType, BS_PUSHBUTTON },
        { IDC_TARIFF_TIME_BEGIN, "SysDateTimePick32", DTS_TIMEFORMAT, DTS_TIMEFORMAT },
        { IDC_TARIFF_TIME_END, "SysDateTimePick32", DTS_TIMEFORMAT, DTS_TIMEFORMAT },
        { IDC_TARIFF_PRECISION, "Edit", 0, 0 },
        { IDC_TARIFF_PRECISION_SPIN, "msctls_updown32", 0, 0 },
        { IDC_TARIFF_UNIT, "ComboBox", 0x3, CBS_DROPDOWNLIST },
        { IDC_TARIFF_BILLING_DAY, "Edit", ES_NUMBER, ES_NUMBER },
        { IDC_TARIFF_BILLING_DAY_SPIN, "msctls_updown32", 0, 0 },
    };
    for (int id = IDC_TARIFF_DAY_FIRST; id <= IDC_TARIFF_DAY_LAST; ++id)
        tariffs.push_back({ id, "Button", kButtonType, BS_AUTOCHECKBOX });
    for (int id = IDC_TARIFF_AMOUNT_FIRST; id <= IDC_TARIFF_AMOUNT_LAST; ++id)
        tariffs.push_back({ id, "Edit", 0, 0 });
    for (int id = IDC_TARIFF_AMOUNT_LABEL_FIRST; id <= IDC_TARIFF_AMOUNT_LABEL_LAST; ++id)
        tariffs.push_back({ id, "Static", 0, 0 });
    for (int id = IDC_TARIFF_COST_FIRST; id <= IDC_TARIFF_COST_LAST; ++id)
        tariffs.push_back({ id, "Edit", 0, 0 });
    for (int id = IDC_TARIFF_COST_LABEL_FIRST; id <= IDC_TARIFF_COST_LABEL_LAST; ++id)
        tariffs.push_back({ id, "Static", 0, 0 });
    return {
        { IDD_OPTIONS_TARIFFS, tariffs },
        { IDD_OPTIONS_HOLIDAYS,
            { { IDC_HOLIDAY_LIST, "SysListView32", LVS_TYPEMASK, LVS_REPORT },
                { IDC_HOLIDAY_DATE, "SysDateTimePick32", DTS_TIMEFORMAT, 0 }, { IDC_HOLIDAY_NAME, "Edit", 0, 0 },
                { IDC_HOLIDAY_ADD, "Button", kButtonType, BS_PUSHBUTTON },
                { IDC_HOLIDAY_DELETE, "Button", kButtonType, BS_PUSHBUTTON },
                { IDC_HOLIDAY_CHANGE, "Button", kButtonType, BS_PUSHBUTTON },
                { IDC_HOLIDAY_EVERY_YEAR, "Button", kButtonType, BS_AUTOCHECKBOX } } },
        { IDD_OPTIONS_GENERAL,
            { { IDC_UPDATE_INTERVAL, "Edit", 0, 0 }, { IDC_VOLUME_CORRECTION, "Edit", 0, 0 },
                { IDC_START_HIDDEN, "Button", kButtonType, BS_AUTOCHECKBOX },
                { IDC_ALWAYS_ON_TOP, "Button", kButtonType, BS_AUTOCHECKBOX },
                { IDC_ON_TOP_WHILE_ONLINE, "Button", kButtonType, BS_AUTOCHECKBOX } } },
        { IDD_OPTIONS_ALERTS,
            { { IDC_ALERT_USAGE1_ON, "Button", kButtonType, BS_AUTOCHECKBOX },
                { IDC_ALERT_USAGE1, "Edit", ES_NUMBER, ES_NUMBER },
                { IDC_ALERT_USAGE2_ON, "Button", kButtonType, BS_AUTOCHECKBOX },
                { IDC_ALERT_USAGE2, "Edit", ES_NUMBER, ES_NUMBER },
                { IDC_ALERT_LIMIT_ON, "Button", kButtonType, BS_AUTOCHECKBOX }, { IDC_ALERT_LIMIT, "Edit", 0, 0 },
                { IDC_ALERT_HANG_UP, "Button", kButtonType, BS_AUTOCHECKBOX } } },
        { IDD_OPTIONS_ADAPTERS, { { IDC_ADAPTER_LIST, "SysListView32", LVS_TYPEMASK, LVS_REPORT } } },
        { IDD_CONFIRM,
            { { IDC_CONFIRM_DONT_ASK, "Button", kButtonType, BS_AUTOCHECKBOX },
                { IDC_CONFIRM_QUESTION, "Static", 0, 0 }, { IDYES, "Button", 0, 0 }, { IDNO, "Button", 0, 0 } } },
        { IDD_COMPARE_TARIFFS,
            { { IDC_COMPARE_MONTH, "Button", kButtonType, BS_AUTORADIOBUTTON },
                { IDC_COMPARE_TWELVE_MONTHS, "Button", kButtonType, BS_AUTORADIOBUTTON },
                { IDC_COMPARE_LIST, "SysListView32", LVS_TYPEMASK, LVS_REPORT }, { IDC_COMPARE_NOTE, "Static", 0, 0 },
                { IDC_COMPARE_MAKE_ACTIVE, "Button", kButtonType, BS_PUSHBUTTON },
                { IDCANCEL, "Button", kButtonType, BS_DEFPUSHBUTTON } } },
        { IDD_ABOUT,
            { { IDOK, "Button", 0, 0 }, { IDC_ABOUT_TITLE, "Static", 0, 0 },
                { IDC_ABOUT_MAIL, "Static", SS_TYPEMASK | SS_NOTIFY, SS_OWNERDRAW | SS_NOTIFY },
                { IDC_ABOUT_TEXT1, "Static", 0, 0 }, { IDC_ABOUT_TEXT2, "Static", 0, 0 },
                { IDC_ABOUT_TEXT3, "Static", 0, 0 }, { IDC_ABOUT_PNG_NOTICE, "Static", 0, 0 } } },
    };
}

INT_PTR CALLBACK inertDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string windowText(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string classOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The dialogs of one module, created hidden inside a hidden owner so they can be measured.
class LanguageDialogTest : public LanguageModuleTest {
protected:
    void SetUp() override
    {
        LanguageModuleTest::SetUp();
        INITCOMMONCONTROLSEX init { sizeof init, ICC_WIN95_CLASSES | ICC_DATE_CLASSES };
        InitCommonControlsEx(&init);
        owner = CreateWindowExA(
            0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr) << "a display is needed (the tests run under Xvfb)";
    }
    void TearDown() override
    {
        if (owner != nullptr)
            DestroyWindow(owner);
        LanguageModuleTest::TearDown();
    }

    HWND createDialog(int id) { return CreateDialogParamA(module, MAKEINTRESOURCEA(id), owner, inertDialogProc, 0); }

    // Height the text needs when wrapped into `width` pixels with the control's font.
    static SIZE textExtent(HWND control, const std::string& text, int width, bool wrap)
    {
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
        RECT rect { 0, 0, width, 0 };
        DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        return { rect.right, rect.bottom };
    }

    // Where the text of a control goes: the client area, less the box of a check box.
    static int textWidthOf(HWND control)
    {
        RECT client;
        GetClientRect(control, &client);
        const DWORD type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
        if (classOf(control) == "Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX))
            return client.right - (GetSystemMetrics(SM_CXMENUCHECK) + 4);
        if (classOf(control) == "Button")
            return client.right - 8; // the push button's frame and focus rectangle
        return client.right;
    }

    HWND owner = nullptr;
};

TEST_P(LanguageDialogTest, EveryDialogHasTheControlsTheProgramUses)
{
    for (const DialogControls& dialog : requiredControls()) {
        SCOPED_TRACE(testing::Message() << "dialog " << dialog.dialog);
        HWND window = createDialog(dialog.dialog);
        ASSERT_NE(window, nullptr);
        for (const ControlKind& kind : dialog.controls) {
            HWND control = GetDlgItem(window, kind.id);
            ASSERT_NE(control, nullptr) << "control " << kind.id;
            EXPECT_EQ(classOf(control), kind.className) << "control " << kind.id;
            const DWORD style = GetWindowLongA(control, GWL_STYLE);
            if (kind.typeMask != 0) {
                EXPECT_EQ(style & kind.typeMask, kind.type) << "control " << kind.id;
            }
        }
        DestroyWindow(window);
    }
}

TEST_P(LanguageDialogTest, OptionPageControlsHaveHelpTexts)
{
    for (int page :
        { IDD_OPTIONS_TARIFFS, IDD_OPTIONS_HOLIDAYS, IDD_OPTIONS_GENERAL, IDD_OPTIONS_ALERTS, IDD_OPTIONS_ADAPTERS }) {
        HWND window = createDialog(page);
        ASSERT_NE(window, nullptr);
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const int id = GetDlgCtrlID(child);
            if (id != 0 && id != -1 && id != 0xFFFF) {
                EXPECT_FALSE(string(id).empty()) << "help text of control " << id << " on page " << page;
            }
        }
        DestroyWindow(window);
    }
}

TEST_P(LanguageDialogTest, TextsFitTheirControls)
{
    for (int id : { IDD_OPTIONS_TARIFFS, IDD_OPTIONS_HOLIDAYS, IDD_OPTIONS_GENERAL, IDD_OPTIONS_ALERTS,
             IDD_OPTIONS_ADAPTERS, IDD_CONFIRM, IDD_COMPARE_TARIFFS, IDD_ABOUT }) {
        SCOPED_TRACE(testing::Message() << "dialog " << id);
        HWND window = createDialog(id);
        ASSERT_NE(window, nullptr);
        RECT dialogClient;
        GetClientRect(window, &dialogClient);
        std::vector<std::pair<HWND, RECT>> placed;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT rect;
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            const std::string name = classOf(child);
            const DWORD style = GetWindowLongA(child, GWL_STYLE);
            SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(child) << " \"" << windowText(child) << "\"");
            EXPECT_GE(rect.left, 0);
            EXPECT_GE(rect.top, 0);
            EXPECT_LE(rect.right, dialogClient.right);
            EXPECT_LE(rect.bottom, dialogClient.bottom);

            const bool groupBox = name == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX;
            const bool ownerDrawn = name == "Static" && (style & SS_TYPEMASK) == SS_OWNERDRAW;
            const std::string text = windowText(child);
            if (!text.empty() && !ownerDrawn && (name == "Static" || name == "Button")) {
                RECT client;
                GetClientRect(child, &client);
                const bool wraps = name == "Static";
                const SIZE need = textExtent(child, text, textWidthOf(child), wraps);
                if (!groupBox) {
                    EXPECT_LE(need.cy, client.bottom) << "text is clipped";
                }
                EXPECT_LE(need.cx, textWidthOf(child) + (groupBox ? -8 : 0)) << "text is clipped";
            }
            // Up-down controls sit on their buddy's edge by design; group boxes frame others.
            if (!groupBox && name != "msctls_updown32") {
                for (const auto& [other, otherRect] : placed) {
                    RECT overlap;
                    EXPECT_FALSE(IntersectRect(&overlap, &rect, &otherRect))
                        << "overlaps control " << GetDlgCtrlID(other) << " \"" << windowText(other) << "\"";
                }
                placed.push_back({ child, rect });
            }
        }
        DestroyWindow(window);
    }
}

TEST_P(LanguageDialogTest, RuntimeTextsFitTheirControls)
{
    // The confirmation shows the exit question in 1091.
    HWND confirm = createDialog(IDD_CONFIRM);
    ASSERT_NE(confirm, nullptr);
    HWND question = GetDlgItem(confirm, IDC_CONFIRM_QUESTION);
    RECT client;
    GetClientRect(question, &client);
    EXPECT_LE(textExtent(question, string(IDS_CONFIRM_EXIT), client.right, true).cy, client.bottom);
    DestroyWindow(confirm);

    // The comparison names its months in its two choices, the longest month names of either
    // language, and explains itself below the list.
    HWND compare = createDialog(IDD_COMPARE_TARIFFS);
    ASSERT_NE(compare, nullptr);
    char choice[512];
    snprintf(choice, sizeof choice, string(IDS_COMPARE_TWELVE_MONTHS).c_str(), "September 2026", "September 2027");
    HWND twelve = GetDlgItem(compare, IDC_COMPARE_TWELVE_MONTHS);
    EXPECT_LE(textExtent(twelve, choice, textWidthOf(twelve), false).cx, textWidthOf(twelve));
    HWND note = GetDlgItem(compare, IDC_COMPARE_NOTE);
    GetClientRect(note, &client);
    EXPECT_LE(textExtent(note, string(IDS_COMPARE_NOTE), client.right, true).cy, client.bottom);
    DestroyWindow(compare);

    // The tariff page fills its unit labels from the unit names and the two label formats of
    // its own template.
    HWND page = createDialog(IDD_OPTIONS_TARIFFS);
    ASSERT_NE(page, nullptr);
    char costFormat[256], timeFormat[256];
    GetDlgItemTextA(page, IDC_TARIFF_COST_LABEL_FORMAT, costFormat, sizeof costFormat);
    GetDlgItemTextA(page, IDC_TARIFF_TIME_LABEL_FORMAT, timeFormat, sizeof timeFormat);
    EXPECT_NE(strstr(costFormat, "%s"), nullptr);
    EXPECT_NE(strstr(timeFormat, "%s"), nullptr);
    std::vector<std::string> texts;
    for (int unit = 0; unit < 6; ++unit) {
        char name[256], label[600];
        GetDlgItemTextA(page, IDC_TARIFF_COST_LABEL_FIRST + unit, name, sizeof name);
        EXPECT_NE(name[0], '\0') << "unit " << unit;
        snprintf(label, sizeof label, costFormat, name);
        texts.push_back(label);
        snprintf(label, sizeof label, unit >= 3 ? timeFormat : "%s", name);
        texts.push_back(label);
    }
    for (int id = IDC_TARIFF_AMOUNT_LABEL_FIRST; id <= IDC_TARIFF_COST_LABEL_LAST; ++id) {
        if (id > IDC_TARIFF_AMOUNT_LABEL_LAST && id < IDC_TARIFF_COST_LABEL_FIRST)
            continue;
        HWND label = GetDlgItem(page, id);
        GetClientRect(label, &client);
        for (const std::string& text : texts)
            EXPECT_LE(textExtent(label, text, client.right, false).cx, client.right) << id << " \"" << text << "\"";
    }
    DestroyWindow(page);
}

TEST_P(LanguageDialogTest, MnemonicsAreUniqueAndLabelsLeadToTheirControls)
{
    for (int id : { IDD_OPTIONS_TARIFFS, IDD_OPTIONS_HOLIDAYS, IDD_OPTIONS_GENERAL, IDD_OPTIONS_ALERTS,
             IDD_OPTIONS_ADAPTERS, IDD_CONFIRM, IDD_COMPARE_TARIFFS, IDD_ABOUT }) {
        SCOPED_TRACE(testing::Message() << "dialog " << id);
        HWND window = createDialog(id);
        ASSERT_NE(window, nullptr);
        std::map<char, std::string> seen;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const std::string text = windowText(child);
            const std::string name = classOf(child);
            const DWORD style = GetWindowLongA(child, GWL_STYLE);
            // Up-down arrows belong to their edit, which takes the focus in their place.
            const bool input = name != "Static" && name != "msctls_updown32"
                && !(name == "Button" && (style & BS_TYPEMASK) == BS_GROUPBOX);
            if (input) {
                EXPECT_TRUE(style & WS_TABSTOP) << "control " << GetDlgCtrlID(child) << " cannot be reached by Tab";
            }
            const size_t amp = text.find('&');
            if (amp == std::string::npos || amp + 1 >= text.size() || (name == "Static" && (style & SS_NOPREFIX)))
                continue;
            const char key
                = char(reinterpret_cast<uintptr_t>(CharLowerA(reinterpret_cast<LPSTR>(uint8_t(text[amp + 1])))));
            EXPECT_TRUE(seen.emplace(key, text).second) << "\"" << text << "\" and \"" << seen[key] << "\"";
            // A label's mnemonic moves the focus to the next control, which must be its field.
            if (name == "Static") {
                HWND next = GetWindow(child, GW_HWNDNEXT);
                ASSERT_NE(next, nullptr) << text;
                EXPECT_NE(classOf(next), "Static") << "\"" << text << "\" is not followed by its control";
            }
        }
        DestroyWindow(window);
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, LanguageModuleTest, testing::Values(kEnglish, kGerman),
    [](const auto& info) { return std::string(info.param.file).substr(0, 7); });
INSTANTIATE_TEST_SUITE_P(Modules, LanguageDialogTest, testing::Values(kEnglish, kGerman),
    [](const auto& info) { return std::string(info.param.file).substr(0, 7); });

} // namespace
