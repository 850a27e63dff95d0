#pragma once
// Tariffs and their file rates.zip.
#include <cstdint>

struct Rate {
    char name[256];
    uint32_t ldays;   // bit 0 Monday .. bit 6 Sunday, bit 7 holidays: wholly secondary period
    int32_t ltimeb;   // main-period window start, seconds after midnight
    int32_t ltimee;   // main-period window end (exclusive)
    char precision[4];
    int32_t unit;     // 0 kB, 1 MB, 2 GB, 3 s, 4 min, 5 h
    uint32_t amount[4];
    double cost[7];
};

constexpr int kTariffSlots = 256;

// Slots 0..n-1 hold the tariffs in order; every walk stops at the first empty slot.
extern Rate* TariffTable[kTariffSlots];

// The tariff in slot `index`, or null for an empty slot or an index outside the table.
const Rate* tariffAt(int32_t index);

bool readRates();
bool writeRates();

// Frees every tariff of the table.
void freeTariffs();
