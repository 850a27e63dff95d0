#include "meter/monthrange.h"

#include "core/gzfile.h"
#include "log/statistics.h"
#include "tariff/rates.h"

namespace {

// A billing period that begins in the month before the run reaches into its first month.
bool anyBillingDay()
{
    for (int slot = 0; slot < kTariffSlots && TariffTable[slot] != nullptr; ++slot)
        if (billingDayOf(TariffTable[slot]) != 1)
            return true;
    return false;
}

bool hasLogFile(uint32_t key)
{
    char path[260];
    return monthLogPath(key >> 16, key & 0xFFFF, path, sizeof path) && !isMissingFile(path);
}

} // namespace

bool readMonthRange(uint32_t firstKey, int count, uint32_t currentKey, MonthRange& range)
{
    freeMonthRange(range);
    if (count < 1 || count > kMaxRangeMonths)
        return true;
    if (anyBillingDay() && !readMonthFileQuietly(monthBeforeKey(firstKey), range.before))
        return false;
    const LogRecord* monthBefore = range.before.records.head;
    uint32_t key = firstKey;
    for (int i = 0; i < count; ++i, key = monthAfterKey(key)) {
        RangeMonth& month = range.months[i];
        if (key == currentKey) {
            takeCurrentMonth(month, key);
        } else {
            month.key = key;
            month.hasLog = hasLogFile(key);
            if (!readMonthFileAfter(key, range.read[i], monthBefore))
                return false;
            month.stats = &range.read[i];
        }
        range.count = i + 1;
        monthBefore = month.stats != nullptr ? month.stats->records.head : nullptr;
    }
    return true;
}

void takeCurrentMonth(RangeMonth& month, uint32_t key)
{
    month = RangeMonth {};
    month.key = key;
    month.isCurrent = true;
    month.hasLog = true;
    month.stats = monthStats(0);
    while (
        month.runningCount < kMaxRunningSlices && runningSlice(month.runningCount, month.running[month.runningCount]))
        ++month.runningCount;
}

void freeMonthRange(MonthRange& range)
{
    clearMonthStats(range.before);
    for (MonthStats& month : range.read)
        clearMonthStats(month);
    for (RangeMonth& month : range.months)
        month = RangeMonth {};
    range.count = 0;
}
