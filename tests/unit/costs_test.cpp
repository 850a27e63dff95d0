#include <gtest/gtest.h>

#include <cstring>

#include "fakes/fakeplatform.h"
#include "log/monthlog.h"
#include "tariff/costs.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

enum Weekday : uint16_t { Sunday = 0, Monday, Tuesday, Wednesday, Thursday, Friday, Saturday };

LocalTime at(uint16_t year, uint16_t month, uint16_t day, uint16_t dayOfWeek, uint16_t hour, uint16_t minute,
    uint16_t second = 0)
{
    return LocalTime { year, month, dayOfWeek, day, hour, minute, second, 0 };
}

class Pricing : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetSettings();
        freeTariffs();
    }
    void TearDown() override { freeTariffs(); }

    static void setTariff(int slot, const Rate& rate)
    {
        delete TariffTable[slot];
        TariffTable[slot] = new Rate(rate);
    }
};

Rate windowTariff(int32_t begin, int32_t end, uint32_t days)
{
    Rate rate {};
    rate.ltimeb = begin;
    rate.ltimee = end;
    rate.ldays = days;
    rate.unit = 3;
    return rate;
}

TEST_F(Pricing, SecondaryPeriodByWindowWeekdayAndHoliday)
{
    setTariff(0, windowTariff(28800, 64800, 1u << 6)); // 08:00-18:00, Sundays
    setTariff(1, windowTariff(0, 0, 0xFF)); // empty window: no secondary period
    setTariff(2, windowTariff(0, 86400, 1u << 7)); // holidays only
    setTariff(3, windowTariff(64800, 28800, 0)); // window over midnight: never inside
    setTariff(4, windowTariff(28800, 64800, (1u << 5) | 1u)); // Saturdays and Mondays
    settings.holidays[0].packedDate = packDate(2003, 12, 24);
    settings.holidays[1].packedDate = packDate(2003, 12, 25);
    settings.holidays[2].packedDate = packDate(0, 5, 1); // every year
    settings.holidays[4].packedDate = packDate(2003, 12, 31); // after the list's end

    struct Case {
        int tariff;
        LocalTime time;
        bool secondary;
    } cases[] = {
        { 0, at(2003, 10, 3, Friday, 14, 3, 20), false },
        { 0, at(2003, 10, 3, Friday, 7, 59, 59), true },
        { 0, at(2003, 10, 3, Friday, 8, 0, 0), false },
        { 0, at(2003, 10, 3, Friday, 17, 59, 59), false },
        { 0, at(2003, 10, 3, Friday, 18, 0, 0), true },
        { 0, at(2003, 10, 5, Sunday, 12, 0), true },
        { 0, at(2003, 10, 4, Saturday, 12, 0), false },
        { 0, at(2003, 12, 24, Wednesday, 12, 0), false }, // holidays not chosen by this tariff
        { 1, at(2003, 10, 5, Sunday, 3, 0), false },
        { 1, at(2003, 12, 24, Wednesday, 12, 0), false },
        { 2, at(2003, 12, 24, Wednesday, 10, 0), true },
        { 2, at(2003, 12, 25, Thursday, 23, 59, 59), true },
        { 2, at(2004, 12, 24, Friday, 10, 0), false }, // the entry is for 2003 only
        { 2, at(2003, 12, 31, Wednesday, 10, 0), false }, // behind the first empty entry
        { 2, at(2003, 12, 23, Tuesday, 0, 0), false },
        { 2, at(2003, 5, 1, Thursday, 10, 0), true }, // the yearly entry in any year
        { 2, at(2026, 5, 1, Friday, 10, 0), true },
        { 2, at(2026, 5, 2, Saturday, 10, 0), false },
        { 2, at(2026, 6, 1, Monday, 10, 0), false },
        { 3, at(2003, 10, 3, Friday, 12, 0), true },
        { 3, at(2003, 10, 3, Friday, 20, 0), true },
        { 4, at(2003, 10, 6, Monday, 12, 0), true },
        { 4, at(2003, 10, 4, Saturday, 12, 0), true },
        { 4, at(2003, 10, 7, Tuesday, 12, 0), false },
        { 5, at(2003, 10, 5, Sunday, 3, 0), false }, // empty slot
        { -1, at(2003, 10, 5, Sunday, 3, 0), false },
        { 256, at(2003, 10, 5, Sunday, 3, 0), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "tariff " << c.tariff << " on " << c.time.day << "." << c.time.month << "."
                                        << c.time.year << " " << c.time.hour << ":" << c.time.minute);
        EXPECT_EQ(isSecondaryPeriod(c.time, c.tariff), c.secondary);
    }

    // Bit 7 without any holiday entries changes nothing.
    memset(settings.holidays, 0, sizeof settings.holidays);
    EXPECT_FALSE(isSecondaryPeriod(at(2003, 12, 24, Wednesday, 10, 0), 2));
}

// Minutes, 60 free main units, step 1 of 100, step 2 of 100; main and secondary prices differ
// in every step. Weekdays 00:00-24:00 are main, Sundays secondary.
Rate minuteTariff(uint32_t secondaryFreeUnits)
{
    Rate rate = windowTariff(0, 86400, 1u << 6);
    rate.unit = 4;
    const uint32_t amounts[4] = { 60, secondaryFreeUnits, 100, 100 };
    const double costs[7] = { 9.95, 0.05, 0.08, 0.04, 0.06, 0.03, 0.02 };
    memcpy(rate.amount, amounts, sizeof amounts);
    memcpy(rate.cost, costs, sizeof costs);
    return rate;
}

LogRecord timeRecord(LocalTime start, uint32_t seconds)
{
    LogRecord record {};
    record.start = start;
    record.dur = seconds;
    return record;
}

const LocalTime kWeekday = at(2003, 10, 3, Friday, 10, 0);
const LocalTime kSunday = at(2003, 10, 5, Sunday, 10, 0);

struct Step {
    LocalTime start;
    uint32_t minutes;
    double cost;
    int64_t mainCounter; // seconds after the record
    int64_t secondaryCounter;
};

void runSteps(const Step* steps, size_t count, int tariff)
{
    FreeUnitCounters counters {};
    for (size_t i = 0; i < count; ++i) {
        SCOPED_TRACE(testing::Message() << "record " << i + 1);
        const LogRecord record = timeRecord(steps[i].start, steps[i].minutes * 60);
        EXPECT_NEAR(computeCost(counters, record, tariff), steps[i].cost, 1e-9);
        EXPECT_EQ(counters.used[0], steps[i].mainCounter);
        EXPECT_EQ(counters.used[1], steps[i].secondaryCounter);
    }
}

TEST_F(Pricing, MinuteTariffUsesFreeUnitsAcrossRecords)
{
    Rate rate = windowTariff(0, 0, 0);
    rate.unit = 4;
    rate.amount[0] = 60;
    rate.amount[2] = 1000;
    rate.cost[1] = 0.05;
    setTariff(0, rate);
    const Step steps[] = {
        { kWeekday, 30, 0.0, 1800, 0 }, { kWeekday, 60, (90 - 60) * 0.05, 5400, 0 }, // crosses T0 = 60: 1.50
        { kWeekday, 10, 10 * 0.05, 6000, 0 }, // wholly in step 0
    };
    runSteps(steps, std::size(steps), 0);

    // With Sunday in the secondary period and no secondary free units, a Sunday record takes
    // the secondary price but the main counter.
    rate.ltimee = 86400;
    rate.ldays = 1u << 6;
    rate.cost[2] = 0.08;
    setTariff(0, rate);
    const Step sunday[] = {
        { kSunday, 30, 0.0, 1800, 0 },
        { kSunday, 60, (90 - 60) * 0.08, 5400, 0 },
        { kWeekday, 10, 10 * 0.05, 6000, 0 },
    };
    runSteps(sunday, std::size(sunday), 0);
}

TEST_F(Pricing, OwnSecondaryFreeUnitsKeepTheirOwnCounterAndThresholds)
{
    setTariff(0, minuteTariff(120));
    // Weekday thresholds 60, 160, 260; Sunday thresholds 120, 220, 320.
    const Step steps[] = {
        { kSunday, 100, 0.0, 0, 6000 },
        { kSunday, 50, (150 - 120) * 0.08, 0, 9000 },
        { kWeekday, 70, (70 - 60) * 0.05, 4200, 9000 },
        { kSunday, 100, (220 - 150) * 0.08 + (250 - 220) * 0.06, 4200, 15000 },
        { kSunday, 100, (320 - 250) * 0.06 + (350 - 320) * 0.02, 4200, 21000 },
        { kSunday, 10, 10 * 0.02, 4200, 21600 },
        { kWeekday, 200, (260 - 70) * 0.04 + (270 - 260) * 0.03, 16200, 21600 },
    };
    runSteps(steps, std::size(steps), 0);
}

TEST_F(Pricing, OnlyTheHighestCrossingIsPriced)
{
    setTariff(0, minuteTariff(120));
    // From 0 past T1 = 160 in one record: the part below T1, free units included, is charged
    // at the step-0 price.
    const Step steps[] = {
        { kWeekday, 200, (160 - 0) * 0.05 + (200 - 160) * 0.04, 12000, 0 },
    };
    runSteps(steps, std::size(steps), 0);
}

TEST_F(Pricing, WithoutSecondaryFreeUnitsStepOneKeepsStepZeroPricesAndStepTwoItsOwn)
{
    setTariff(0, minuteTariff(0));
    const Step steps[] = {
        { kWeekday, 200, (160 - 0) * 0.05 + (200 - 160) * 0.05, 12000, 0 },
        { kWeekday, 100, (260 - 200) * 0.05 + (300 - 260) * 0.03, 18000, 0 },
        { kSunday, 10, 10 * 0.02, 18600, 0 },
    };
    runSteps(steps, std::size(steps), 0);
}

TEST_F(Pricing, UnitsVolumeWrapAndCorrection)
{
    struct Case {
        const char* what;
        int32_t unit;
        uint32_t freeUnits;
        double price;
        uint32_t rx, tx, dur;
        uint32_t volumeCorrection;
        double cost;
        int64_t counter;
    } cases[] = {
        { "kilobytes", 0, 100, 0.01, 153600, 51200, 0, 0, (200 - 100) * 0.01, 204800 },
        { "megabytes", 1, 10, 0.5, 15728640, 0, 0, 0, (15 - 10) * 0.5, 15728640 },
        // Each direction stays below 4 GiB, their sum does not: 3 GiB + 2 GiB is 5 GiB.
        { "gigabytes, sum past 4 GiB", 2, 0, 2.0, 3221225472u, 2147483648u, 0, 0, 5 * 2.0, 5368709120 },
        // 3 GiB received and 1.5 GiB sent at 1 a megabyte: 3072 + 1536 MB.
        { "megabytes, sum past 4 GiB", 1, 0, 1.0, 3221225472u, 1610612736u, 0, 0, 4608.0, 4831838208 },
        { "seconds", 3, 0, 0.001, 0, 0, 100, 0, 100 * 0.001, 100 },
        { "hours", 5, 1, 1.2, 0, 0, 5400, 0, (1.5 - 1) * 1.2, 5400 },
        { "volume correction 5 %", 0, 0, 1.0, 1000000, 0, 0, 500, 950000 / 1024.0, 950000 },
        { "time tariff ignores the correction", 3, 0, 1.0, 1000000, 0, 30, 500, 30.0, 30 },
        { "free units not used up", 1, 10, 0.5, 10485760, 0, 0, 0, 0.0, 10485760 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rate rate = windowTariff(0, 0, 0);
        rate.unit = c.unit;
        rate.amount[0] = c.freeUnits;
        rate.amount[2] = rate.amount[3] = 100000;
        rate.cost[1] = c.price;
        setTariff(0, rate);
        settings.volumeCorrection = c.volumeCorrection;
        LogRecord record = timeRecord(kWeekday, c.dur);
        record.rx = c.rx;
        record.tx = c.tx;
        FreeUnitCounters counters {};
        EXPECT_NEAR(computeCost(counters, record, 0), c.cost, 1e-9);
        EXPECT_EQ(counters.used[0], c.counter);
        EXPECT_EQ(counters.used[1], 0);
    }
}

TEST_F(Pricing, CorrectedVolume)
{
    struct Case {
        uint32_t correction;
        uint32_t bytes;
        int64_t corrected;
    } cases[] = {
        { 0, 4294967295u, 4294967295 },
        { 500, 1000000, 950000 },
        { 1, 10000, 9999 },
        { 3333, 3, 2 }, // 2.0001 truncated
        { 10000, 123456, 0 },
        { 20000, 1000, -1000 },
    };
    for (const Case& c : cases) {
        settings.volumeCorrection = c.correction;
        EXPECT_EQ(correctedVolume(c.bytes), c.corrected) << c.correction << " " << c.bytes;
    }
}

TEST_F(Pricing, EmptySlotCostsNothingAndLeavesTheCounters)
{
    setTariff(0, minuteTariff(0));
    for (int32_t tariff : { 1, -1, 256, 100000 }) {
        FreeUnitCounters counters { { 7, 9 } };
        EXPECT_EQ(computeCost(counters, timeRecord(kWeekday, 6000), tariff), 0.0) << tariff;
        EXPECT_EQ(counters.used[0], 7);
        EXPECT_EQ(counters.used[1], 9);
    }
}

} // namespace
