#include "app/usage.h"

#include <windows.h>

#include <cstring>

#include "core/language.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "tariff/settings.h"

namespace {

bool isHelpSwitch(const char* word, size_t length)
{
    for (const char* help : { "/?", "-?", "/h", "-h", "/help", "-help", "--help" })
        if (strlen(help) == length && _strnicmp(word, help, length) == 0)
            return true;
    return false;
}

// The caller's standard output or error: a redirected one as it is, otherwise the console the
// program was started from, which a program without a console of its own reaches only by
// attaching to it. False when there is neither.
bool writeToCaller(DWORD which, const char* text)
{
    HANDLE handle = GetStdHandle(which);
    const bool redirected = handle != nullptr && handle != INVALID_HANDLE_VALUE;
    const ScopedFile console(!redirected && AttachConsole(ATTACH_PARENT_PROCESS) ? CreateFileA("CONOUT$", GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)
                                                                                 : INVALID_HANDLE_VALUE);
    if (!redirected)
        handle = console.get();
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0, mode = 0;
    if (GetConsoleMode(handle, &mode))
        return WriteConsoleA(handle, text, DWORD(strlen(text)), &written, nullptr) != 0;
    return WriteFile(handle, text, DWORD(strlen(text)), &written, nullptr) != 0;
}

} // namespace

int runUsageCommand(const char* commandLine)
{
    const char* word = commandLine != nullptr ? commandLine : "";
    while (*word == ' ' || *word == '\t')
        ++word;
    if (*word != '/' && *word != '-')
        return kNoUsageCommand;
    const size_t length = strcspn(word, " \t");
    const bool asked = isHelpSwitch(word, length);

    // The user's own language: the usage reads no file of the program's.
    resetSettings();
    loadLanguage(settings.languageId);
    char usage[4096], title[256];
    languageString(IDS_USAGE, usage, sizeof usage - 1);
    if (!languageString(IDS_MAIN_TITLE, title, sizeof title))
        strcpy(title, "telvane");

    // A console wants its lines ended by CR LF; the language module ends them by LF.
    char lines[2 * sizeof usage + 2];
    size_t used = 0;
    for (const char* c = usage; *c != '\0'; ++c) {
        if (*c == '\n')
            lines[used++] = '\r';
        lines[used++] = *c;
    }
    memcpy(lines + used, "\r\n", 3);
    if (!writeToCaller(asked ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, lines))
        showMessageBox(usage, title, asked ? MessageIcon::information : MessageIcon::warning);
    return asked ? 0 : 1;
}
