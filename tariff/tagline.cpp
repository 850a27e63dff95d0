#include "tariff/tagline.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"

namespace {

// Copies at most kTagTextLength characters; the rest of a longer text is cut off.
void copyCut(char* target, const char* begin, const char* end)
{
    size_t length = size_t(end - begin);
    if (length > kTagTextLength)
        length = kTagTextLength;
    memcpy(target, begin, length);
    target[length] = '\0';
}

bool sameFileContent(const char* first, const char* second)
{
    FILE* a = fopen(first, "rb");
    FILE* b = fopen(second, "rb");
    bool same = a != nullptr && b != nullptr;
    while (same) {
        const int ca = fgetc(a);
        const int cb = fgetc(b);
        same = ca == cb;
        if (ca == EOF || cb == EOF)
            break;
    }
    if (a != nullptr)
        fclose(a);
    if (b != nullptr)
        fclose(b);
    return same;
}

bool fileExists(const char* path)
{
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return false;
    fclose(file);
    return true;
}

bool copyFile(const char* from, const char* to)
{
    FILE* in = fopen(from, "rb");
    if (in == nullptr)
        return false;
    FILE* out = fopen(to, "wb");
    if (out == nullptr) {
        fclose(in);
        return false;
    }
    bool ok = true;
    char buffer[16384];
    size_t count;
    while (ok && (count = fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = fwrite(buffer, 1, count, out) == count;
    ok = ok && !ferror(in);
    fclose(in);
    ok = fclose(out) == 0 && ok;
    if (!ok)
        remove(to);
    return ok;
}

}  // namespace

bool parseTagLine(const char* line, TagLine& out)
{
    TagSpan span;
    if (!splitTagLine(line, span))
        return false;
    copyCut(out.tag, span.tag, span.tag + span.tagLength);
    copyCut(out.value, span.value, span.value + span.valueLength);
    out.closed = span.closed;
    return true;
}

uint32_t leadingNumber(const char* text) { return leadingNumber(text, strlen(text)); }

LineRead readTagFileLine(gzFile file, char* buffer)
{
    // gzgets writes the last place of the buffer only for a line that fills it; a mark there
    // saves measuring every line.
    char& last = buffer[kTagFileLineLength - 1];
    last = '\n';
    if (gzgets(file, buffer, int(kTagFileLineLength + 1)) == nullptr) {
        int error = Z_OK;
        gzerror(file, &error);
        return error == Z_OK ? LineRead::end : error == Z_ERRNO ? LineRead::unreadable : LineRead::damaged;
    }
    // A full buffer without a line end is a longer line, unless the file ends right there.
    if (last != '\n' && strlen(buffer) == kTagFileLineLength) {
        const int next = gzgetc(file);
        if (next != -1)
            return LineRead::damaged;
        int error = Z_OK;
        gzerror(file, &error);
        if (error != Z_OK)
            return LineRead::damaged;
    }
    return LineRead::line;
}

bool damagedCopyPath(const char* path, char* copyPath, size_t size)
{
    for (int number = 1; number < 100; ++number) {
        const int written = number == 1 ? snprintf(copyPath, size, "%s.damaged", path)
                                        : snprintf(copyPath, size, "%s.damaged%d", path, number);
        if (written < 0 || size_t(written) >= size)
            return false;
        // A copy of the same damage (the file read again before it was rewritten) is reused.
        if (!fileExists(copyPath) || sameFileContent(path, copyPath))
            return true;
    }
    return false;
}

void reportTagFileError(const char* path)
{
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    memset(MessageArguments.text2, 0, sizeof MessageArguments.text2);
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", path);
    char copyPath[300];
    if (damagedCopyPath(path, copyPath, sizeof copyPath) && (fileExists(copyPath) || copyFile(path, copyPath)))
        snprintf(MessageArguments.text2, sizeof MessageArguments.text2, "%s", copyPath);
    reportError(kErrorTagLine);
}
