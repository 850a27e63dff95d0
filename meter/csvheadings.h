#pragma once
// The CSV header row in the language telvane speaks.
#include "meter/monthcsv.h"

struct CsvHeadingTexts {
    char text[kCsvColumns][1024];
    CsvHeadings headings; // points into `text`
};

// Fills `texts` from the language module, in UTF-8; the cost column names the active tariff,
// which prices it.
void loadCsvHeadings(CsvHeadingTexts& texts);
