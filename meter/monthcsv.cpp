#include "meter/monthcsv.h"

#include <cstdio>
#include <cstring>

#include "core/localtime.h"
#include "core/platform.h"
#include "log/monthlog.h"
#include "tariff/costs.h"
#include "tariff/settings.h"

bool writeCsvRow(FILE* file, const char* const* fields, int count, const CsvFormat& format)
{
    for (int column = 0; column < count; ++column) {
        char field[1024];
        if (!csvField(fields[column], field, sizeof field, format.separator))
            return false;
        if ((column != 0 && fputs(format.separator, file) == EOF) || fputs(field, file) == EOF)
            return false;
    }
    return fputs("\r\n", file) != EOF;
}

void csvMoney(double cost, const CsvFormat& format, char* money, size_t size)
{
    char printed[48];
    snprintf(printed, sizeof printed, "%.6f", cost);
    const char* point = strchr(printed, '.');
    if (point == nullptr) {
        snprintf(money, size, "%s", printed);
        return;
    }
    snprintf(money, size, "%.*s%s%s", int(point - printed), printed, format.decimalSign, point + 1);
}

namespace {

bool writeRecordRow(FILE* file, const LogRecord& record, double cost, const CsvFormat& format)
{
    const LocalTime& start = record.start;
    char date[16], time[16], numbers[5][16], money[64];
    snprintf(date, sizeof date, "%04u-%02u-%02u", unsigned(start.year), unsigned(start.month), unsigned(start.day));
    snprintf(time, sizeof time, "%02u:%02u:%02u", unsigned(start.hour), unsigned(start.minute), unsigned(start.second));
    const uint32_t values[5] = { record.dur, record.rx, record.rxp, record.tx, record.txp };
    for (int i = 0; i < 5; ++i)
        snprintf(numbers[i], sizeof numbers[i], "%u", values[i]);
    csvMoney(cost, format, money, sizeof money);
    const char* fields[kCsvColumns] = { date, time, numbers[0], numbers[1], numbers[2], numbers[3], numbers[4], money };
    return writeCsvRow(file, fields, kCsvColumns, format);
}

// Writes a CSV file through a temporary one beside it, so `path` is replaced only by a whole file.
template <typename WriteRows> bool writeWholeFile(const char* path, const CsvFormat& format, WriteRows writeRows)
{
    char temporary[270];
    if (snprintf(temporary, sizeof temporary, "%s.tmp", path) >= int(sizeof temporary))
        return false;
    FILE* file = fopen(temporary, "wb");
    if (file == nullptr)
        return false;
    bool ok = !format.byteOrderMark || fputs("\xEF\xBB\xBF", file) != EOF;
    ok = ok && writeRows(file);
    ok = fclose(file) == 0 && ok;
    if (!ok || !replaceFile(temporary, path)) {
        remove(temporary);
        return false;
    }
    return true;
}

// The day table's columns, and the record table's headings they take: date, duration, bytes
// received, bytes sent, cost.
constexpr int kDayCsvColumns = 5;
constexpr int kDayColumnHeadings[kDayCsvColumns] = { 0, 2, 3, 5, kCsvColumns - 1 };

struct DaySums {
    uint64_t seconds;
    uint64_t received;
    uint64_t sent;
    double cost;
};

bool writeDayRow(FILE* file, uint16_t year, uint16_t month, int day, const DaySums& sums, const CsvFormat& format)
{
    char date[16], numbers[3][24], money[64];
    snprintf(date, sizeof date, "%04u-%02u-%02d", unsigned(year), unsigned(month), day);
    const uint64_t values[3] = { sums.seconds, sums.received, sums.sent };
    for (int i = 0; i < 3; ++i)
        snprintf(numbers[i], sizeof numbers[i], "%llu", static_cast<unsigned long long>(values[i]));
    csvMoney(sums.cost, format, money, sizeof money);
    const char* fields[kDayCsvColumns] = { date, numbers[0], numbers[1], numbers[2], money };
    return writeCsvRow(file, fields, kDayCsvColumns, format);
}

} // namespace

bool writeCsvFile(
    const char* path, bool (*writeRows)(FILE* file, const void* context), const void* context, const CsvFormat& format)
{
    return writeWholeFile(path, format, [&](FILE* file) { return writeRows(file, context); });
}

bool csvField(const char* text, char* out, size_t size, const char* separator)
{
    if (size == 0)
        return false;
    const bool quoted
        = strpbrk(text, "\"\r\n") != nullptr || (separator[0] != '\0' && strstr(text, separator) != nullptr);
    size_t length = 0;
    auto put = [&](char c) {
        if (length + 1 >= size)
            return false;
        out[length++] = c;
        return true;
    };
    if (quoted && !put('"'))
        return false;
    for (const char* c = text; *c != '\0'; ++c)
        if ((*c == '"' && !put('"')) || !put(*c))
            return false;
    if (quoted && !put('"'))
        return false;
    out[length] = '\0';
    return true;
}

bool writeMonthCsv(const char* path, const MonthStats& month, const CsvHeadings& headings, const CsvFormat& format)
{
    return writeWholeFile(path, format, [&](FILE* file) {
        bool ok = writeCsvRow(file, headings.text, kCsvColumns, format);
        // Priced from the month's start, as the month's sums are, so the costs add up to its total.
        MonthCounters counters { month.carried.counters, {} };
        for (const LogRecord* record = month.records.head; ok && record != nullptr; record = record->next)
            ok = writeRecordRow(file, *record, computeMonthCost(counters, *record, settings.activeTariff), format);
        return ok;
    });
}

bool writeDayCsv(const char* path, const MonthStats& monthStats, const CsvHeadings& headings, const CsvFormat& format)
{
    const uint16_t year = uint16_t(monthStats.key >> 16), month = uint16_t(monthStats.key & 0xFFFF);
    const int days = daysInMonth(year, month);
    if (days < 1)
        return false;
    DaySums sums[31] = {};
    MonthCounters counters { monthStats.carried.counters, {} };
    for (const LogRecord* record = monthStats.records.head; record != nullptr; record = record->next) {
        const double cost = computeMonthCost(counters, *record, settings.activeTariff);
        if (record->start.day < 1 || record->start.day > days)
            continue;
        DaySums& day = sums[record->start.day - 1];
        day.seconds += record->dur;
        day.received += record->rx;
        day.sent += record->tx;
        day.cost += cost;
    }
    return writeWholeFile(path, format, [&](FILE* file) {
        const char* heading[kDayCsvColumns];
        for (int column = 0; column < kDayCsvColumns; ++column)
            heading[column] = headings.text[kDayColumnHeadings[column]];
        bool ok = writeCsvRow(file, heading, kDayCsvColumns, format);
        for (int day = 1; ok && day <= days; ++day)
            ok = writeDayRow(file, year, month, day, sums[day - 1], format);
        return ok;
    });
}
