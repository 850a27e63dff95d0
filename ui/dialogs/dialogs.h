#pragma once
// The options sheet and the about dialog, as the main window runs them.
#include <windows.h>

// The modeless options sheet (tariffs, holidays, general options), for the loop that runs it:
// createOptionsSheet (optionspages.h) makes it; every message of the loop goes first to
// takeOptionsSheetMessage, which has the help panel follow the pointer and gives the sheet its
// keys, true when the sheet took the message; after each message isOptionsSheetClosed tells
// whether OK or Cancel ended it (the sheet has no page then); closeOptionsSheet enables the
// owner again before the sheet goes, so the focus returns to the owner.
bool takeOptionsSheetMessage(HWND sheet, MSG& message);
bool isOptionsSheetClosed(HWND sheet);
void closeOptionsSheet(HWND sheet, HWND owner);

// Runs the about dialog modally, owned by `owner`. False, with AppError set to kErrorDialog,
// when it cannot be shown.
bool showAboutDialog(HWND owner);
