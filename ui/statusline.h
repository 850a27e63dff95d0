#pragma once
// The main window's status line: a message (a menu hint, an alert, a failed dial), or, while
// none shows, every running connection with its time online and its cost so far.
#include <cstddef>
#include <cstdint>

#include "ui/mainwindowstate.h"

// Shows `text` in place of the running connections; an empty text gives the line back to them.
void showStatusMessage(MainWindowState* state, const char* text);

// At each paint: while no message shows, the line is the running connections' as they stand
// now (empty offline). A message gives way to them once it has shown as long as a balloon does;
// offline it stays.
void refreshConnectionStatus(MainWindowState* state);

// The running connection at `index` written with language pattern `patternId`: %1 its name,
// %2 its address, %3 its time online (h:mm:ss), %4 its cost so far under the active tariff.
// False past the last connection.
bool runningConnectionText(uint32_t index, uint32_t patternId, char* text, size_t size);
