#include "ui/helppage.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/gzfile.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "lang/ids.h"

bool openHelpPage(HWND owner)
{
    char name[MAX_PATH], path[MAX_PATH];
    if (!languageString(IDS_HELP_FILE, name, sizeof name))
        snprintf(name, sizeof name, "help-en.html");
    const bool found = buildPathBeside(name, path, sizeof path) && isReadableFile(path);
    // ShellExecute answers with a number above 32 when the page was handed to a browser.
    if (found && INT_PTR(ShellExecuteA(owner, "open", path, nullptr, nullptr, SW_SHOWNORMAL)) > 32)
        return true;
    // A page that is not there has no system error worth telling.
    if (!found)
        setLastSystemError(0);
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", name);
    return failWith(kErrorHelpPage);
}
