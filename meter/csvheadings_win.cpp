#include "meter/csvheadings.h"

#include <windows.h>

#include <cstring>

#include "core/platform.h"
#include "core/textinserts.h"
#include "lang/ids.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

// Language texts are in the system's ANSI code page; the CSV file is UTF-8.
void toUtf8(const char* ansi, char* utf8, size_t size)
{
    wchar_t wide[1024];
    utf8[0] = '\0';
    if (MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 1024) > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, int(size), nullptr, nullptr);
}

} // namespace

void loadCsvHeadings(CsvHeadingTexts& texts)
{
    char ansi[1024];
    for (int column = 0; column < kCsvColumns - 1; ++column) {
        languageString(IDS_CSV_FIRST_HEADING + column, ansi, sizeof ansi);
        toUtf8(ansi, texts.text[column], sizeof texts.text[column]);
    }
    if (const Rate* rate = tariffAt(settings.activeTariff)) {
        char format[256], name[sizeof rate->name + 1] = {};
        memcpy(name, rate->name, sizeof rate->name);
        languageString(IDS_CSV_COST_TARIFF, format, sizeof format);
        fillLabelFormat(format, name, ansi, sizeof ansi);
    } else {
        languageString(IDS_CSV_COST, ansi, sizeof ansi);
    }
    toUtf8(ansi, texts.text[kCsvColumns - 1], sizeof texts.text[kCsvColumns - 1]);
    for (int column = 0; column < kCsvColumns; ++column)
        texts.headings.text[column] = texts.text[column];
}
