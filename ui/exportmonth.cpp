// Exporting the shown month as CSV from the main menu.
#include "ui/exportmonth.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/language.h"
#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "log/statistics.h"
#include "meter/csvheadings.h"
#include "meter/monthexport.h"

namespace {

// The save dialog's file types count from 1: records and days in the standard form, the same in
// the form of this computer's spreadsheet, all files.
constexpr DWORD kDayTableFilter = 2;
constexpr DWORD kLocalRecordsFilter = 3;
constexpr DWORD kLocalDaysFilter = 4;

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

    static CsvHeadingTexts texts;
    loadCsvHeadings(texts);
    // Asked for after the dialog: the month may have changed while it was open.
    const MonthStats* shown = monthStats(state->selectedMonth);
    // A month that could not be read, or a current month not read yet, is an empty one.
    MonthStats empty {};
    empty.key = state->selectedMonth != 0 ? state->selectedMonth : monthKeyOf(localTimeNow());
    if (shown == nullptr || shown->key == 0)
        shown = &empty;
    const DWORD type = dialog.nFilterIndex;
    const CsvFormat form = type == kLocalRecordsFilter || type == kLocalDaysFilter ? localCsvFormat() : kStandardCsv;
    const bool written = type == kDayTableFilter || type == kLocalDaysFilter
        ? writeDayCsv(file, *shown, texts.headings, form)
        : writeMonthCsv(file, *shown, texts.headings, form);
    if (!written) {
        reportExportFailure(kErrorExportWrite, file);
        return;
    }
    languageString(IDS_EXPORT_DONE, format, sizeof format);
    fillLabelFormat(format, file, state->statusText, sizeof state->statusText);
    InvalidateRect(state->window, nullptr, FALSE);
}
