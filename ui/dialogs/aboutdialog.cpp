// The about dialog: name and version over the program's own picture, the PNG library's notice
// and a mail link.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/apperror.h"
#include "core/dpi_win.h"
#include "core/language.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "res/resource.h"
#include "skin/pngdecode.h"
#include "skin/pngresource.h"
#include "skin/skinscale.h"
#include "ui/dialogs/dialogs.h"
#include "ui/dialogs/dialogstate.h"
#include "ui/dialogs/optionspages.h"

#include "telvaneversion.h"

namespace {

constexpr COLORREF kLinkColour = 0x00FFA0A0;
constexpr COLORREF kTextColour = 0x00FFFFFF;
const char kVersion[] = TELVANE_VERSION;

// The dialog's own state while its window lives.
struct About {
    ScopedBitmap picture;
    ScopedBrush background; // the picture as a pattern brush; null when it could not be loaded
    HCURSOR hand;
};

void freePicture(About& about)
{
    about.background.reset();
    about.picture.reset();
}

void fillTitle(HWND dialog)
{
    char title[256] = "telvane";
    char product[256];
    loadLanguageText(IDS_MAIN_TITLE, product, sizeof product);
    if (product[0])
        snprintf(title, sizeof title, "%s", product);
    char templateText[256];
    GetDlgItemTextA(dialog, IDC_ABOUT_TITLE, templateText, sizeof templateText);
    strncat(title, templateText, sizeof title - strlen(title) - 1);
    strncat(title, kVersion, sizeof title - strlen(title) - 1);
    // In the dialog's own font, which grows with the screen's scale as the stock fonts do not.
    SetDlgItemTextA(dialog, IDC_ABOUT_TITLE, title);
}

RECT controlRect(HWND dialog, int id)
{
    RECT rect = {};
    HWND control = GetDlgItem(dialog, id);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void place(HWND dialog, int id, int x, int y, int width, int height)
{
    if (HWND control = GetDlgItem(dialog, id))
        SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The margins are 5 and 10 pixels at 96 DPI, `dpi` scales them with the picture.
void layOut(HWND dialog, int width, int height, uint32_t dpi)
{
    const int margin = scaleToDpi(5, dpi), wide = scaleToDpi(10, dpi);
    RECT ok = controlRect(dialog, IDOK);
    const int okWidth = ok.right - ok.left, okHeight = ok.bottom - ok.top;
    place(dialog, IDOK, width - okWidth - wide, height - okHeight - wide, okWidth, okHeight);
    for (int id : { IDC_ABOUT_TITLE, IDC_ABOUT_TEXT3 }) {
        RECT rect = controlRect(dialog, id);
        place(dialog, id, width - margin - (rect.right - rect.left), rect.top, rect.right - rect.left,
            rect.bottom - rect.top);
    }
    for (int id : { IDC_ABOUT_TEXT1, IDC_ABOUT_PNG_NOTICE }) {
        RECT rect = controlRect(dialog, id);
        place(dialog, id, margin, rect.top, width - 2 * margin, rect.bottom - rect.top);
    }
    RECT mail = controlRect(dialog, IDC_ABOUT_MAIL);
    const int mailHeight = mail.bottom - mail.top;
    const int mailTop = height - mailHeight - margin;
    place(dialog, IDC_ABOUT_MAIL, margin, mailTop, mail.right - mail.left, mailHeight);
    // The line above the link ends 10 pixels above the picture's foot, or at the link's top
    // when a line of the dialog's font is higher than that gap.
    RECT text2 = controlRect(dialog, IDC_ABOUT_TEXT2);
    const int text2Height = text2.bottom - text2.top;
    int text2Top = height - text2Height - margin - wide;
    if (text2Top + text2Height > mailTop)
        text2Top = mailTop - text2Height;
    place(dialog, IDC_ABOUT_TEXT2, margin, text2Top, width - 2 * margin, text2Height);
}

void openDialog(About& about, HWND dialog)
{
    fillTitle(dialog);
    SetDlgItemTextA(dialog, IDC_ABOUT_PNG_NOTICE, pngLibraryCopyright());

    // The picture at the dialog's scale, so that the texts, which grow with it, keep their room.
    const uint32_t dpi = windowDpi(dialog);
    about.picture.reset(loadScaledPngResource(ScopedWindowDc(dialog).get(), IDP_ABOUT_BACKGROUND, dpi));
    BITMAP size = {};
    if (about.picture.get() != nullptr && GetObjectA(about.picture.get(), sizeof size, &size))
        about.background.reset(CreatePatternBrush(about.picture.get()));
    if (about.background.get() == nullptr) {
        // Without its picture the dialog keeps the template's size and the system's colours.
        AppError = kNothingPending;
        freePicture(about);
    } else {
        const int width = size.bmWidth, height = size.bmHeight;
        RECT frame = { (GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2,
            (GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2, 0, 0 };
        frame.right = frame.left + width;
        frame.bottom = frame.top + height;
        adjustWindowRectAt(
            &frame, DWORD(GetWindowLongA(dialog, GWL_STYLE)), DWORD(GetWindowLongA(dialog, GWL_EXSTYLE)), dpi);
        SetWindowPos(dialog, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
            SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(dialog, width, height, dpi);
    }
    about.hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND
}

void drawLink(const DRAWITEMSTRUCT* item)
{
    char text[1024];
    const int length = GetWindowTextA(item->hwndItem, text, sizeof text);
    const ScopedSelection font(item->hDC, HGDIOBJ(SendMessageA(item->hwndItem, WM_GETFONT, 0, 0)));
    SIZE extent = {};
    GetTextExtentPoint32A(item->hDC, text, length, &extent);
    SetWindowPos(item->hwndItem, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTextColor(item->hDC, kLinkColour);
    SetBkMode(item->hDC, TRANSPARENT);
    TextOutA(item->hDC, 0, 0, text, length);
    // Underscores clipped to the text's own width underline it exactly.
    static const char underline[] = "__________________________________________________";
    RECT clip = { 0, 0, extent.cx, extent.cy };
    ExtTextOutA(item->hDC, 0, 0, ETO_CLIPPED, &clip, underline, sizeof underline - 1, nullptr);
}

void openMail(HWND dialog)
{
    char address[256], url[300];
    GetDlgItemTextA(dialog, IDC_ABOUT_MAIL, address, sizeof address);
    snprintf(url, sizeof url, "mailto:%s?subject=OS:", address);
    ShellExecuteA(nullptr, nullptr, url, nullptr, nullptr, SW_HIDE);
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* about = createDialogState<About>(dialog);
        if (about == nullptr) {
            EndDialog(dialog, 0); // reported as a dialog that could not be shown
            return TRUE;
        }
        openDialog(*about, dialog);
        return TRUE;
    }
    // Messages before WM_INITDIALOG find no state: the system's colours and cursor then.
    About* about = dialogState<About>(dialog);
    switch (message) {
    case WM_CTLCOLORDLG:
        return INT_PTR(about != nullptr ? about->background.get() : nullptr);
    case WM_CTLCOLORSTATIC:
        if (about == nullptr || about->background.get() == nullptr)
            return 0;
        SetBkMode(HDC(wParam), TRANSPARENT);
        SetTextColor(HDC(wParam), kTextColour);
        return INT_PTR(GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM:
        if (wParam == IDC_ABOUT_MAIL) {
            drawLink(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_SETCURSOR:
        // The hand belongs to the link alone; the static class's own cursor stays as it is for
        // every other label of the program.
        if (HWND(wParam) == GetDlgItem(dialog, IDC_ABOUT_MAIL) && about != nullptr && about->hand) {
            SetCursor(about->hand);
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            if (about != nullptr)
                freePicture(*about);
            EndDialog(dialog, 1);
            return TRUE;
        case IDC_ABOUT_MAIL:
            if (HIWORD(wParam) == STN_CLICKED)
                openMail(dialog);
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        freeDialogState<About>(dialog);
        return FALSE;
    }
    return FALSE;
}

} // namespace

bool showAboutDialog(HWND owner)
{
    const INT_PTR result = DialogBoxParamA(LanguageModule, MAKEINTRESOURCEA(IDD_ABOUT), owner, aboutDialogProc, 0);
    if (LanguageModule == nullptr || result == -1 || result == 0)
        return failWith(kErrorDialog);
    return true;
}
