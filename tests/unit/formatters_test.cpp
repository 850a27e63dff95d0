#include <gtest/gtest.h>

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
        {0, "0B", 1},
        {999, "999B", 3},
        {1000, "0.98kB", 4},          // 1000 / 1024 = 0.9766
        {1536, "1.50kB", 4},
        {10239, "10.00kB", 5},        // 9.999 rounds up in print, still the two-decimal range
        {10240, "10.0kB", 4},
        {102399, "100.0kB", 5},       // 99.999
        {102400, "100kB", 3},
        {1023999, "999kB", 3},
        {1024000, "0.98MB", 4},       // 0.9766
        {1536000, "1.46MB", 4},       // 1.4648
        {10485759, "10.00MB", 5},
        {10485760, "10.0MB", 4},
        {104857599, "100.0MB", 5},
        {104857600, "100MB", 3},
        {1048575999, "999MB", 3},     // 1048575999 / 1024 / 1024 = 999.99.. truncated
        {1048576000, "0.98GB", 4},
        {5368709120, "5.00GB", 4},
        {-2048, "+2.00kB", 4},        // the number part does not count the sign mark
        {-999, "+999B", 3},
        {INT64_MIN, "+8589934592.00GB", 13},
    };
    expectFormats(formatVolume, cases, std::size(cases));
}

TEST(FormatDuration, ExamplesAndEveryRangeBoundary)
{
    const FormatCase cases[] = {
        {0, "0s", 1},
        {59, "59s", 2},
        {60, "1.00min", 4},
        {90, "1.50min", 4},
        {599, "9.98min", 4},   // 9.983
        {600, "10.0min", 4},
        {3599, "60.0min", 4},  // 59.98 prints as 60.0
        {3600, "1.00h", 4},
        {7200, "2.00h", 4},
        {35999, "10.00h", 5},  // 9.9997
        {36000, "10.0h", 4},
        {43200, "12.0h", 4},
        {-7200, "+2.00h", 4},
        {-30, "+30s", 2},
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

}  // namespace
