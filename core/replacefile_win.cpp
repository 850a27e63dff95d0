#include <windows.h>

#include "core/platform.h"

bool replaceFile(const char* temporary, const char* target)
{
    // The new content reaches the disk before it takes the old file's name, so a power cut
    // leaves either file whole, never a name over an empty file.
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed && MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
