#include "ui/menulists.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

bool logFileMonth(const char* fileName, uint16_t* year, uint16_t* month)
{
    if (strncmp(fileName, "log_", 4) != 0)
        return false;
    const char* digit = fileName + 4;
    if (*digit < '0' || *digit > '9')
        return false;
    // The name comes from the file system; a long run of digits must not overflow.
    uint64_t number = 0;
    for (; *digit >= '0' && *digit <= '9' && number < 10000000000ull; ++digit)
        number = number * 10 + uint64_t(*digit - '0');
    // A name with a month outside 1..12 or no year would give a meaningless menu item.
    if (number % 100 < 1 || number % 100 > 12 || number / 100 < 1 || number / 100 > 30827)
        return false;
    *month = uint16_t(number % 100);
    *year = uint16_t(number / 100);
    return true;
}

int logMonthItems(const char* const* fileNames, int count, const LocalTime& today, LogMonthItem* items)
{
    // The current month is listed before its first log is written too: it is the way back to
    // the running month after looking at another one.
    const uint32_t current = uint32_t(today.year) * 65536u + today.month;
    std::vector<uint32_t> months { current };
    for (int i = 0; i < count; ++i) {
        uint16_t year, month;
        if (!logFileMonth(fileNames[i], &year, &month))
            continue;
        const uint32_t key = uint32_t(year) * 65536u + month;
        if (std::find(months.begin(), months.end(), key) == months.end())
            months.push_back(key);
    }
    std::sort(months.begin(), months.end(), std::greater<>());
    if (months.size() > size_t(kLogMonthMaxItems)) {
        months.resize(kLogMonthMaxItems);
        // Only logs of later months (a clock that was set wrong) can push it out.
        if (std::find(months.begin(), months.end(), current) == months.end())
            months.back() = current;
    }
    for (size_t i = 0; i < months.size(); ++i) {
        LogMonthItem& item = items[i];
        item.year = uint16_t(months[i] >> 16);
        item.month = uint16_t(months[i] & 0xFFFF);
        item.current = months[i] == current;
        item.data = item.current ? 0 : months[i];
    }
    return int(months.size());
}

int skinItems(const FolderEntry* entries, int count, const char* skinName, SkinItem* items)
{
    int written = 0;
    for (int i = 0; i < count && written < kSkinMaxItems; ++i) {
        const FolderEntry& entry = entries[i];
        if (!entry.isFolder || strcmp(entry.name, ".") == 0 || strcmp(entry.name, "..") == 0)
            continue;
        items[written++] = { entry.name, strcmp(entry.name, skinName) == 0 };
    }
    return written;
}

uint32_t menuHintId(uint32_t itemId)
{
    if (itemId >= IDM_LOG_MONTH_FIRST && itemId <= IDM_LOG_MONTH_LAST)
        return IDM_LOG_MONTH_FIRST;
    if (itemId >= IDM_TARIFF_FIRST && itemId <= IDM_TARIFF_LAST)
        return IDM_TARIFF_FIRST;
    if (itemId >= IDM_SKIN_FIRST && itemId <= IDM_SKIN_LAST)
        return IDM_SKIN_FIRST;
    if (itemId >= IDM_PHONEBOOK_FIRST && itemId <= IDM_PHONEBOOK_LAST)
        return IDM_PHONEBOOK_FIRST;
    return itemId;
}

void menuItemText(const char* name, char* text, size_t size)
{
    if (size == 0)
        return;
    size_t used = 0;
    for (; *name != '\0'; ++name) {
        const size_t needed = *name == '&' ? 2 : 1;
        if (used + needed >= size)
            break;
        text[used++] = *name;
        if (*name == '&')
            text[used++] = '&';
    }
    text[used] = '\0';
}

void menuItemName(const char* text, char* name, size_t size)
{
    if (size == 0)
        return;
    size_t used = 0;
    for (; *text != '\0' && used + 1 < size; ++text) {
        name[used++] = *text;
        if (text[0] == '&' && text[1] == '&')
            ++text;
    }
    name[used] = '\0';
}
