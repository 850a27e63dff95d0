#pragma once
// The options sheet and the about dialog, as the main window runs them.
#include <windows.h>

#include <cstdint>

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

// Runs the comparison of tariffs modally, owned by `owner`, for month `shownKey` (0: the current
// month) or the twelve months up to it. `chosen` gets the tariff the user made active there, -1
// for none. False, with AppError set to kErrorDialog, when it cannot be shown.
bool showCompareDialog(HWND owner, uint32_t shownKey, int32_t* chosen);
