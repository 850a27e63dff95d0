#pragma once
// The year's table and the comparison of tariffs as CSV, and the steps of the command lines that
// write them (`/export YYYY FILE`, `/compare YYYY-MM FILE`), with the exit codes of the month's
// export.
#include "meter/monthcsv.h"
#include "meter/monthexport.h"

struct TariffComparison;
struct YearTotals;

// A header row and one row per month of the year, January to December: the month as YYYY-MM,
// seconds online, bytes received and sent as logged, and the month's cost under the active tariff
// with its fixed amount (a month without a log has none), six places.
bool writeYearCsv(
    const char* path, const YearTotals& year, const CsvHeadings& headings, const CsvFormat& format = kStandardCsv);

// A header row and one row per tariff, in the table's order: its name, its usage cost, its fixed
// amount and last its total.
bool writeComparisonCsv(const char* path, const TariffComparison& comparison, const CsvHeadings& headings,
    const CsvFormat& format = kStandardCsv);

// Reads the year's month logs (no month having one is exit code 2) and writes its table.
int exportYearFile(const ExportRequest& request, const CsvHeadings& headings, const CsvFormat& format = kStandardCsv);

// Reads the month's log (and the month before's, where a billing day reaches into it) and writes
// every tariff's price over it.
int exportComparisonFile(
    const ExportRequest& request, const CsvHeadings& headings, const CsvFormat& format = kStandardCsv);
