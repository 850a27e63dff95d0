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
        { 0, "0B", 1 },
        { 999, "999B", 3 },
        { 1000, "0.98kB", 4 }, // 1000 / 1024 = 0.9766
        { 1536, "1.50kB", 4 },
        { 10239, "10.00kB", 5 }, // 9.999 rounds up in print, still the two-decimal range
        { 10240, "10.0kB", 4 },
        { 102399, "100.0kB", 5 }, // 99.999
        { 102400, "100kB", 3 },
        { 1023999, "999kB", 3 },
        { 1024000, "0.98MB", 4 }, // 0.9766
        { 1536000, "1.46MB", 4 }, // 1.4648
        { 10485759, "10.00MB", 5 },
        { 10485760, "10.0MB", 4 },
        { 104857599, "100.0MB", 5 },
        { 104857600, "100MB", 3 },
        { 1048575999, "999MB", 3 }, // 1048575999 / 1024 / 1024 = 999.99.. truncated
        { 1048576000, "0.98GB", 4 },
        { 5368709120, "5.00GB", 4 },
        { -2048, "+2.00kB", 4 }, // the number part does not count the sign mark
        { -999, "+999B", 3 },
        { INT64_MIN, "+8589934592.00GB", 13 },
    };
    expectFormats(formatVolume, cases, std::size(cases));
}

// A running time as a clock shows it: hours without a limit, minutes and seconds of two digits.
TEST(FormatClockDuration, HoursMinutesAndSeconds)
{
    const FormatCase cases[] = {
        { 0, "0:00:00", 7 },
        { 59, "0:00:59", 7 },
        { 60, "0:01:00", 7 },
        { 3599, "0:59:59", 7 },
        { 3600, "1:00:00", 7 },
        { 3725, "1:02:05", 7 },
        { 86399, "23:59:59", 8 },
        { 90061, "25:01:01", 8 }, // a day and more stays in hours
        { 4294967295, "1193046:28:15", 13 },
        { -61, "+0:01:01", 7 }, // the sign mark of an exceeded quota, as the other formatters
        { INT64_MIN, "+2562047788015215:30:08", 22 },
    };
    expectFormats(formatClockDuration, cases, std::size(cases));
}

TEST(FormatDuration, ExamplesAndEveryRangeBoundary)
{
    const FormatCase cases[] = {
        { 0, "0s", 1 },
        { 59, "59s", 2 },
        { 60, "1.00min", 4 },
        { 90, "1.50min", 4 },
        { 599, "9.98min", 4 }, // 9.983
        { 600, "10.0min", 4 },
        { 3599, "60.0min", 4 }, // 59.98 prints as 60.0
        { 3600, "1.00h", 4 },
        { 7200, "2.00h", 4 },
        { 35999, "10.00h", 5 }, // 9.9997
        { 36000, "10.0h", 4 },
        { 43200, "12.0h", 4 },
        { -7200, "+2.00h", 4 },
        { -30, "+30s", 2 },
    };
    expectFormats(formatDuration, cases, std::size(cases));
}

TEST(FormatValue, UnitAndNumberParts)
{
    char text[kFormattedValueSize];
    int length = formatVolume(1536000, text);
    EXPECT_STREQ(unitOf(text, length), "MB");
    char number[kFormattedValueSize];
    numberOf(text, length, number);
    EXPECT_STREQ(number, "1.46");

    length = formatDuration(-7200, text);
    EXPECT_STREQ(unitOf(text, length), "h");
    numberOf(text, length, number);
    EXPECT_STREQ(number, "+2.00");
}

// Figures drawn beside a scale take the scale's unit; a rate is a volume a second.
TEST(FormatValue, InTheUnitOfTheirScale)
{
    const struct {
        ValueFormatter format;
        int64_t value, scale;
        const char* text;
    } cases[] = {
        { formatVolume, 226492416, 1288490189, "0.21GB" }, // 216 MB under a scale of 1.20 GB
        { formatVolume, 75183308, 225443840, "71.7MB" }, // 71.70 MB under 215 MB
        { formatVolume, 157286400, 209715200, "150MB" }, // 150 MB: no decimals from 100 up
        { formatVolume, 10230, 10240, "9.99kB" }, // 9.990 keeps two decimals
        { formatVolume, 500, 999, "500B" }, // whole bytes in the smallest unit
        { formatVolume, 0, 0, "0B" },
        { formatVolume, -2048, 4096, "+2.00kB" },
        { formatDuration, 108, 7200, "0.03h" }, // 108 s of an hour
        { formatDuration, 2400, 3000, "40.0min" },
        { formatDuration, 40, 40, "40s" },
        { formatRate, 3712000, 4980736, "3.54MB/s" }, // 3.540 MB/s under 4.75 MB/s
        { formatRate, 700, 2048, "0.68kB/s" },
    };
    for (const auto& c : cases) {
        char text[kFormattedValueSize];
        const int numberLength = formatInUnitOf(c.format, c.value, c.scale, text);
        EXPECT_STREQ(text, c.text) << c.value << " under " << c.scale;
        EXPECT_STREQ(unitOf(text, numberLength), c.text + strcspn(c.text, "BkMGsmh"));
    }

    char text[kFormattedValueSize];
    const int length = formatRate(1536000, text);
    EXPECT_STREQ(text, "1.46MB/s");
    EXPECT_STREQ(unitOf(text, length), "MB/s");
}

// Fractions are written with the user's decimal separator; whole numbers have none.
TEST(FormatValue, UsersDecimalSeparator)
{
    setDecimalSeparator(",");
    char text[kFormattedValueSize], number[kFormattedValueSize];
    int length = formatVolume(1536000, text);
    EXPECT_STREQ(text, "1,46MB");
    numberOf(text, length, number);
    EXPECT_STREQ(number, "1,46");
    formatDuration(90, text);
    EXPECT_STREQ(text, "1,50min");
    formatInUnitOf(formatVolume, 226492416, 1288490189, text);
    EXPECT_STREQ(text, "0,21GB");
    formatVolume(999, text);
    EXPECT_STREQ(text, "999B");
    setDecimalSeparator(""); // no separator at all is not taken
    formatDuration(90, text);
    EXPECT_STREQ(text, "1,50min");
    setDecimalSeparator(".");
    formatDuration(90, text);
    EXPECT_STREQ(text, "1.50min");
}

} // namespace
