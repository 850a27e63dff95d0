#include "ui/dialogs/enterkey_win.h"

#include <commctrl.h>

namespace {

constexpr UINT_PTR kEnterSubclass = 0x454E;

LRESULT CALLBACK enterKeyProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR buttonId)
{
    switch (message) {
    case WM_GETDLGCODE: {
        // The dialog manager asks before it turns Enter into the default button.
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return DefSubclassProc(edit, message, wParam, lParam) | DLGC_WANTMESSAGE;
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            HWND page = GetParent(edit);
            HWND button = GetDlgItem(page, int(buttonId));
            if (button != nullptr && IsWindowEnabled(button))
                SendMessageA(page, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), LPARAM(button));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\r')
            return 0; // no beep from a single-line edit
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(edit, enterKeyProc, kEnterSubclass);
        break;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void clickOnEnter(HWND edit, int buttonId)
{
    SetWindowSubclass(edit, enterKeyProc, kEnterSubclass, DWORD_PTR(buttonId));
}
