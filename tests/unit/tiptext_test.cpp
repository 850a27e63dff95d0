#include <gtest/gtest.h>

#include <string>

#include "core/textinserts.h"
#include "fakes/fakeplatform.h"
#include "lang/ids.h"
#include "skin/skinrules.h"
#include "ui/datetext.h"
#include "ui/tiptext.h"

namespace {

class TipText : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        // Texts as a language module words them; the tests check what the figures make of them.
        fakePlatform.languageStrings.insert({
            { IDS_TIP_MAIN_PERIOD, "Main period" },
            { IDS_TIP_SECONDARY_PERIOD, "Secondary period" },
            { IDS_TIP_WHOLE_MONTH, "This month" },
            { IDS_TIP_FREE_LEFT, "%1: %2 used of %3 free, %4 left." },
            { IDS_TIP_FREE_OVER, "%1: %2 used of %3 free, %4 over." },
            { IDS_TIP_NO_FREE_UNITS, "%1: %2 used, no free units." },
            { IDS_TIP_OVER_MARK, "+%1 is beyond the free units." },
            { IDS_TIP_PER_DAY, "%1 a day stays free for the %2 days left." },
            { IDS_TIP_NOTHING_LEFT, "Nothing is left free." },
            { IDS_TIP_LEFT_AT_MONTH_END, "%1 of the free units were not used." },
            { IDS_TIP_MONTH_COST, "Cost under %2: %1" },
            { IDS_TIP_TOTAL_COST, "Total with the fee of %2: %1" },
            { IDS_TIP_DAY_VOLUME, "%1: %2 received and sent" },
            { IDS_TIP_DAY_TIME, "%1: %2 online" },
            { IDS_TIP_DAY_COST, "Cost: %1" },
            { IDS_TIP_SCALE, "Top: %1" },
            { IDS_TIP_AVERAGE, "Average: %1 on %2 days" },
            { IDS_TIP_MONTH_VOLUME, "Month: %1" },
            { IDS_TIP_RUNNING_SHARE, "Running now: %1" },
            { IDS_TIP_RECORD, "%1. %2 %3, %4" },
            { IDS_TIP_RECORD_TRAFFIC, "in %1, out %2" },
            { IDS_TIP_RECORD_COST, "%2: %1" },
            { IDS_TIP_RECORD_TOTALS, "so far %1, %2" },
            { IDS_TIP_LIVE, "%1: %2 in, %3 out" },
            { IDS_TIP_LIVE_AVERAGE, "average %1 in, %2 out" },
            { IDS_TIP_LIVE_SCALE, "top %1" },
            { IDS_TIP_MENU_BUTTON, "Menu (F10)" },
            { IDS_TIP_TARIFF_BUTTON, "Tariff: %1" },
            { IDS_NO_TARIFF, "No tariff yet." },
            { IDS_TIP_BILLING_PERIOD, "Period: %1 to %2" },
            { IDS_TIP_WHOLE_PERIOD, "This period" },
            { IDS_TIP_PER_DAY_PERIOD, "%1 a day stays free for the %2 days left of the period." },
            { IDS_TIP_NOTHING_LEFT_PERIOD, "Nothing is left free this period." },
            { IDS_TIP_LEFT_AT_PERIOD_END, "%1 were not used in the period." },
            { IDS_TIP_PERIOD_COST, "Period cost under %2: %1" },
            { IDS_TIP_YEAR_MONTH_COST, "%1: %2 (%3 + %4)" },
            { IDS_TIP_YEAR_MONTH_VOLUME, "%1: %2 in and out" },
            { IDS_TIP_YEAR_MONTH_TIME, "%1: %2 online" },
            { IDS_TIP_YEAR_NO_LOG, "%1: nothing" },
            { IDS_TIP_YEAR_RUNNING, "Running ones as if ended." },
            { IDS_TIP_YEAR_TOTALS, "%1 months under %2." },
            { IDS_TIP_YEAR_KEYS, "Keys." },
        });
    }

    static std::string summary(const SummaryFigures& figures, int row, int column)
    {
        char text[kTipTextSize];
        summaryCellTip(figures, row, column, text, sizeof text);
        return text;
    }
};

constexpr int64_t MB = 1048576;

TEST_F(TipText, SummaryCellsSayWhatTheyShowAndForWhichPeriod)
{
    // 564 MB used of a tariff with 100 MB free for the whole month, 12 days left.
    SummaryFigures month { false, { 564 * MB, 0 }, { 100 * MB, 0 }, 12, false, formatVolume, "$3.14", "$13.04", "$9.90",
        "Demo", nullptr, nullptr };
    const std::string row = "This month: 564 MB used of 100 MB free, 464 MB over.";
    EXPECT_EQ(summary(month, 0, 1), row);
    EXPECT_EQ(summary(month, 0, 2), "+464 MB is beyond the free units.\n" + row);
    EXPECT_EQ(summary(month, 0, 3), "Nothing is left free.\n" + row); // the empty per-day cell
    EXPECT_EQ(summary(month, 0, 4), "Cost under Demo: $3.14");
    EXPECT_EQ(summary(month, 2, 1), row);
    EXPECT_EQ(summary(month, 2, 4), "Total with the fee of $9.90: $13.04");

    // Own free units in the secondary period: 10 and 2 MB used of 100 and 50, 10 days left.
    SummaryFigures periods { true, { 10 * MB, 2 * MB }, { 100 * MB, 50 * MB }, 10, false, formatVolume, "", "", "", "",
        nullptr, nullptr };
    EXPECT_EQ(summary(periods, 0, 2), "Main period: 10.0 MB used of 100 MB free, 90.0 MB left.");
    EXPECT_EQ(summary(periods, 1, 3),
        "4.80 MB a day stays free for the 10 days left.\n"
        "Secondary period: 2.00 MB used of 50.0 MB free, 48.0 MB left.");
    EXPECT_EQ(summary(periods, 1, 4), "Secondary period: 2.00 MB used of 50.0 MB free, 48.0 MB left.");
    EXPECT_EQ(summary(periods, 2, 2), "This month: 12.0 MB used of 150 MB free, 138 MB left.");
    periods.pastMonth = true;
    periods.daysLeft = 1;
    EXPECT_EQ(summary(periods, 0, 3),
        "90.0 MB of the free units were not used.\n"
        "Main period: 10.0 MB used of 100 MB free, 90.0 MB left.");

    // A time tariff without free units.
    SummaryFigures hours { false, { 7200, 0 }, { 0, 0 }, 3, false, formatDuration, "", "", "", "", nullptr, nullptr };
    EXPECT_EQ(summary(hours, 0, 1), "This month: 2:00:00 used, no free units.");

    // Free units counted from a billing day: the texts speak of the period and name its days.
    SummaryFigures billed = month;
    billed.billingPeriodFirst = "15.09.2003";
    billed.billingPeriodLast = "14.10.2003";
    const std::string period = "Period: 15.09.2003 to 14.10.2003";
    EXPECT_EQ(summary(billed, 0, 3),
        "Nothing is left free this period.\nThis period: 564 MB used of 100 MB free, 464 MB over.\n" + period);
    EXPECT_EQ(summary(billed, 0, 4), "Period cost under Demo: $3.14\n" + period);
    EXPECT_EQ(summary(billed, 2, 4), "Total with the fee of $9.90: $13.04\n" + period);
    billed.used[0] = 40 * MB;
    EXPECT_EQ(summary(billed, 0, 3),
        "5.00 MB a day stays free for the 12 days left of the period.\n"
        "This period: 40.0 MB used of 100 MB free, 60.0 MB left.\n"
            + period);
}

TEST_F(TipText, TheYearsMonthsAndTotals)
{
    struct Case {
        YearMonthFigures figures;
        const char* expected;
    } cases[] = {
        { { kElementYearData, "March 2026", true, false, "1.20GB", nullptr, nullptr },
            "March 2026: 1.20GB in and out\nKeys." },
        { { kElementYearTime, "March 2026", true, true, "12.5h", nullptr, nullptr },
            "March 2026: 12.5h online\nRunning ones as if ended.\nKeys." },
        { { kElementYearCost, "March 2026", true, false, "$7.95", "$3.00", "$4.95" },
            "March 2026: $7.95 ($3.00 + $4.95)\nKeys." },
        { { kElementYearCost, "April 2026", false, false, "$0.00", "$0.00", "$0.00" }, "April 2026: nothing\nKeys." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        char text[kTipTextSize];
        yearMonthTip(c.figures, text, sizeof text);
        EXPECT_STREQ(text, c.expected);
    }
    char text[kTipTextSize];
    yearTotalsTip(9, "Demo", text, sizeof text);
    EXPECT_STREQ(text, "9 months under Demo.\nKeys.");
    yearTotalsTip(9, nullptr, text, sizeof text);
    EXPECT_STREQ(text, "Keys.");
}

TEST_F(TipText, DaysLabelsRecordsTheLiveGraphAndButtons)
{
    char text[kTipTextSize];
    chartDayTip(true, "Tuesday, 1 December 2026", 225443840, "$1.15", text, sizeof text);
    EXPECT_STREQ(text, "Tuesday, 1 December 2026: 215 MB received and sent\nCost: $1.15");
    chartDayTip(false, "1.12.2026", 40, nullptr, text, sizeof text);
    EXPECT_STREQ(text, "1.12.2026: 0:00:40 online");

    chartLabelsTip(formatVolume, 1288490189, 226492416, 3, text, sizeof text);
    EXPECT_STREQ(text, "Top: 1.20 GB\nAverage: 216 MB on 3 days");
    chartLabelsTip(formatDuration, 0, 0, 0, text, sizeof text); // an empty month has no average
    EXPECT_STREQ(text, "Top: 0:00:00");

    monthTotalTip(true, 225443840, true, 147849216, text, sizeof text);
    EXPECT_STREQ(text, "Month: 215 MB\nRunning now: 141 MB");

    RecordFigures record { 3, "12/1/2026", "2:24:17 PM", 3030, 1048576, 10240, "$0.02", "Demo", 9000, 5 * MB };
    recordTip(record, text, sizeof text);
    EXPECT_STREQ(
        text, "3. 12/1/2026 2:24:17 PM, 0:50:30\nin 1.00 MB, out 10.0 kB\nDemo: $0.02\nso far 2:30:00, 5.00 MB");
    record.cost = nullptr; // without a tariff the record has no cost
    recordTip(record, text, sizeof text);
    EXPECT_STREQ(text, "3. 12/1/2026 2:24:17 PM, 0:50:30\nin 1.00 MB, out 10.0 kB\nso far 2:30:00, 5.00 MB");

    liveGraphTip("Demo Provider", 3712000, 512, 1536000, 0, 4980736, text, sizeof text);
    EXPECT_STREQ(text, "Demo Provider: 3.54 MB/s in, 512 B/s out\naverage 1.46 MB/s in, 0 B/s out\ntop 4.75 MB/s");

    buttonTip(kElementMenuButton, nullptr, text, sizeof text);
    EXPECT_STREQ(text, "Menu (F10)");
    buttonTip(kElementTariffButton, "Demo", text, sizeof text);
    EXPECT_STREQ(text, "Tariff: Demo");
    buttonTip(kElementTariffButton, nullptr, text, sizeof text);
    EXPECT_STREQ(text, "No tariff yet.");
    buttonTip(kElementLog, "Demo", text, sizeof text);
    EXPECT_STREQ(text, "");
}

// Dates in words take the module's names and order, whatever language the system speaks; the
// day of week comes from the date itself.
TEST_F(TipText, DatesInWordsComeFromTheLanguageModule)
{
    const char* months[] = { "Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September",
        "Oktober", "November", "Dezember" };
    for (int i = 0; i < 12; ++i)
        fakePlatform.languageStrings[IDS_MONTH_FIRST + i] = months[i];
    const char* days[] = { "Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag" };
    for (int i = 0; i < 7; ++i)
        fakePlatform.languageStrings[IDS_WEEKDAY_FIRST + i] = days[i];
    fakePlatform.languageStrings[IDS_MONTH_YEAR] = "%1 %2";
    fakePlatform.languageStrings[IDS_LONG_DATE] = "%1, %2. %3 %4";

    char text[128];
    monthYearText(2026, 12, text, sizeof text);
    EXPECT_STREQ(text, "Dezember 2026");
    const struct {
        uint16_t year, month, day;
        const char* text;
    } dates[] = {
        { 2026, 12, 1, "Dienstag, 1. Dezember 2026" },
        { 2024, 2, 29, "Donnerstag, 29. Februar 2024" },
        { 1601, 1, 1, "Montag, 1. Januar 1601" }, // the first day the calendar counts
        { 2027, 1, 3, "Sonntag, 3. Januar 2027" },
    };
    for (const auto& date : dates) {
        longDateText(date.year, date.month, date.day, text, sizeof text);
        EXPECT_STREQ(text, date.text);
    }

    // Another module orders them otherwise; one without the texts still gives a date.
    fakePlatform.languageStrings[IDS_LONG_DATE] = "%1, %3 %2, %4";
    longDateText(2026, 12, 1, text, sizeof text);
    EXPECT_STREQ(text, "Dienstag, Dezember 1, 2026");
    fakePlatform.languageStrings.erase(IDS_MONTH_FIRST + 11);
    fakePlatform.languageStrings.erase(IDS_MONTH_YEAR);
    monthYearText(2026, 12, text, sizeof text);
    EXPECT_STREQ(text, "12 2026");
}

TEST(TextInserts, FiguresFillTheirPlacesAndNothingElse)
{
    const char* inserts[] = { "564MB", "100MB", "50%" };
    char text[64];
    fillInserts("%2 of %1 (%3, 100%%)", inserts, 3, text, sizeof text);
    EXPECT_STREQ(text, "100MB of 564MB (50%, 100%)");
    fillInserts("%4 and %s %d%", inserts, 3, text, sizeof text); // no printf at work
    EXPECT_STREQ(text, " and %s %d");
    char small[8];
    fillInserts("%1 %2", inserts, 2, small, sizeof small);
    EXPECT_STREQ(small, "564MB 1"); // cut to the buffer, always ended
}

} // namespace
