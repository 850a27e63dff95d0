#pragma once
// Money texts in the user's own currency format with a tariff's decimal places. The format is
// handed to each formatting call, so the user's locale settings stay as they are for every
// other program.
#include <cstddef>

// The user's monetary decimal and group separators, for reading money texts back.
void userMoneySeparators(char* decimalSeparator, char* groupSeparator, size_t size);

// `amount` in the user's currency format with `digits` decimal places; false (and an empty
// text) when it cannot be formatted.
bool formatMoney(double amount, int digits, char* out, size_t size);

// A price in the user's currency format with as many places as it carries (up to six), at least
// the currency's own: the tariff's places are for money totals.
void formatPrice(double price, char* text, size_t size);

// A money amount in the user's currency format with the active tariff's decimal places (the
// user's own without a tariff), without touching the user's locale settings.
void formatTariffMoney(double amount, char* text, int size);
