#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/menulists.h"

namespace {

const LocalTime kOctober2003 { 2003, 10, 5, 17, 12, 0, 0, 0 };

TEST(LogMonthItems, SeptemberAndOctoberWithOctoberCurrent)
{
    const char* names[] = { "log_200309.zip", "log_200310.zip" };
    LogMonthItem items[kLogMonthMaxItems];
    ASSERT_EQ(logMonthItems(names, 2, kOctober2003, items), 2);
    EXPECT_EQ(items[0].data, 0u);
    EXPECT_TRUE(items[0].current);
    EXPECT_EQ(items[1].year, 2003);
    EXPECT_EQ(items[1].month, 9);
    EXPECT_EQ(items[1].data, 2003u * 65536u + 9u); // 131268617
    EXPECT_EQ(items[1].data, 131268617u);
    EXPECT_FALSE(items[1].current);
}

// Log names of the months first + step * i, for i = 0 .. count - 1, counted from January 1999.
std::vector<std::string> monthLogNames(int first, int count, int step = 1)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const int month = first + (step * i) % count;
        char name[32];
        snprintf(name, sizeof name, "log_%04d%02d.zip", 1999 + month / 12, 1 + month % 12);
        names.push_back(name);
    }
    return names;
}

int itemsOf(const std::vector<std::string>& names, LogMonthItem* items)
{
    std::vector<const char*> pointers;
    for (auto& name : names)
        pointers.push_back(name.c_str());
    return logMonthItems(pointers.data(), int(pointers.size()), kOctober2003, items);
}

TEST(LogMonthItems, TheFortyNewestNewestFirstAndAlwaysTheCurrentMonth)
{
    LogMonthItem items[kLogMonthMaxItems];
    // 45 logs, January 1999 to September 2002, in no order; October 2003 has no log yet.
    ASSERT_EQ(itemsOf(monthLogNames(0, 45, 7), items), 40);
    EXPECT_TRUE(items[0].current);
    EXPECT_EQ(items[0].data, 0u);
    EXPECT_EQ(items[1].data, 2002u * 65536u + 9u);
    EXPECT_EQ(items[2].data, 2002u * 65536u + 8u);
    // The 39th newest log is July 1999.
    EXPECT_EQ(items[39].data, 1999u * 65536u + 7u);
    for (int i = 2; i < 40; ++i)
        EXPECT_LT(items[i].data, items[i - 1].data) << i;

    // With no log at all, the current month alone.
    ASSERT_EQ(itemsOf({}, items), 1);
    EXPECT_TRUE(items[0].current);

    // This month's log among 40 of later months (a clock that was set wrong): the 39 newest,
    // then this month, listed once.
    std::vector<std::string> names = monthLogNames(5 * 12, 40); // January 2004 to April 2007
    names.push_back("log_200310.zip");
    ASSERT_EQ(itemsOf(names, items), 40);
    EXPECT_EQ(items[0].data, 2007u * 65536u + 4u);
    EXPECT_EQ(items[38].data, 2004u * 65536u + 2u);
    EXPECT_TRUE(items[39].current);
    EXPECT_EQ(items[39].year, 2003);
    EXPECT_EQ(items[39].month, 10);
}

TEST(LogFileMonth, DigitsUpToTheFirstOtherCharacter)
{
    struct Case {
        const char* name;
        bool valid;
        uint16_t year, month;
    } cases[] = {
        { "log_200310.zip", true, 2003, 10 },
        { "log_200310x.zip", true, 2003, 10 },
        { "log_000112.zip", true, 1, 12 },
        { "log_.zip", false, 0, 0 },
        { "LOG_200310.zip", false, 0, 0 },
        { "log_200313.zip", false, 0, 0 }, // no month 13: no item with a meaningless date
        { "log_200300.zip", false, 0, 0 },
        { "log_1.zip", false, 0, 0 }, // month 1 of year 0
        { "log_99999999999999999999.zip", false, 0, 0 },
    };
    for (const auto& c : cases) {
        uint16_t year = 0, month = 0;
        EXPECT_EQ(logFileMonth(c.name, &year, &month), c.valid) << c.name;
        if (c.valid) {
            EXPECT_EQ(year, c.year) << c.name;
            EXPECT_EQ(month, c.month) << c.name;
        }
    }
}

TEST(SkinItems, FoldersOnlyExactNameCheckedAtMost32)
{
    const FolderEntry entries[] = {
        { ".", true },
        { "..", true },
        { "Default", true },
        { "default", true },
        { "english.dll", false },
        { "blue", true },
    };
    SkinItem items[kSkinMaxItems];
    ASSERT_EQ(skinItems(entries, int(std::size(entries)), "default", items), 3);
    EXPECT_STREQ(items[0].name, "Default");
    EXPECT_FALSE(items[0].checked); // differs only in case: not the skin in use
    EXPECT_STREQ(items[1].name, "default");
    EXPECT_TRUE(items[1].checked);
    EXPECT_STREQ(items[2].name, "blue");
    EXPECT_FALSE(items[2].checked);

    std::vector<FolderEntry> many(40, FolderEntry { "skin", true });
    SkinItem manyItems[kSkinMaxItems];
    EXPECT_EQ(skinItems(many.data(), 40, "default", manyItems), 32);
}

TEST(MenuHint, RangesCollapseToTheirFirstId)
{
    const uint32_t cases[][2] = {
        { 30000, 30000 },
        { 30039, 30000 },
        { 30040, 30040 },
        { 30049, 30049 },
        { 30279, 30279 },
        { 30280, 30280 },
        { 30295, 30280 },
        { 30296, 30296 },
        { 30299, 30299 },
        { 30300, 30300 },
        { 30555, 30300 },
        { 30556, 30556 },
        { 30587, 30556 },
        { 30588, 30588 },
        { 30272, 30272 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(menuHintId(c[0]), c[1]) << c[0];
}

TEST(MenuItemText, AmpersandsOfANameShowAsWrittenAndComeBack)
{
    struct Case {
        const char* name;
        size_t size;
        const char* text;
    };
    const Case cases[] = {
        { "Night & Day", 64, "Night && Day" },
        { "&&", 64, "&&&&" },
        { "plain", 64, "plain" },
        { "", 64, "" },
        // Cut to the buffer, never between the two halves of a pair.
        { "ab&c", 4, "ab" },
        { "ab&c", 5, "ab&&" },
        { "abc", 1, "" },
    };
    for (const Case& c : cases) {
        char text[64];
        menuItemText(c.name, text, c.size);
        EXPECT_STREQ(text, c.text) << c.name << " in " << c.size;
        if (c.size == 64) {
            char name[64];
            menuItemName(text, name, sizeof name);
            EXPECT_STREQ(name, c.name);
        }
    }
    char name[3];
    menuItemName("a&&b", name, sizeof name);
    EXPECT_STREQ(name, "a&");
}

} // namespace
