#include <gtest/gtest.h>

#include <string>

#include "tariff/tagline.h"

namespace {

TEST(TagLine, SplitsTagValueAndClosedFlag)
{
    struct Case {
        const char* line;
        bool accepted;
        const char* tag;
        const char* value;
        bool closed;
    } cases[] = {
        { "\t<name>Basic</name>\r\n", true, "name", "Basic", true },
        { "<rate>\r\n", true, "rate", "\r\n", false },
        { "</rate>\r\n", true, "/rate", "\r\n", false },
        { "<version>1</version>", true, "version", "1", true },
        // Only as many characters as the tag has are compared in the closing tag.
        { "\t<name>Basic</namex>\r\n", true, "name", "Basic", true },
        { "\t<name>a>b</name>\r\n", true, "name", "a>b", true },
        { "\t<name>x</name> trailing <junk>\r\n", true, "name", "x", true },
        { "<day></day>\r\n", true, "day", "", true },
        { "\t<name>Basic</nam>\r\n", false, "", "", false },
        { "\t<name>Basic</rate>\r\n", false, "", "", false },
        { "\t<name>Basic<name>\r\n", false, "", "", false },
        { "\t<name>a<b</name>\r\n", false, "", "", false },
        { "\t<name Basic\r\n", false, "", "", false },
        { "no tag at all\r\n", false, "", "", false },
        { "\r\n", false, "", "", false },
        { "", false, "", "", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TagLine line {};
        ASSERT_EQ(parseTagLine(c.line, line), c.accepted);
        if (!c.accepted)
            continue;
        EXPECT_STREQ(line.tag, c.tag);
        EXPECT_STREQ(line.value, c.value);
        EXPECT_EQ(line.closed, c.closed);
    }
}

TEST(TagLine, LongTagsAndValuesAreCutInsideTheirBuffers)
{
    const std::string longText(1000, 'v');
    TagLine line {};
    ASSERT_TRUE(parseTagLine(("<name>" + longText + "</name>\r\n").c_str(), line));
    EXPECT_EQ(std::string(line.value), std::string(255, 'v'));

    const std::string longTag(600, 't');
    ASSERT_TRUE(parseTagLine(("<" + longTag + ">x</" + longTag + ">").c_str(), line));
    EXPECT_EQ(std::string(line.tag), std::string(255, 't'));
    EXPECT_STREQ(line.value, "x");

    ASSERT_TRUE(parseTagLine(("<rate>" + longText).c_str(), line));
    EXPECT_EQ(std::string(line.value).size(), 255u);
    EXPECT_FALSE(line.closed);
}

TEST(TagLine, NumbersReadLikeCModuloTwoToThe32)
{
    struct Case {
        const char* text;
        uint32_t value;
    } cases[] = {
        { "42", 42 },
        { "  42abc", 42 },
        { "\t\r\n\v\f 12", 12 },
        { "+7", 7 },
        { "-1", 4294967295u },
        { "-2147483648", 2147483648u },
        { "3000000000", 3000000000u },
        { "4294967295", 4294967295u },
        { "4294967296", 0 },
        { "4294967297", 1 },
        { "99999999999999999999", 1661992959u }, // 10^20 - 1 modulo 2^32
        { "abc", 0 },
        { "", 0 },
        { "- 5", 0 },
        { "\r\n", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(leadingNumber(c.text), c.value);
    }
}

} // namespace
