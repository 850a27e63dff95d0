#include "ui/dialogs/holidaytable.h"

#include <cstring>

HolidayDate unpackDate(uint32_t packedDate) { return { packedDate / 512, (packedDate / 32) % 16, packedDate % 32 }; }

int compareHolidayDates(uint32_t first, uint32_t second) { return first < second ? -1 : 1; }

bool isHolidayListed(const uint32_t* listed, int count, uint32_t date)
{
    for (int i = 0; i < count; ++i)
        if (listed[i] == date || (isEveryYear(listed[i]) && listed[i] == date % 512))
            return true;
    return false;
}

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

namespace {
bool isPictureLetter(char c) { return c == 'd' || c == 'M' || c == 'y' || c == 'g'; }
} // namespace

void monthDayPicture(const char* shortDate, char* picture, size_t size)
{
    if (size == 0)
        return;
    const size_t length = strlen(shortDate);
    const char* year = strchr(shortDate, 'y');
    size_t cutFrom = length, cutTo = length;
    if (year != nullptr) {
        cutFrom = size_t(year - shortDate);
        cutTo = cutFrom;
        while (cutTo < length && shortDate[cutTo] == 'y')
            ++cutTo;
        if (cutTo == length) {
            // The year ends the picture: the separator before it goes with it.
            while (cutFrom > 0 && !isPictureLetter(shortDate[cutFrom - 1]))
                --cutFrom;
        } else {
            while (cutTo < length && !isPictureLetter(shortDate[cutTo]))
                ++cutTo;
        }
    }
    size_t used = 0;
    for (size_t i = 0; i < length && used + 1 < size; ++i)
        if (i < cutFrom || i >= cutTo)
            picture[used++] = shortDate[i];
    picture[used] = '\0';
}
