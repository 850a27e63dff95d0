#pragma once
#include <cstdint>

// A local calendar time with the field order and sizes of the platform's SYSTEMTIME,
// so the two can be copied into each other.
struct LocalTime {
    uint16_t year;
    uint16_t month; // 1..12
    uint16_t dayOfWeek; // 0 Sunday .. 6 Saturday
    uint16_t day; // 1..31
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t milliseconds;
};
static_assert(sizeof(LocalTime) == 16);

// Days since 1 January 1601 (the proleptic Gregorian calendar, as the platform counts).
int64_t daysSinceEpoch(uint16_t year, uint16_t month, uint16_t day);

// Seconds since 1 January 1601 00:00:00 of a local time; milliseconds are ignored.
int64_t secondsSinceEpoch(const LocalTime& time);

// The local time `seconds` after 1 January 1601, with its day of week.
LocalTime localTimeFromSeconds(int64_t seconds);

int daysInMonth(uint16_t year, uint16_t month);

// Month key of a date: year * 65536 + month.
inline uint32_t monthKeyOf(const LocalTime& time) { return uint32_t(time.year) * 65536u + time.month; }

// The month key of the month before and of the month after `key` (over the turn of a year).
inline uint32_t monthBeforeKey(uint32_t key)
{
    return (key & 0xFFFF) <= 1 ? ((key >> 16) - 1u) * 65536u + 12u : key - 1u;
}
inline uint32_t monthAfterKey(uint32_t key)
{
    return (key & 0xFFFF) >= 12 ? ((key >> 16) + 1u) * 65536u + 1u : key + 1u;
}
