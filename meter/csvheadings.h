#pragma once
// What the CSV takes from this computer: the header row in the language telvane speaks, and the
// separators of its spreadsheet.
#include "meter/monthcsv.h"

struct CsvHeadingTexts {
    char text[kCsvColumns][1024];
    CsvHeadings headings; // points into `text`
};

// Fills `texts` from the language module, in UTF-8; the cost column names the active tariff,
// which prices it.
void loadCsvHeadings(CsvHeadingTexts& texts);

// The list separator and decimal sign of the user's regional settings, with a byte-order mark:
// the CSV a spreadsheet on this computer opens into columns. The standard's comma and point
// stand in for any the settings do not give.
CsvFormat localCsvFormat();
