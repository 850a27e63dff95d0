#pragma once
#include <cstdint>

// Adds what the interface counters moved since the previous reading to every running
// connection's slice, and, when `elapsedMs` is not 0, records the tick's byte rates.
// False when the address table could not be read (reported once per failure episode).
bool updateTraffic(uint32_t elapsedMs);
