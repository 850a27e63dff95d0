// The commands telvane runs from a command line, for scripts: no window, no box, an exit code.
#include "app/commandline.h"

#include <windows.h>

#include <cstring>

#include "core/apperror.h"
#include "core/language.h"
#include "core/messagebox_win.h"
#include "core/scoped_win.h"
#include "meter/csvheadings.h"
#include "meter/monthexport.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

int errorLines;

// Standard error of the caller: a redirected one as it is, otherwise the console the program
// was started from, which a program without a console of its own reaches only by attaching.
// The line (in the ANSI code page, as the messages are) goes to a console as UTF-16, which it
// shows whatever its code page, and to a file or pipe as UTF-8.
void writeErrorLine(const char* line)
{
    HANDLE handle = GetStdHandle(STD_ERROR_HANDLE);
    const bool redirected = handle != nullptr && handle != INVALID_HANDLE_VALUE;
    const ScopedFile console(!redirected && AttachConsole(ATTACH_PARENT_PROCESS) ? CreateFileA("CONOUT$", GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)
                                                                                 : INVALID_HANDLE_VALUE);
    if (!redirected)
        handle = console.get();
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    wchar_t wide[2048];
    const int length = MultiByteToWideChar(CP_ACP, 0, line, -1, wide, 2048) - 1;
    if (length <= 0)
        return;
    DWORD written = 0, mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, wide, DWORD(length), &written, nullptr);
        return;
    }
    char utf8[3 * 2048];
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8, sizeof utf8, nullptr, nullptr);
    if (bytes > 0)
        WriteFile(handle, utf8, DWORD(bytes), &written, nullptr);
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
    writeErrorLine(line);
    return IDOK;
}

int exportMonth(const ExportRequest& request)
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
    const int code = exportMonthFile(request, texts.headings, request.local ? localCsvFormat() : kStandardCsv);
    freeTariffs();
    return code;
}

} // namespace

int runCommandLine(const char* commandLine)
{
    const ExportRequest request = parseExportRequest(commandLine != nullptr ? commandLine : "");
    if (request.kind == ExportRequestKind::none)
        return kNoCommand;
    messageBoxFunction = errorLineBox;
    if (request.kind == ExportRequestKind::malformed) {
        resetSettings();
        loadLanguage(settings.languageId);
        errorLines = 0;
        reportError(kErrorExportUsage);
        return kExportMalformed;
    }
    return exportMonth(request);
}
