#include <windows.h>

#include "core/platform.h"
#include "core/scoped_win.h"

FileRead readWholeFile(const char* path, std::string& bytes)
{
    bytes.clear();
    // Shared for deleting too: the program moves a new file over one that is being read.
    const ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.isOpen())
        return FileRead::cannotOpen;
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr))
            return FileRead::unreadable;
        if (count == 0)
            return FileRead::read;
        bytes.append(buffer, count);
    }
}
