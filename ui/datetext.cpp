#include "ui/datetext.h"

#include <cstdio>

#include "core/localtime.h"
#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"

namespace {

// A month's name; its number where the module has none, so the date still reads.
void monthName(uint16_t month, char* name, size_t size)
{
    if (month < 1 || month > 12 || !languageString(IDS_MONTH_FIRST + month - 1u, name, size))
        snprintf(name, size, "%u", unsigned(month));
}

// The pattern `id`, or `fallback` when the module has none.
void pattern(uint32_t id, const char* fallback, char* text, size_t size)
{
    if (!languageString(id, text, size))
        snprintf(text, size, "%s", fallback);
}

} // namespace

void monthYearText(uint16_t year, uint16_t month, char* text, size_t size)
{
    char name[64], yearText[8], format[64];
    monthName(month, name, sizeof name);
    snprintf(yearText, sizeof yearText, "%u", unsigned(year));
    pattern(IDS_MONTH_YEAR, "%1 %2", format, sizeof format);
    const char* inserts[] = { name, yearText };
    fillInserts(format, inserts, 2, text, size);
}

void longDateText(uint16_t year, uint16_t month, uint16_t day, char* text, size_t size)
{
    // The day of week of a date: the local time of its midnight knows it.
    const LocalTime midnight = localTimeFromSeconds(daysSinceEpoch(year, month, day) * 86400);
    char weekday[64], dayText[8], name[64], yearText[8], format[64];
    if (!languageString(IDS_WEEKDAY_FIRST + midnight.dayOfWeek, weekday, sizeof weekday))
        weekday[0] = '\0';
    snprintf(dayText, sizeof dayText, "%u", unsigned(day));
    monthName(month, name, sizeof name);
    snprintf(yearText, sizeof yearText, "%u", unsigned(year));
    pattern(IDS_LONG_DATE, "%1, %2 %3 %4", format, sizeof format);
    const char* inserts[] = { weekday, dayText, name, yearText };
    fillInserts(format, inserts, 4, text, size);
}
