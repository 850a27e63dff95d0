#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "support.h"
#include "tariff/settings.h"

namespace {

class SettingsStore : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        fakePlatform.userLanguage = 0x0407;
        resetSettings();
        path = std::string(programDirectory) + "settings.zip";
    }
    std::string path;
};

TEST(SettingsRecord, FieldOffsetsAndPackedDates)
{
    // The layout is a file format; the static_asserts in the header pin every offset, this
    // pins what the record means.
    EXPECT_EQ(sizeof(Settings), 8652u);
    EXPECT_EQ(offsetof(Settings, holidays) + 2 * sizeof(Holiday), 52u + 520u);
    EXPECT_EQ(packDate(2003, 12, 24), 1025944u);
}

TEST_F(SettingsStore, DefaultsAreZeroExceptIntervalLanguageAndSkin)
{
    fakePlatform.userLanguage = 0x0c07; // German (Austria): primary language 7
    resetSettings();
    Settings expected;
    memset(&expected, 0, sizeof expected);
    expected.updateIntervalMs = 500;
    expected.languageId = 7;
    strcpy(expected.skinName, "default");
    EXPECT_EQ(memcmp(&settings, &expected, sizeof expected), 0);

    // No file is not an error: the defaults stay.
    EXPECT_TRUE(loadSettings());
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_EQ(memcmp(&settings, &expected, sizeof expected), 0);
}

TEST_F(SettingsStore, SavedFileIsTheRawRecordAndLoadsBackByteForByte)
{
    settings.activeTariff = 3;
    settings.volumeCorrection = 500;
    settings.windowPlacement = { 44, 0, 1, -1, -1, -1, -1, -700, 20, -256, 484 };
    settings.holidays[0] = { "Christmas Eve", packDate(2003, 12, 24) };
    strcpy(settings.skinName, "blue");
    ASSERT_TRUE(saveSettings());

    const std::string raw = readGzipFile(path);
    ASSERT_EQ(raw.size(), 8652u);
    EXPECT_EQ(memcmp(raw.data(), &settings, sizeof settings), 0);
    EXPECT_FALSE(fileExists(path + ".tmp"));

    const Settings saved = settings;
    resetSettings();
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(memcmp(&settings, &saved, sizeof saved), 0);
}

TEST_F(SettingsStore, ShortFileReplacesOnlyTheStartOfTheRecord)
{
    Placement placement { 44, 0, 1, 0, 0, 0, 0, 10, 20, 444, 484 };
    writeGzipFile(path, std::string(reinterpret_cast<const char*>(&placement), sizeof placement));
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(settings.windowPlacement.normalRight, 444);
    EXPECT_EQ(settings.updateIntervalMs, 500u);
    EXPECT_STREQ(settings.skinName, "default");
    EXPECT_EQ(settings.languageId, 7);
}

TEST_F(SettingsStore, ValuesOfAForeignFileAreMadeSafe)
{
    std::string raw(8652, 'A');
    writeGzipFile(path, raw);
    ASSERT_TRUE(loadSettings());
    EXPECT_EQ(strlen(settings.skinName), 259u);
    EXPECT_EQ(strlen(settings.holidays[31].name), 255u);
    // 0x41414141 ms would be 13 days between two ticks; 0x4141 no language there is.
    EXPECT_EQ(settings.updateIntervalMs, 60000u);
    EXPECT_EQ(settings.languageId, 7);
    Placement none {};
    EXPECT_EQ(memcmp(&settings.windowPlacement, &none, sizeof none), 0);

    struct Case {
        const char* what;
        uint32_t interval;
        uint16_t language;
        const char* skin;
        uint32_t safeInterval;
        uint16_t safeLanguage;
        const char* safeSkin;
    } cases[] = {
        { "as they should be", 500, 9, "paper", 500, 9, "paper" },
        { "a timer of 0 ms", 0, 7, "default", 100, 7, "default" },
        { "just too fast", 99, 9, "default", 100, 9, "default" },
        { "the slowest", 60000, 9, "default", 60000, 9, "default" },
        { "no language, no skin", 500, 31813, "", 500, 7, "default" },
        { "a skin outside the program's folder", 500, 9, "..\\..\\Windows", 500, 9, "default" },
        { "a skin folder of its parent", 500, 9, "..", 500, 9, "default" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        settings.updateIntervalMs = c.interval;
        settings.languageId = c.language;
        strcpy(settings.skinName, c.skin);
        makeSettingsSafe();
        EXPECT_EQ(settings.updateIntervalMs, c.safeInterval);
        EXPECT_EQ(settings.languageId, c.safeLanguage);
        EXPECT_STREQ(settings.skinName, c.safeSkin);
    }
}

TEST_F(SettingsStore, DamagedFileIsAReadErrorKeepsTheDefaultsAndIsKeptAsItWas)
{
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        // zlib reports an error on reading.
        { "a gzip header followed by garbage",
            std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) + std::string(64, '\xff') },
        // zlib would hand these over as they are, as if they were the record.
        { "zeros", std::string(8652, '\0') },
        { "a damaged header", "\x1e\x8b" + std::string(8650, 'E') },
        { "empty", "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path + ".damaged");
        resetSettings();
        writePlainFile(path, c.content);
        EXPECT_FALSE(loadSettings());
        EXPECT_EQ(AppError, kErrorSettingsRead);
        EXPECT_EQ(settings.updateIntervalMs, 500u);
        EXPECT_EQ(settings.languageId, 7);
        EXPECT_EQ(readPlainFile(path + ".damaged"), c.content);
        EXPECT_EQ(std::string(MessageArguments.text2), path + ".damaged");
        AppError = kNothingPending;
    }

    // A file that is there but cannot be read (here a folder; a locked file alike) is not
    // replaced by the defaults until a copy of it can be kept.
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".damaged");
    std::filesystem::create_directory(path);
    EXPECT_FALSE(loadSettings());
    EXPECT_EQ(AppError, kErrorSettingsRead);
    EXPECT_FALSE(saveSettings());
    std::filesystem::remove(path);
    writePlainFile(path, "unread");
    EXPECT_TRUE(saveSettings());
    EXPECT_EQ(readPlainFile(path + ".damaged"), "unread");
}

TEST_F(SettingsStore, FailedSaveKeepsTheOldFile)
{
    ASSERT_TRUE(saveSettings());
    const std::string before = readGzipFile(path);

    // The temporary file cannot be created where a folder of that name stands.
    std::filesystem::create_directory(path + ".tmp");
    settings.activeTariff = 9;
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(AppError, kErrorSettingsCreate);
    EXPECT_EQ(readGzipFile(path), before);
}

TEST_F(SettingsStore, MissingFileNameStringNamesTheResource)
{
    fakePlatform.programStrings.erase(101);
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(AppError, kErrorResourceMissing);
    EXPECT_EQ(MessageArguments.number1, 101u);
    EXPECT_STREQ(MessageArguments.text1, "file name");
}

TEST_F(SettingsStore, HolidayListEndsAtTheFirstEmptyEntry)
{
    settings.holidays[0].packedDate = packDate(2003, 1, 1);
    settings.holidays[1].packedDate = packDate(2003, 12, 25);
    settings.holidays[3].packedDate = packDate(2003, 12, 26);
    EXPECT_EQ(holidayCount(), 2);
}

TEST_F(SettingsStore, EveryValueTheProgramStoresReadsBack)
{
    // The extremes the pages and the window give: both languages, the shortest and longest timer
    // period, the largest volume correction, the 256th tariff and none, 32 holidays with names of
    // 255 characters and yearly ones, a skin folder name of 259 characters, every question
    // suppressed, a window placed off the left and top of the first screen and minimised.
    struct Case {
        uint16_t language;
        uint32_t interval;
        uint32_t correction;
        int32_t tariff;
        uint8_t flags;
        uint32_t suppressed;
        size_t skinNameLength;
    } cases[] = {
        { kLanguageGerman, kShortestUpdateIntervalMs, 0xFFFFFFFF, 255, 1, 0xFFFFFFFF, 259 },
        { kLanguageEnglish, kLongestUpdateIntervalMs, 0, -1, 0, 0, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.interval);
        resetSettings();
        settings.languageId = c.language;
        settings.helpPanelOpen = c.flags;
        settings.updateIntervalMs = c.interval;
        settings.volumeCorrection = c.correction;
        settings.activeTariff = c.tariff;
        settings.startHidden = settings.alwaysOnTop = settings.onTopWhileOnline = c.flags;
        settings.suppressedMessages = c.suppressed;
        memset(settings.skinName, 0, sizeof settings.skinName);
        memset(settings.skinName, 's', c.skinNameLength);
        settings.windowPlacement = { 44, 2, 2, -32000, -32000, -1, -1, -434, -306, 0, 0 };
        for (int i = 0; i < kHolidayCount; ++i) {
            memset(settings.holidays[i].name, 'h', 255);
            settings.holidays[i].packedDate = i % 2 == 0 ? packDate(0, 12, 31) : packDate(9999, 1, 1);
        }
        const Settings stored = settings;
        ASSERT_TRUE(saveSettings());
        resetSettings();
        ASSERT_TRUE(loadSettings());
        EXPECT_EQ(memcmp(&settings, &stored, sizeof stored), 0);
    }
}

} // namespace
