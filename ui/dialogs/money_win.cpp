#include "ui/dialogs/money_win.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tariff/rates.h"
#include "tariff/settings.h"
#include "ui/dialogs/dialogtext.h"

void userMoneySeparators(char* decimalSeparator, char* groupSeparator, size_t size)
{
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONDECIMALSEP, decimalSeparator, int(size)) == 0)
        snprintf(decimalSeparator, size, ".");
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHOUSANDSEP, groupSeparator, int(size)) == 0)
        snprintf(groupSeparator, size, ",");
}

namespace {

UINT localeNumber(LCTYPE type, UINT fallback)
{
    char text[16];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) == 0)
        return fallback;
    return UINT(strtoul(text, nullptr, 10));
}

} // namespace

bool formatMoney(double amount, int digits, char* out, size_t size)
{
    char decimalSeparator[8], groupSeparator[8], grouping[16], symbol[16];
    userMoneySeparators(decimalSeparator, groupSeparator, sizeof decimalSeparator);
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONGROUPING, grouping, sizeof grouping) == 0)
        snprintf(grouping, sizeof grouping, "3;0");
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, symbol, sizeof symbol) == 0)
        symbol[0] = '\0';

    CURRENCYFMTA format = {};
    format.NumDigits = UINT(digits);
    format.LeadingZero = localeNumber(LOCALE_ILZERO, 1);
    format.Grouping = groupingFromLocaleText(grouping);
    format.lpDecimalSep = decimalSeparator;
    format.lpThousandSep = groupSeparator;
    format.NegativeOrder = localeNumber(LOCALE_INEGCURR, 0);
    format.PositiveOrder = localeNumber(LOCALE_ICURRENCY, 0);
    format.lpCurrencySymbol = symbol;

    char number[512];
    snprintf(number, sizeof number, "%.6f", amount);
    if (GetCurrencyFormatA(LOCALE_USER_DEFAULT, 0, number, &format, out, int(size)) == 0) {
        out[0] = '\0';
        return false;
    }
    return true;
}

void formatPrice(double price, char* text, size_t size)
{
    const int places = pricePlaces(price, int(localeNumber(LOCALE_ICURRDIGITS, 2)));
    if (!formatMoney(price, places, text, size))
        snprintf(text, size, "%.*f", places, price);
}

void formatTariffMoney(double amount, char* text, int size)
{
    int digits = 2;
    char localeDigits[8];
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_ICURRDIGITS, localeDigits, sizeof localeDigits) > 0)
        digits = atoi(localeDigits);
    if (const Rate* rate = tariffAt(settings.activeTariff)) {
        char precision[sizeof rate->precision + 1] = {};
        memcpy(precision, rate->precision, sizeof rate->precision);
        digits = precisionDigits(precision);
    }
    if (!formatMoney(amount, digits, text, size_t(size)))
        snprintf(text, size_t(size), "%.*f", digits, amount);
}
