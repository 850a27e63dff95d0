#pragma once
// The one-tag-per-line text of rates.zip and the month logs: "<tag>value</tag>" lines, or a
// bare "<tag>" opening or closing a block.
#include <cstddef>
#include <cstdint>

#include <zlib.h>

// Longest tag or value kept, without its NUL; longer ones are cut to this length.
constexpr size_t kTagTextLength = 255;
// Longest line the readers accept, without its NUL.
constexpr size_t kTagFileLineLength = 65535;

struct TagLine {
    char tag[kTagTextLength + 1];    // text between '<' and '>', a closing tag with its '/'
    char value[kTagTextLength + 1];  // text up to the closing tag, or the rest of the line
    bool closed;                     // the closing tag stood on the same line
};

// Splits one line (which may still end in CR LF). False when the line carries no tag or is
// malformed; such lines are skipped by the readers without any report.
bool parseTagLine(const char* line, TagLine& out);

// The leading integer of a text as C reads it: blanks, an optional sign, digits, taken modulo
// 2^32, so that every value written with "%u" or "%i" reads back unchanged.
uint32_t leadingNumber(const char* text);

enum class LineRead { line, end, damaged };

// Reads the next line into `buffer` (kTagFileLineLength + 1 bytes). `damaged` for a line
// longer than kTagFileLineLength or a gzip stream that cannot be read to its end.
LineRead readTagFileLine(gzFile file, char* buffer);

// Reports a format error in the file at `path` at once (AppError 0x40000018), after keeping a
// copy of the file as it is beside it, so that a later rewrite of the file from what was read
// cannot destroy what followed the damage. Inserts: %3 the file, %4 the copy (empty when the
// copy could not be made).
void reportTagFileError(const char* path);

// The name under which reportTagFileError keeps its copy of `path` ("<path>.damaged", or
// "<path>.damaged2" and so on when an earlier, different copy is already there). False when
// no name is free.
bool damagedCopyPath(const char* path, char* copyPath, size_t size);
