#include "fakes/fakeplatform.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/deferredreports.h"
#include "core/programdirectory.h"

FakePlatform fakePlatform;

namespace {

void copyText(const std::string& text, char* buffer, size_t size)
{
    if (size == 0)
        return;
    const size_t length = std::min(text.size(), size - 1);
    memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

bool lookUp(const std::map<uint32_t, std::string>& table, uint32_t id, char* buffer, size_t size)
{
    auto found = table.find(id);
    copyText(found == table.end() ? std::string() : found->second, buffer, size);
    return found != table.end();
}

} // namespace

std::string scratchDirectory()
{
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside";
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "telvane-tests" / name;
    std::string text = dir.string();
#ifdef _WIN32
    text += '\\';
#else
    text += '/';
#endif
    return text;
}

void resetFakePlatform()
{
    // Reports a test left waiting go before its boxes are forgotten.
    fakePlatform.whileBoxOpen = nullptr;
    showDeferredReports();
    fakePlatform = FakePlatform {};
    fakePlatform.programStrings = { { 1, "english.dll" }, { 2, "deutsch.dll" }, { 101, "settings.zip" },
        { 102, "rates.zip" }, { 103, "alerts.zip" }, { 104, "adapters.zip" } };
    fakePlatform.languageStrings = { { 12, " - Success" }, { 13, " - Information" }, { 14, " - Warning" },
        { 15, " - Error" }, { 16, "\nSystem: " }, { 18, "telvane" }, { 104, "file name" } };
    const std::string dir = scratchDirectory();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    // The program directory must end in a backslash on Windows; natively any separator does.
    strncpy(programDirectory, dir.c_str(), sizeof programDirectory - 1);
    programDirectoryLength = uint32_t(strlen(programDirectory));
    AppError = kNothingPending;
    memset(&MessageArguments, 0, sizeof MessageArguments);
}

LocalTime localTimeNow() { return fakePlatform.now; }
namespace {
int64_t wallMilliseconds(const LocalTime& time) { return secondsSinceEpoch(time) * 1000 + time.milliseconds; }
} // namespace

uint64_t monotonicAt(const LocalTime& wall) { return uint64_t(wallMilliseconds(wall)) + fakePlatform.monotonicMs; }

uint64_t monotonicMilliseconds() { return monotonicAt(fakePlatform.now); }

void setWallClock(const LocalTime& wall)
{
    const uint64_t monotonic = monotonicMilliseconds();
    fakePlatform.now = wall;
    fakePlatform.monotonicMs = monotonic - uint64_t(wallMilliseconds(wall));
}
uint16_t userDefaultLanguage() { return fakePlatform.userLanguage; }
bool executablePath(char* path, size_t size)
{
    copyText(fakePlatform.executablePath, path, size);
    return !fakePlatform.executablePath.empty() && fakePlatform.executablePath.size() < size;
}
bool programString(uint32_t id, char* buffer, size_t size)
{
    return lookUp(fakePlatform.programStrings, id, buffer, size);
}
bool languageString(uint32_t id, char* buffer, size_t size)
{
    return lookUp(fakePlatform.languageStrings, id, buffer, size);
}

size_t formatLanguageMessage(uint32_t code, const uintptr_t* arguments, char* buffer, size_t size)
{
    auto found = fakePlatform.messages.find(code);
    std::string text = found == fakePlatform.messages.end() ? std::string() : found->second;
    if (arguments != nullptr) {
        for (int slot = 0; slot < 4; ++slot) {
            const std::string marker = "%" + std::to_string(slot + 1);
            // Like the system, read only the inserts the message uses: callers pass arrays
            // just as long as their message needs.
            if (text.find(marker) == std::string::npos)
                continue;
            const std::string value = slot < 2 ? std::to_string(uint32_t(arguments[slot]))
                                               : std::string(reinterpret_cast<const char*>(arguments[slot]));
            for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size()))
                text.replace(at, marker.size(), value);
        }
    }
    copyText(text, buffer, size);
    return strlen(buffer);
}

size_t systemErrorText(uint32_t error, const char* subject, char* buffer, size_t size)
{
    auto found = fakePlatform.systemErrors.find(error);
    std::string text = found == fakePlatform.systemErrors.end() ? std::string() : found->second;
    const std::string value = subject != nullptr ? subject : "";
    for (size_t at = text.find("%1"); !value.empty() && at != std::string::npos;
         at = text.find("%1", at + value.size()))
        text.replace(at, 2, value);
    copyText(text, buffer, size);
    return strlen(buffer);
}

uint32_t lastSystemError() { return fakePlatform.lastError; }
void setLastSystemError(uint32_t error) { fakePlatform.lastError = error; }

void showMessageBox(const char* text, const char* caption, MessageIcon icon)
{
    fakePlatform.boxes.push_back({ text, caption, icon });
    if (fakePlatform.whileBoxOpen)
        fakePlatform.whileBoxOpen();
}

bool replaceFile(const char* temporary, const char* target)
{
    ++fakePlatform.replacements;
    if (fakePlatform.diskFull || fakePlatform.heldFiles.count(target) != 0) {
        fakePlatform.lastError = 5; // access denied
        return false;
    }
#ifdef _WIN32
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return rename(temporary, target) == 0;
#endif
}
