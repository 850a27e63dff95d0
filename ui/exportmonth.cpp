// Exporting a month as CSV, from the menu and from the command line.
#include "ui/exportmonth.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/gzfile.h"
#include "core/language.h"
#include "core/messagebox_win.h"
#include "core/platform.h"
#include "core/scoped_win.h"
#include "lang/ids.h"
#include "log/monthlog.h"
#include "log/statistics.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/monthcsv.h"

namespace {

// Language texts are in the system's ANSI code page; the CSV file is UTF-8.
void toUtf8(const char* ansi, char* utf8, size_t size)
{
    wchar_t wide[1024];
    utf8[0] = '\0';
    if (MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 1024) > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, int(size), nullptr, nullptr);
}

struct HeadingTexts {
    char text[kCsvColumns][1024];
    CsvHeadings headings;
};

// The header row in the current language; the cost column names the tariff that priced it.
void loadHeadings(HeadingTexts& texts)
{
    char ansi[1024];
    for (int column = 0; column < kCsvColumns - 1; ++column) {
        languageString(IDS_CSV_FIRST_HEADING + column, ansi, sizeof ansi);
        toUtf8(ansi, texts.text[column], sizeof texts.text[column]);
    }
    if (const Rate* rate = tariffAt(settings.activeTariff)) {
        char format[256], name[sizeof rate->name + 1] = {};
        memcpy(name, rate->name, sizeof rate->name);
        languageString(IDS_CSV_COST_TARIFF, format, sizeof format);
        fillLabelFormat(format, name, ansi, sizeof ansi);
    } else {
        languageString(IDS_CSV_COST, ansi, sizeof ansi);
    }
    toUtf8(ansi, texts.text[kCsvColumns - 1], sizeof texts.text[kCsvColumns - 1]);
    for (int column = 0; column < kCsvColumns; ++column)
        texts.headings.text[column] = texts.text[column];
}

// The save dialog's filters count from 1: records, days, all files.
constexpr DWORD kDayTableFilter = 2;

void reportForFile(uint32_t code, const char* path)
{
    // Only a failed write has a system error worth telling; a missing month says so itself.
    if (code == kErrorExportNoMonth)
        setLastSystemError(0);
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", path);
    reportError(code);
}

// ---- the command line ----

int errorLines;

// Standard error of the caller: a redirected one as it is, otherwise the console the program
// was started from, which a program without a console of its own reaches only by attaching.
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
    DWORD written = 0, mode = 0;
    if (GetConsoleMode(handle, &mode))
        WriteConsoleA(handle, line, DWORD(strlen(line)), &written, nullptr);
    else
        WriteFile(handle, line, DWORD(strlen(line)), &written, nullptr);
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

    char path[260];
    if (!monthLogPath(request.monthKey >> 16, request.monthKey & 0xFFFF, path, sizeof path) || !isReadableFile(path)) {
        reportForFile(kErrorExportNoMonth, path);
        return kExportNoMonth;
    }
    static MonthStats month;
    const bool read = readMonthFile(request.monthKey, month);
    if (!read)
        reportError(0);
    int code = kExportDone;
    if (errorLines != 0) {
        code = kExportDamaged;
    } else {
        static HeadingTexts texts;
        loadHeadings(texts);
        const bool written = request.days
            ? writeDayCsv(request.path, request.monthKey, month.records.head, texts.headings)
            : writeMonthCsv(request.path, month.records.head, texts.headings);
        if (!written) {
            reportForFile(kErrorExportWrite, request.path);
            code = kExportNotWritten;
        }
    }
    clearMonthStats(month);
    freeTariffs();
    return code;
}

} // namespace

void exportShownMonth(MainWindowState* state)
{
    const uint32_t key = state->selectedMonth != 0 ? state->selectedMonth : monthKeyOf(localTimeNow());
    char month[16], format[256], file[MAX_PATH], title[256], filter[512];
    snprintf(month, sizeof month, "%04u-%02u", key >> 16, key & 0xFFFF);
    languageString(IDS_EXPORT_FILE_NAME, format, sizeof format);
    fillLabelFormat(format, month, file, sizeof file);
    languageString(IDS_EXPORT_TITLE, title, sizeof title);
    // The filter's pairs end in '|' in the language module; the dialog wants them ended by NULs.
    languageString(IDS_EXPORT_FILTER, filter, sizeof filter - 1);
    filter[strlen(filter) + 1] = '\0';
    for (char* c = filter; *c != '\0'; ++c)
        if (*c == '|')
            *c = '\0';

    OPENFILENAMEA dialog {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = state->window;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = "csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog))
        return;

    static HeadingTexts texts;
    loadHeadings(texts);
    // Asked for after the dialog: the month may have changed while it was open. The filter's
    // second pair is the table of days.
    const LogRecord* records = monthRecords(state->selectedMonth);
    uint32_t shownKey = state->selectedMonth != 0 ? state->selectedMonth : currentMonth.key;
    if (shownKey == 0)
        shownKey = monthKeyOf(localTimeNow());
    const bool written = dialog.nFilterIndex == kDayTableFilter ? writeDayCsv(file, shownKey, records, texts.headings)
                                                                : writeMonthCsv(file, records, texts.headings);
    if (!written) {
        reportForFile(kErrorExportWrite, file);
        return;
    }
    languageString(IDS_EXPORT_DONE, format, sizeof format);
    fillLabelFormat(format, file, state->statusText, sizeof state->statusText);
    InvalidateRect(state->window, nullptr, FALSE);
}

int runExportCommand(const char* commandLine)
{
    const ExportRequest request = parseExportRequest(commandLine != nullptr ? commandLine : "");
    if (request.kind == ExportRequestKind::none)
        return kNoExportCommand;
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
