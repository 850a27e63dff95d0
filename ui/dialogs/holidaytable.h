#pragma once
// The holidays table of Settings as the holidays page writes it back.
#include <cstddef>
#include <cstdint>

#include "tariff/settings.h"

struct HolidayDate {
    uint32_t year, month, day;
};

HolidayDate unpackDate(uint32_t packedDate);

// A holiday stored with year 0 falls on its day and month in every year.
inline bool isEveryYear(uint32_t packedDate) { return packedDate != 0 && packedDate / 512 == 0; }

// The locale's short date picture without its year, for a holiday of every year: the year
// and the separator that joined it go ("M/d/yyyy" gives "M/d", "yyyy-MM-dd" gives "MM-dd").
// Written into `picture` (at most `size` bytes with the end mark).
void monthDayPicture(const char* shortDate, char* picture, size_t size);

// The list view's order of two rows: negative when `first` comes before `second`. Equal dates
// keep no particular order.
int compareHolidayDates(uint32_t first, uint32_t second);

// True when the day of `date` is a holiday of the list already: the same date, or a holiday of
// every year on its day and month. A holiday of every year is new beside dated ones of its day.
bool isHolidayListed(const uint32_t* listed, int count, uint32_t date);

// Writes `count` rows (at most the table's 32) into settings.holidays in the given order and
// ends the table after them with an empty entry when there is room, so deleted holidays do not
// come back. Names are cut to 255 characters; unused bytes of a written entry are zero.
void storeHolidays(const Holiday* rows, int count);
