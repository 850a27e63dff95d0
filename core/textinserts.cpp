#include "core/textinserts.h"

#include <cstring>

#include "core/platform.h"

void fillInserts(const char* pattern, const char* const* inserts, int count, char* text, size_t size)
{
    if (size == 0)
        return;
    size_t used = 0;
    const auto put = [&](const char* from, size_t length) {
        const size_t room = size - 1 - used;
        const size_t taken = length < room ? length : room;
        memcpy(text + used, from, taken);
        used += taken;
    };
    for (const char* c = pattern; *c != '\0'; ++c) {
        if (*c != '%') {
            put(c, 1);
            continue;
        }
        const char next = c[1];
        if (next == '%') {
            put("%", 1);
            ++c;
        } else if (next >= '1' && next <= '9') {
            const int index = next - '1';
            if (index < count && inserts[index] != nullptr)
                put(inserts[index], strlen(inserts[index]));
            ++c;
        } else if (next != '\0') {
            put(c, 1);
        }
    }
    text[used] = '\0';
}

void appendLanguageLine(char* text, size_t size, unsigned id, const char* const* inserts, int count)
{
    char pattern[1024];
    if (size == 0 || !languageString(id, pattern, sizeof pattern) || pattern[0] == '\0')
        return;
    size_t used = strlen(text);
    if (used != 0 && used + 1 < size) {
        text[used++] = '\n';
        text[used] = '\0';
    }
    fillInserts(pattern, inserts, count, text + used, size - used);
}

void fillLabelFormat(const char* format, const char* value, char* out, size_t size)
{
    fillTextFormat(format, &value, 1, out, size);
}

void fillTextFormat(const char* format, const char* const* values, int count, char* out, size_t size)
{
    if (size == 0)
        return;
    size_t length = 0;
    int filled = 0;
    auto put = [&](char c) {
        if (length + 1 < size)
            out[length++] = c;
    };
    for (const char* c = format; *c; ++c) {
        if (filled < count && c[0] == '%' && c[1] == 's') {
            for (const char* v = values[filled]; *v; ++v)
                put(*v);
            ++filled;
            ++c;
        } else {
            put(*c);
        }
    }
    out[length] = '\0';
}
