#pragma once
// Edits of the tariff table made by the tariff page: they take effect at once.
#include "tariff/rates.h"

// A new zeroed tariff with precision "2" in the first free slot, or null when all slots are
// taken or there is no memory (then AppError is kErrorNoMemory; a full table sets nothing).
Rate* appendTariff();

// Frees the tariff in `index` and moves every later one a slot down; false for an empty slot.
bool removeTariff(int index);

// A tariff name would be lost in rates.zip if it held '<' (its line would not read back).
bool isStorableTariffName(const char* name);
