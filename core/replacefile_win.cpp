#include <windows.h>

#include "core/platform.h"
#include "core/scoped_win.h"

bool replaceFile(const char* temporary, const char* target)
{
    // The new content reaches the disk before it takes the old file's name, so a power cut
    // leaves either file whole, never a name over an empty file.
    bool flushed = false;
    {
        const ScopedFile file(
            CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.isOpen())
            return false;
        flushed = FlushFileBuffers(file.get()) != 0;
    }
    // Closed before the move: an open file cannot be renamed over another.
    return flushed && MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
