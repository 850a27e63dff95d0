#pragma once
// Which tariff would have been cheapest: every tariff of the table priced over the same records,
// each exactly as the window prices them when that tariff is active.
#include <cstdint>

#include "tariff/rates.h"

struct MonthRange;

struct TariffPrice {
    int32_t tariff; // its slot in the table
    double usageCost;
    double fixedCost; // its monthly fixed amount, once for every month that counts
    double total;
    double difference; // total less the active tariff's total; 0 without an active tariff
};

struct TariffComparison {
    TariffPrice prices[kTariffSlots];
    int32_t count; // the tariffs of the table
    bool hasActive; // the active tariff is among them
};

// Prices the months of `range` under every tariff of the table, in table order. Each month's
// records are priced in their logged order, the running slices after them, from the free units of
// the tariff's billing period (a period begun in the month before the range counts its usage from
// the billing day on). A month's fixed amount counts when it has a log, and always for a range of
// one month, whose total is then the month's total as the Summary shows it.
void priceEveryTariff(const MonthRange& range, TariffComparison& comparison);

// Orders the prices cheapest first (table order where totals are equal) and sets each
// difference to the active tariff's total.
void rankTariffs(TariffComparison& comparison, int32_t activeTariff);
