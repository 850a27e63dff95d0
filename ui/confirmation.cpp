// The confirmation dialog (template 210 of the language module).
#include "ui/confirmation.h"

#include "core/language.h"
#include "core/platform.h"

namespace {

INT_PTR CALLBACK confirmationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const uint32_t question = uint32_t(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(question));
        const uint32_t bit = question >> 16;
        if (bit < 32 && (settings.suppressedMessages & (1u << bit)) != 0) {
            EndDialog(dialog, IDYES);
            return TRUE;
        }
        char text[1024];
        languageString(question & 0xFFFF, text, sizeof text);
        SetDlgItemTextA(dialog, IDC_CONFIRM_QUESTION, text);
        return TRUE;
    }
    case WM_COMMAND: {
        const UINT button = LOWORD(wParam);
        if (button != IDYES && button != IDNO)
            return FALSE;
        const uint32_t bit = uint32_t(GetWindowLongPtrA(dialog, DWLP_USER)) >> 16;
        if (bit < 32 && IsDlgButtonChecked(dialog, IDC_CONFIRM_DONT_ASK) == BST_CHECKED)
            settings.suppressedMessages |= 1u << bit;
        EndDialog(dialog, button);
        return TRUE;
    }
    }
    return FALSE;
}

} // namespace

bool showConfirmation(HWND owner, uint32_t question)
{
    const INT_PTR answer
        = DialogBoxParamA(LanguageModule, MAKEINTRESOURCEA(IDD_CONFIRM), owner, confirmationProc, LPARAM(question));
    // Without the dialog there is nobody to ask; refusing would leave no way to quit.
    return answer == IDYES || answer == -1 || answer == 0;
}
