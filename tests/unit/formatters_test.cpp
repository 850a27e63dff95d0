#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/formatters.h"

namespace {

struct FormatCase {
    int64_t value;
    const char* text;
    int numberLength;
};

void expectFormats(ValueFormatter format, const FormatCase* cases, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        char text[kFormattedValueSize];
        const int numberLength = format(cases[i].value, text);
        EXPECT_STREQ(text, cases[i].text) << "value " << cases[i].value;
        EXPECT_EQ(numberLength, cases[i].numberLength) << "value " << cases[i].value;
    }
}

TEST(FormatVolume, ExamplesAndEveryRangeBoundary)
{
    const FormatCase cases[] = {
        { 0, "0 B", 1 },
        { 999, "999 B", 3 },
        { 1000, "0.98 kB", 4 }, // 1000 / 1024 = 0.9766
        { 1536, "1.50 kB", 4 },
        { 10239, "10.00 kB", 5 }, // 9.999 rounds up in print, still the two-decimal range
        { 10240, "10.0 kB", 4 },
        { 102399, "100.0 kB", 5 }, // 99.999
        { 102400, "100 kB", 3 },
        { 1023999, "999 kB", 3 },
        { 1024000, "0.98 MB", 4 }, // 0.9766
        { 1536000, "1.46 MB", 4 }, // 1.4648
        { 10485759, "10.00 MB", 5 },
        { 10485760, "10.0 MB", 4 },
        { 104857599, "100.0 MB", 5 },
        { 104857600, "100 MB", 3 },
        { 1048575999, "999 MB", 3 }, // 1048575999 / 1024 / 1024 = 999.99.. truncated
        { 1048576000, "0.98 GB", 4 },
        { 5368709120, "5.00 GB", 4 },
        { -2048, "+2.00 kB", 4 }, // the number part does not count the sign mark
        { -999, "+999 B", 3 },
        { INT64_MIN, "+8589934592.00 GB", 13 },
    };
    expectFormats(formatVolume, cases, std::size(cases));
}

// Durations read as a clock: h:mm:ss within a day, days and h:mm beyond (the seconds dropped,
// not rounded); the whole text is the number.
TEST(FormatDuration, ClockWithinADayAndDaysBeyond)
{
    const FormatCase cases[] = {
        { 0, "0:00:00", 7 },
        { 59, "0:00:59", 7 },
        { 60, "0:01:00", 7 },
        { 90, "0:01:30", 7 },
        { 3599, "0:59:59", 7 },
        { 3600, "1:00:00", 7 },
        { 36000, "10:00:00", 8 },
        { 86399, "23:59:59", 8 },
        { 86400, "1 d 0:00", 8 },
        { 86400 + 3 * 3600 + 4 * 60 + 59, "1 d 3:04", 8 }, // 59 s dropped
        { 12 * 86400 + 23 * 3600 + 59 * 60, "12 d 23:59", 10 },
        { -7200, "+2:00:00", 7 }, // the sign mark is not part of the number
        { -30, "+0:00:30", 7 },
    };
    expectFormats(formatDuration, cases, std::size(cases));

    // The running connection's clock keeps counting hours past a day.
    const FormatCase clock[] = {
        { 0, "0:00:00", 7 }, { 93792, "26:03:12", 8 }, // 26 h 3 min 12 s
    };
    expectFormats(formatClockDuration, clock, std::size(clock));
}

TEST(FormatValue, UnitAndNumberParts)
{
    char text[kFormattedValueSize];
    int length = formatVolume(1536000, text);
    EXPECT_STREQ(text, "1.46 MB");
    EXPECT_STREQ(unitOf(text, length), "MB");
    char number[kFormattedValueSize];
    numberOf(text, length, number);
    EXPECT_STREQ(number, "1.46");

    length = formatVolume(-2048, text);
    EXPECT_STREQ(unitOf(text, length), "kB");
    numberOf(text, length, number);
    EXPECT_STREQ(number, "+2.00");

    length = formatDuration(-7200, text);
    EXPECT_STREQ(unitOf(text, length), "");
    numberOf(text, length, number);
    EXPECT_STREQ(number, "+2:00:00");
}

// Figures drawn beside a scale take the scale's unit; a rate is a volume a second; durations
// take the scale's clock pattern, to the minute from an hour on.
TEST(FormatValue, InTheUnitOfTheirScale)
{
    const struct {
        ValueFormatter format;
        int64_t value, scale;
        const char* text;
        const char* unit;
    } cases[] = {
        { formatVolume, 226492416, 1288490189, "0.21 GB", "GB" }, // 216 MB under a scale of 1.20 GB
        { formatVolume, 75183308, 225443840, "71.7 MB", "MB" }, // 71.70 MB under 215 MB
        { formatVolume, 157286400, 209715200, "150 MB", "MB" }, // 150 MB: no decimals from 100 up
        { formatVolume, 10230, 10240, "9.99 kB", "kB" }, // 9.990 keeps two decimals
        { formatVolume, 500, 999, "500 B", "B" }, // whole bytes in the smallest unit
        { formatVolume, 0, 0, "0 B", "B" },
        { formatVolume, -2048, 4096, "+2.00 kB", "kB" },
        { formatDuration, 108, 7200, "0:02 h:mm", "h:mm" }, // 1.8 min rounds to 2
        { formatDuration, 5369, 7200, "1:29 h:mm", "h:mm" }, // 89 min 29 s rounds down
        { formatDuration, 5370, 7200, "1:30 h:mm", "h:mm" }, // 89 min 30 s rounds up
        { formatDuration, 2400, 3000, "40:00 m:ss", "m:ss" },
        { formatDuration, 40, 45, "0:40 m:ss", "m:ss" },
        { formatDuration, 93600, 100800, "26:00 h:mm", "h:mm" }, // two connections at once: past 24 h
        { formatRate, 3712000, 4980736, "3.54 MB/s", "MB/s" }, // 3.540 MB/s under 4.75 MB/s
        { formatRate, 700, 2048, "0.68 kB/s", "kB/s" },
    };
    for (const auto& c : cases) {
        char text[kFormattedValueSize];
        const int numberLength = formatInUnitOf(c.format, c.value, c.scale, text);
        EXPECT_STREQ(text, c.text) << c.value << " under " << c.scale;
        EXPECT_STREQ(unitOf(text, numberLength), c.unit) << c.value << " under " << c.scale;
    }

    char text[kFormattedValueSize];
    const int length = formatRate(1536000, text);
    EXPECT_STREQ(text, "1.46 MB/s");
    EXPECT_STREQ(unitOf(text, length), "MB/s");

    // A scale's own label: a duration in its clock pattern, any other value as formatted.
    EXPECT_STREQ(unitOf(text, formatScale(formatDuration, 8820, text)), "h:mm");
    EXPECT_STREQ(text, "2:27 h:mm");
    EXPECT_STREQ(unitOf(text, formatScale(formatVolume, 1023999, text)), "kB");
    EXPECT_STREQ(text, "999 kB");
}

// Fractions are written with the user's decimal separator; whole numbers have none.
TEST(FormatValue, UsersDecimalSeparator)
{
    setDecimalSeparator(",");
    char text[kFormattedValueSize], number[kFormattedValueSize];
    int length = formatVolume(1536000, text);
    EXPECT_STREQ(text, "1,46 MB");
    numberOf(text, length, number);
    EXPECT_STREQ(number, "1,46");
    formatInUnitOf(formatVolume, 226492416, 1288490189, text);
    EXPECT_STREQ(text, "0,21 GB");
    formatVolume(999, text);
    EXPECT_STREQ(text, "999 B");
    formatDuration(5400, text);
    EXPECT_STREQ(text, "1:30:00"); // a clock has no decimal separator
    setDecimalSeparator(""); // no separator at all is not taken
    formatVolume(1536000, text);
    EXPECT_STREQ(text, "1,46 MB");
    setDecimalSeparator(".");
    formatVolume(1536000, text);
    EXPECT_STREQ(text, "1.46 MB");
}

} // namespace
