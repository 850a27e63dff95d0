#pragma once
// One telvane per program folder: two copies would write the same files.
#include <windows.h>

// Claims the program folder for this process. False when another telvane of the same folder
// runs: its window has then been asked to show itself, and this process must end without
// writing anything.
bool claimProgramFolder();

// Tells a later start which window to bring to the front.
void publishMainWindow(HWND window);
