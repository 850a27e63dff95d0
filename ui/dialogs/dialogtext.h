#pragma once
// Text rules of the option pages that need no window: reading money and percentages back from
// what the fields display, the tariff's decimal places, the locale's digit grouping, and the
// unit-label formats of the language module.
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

// `format` with its first "%s" replaced by `value`; every other character is copied as it
// stands, so a stray '%' in a translated label cannot misread arguments.
void fillLabelFormat(const char* format, const char* value, char* out, size_t size);

// The same with `count` values for the first `count` "%s" of `format`, in order; the values
// themselves are never searched, so a "%s" inside one stays as it is.
void fillTextFormat(const char* format, const char* const* values, int count, char* out, size_t size);

// The volume correction in hundredths of a percent from the percentage a user typed
// ("0,29" and "0.29" both give 29), rounded to the nearest; at most 0xFFFFFFFF.
uint32_t volumeCorrectionFromText(const char* text, const char* decimalSeparator, const char* groupSeparator);
