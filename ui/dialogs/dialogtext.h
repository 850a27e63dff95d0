#pragma once
// Text rules of the option pages that need no window: reading money and percentages back from
// what the fields display, the tariff's decimal places and the locale's digit grouping.
#include <cstddef>
#include <cstdint>

// The amount in a money text as a field displays it or as a user types it. Currency symbols,
// spaces and signs are ignored, so amounts are never negative. The locale's own decimal
// separator, when present, is the decimal point and its group separator is skipped; otherwise
// the first ',' or '.' is the decimal point, unless the separators group the digits in threes
// ("1.234" with '.' grouping is 1234, "0.123" and "12.34" are not groupings).
double parseMoneyText(const char* text, const char* decimalSeparator, const char* groupSeparator);

// Decimal places from a tariff's precision text: its leading number, 0 when there is none, at
// most 9 (the most the locale's formatting accepts).
int precisionDigits(const char* precisionText);

// The Grouping value of a number format from the locale's grouping text ("3;0" -> 3,
// "3;2;0" -> 32, "3" -> 30).
uint32_t groupingFromLocaleText(const char* text);

// The volume correction in hundredths of a percent from the percentage a user typed
// ("0,29" and "0.29" both give 29), rounded to the nearest; at most 0xFFFFFFFF.
uint32_t volumeCorrectionFromText(const char* text, const char* decimalSeparator, const char* groupSeparator);
