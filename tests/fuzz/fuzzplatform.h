#pragma once
// The system seam for the fuzz targets: a fixed clock, the program's file names, no language
// module, and message boxes that are only counted.
#include <cstddef>
#include <cstdint>

extern unsigned fuzzBoxesShown;

// Makes a fresh folder for the target's files and points the program directory at it.
void setUpFuzzDirectory(const char* name);

// Writes the fuzz input as the file `name` of that folder: compressed when the first byte is
// even (the content is fuzzed), as it stands when odd (the gzip layer is fuzzed too).
void writeFuzzFile(const char* name, const uint8_t* data, size_t size);

// Removes the copies that format errors keep beside a file.
void removeDamagedCopies(const char* name);

// Full path of a file of the fuzz folder.
const char* fuzzPath(const char* name);
