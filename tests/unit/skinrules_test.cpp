#include "skin/skinrules.h"

#include <gtest/gtest.h>

#include <climits>

#include <cstring>
#include <string>
#include <vector>

#include "skin/skinscale.h"

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
        { "YearData", 17 },
        { "YearSummary", 20 },
        { "SummaryColumns", 21 },
        { "SummaryRows", 22 },
        { "LogColumns", 23 },
        { "LogScroll", 24 },
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

// A skin without the year's elements gets them over its month figures' area; one that places
// any of them keeps its own layout.
TEST(SkinRules, YearElementsFallBackToThePlainLayout)
{
    struct Case {
        const char* what;
        std::vector<std::pair<uint32_t, SkinRect>> given;
        SkinRect expected[4]; // YearData, YearTime, YearCost, YearSummary
    } cases[] = {
        { "the default skin's month figures",
            { { kElementData, { 51, 50, 206, 94 } }, { kElementDataText, { 17, 38, 47, 96 } },
                { kElementTimeSummary, { 268, 97, 423, 110 } }, { kElementSummary, { 40, 115, 394, 155 } },
                { kElementLog, { 40, 157, 394, 273 } }, { kElementLogText, { 396, 152, 423, 273 } },
                { kElementStatusText, { 14, 282, 420, 298 } } },
            // 17..423 by 38..273: three charts of (273 - 16 - 38) / 3 = 73 less a gap of 3.
            { { 17, 38, 423, 108 }, { 17, 111, 423, 181 }, { 17, 184, 423, 254 }, { 17, 257, 423, 273 } } },
        { "no month figures: the 300 x 200 window less 8 all round", {},
            { { 8, 8, 292, 61 }, { 8, 64, 292, 117 }, { 8, 120, 292, 173 }, { 8, 176, 292, 192 } } },
        { "the skin's own year cost chart",
            { { kElementYearCost, { 1, 2, 3, 4 } }, { kElementLog, { 40, 157, 394, 273 } } },
            { { 0, 0, 0, 0 }, { 0, 0, 0, 0 }, { 1, 2, 3, 4 }, { 0, 0, 0, 0 } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SkinRect rects[kSkinElementCount] = {};
        uint32_t formats[kSkinElementCount] = {};
        for (const auto& [slot, rect] : c.given)
            rects[slot] = rect;
        placeYearElements(rects, formats, 300, 200, 96);
        for (uint32_t i = 0; i < 4; ++i) {
            const SkinRect& r = rects[kElementYearData + i];
            const SkinRect& e = c.expected[i];
            EXPECT_TRUE(r.left == e.left && r.top == e.top && r.right == e.right && r.bottom == e.bottom)
                << i << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        }
    }
}

TEST(SkinScale, LengthsAtEachScale)
{
    struct Case {
        int32_t value;
        uint32_t dpi;
        int32_t scaled;
    };
    const Case cases[] = {
        // A 434 x 306 window at 100, 125, 150 and 200 %; the halves round up.
        { 434, 96, 434 },
        { 306, 96, 306 },
        { 434, 120, 543 }, // 542.5
        { 306, 120, 383 }, // 382.5
        { 434, 144, 651 },
        { 306, 144, 459 },
        { 434, 192, 868 },
        { 306, 192, 612 },
        { 0, 144, 0 },
        { 1, 120, 1 }, // 1.25
        { 3, 144, 5 }, // 4.5
        { 13, 168, 23 }, // 22.75 at 175 %
        { -5, 120, -6 }, // -6.25
        { -3, 144, -5 }, // -4.5: away from zero
        { INT32_MAX, 192, INT32_MAX },
        { INT32_MIN, 192, INT32_MIN },
    };
    for (const Case& c : cases)
        EXPECT_EQ(scaleToDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;

    struct Span {
        int32_t start, length;
        uint32_t dpi;
        int32_t scaled;
    };
    const Span spans[] = {
        { 0, 434, 120, 543 }, { 401, 20, 120, 25 }, // 501.25 to 526.25
        { 2, 2, 120, 2 }, // 2.5 to 5: the scaled 2 alone would be 3
        { 1, 2, 120, 3 }, // 1.25 to 3.75
        { 10, 0, 144, 0 }, { INT32_MAX, 10, 192, 0 }, // the end stops at the largest value, and so does its scale
    };
    for (const Span& c : spans)
        EXPECT_EQ(scaleSpan(c.start, c.length, c.dpi), c.scaled) << c.start << "+" << c.length << " at " << c.dpi;
}

TEST(SkinScale, PicturesResampleSmoothly)
{
    struct Case {
        const char* name;
        uint32_t width, height;
        std::vector<uint8_t> pixels;
        uint32_t targetWidth, targetHeight;
        std::vector<uint8_t> expected;
    };
    // Enlarging to twice the size puts the target centres a quarter pixel either side of the
    // source centres: 1/4 and 3/4 of each neighbour. Each channel on its own.
    const Case cases[] = {
        { "twice as wide", 2, 1, { 0, 100, 200, 255, 255, 0, 40, 0 }, 4, 1,
            { 0, 100, 200, 255, 64, 75, 160, 191, 191, 25, 80, 64, 255, 0, 40, 0 } },
        { "twice as high", 1, 2, { 0, 0, 0, 255, 255, 255, 255, 255 }, 1, 4,
            { 0, 0, 0, 255, 64, 64, 64, 255, 191, 191, 191, 255, 255, 255, 255, 255 } },
        { "the same size is the same picture", 3, 1, { 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120 }, 3, 1,
            { 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120 } },
        // Halving averages over two pixels and their neighbours, weighted 1/8, 3/8, 3/8, 1/8.
        { "half as wide", 4, 1, { 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255 }, 2, 1,
            { 32, 32, 32, 32, 223, 223, 223, 223 } },
        { "a flat area stays flat at 4/3", 3, 3, std::vector<uint8_t>(36, 77), 4, 4, std::vector<uint8_t>(64, 77) },
        { "one pixel fills the target", 1, 1, { 9, 8, 7, 6 }, 2, 2,
            { 9, 8, 7, 6, 9, 8, 7, 6, 9, 8, 7, 6, 9, 8, 7, 6 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> target(size_t(c.targetWidth) * c.targetHeight * 4, 0xEE);
        ASSERT_TRUE(resamplePixels(c.pixels.data(), c.width, c.height, target.data(), c.targetWidth, c.targetHeight));
        EXPECT_EQ(target, c.expected);
    }

    // An empty side has nothing to resample; the target stays as it was.
    std::vector<uint8_t> untouched(16, 0xEE);
    const uint8_t pixel[4] = { 1, 2, 3, 4 };
    EXPECT_FALSE(resamplePixels(pixel, 0, 1, untouched.data(), 2, 2));
    EXPECT_FALSE(resamplePixels(pixel, 1, 1, untouched.data(), 0, 2));
    EXPECT_EQ(untouched, std::vector<uint8_t>(16, 0xEE));
}

} // namespace
