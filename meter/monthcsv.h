#pragma once
// A month's log as CSV for spreadsheets and scripts (RFC 4180: comma-separated, CR LF line ends,
// fields quoted where they need it), or in the form this computer's spreadsheet reads.
#include <cstddef>
#include <cstdint>
#include <cstdio>

struct MonthStats;

constexpr int kCsvColumns = 8;

// The header row's texts in UTF-8: date, start, duration, bytes and packets received, bytes and
// packets sent, cost; the year's and the comparison's own columns; and how a text of the program
// (a tariff's name) becomes UTF-8 (null: it is taken as it stands).
struct CsvHeadings {
    const char* text[kCsvColumns];
    const char* month;
    const char* yearCost; // a month's cost with its fixed amount
    const char* tariff;
    const char* usageCost;
    const char* fixedCost;
    const char* totalCost;
    void (*toUtf8)(const char* text, char* utf8, size_t size);
};

// How the fields are separated and the cost written: the standard's comma and point, or the
// list separator and decimal sign of this computer's regional settings, which a spreadsheet
// opened there splits by; that file starts with a byte-order mark, by which a spreadsheet
// knows it is UTF-8.
struct CsvFormat {
    char separator[4];
    char decimalSign[4];
    bool byteOrderMark;
};
constexpr CsvFormat kStandardCsv = { ",", ".", false };

// One field as RFC 4180 has it: quoted, with its quotes doubled, when it holds the separator, a
// quote or a line break; as it stands otherwise. False when `out` (`size` bytes) is too small.
bool csvField(const char* text, char* out, size_t size, const char* separator = ",");

// `cost` with six places and the format's decimal sign in place of the C library's point.
void csvMoney(double cost, const CsvFormat& format, char* money, size_t size);

// Writes `path` through a temporary file beside it (after the format's byte-order mark), replaced
// only once `writeRows` has written every row and the file is closed; false when it cannot be
// written.
bool writeCsvFile(const char* path, bool (*writeRows)(FILE* file, const void* context), const void* context,
    const CsvFormat& format = kStandardCsv);

// One row of `count` fields, each quoted where it needs it, apart by the format's separator, and
// its CR LF.
bool writeCsvRow(FILE* file, const char* const* fields, int count, const CsvFormat& format = kStandardCsv);

// Writes the header row and one row per record of `month` to `path`: ISO date, start time,
// duration in seconds, bytes and packets received and sent as logged, and the record's cost under
// the active tariff, priced in list order after the records before it (and the billing period
// carried in), as the month's sums price it. The file is replaced only once it is complete. False
// when it cannot be written.
bool writeMonthCsv(
    const char* path, const MonthStats& month, const CsvHeadings& headings, const CsvFormat& format = kStandardCsv);

// Writes a header row and one row per day of `month`, every day from the 1st to the last, to
// `path`: ISO date, seconds online, bytes received and sent, and the day's cost. A record counts on
// the day it began; its cost is priced as writeMonthCsv prices it, so the days add up to the same
// total. The headings are those of the record table's date, duration, bytes and cost columns. The
// file is replaced only once it is complete.
bool writeDayCsv(
    const char* path, const MonthStats& month, const CsvHeadings& headings, const CsvFormat& format = kStandardCsv);
