#include "win32/support/dialogsupport.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/language.h"

namespace {

int closed;
int closingAnswer = IDOK;
std::string closedText;

BOOL CALLBACK collectText(HWND child, LPARAM text)
{
    char className[16], buffer[1024];
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(child, buffer, sizeof buffer) > 0)
        *reinterpret_cast<std::string*>(text) += buffer;
    return TRUE;
}

BOOL CALLBACK closeMessageBox(HWND window, LPARAM)
{
    char className[16];
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0 || !IsWindowVisible(window)
        || FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr))
        return TRUE;
    closedText.clear();
    EnumChildWindows(window, collectText, LPARAM(&closedText));
    ++closed;
    PostMessageA(window, WM_COMMAND, closingAnswer, 0);
    return TRUE;
}

void CALLBACK closeMessageBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), closeMessageBox, 0);
}

} // namespace

void prepareDialogTests()
{
    static bool prepared;
    if (prepared)
        return;
    prepared = true;
    INITCOMMONCONTROLSEX controls = { sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES };
    InitCommonControlsEx(&controls);
    const bool german = PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN;
    const std::string path = std::string("Z:") + TELVANE_DIST_DIR + (german ? "/deutsch.dll" : "/english.dll");
    LanguageModule = LoadLibraryA(path.c_str());
}

void pumpMessages(HWND sheet)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (sheet && IsWindow(sheet) && PropSheet_IsDialogMessage(sheet, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

DialogCloser::DialogCloser(int answer)
{
    closed = 0;
    closingAnswer = answer;
    closedText.clear();
    timer = SetTimer(nullptr, 0, 20, closeMessageBoxes);
}

DialogCloser::~DialogCloser() { KillTimer(nullptr, timer); }

int DialogCloser::closedCount() const { return closed; }
std::string DialogCloser::lastText() const { return closedText; }

bool saveWindowPicture(HWND window, const char* path)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    pumpMessages(nullptr);
    RECT rect;
    GetWindowRect(window, &rect);
    return saveScreenPicture(rect, path);
}

bool saveScreenPicture(const RECT& rect, const char* path)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(size_t(stride) * height);
    GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    FILE* out = fopen(path, "wb");
    if (!out)
        return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&header, sizeof header, 1, out);
    fwrite(pixels.data(), 1, pixels.size(), out);
    return fclose(out) == 0;
}

std::string screenshotFolder()
{
    const char* folder = getenv("TELVANE_SCREENSHOTS");
    return folder ? folder : "";
}
