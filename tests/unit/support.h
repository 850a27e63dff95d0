#pragma once
// Small helpers shared by the unit tests.
#include <string>
#include <vector>

// Whole file contents, decompressed through zlib (plain files come back as they are).
std::string readGzipFile(const std::string& path);
void writeGzipFile(const std::string& path, const std::string& content);
void writePlainFile(const std::string& path, const std::string& content);
bool fileExists(const std::string& path);
std::string readPlainFile(const std::string& path);

// One block of a month log as the program writes it: day, start second of the day, duration,
// bytes and packets received, bytes and packets sent.
std::string logBlock(unsigned day, unsigned time, unsigned dur, unsigned rx, unsigned rxp, unsigned tx, unsigned txp);
