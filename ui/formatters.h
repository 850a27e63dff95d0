#pragma once
// Short texts of byte counts, rates and durations: a number, a space and its unit; durations
// as a clock reads them.
#include <cstdint>

constexpr int kFormattedValueSize = 64;

// Writes the whole text (sign mark, number, space, unit) into `text` (at least 64 bytes) and
// returns the length of the number alone; unitOf finds the unit. A negative value is shown as
// "+" and its magnitude: what is left over of an exceeded quota.
using ValueFormatter = int (*)(int64_t value, char* text);

int formatVolume(int64_t bytes, char* text);
// A duration as h:mm:ss, and past a day as days and h:mm ("2 d 3:04"): a clock's figures have
// no unit of their own, so the whole text is the number.
int formatDuration(int64_t seconds, char* text);
// Hours, minutes and seconds however many hours there are ("26:03:12"), as a running
// connection's clock counts; like the durations, the whole text is the number.
int formatClockDuration(int64_t seconds, char* text);
// A rate in bytes per second: the volume's number and unit followed by "/s".
int formatRate(int64_t bytesPerSecond, char* text);

// `value` in the unit that `format` chooses for `reference`, so that a figure drawn beside a
// scale reads in the scale's unit: two decimals below 10 units, one below 100, none above,
// and whole bytes in the smallest unit. Durations read as h:mm from an hour on and as m:ss
// below, the unit naming the pattern ("h:mm", "m:ss").
int formatInUnitOf(ValueFormatter format, int64_t value, int64_t reference, char* text);
// The text of a scale's largest value: the formatter's own, but a duration in the pattern its
// figures take (formatInUnitOf with itself as reference).
int formatScale(ValueFormatter format, int64_t value, char* text);

// The decimal separator of the fractional numbers: "." until the user's is set. At most three
// characters, as a locale has; a longer or empty text leaves it as it was.
void setDecimalSeparator(const char* separator);

// Where the unit starts in a text written by a ValueFormatter that returned `numberLength`;
// empty for a duration.
inline const char* unitOf(const char* text, int numberLength)
{
    const char* unit = text + numberLength + (text[0] == '+' ? 1 : 0);
    return *unit == ' ' ? unit + 1 : unit;
}

// The number part alone (sign mark included when present) copied into `number` (64 bytes).
void numberOf(const char* text, int numberLength, char* number);
