#include "core/programdirectory.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/platform.h"
#include "lang/ids.h"

char programDirectory[260];
uint32_t programDirectoryLength;

void setProgramDirectoryFromPath(const char* executablePath)
{
    programDirectory[0] = '\0';
    programDirectoryLength = 0;
    if (executablePath == nullptr)
        return;
    const char* lastBackslash = strrchr(executablePath, '\\');
    if (lastBackslash == nullptr)
        return;
    const size_t length = size_t(lastBackslash - executablePath) + 1;
    if (length >= sizeof programDirectory)
        return;
    memcpy(programDirectory, executablePath, length);
    programDirectory[length] = '\0';
    programDirectoryLength = uint32_t(length);
}

void findProgramDirectory()
{
    char path[sizeof programDirectory];
    setProgramDirectoryFromPath(executablePath(path, sizeof path) ? path : nullptr);
}

bool buildPathBeside(const char* name, char* path, size_t size)
{
    const int written = snprintf(path, size, "%s%s", programDirectory, name);
    return written >= 0 && size_t(written) < size;
}

bool buildProgramFilePath(uint32_t stringId, char* path, size_t size)
{
    char name[260];
    if (!programString(stringId, name, sizeof name) || !buildPathBeside(name, path, size)) {
        MessageArguments.number1 = stringId;
        languageString(IDS_MISSING_FILE_NAME, MessageArguments.text1, sizeof MessageArguments.text1);
        AppError = kErrorResourceMissing;
        return false;
    }
    return true;
}
