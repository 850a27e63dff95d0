// The main menu's run-time parts.
#include "ui/mainmenu.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "tariff/settings.h"
#include "ui/datetext.h"
#include "ui/menulists.h"

namespace {

constexpr int kMenuTextSize = 256;

// The key name of a virtual-key code from the module's table: at most 16 characters, whatever
// the table holds.
std::string keyName(const char* table, unsigned key)
{
    const char* entry = table + key * KEY_NAME_SIZE;
    return std::string(entry, strnlen(entry, KEY_NAME_SIZE - 1));
}

// Every name the file system gives for `pattern` beside the program, with its folder flag.
std::vector<std::pair<std::string, bool>> listProgramDirectory(const char* pattern)
{
    std::vector<std::pair<std::string, bool>> names;
    char path[MAX_PATH];
    if (!buildPathBeside(pattern, path, sizeof path))
        return names;
    ScopedFind search(path);
    if (!search.isOpen())
        return names;
    do
        names.emplace_back(search.found().cFileName, (search.found().dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    while (search.next());
    return names;
}

void emptyMenu(HMENU menu)
{
    while (GetMenuItemCount(menu) > 0)
        if (!DeleteMenu(menu, 0, MF_BYPOSITION))
            break;
}

void insertItem(HMENU menu, UINT position, UINT id, const char* text, ULONG_PTR data, UINT state)
{
    MENUITEMINFOA item {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_STATE;
    item.wID = id;
    item.dwTypeData = const_cast<char*>(text);
    item.dwItemData = data;
    item.fState = state;
    InsertMenuItemA(menu, position, TRUE, &item);
}

} // namespace

bool addAcceleratorTexts(HACCEL accelerators, HMENU menu)
{
    if (accelerators == nullptr || menu == nullptr) {
        SetLastError(0);
        return failWith(kErrorBitmapOrAccelerators);
    }
    HRSRC found = FindResourceA(LanguageModule, MAKEINTRESOURCEA(IDR_KEY_NAMES), MAKEINTRESOURCEA(RT_KEY_NAMES));
    if (found == nullptr) {
        MessageArguments.number1 = IDR_KEY_NAMES;
        languageString(IDS_MISSING_KEY_NAMES, MessageArguments.text1, sizeof MessageArguments.text1);
        return failWith(kErrorResourceMissing);
    }
    HGLOBAL loaded = LoadResource(LanguageModule, found);
    // A table shorter than 256 names would be read past its end.
    if (loaded == nullptr || SizeofResource(LanguageModule, found) < KEY_NAME_SIZE * KEY_NAME_COUNT)
        return failWith(kErrorResourceLoad);
    const char* keyNames = static_cast<const char*>(LockResource(loaded));
    if (keyNames == nullptr)
        return failWith(kErrorResourceLock);

    const std::string control = keyName(keyNames, VK_CONTROL) + "+";
    const std::string alt = keyName(keyNames, VK_MENU) + "+";
    const std::string shift = keyName(keyNames, VK_SHIFT) + "+";

    const int count = CopyAcceleratorTableA(accelerators, nullptr, 0);
    if (count <= 0)
        return true;
    const std::unique_ptr<ACCEL[]> entries(new (std::nothrow) ACCEL[size_t(count)]);
    if (!entries) {
        SetLastError(0);
        return failWith(kErrorNoMemory);
    }
    CopyAcceleratorTableA(accelerators, entries.get(), count);
    for (int i = 0; i < count; ++i) {
        const ACCEL& entry = entries[i];
        char text[kMenuTextSize];
        if (GetMenuStringA(menu, entry.cmd, text, sizeof text, MF_BYCOMMAND) <= 0)
            continue;
        std::string shortcut = "\t";
        if (entry.fVirt & FCONTROL)
            shortcut += control;
        if (entry.fVirt & FALT)
            shortcut += alt;
        if (entry.fVirt & FSHIFT)
            shortcut += shift;
        if (entry.fVirt & FVIRTKEY)
            shortcut += keyName(keyNames, entry.key & 0xFF);
        else
            shortcut += char(entry.key);
        const size_t used = strlen(text);
        snprintf(text + used, sizeof text - used, "%s", shortcut.c_str());
        ModifyMenuA(menu, entry.cmd, MF_BYCOMMAND | MF_STRING, entry.cmd, text);
    }
    return true;
}

void fillLogMonthMenu(HMENU popup)
{
    HMENU months = GetSubMenu(popup, MAIN_MENU_POS_LOG_MONTHS);
    if (months == nullptr)
        return;
    emptyMenu(months);
    const auto found = listProgramDirectory("log_??????.zip");
    std::vector<const char*> names;
    for (const auto& entry : found)
        names.push_back(entry.first.c_str());
    // Before the first log there is nothing to choose: the current month is what is shown. Once
    // there are logs, the current month is always among the items.
    if (names.empty()) {
        char empty[kMenuTextSize];
        languageString(IDS_NO_LOGS, empty, sizeof empty);
        insertItem(months, 0, 0, empty, 0, MFS_GRAYED);
        return;
    }
    LogMonthItem items[kLogMonthMaxItems];
    const int count = logMonthItems(names.data(), int(names.size()), localTimeNow(), items);
    for (int i = 0; i < count; ++i) {
        char text[260 + 2] = {};
        monthYearText(items[i].year, items[i].month, text, 260);
        if (items[i].current)
            strcat(text, " *");
        insertItem(months, UINT(i), IDM_LOG_MONTH_FIRST + UINT(i), text, items[i].data, 0);
    }
}

void fillSkinMenu(HMENU popup)
{
    HMENU skins = GetSubMenu(popup, MAIN_MENU_POS_SKINS);
    if (skins == nullptr)
        return;
    emptyMenu(skins);
    const auto found = listProgramDirectory("*");
    std::vector<FolderEntry> entries;
    for (const auto& entry : found)
        entries.push_back({ entry.first.c_str(), entry.second });
    SkinItem items[kSkinMaxItems];
    const int count = skinItems(entries.data(), int(entries.size()), settings.skinName, items);
    for (int i = 0; i < count; ++i) {
        char text[2 * MAX_PATH];
        menuItemText(items[i].name, text, sizeof text);
        insertItem(skins, UINT(i), IDM_SKIN_FIRST + UINT(i), text, 0, items[i].checked ? MFS_CHECKED : 0);
    }
}

void buildMainMenu(MainWindowState* state, HMENU popup)
{
    if (popup == nullptr)
        return;
    CheckMenuItem(
        popup, IDM_YEAR_VIEW, MF_BYCOMMAND | (state != nullptr && state->year.shown ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDM_LANGUAGE_GERMAN,
        MF_BYCOMMAND | (settings.languageId == kLanguageGerman ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDM_LANGUAGE_ENGLISH,
        MF_BYCOMMAND | (settings.languageId == kLanguageEnglish ? MF_CHECKED : MF_UNCHECKED));
    fillLogMonthMenu(popup);
    fillSkinMenu(popup);
}
