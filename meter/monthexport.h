#pragma once
// Exporting a month's log as CSV: the command lines that ask for it and for the year's and the
// comparison's tables (their steps are in tableexport.h), and the steps from the month's file to
// the written table, apart from where the file name and the headings come from.
#include <cstdint>

#include "meter/monthcsv.h"

enum class ExportRequestKind { none, month, year, compare, malformed };

struct ExportRequest {
    ExportRequestKind kind;
    uint32_t monthKey; // year * 65536 + month; for a year, its January
    char path[260];
    bool days; // one row per day instead of one per record
    bool local; // in the separators of this computer's spreadsheet
};

// Reads a command line (without the program's name) of one of the forms
//   /export YYYY-MM FILE [/days] [/local]   the month's records, or its days
//   /export YYYY FILE [/local]              the year's months
//   /compare YYYY-MM FILE [/local]          every tariff priced over the month
// FILE may be quoted, the options come in any order, each at most once; /local writes the CSV of
// this computer's spreadsheet. `none` when the first word is neither /export nor /compare (any
// letter case), `malformed` when the rest is not one of the forms.
ExportRequest parseExportRequest(const char* commandLine);

// Exit codes of the command lines: written, the command line is none of the forms above, the
// month (or every month of the year) has no log, a file it needs is damaged (a month log, the
// tariffs or the settings), the file cannot be written.
constexpr int kExportDone = 0;
constexpr int kExportMalformed = 1;
constexpr int kExportNoMonth = 2;
constexpr int kExportDamaged = 3;
constexpr int kExportNotWritten = 4;

// Reports `code` with the file `path` as its insert: the export's own failures.
void reportExportFailure(uint32_t code, const char* path);

// Reads the requested month's log and writes it to the request's file as records or days in
// `format`, priced under the active tariff (the settings and tariffs are read before). A month
// without a log, a log read only in part (any report while it is read) and a file that cannot be
// written are reported and answered with their exit code; no file of the program's own is
// written.
int exportMonthFile(const ExportRequest& request, const CsvHeadings& headings, const CsvFormat& format = kStandardCsv);
