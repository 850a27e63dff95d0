#include "meter/tableexport.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/gzfile.h"
#include "log/monthlog.h"
#include "meter/monthrange.h"
#include "meter/tariffcompare.h"
#include "meter/yearsums.h"
#include "tariff/rates.h"

namespace {

struct YearTable {
    const YearTotals* year;
    const CsvHeadings* headings;
    const CsvFormat* format;
};

bool writeYearRows(FILE* file, const void* context)
{
    const YearTable& table = *static_cast<const YearTable*>(context);
    const CsvHeadings& headings = *table.headings;
    const char* heading[] = { headings.month, headings.text[2], headings.text[3], headings.text[5], headings.yearCost };
    bool ok = writeCsvRow(file, heading, 5, *table.format);
    for (int i = 0; ok && i < 12; ++i) {
        const MonthTotals& month = table.year->months[i];
        char date[16], seconds[24], received[24], sent[24], cost[64];
        snprintf(date, sizeof date, "%04u-%02d", unsigned(table.year->year), i + 1);
        snprintf(seconds, sizeof seconds, "%lld", static_cast<long long>(month.onlineTime));
        snprintf(received, sizeof received, "%llu", static_cast<unsigned long long>(month.received));
        snprintf(sent, sizeof sent, "%llu", static_cast<unsigned long long>(month.sent));
        csvMoney(month.cost(), *table.format, cost, sizeof cost);
        const char* fields[] = { date, seconds, received, sent, cost };
        ok = writeCsvRow(file, fields, 5, *table.format);
    }
    return ok;
}

struct ComparisonTable {
    const TariffComparison* comparison;
    const CsvHeadings* headings;
    const CsvFormat* format;
};

bool writeComparisonRows(FILE* file, const void* context)
{
    const ComparisonTable& table = *static_cast<const ComparisonTable*>(context);
    const CsvHeadings& headings = *table.headings;
    const char* heading[] = { headings.tariff, headings.usageCost, headings.fixedCost, headings.totalCost };
    bool ok = writeCsvRow(file, heading, 4, *table.format);
    for (int32_t i = 0; ok && i < table.comparison->count; ++i) {
        const TariffPrice& price = table.comparison->prices[i];
        const Rate* rate = tariffAt(price.tariff);
        char name[sizeof rate->name + 1] = {}, utf8[1024], usage[64], fixed[64], total[64];
        memcpy(name, rate->name, sizeof rate->name);
        if (headings.toUtf8 != nullptr)
            headings.toUtf8(name, utf8, sizeof utf8);
        else
            snprintf(utf8, sizeof utf8, "%s", name);
        csvMoney(price.usageCost, *table.format, usage, sizeof usage);
        csvMoney(price.fixedCost, *table.format, fixed, sizeof fixed);
        csvMoney(price.total, *table.format, total, sizeof total);
        const char* fields[] = { utf8, usage, fixed, total };
        ok = writeCsvRow(file, fields, 4, *table.format);
    }
    return ok;
}

bool hasMonthLog(uint32_t key, char* path, size_t size)
{
    return monthLogPath(key >> 16, key & 0xFFFF, path, unsigned(size)) && isReadableFile(path);
}

// The exit code of a reading that reported something (a damaged log) or ran out of memory.
int readingCode(uint32_t reportsBefore, bool read)
{
    if (!read)
        reportError(0);
    return reportsShown() != reportsBefore ? kExportDamaged : kExportDone;
}

} // namespace

bool writeYearCsv(const char* path, const YearTotals& year, const CsvHeadings& headings, const CsvFormat& format)
{
    const YearTable table { &year, &headings, &format };
    return writeCsvFile(path, writeYearRows, &table, format);
}

bool writeComparisonCsv(
    const char* path, const TariffComparison& comparison, const CsvHeadings& headings, const CsvFormat& format)
{
    const ComparisonTable table { &comparison, &headings, &format };
    return writeCsvFile(path, writeComparisonRows, &table, format);
}

int exportYearFile(const ExportRequest& request, const CsvHeadings& headings, const CsvFormat& format)
{
    const uint16_t year = uint16_t(request.monthKey >> 16);
    bool anyLog = false;
    char path[260];
    for (uint32_t month = 1; month <= 12 && !anyLog; ++month)
        anyLog = hasMonthLog(uint32_t(year) * 65536u + month, path, sizeof path);
    if (!anyLog) {
        char text[8];
        snprintf(text, sizeof text, "%04u", unsigned(year));
        reportExportFailure(kErrorExportNoYear, text);
        return kExportNoMonth;
    }
    const uint32_t reportsBefore = reportsShown();
    static YearTotals totals;
    const int code = readingCode(reportsBefore, readYear(year, 0, totals));
    if (code != kExportDone)
        return code;
    if (!writeYearCsv(request.path, totals, headings, format)) {
        reportExportFailure(kErrorExportWrite, request.path);
        return kExportNotWritten;
    }
    return kExportDone;
}

int exportComparisonFile(const ExportRequest& request, const CsvHeadings& headings, const CsvFormat& format)
{
    char path[260];
    if (!hasMonthLog(request.monthKey, path, sizeof path)) {
        reportExportFailure(kErrorExportNoMonth, path);
        return kExportNoMonth;
    }
    const uint32_t reportsBefore = reportsShown();
    static MonthRange range;
    int code = readingCode(reportsBefore, readMonthRange(request.monthKey, 1, 0, range));
    if (code == kExportDone) {
        static TariffComparison comparison;
        priceEveryTariff(range, comparison);
        if (!writeComparisonCsv(request.path, comparison, headings, format)) {
            reportExportFailure(kErrorExportWrite, request.path);
            code = kExportNotWritten;
        }
    }
    freeMonthRange(range);
    return code;
}
