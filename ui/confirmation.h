#pragma once
// The confirmation dialog: a question the user may tell never to ask again.
#include <windows.h>

#include <cstdint>

#include "lang/ids.h"
#include "tariff/settings.h"

// A question: language string `stringId` (low 16 bits), and the bit of suppressedMessages
// that says it was answered for good (high 16 bits).
constexpr uint32_t confirmationOf(uint32_t stringId, uint32_t suppressionBit)
{
    return suppressionBit << 16 | stringId;
}

// The exit confirmation.
constexpr uint32_t kConfirmExit = confirmationOf(IDS_CONFIRM_EXIT, kConfirmExitBit);

// Asks `question` in a box owned by `owner`, unless its bit of suppressedMessages says it was
// answered for good; true for Yes. Without the dialog (no language module) it counts as Yes:
// refusing would leave no way to quit.
bool showConfirmation(HWND owner, uint32_t question);
