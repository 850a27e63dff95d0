#pragma once
// What a tariff's unit and free units come to in bytes or seconds.
#include <cstdint>

struct Rate;

// The bytes or seconds in one tariff unit (0 kB, 1 MB, 2 GB, 3 s, 4 min, 5 h).
int64_t unitSize(int32_t unit);
inline bool isVolumeUnit(int32_t unit) { return unit < 3; }

// The free units of the main and the secondary period together, in bytes or seconds.
int64_t freeUnitsOf(const Rate& rate);
