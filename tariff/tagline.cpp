#include "tariff/tagline.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/apperror.h"
#include "core/damagedcopy.h"
#include "core/gzfile.h"

namespace {

// Copies at most kTagTextLength characters; the rest of a longer text is cut off.
void copyCut(char* target, const char* begin, const char* end)
{
    size_t length = size_t(end - begin);
    if (length > kTagTextLength)
        length = kTagTextLength;
    memcpy(target, begin, length);
    target[length] = '\0';
}

} // namespace

bool parseTagLine(const char* line, TagLine& out)
{
    TagSpan span;
    if (!splitTagLine(line, span))
        return false;
    copyCut(out.tag, span.tag, span.tag + span.tagLength);
    copyCut(out.value, span.value, span.value + span.valueLength);
    out.closed = span.closed;
    out.cut = span.tagLength > kTagTextLength || span.valueLength > kTagTextLength;
    return true;
}

uint32_t leadingNumber(const char* text) { return leadingNumber(text, strlen(text)); }

bool boundedNumber(const char* text, int64_t minimum, int64_t maximum, int64_t& value)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    if (*text < '0' || *text > '9')
        return false;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > maximum - minimum + 1)
            return false;
    }
    value = negative ? -magnitude : magnitude;
    return value >= minimum && value <= maximum;
}

int formatAmount(double amount, char* text, size_t size)
{
    // Past 17 places fixed notation no longer tells tiny amounts apart; the exponent form does.
    for (int places = 6; places <= 17; ++places) {
        const int length = snprintf(text, size, "%.*f", places, amount);
        if (length < 0 || size_t(length) >= size)
            return -1;
        if (strtod(text, nullptr) == amount)
            return length;
    }
    const int length = snprintf(text, size, "%.17g", amount);
    return length >= 0 && size_t(length) < size ? length : -1;
}

bool isStorableAmount(double amount)
{
    char text[kTagTextLength + 1];
    return std::isfinite(amount) && formatAmount(amount, text, sizeof text) >= 0;
}

LineRead readTagFileLine(GzReader& file, char* buffer)
{
    // gets writes the last place of the buffer only for a line that fills it; a mark there
    // saves measuring every line.
    char& last = buffer[kTagFileLineLength - 1];
    last = '\n';
    if (file.gets(buffer, kTagFileLineLength + 1) == nullptr) {
        const int error = file.error();
        return error == Z_OK ? LineRead::end : error == Z_ERRNO ? LineRead::unreadable : LineRead::damaged;
    }
    // A full buffer without a line end is a longer line, unless the file ends right there.
    if (last != '\n' && strlen(buffer) == kTagFileLineLength) {
        if (file.getc() != -1 || file.error() != Z_OK)
            return LineRead::damaged;
    }
    return LineRead::line;
}

bool writeTagFileLine(GzReplacingWriter& file, const char* format, ...)
{
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    const int length = vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    if (length <= 0 || size_t(length) >= sizeof line)
        return false;
    return gzwrite(file.get(), line, unsigned(length)) == length;
}

TagFileRead readSmallTagFile(const char* path, bool (*takeLine)(const TagLine& line, void* context), void* context)
{
    if (isMissingFile(path))
        return TagFileRead::missing;
    GzReader file(path);
    if (!file.isOpen() || file.content() != GzReader::Content::gzip)
        return TagFileRead::damaged;
    static char buffer[kTagFileLineLength + 1];
    static TagLine line;
    for (;;) {
        const LineRead result = readTagFileLine(file, buffer);
        if (result == LineRead::end)
            return TagFileRead::read;
        if (result != LineRead::line)
            return TagFileRead::damaged;
        // Blank lines carry no tag; every other line must be one the file holds.
        if (strspn(buffer, " \t\r\n") == strlen(buffer))
            continue;
        if (!parseTagLine(buffer, line) || !takeLine(line, context))
            return TagFileRead::damaged;
    }
}

void reportTagFileError(const char* path)
{
    keepDamagedCopyForMessage(path);
    reportError(kErrorTagLine);
}
