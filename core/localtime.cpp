#include "core/localtime.h"

namespace {

bool isLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days from 1 March of year 0 to the given civil date (Howard Hinnant's algorithm),
// shifted so that 1 January 1601 is day 0.
int64_t civilToDays(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 584694; // 584694: days from 0000-03-01 to 1601-01-01
}

} // namespace

int daysInMonth(uint16_t year, uint16_t month)
{
    static const int lengths[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

int64_t daysSinceEpoch(uint16_t year, uint16_t month, uint16_t day) { return civilToDays(year, month, day); }

int64_t secondsSinceEpoch(const LocalTime& time)
{
    return daysSinceEpoch(time.year, time.month, time.day) * 86400 + time.hour * 3600 + time.minute * 60 + time.second;
}

LocalTime localTimeFromSeconds(int64_t seconds)
{
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    // Inverse of civilToDays.
    const int64_t z = days + 584694;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2);

    LocalTime time {};
    time.year = uint16_t(year);
    time.month = uint16_t(month);
    time.day = uint16_t(day);
    time.dayOfWeek = uint16_t((days % 7 + 7 + 1) % 7); // 1 January 1601 was a Monday
    time.hour = uint16_t(rest / 3600);
    time.minute = uint16_t(rest / 60 % 60);
    time.second = uint16_t(rest % 60);
    return time;
}
