#pragma once
// The help page of the language in use: a plain HTML file beside the program, opened in the
// user's web browser.
#include <windows.h>

// Opens it; false with AppError set (its name as %3) when the page is missing or no browser
// takes it.
bool openHelpPage(HWND owner);
