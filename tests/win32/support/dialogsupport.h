#pragma once
// Helpers for tests that drive telvane's dialogs on this thread.
#include <windows.h>

#include <string>

// Common controls, and the language module of the user's language (deutsch.dll for German,
// english.dll otherwise) from the build's dist folder, once per process.
void prepareDialogTests();

// Handles every waiting message, passing them through `dialog`'s keyboard handling when given
// (a property sheet).
void pumpMessages(HWND sheet);

// While it lives, answers every message box of this thread with `answer` (OK, Yes or No) and
// keeps what it said.
class DialogCloser {
public:
    explicit DialogCloser(int answer = IDOK);
    ~DialogCloser();
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;
    int closedCount() const;
    std::string lastText() const;

private:
    UINT_PTR timer;
};

// The window as it shows on the screen, written as a 24-bit BMP file.
bool saveWindowPicture(HWND window, const char* path);
// A part of the screen, the same way.
bool saveScreenPicture(const RECT& rect, const char* path);

// The folder named by TELVANE_SCREENSHOTS, or empty when pictures are not wanted.
std::string screenshotFolder();
