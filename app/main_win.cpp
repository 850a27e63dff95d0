// telvane's entry point.
#include <windows.h>

#include "app/commandline.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/apperror.h"
#include "core/crashfilter.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "tariff/settings.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // A fault anywhere on the program's thread ends in the crash report, which lets the user
    // resume or quit.
    SetUnhandledExceptionFilter(crashFilter);
    ownInstance = instance;
    findProgramDirectory();
    // A script's export reads the files a running telvane of the folder keeps and writes none of
    // them, so it runs beside it.
    if (const int commandCode = runCommandLine(commandLine); commandCode != kNoCommand)
        return commandCode;
    // A second start of the same folder shows the running telvane and writes nothing.
    switch (claimProgramFolder()) {
    case FolderClaim::claimed:
        break;
    case FolderClaim::shownRunning:
        return 0;
    case FolderClaim::runningUnseen:
        // Nothing else would tell the user why this start ended.
        resetSettings();
        loadLanguage(settings.languageId);
        setLastSystemError(0); // the claim's "already exists" is no failure
        reportError(kErrorNotAnswering);
        return 0;
    }
    HWND window = startUp();
    if (window == nullptr) {
        reportError(0);
        return 1;
    }
    const int exitCode = runMainLoop(window);
    shutDown();
    return exitCode;
}
