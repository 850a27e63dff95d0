#pragma once
// Short texts of byte counts, rates and durations: a number followed directly by its unit.
#include <cstdint>

constexpr int kFormattedValueSize = 64;

// Writes the whole text (sign mark, number, unit) into `text` (at least 64 bytes) and
// returns the length of the number alone, so `text + returned + sign` is the unit. A
// negative value is shown as "+" and its magnitude: what is left over of an exceeded quota.
using ValueFormatter = int (*)(int64_t value, char* text);

int formatVolume(int64_t bytes, char* text);
int formatDuration(int64_t seconds, char* text);
// A running time as a clock shows it, "h:mm:ss" (hours without a limit); the whole text is the
// number, there is no unit.
int formatClockDuration(int64_t seconds, char* text);
// A rate in bytes per second: the volume's number and unit followed by "/s".
int formatRate(int64_t bytesPerSecond, char* text);

// `value` in the unit that `format` chooses for `reference`, so that a figure drawn beside a
// scale reads in the scale's unit: two decimals below 10 units, one below 100, none above,
// and whole bytes or seconds in the smallest unit.
int formatInUnitOf(ValueFormatter format, int64_t value, int64_t reference, char* text);

// The decimal separator of the fractional numbers: "." until the user's is set. At most three
// characters, as a locale has; a longer or empty text leaves it as it was.
void setDecimalSeparator(const char* separator);

// Where the unit starts in a text written by a ValueFormatter that returned `numberLength`.
inline const char* unitOf(const char* text, int numberLength) { return text + numberLength + (text[0] == '+' ? 1 : 0); }

// The number part alone (sign mark included when present) copied into `number` (64 bytes).
void numberOf(const char* text, int numberLength, char* number);
