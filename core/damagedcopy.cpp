#include "core/damagedcopy.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/gzfile.h"

namespace {

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

} // namespace

bool damagedCopyPath(const char* path, char* copyPath, size_t size)
{
    for (int number = 1; number < 100; ++number) {
        const int written = number == 1 ? snprintf(copyPath, size, "%s.damaged", path)
                                        : snprintf(copyPath, size, "%s.damaged%d", path, number);
        if (written < 0 || size_t(written) >= size)
            return false;
        // A copy of the same damage (the file read again before it was rewritten) is reused.
        if (!isReadableFile(copyPath) || sameFileContent(path, copyPath))
            return true;
    }
    return false;
}

bool keepDamagedCopy(const char* path, char* copyPath, size_t size)
{
    if (damagedCopyPath(path, copyPath, size) && (isReadableFile(copyPath) || copyFile(path, copyPath)))
        return true;
    if (size != 0)
        copyPath[0] = '\0';
    return false;
}

bool keepDamagedCopyForMessage(const char* path)
{
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    memset(MessageArguments.text2, 0, sizeof MessageArguments.text2);
    snprintf(MessageArguments.text1, sizeof MessageArguments.text1, "%s", path);
    return keepDamagedCopy(path, MessageArguments.text2, sizeof MessageArguments.text2);
}

bool replaceKeptFile(const char* path, bool& unkept, bool (*write)(GzReplacingWriter& file))
{
    if (unkept) {
        char copyPath[300];
        unkept = !keepDamagedCopy(path, copyPath, sizeof copyPath);
        if (unkept)
            return false;
    }
    GzReplacingWriter file(path);
    if (!file.isOpen())
        return false;
    if (!write(file))
        file.markFailed();
    return file.commit();
}
