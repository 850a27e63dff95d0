#pragma once
// Short texts of byte counts and durations: a number followed directly by its unit.
#include <cstdint>

constexpr int kFormattedValueSize = 64;

// Writes the whole text (sign mark, number, unit) into `text` (at least 64 bytes) and
// returns the length of the number alone, so `text + returned + sign` is the unit. A
// negative value is shown as "+" and its magnitude: what is left over of an exceeded quota.
using ValueFormatter = int (*)(int64_t value, char* text);

int formatVolume(int64_t bytes, char* text);
int formatDuration(int64_t seconds, char* text);

// Where the unit starts in a text written by a ValueFormatter that returned `numberLength`.
inline const char* unitOf(const char* text, int numberLength)
{
    return text + numberLength + (text[0] == '+' ? 1 : 0);
}

// The number part alone (sign mark included when present) copied into `number` (64 bytes).
void numberOf(const char* text, int numberLength, char* number);
