#include "meter/tariffcompare.h"

#include <algorithm>

#include "meter/monthrange.h"
#include "tariff/costs.h"

namespace {

// The counters a tariff's billing period carries from the month before the range into its first
// month: that month's usage from the billing day on.
FreeUnitCounters carriedCounters(const LogRecord* monthBefore, const Rate& rate)
{
    FreeUnitCounters counters {};
    for (const LogRecord* record = monthBefore; record != nullptr; record = record->next)
        if (!beforeBillingDay(record->start, &rate))
            computeCostUnder(counters, *record, rate);
    return counters;
}

} // namespace

TariffPrice priceRate(const MonthRange& range, const Rate& rate)
{
    TariffPrice price {};
    price.tariff = -1;
    const double fixedAmount = rate.cost[0];
    MonthCounters counters {};
    counters.fromBillingDay = carriedCounters(range.before.records.head, rate);
    for (int i = 0; i < range.count; ++i) {
        const RangeMonth& month = range.months[i];
        // A new month: the days before the billing day go on with the period begun in the last.
        counters.beforeBillingDay = counters.fromBillingDay;
        counters.fromBillingDay = FreeUnitCounters {};
        // Summed as the month's sums are, from zero and record by record, so that the totals
        // equal the window's to the last bit.
        double usage = 0.0;
        if (month.stats != nullptr)
            for (const LogRecord* record = month.stats->records.head; record != nullptr; record = record->next)
                usage += computeMonthCostUnder(counters, *record, rate);
        for (uint32_t r = 0; r < month.runningCount; ++r)
            usage += computeMonthCostUnder(counters, month.running[r], rate);
        const double fixed = month.hasLog || range.count == 1 ? fixedAmount : 0.0;
        price.usageCost += usage;
        price.fixedCost += fixed;
        price.total += usage + fixed;
    }
    return price;
}

void priceEveryTariff(const MonthRange& range, TariffComparison& comparison)
{
    comparison = TariffComparison {};
    for (int32_t slot = 0; slot < kTariffSlots && TariffTable[slot] != nullptr; ++slot) {
        TariffPrice& price = comparison.prices[comparison.count++];
        price = priceRate(range, *TariffTable[slot]);
        price.tariff = slot;
    }
}

void rankTariffs(TariffComparison& comparison, int32_t activeTariff)
{
    TariffPrice* first = comparison.prices;
    TariffPrice* last = first + comparison.count;
    const TariffPrice* active
        = std::find_if(first, last, [&](const TariffPrice& price) { return price.tariff == activeTariff; });
    comparison.hasActive = active != last;
    const double activeTotal = comparison.hasActive ? active->total : 0.0;
    for (TariffPrice* price = first; price != last; ++price)
        price->difference = comparison.hasActive ? price->total - activeTotal : 0.0;
    std::stable_sort(first, last, [](const TariffPrice& a, const TariffPrice& b) { return a.total < b.total; });
}
