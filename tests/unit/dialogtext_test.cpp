#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/textinserts.h"
#include "fakes/fakeplatform.h"
#include "lang/ids.h"
#include "tariff/rates.h"
#include "ui/dialogs/dialogtext.h"
#include "ui/dialogs/holidaytable.h"
#include "ui/dialogs/tariffdescription.h"
#include "ui/dialogs/tarifftable.h"

namespace {

// A field takes exactly the numbers its locale writes, and the one decimal mark of the other
// habit where it cannot group; everything else is refused, never read as some other number.
TEST(TypedNumbers, TakeWhatTheLocaleWritesAndRefuseTheRest)
{
    const LocaleNumberFormat english { ".", ",", "" }, german { ",", ".", "" };
    const LocaleNumberFormat dollars { ".", ",", "$" }, euros { ",", ".", "\x80" }; // CP1252 euro sign
    const LocaleNumberFormat french { ",", "\xA0", "" }; // groups with a no-break space
    const NumberLimits price { 0, 1e9, 6 }, whole { 0, 1000000000, 0 }, percent { 0, 100, 2 };
    const NumberLimits interval { 100, 60000, 0 };
    constexpr TypedNumber ok = TypedNumber::valid, no = TypedNumber::notANumber;
    constexpr TypedNumber places = TypedNumber::tooManyPlaces, range = TypedNumber::outOfRange;
    struct Case {
        const char* text;
        const LocaleNumberFormat& format;
        const NumberLimits& limits;
        TypedNumber reading;
        double value;
    } cases[] = {
        // What the fields show reads back.
        { "$1,234.56", dollars, price, ok, 1234.56 },
        { "1.234,56 \x80", euros, price, ok, 1234.56 },
        { "\x80 0,005", euros, price, ok, 0.005 },
        { "$0.000001", dollars, price, ok, 0.000001 },
        { "5,000", english, whole, ok, 5000 },
        { "5.000", german, whole, ok, 5000 },
        { "1\xA0"
          "234,5",
            french, percent, range, 0 },
        { "1 234", french, whole, ok, 1234 }, // a typed space for the no-break space
        { "1.5", french, percent, ok, 1.5 },
        { "  42  ", english, whole, ok, 42 },
        { ".5", english, price, ok, 0.5 },
        // The other habit's decimal mark where it cannot group.
        { "0,29", english, percent, ok, 0.29 },
        { "0.29", german, percent, ok, 0.29 },
        { "0,005", dollars, price, ok, 0.005 },
        { "12,34", english, price, ok, 12.34 },
        { "1,234", english, price, ok, 1234 }, // a grouping stays one
        // Seen by a newcomer: rewritten into other numbers before.
        { "12ab34", dollars, price, no, 0 },
        { "-0.02", dollars, price, no, 0 },
        { "1e3", dollars, price, no, 0 },
        { "-50abc", german, percent, no, 0 },
        { "($5.00)", dollars, price, no, 0 },
        { "", english, whole, no, 0 },
        { "$", dollars, price, no, 0 },
        { ",", english, price, no, 0 },
        { "1.2.3", english, price, no, 0 },
        { "1,5,3", english, price, no, 0 },
        { "1.234,5", english, price, no, 0 }, // the group separator after the point
        { "1,234.5", german, price, no, 0 },
        { "1 234", english, whole, no, 0 }, // a blank groups nothing where a comma does
        { "5$5", dollars, price, no, 0 },
        // Places and ranges.
        { "0.0000001", english, price, places, 0 },
        { "5.5", english, whole, places, 0 },
        { "0,125", german, percent, places, 0 },
        { "250", english, NumberLimits { 1, 100, 0 }, range, 0 },
        { "0", english, NumberLimits { 1, 100, 0 }, range, 0 },
        { "5", english, interval, range, 0 },
        { "60,001", english, interval, range, 0 },
        { "60,000", english, interval, ok, 60000 },
        { "1000000001", english, whole, range, 0 },
        { "100,01", german, percent, range, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double value = -1;
        EXPECT_EQ(readTypedNumber(c.text, c.format, c.limits, value), c.reading);
        if (c.reading == ok)
            EXPECT_DOUBLE_EQ(value, c.value);
        else
            EXPECT_EQ(value, -1); // untouched
    }
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

TEST(MoneyText, PricesShowThePlacesTheyCarry)
{
    struct Case {
        double price;
        int least;
        int places;
    } cases[] = { { 0.005, 2, 3 }, { 0.01, 2, 2 }, { 0.1, 2, 2 }, { 4.95, 2, 2 }, { 0, 2, 2 }, { 0.000001, 2, 6 },
        { 0.0000004, 2, 2 }, { 0.0123, 2, 4 }, { 12, 0, 0 }, { 0.5, 0, 1 }, { 1234.56789, 2, 5 } };
    for (const Case& c : cases)
        EXPECT_EQ(pricePlaces(c.price, c.least), c.places) << c.price;
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

TEST(HolidayTable, ADayAlreadyListedIsFound)
{
    const uint32_t listed[] = { packDate(2026, 12, 24), packDate(0, 5, 1), packDate(2026, 1, 1) };
    struct Case {
        uint32_t date;
        bool isListed;
    } cases[] = {
        { packDate(2026, 12, 24), true },
        { packDate(2025, 12, 24), false }, // another year
        { packDate(2026, 5, 1), true }, // the day of a holiday of every year
        { packDate(0, 5, 1), true },
        { packDate(0, 1, 1), false }, // every year adds days beside the dated one
        { packDate(2026, 1, 2), false },
        { packDate(2026, 5, 2), false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(isHolidayListed(listed, 3, c.date), c.isListed) << c.date;
    EXPECT_FALSE(isHolidayListed(listed, 0, packDate(2026, 12, 24)));
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

// The tariff page's description, with the language patterns of a small fake module: every step
// as it will apply, skipped steps named, and the trap of a skipped step handed over to 0.
TEST(TariffDescription, StepsAsTheyApplyAndTheFreeUsageTrap)
{
    resetFakePlatform();
    fakePlatform.languageStrings = {
        { IDS_TARIFF_DESCRIBE_ALWAYS, "At all times: %1." },
        { IDS_TARIFF_DESCRIBE_MAIN, "Main: %1." },
        { IDS_TARIFF_DESCRIBE_SECONDARY, "Secondary: %1." },
        { IDS_TARIFF_DESCRIBE_BOTH, "Both periods: %1." },
        { IDS_TARIFF_STEP_FREE, "free up to %1" },
        { IDS_TARIFF_STEP_UP_TO, "%1 per %2 up to %3" },
        { IDS_TARIFF_STEP_BEYOND, "%1 per %2 for every %2 beyond" },
        { IDS_TARIFF_STEP_EVERY, "%1 per %2 from the first %2" },
        { IDS_TARIFF_STEP_THEN, ", then %1" },
        { IDS_TARIFF_STEP_SKIPPED, " (price %1 skipped, price %2 takes over)" },
        { IDS_TARIFF_STEPS_SKIPPED, " (prices %1 to %2 skipped, price %3 takes over)" },
        { IDS_TARIFF_FREE_BEYOND, "Beyond %1 it costs nothing." },
        { IDS_TARIFF_COUNT, "%1 %2" },
    };
    const TariffWording megabytes {
        "MB",
        "MB",
        [](double price, char* text, size_t size) { snprintf(text, size, "%.3f", price); },
        [](uint64_t units, char* text, size_t size) { snprintf(text, size, "%llu", (unsigned long long)units); },
    };
    TariffWording minutes = megabytes;
    minutes.unitName = "minute";
    minutes.countUnitName = "minutes";
    struct Case {
        const char* what;
        uint32_t amounts[4];
        double costs[7];
        bool secondaryPeriod;
        const TariffWording& wording;
        const char* text;
        int trap;
        uint32_t freeFrom;
    } cases[] = {
        { "a newcomer's first tariff", { 5000, 0, 0, 0 }, { 0, 0.005 }, false, megabytes,
            "At all times: free up to 5000 MB, then 0.000 per MB for every MB beyond (prices 1 to 2 skipped, price 3 "
            "takes over).\r\nBeyond 5000 MB it costs nothing.\r\n",
            1, 5000 },
        { "one price beyond the free units", { 5000, 0, 0, 0 }, { 0, 0.01, 0, 0, 0, 0.01 }, false, megabytes,
            "At all times: free up to 5000 MB, then 0.010 per MB for every MB beyond.\r\n", 0, 0 },
        { "three prices, no free units", { 0, 50, 200, 300 }, { 0, 0.01, 0, 0.02, 0, 0.05 }, false, megabytes,
            "At all times: 0.010 per MB up to 200 MB, then 0.020 per MB up to 500 MB, then 0.050 per MB for every MB "
            "beyond.\r\n",
            0, 0 },
        { "one price throughout", { 0, 0, 0, 0 }, { 0, 0.02, 0, 0, 0, 0.02 }, false, megabytes,
            "At all times: 0.020 per MB from the first MB.\r\n", 0, 0 },
        { "nothing entered yet", { 0, 0, 0, 0 }, {}, false, megabytes,
            "At all times: 0.000 per MB from the first MB.\r\n", 0, 0 },
        // Without secondary free units step 1 keeps the price of step 0: one phrase for both.
        { "minutes", { 60, 0, 1000, 0 }, { 0, 0.05, 0, 0.07, 0, 0.05 }, false, minutes,
            "At all times: free up to 60 minutes, then 0.050 per minute for every minute beyond.\r\n", 0, 0 },
        { "a skipped step with a price taking over", { 100, 50, 0, 300 }, { 0, 0.01, 0, 0.02, 0, 0.05 }, false,
            megabytes,
            "At all times: free up to 100 MB, then 0.020 per MB up to 400 MB (price 1 skipped, price 2 takes over), "
            "then "
            "0.050 per MB for every MB beyond.\r\n",
            0, 0 },
        { "step 2 skipped, price 3 of 0", { 100, 50, 200, 0 }, { 0, 0.01, 0, 0.02, 0, 0 }, false, megabytes,
            "At all times: free up to 100 MB, then 0.010 per MB up to 300 MB, then 0.000 per MB for every MB beyond "
            "(price "
            "2 skipped, price 3 takes over).\r\nBeyond 300 MB it costs nothing.\r\n",
            2, 300 },
        { "the periods differ", { 100, 0, 0, 0 }, { 0, 0.01, 0.005, 0, 0, 0.01, 0.005 }, true, megabytes,
            "Main: free up to 100 MB, then 0.010 per MB for every MB beyond.\r\nSecondary: free up to 100 MB, then "
            "0.005 "
            "per MB for every MB beyond.\r\n",
            0, 0 },
        { "the periods alike", { 100, 0, 0, 0 }, { 0, 0.01, 0.01, 0, 0, 0.01, 0.01 }, true, megabytes,
            "Both periods: free up to 100 MB, then 0.010 per MB for every MB beyond.\r\n", 0, 0 },
        { "the trap in the secondary period", { 100, 50, 200, 0 }, { 0, 0.01, 0.01, 0.01, 0.02, 0.01, 0 }, true,
            megabytes,
            "Main: free up to 100 MB, then 0.010 per MB for every MB beyond.\r\nSecondary: free up to 50 MB, then "
            "0.010 "
            "per MB up to 250 MB, then 0.000 per MB for every MB beyond (price 2 skipped, price 3 takes "
            "over).\r\nBeyond "
            "250 MB it costs nothing.\r\n",
            2, 250 },
        // A secondary period that the tariff does not have sets no trap.
        { "no secondary period", { 100, 50, 200, 0 }, { 0, 0.01, 0.01, 0.01, 0.02, 0.01, 0 }, false, megabytes,
            "At all times: free up to 100 MB, then 0.010 per MB for every MB beyond.\r\n", 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rate rate {};
        memcpy(rate.amount, c.amounts, sizeof rate.amount);
        memcpy(rate.cost, c.costs, sizeof rate.cost);
        rate.ltimeb = c.secondaryPeriod ? 8 * 3600 : 0;
        rate.ltimee = c.secondaryPeriod ? 18 * 3600 : 0;
        char text[2048];
        describeTariff(rate, c.wording, text, sizeof text);
        EXPECT_STREQ(text, c.text);
        uint32_t freeFrom = 7;
        EXPECT_EQ(freeUsageTrap(rate, &freeFrom), c.trap);
        EXPECT_EQ(freeFrom, c.trap != 0 ? c.freeFrom : 7u);
    }
}
