#include "ui/tiptext.h"

#include <cstdio>

#include "core/platform.h"

#include "core/textinserts.h"
#include "lang/ids.h"
#include "skin/skinrules.h"

namespace {

struct Figure {
    char text[kFormattedValueSize];
};

Figure figure(ValueFormatter format, int64_t value)
{
    Figure written;
    format(value, written.text);
    return written;
}

// The text that says "billing period" where the month's text says "month", when the free units
// count from a billing day other than the 1st.
uint32_t periodText(const SummaryFigures& figures, uint32_t monthText)
{
    if (figures.billingPeriodFirst == nullptr)
        return monthText;
    switch (monthText) {
    case IDS_TIP_WHOLE_MONTH:
        return IDS_TIP_WHOLE_PERIOD;
    case IDS_TIP_PER_DAY:
        return IDS_TIP_PER_DAY_PERIOD;
    case IDS_TIP_NOTHING_LEFT:
        return IDS_TIP_NOTHING_LEFT_PERIOD;
    case IDS_TIP_LEFT_AT_MONTH_END:
        return IDS_TIP_LEFT_AT_PERIOD_END;
    case IDS_TIP_MONTH_COST:
        return IDS_TIP_PERIOD_COST;
    default:
        return monthText;
    }
}

// What one row of the Summary says: the usage of its period against the period's free units.
void summaryRowLine(const SummaryFigures& figures, int32_t row, char* text, size_t size)
{
    int64_t used = figures.used[0], freeUnits = figures.freeUnits[0];
    uint32_t period = figures.secondaryRow ? IDS_TIP_MAIN_PERIOD : periodText(figures, IDS_TIP_WHOLE_MONTH);
    if (row == 1) {
        used = figures.used[1];
        freeUnits = figures.freeUnits[1];
        period = IDS_TIP_SECONDARY_PERIOD;
    } else if (row == 2) {
        if (figures.secondaryRow) {
            used += figures.used[1];
            freeUnits += figures.freeUnits[1];
        }
        period = periodText(figures, IDS_TIP_WHOLE_MONTH);
    }
    char periodName[256];
    languageString(period, periodName, sizeof periodName);
    const Figure usedText = figure(figures.format, used), freeText = figure(figures.format, freeUnits);
    const int64_t left = freeUnits - used;
    const Figure leftText = figure(figures.format, left < 0 ? -left : left);
    const char* inserts[] = { periodName, usedText.text, freeText.text, leftText.text };
    const uint32_t id = freeUnits == 0 ? IDS_TIP_NO_FREE_UNITS : left < 0 ? IDS_TIP_FREE_OVER : IDS_TIP_FREE_LEFT;
    appendLanguageLine(text, size, id, inserts, 4);
}

} // namespace

// Says which days the billing period covers, when it is not the calendar month.
void billingPeriodLine(const SummaryFigures& figures, char* text, size_t size)
{
    if (figures.billingPeriodFirst == nullptr)
        return;
    const char* inserts[] = { figures.billingPeriodFirst, figures.billingPeriodLast };
    appendLanguageLine(text, size, IDS_TIP_BILLING_PERIOD, inserts, 2);
}

void summaryCellTip(const SummaryFigures& figures, int32_t row, int32_t column, char* text, size_t size)
{
    text[0] = '\0';
    if (column == 4 && row == 0) {
        const char* inserts[] = { figures.monthCost, figures.tariffName };
        appendLanguageLine(text, size, periodText(figures, IDS_TIP_MONTH_COST), inserts, 2);
        billingPeriodLine(figures, text, size);
        return;
    }
    if (column == 4 && row == 2) {
        const char* inserts[] = { figures.totalCost, figures.monthlyFee };
        appendLanguageLine(text, size, IDS_TIP_TOTAL_COST, inserts, 2);
        billingPeriodLine(figures, text, size);
        return;
    }
    int64_t used = figures.used[0], freeUnits = figures.freeUnits[0];
    if (row == 1) {
        used = figures.used[1];
        freeUnits = figures.freeUnits[1];
    } else if (row == 2 && figures.secondaryRow) {
        used += figures.used[1];
        freeUnits += figures.freeUnits[1];
    }
    const int64_t left = freeUnits - used;
    if (column == 2 && left < 0) {
        const Figure over = figure(figures.format, -left);
        const char* inserts[] = { over.text };
        appendLanguageLine(text, size, IDS_TIP_OVER_MARK, inserts, 1);
    } else if (column == 3) {
        if (left <= 0 || figures.daysLeft <= 0) {
            appendLanguageLine(text, size, periodText(figures, IDS_TIP_NOTHING_LEFT));
        } else if (figures.pastMonth) {
            const Figure leftText = figure(figures.format, left);
            const char* inserts[] = { leftText.text };
            appendLanguageLine(text, size, periodText(figures, IDS_TIP_LEFT_AT_MONTH_END), inserts, 1);
        } else {
            const Figure perDay = figure(figures.format, left / figures.daysLeft);
            char days[16];
            snprintf(days, sizeof days, "%d", figures.daysLeft);
            const char* inserts[] = { perDay.text, days };
            appendLanguageLine(text, size, periodText(figures, IDS_TIP_PER_DAY), inserts, 2);
        }
    }
    summaryRowLine(figures, row, text, size);
    billingPeriodLine(figures, text, size);
}

void yearMonthTip(const YearMonthFigures& figures, char* text, size_t size)
{
    text[0] = '\0';
    if (!figures.hasLog) {
        const char* inserts[] = { figures.month };
        appendLanguageLine(text, size, IDS_TIP_YEAR_NO_LOG, inserts, 1);
    } else if (figures.chart == kElementYearCost) {
        const char* inserts[] = { figures.month, figures.value, figures.usage, figures.fee };
        appendLanguageLine(text, size, IDS_TIP_YEAR_MONTH_COST, inserts, 4);
    } else {
        const char* inserts[] = { figures.month, figures.value };
        appendLanguageLine(text, size,
            figures.chart == kElementYearData ? IDS_TIP_YEAR_MONTH_VOLUME : IDS_TIP_YEAR_MONTH_TIME, inserts, 2);
    }
    if (figures.running)
        appendLanguageLine(text, size, IDS_TIP_YEAR_RUNNING);
    appendLanguageLine(text, size, IDS_TIP_YEAR_KEYS);
}

void yearTotalsTip(int32_t monthsWithLog, const char* tariffName, char* text, size_t size)
{
    text[0] = '\0';
    if (tariffName != nullptr) {
        char count[16];
        snprintf(count, sizeof count, "%d", monthsWithLog);
        const char* inserts[] = { count, tariffName };
        appendLanguageLine(text, size, IDS_TIP_YEAR_TOTALS, inserts, 2);
    }
    appendLanguageLine(text, size, IDS_TIP_YEAR_KEYS);
}

void chartDayTip(bool volumeChart, const char* date, int64_t value, const char* cost, char* text, size_t size)
{
    text[0] = '\0';
    const Figure valueText = figure(volumeChart ? formatVolume : formatDuration, value);
    const char* inserts[] = { date, valueText.text };
    appendLanguageLine(text, size, volumeChart ? IDS_TIP_DAY_VOLUME : IDS_TIP_DAY_TIME, inserts, 2);
    if (cost != nullptr) {
        const char* costInserts[] = { cost };
        appendLanguageLine(text, size, IDS_TIP_DAY_COST, costInserts, 1);
    }
}

void chartLabelsTip(
    ValueFormatter format, int64_t largest, int64_t average, int32_t daysWithValue, char* text, size_t size)
{
    text[0] = '\0';
    const Figure largestText = figure(format, largest);
    const char* inserts[] = { largestText.text };
    appendLanguageLine(text, size, IDS_TIP_SCALE, inserts, 1);
    if (daysWithValue > 0) {
        const Figure averageText = figure(format, average);
        char days[16];
        snprintf(days, sizeof days, "%d", daysWithValue);
        const char* averageInserts[] = { averageText.text, days };
        appendLanguageLine(text, size, IDS_TIP_AVERAGE, averageInserts, 2);
    }
}

void monthTotalTip(bool volumeChart, int64_t total, bool running, int64_t runningShare, char* text, size_t size)
{
    text[0] = '\0';
    const ValueFormatter format = volumeChart ? formatVolume : formatDuration;
    const Figure totalText = figure(format, total);
    const char* inserts[] = { totalText.text };
    appendLanguageLine(text, size, volumeChart ? IDS_TIP_MONTH_VOLUME : IDS_TIP_MONTH_TIME, inserts, 1);
    if (running) {
        const Figure shareText = figure(format, runningShare);
        const char* shareInserts[] = { shareText.text };
        appendLanguageLine(text, size, IDS_TIP_RUNNING_SHARE, shareInserts, 1);
    }
}

void recordTip(const RecordFigures& record, char* text, size_t size)
{
    text[0] = '\0';
    char number[16];
    snprintf(number, sizeof number, "%d", record.number);
    const Figure duration = figure(formatDuration, record.duration);
    const char* inserts[] = { number, record.date, record.startTime, duration.text };
    appendLanguageLine(text, size, IDS_TIP_RECORD, inserts, 4);
    const Figure received = figure(formatVolume, record.received), sent = figure(formatVolume, record.sent);
    const char* traffic[] = { received.text, sent.text };
    appendLanguageLine(text, size, IDS_TIP_RECORD_TRAFFIC, traffic, 2);
    if (record.cost != nullptr) {
        const char* cost[] = { record.cost, record.tariffName };
        appendLanguageLine(text, size, IDS_TIP_RECORD_COST, cost, 2);
    }
    const Figure totalDuration = figure(formatDuration, record.totalDuration);
    const Figure totalVolume = figure(formatVolume, record.totalVolume);
    const char* totals[] = { totalDuration.text, totalVolume.text };
    appendLanguageLine(text, size, IDS_TIP_RECORD_TOTALS, totals, 2);
}

void liveGraphTip(const char* entryName, int64_t receivedNow, int64_t sentNow, int64_t receivedAverage,
    int64_t sentAverage, int64_t largest, char* text, size_t size)
{
    text[0] = '\0';
    const Figure received = figure(formatRate, receivedNow), sent = figure(formatRate, sentNow);
    const char* now[] = { entryName, received.text, sent.text };
    appendLanguageLine(text, size, IDS_TIP_LIVE, now, 3);
    const Figure receivedMean = figure(formatRate, receivedAverage), sentMean = figure(formatRate, sentAverage);
    const char* averages[] = { receivedMean.text, sentMean.text };
    appendLanguageLine(text, size, IDS_TIP_LIVE_AVERAGE, averages, 2);
    const Figure scale = figure(formatRate, largest);
    const char* scaleInserts[] = { scale.text };
    appendLanguageLine(text, size, IDS_TIP_LIVE_SCALE, scaleInserts, 1);
}

void buttonTip(uint32_t element, const char* tariffName, char* text, size_t size)
{
    text[0] = '\0';
    switch (element) {
    case kElementMenuButton:
        appendLanguageLine(text, size, IDS_TIP_MENU_BUTTON);
        break;
    case kElementMinimizeButton:
        appendLanguageLine(text, size, IDS_TIP_MINIMIZE_BUTTON);
        break;
    case kElementCloseButton:
        appendLanguageLine(text, size, IDS_TIP_CLOSE_BUTTON);
        break;
    case kElementTariffButton:
        if (tariffName != nullptr) {
            const char* inserts[] = { tariffName };
            appendLanguageLine(text, size, IDS_TIP_TARIFF_BUTTON, inserts, 1);
        } else {
            appendLanguageLine(text, size, IDS_NO_TARIFF);
        }
        break;
    default:
        break;
    }
}
