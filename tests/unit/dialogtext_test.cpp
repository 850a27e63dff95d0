#include <gtest/gtest.h>

#include <cstring>

#include "core/apperror.h"
#include "core/textinserts.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/holidaytable.h"
#include "ui/dialogs/tarifftable.h"

namespace {

TEST(MoneyText, ReadsTypedAndDisplayedAmounts)
{
    struct Case {
        const char* text;
        const char* decimal;
        const char* group;
        double amount;
    } cases[] = {
        { "0,0123", ".", ",", 0.0123 }, // a comma is a decimal point where it cannot group
        { "0,0123", ",", ".", 0.0123 },
        { "-5", ".", ",", 5.0 }, // signs are ignored: amounts are never negative
        { "($5.00)", ".", ",", 5.0 },
        { "$1,234.56", ".", ",", 1234.56 }, // what an English field displays reads back
        { "1.234,56 \x80", ",", ".", 1234.56 }, // and a German one (CP1252 euro sign)
        { "$1,234", ".", ",", 1234.0 }, // precision 0: separators that group are skipped
        { "1.234 \x80", ",", ".", 1234.0 },
        { "1.234.567", ",", ".", 1234567.0 },
        { "0.29", ",", ".", 0.29 }, // two digits after '.' cannot be a group
        { "0.123", ",", ".", 0.123 }, // nor can a group start with 0
        { "12.34", ",", ".", 12.34 },
        { "1 234,5", ",", " ", 1234.5 },
        { "1 234", ",", " ", 1234.0 },
        { "1,5,3", ".", ",", 1.53 }, // not a grouping: the first comma is the point
        { "", ".", ",", 0.0 },
        { "abc", ".", ",", 0.0 },
        { "$0.01", ".", ",", 0.01 },
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(parseMoneyText(c.text, c.decimal, c.group), c.amount) << c.text;
}

TEST(MoneyText, PrecisionDigitsFromText)
{
    struct Case {
        const char* text;
        int digits;
    } cases[] = { { "2", 2 }, { "4", 4 }, { "0", 0 }, { "6", 6 }, { "", 0 }, { "abc", 0 }, { "-1", 0 }, { "12", 9 },
        { "999", 9 }, { "3x", 3 } };
    for (const Case& c : cases)
        EXPECT_EQ(precisionDigits(c.text), c.digits) << c.text;
}

TEST(MoneyText, GroupingFromLocaleText)
{
    struct Case {
        const char* text;
        uint32_t grouping;
    } cases[] = { { "3;0", 3 }, { "3;2;0", 32 }, { "3", 30 }, { "0", 0 }, { "0;0", 0 }, { "", 0 } };
    for (const Case& c : cases)
        EXPECT_EQ(groupingFromLocaleText(c.text), c.grouping) << c.text;
}

TEST(MoneyText, LabelFormats)
{
    struct Case {
        const char* format;
        const char* value;
        size_t size;
        const char* out;
    } cases[] = {
        { "per %s", "minute", 64, "per minute" }, { "%s free", "kB", 64, "kB free" },
        { "100%% %s %s %d", "h", 64, "100%% h %s %d" }, // only the first %s is filled
        { "no placeholder", "x", 64, "no placeholder" },
        { "per %s", "minute", 8, "per min" }, // cut to the buffer, terminated
    };
    for (const Case& c : cases) {
        char out[64];
        fillLabelFormat(c.format, c.value, out, c.size);
        EXPECT_STREQ(out, c.out) << c.format;
    }
    // Several values fill the placeholders in order; a value's own "%s" is not filled again.
    const char* values[] = { "80 %s", "1.2MB" };
    char out[64];
    fillTextFormat("%s used, %s left, %s", values, 2, out, sizeof out);
    EXPECT_STREQ(out, "80 %s used, 1.2MB left, %s");
}

TEST(MoneyText, VolumeCorrection)
{
    struct Case {
        const char* text;
        const char* decimal;
        const char* group;
        uint32_t hundredths;
    } cases[] = {
        { "0,29", ".", ",", 29 },
        { "0.29", ".", ",", 29 },
        { "0,29", ",", ".", 29 },
        { "0.29", ",", ".", 29 },
        { "1,5", ",", ".", 150 },
        { "100.00", ".", ",", 10000 },
        { "-3", ".", ",", 300 },
        { "x", ".", ",", 0 },
        { "99999999999", ".", ",", 0xFFFFFFFFu },
    };
    for (const Case& c : cases)
        EXPECT_EQ(volumeCorrectionFromText(c.text, c.decimal, c.group), c.hundredths) << c.text;
}

TEST(HolidayTable, UnpackAndOrder)
{
    const HolidayDate christmas = unpackDate(1025944); // 24 December 2003
    EXPECT_EQ(christmas.year, 2003u);
    EXPECT_EQ(christmas.month, 12u);
    EXPECT_EQ(christmas.day, 24u);
    EXPECT_LT(compareHolidayDates(packDate(2003, 12, 24), packDate(2003, 12, 25)), 0);
    EXPECT_GT(compareHolidayDates(packDate(2004, 1, 1), packDate(2003, 12, 31)), 0);

    // A holiday of every year has year 0: it sorts first and reads back as its day.
    EXPECT_TRUE(isEveryYear(packDate(0, 1, 1)));
    EXPECT_FALSE(isEveryYear(packDate(2003, 1, 1)));
    EXPECT_FALSE(isEveryYear(0));
    EXPECT_LT(compareHolidayDates(packDate(0, 12, 31), packDate(2003, 1, 1)), 0);
    EXPECT_EQ(unpackDate(packDate(0, 5, 1)).month, 5u);

    const struct {
        const char* shortDate;
        const char* monthDay;
    } pictures[] = {
        { "M/d/yyyy", "M/d" },
        { "dd.MM.yyyy", "dd.MM" },
        { "yyyy-MM-dd", "MM-dd" },
        { "d/M/yy", "d/M" },
        { "dd MMM", "dd MMM" },
        { "d. M. yyyy", "d. M" },
    };
    for (const auto& picture : pictures) {
        char monthDay[32];
        monthDayPicture(picture.shortDate, monthDay, sizeof monthDay);
        EXPECT_STREQ(monthDay, picture.monthDay) << picture.shortDate;
    }
}

TEST(HolidayTable, StoreEndsTheTableAfterTheRows)
{
    memset(&settings, 0, sizeof settings);
    for (int i = 0; i < kHolidayCount; ++i) {
        strcpy(settings.holidays[i].name, "old");
        settings.holidays[i].packedDate = packDate(2000, 1, 1 + i % 28);
    }
    Holiday rows[2] = {};
    strcpy(rows[0].name, "New Year");
    rows[0].packedDate = packDate(2004, 1, 1);
    rows[1].packedDate = packDate(2004, 12, 25); // an empty name is kept as it is
    storeHolidays(rows, 2);
    EXPECT_STREQ(settings.holidays[0].name, "New Year");
    EXPECT_EQ(settings.holidays[0].packedDate, packDate(2004, 1, 1));
    EXPECT_STREQ(settings.holidays[1].name, "");
    EXPECT_EQ(settings.holidays[2].packedDate, 0u);
    EXPECT_EQ(holidayCount(), 2);

    // A full list has no room for the end mark and needs none.
    Holiday full[kHolidayCount + 1] = {};
    for (int i = 0; i <= kHolidayCount; ++i)
        full[i].packedDate = packDate(2005, 1, 1) + uint32_t(i);
    storeHolidays(full, kHolidayCount + 1);
    EXPECT_EQ(holidayCount(), kHolidayCount);
    EXPECT_EQ(settings.holidays[kHolidayCount - 1].packedDate, packDate(2005, 1, 1) + 31u);
    EXPECT_EQ(settings.updateIntervalMs, 0u); // nothing written past the table
}

class TariffTableEdits : public testing::Test {
protected:
    void SetUp() override { freeTariffs(); }
    void TearDown() override { freeTariffs(); }
};

TEST_F(TariffTableEdits, AppendUpToTheLastSlotThenRefuse)
{
    for (int i = 0; i < kTariffSlots; ++i) {
        Rate* rate = appendTariff();
        ASSERT_NE(rate, nullptr) << i;
        EXPECT_STREQ(rate->precision, "2");
        EXPECT_EQ(rate->cost[6], 0.0);
    }
    EXPECT_EQ(tariffCount(), kTariffSlots);
    AppError = kNothingPending;
    EXPECT_EQ(appendTariff(), nullptr);
    EXPECT_EQ(AppError, uint32_t(kNothingPending));
    EXPECT_EQ(tariffCount(), kTariffSlots);
}

TEST_F(TariffTableEdits, RemoveMovesLaterTariffsDown)
{
    for (const char* name : { "A", "B", "C" })
        strcpy(appendTariff()->name, name);
    EXPECT_FALSE(removeTariff(3));
    EXPECT_FALSE(removeTariff(-1));
    ASSERT_TRUE(removeTariff(0));
    EXPECT_EQ(tariffCount(), 2);
    EXPECT_STREQ(TariffTable[0]->name, "B");
    EXPECT_STREQ(TariffTable[1]->name, "C");
    EXPECT_EQ(TariffTable[2], nullptr);
    ASSERT_TRUE(removeTariff(1));
    ASSERT_TRUE(removeTariff(0));
    EXPECT_EQ(tariffCount(), 0);
    EXPECT_EQ(TariffTable[0], nullptr);
}

TEST(TariffNames, LessThanCannotBeStored)
{
    EXPECT_TRUE(isStorableTariffName(""));
    EXPECT_TRUE(isStorableTariffName("Call > Net"));
    EXPECT_FALSE(isStorableTariffName("a<b"));
}

} // namespace
