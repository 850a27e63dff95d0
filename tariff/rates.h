#pragma once
// Tariffs and their file rates.zip.
#include <cstdint>

struct Rate {
    char name[256];
    uint32_t ldays; // bit 0 Monday .. bit 6 Sunday, bit 7 holidays: wholly secondary period
    int32_t ltimeb; // main-period window start, seconds after midnight
    int32_t ltimee; // main-period window end (exclusive)
    char precision[4];
    int32_t unit; // 0 kB, 1 MB, 2 GB, 3 s, 4 min, 5 h
    uint32_t amount[4]; // free units main, free units secondary (0: shared), step 1, step 2
    double cost[7]; // monthly fixed amount, then (main, secondary) prices of steps 0..2
    // The day of the month from which the free units count, 1..28; 0 (a tariff made before
    // there was the field) counts as 1. rates.zip holds it only when it is not 1.
    uint32_t billingDay;
};

constexpr int kTariffSlots = 256;
constexpr int32_t kLastUnit = 5;
constexpr uint32_t kLastBillingDay = 28; // every month has it

// The billing day of `rate`: 1 for none, or for a day outside 1..28.
uint32_t billingDayOf(const Rate* rate);

// Slots 0..n-1 hold the tariffs in order; every walk stops at the first empty slot.
extern Rate* TariffTable[kTariffSlots];

// The tariff in slot `index`, or null for an empty slot or an index outside the table.
const Rate* tariffAt(int32_t index);

// Number of tariffs: the slots up to the first empty one.
int tariffCount();

// Replaces the table with the tariffs of rates.zip. A missing file leaves the table empty and
// is no failure (a first start). False with AppError set when the path cannot be built or an
// existing file cannot be opened. A format error is reported at once, keeps what was read
// before it and still gives true.
bool readRates();

// Writes the table to rates.zip through a temporary file, so a failed write keeps the old
// file. False with AppError set (0x40000002 or 0x40000016).
bool writeRates();

// Frees every tariff of the table.
void freeTariffs();
