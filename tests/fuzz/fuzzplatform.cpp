#include "fuzzplatform.h"

#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/platform.h"
#include "core/programdirectory.h"

unsigned fuzzBoxesShown;

namespace {
uint32_t lastError;
}

LocalTime localTimeNow() { return LocalTime { 2003, 10, 3, 15, 14, 3, 20, 0 }; }
uint64_t monotonicMilliseconds() { return 0; }
uint16_t userDefaultLanguage() { return 0x0409; }
bool executablePath(char*, size_t) { return false; }

bool programString(uint32_t id, char* buffer, size_t size)
{
    const char* text = id == 101 ? "settings.zip" : id == 102 ? "rates.zip" : id == 103 ? "alerts.zip" : nullptr;
    if (text == nullptr || size == 0)
        return false;
    snprintf(buffer, size, "%s", text);
    return true;
}

bool languageString(uint32_t, char* buffer, size_t size)
{
    if (size > 0)
        buffer[0] = '\0';
    return false;
}

size_t formatLanguageMessage(uint32_t, const uintptr_t*, char* buffer, size_t size)
{
    if (size > 0)
        buffer[0] = '\0';
    return 0;
}

size_t systemErrorText(uint32_t, const char*, char* buffer, size_t size)
{
    if (size > 0)
        buffer[0] = '\0';
    return 0;
}

uint32_t lastSystemError() { return lastError; }
void setLastSystemError(uint32_t error) { lastError = error; }
void showMessageBox(const char*, const char*, MessageIcon) { ++fuzzBoxesShown; }

void setUpFuzzDirectory(const char* name)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("telvane-fuzz-" + std::string(name) + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    snprintf(programDirectory, sizeof programDirectory, "%s/", dir.c_str());
    programDirectoryLength = uint32_t(strlen(programDirectory));
}

const char* fuzzPath(const char* name)
{
    static char path[300];
    snprintf(path, sizeof path, "%s%s", programDirectory, name);
    return path;
}

void writeFuzzFile(const char* name, const uint8_t* data, size_t size)
{
    const std::string path = fuzzPath(name);
    if (size > 0 && data[0] % 2 == 0) {
        gzFile file = gzopen(path.c_str(), "wb1");
        if (size > 1)
            gzwrite(file, data + 1, unsigned(size - 1));
        gzclose(file);
    } else {
        FILE* file = fopen(path.c_str(), "wb");
        if (size > 1)
            fwrite(data + 1, 1, size - 1, file);
        fclose(file);
    }
}

void removeDamagedCopies(const char* name)
{
    const std::string path = fuzzPath(name);
    std::error_code ignored;
    std::filesystem::remove(path + ".damaged", ignored);
    for (int number = 2; number < 100; ++number)
        if (!std::filesystem::remove(path + ".damaged" + std::to_string(number), ignored))
            break;
}
