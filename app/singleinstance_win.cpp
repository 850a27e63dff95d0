#include "app/singleinstance.h"

#include <cstdio>
#include <cstring>

#include "core/programdirectory.h"
#include "ui/mainwindow.h"

namespace {

// Named after the folder, so copies in other folders, with files of their own, run side by
// side. Holds the main window's handle for the next start to find.
HANDLE folderClaim;
HWND* publishedWindow;

constexpr int kWaitForWindowMs = 5000;
constexpr int kStepMs = 50;

void claimName(char* name, size_t size)
{
    // Object names may not contain backslashes beyond their namespace prefix.
    snprintf(name, size, "Local\\telvane:%s", programDirectory);
    for (char* c = name + strlen("Local\\"); *c != '\0'; ++c)
        if (*c == '\\')
            *c = '/';
}

bool showRunningWindow(HWND* shared)
{
    // The running copy may still be starting: its window comes a moment later.
    for (int waited = 0; waited < kWaitForWindowMs; waited += kStepMs) {
        HWND window = *static_cast<HWND volatile*>(shared);
        if (window != nullptr && IsWindow(window)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            AllowSetForegroundWindow(owner);
            PostMessageA(window, showInstanceMessage(), 0, 0);
            return true;
        }
        Sleep(kStepMs);
    }
    return false;
}

} // namespace

FolderClaim claimProgramFolder()
{
    char name[MAX_PATH + 32];
    claimName(name, sizeof name);
    folderClaim = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(HWND), name);
    if (folderClaim == nullptr)
        return FolderClaim::claimed; // nothing to coordinate with: run as the only copy
    const bool alreadyClaimed = GetLastError() == ERROR_ALREADY_EXISTS;
    publishedWindow = static_cast<HWND*>(MapViewOfFile(folderClaim, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HWND)));
    if (!alreadyClaimed)
        return FolderClaim::claimed;
    // The running copy may be held up by a message of its start or its end, before its window
    // is there or after it is gone.
    return publishedWindow != nullptr && showRunningWindow(publishedWindow) ? FolderClaim::shownRunning
                                                                            : FolderClaim::runningUnseen;
}

void publishMainWindow(HWND window)
{
    if (publishedWindow != nullptr)
        *publishedWindow = window;
}
