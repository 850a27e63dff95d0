#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "lang/ids.h"
#include "support/distpath.h"
#include "tariff/settings.h"
#include "ui/mainmenu.h"

namespace {

std::string itemText(HMENU menu, UINT position)
{
    char text[512] = "";
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

class MainMenu : public testing::Test {
protected:
    void SetUp() override
    {
        previousModule = LanguageModule;
        LanguageModule = LoadLibraryA(distPath("english.dll").c_str());
        ASSERT_NE(LanguageModule, nullptr);
        resetSettings();
        // A scratch program directory with its own files and folders.
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "telvane-menu-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        setProgramDirectoryFromPath((folder + "telvane.exe").c_str());
        popup = CreatePopupMenu();
        months = CreatePopupMenu();
        skins = CreatePopupMenu();
        AppendMenuA(popup, MF_POPUP, UINT_PTR(months), "Months");
        AppendMenuA(popup, MF_STRING, IDM_SAVE_SETTINGS, "Save");
        AppendMenuA(popup, MF_STRING, IDM_ABOUT, "About");
        AppendMenuA(popup, MF_POPUP, UINT_PTR(skins), "Skins");
    }
    void TearDown() override
    {
        DestroyMenu(popup);
        for (const auto& name : created)
            if (!DeleteFileA(name.c_str()))
                RemoveDirectoryA(name.c_str());
        RemoveDirectoryA(folder.c_str());
        FreeLibrary(LanguageModule);
        LanguageModule = previousModule;
        AppError = kNothingPending;
    }
    void makeFile(const std::string& name)
    {
        const std::string path = folder + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        created.insert(created.begin(), path);
    }
    void makeFolder(const std::string& name)
    {
        const std::string path = folder + name;
        CreateDirectoryA(path.c_str(), nullptr);
        created.push_back(path);
    }

    HMODULE previousModule = nullptr;
    std::string folder;
    std::vector<std::string> created;
    HMENU popup = nullptr, months = nullptr, skins = nullptr;
};

TEST_F(MainMenu, ShortcutTextsFromTheKeyNameTable)
{
    ACCEL entries[] = {
        { FVIRTKEY | FCONTROL | FSHIFT, 'S', IDM_SAVE_SETTINGS },
        { 0, 'x', IDM_ABOUT }, // a character, not a virtual key
        { FVIRTKEY | FALT, VK_F4, IDM_EXIT }, // no such item: skipped
    };
    HACCEL table = CreateAcceleratorTableA(entries, 3);
    ASSERT_TRUE(addAcceleratorTexts(table, popup));
    DestroyAcceleratorTable(table);
    EXPECT_EQ(itemText(popup, 1), "Save\tCtrl+Shift+S");
    EXPECT_EQ(itemText(popup, 2), "About\tx");
}

TEST_F(MainMenu, ShortcutTextsNeedATableAndAMenu)
{
    EXPECT_FALSE(addAcceleratorTexts(nullptr, popup));
    EXPECT_EQ(AppError, uint32_t(kErrorBitmapOrAccelerators));
}

TEST_F(MainMenu, LogMonthsAndSkinFolders)
{
    const LocalTime today = localTimeNow();
    char current[32];
    snprintf(current, sizeof current, "log_%04u%02u.zip", today.year, today.month);
    makeFile("log_200309.zip");
    makeFile(current);
    makeFile("settings.zip");
    makeFolder("default");
    makeFolder("Blue");
    strcpy(settings.skinName, "blue"); // differs from the folder only in case
    settings.languageId = 9;
    buildMainMenu(nullptr, popup);

    ASSERT_EQ(GetMenuItemCount(months), 2);
    std::map<uint32_t, std::string> byData;
    for (int i = 0; i < 2; ++i) {
        MENUITEMINFOA item {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_DATA | MIIM_ID;
        ASSERT_TRUE(GetMenuItemInfoA(months, UINT(i), TRUE, &item));
        EXPECT_EQ(item.wID, 30000u + UINT(i));
        byData[uint32_t(item.dwItemData)] = itemText(months, UINT(i));
    }
    ASSERT_EQ(byData.count(0), 1u); // the current month carries 0 and is marked
    EXPECT_EQ(byData[0].substr(byData[0].size() - 2), " *");
    ASSERT_EQ(byData.count(2003u * 65536u + 9u), 1u);
    EXPECT_EQ(byData[2003u * 65536u + 9u].find('*'), std::string::npos);

    ASSERT_EQ(GetMenuItemCount(skins), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(GetMenuState(skins, UINT(i), MF_BYPOSITION) & MF_CHECKED, 0u) << itemText(skins, UINT(i));

    strcpy(settings.skinName, "default");
    fillSkinMenu(popup);
    ASSERT_EQ(GetMenuItemCount(skins), 2);
    int checked = 0;
    for (int i = 0; i < 2; ++i)
        if (GetMenuState(skins, UINT(i), MF_BYPOSITION) & MF_CHECKED) {
            ++checked;
            EXPECT_EQ(itemText(skins, UINT(i)), "default");
        }
    EXPECT_EQ(checked, 1);
}

// Before the first month log there is nothing to choose: the sub-menu says so, greyed.
TEST_F(MainMenu, NoMonthLogYet)
{
    makeFile("settings.zip");
    buildMainMenu(nullptr, popup);
    ASSERT_EQ(GetMenuItemCount(months), 1);
    char expected[256] = "";
    LoadStringA(LanguageModule, IDS_NO_LOGS, expected, sizeof expected);
    EXPECT_NE(expected[0], '\0');
    EXPECT_EQ(itemText(months, 0), expected);
    EXPECT_NE(GetMenuState(months, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
}

} // namespace
