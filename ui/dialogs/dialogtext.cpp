#include "ui/dialogs/dialogtext.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t kLongestNumberText = 128;

bool startsWith(const char* text, const char* prefix)
{
    const size_t length = strlen(prefix);
    return length > 0 && strncmp(text, prefix, length) == 0;
}

// A space or the no-break space (code page 1252) that some locales group digits with.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\xA0'; }

enum class Token : char { digit, decimal, group, mark };

struct NumberTokens {
    Token kind[kLongestNumberText];
    char character[kLongestNumberText];
    int count = 0;
};

// Splits a trimmed text into digits, the locale's separators and the other decimal mark ('.' or
// ','); false for any other character. A blank groups digits where the locale groups with one.
bool tokenize(const char* text, size_t length, const LocaleNumberFormat& format, NumberTokens& tokens)
{
    const bool blankGroups = format.groupSeparator[0] != '\0' && isBlank(format.groupSeparator[0]);
    const char* end = text + length;
    while (text < end) {
        if (tokens.count == int(kLongestNumberText))
            return false;
        const int i = tokens.count++;
        tokens.character[i] = *text;
        if (startsWith(text, format.decimalSeparator)) {
            tokens.kind[i] = Token::decimal;
            text += strlen(format.decimalSeparator);
        } else if (startsWith(text, format.groupSeparator) || (blankGroups && isBlank(*text))) {
            tokens.kind[i] = Token::group;
            text += startsWith(text, format.groupSeparator) ? strlen(format.groupSeparator) : 1;
        } else if (*text == ',' || *text == '.') {
            tokens.kind[i] = Token::mark;
            ++text;
        } else if (*text >= '0' && *text <= '9') {
            tokens.kind[i] = Token::digit;
            ++text;
        } else {
            return false;
        }
    }
    return true;
}

// True when the group separators before `end` split the digits as the locale writes them: a
// first run of one to three digits that does not start with 0 (unless it is the only one), then
// runs of exactly three. Without any separator every run of digits is a grouping.
bool isGrouping(const NumberTokens& tokens, int end)
{
    int run = 0, runs = 0;
    char first = 0;
    for (int i = 0; i <= end; ++i) {
        if (i < end && tokens.kind[i] == Token::digit) {
            if (run == 0 && runs == 0)
                first = tokens.character[i];
            ++run;
            continue;
        }
        if (i < end && tokens.kind[i] != Token::group)
            return false;
        if (runs == 0 && i == end)
            return true;
        if (runs == 0 ? (run < 1 || run > 3 || first == '0') : run != 3)
            return false;
        ++runs;
        run = 0;
    }
    return true;
}

// Where the decimal point of the tokens is: the locale's own separator, else the one mark a
// user typed from the other habit ("0,29" where a point is the separator, "0.29" where it is a
// comma) when it cannot be a group separator. -1 for a whole number, -2 when the separators
// make no number.
int decimalPointOf(const NumberTokens& tokens)
{
    int decimals = 0, marks = 0, groups = 0, point = -1, lastMark = -1;
    for (int i = 0; i < tokens.count; ++i) {
        if (tokens.kind[i] == Token::decimal) {
            ++decimals;
            point = i;
        } else if (tokens.kind[i] == Token::mark) {
            ++marks;
            lastMark = i;
        } else if (tokens.kind[i] == Token::group) {
            ++groups;
            if (tokens.character[i] == ',' || tokens.character[i] == '.')
                lastMark = i;
        }
    }
    if (decimals > 1)
        return -2;
    if (decimals == 1) {
        for (int i = point + 1; i < tokens.count; ++i)
            if (tokens.kind[i] != Token::digit)
                return -2;
        return marks == 0 && isGrouping(tokens, point) ? point : -2;
    }
    if (marks == 0 && isGrouping(tokens, tokens.count))
        return -1;
    // One separator that does not group: the point of someone used to the other mark.
    return marks + groups == 1 && lastMark >= 0 ? lastMark : -2;
}

// The text without blanks around it and, for money, without the currency symbol before or
// after the number.
void trimNumberText(const char*& text, size_t& length, const char* currencySymbol)
{
    const auto trim = [&] {
        while (length > 0 && isBlank(text[0]))
            ++text, --length;
        while (length > 0 && isBlank(text[length - 1]))
            --length;
    };
    trim();
    const size_t symbolLength = currencySymbol != nullptr ? strlen(currencySymbol) : 0;
    if (symbolLength == 0 || length < symbolLength)
        return;
    if (strncmp(text, currencySymbol, symbolLength) == 0) {
        text += symbolLength;
        length -= symbolLength;
    } else if (strncmp(text + length - symbolLength, currencySymbol, symbolLength) == 0) {
        length -= symbolLength;
    }
    trim();
}

} // namespace

TypedNumber readTypedNumber(
    const char* text, const LocaleNumberFormat& format, const NumberLimits& limits, double& value)
{
    size_t length = strlen(text);
    trimNumberText(text, length, format.currencySymbol);
    NumberTokens tokens;
    if (length == 0 || !tokenize(text, length, format, tokens))
        return TypedNumber::notANumber;
    const int point = decimalPointOf(tokens);
    if (point == -2)
        return TypedNumber::notANumber;

    char number[kLongestNumberText + 2];
    size_t used = 0;
    int digits = 0, places = 0;
    for (int i = 0; i < tokens.count; ++i) {
        if (i == point) {
            number[used++] = '.';
        } else if (tokens.kind[i] == Token::digit) {
            number[used++] = tokens.character[i];
            ++digits;
            if (point >= 0 && i > point)
                ++places;
        }
    }
    number[used] = '\0';
    if (digits == 0)
        return TypedNumber::notANumber;
    if (places > limits.places)
        return TypedNumber::tooManyPlaces;
    const double read = strtod(number, nullptr);
    if (!(read >= limits.minimum && read <= limits.maximum))
        return TypedNumber::outOfRange;
    value = read;
    return TypedNumber::valid;
}

int precisionDigits(const char* precisionText)
{
    int digits = 0;
    for (const char* c = precisionText; *c >= '0' && *c <= '9'; ++c) {
        digits = digits * 10 + (*c - '0');
        if (digits > 9)
            return 9;
    }
    return digits;
}

int pricePlaces(double price, int least)
{
    char printed[512];
    snprintf(printed, sizeof printed, "%.6f", price);
    const char* point = strchr(printed, '.');
    int places = point != nullptr ? int(strlen(point + 1)) : 0;
    while (places > 0 && point[places] == '0')
        --places;
    return places > least ? places : least;
}

uint32_t groupingFromLocaleText(const char* text)
{
    char digits[16];
    size_t length = 0;
    const char* last = text;
    for (const char* c = text; *c && length < sizeof digits - 2; ++c)
        if (*c >= '0' && *c <= '9') {
            digits[length++] = *c;
            last = c;
        }
    if (length == 0)
        return 0;
    // A trailing ";0" repeats the last group, which the format's value says by having no
    // trailing zero; without it the last group is not repeated, said by a trailing zero.
    const bool repeats = *last == '0' && last > text && last[-1] == ';';
    if (repeats)
        --length;
    else
        digits[length++] = '0';
    digits[length] = '\0';
    return length ? uint32_t(strtoul(digits, nullptr, 10)) : 0;
}
