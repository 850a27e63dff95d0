#pragma once
#include <cstdint>

// What a reading of the counters is for. A tick adds a value to the rate histories; the
// reading right after a scan only counts, and looks up every connection's interface again; the
// last reading before slices end only counts what the known interfaces moved.
enum class TrafficReading { tick, afterScan, beforeCut };

// Adds what the interface counters moved since the previous reading to every running
// connection's slice. False when the address table was needed and could not be read
// (reported once per failure episode).
bool updateTraffic(TrafficReading reading);

// Forgets the tables kept between readings and ends a failure episode of the address table, so
// its next failure is reported: a fresh start, for the tests.
void resetTrafficCounting();
