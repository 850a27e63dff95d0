#include "ui/formatters.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace {

// Writes the number and the unit behind an optional "+" and returns the number's length.
int writeValue(char* text, bool exceeded, const char* number, const char* unit)
{
    const int numberLength = int(strlen(number));
    snprintf(text, kFormattedValueSize, "%s%s%s", exceeded ? "+" : "", number, unit);
    return numberLength;
}

int writeInteger(char* text, bool exceeded, uint64_t value, const char* unit)
{
    char number[32];
    snprintf(number, sizeof number, "%" PRIu64, value);
    return writeValue(text, exceeded, number, unit);
}

int writeFraction(char* text, bool exceeded, double value, const char* format, const char* unit)
{
    char number[48];
    snprintf(number, sizeof number, format, value);
    return writeValue(text, exceeded, number, unit);
}

// The magnitude as unsigned, so that the most negative value has one too.
uint64_t magnitudeOf(int64_t value)
{
    return value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
}

}  // namespace

int formatVolume(int64_t bytes, char* text)
{
    const bool exceeded = bytes < 0;
    const uint64_t v = magnitudeOf(bytes);
    const double kilo = 1024.0, mega = 1048576.0, giga = 1073741824.0;
    if (v < 1000)
        return writeInteger(text, exceeded, v, "B");
    if (v < 10240)
        return writeFraction(text, exceeded, double(v) / kilo, "%.2f", "kB");
    if (v < 102400)
        return writeFraction(text, exceeded, double(v) / kilo, "%.1f", "kB");
    if (v < 1024000)
        return writeInteger(text, exceeded, v / 1024, "kB");
    if (v < 10485760)
        return writeFraction(text, exceeded, double(v) / mega, "%.2f", "MB");
    if (v < 104857600)
        return writeFraction(text, exceeded, double(v) / mega, "%.1f", "MB");
    if (v < 1048576000)
        return writeInteger(text, exceeded, v / 1024 / 1024, "MB");
    return writeFraction(text, exceeded, double(v) / giga, "%.2f", "GB");
}

int formatDuration(int64_t seconds, char* text)
{
    const bool exceeded = seconds < 0;
    const uint64_t v = magnitudeOf(seconds);
    if (v < 60)
        return writeInteger(text, exceeded, v, "s");
    if (v < 600)
        return writeFraction(text, exceeded, double(v) / 60.0, "%.2f", "min");
    if (v < 3600)
        return writeFraction(text, exceeded, double(v) / 60.0, "%.1f", "min");
    if (v < 36000)
        return writeFraction(text, exceeded, double(v) / 3600.0, "%.2f", "h");
    return writeFraction(text, exceeded, double(v) / 3600.0, "%.1f", "h");
}

void numberOf(const char* text, int numberLength, char* number)
{
    const int length = numberLength + (text[0] == '+' ? 1 : 0);
    memcpy(number, text, size_t(length));
    number[length] = '\0';
}
