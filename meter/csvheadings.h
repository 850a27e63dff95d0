#pragma once
// What the CSV takes from this computer: the header row in the language telvane speaks, and the
// separators of its spreadsheet.
#include "meter/monthcsv.h"

struct CsvHeadingTexts {
    char text[kCsvColumns][1024];
    char tableText[6][1024]; // month, year cost, tariff, usage cost, fixed amount, total
    CsvHeadings headings; // points into the texts
};

// Fills `texts` from the language module, in UTF-8; the cost columns of the records and of the
// year name the active tariff, which prices them.
void loadCsvHeadings(CsvHeadingTexts& texts);

// The list separator and decimal sign of the user's regional settings, with a byte-order mark:
// the CSV a spreadsheet on this computer opens into columns. The standard's comma and point
// stand in for any the settings do not give.
CsvFormat localCsvFormat();
