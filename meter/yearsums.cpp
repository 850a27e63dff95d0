#include "meter/yearsums.h"

#include <cstring>

#include "log/statistics.h"
#include "meter/monthrange.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

void totalsOfMonth(const RangeMonth& month, double fixedAmount, MonthTotals& totals)
{
    totals = MonthTotals {};
    totals.hasLog = month.hasLog;
    if (month.stats == nullptr)
        return;
    for (const LogRecord* record = month.stats->records.head; record != nullptr; record = record->next) {
        totals.received += record->rx;
        totals.sent += record->tx;
    }
    if (month.isCurrent) {
        // As the month view shows it: the running connections priced after the logged records.
        const int64_t* volumes = monthVolume(0);
        const int64_t* times = monthOnlineTime(0);
        const double* costs = monthCost(0);
        totals.volume = volumes != nullptr ? volumes[0] : 0;
        totals.onlineTime = times != nullptr ? times[0] : 0;
        totals.usageCost = costs != nullptr ? costs[0] : 0.0;
        totals.running = month.runningCount != 0;
        for (uint32_t i = 0; i < month.runningCount; ++i) {
            totals.received += month.running[i].rx;
            totals.sent += month.running[i].tx;
        }
    } else {
        totals.volume = month.stats->volume[0];
        totals.onlineTime = month.stats->onlineTime[0];
        totals.usageCost = month.stats->cost[0];
    }
    totals.fixedCost = month.hasLog ? fixedAmount : 0.0;
}

double fixedAmountOfActiveTariff()
{
    const Rate* rate = tariffAt(settings.activeTariff);
    return rate != nullptr ? rate->cost[0] : 0.0;
}

void addUpYear(YearTotals& totals)
{
    const uint16_t year = totals.year;
    const YearTotals months = totals;
    totals = YearTotals {};
    totals.year = year;
    for (const MonthTotals& month : months.months) {
        totals.monthsWithLog += month.hasLog ? 1 : 0;
        totals.volume += month.volume;
        totals.onlineTime += month.onlineTime;
        totals.received += month.received;
        totals.sent += month.sent;
        totals.cost += month.cost();
    }
    memcpy(totals.months, months.months, sizeof totals.months);
}

} // namespace

void sumYear(uint16_t year, const MonthRange& range, YearTotals& totals)
{
    totals = YearTotals {};
    totals.year = year;
    const double fixedAmount = fixedAmountOfActiveTariff();
    for (int i = 0; i < range.count && i < 12; ++i)
        totalsOfMonth(range.months[i], fixedAmount, totals.months[i]);
    addUpYear(totals);
}

void refreshCurrentMonth(YearTotals& totals, uint32_t currentKey)
{
    if (currentKey >> 16 != totals.year || (currentKey & 0xFFFF) < 1 || (currentKey & 0xFFFF) > 12)
        return;
    static RangeMonth current;
    takeCurrentMonth(current, currentKey);
    totalsOfMonth(current, fixedAmountOfActiveTariff(), totals.months[(currentKey & 0xFFFF) - 1]);
    addUpYear(totals);
}

bool readYear(uint16_t year, uint32_t currentKey, YearTotals& totals)
{
    static MonthRange range;
    const bool read = readMonthRange(uint32_t(year) * 65536u + 1u, 12, currentKey, range);
    if (read)
        sumYear(year, range, totals);
    freeMonthRange(range);
    return read;
}
