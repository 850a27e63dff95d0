#pragma once
// Exporting one month's log as CSV: the command line that asks for it, and the steps from the
// month's file to the written table, apart from where the file name and the headings come from.
#include <cstdint>

#include "meter/monthcsv.h"

enum class ExportRequestKind { none, month, malformed };

struct ExportRequest {
    ExportRequestKind kind;
    uint32_t monthKey; // year * 65536 + month
    char path[260];
    bool days; // one row per day instead of one per record
    bool local; // in the separators of this computer's spreadsheet
};

// Reads a command line (without the program's name) of the form
// `/export YYYY-MM FILE [/days] [/local]`; FILE may be quoted, the options come in any order.
// `none` when the first word is not /export (any letter case), `malformed` when the rest is not
// a month, one file and each option at most once.
ExportRequest parseExportRequest(const char* commandLine);

// Exit codes of the export: written, the command line is not as parseExportRequest reads it, the
// month has no log, a file it needs is damaged (the month log, the tariffs or the settings), the
// file cannot be written.
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
