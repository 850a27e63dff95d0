#pragma once
// The parts of the main menu that change at run time, as plain lists: the months that have
// a log file and the skin folders.
#include <cstddef>
#include <cstdint>

#include "core/localtime.h"
#include "lang/ids.h"

// As many items as the menu's command ranges hold.
constexpr int kLogMonthMaxItems = IDM_LOG_MONTH_LAST - IDM_LOG_MONTH_FIRST + 1;
constexpr int kSkinMaxItems = IDM_SKIN_LAST - IDM_SKIN_FIRST + 1;

struct LogMonthItem {
    uint16_t year;
    uint16_t month;
    uint32_t data; // year * 65536 + month, or 0 for the current month
    bool current; // the item text gets " *"
};

// The month of a log file name "log_YYYYMM.zip": the digits behind "log_" up to the first
// other character, as year * 100 + month. False for a name that does not start with "log_"
// or whose number names no month (month outside 1..12, year 0 or beyond the calendar).
bool logFileMonth(const char* fileName, uint16_t* year, uint16_t* month);

// Turns the log file names, in any order, into at most 40 items written to `items`, newest
// month first: the newest months that have a log, and always the current month. Returns their
// number.
int logMonthItems(const char* const* fileNames, int count, const LocalTime& today, LogMonthItem* items);

struct SkinItem {
    const char* name;
    bool checked;
};

struct FolderEntry {
    const char* name;
    bool isFolder;
};

// The skin items for the entries of the program directory: every folder but "." and "..",
// at most 32, checked when its name equals `skinName` byte for byte.
int skinItems(const FolderEntry* entries, int count, const char* skinName, SkinItem* items);

// The status-line hint of a highlighted menu item: one hint per dynamic range.
uint32_t menuHintId(uint32_t itemId);

// A menu takes '&' in an item's text as the mark of the letter after it. Names the user chose
// (tariffs, phone-book entries, skin folders) are shown as written: menuItemText doubles every
// '&' of `name` into `text` (at most `size` bytes with the terminating zero, never ending on
// half of a pair); menuItemName turns an item's text back into the name.
void menuItemText(const char* name, char* text, size_t size);
void menuItemName(const char* text, char* name, size_t size);
