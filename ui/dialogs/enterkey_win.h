#pragma once
// Enter in a page's name field does what the button beside it does, instead of closing the
// sheet with OK: the name typed for a new tariff or holiday is added, not dropped.
#include <windows.h>

// From now on Enter in `edit` clicks the button `buttonId` of the same page; elsewhere Enter
// stays the sheet's OK.
void clickOnEnter(HWND edit, int buttonId);
