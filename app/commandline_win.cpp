// The commands telvane runs from a command line, for scripts: no window, no box, an exit code;
// and its usage, for a user at a console or at the Run box.
#include "app/commandline.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "core/apperror.h"
#include "core/language.h"
#include "core/messagebox_win.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "meter/csvheadings.h"
#include "meter/monthexport.h"
#include "meter/tableexport.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

int errorLines;

// The caller's standard output or error: a redirected one as it is, otherwise the console the
// program was started from, which a program without a console of its own reaches only by
// attaching. False when there is neither (started from Explorer or the Run box). The text is in
// the ANSI code page, as the module's texts are: a console gets it as UTF-16, which it shows
// whatever its own code page, a file or pipe as UTF-8.
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
    const int characters = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (characters <= 1)
        return characters == 1;
    const std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[size_t(characters)]);
    if (!wide || MultiByteToWideChar(CP_ACP, 0, text, -1, wide.get(), characters) == 0)
        return false;
    DWORD written = 0, mode = 0;
    if (GetConsoleMode(handle, &mode))
        return WriteConsoleW(handle, wide.get(), DWORD(characters - 1), &written, nullptr) != 0;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.get(), characters - 1, nullptr, 0, nullptr, nullptr);
    const std::unique_ptr<char[]> utf8(new (std::nothrow) char[size_t(bytes > 0 ? bytes : 1)]);
    if (bytes <= 0 || !utf8
        || WideCharToMultiByte(CP_UTF8, 0, wide.get(), characters - 1, utf8.get(), bytes, nullptr, nullptr) != bytes)
        return false;
    return WriteFile(handle, utf8.get(), DWORD(bytes), &written, nullptr) != 0;
}

// Takes the place of the message box while exporting: the first report becomes one line on
// standard error, its line breaks turned into spaces; nobody is there to read a box.
int WINAPI errorLineBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    if (errorLines++ != 0)
        return IDOK;
    char line[2048];
    size_t length = 0;
    for (const char* c = text[0] != '\0' ? text : caption; *c != '\0' && length + 3 < sizeof line; ++c) {
        const char shown = *c == '\r' || *c == '\n' || *c == '\t' ? ' ' : *c;
        if (shown != ' ' || (length != 0 && line[length - 1] != ' '))
            line[length++] = shown;
    }
    while (length != 0 && line[length - 1] == ' ')
        --length;
    memcpy(line + length, "\r\n", 3);
    writeToCaller(STD_ERROR_HANDLE, line);
    return IDOK;
}

// Reads what the tables are priced with, then writes the table asked for.
int exportTable(const ExportRequest& request)
{
    resetSettings();
    if (!loadLanguage(settings.languageId))
        reportError(0);
    if (!loadSettings())
        reportError(0);
    if (!loadLanguage(settings.languageId))
        reportError(0);
    // Prices from settings or tariffs read only in part would be wrong prices.
    if (errorLines != 0)
        return kExportDamaged;
    static CsvHeadingTexts texts;
    loadCsvHeadings(texts);
    const CsvFormat format = request.local ? localCsvFormat() : kStandardCsv;
    int code = kExportMalformed;
    if (request.kind == ExportRequestKind::month)
        code = exportMonthFile(request, texts.headings, format);
    else if (request.kind == ExportRequestKind::year)
        code = exportYearFile(request, texts.headings, format);
    else if (request.kind == ExportRequestKind::compare)
        code = exportComparisonFile(request, texts.headings, format);
    freeTariffs();
    return code;
}

bool isHelpSwitch(const char* word, size_t length)
{
    for (const char* help : { "/?", "-?", "/h", "-h", "/help", "-help", "--help" })
        if (strlen(help) == length && _strnicmp(word, help, length) == 0)
            return true;
    return false;
}

// The usage in the user's own language (it reads no file of the program's): on standard output
// when asked for, on standard error after a switch telvane does not know, in a box when there is
// neither. Returns the exit code.
int showUsage(bool asked)
{
    resetSettings();
    loadLanguage(settings.languageId);
    char usage[4096], title[256];
    languageString(IDS_USAGE, usage, sizeof usage);
    if (!languageString(IDS_MAIN_TITLE, title, sizeof title))
        strcpy(title, "telvane");
    // A console wants its lines ended by CR LF; the language module ends them by LF.
    char lines[2 * sizeof usage + 3];
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

// A command line that is not an export: the usage for /? (and its other spellings) and for any
// other word starting with a slash or a hyphen; kNoCommand for anything else.
int runUsageCommand(const char* commandLine)
{
    const char* word = commandLine;
    while (*word == ' ' || *word == '\t')
        ++word;
    if (*word != '/' && *word != '-')
        return kNoCommand;
    return showUsage(isHelpSwitch(word, strcspn(word, " \t")));
}

} // namespace

int runCommandLine(const char* commandLine)
{
    const ExportRequest request = parseExportRequest(commandLine != nullptr ? commandLine : "");
    if (request.kind == ExportRequestKind::none)
        return runUsageCommand(commandLine != nullptr ? commandLine : "");
    messageBoxFunction = errorLineBox;
    if (request.kind == ExportRequestKind::malformed) {
        resetSettings();
        loadLanguage(settings.languageId);
        errorLines = 0;
        reportError(kErrorExportUsage);
        return kExportMalformed;
    }
    return exportTable(request);
}
