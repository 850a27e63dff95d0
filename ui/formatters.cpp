#include "ui/formatters.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

char decimalSeparator[4] = ".";

struct Unit {
    double size;
    const char* name;
};
const Unit kVolumeUnits[] = { { 1.0, "B" }, { 1024.0, "kB" }, { 1048576.0, "MB" }, { 1073741824.0, "GB" } };

// Writes the number, a space and the unit behind an optional "+" and returns the number's
// length. An empty unit leaves the number alone.
int writeValue(char* text, bool exceeded, const char* number, const char* unit, const char* suffix = "")
{
    const int numberLength = int(strlen(number));
    snprintf(
        text, kFormattedValueSize, "%s%s%s%s%s", exceeded ? "+" : "", number, unit[0] != '\0' ? " " : "", unit, suffix);
    return numberLength;
}

int writeInteger(char* text, bool exceeded, uint64_t value, const char* unit, const char* suffix = "")
{
    char number[32];
    snprintf(number, sizeof number, "%" PRIu64, value);
    return writeValue(text, exceeded, number, unit, suffix);
}

// The C library prints a point; the user reads the separator of the locale.
int writeFraction(char* text, bool exceeded, double value, int decimals, const char* unit, const char* suffix = "")
{
    char printed[48], number[64];
    snprintf(printed, sizeof printed, "%.*f", decimals, value);
    size_t used = 0;
    for (const char* c = printed; *c != '\0' && used + sizeof decimalSeparator < sizeof number; ++c) {
        if (*c == '.') {
            memcpy(number + used, decimalSeparator, strlen(decimalSeparator));
            used += strlen(decimalSeparator);
        } else {
            number[used++] = *c;
        }
    }
    number[used] = '\0';
    return writeValue(text, exceeded, number, unit, suffix);
}

// The magnitude as unsigned, so that the most negative value has one too.
uint64_t magnitudeOf(int64_t value) { return value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value); }

// The unit the formatters choose for a magnitude: the index into their unit table.
int volumeUnitIndex(uint64_t v) { return v < 1000 ? 0 : v < 1024000 ? 1 : v < 1048576000 ? 2 : 3; }

// "h:mm:ss" of `v` seconds, the hours as many as there are.
void clockText(uint64_t v, char* number, size_t size)
{
    snprintf(number, size, "%" PRIu64 ":%02u:%02u", v / 3600, unsigned(v / 60 % 60), unsigned(v % 60));
}

constexpr uint64_t kDay = 86400;

} // namespace

int formatVolume(int64_t bytes, char* text)
{
    const bool exceeded = bytes < 0;
    const uint64_t v = magnitudeOf(bytes);
    const double kilo = 1024.0, mega = 1048576.0, giga = 1073741824.0;
    if (v < 1000)
        return writeInteger(text, exceeded, v, "B");
    if (v < 10240)
        return writeFraction(text, exceeded, double(v) / kilo, 2, "kB");
    if (v < 102400)
        return writeFraction(text, exceeded, double(v) / kilo, 1, "kB");
    if (v < 1024000)
        return writeInteger(text, exceeded, v / 1024, "kB");
    if (v < 10485760)
        return writeFraction(text, exceeded, double(v) / mega, 2, "MB");
    if (v < 104857600)
        return writeFraction(text, exceeded, double(v) / mega, 1, "MB");
    if (v < 1048576000)
        return writeInteger(text, exceeded, v / 1024 / 1024, "MB");
    return writeFraction(text, exceeded, double(v) / giga, 2, "GB");
}

int formatDuration(int64_t seconds, char* text)
{
    const uint64_t v = magnitudeOf(seconds);
    if (v < kDay)
        return formatClockDuration(seconds, text);
    // Past a day the seconds no longer matter to anyone reading it.
    char number[48];
    snprintf(
        number, sizeof number, "%" PRIu64 " d %u:%02u", v / kDay, unsigned(v % kDay / 3600), unsigned(v % 3600 / 60));
    return writeValue(text, seconds < 0, number, "");
}

int formatClockDuration(int64_t seconds, char* text)
{
    char number[48];
    clockText(magnitudeOf(seconds), number, sizeof number);
    return writeValue(text, seconds < 0, number, "");
}

int formatRate(int64_t bytesPerSecond, char* text)
{
    const int numberLength = formatVolume(bytesPerSecond, text);
    const size_t used = strlen(text);
    snprintf(text + used, kFormattedValueSize - used, "/s");
    return numberLength;
}

int formatInUnitOf(ValueFormatter format, int64_t value, int64_t reference, char* text)
{
    const bool exceeded = value < 0;
    const uint64_t v = magnitudeOf(value);
    const uint64_t scale = magnitudeOf(reference);
    if (format == formatDuration) {
        char number[48];
        // A figure beside a scale of hours is read to the minute, so it is rounded to one.
        if (scale >= 3600) {
            const uint64_t minutes = (v + 30) / 60;
            snprintf(number, sizeof number, "%" PRIu64 ":%02u", minutes / 60, unsigned(minutes % 60));
            return writeValue(text, exceeded, number, "h:mm");
        }
        snprintf(number, sizeof number, "%" PRIu64 ":%02u", v / 60, unsigned(v % 60));
        return writeValue(text, exceeded, number, "m:ss");
    }
    const char* suffix = format == formatRate ? "/s" : "";
    const Unit& unit = kVolumeUnits[volumeUnitIndex(scale)];
    if (unit.size == 1.0)
        return writeInteger(text, exceeded, v, unit.name, suffix);
    const double units = double(v) / unit.size;
    // The thresholds are where printing rounds up into the next number of digits.
    const int decimals = units < 9.995 ? 2 : units < 99.95 ? 1 : 0;
    return writeFraction(text, exceeded, units, decimals, unit.name, suffix);
}

int formatScale(ValueFormatter format, int64_t value, char* text)
{
    return format == formatDuration ? formatInUnitOf(format, value, value, text) : format(value, text);
}

void setDecimalSeparator(const char* separator)
{
    const size_t length = strlen(separator);
    if (length == 0 || length >= sizeof decimalSeparator)
        return;
    memcpy(decimalSeparator, separator, length + 1);
}

void numberOf(const char* text, int numberLength, char* number)
{
    const int length = numberLength + (text[0] == '+' ? 1 : 0);
    memcpy(number, text, size_t(length));
    number[length] = '\0';
}
