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
    if (MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 1024) > 0
        && WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, int(size), nullptr, nullptr) == 0)
        utf8[0] = '\0'; // too long for `utf8`: nothing rather than a cut character
}

// A heading that names the active tariff when there is one.
void tariffHeading(uint32_t withTariff, uint32_t without, char* utf8, size_t size)
{
    char ansi[1024];
    if (const Rate* rate = tariffAt(settings.activeTariff)) {
        char format[256], name[sizeof rate->name + 1] = {};
        memcpy(name, rate->name, sizeof rate->name);
        languageString(withTariff, format, sizeof format);
        fillLabelFormat(format, name, ansi, sizeof ansi);
    } else {
        languageString(without, ansi, sizeof ansi);
    }
    toUtf8(ansi, utf8, size);
}

} // namespace

void loadCsvHeadings(CsvHeadingTexts& texts)
{
    char ansi[1024];
    for (int column = 0; column < kCsvColumns - 1; ++column) {
        languageString(IDS_CSV_FIRST_HEADING + column, ansi, sizeof ansi);
        toUtf8(ansi, texts.text[column], sizeof texts.text[column]);
    }
    tariffHeading(IDS_CSV_COST_TARIFF, IDS_CSV_COST, texts.text[kCsvColumns - 1], sizeof texts.text[kCsvColumns - 1]);
    for (int column = 0; column < kCsvColumns; ++column)
        texts.headings.text[column] = texts.text[column];

    tariffHeading(IDS_CSV_YEAR_COST_TARIFF, IDS_CSV_YEAR_COST, texts.tableText[1], sizeof texts.tableText[1]);
    const uint32_t plain[]
        = { IDS_CSV_MONTH, 0, IDS_CSV_TARIFF, IDS_CSV_USAGE_COST, IDS_CSV_FIXED_COST, IDS_CSV_TOTAL_COST };
    for (int i = 0; i < 6; ++i) {
        if (plain[i] == 0)
            continue;
        languageString(plain[i], ansi, sizeof ansi);
        toUtf8(ansi, texts.tableText[i], sizeof texts.tableText[i]);
    }
    CsvHeadings& headings = texts.headings;
    headings.month = texts.tableText[0];
    headings.yearCost = texts.tableText[1];
    headings.tariff = texts.tableText[2];
    headings.usageCost = texts.tableText[3];
    headings.fixedCost = texts.tableText[4];
    headings.totalCost = texts.tableText[5];
    headings.toUtf8 = toUtf8;
}

CsvFormat localCsvFormat()
{
    CsvFormat format = kStandardCsv;
    format.byteOrderMark = true;
    // The regional settings are in the ANSI code page; the file is UTF-8.
    char ansi[8];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, ansi, sizeof ansi) > 0 && ansi[0] != '\0')
        toUtf8(ansi, format.separator, sizeof format.separator);
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ansi, sizeof ansi) > 0 && ansi[0] != '\0')
        toUtf8(ansi, format.decimalSign, sizeof format.decimalSign);
    // A separator the conversion could not hold would join every field into one.
    if (format.separator[0] == '\0')
        memcpy(format.separator, kStandardCsv.separator, sizeof format.separator);
    if (format.decimalSign[0] == '\0')
        memcpy(format.decimalSign, kStandardCsv.decimalSign, sizeof format.decimalSign);
    return format;
}
