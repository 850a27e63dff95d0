#pragma once
// One telvane per program folder: two copies would write the same files.
#include <windows.h>

enum class FolderClaim {
    claimed, // this process is the folder's telvane
    shownRunning, // another telvane of the folder runs and has been asked to show its window
    runningUnseen, // another telvane of the folder runs, but its window did not come in time
};

// Claims the program folder for this process. Unless it is claimed, another telvane of the same
// folder runs, and this process must end without writing anything.
FolderClaim claimProgramFolder();

// Tells a later start which window to bring to the front.
void publishMainWindow(HWND window);
