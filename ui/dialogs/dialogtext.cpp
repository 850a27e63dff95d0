#include "ui/dialogs/dialogtext.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

enum class Token : char { digit, decimal, point, group };

struct TokenText {
    Token kind[128];
    char digit[128];
    int count = 0;
};

bool startsWith(const char* text, const char* prefix)
{
    const size_t length = strlen(prefix);
    return length > 0 && strncmp(text, prefix, length) == 0;
}

// Splits the text into digits and separators, dropping everything else. Long texts keep their
// first 128 tokens: more digits than a double holds carry no meaning.
TokenText tokenize(const char* text, const char* decimalSeparator, const char* groupSeparator)
{
    TokenText tokens;
    while (*text && tokens.count < 128) {
        const int i = tokens.count;
        if (startsWith(text, decimalSeparator)) {
            tokens.kind[i] = Token::decimal;
            text += strlen(decimalSeparator);
        } else if (startsWith(text, groupSeparator)) {
            // A space-like group separator is skipped like any other character; a ',' or '.'
            // may still be meant as the decimal point by someone typing.
            const char first = *text;
            text += strlen(groupSeparator);
            if (first != ',' && first != '.')
                continue;
            tokens.kind[i] = Token::group;
        } else if (*text == ',' || *text == '.') {
            tokens.kind[i] = Token::point;
            ++text;
        } else if (*text >= '0' && *text <= '9') {
            tokens.kind[i] = Token::digit;
            tokens.digit[i] = *text++;
        } else {
            ++text;
            continue;
        }
        ++tokens.count;
    }
    return tokens;
}

// True when the group separators split the digits like a formatted number: a first run of one
// to three digits that does not start with 0, then runs of exactly three, and no other
// separator.
bool isGrouping(const TokenText& tokens)
{
    int run = 0, runs = 0;
    bool any = false;
    char first = 0;
    for (int i = 0; i <= tokens.count; ++i) {
        if (i < tokens.count && tokens.kind[i] == Token::digit) {
            if (run == 0 && runs == 0)
                first = tokens.digit[i];
            ++run;
            continue;
        }
        if (i < tokens.count && tokens.kind[i] != Token::group)
            return false;
        if (runs == 0 ? (run < 1 || run > 3 || first == '0') : run != 3)
            return false;
        if (i < tokens.count)
            any = true;
        ++runs;
        run = 0;
    }
    return any;
}

} // namespace

double parseMoneyText(const char* text, const char* decimalSeparator, const char* groupSeparator)
{
    const TokenText tokens = tokenize(text, decimalSeparator, groupSeparator);

    int pointAt = -1;
    for (int i = 0; i < tokens.count && pointAt < 0; ++i)
        if (tokens.kind[i] == Token::decimal)
            pointAt = i;
    if (pointAt < 0 && !isGrouping(tokens))
        for (int i = 0; i < tokens.count && pointAt < 0; ++i)
            if (tokens.kind[i] == Token::point || tokens.kind[i] == Token::group)
                pointAt = i;

    char number[132];
    size_t length = 0;
    for (int i = 0; i < tokens.count; ++i) {
        if (i == pointAt)
            number[length++] = '.';
        else if (tokens.kind[i] == Token::digit)
            number[length++] = tokens.digit[i];
    }
    number[length] = '\0';
    return length ? strtod(number, nullptr) : 0.0;
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

uint32_t volumeCorrectionFromText(const char* text, const char* decimalSeparator, const char* groupSeparator)
{
    const double hundredths = std::round(parseMoneyText(text, decimalSeparator, groupSeparator) * 100.0);
    return hundredths >= 4294967295.0 ? 0xFFFFFFFFu : uint32_t(hundredths);
}
