#include <gtest/gtest.h>

#include "meter/ticks.h"

namespace {

TEST(TickDecision, MonthAndPeriodChanges)
{
    struct Case {
        const char* what;
        LocalTime last, now;
        bool secondaryBefore, secondaryNow;
        bool monthChanged, periodChanged;
        uint32_t billingDay = 1;
        bool billingPeriodChanged = false;
    } cases[] = {
        { "first tick of October", { 2003, 9, 2, 30, 23, 59, 59, 500 }, { 2003, 10, 3, 1, 0, 0, 0, 0 }, false, false,
            true, false },
        { "new year", { 2003, 12, 3, 31, 23, 59, 59, 900 }, { 2004, 1, 4, 1, 0, 0, 0, 400 }, true, true, true, false },
        { "same month a year later", { 2003, 10, 3, 1, 12, 0, 0, 0 }, { 2004, 10, 5, 1, 12, 0, 0, 0 }, false, false,
            true, false },
        { "midnight, same period", { 2003, 10, 0, 5, 23, 59, 59, 800 }, { 2003, 10, 1, 6, 0, 0, 0, 300 }, true, true,
            false, false },
        { "into the secondary period", { 2003, 10, 1, 6, 17, 59, 59, 800 }, { 2003, 10, 1, 6, 18, 0, 0, 300 }, false,
            true, false, true },
        { "back into the main period", { 2003, 10, 1, 6, 7, 59, 59, 800 }, { 2003, 10, 1, 6, 8, 0, 0, 300 }, true,
            false, false, true },
        { "month and period at once", { 2003, 10, 5, 31, 23, 59, 59, 0 }, { 2003, 11, 6, 1, 0, 0, 0, 0 }, false, true,
            true, true },
        { "ordinary tick", { 2003, 10, 1, 6, 12, 0, 0, 0 }, { 2003, 10, 1, 6, 12, 0, 0, 500 }, false, false, false,
            false },
        { "into billing day 15", { 2003, 10, 2, 14, 23, 59, 59, 800 }, { 2003, 10, 3, 15, 0, 0, 0, 300 }, false, false,
            false, false, 15, true },
        { "the day after billing day 15", { 2003, 10, 3, 15, 23, 59, 59, 800 }, { 2003, 10, 4, 16, 0, 0, 0, 300 },
            false, false, false, false, 15 },
        { "a new month before billing day 15", { 2003, 10, 5, 31, 23, 59, 59, 0 }, { 2003, 11, 6, 1, 0, 0, 0, 0 },
            false, false, true, false, 15 },
        { "a new month, billing day 1", { 2003, 10, 5, 31, 23, 59, 59, 0 }, { 2003, 11, 6, 1, 0, 0, 0, 0 }, false,
            false, true, false, 1, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TickDecision decision = decideTick(c.last, c.now, c.secondaryBefore, c.secondaryNow, c.billingDay);
        EXPECT_EQ(decision.monthChanged, c.monthChanged);
        EXPECT_EQ(decision.periodChanged, c.periodChanged);
        EXPECT_EQ(decision.billingPeriodChanged, c.billingPeriodChanged || (c.billingDay == 1 && c.monthChanged));
        // Changes at one tick close the slices once, not twice.
        EXPECT_EQ(decision.closeSlices(), c.monthChanged || c.periodChanged || c.billingPeriodChanged);
    }
}

} // namespace
