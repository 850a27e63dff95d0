// The about dialog run modally through showAboutDialog, inspected from inside its own loop.
#include <gtest/gtest.h>

#include <windows.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "core/language.h"
#include "lang/ids.h"
#include "skin/pngresource.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/optionspages.h"
#include "win32/support/dialogsupport.h"

namespace {

struct AboutSeen {
    bool found;
    RECT client;
    RECT ok;
    RECT link;
    SIZE linkText;
    std::string title;
    std::string notice;
    bool saved;
};
AboutSeen seen;

BOOL CALLBACK findAbout(HWND window, LPARAM found)
{
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") == 0 && IsWindowVisible(window) && GetDlgItem(window, IDC_ABOUT_MAIL)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

RECT clientRectOf(HWND dialog, int id)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CALLBACK inspectAbout(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findAbout, LPARAM(&dialog));
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    UpdateWindow(dialog);
    seen.found = true;
    GetClientRect(dialog, &seen.client);
    seen.ok = clientRectOf(dialog, IDOK);
    seen.link = clientRectOf(dialog, IDC_ABOUT_MAIL);
    char text[1024];
    HWND link = GetDlgItem(dialog, IDC_ABOUT_MAIL);
    const int length = GetWindowTextA(link, text, sizeof text);
    HDC dc = GetDC(link);
    HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(link, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, text, length, &seen.linkText);
    SelectObject(dc, old);
    ReleaseDC(link, dc);
    GetDlgItemTextA(dialog, IDC_ABOUT_TITLE, text, sizeof text);
    seen.title = text;
    GetDlgItemTextA(dialog, IDC_ABOUT_PNG_NOTICE, text, sizeof text);
    seen.notice = text;
    const std::string folder = screenshotFolder();
    if (!folder.empty()) {
        const char* language = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN ? "de" : "en";
        seen.saved = saveWindowPicture(dialog, (folder + "/about_" + language + ".bmp").c_str());
    }
    // Escape closes the dialog as OK does.
    PostMessageA(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST(AboutDialog, FitsItsPictureAndClosesWithEscape)
{
    prepareDialogTests();
    ASSERT_NE(LanguageModule, nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP picture = loadPngResource(screen, IDP_ABOUT_BACKGROUND);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(picture, nullptr);
    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    DeleteObject(picture);

    seen = {};
    SetTimer(nullptr, 0, 10, inspectAbout);
    EXPECT_TRUE(showAboutDialog(nullptr));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.client.right, size.bmWidth);
    EXPECT_EQ(seen.client.bottom, size.bmHeight);
    EXPECT_EQ(seen.ok.right, size.bmWidth - 10);
    EXPECT_EQ(seen.ok.bottom, size.bmHeight - 10);
    // The link is exactly as large as its text, in the bottom-left corner.
    EXPECT_EQ(seen.link.right - seen.link.left, seen.linkText.cx);
    EXPECT_EQ(seen.link.bottom - seen.link.top, seen.linkText.cy);
    EXPECT_EQ(seen.link.left, 5);
    EXPECT_LE(seen.link.bottom, size.bmHeight - 5);
    EXPECT_GT(seen.link.top, size.bmHeight / 2);

    char product[256];
    loadLanguageText(IDS_MAIN_TITLE, product, sizeof product);
    EXPECT_EQ(seen.title.rfind(product, 0), 0u) << seen.title;
    EXPECT_EQ(seen.title.substr(seen.title.size() - 6), "1.21.0");
    // The version resource Explorer shows carries the same version as the title.
    HRSRC versionResource = FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO), MAKEINTRESOURCEA(16));
    ASSERT_NE(versionResource, nullptr);
    const auto* versionBytes = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, versionResource)));
    const DWORD versionSize = SizeofResource(nullptr, versionResource);
    const DWORD signature = 0xFEEF04BD;
    const BYTE* fixed = std::search(versionBytes, versionBytes + versionSize, reinterpret_cast<const BYTE*>(&signature),
        reinterpret_cast<const BYTE*>(&signature) + sizeof signature);
    ASSERT_NE(fixed, versionBytes + versionSize);
    VS_FIXEDFILEINFO info;
    memcpy(&info, fixed, sizeof info);
    EXPECT_EQ(info.dwFileVersionMS, DWORD(1u << 16 | 21u));
    EXPECT_EQ(info.dwFileVersionLS, 0u);
    EXPECT_EQ(seen.notice, png_get_copyright(nullptr));
    if (!screenshotFolder().empty()) {
        EXPECT_TRUE(seen.saved);
    }
}

double relativeLuminance(int red, int green, int blue)
{
    auto linear = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
}

// The dialog writes white text and a light blue link straight onto the picture: every pixel
// of it must leave them legible (contrast ratios of at least 7:1 and 4.5:1).
TEST(AboutDialog, ItsTextsStayReadableAnywhereOnThePicture)
{
    HDC screen = GetDC(nullptr);
    HBITMAP picture = loadPngResource(screen, IDP_ABOUT_BACKGROUND);
    ASSERT_NE(picture, nullptr);
    BITMAP size = {};
    GetObjectA(picture, sizeof size, &size);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint8_t> pixels(size_t(size.bmWidth) * size_t(size.bmHeight) * 4);
    const int lines = GetDIBits(screen, picture, 0, UINT(size.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(picture);
    ASSERT_EQ(lines, size.bmHeight);

    double brightest = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        brightest = std::max(brightest, relativeLuminance(pixels[i + 2], pixels[i + 1], pixels[i]));
    const double white = 1.0;
    const double link = relativeLuminance(0xA0, 0xA0, 0xFF);
    EXPECT_GE((white + 0.05) / (brightest + 0.05), 7.0) << "brightest luminance " << brightest;
    EXPECT_GE((link + 0.05) / (brightest + 0.05), 4.5) << "brightest luminance " << brightest;
}

TEST(AboutDialog, WithoutALanguageModuleItCannotBeShown)
{
    prepareDialogTests();
    HMODULE module = LanguageModule;
    LanguageModule = nullptr;
    EXPECT_FALSE(showAboutDialog(nullptr));
    EXPECT_EQ(AppError, uint32_t(kErrorDialog));
    AppError = kNothingPending;
    LanguageModule = module;
}

} // namespace
