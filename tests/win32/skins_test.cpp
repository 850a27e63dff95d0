// The skins the build installs: complete, shaped, and with room for the longest texts the
// main window draws into them.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/programdirectory.h"
#include "skin/skin.h"
#include "skin/skinscale.h"

namespace {

// The installed skins lie in dist/; the program directory is set to it as a Windows path.
void useDistFolder()
{
    CoInitialize(nullptr);
    std::string path = TELVANE_DIST_DIR;
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path[0] == '\\')
        path = "Z:" + path;
    snprintf(programDirectory, sizeof programDirectory, "%s\\", path.c_str());
    programDirectoryLength = static_cast<uint32_t>(strlen(programDirectory));
}

SIZE textSize(HFONT font, const char* text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : skin.fonts[kFontText]);
    SIZE size {};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    SelectObject(dc, old);
    DeleteDC(dc);
    return size;
}

int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

class InstalledSkin : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        memcpy(savedDirectory_, programDirectory, sizeof savedDirectory_);
        useDistFolder();
        ASSERT_TRUE(loadSkin(GetParam(), kDesignDpi));
    }
    void TearDown() override
    {
        releaseSkin();
        memcpy(programDirectory, savedDirectory_, sizeof savedDirectory_);
        programDirectoryLength = static_cast<uint32_t>(strlen(programDirectory));
    }

private:
    char savedDirectory_[sizeof programDirectory];
};

TEST_P(InstalledSkin, IsCompleteAndShaped)
{
    EXPECT_EQ(skin.windowWidth, 434);
    EXPECT_EQ(skin.windowHeight, 334);
    for (uint32_t element = 1; element < kSkinElementCount; ++element) {
        if (element == kElementUnnamed)
            continue;
        EXPECT_GT(width(skin.rects[element]), 0) << element;
        EXPECT_GT(height(skin.rects[element]), 0) << element;
    }
    const RECT log = skin.rects[kElementLog];
    EXPECT_EQ(log.left, 38);
    EXPECT_EQ(log.top, 185);
    EXPECT_EQ(log.right, 396);
    EXPECT_EQ(log.bottom, 301);

    // Backgrounds of the window's size, and three states of every button at the button's size.
    for (uint32_t state : { kButtonEnabled, kButtonDisabled }) {
        BITMAP picture {};
        ASSERT_NE(skinPicture(kElementMainWindow, state), nullptr) << state;
        GetObjectA(skinPicture(kElementMainWindow, state), sizeof picture, &picture);
        EXPECT_EQ(picture.bmWidth, 434);
        EXPECT_EQ(picture.bmHeight, 334);
    }
    for (uint32_t button : { kElementMenuButton, kElementMinimizeButton, kElementCloseButton, kElementTariffButton }) {
        for (uint32_t state : { kButtonEnabled, kButtonHilight, kButtonPressed }) {
            BITMAP picture {};
            ASSERT_NE(skinPicture(button, state), nullptr) << button << " " << state;
            GetObjectA(skinPicture(button, state), sizeof picture, &picture);
            EXPECT_EQ(picture.bmWidth, width(skin.rects[button]));
            EXPECT_EQ(picture.bmHeight, height(skin.rects[button]));
        }
    }
    for (uint32_t font = 0; font < kSkinFontCount; ++font)
        EXPECT_NE(skin.fonts[font], nullptr) << font;

    // An outline, not a rectangle: inside the window box, with corners cut away.
    HRGN outline = skin.regions[kElementMainWindow];
    ASSERT_NE(outline, nullptr);
    RECT box {};
    GetRgnBox(outline, &box);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, 434);
    EXPECT_LE(box.bottom, 334);
    int inside = 0;
    for (POINT corner : { POINT { 0, 0 }, POINT { 433, 0 }, POINT { 0, 333 }, POINT { 433, 333 } })
        inside += PtInRegion(outline, corner.x, corner.y) ? 1 : 0;
    EXPECT_EQ(inside, 0);
    // Every text area and button lies wholly inside the outline, so nothing drawn is cut.
    for (uint32_t element = 1; element < kSkinElementCount; ++element) {
        if (element == kElementUnnamed)
            continue;
        const RECT& r = skin.rects[element];
        for (POINT corner : { POINT { r.left, r.top }, POINT { r.right - 1, r.top }, POINT { r.left, r.bottom - 1 },
                 POINT { r.right - 1, r.bottom - 1 } })
            EXPECT_TRUE(PtInRegion(outline, corner.x, corner.y)) << element << " at " << corner.x << "," << corner.y;
    }
}

TEST_P(InstalledSkin, HasRoomForTheLongestTexts)
{
    // The German heading with the longest month name, and the longest German status hint.
    const SIZE heading = textSize(skin.fonts[kFontHeading], "Statistik f\xfcr September 2026");
    EXPECT_LE(heading.cx, width(skin.rects[kElementHeading]));
    EXPECT_LE(heading.cy, height(skin.rects[kElementHeading]));
    const SIZE status = textSize(skin.fonts[kFontText],
        "\xd6"
        "ffnet die Optionen: Tarife, Feiertage und allgemeine Einstellungen.");
    EXPECT_LE(status.cx, width(skin.rects[kElementStatusText]));
    EXPECT_LE(status.cy, height(skin.rects[kElementStatusText]));

    // Three summary rows of the height of "0".
    const SIZE zero = textSize(skin.fonts[kFontSummary], "0");
    EXPECT_LE(3 * zero.cy, height(skin.rects[kElementSummary]));

    // The Summary's labels in the Text font: the longest row name of either language beside
    // the rows, the longest column heading within a column.
    for (const char* name : { "Main period", "Dieser Monat", "Secondary" })
        EXPECT_LE(textSize(skin.fonts[kFontText], name).cx, width(skin.rects[kElementSummaryRows])) << name;
    const int column = width(skin.rects[kElementSummary]) / 4;
    for (const char* heading : { "Left (+ over)",
             "Rest (+ dar\xfc"
             "ber)",
             "Verbraucht" })
        EXPECT_LT(textSize(skin.fonts[kFontText], heading).cx, column) << heading;
    // The headings stand over the rows, the list's over the list.
    EXPECT_LE(skin.rects[kElementSummaryColumns].bottom, skin.rects[kElementSummary].top);
    EXPECT_LE(skin.rects[kElementLogColumns].bottom, skin.rects[kElementLog].top);
    // Under the charts, the longest month totals with the running connections' share.
    EXPECT_LE(
        textSize(skin.fonts[kFontText], "100.0 MB (davon 100.0 MB online)").cx, width(skin.rects[kElementDataSummary]));
    EXPECT_LE(textSize(skin.fonts[kFontText], "30 d 23:59 (davon 23:59:59 online)").cx,
        width(skin.rects[kElementTimeSummary]));

    // The connection list's columns are as wide as their widest texts or headings, at least a
    // digit's width apart: the longest row of either locale fits the list, in the fonts it may
    // be drawn in.
    const char* longestHeadings[] = { "Datum", "Beginn", "Length", "Volume", "Kosten", "Time so far", "Menge bisher" };
    for (LCID locale : { MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT),
             MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT) }) {
        SYSTEMTIME longest {};
        longest.wYear = 2026;
        longest.wMonth = 12;
        longest.wDay = 28;
        longest.wHour = 22;
        longest.wMinute = 58;
        longest.wSecond = 58;
        char date[64] = "", time[64] = "", money[64] = "";
        GetDateFormatA(locale, DATE_SHORTDATE, &longest, nullptr, date, sizeof date);
        GetTimeFormatA(locale, 0, &longest, nullptr, time, sizeof time);
        GetCurrencyFormatA(locale, 0, "100.00", nullptr, money, sizeof money);
        for (uint32_t font : { kFontSummary, kFontText }) {
            int row = 0, index = 0;
            for (const char* cell : { static_cast<const char*>(date), static_cast<const char*>(time), "23:59:59",
                     "100.0 MB", static_cast<const char*>(money), "30 d 23:59", "100.0 MB" })
                row += std::max(
                    textSize(skin.fonts[font], cell).cx, textSize(skin.fonts[kFontText], longestHeadings[index++]).cx);
            const int f = textSize(skin.fonts[font], "0").cx;
            EXPECT_LE(row + 6 * f, width(skin.rects[kElementLog]))
                << locale << " font " << font << ": " << date << " " << time << " " << money;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, InstalledSkin, testing::Values("default", "paper"));

} // namespace
