#include "ui/dialogs/tariffdescription.h"

#include <cstdio>
#include <cstring>

#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "tariff/costs.h"
#include "tariff/rates.h"

namespace {

constexpr int kStepCount = 3;
constexpr size_t kPhraseSize = 512;

void append(char* text, size_t size, const char* part)
{
    const size_t used = strnlen(text, size);
    if (used + 1 < size)
        snprintf(text + used, size - used, "%s", part);
}

// A language pattern with its inserts, appended to `text`.
void appendPattern(char* text, size_t size, uint32_t id, const char* const* inserts, int count)
{
    char pattern[kPhraseSize], filled[kPhraseSize];
    if (!languageString(id, pattern, sizeof pattern))
        return;
    fillInserts(pattern, inserts, count, filled, sizeof filled);
    append(text, size, filled);
}

void countText(const TariffWording& wording, uint64_t units, char* text, size_t size)
{
    char count[64];
    wording.formatCount(units, count, sizeof count);
    const char* inserts[] = { count, wording.countUnitName };
    text[0] = '\0';
    appendPattern(text, size, IDS_TARIFF_COUNT, inserts, 2);
}

// A step of length 0 has no units of its own: the next step with units, or the last, takes over.
bool isEmptyStep(const PriceSteps& steps, int step)
{
    return step < kStepCount - 1 && steps.thresholds[step + 1] <= steps.thresholds[step];
}

int takerOf(const PriceSteps& steps, int step)
{
    while (isEmptyStep(steps, step))
        ++step;
    return step;
}

// True when the steps from `first` up to the one that takes over from it, skipped ones
// included, all have the price of step `step`.
bool chargeAlike(const PriceSteps& steps, int first, int step)
{
    const int taker = takerOf(steps, first);
    for (int k = first; k <= taker; ++k)
        if (steps.prices[k] != steps.prices[step])
            return false;
    return true;
}

// The steps of one period in words, without the period's name.
void describeSteps(const PriceSteps& steps, const TariffWording& wording, char* text, size_t size)
{
    text[0] = '\0';
    char count[128], price[128], phrase[kPhraseSize];
    if (steps.thresholds[0] > 0) {
        countText(wording, steps.thresholds[0], count, sizeof count);
        const char* inserts[] = { count };
        appendPattern(text, size, IDS_TARIFF_STEP_FREE, inserts, 1);
    }
    for (int step = 0; step < kStepCount;) {
        const int taker = takerOf(steps, step);
        const int skippedFirst = step, skippedLast = taker - 1;
        const bool skippedPriceDiffers = !chargeAlike(steps, skippedFirst, taker);
        // Steps of one price read as one: up to where the price changes.
        int last = taker;
        while (last < kStepCount - 1 && chargeAlike(steps, last + 1, taker))
            last = takerOf(steps, last + 1);

        wording.formatPrice(steps.prices[taker], price, sizeof price);
        phrase[0] = '\0';
        if (last == kStepCount - 1) {
            const char* inserts[] = { price, wording.unitName };
            appendPattern(
                phrase, sizeof phrase, text[0] == '\0' ? IDS_TARIFF_STEP_EVERY : IDS_TARIFF_STEP_BEYOND, inserts, 2);
        } else {
            countText(wording, steps.thresholds[last + 1], count, sizeof count);
            const char* inserts[] = { price, wording.unitName, count };
            appendPattern(phrase, sizeof phrase, IDS_TARIFF_STEP_UP_TO, inserts, 3);
        }
        if (skippedPriceDiffers) {
            char first[8], second[8], takerNumber[8];
            snprintf(first, sizeof first, "%d", skippedFirst + 1);
            snprintf(second, sizeof second, "%d", skippedLast + 1);
            snprintf(takerNumber, sizeof takerNumber, "%d", taker + 1);
            if (skippedFirst == skippedLast) {
                const char* inserts[] = { first, takerNumber };
                appendPattern(phrase, sizeof phrase, IDS_TARIFF_STEP_SKIPPED, inserts, 2);
            } else {
                const char* inserts[] = { first, second, takerNumber };
                appendPattern(phrase, sizeof phrase, IDS_TARIFF_STEPS_SKIPPED, inserts, 3);
            }
        }
        if (text[0] == '\0') {
            append(text, size, phrase);
        } else {
            const char* inserts[] = { phrase };
            appendPattern(text, size, IDS_TARIFF_STEP_THEN, inserts, 1);
        }
        step = last + 1;
    }
}

bool hasSecondaryPeriod(const Rate& rate) { return rate.ltimeb != rate.ltimee; }

void appendLine(char* text, size_t size, uint32_t id, const char* content)
{
    const char* inserts[] = { content };
    appendPattern(text, size, id, inserts, 1);
    append(text, size, "\r\n");
}

int trapIn(const PriceSteps& steps, uint32_t* freeFrom)
{
    for (int step = 0; step < kStepCount - 1; ++step) {
        if (!isEmptyStep(steps, step) || steps.prices[step] == 0.0)
            continue;
        if (steps.prices[takerOf(steps, step)] == 0.0) {
            *freeFrom = steps.thresholds[step];
            return step + 1;
        }
    }
    return 0;
}

} // namespace

void describeTariff(const Rate& rate, const TariffWording& wording, char* text, size_t size)
{
    if (size == 0)
        return;
    text[0] = '\0';
    char main[1024], secondary[1024];
    describeSteps(priceSteps(rate, false), wording, main, sizeof main);
    if (!hasSecondaryPeriod(rate)) {
        appendLine(text, size, IDS_TARIFF_DESCRIBE_ALWAYS, main);
    } else {
        describeSteps(priceSteps(rate, true), wording, secondary, sizeof secondary);
        if (strcmp(main, secondary) == 0) {
            appendLine(text, size, IDS_TARIFF_DESCRIBE_BOTH, main);
        } else {
            appendLine(text, size, IDS_TARIFF_DESCRIBE_MAIN, main);
            appendLine(text, size, IDS_TARIFF_DESCRIBE_SECONDARY, secondary);
        }
    }
    uint32_t freeFrom = 0;
    if (freeUsageTrap(rate, &freeFrom) != 0) {
        char count[128];
        countText(wording, freeFrom, count, sizeof count);
        appendLine(text, size, IDS_TARIFF_FREE_BEYOND, count);
    }
}

int freeUsageTrap(const Rate& rate, uint32_t* freeFrom)
{
    uint32_t from = 0;
    int step = trapIn(priceSteps(rate, false), &from);
    if (step == 0 && hasSecondaryPeriod(rate))
        step = trapIn(priceSteps(rate, true), &from);
    if (step != 0 && freeFrom != nullptr)
        *freeFrom = from;
    return step;
}
