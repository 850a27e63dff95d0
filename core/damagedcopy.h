#pragma once
// Copies of damaged files, kept beside them before the program writes over what it could read.
#include <cstddef>

class GzReplacingWriter;

// The name under which keepDamagedCopy keeps its copy of `path` ("<path>.damaged", or
// "<path>.damaged2" and so on when an earlier, different copy is already there). False when
// no name is free.
bool damagedCopyPath(const char* path, char* copyPath, size_t size);

// Keeps the file at `path` as it is under its damaged-copy name (an identical copy already
// there is reused), so a later rewrite of the file from what could be read loses nothing.
// Fills `copyPath` with the copy's name; false, with `copyPath` empty, when no copy could be
// made (the file cannot be read, or no name is free).
bool keepDamagedCopy(const char* path, char* copyPath, size_t size);

// Keeps the damaged file at `path` as keepDamagedCopy does and names both in the message's
// inserts: text1 (%3) the file, text2 (%4) the copy, empty when none could be kept. False then.
bool keepDamagedCopyForMessage(const char* path);

// Replaces the program's file at `path` with what `write` puts into it, through a temporary file.
// While `unkept` is set (the file could not be read and no copy of it has been kept), a copy is
// kept first and nothing is written as long as that fails. False when the file was not replaced.
bool replaceKeptFile(const char* path, bool& unkept, bool (*write)(GzReplacingWriter& file));
