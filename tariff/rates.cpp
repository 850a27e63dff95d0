#include "tariff/rates.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/apperror.h"
#include "core/damagedcopy.h"
#include "core/gzfile.h"
#include "core/programdirectory.h"
#include "res/resource.h"
#include "tariff/tagline.h"

Rate* TariffTable[kTariffSlots];

namespace {

constexpr uint32_t kRatesFileString = IDS_RATES_FILE;
constexpr int64_t kLastSecondOfDay = 86399;

// Set while rates.zip holds more than the table does and no copy of it could be kept: writing
// the table over it would lose the rest.
bool ratesFileUnkept;

// What the reader knows between lines.
struct RatesReading {
    int version = 0;
    Rate* open = nullptr; // the tariff whose "</rate>" is still to come
    int slot = -1; // its slot
    int amountIndex = 0;
    int costIndex = 0;
    int costShift = 0;
    bool cut = false; // a text longer than its field was shortened
};

enum class LineResult { carryOn, formatError, noMemory };

void copyText(char* target, size_t size, const char* text)
{
    const size_t length = strnlen(text, size - 1);
    memcpy(target, text, length);
    target[length] = '\0';
}

LineResult readRateLine(RatesReading& reading, const TagLine& line)
{
    const char* tag = line.tag;
    if (strcmp(tag, "version") == 0) {
        reading.version = int32_t(leadingNumber(line.value));
        return LineResult::carryOn;
    }
    if (strcmp(tag, "rate") == 0) {
        if (reading.open != nullptr || line.closed)
            return LineResult::formatError;
        const int slot = tariffCount();
        // A 257th tariff has no slot: refused like any other malformed content.
        if (slot >= kTariffSlots)
            return LineResult::formatError;
        Rate* rate = new (std::nothrow) Rate {};
        if (rate == nullptr)
            return LineResult::noMemory;
        TariffTable[slot] = rate;
        reading.open = rate;
        reading.slot = slot;
        reading.amountIndex = reading.costIndex = reading.costShift = 0;
        return LineResult::carryOn;
    }
    if (strcmp(tag, "/rate") == 0) {
        reading.open = nullptr;
        return LineResult::carryOn;
    }
    Rate* rate = reading.open;
    if (rate == nullptr || !line.closed)
        return LineResult::formatError;

    int64_t number = 0;
    if (strcmp(tag, "name") == 0) {
        reading.cut = reading.cut || line.cut;
        copyText(rate->name, sizeof rate->name, line.value);
    } else if (strcmp(tag, "precision") == 0) {
        reading.cut = reading.cut || line.cut || strlen(line.value) >= sizeof rate->precision;
        copyText(rate->precision, sizeof rate->precision, line.value);
    } else if (strcmp(tag, "ltimeb") == 0 || strcmp(tag, "ltimee") == 0) {
        // A time of day; the editor could show nothing else and would store its clamped value.
        if (!boundedNumber(line.value, 0, kLastSecondOfDay, number))
            return LineResult::formatError;
        (tag[5] == 'b' ? rate->ltimeb : rate->ltimee) = int32_t(number);
    } else if (strcmp(tag, "unit") == 0) {
        // No unit factor exists beyond the six codes: such a tariff is refused as a whole.
        if (!boundedNumber(line.value, 0, kLastUnit, number)) {
            delete rate;
            TariffTable[reading.slot] = nullptr;
            reading.open = nullptr;
            return LineResult::formatError;
        }
        rate->unit = int32_t(number);
    } else if (strcmp(tag, "billingday") == 0) {
        if (!boundedNumber(line.value, 1, kLastBillingDay, number))
            return LineResult::formatError;
        rate->billingDay = uint32_t(number);
    } else if (strcmp(tag, "ldays") == 0) {
        rate->ldays = 0;
        for (int bit = 0; bit < 8 && line.value[bit] != '\0'; ++bit)
            if (line.value[bit] == '1')
                rate->ldays |= 1u << bit;
    } else if (strcmp(tag, "amount") == 0) {
        if (reading.amountIndex >= 4 || !boundedNumber(line.value, 0, UINT32_MAX, number))
            return LineResult::formatError;
        rate->amount[reading.amountIndex++] = uint32_t(number);
        // Version 0 had no secondary free units: its second amount is the first step length.
        if (reading.version == 0 && reading.amountIndex == 1)
            reading.amountIndex = 2;
    } else if (strcmp(tag, "cost") == 0) {
        const int slot = reading.costIndex + reading.costShift;
        if (slot < 0 || slot >= 7)
            return LineResult::formatError;
        const double price = strtod(line.value, nullptr);
        if (!isStorableAmount(price) || !isStorableAmount(rate->cost[slot] + price))
            return LineResult::formatError;
        rate->cost[slot] += price;
        ++reading.costIndex;
        // Version 0 kept two fixed amounts; they are summed into the one of today.
        if (reading.version == 0 && reading.costIndex == 1)
            reading.costShift = -1;
    } else {
        return LineResult::formatError;
    }
    return LineResult::carryOn;
}

bool writeRate(GzReplacingWriter& file, const Rate& rate)
{
    char days[9];
    for (int bit = 0; bit < 8; ++bit)
        days[bit] = (rate.ldays >> bit & 1u) != 0 ? '1' : '0';
    days[8] = '\0';
    char name[sizeof rate.name];
    char precision[sizeof rate.precision];
    copyText(name, sizeof name, rate.name);
    copyText(precision, sizeof precision, rate.precision);

    bool ok = writeTagFileLine(file, "<rate>\r\n");
    ok = ok && writeTagFileLine(file, "\t<name>%s</name>\r\n", name);
    ok = ok && writeTagFileLine(file, "\t<ltimeb>%i</ltimeb>\r\n", rate.ltimeb);
    ok = ok && writeTagFileLine(file, "\t<ltimee>%i</ltimee>\r\n", rate.ltimee);
    ok = ok && writeTagFileLine(file, "\t<ldays>%s</ldays>\r\n", days);
    ok = ok && writeTagFileLine(file, "\t<precision>%s</precision>\r\n", precision);
    ok = ok && writeTagFileLine(file, "\t<unit>%u</unit>\r\n", uint32_t(rate.unit));
    for (uint32_t amount : rate.amount)
        ok = ok && writeTagFileLine(file, "\t<amount>%u</amount>\r\n", amount);
    for (double cost : rate.cost) {
        char amount[kTagTextLength + 1];
        ok = ok && formatAmount(cost, amount, sizeof amount) >= 0
            && writeTagFileLine(file, "\t<cost>%s</cost>\r\n", amount);
    }
    // Day 1 is what a file without the line means: such a tariff is written as it always was.
    if (const uint32_t billingDay = billingDayOf(&rate); billingDay != 1)
        ok = ok && writeTagFileLine(file, "\t<billingday>%u</billingday>\r\n", billingDay);
    return ok && writeTagFileLine(file, "</rate>\r\n");
}

} // namespace

const Rate* tariffAt(int32_t index) { return index >= 0 && index < kTariffSlots ? TariffTable[index] : nullptr; }

uint32_t billingDayOf(const Rate* rate)
{
    return rate != nullptr && rate->billingDay >= 1 && rate->billingDay <= kLastBillingDay ? rate->billingDay : 1;
}

int tariffCount()
{
    int count = 0;
    while (count < kTariffSlots && TariffTable[count] != nullptr)
        ++count;
    return count;
}

// Keeps rates.zip as it is beside it when the table holds less than the file: the table may
// be written over it later. Without a copy the file is not written over at all.
void keepUnreadRates(const char* path)
{
    char copyPath[300];
    ratesFileUnkept = !keepDamagedCopy(path, copyPath, sizeof copyPath);
}

bool readRates()
{
    char path[260];
    if (!buildProgramFilePath(kRatesFileString, path, sizeof path))
        return false;
    freeTariffs();
    ratesFileUnkept = false;

    // A first start has no file yet; that is no failure.
    if (isMissingFile(path))
        return true;
    GzReader file(path);
    if (!file.isOpen() || file.content() == GzReader::Content::unreadable) {
        keepUnreadRates(path);
        return failWith(kErrorTariffFile);
    }
    // zlib would hand a file without a gzip header over as text: it holds no tariffs.
    if (file.content() == GzReader::Content::notGzip) {
        reportTagFileError(path);
        return true;
    }

    static char buffer[kTagFileLineLength + 1];
    static TagLine line;
    RatesReading reading;
    for (;;) {
        const LineRead read = readTagFileLine(file, buffer);
        if (read == LineRead::end)
            break;
        // A file the system cannot read is no format error: it may be whole.
        if (read == LineRead::unreadable) {
            keepUnreadRates(path);
            return failWith(kErrorTariffFile);
        }
        if (read == LineRead::damaged) {
            reportTagFileError(path);
            return true;
        }
        if (!parseTagLine(buffer, line))
            continue;
        const LineResult result = readRateLine(reading, line);
        if (result == LineResult::noMemory) {
            keepUnreadRates(path);
            AppError = kErrorNoMemory;
            return true;
        }
        if (result == LineResult::formatError) {
            reportTagFileError(path);
            return true;
        }
    }
    if (reading.open != nullptr)
        reportTagFileError(path);
    else if (reading.cut)
        keepUnreadRates(path);
    return true;
}

bool writeRates()
{
    char path[260];
    if (!buildProgramFilePath(kRatesFileString, path, sizeof path))
        return false;
    // The file could not be read whole nor kept: only once a copy can be made is it replaced.
    if (ratesFileUnkept) {
        keepUnreadRates(path);
        if (ratesFileUnkept)
            return failWith(kErrorTariffFile);
    }
    GzReplacingWriter file(path);
    if (!file.isOpen())
        return failWith(kErrorTariffFile);
    bool ok = writeTagFileLine(file, "<version>1</version>\r\n");
    for (int slot = 0; ok && slot < kTariffSlots && TariffTable[slot] != nullptr; ++slot)
        ok = writeRate(file, *TariffTable[slot]);
    if (!ok)
        file.markFailed();
    if (!file.commit())
        return failWith(kErrorTariffFile);
    return true;
}

void freeTariffs()
{
    for (Rate*& rate : TariffTable) {
        delete rate;
        rate = nullptr;
    }
}
