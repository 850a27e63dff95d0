#include "meter/monthexport.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/apperror.h"
#include "core/gzfile.h"
#include "core/platform.h"
#include "log/monthlog.h"

namespace {

// The next word of a command line: a run of non-blanks, or the text between two quotes.
const char* nextWord(const char* text, char* word, size_t size)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    size_t length = 0;
    const bool quoted = *text == '"';
    if (quoted)
        ++text;
    for (; *text != '\0' && (quoted ? *text != '"' : *text != ' ' && *text != '\t'); ++text) {
        if (length + 1 >= size)
            return nullptr;
        word[length++] = *text;
    }
    if (quoted && *text == '"')
        ++text;
    word[length] = '\0';
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when `word` is `expected` (lower case) in any letter case.
bool isWord(const char* word, const char* expected)
{
    for (; *expected != '\0'; ++word, ++expected)
        if ((*word >= 'A' && *word <= 'Z' ? *word - 'A' + 'a' : *word) != *expected)
            return false;
    return *word == '\0';
}

// "YYYY-MM" with a month of the calendar the platform counts (from 1601 on).
bool monthFromText(const char* text, uint32_t& key)
{
    if (strlen(text) != 7 || text[4] != '-')
        return false;
    for (int i : { 0, 1, 2, 3, 5, 6 })
        if (!isDigit(text[i]))
            return false;
    const uint32_t year
        = uint32_t((text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0'));
    const uint32_t month = uint32_t((text[5] - '0') * 10 + (text[6] - '0'));
    if (year < 1601 || month < 1 || month > 12)
        return false;
    key = year * 65536u + month;
    return true;
}

// "YYYY", a year of the same calendar; its key is that of its January.
bool yearFromText(const char* text, uint32_t& key)
{
    if (strlen(text) != 4 || !isDigit(text[0]) || !isDigit(text[1]) || !isDigit(text[2]) || !isDigit(text[3]))
        return false;
    char month[8];
    snprintf(month, sizeof month, "%.4s-01", text);
    return monthFromText(month, key);
}

} // namespace

ExportRequest parseExportRequest(const char* commandLine)
{
    ExportRequest request {};
    char word[260];
    const char* rest = nextWord(commandLine, word, sizeof word);
    const bool compare = rest != nullptr && isWord(word, "/compare");
    if (rest == nullptr || !(compare || isWord(word, "/export")))
        return request;
    request.kind = ExportRequestKind::malformed;
    rest = nextWord(rest, word, sizeof word);
    if (rest == nullptr)
        return request;
    ExportRequestKind kind = compare ? ExportRequestKind::compare : ExportRequestKind::month;
    if (!monthFromText(word, request.monthKey)) {
        if (compare || !yearFromText(word, request.monthKey))
            return request;
        kind = ExportRequestKind::year;
    }
    rest = nextWord(rest, request.path, sizeof request.path);
    if (rest == nullptr || request.path[0] == '\0')
        return request;
    char extra[8];
    for (rest = nextWord(rest, extra, sizeof extra); rest != nullptr && extra[0] != '\0';
         rest = nextWord(rest, extra, sizeof extra)) {
        bool* option = isWord(extra, "/days") && kind == ExportRequestKind::month ? &request.days
            : isWord(extra, "/local")                                             ? &request.local
                                                                                  : nullptr;
        if (option == nullptr || *option)
            return request;
        *option = true;
    }
    if (rest == nullptr)
        return request;
    request.kind = kind;
    return request;
}

void reportExportFailure(uint32_t code, const char* path)
{
    // Only a failed write has a system error worth telling; a missing month says so itself.
    if (code == kErrorExportNoMonth)
        setLastSystemError(0);
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", path);
    reportError(code);
}

int exportMonthFile(const ExportRequest& request, const CsvHeadings& headings, const CsvFormat& format)
{
    char path[260], pending[260];
    // What telvane could not place in the log at its last exit waits whole beside it.
    const bool hasPending = pendingMonthPath(request.monthKey, pending, sizeof pending) && isReadableFile(pending);
    if (!monthLogPath(request.monthKey >> 16, request.monthKey & 0xFFFF, path, sizeof path)
        || (!isReadableFile(path) && !hasPending)) {
        reportExportFailure(kErrorExportNoMonth, path);
        return kExportNoMonth;
    }
    // A format error is reported as the log is read, and the reading keeps what came before it.
    const uint32_t reportsBefore = reportsShown();
    static MonthStats month;
    if (!readMonthFile(request.monthKey, month))
        reportError(0);
    int code = kExportDone;
    if (reportsShown() != reportsBefore) {
        code = kExportDamaged;
    } else {
        const bool written = request.days ? writeDayCsv(request.path, month, headings, format)
                                          : writeMonthCsv(request.path, month, headings, format);
        if (!written) {
            reportExportFailure(kErrorExportWrite, request.path);
            code = kExportNotWritten;
        }
    }
    clearMonthStats(month);
    return code;
}
