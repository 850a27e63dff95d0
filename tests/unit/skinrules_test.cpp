#include "skin/skinrules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(SkinRules, SlotNames)
{
    struct Case {
        const char* type;
        uint32_t element;
    };
    const Case elements[] = {
        { "MainWindow", 0 },
        { "Heading", 1 },
        { "Data", 2 },
        { "DataText", 3 },
        { "DataSummary", 4 },
        { "Time", 5 },
        { "TimeText", 6 },
        { "TimeSummary", 7 },
        { "Log", 8 },
        { "LogText", 9 },
        { "Summary", 10 },
        { "MenuButton", 11 },
        { "MinimizeButton", 12 },
        { "CloseButton", 13 },
        { "TariffButton", 14 },
        { "StatusText", 16 },
        { "SummaryColumns", 17 },
        { "SummaryRows", 18 },
        { "LogColumns", 19 },
        { "LogScroll", 20 },
        { "", kNoSkinSlot },
        { "mainwindow", kNoSkinSlot },
        { "Log ", kNoSkinSlot },
    };
    for (const Case& c : elements)
        EXPECT_EQ(skinElementOfType(c.type), c.element) << c.type;

    const Case fonts[] = { { "Heading", 0 }, { "Text", 1 }, { "Sent", 2 }, { "Received", 3 }, { "Summary", 4 },
        { "Data", 5 }, { "Time", 6 }, { "text", kNoSkinSlot }, { "Log", kNoSkinSlot } };
    for (const Case& c : fonts)
        EXPECT_EQ(skinFontOfType(c.type), c.element) << c.type;

    const Case states[] = { { "enabled", 0 }, { "disabled", 1 }, { "hilight", 2 }, { "pressed", 3 }, { "highlight", 0 },
        { "Pressed", 0 }, { "", 0 } };
    for (const Case& c : states)
        EXPECT_EQ(buttonStateOfType(c.type), c.element) << c.type;
}

TEST(SkinRules, IntegersReadLikeAtoi)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        { "0", 0 },
        { "42", 42 },
        { "  17", 17 },
        { "\t\n-5", -5 },
        { "+6", 6 },
        { "12px", 12 },
        { "px12", 0 },
        { "", 0 },
        { "-", 0 },
        { "- 3", 0 },
        { "3.9", 3 },
        { "0x10", 0 },
        { "2147483647", 2147483647 },
        { "-2147483648", INT32_MIN },
        { "99999999999", 2147483647 },
        { "-99999999999", INT32_MIN },
    };
    for (const Case& c : cases)
        EXPECT_EQ(readSkinInteger(c.text), c.value) << c.text;
}

TEST(SkinRules, ColoursReadAsHexadecimal)
{
    struct Case {
        const char* text;
        uint32_t value;
    };
    const Case cases[] = {
        { "ff", 0xFF },
        { "ff00", 0xFF00 },
        { "ff0000", 0xFF0000 },
        { "0xff", 0xFF },
        { "0XAbCd", 0xABCD },
        { " 12", 0x12 },
        { "12zz", 0x12 },
        { "zz", 0 },
        { "", 0 },
        { "0x", 0 },
        { "ffffffff", 0xFFFFFFFF },
        { "1ffffffff", 0xFFFFFFFF },
    };
    for (const Case& c : cases)
        EXPECT_EQ(readSkinColor(c.text), c.value) << c.text;
}

TEST(SkinRules, TextAlignBits)
{
    struct Case {
        const char* text;
        uint32_t format;
    };
    const Case cases[] = {
        { "", 0x820 },
        { "lt", 0x820 },
        { "cc", 0x825 },
        { "x", 0x820 },
        { "rb", 0x82A },
        { "cb", 0x829 },
        { "rc", 0x826 },
        { "c", 0x821 },
        { "r", 0x822 },
        { "tc", 0x824 },
        { "lb", 0x828 },
        { "ccc", 0x825 },
        { "CC", 0x820 },
        { "bc", 0x824 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(textFormatOfAlign(c.text), c.format) << c.text;
}

std::vector<OutlinePoint> points(const std::string& text, uint32_t capacity = kMaxOutlinePoints)
{
    std::vector<OutlinePoint> read(kMaxOutlinePoints + 1, OutlinePoint { -1, -1 });
    const uint32_t count = parsePointText(text.data(), text.size(), read.data(), capacity);
    read.resize(count);
    return read;
}

bool operator==(const OutlinePoint& a, const OutlinePoint& b) { return a.x == b.x && a.y == b.y; }

TEST(SkinRules, PointTexts)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<OutlinePoint> expected;
    };
    const Case cases[] = {
        { "pairs", "0 0 100 0 100 50 0 50", { { 0, 0 }, { 100, 0 }, { 100, 50 }, { 0, 50 } } },
        { "tabs and line breaks", "\t0\t0\r\n100 0\n 100   50\n0 50\n",
            { { 0, 0 }, { 100, 0 }, { 100, 50 }, { 0, 50 } } },
        { "odd count: last y is 0", "10 20 30", { { 10, 20 }, { 30, 0 } } },
        { "signs", "-5 +7 -0 3", { { -5, 7 }, { 0, 3 } } },
        { "garbage reads as 0 and is skipped whole", "4x 9 abc 2", { { 4, 9 }, { 0, 2 } } },
        { "control bytes separate",
            std::string("1\x01"
                        "2\x1f"
                        "3\x0b"
                        "4"),
            { { 1, 2 }, { 3, 4 } } },
        { "empty", "", {} },
        { "only white space", " \t\r\n ", {} },
        { "text ends at a zero byte", std::string("1 2\0 3 4", 8), { { 1, 2 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<OutlinePoint> read = points(c.text);
        ASSERT_EQ(read.size(), c.expected.size());
        for (size_t i = 0; i < read.size(); ++i)
            EXPECT_TRUE(read[i] == c.expected[i]) << i << ": " << read[i].x << "," << read[i].y;
    }
}

TEST(SkinRules, PointTextLimits)
{
    // At most 4096 points, whatever the capacity or the text offers.
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "1 2 ";
    EXPECT_EQ(points(many).size(), 4096u);
    EXPECT_EQ(points(many, 3).size(), 3u);
    EXPECT_EQ(points(many, 100000).size(), 4096u);

    // The length bounds the reading: a number that runs to the end is read from its bytes
    // inside the length only.
    const char text[] = "12 345678";
    OutlinePoint read[4];
    EXPECT_EQ(parsePointText(text, 6, read, 4), 1u); // "12 345"
    EXPECT_EQ(read[0].x, 12);
    EXPECT_EQ(read[0].y, 345);
}

} // namespace
