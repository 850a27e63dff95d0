#pragma once
// Steerable stand-ins for the system, linked into the unit tests instead of the Win32 seam.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/platform.h"

struct ShownMessageBox {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

struct FakePlatform {
    LocalTime now{2003, 10, 3, 15, 14, 3, 20, 0};
    uint64_t monotonicMs = 1000000;
    uint16_t userLanguage = 0x0409;
    std::map<uint32_t, std::string> programStrings;
    std::map<uint32_t, std::string> languageStrings;
    // Message texts by code; "%1".."%4" are replaced by the inserts (numbers as %u).
    std::map<uint32_t, std::string> messages;
    std::map<uint32_t, std::string> systemErrors;
    uint32_t lastError = 0;
    std::vector<ShownMessageBox> boxes;
};

extern FakePlatform fakePlatform;

// Restores the defaults: the program's file names, a few language strings, no boxes, and an
// empty scratch folder as the program directory.
void resetFakePlatform();

// The scratch folder of the running test (ends in a separator).
std::string scratchDirectory();
