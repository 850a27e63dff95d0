#pragma once
// The one-tag-per-line text of rates.zip and the month logs: "<tag>value</tag>" lines, or a
// bare "<tag>" opening or closing a block.
#include <cstddef>
#include <cstdint>

#include "core/damagedcopy.h"

class GzReader;
class GzReplacingWriter;

// Longest tag or value kept, without its NUL; longer ones are cut to this length.
constexpr size_t kTagTextLength = 255;
// Longest line the readers accept, without its NUL.
constexpr size_t kTagFileLineLength = 65535;

struct TagLine {
    char tag[kTagTextLength + 1]; // text between '<' and '>', a closing tag with its '/'
    char value[kTagTextLength + 1]; // text up to the closing tag, or the rest of the line
    bool closed; // the closing tag stood on the same line
    bool cut; // the tag or the value was longer and has been shortened
};

// Splits one line (which may still end in CR LF). False when the line carries no tag or is
// malformed; such lines are skipped by the readers without any report.
bool parseTagLine(const char* line, TagLine& out);

// The same split without copying: the tag and the value as they lie in the line, uncut.
struct TagSpan {
    const char* tag;
    size_t tagLength;
    const char* value;
    size_t valueLength;
    bool closed;
};
bool splitTagLine(const char* line, TagSpan& out);

// The leading integer of a text as C reads it: blanks, an optional sign, digits, taken modulo
// 2^32, so that every value written with "%u" or "%i" reads back unchanged. The second form
// reads no more than `length` characters.
uint32_t leadingNumber(const char* text);
uint32_t leadingNumber(const char* text, size_t length);

// The whole number at the start of `text` when it lies in minimum..maximum (blanks and a sign
// before it allowed); a number a field could not hold, or write back as it stands, is refused.
bool boundedNumber(const char* text, int64_t minimum, int64_t maximum, int64_t& value);

// A money amount as the tag-line files hold it: "%.6f", or with as many more places as it takes
// to read back the same value (a price the tariff page keeps at nine places), so a file never
// rounds what a page stores. The length of the text; -1 when it does not fit `size`.
int formatAmount(double amount, char* text, size_t size);

// An amount the files can hold: finite, and written in no more than a tag's value.
bool isStorableAmount(double amount);

enum class LineRead { line, end, damaged, unreadable };

// Reads the next line into `buffer` (kTagFileLineLength + 1 bytes). `damaged` for a line
// longer than kTagFileLineLength or a gzip stream that is corrupt or cut short; `unreadable`
// when the system cannot read the file at all.
LineRead readTagFileLine(GzReader& file, char* buffer);

enum class TagFileRead { read, missing, damaged };

// Reads a small tag-line file of the program's own (alerts.zip, adapters.zip) whole: each line
// that is not blank is parsed and handed to `takeLine` with `context`, which says whether the
// file may hold it. `missing` when there is no file yet (a first start); `damaged` when it is not
// gzip, cannot be read, or holds a line that does not parse or that `takeLine` refuses.
TagFileRead readSmallTagFile(const char* path, bool (*takeLine)(const TagLine& line, void* context), void* context);

// Formats one line of a tag-line file and writes it; false when the line would be longer than
// 1023 characters (no line of the program's files is) or the write failed.
bool writeTagFileLine(GzReplacingWriter& file, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Reports a format error in the file at `path` at once (AppError 0x40000018), after keeping a
// copy of the file as it is beside it (keepDamagedCopy), so that a later rewrite of the file from
// what was read cannot destroy what followed the damage. Inserts: %3 the file, %4 the copy (empty
// when the copy could not be made).
void reportTagFileError(const char* path);

// Defined here so that the month reader, which runs every line through them, can inline them.
inline bool splitTagLine(const char* line, TagSpan& out)
{
    // One pass over the line; the month logs run every line through here.
    const char* open = line;
    while (*open != '<') {
        if (*open == '\0')
            return false;
        ++open;
    }
    const char* tag = open + 1;
    const char* close = tag;
    while (*close != '>') {
        if (*close == '\0')
            return false;
        ++close;
    }
    const size_t tagLength = size_t(close - tag);
    const char* value = close + 1;
    const char* end = value;
    while (*end != '<' && *end != '\0')
        ++end;
    if (*end == '<') {
        // The closing tag must name the opening one; what follows its name is not looked at,
        // so "</namex>" still closes "<name>".
        if (end[1] != '/')
            return false;
        // Stops at the line's end too: the tag holds no NUL, so a shorter rest differs first.
        for (size_t i = 0; i < tagLength; ++i)
            if (end[2 + i] != tag[i])
                return false;
    }
    out.tag = tag;
    out.tagLength = tagLength;
    out.value = value;
    out.valueLength = size_t(end - value);
    out.closed = *end == '<';
    return true;
}

inline uint32_t leadingNumber(const char* text, size_t length)
{
    const char* end = text + length;
    while (text != end && (*text == ' ' || (*text >= '\t' && *text <= '\r')))
        ++text;
    const bool negative = text != end && *text == '-';
    if (text != end && (*text == '-' || *text == '+'))
        ++text;
    uint32_t value = 0;
    for (; text != end && *text >= '0' && *text <= '9'; ++text)
        value = value * 10u + uint32_t(*text - '0');
    return negative ? 0u - value : value;
}
