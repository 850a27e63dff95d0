// telvane's entry point.
#include <windows.h>

#include "app/commandline.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "core/apperror.h"
#include "core/crashfilter.h"
#include "core/programdirectory.h"

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
    if (!claimProgramFolder())
        return 0;
    HWND window = startUp();
    if (window == nullptr)
        return int(reportError(0));
    const int exitCode = runMainLoop(window);
    shutDown();
    return exitCode;
}
