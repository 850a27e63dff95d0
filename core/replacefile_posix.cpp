#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "core/platform.h"

bool replaceFile(const char* temporary, const char* target)
{
    // The new content reaches the disk before it takes the old file's name.
    const int file = open(temporary, O_WRONLY);
    if (file < 0)
        return false;
    const bool flushed = fsync(file) == 0;
    close(file);
    return flushed && rename(temporary, target) == 0;
}
