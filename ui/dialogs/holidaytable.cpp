#include "ui/dialogs/holidaytable.h"

#include <cstring>

HolidayDate unpackDate(uint32_t packedDate)
{
    return {packedDate / 512, (packedDate / 32) % 16, packedDate % 32};
}

int compareHolidayDates(uint32_t first, uint32_t second) { return first < second ? -1 : 1; }

void storeHolidays(const Holiday* rows, int count)
{
    if (count > kHolidayCount)
        count = kHolidayCount;
    for (int i = 0; i < count; ++i) {
        Holiday& entry = settings.holidays[i];
        memset(&entry, 0, sizeof entry);
        strncpy(entry.name, rows[i].name, sizeof entry.name - 1);
        entry.packedDate = rows[i].packedDate;
    }
    if (count < kHolidayCount)
        settings.holidays[count].packedDate = 0;
}
