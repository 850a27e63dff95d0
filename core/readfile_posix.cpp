#include <cstdio>

#include "core/platform.h"

FileRead readWholeFile(const char* path, std::string& bytes)
{
    bytes.clear();
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return FileRead::cannotOpen;
    char buffer[65536];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    const bool failed = ferror(file) != 0;
    fclose(file);
    return failed ? FileRead::unreadable : FileRead::read;
}
