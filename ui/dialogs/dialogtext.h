#pragma once
// Text rules of the option pages that need no window: reading the numbers typed or shown in the
// fields, the tariff's decimal places and the locale's digit grouping.
#include <cstddef>
#include <cstdint>

// How the user's locale writes one kind of number: its decimal and group separators and, for
// money, its currency symbol (empty otherwise).
struct LocaleNumberFormat {
    const char* decimalSeparator;
    const char* groupSeparator;
    const char* currencySymbol;
};

// What a field accepts: a value from `minimum` to `maximum` with at most `places` decimals (0: a
// whole number).
struct NumberLimits {
    double minimum;
    double maximum;
    int places;
};

enum class TypedNumber { valid, notANumber, tooManyPlaces, outOfRange };

// Reads a number as a user types it or a field shows it: digits with the locale's decimal
// separator and its group separators where they group in threes, blanks around it and, for
// money, the currency symbol before or after it. Where the locale's decimal separator is absent,
// one '.' or ',' that cannot group is taken as the decimal point ("0,29" in English, "0.29" in
// German). Anything else (letters, signs, exponents, a second point) is no number. `value` is
// set only for a valid number.
TypedNumber readTypedNumber(
    const char* text, const LocaleNumberFormat& format, const NumberLimits& limits, double& value);

// Decimal places from a tariff's precision text: its leading number, 0 when there is none, at
// most 9 (the most the locale's formatting accepts).
int precisionDigits(const char* precisionText);

// The decimal places a price is shown with: as many as it carries at six places (0.005 has
// three), and at least `least` (the currency's own).
int pricePlaces(double price, int least);

// The Grouping value of a number format from the locale's grouping text ("3;0" -> 3,
// "3;2;0" -> 32, "3" -> 30).
uint32_t groupingFromLocaleText(const char* text);
