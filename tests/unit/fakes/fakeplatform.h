#pragma once
// Steerable stand-ins for the system, linked into the unit tests instead of the Win32 seam.
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/platform.h"

struct ShownMessageBox {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

struct FakePlatform {
    LocalTime now { 2003, 10, 3, 15, 14, 3, 20, 0 };
    // The monotonic clock runs with `now` and this much ahead of it: a test moves time by moving
    // `now`, and changes this alone for time that passes without the wall clock (a measured tick)
    // or for a wall clock set back or forward (setWallClock).
    uint64_t monotonicMs = 1000000;
    uint16_t userLanguage = 0x0409;
    std::string executablePath; // empty: the path cannot be had
    std::map<uint32_t, std::string> programStrings;
    std::map<uint32_t, std::string> languageStrings;
    // Message texts by code; "%1".."%4" are replaced by the inserts (numbers as %u).
    std::map<uint32_t, std::string> messages;
    std::map<uint32_t, std::string> systemErrors;
    uint32_t lastError = 0;
    std::vector<ShownMessageBox> boxes;
    // Files another program holds open without sharing them for deleting (a virus scanner, a
    // backup): moving a new file over one of them is refused. Full paths.
    std::set<std::string> heldFiles;
    bool diskFull = false; // every replacement fails
    uint32_t replacements = 0; // attempts to move a new file over another
    // Runs while a message box is open, as the box's own message loop delivers timer ticks.
    std::function<void()> whileBoxOpen;
};

extern FakePlatform fakePlatform;

// Restores the defaults: the program's file names, a few language strings, no boxes, and an
// empty scratch folder as the program directory.
void resetFakePlatform();

// Sets the wall clock alone, as a user or a time synchronisation does: the monotonic clock goes
// on as it was.
void setWallClock(const LocalTime& wall);

// The monotonic time at which the fake clock shows `wall` (with no clock change in between).
uint64_t monotonicAt(const LocalTime& wall);

// The scratch folder of the running test (ends in a separator).
std::string scratchDirectory();
