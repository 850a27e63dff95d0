#pragma once
// What the region tool's model asks of its window. rimcutter implements it on the real
// window (regiontoolwindow_win.cpp); the unit tests record the calls.
#include <cstddef>

// Status bar part: 0 the prompt, 1 the cursor position.
void setToolStatusText(int part, const char* text);

// Invalidates the whole client area without erasing the background.
void repaintToolWindow();

// Empties the clipboard and puts `length` bytes of text (followed by its terminating zero) on
// it as plain text; a null text, or memory that cannot be had, leaves it empty. True when the
// text is on the clipboard.
bool putTextOnClipboard(const char* text, size_t length);

// A message box owned by the tool window, with the system's default caption and OK.
void showToolMessage(const char* text);

// A question owned by the tool window with Yes and No; true for Yes.
bool askToolQuestion(const char* text);
