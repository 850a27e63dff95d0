#pragma once
// The CSV header row in the language telvane speaks.
#include "meter/monthcsv.h"

struct CsvHeadingTexts {
    char text[kCsvColumns][1024];
    char tableText[6][1024]; // month, year cost, tariff, usage cost, fixed amount, total
    CsvHeadings headings; // points into the texts
};

// Fills `texts` from the language module, in UTF-8; the cost columns of the records and of the
// year name the active tariff, which prices them.
void loadCsvHeadings(CsvHeadingTexts& texts);
