#include "tariff/settings.h"

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/damagedcopy.h"
#include "core/gzfile.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "res/resource.h"
#include "tariff/rates.h"

Settings settings;

namespace {
constexpr uint32_t kSettingsFileString = IDS_SETTINGS_FILE;

// Set while settings.zip is there but could be neither read nor kept: the defaults in use are
// not written over it.
bool settingsFileUnkept;

// The file as it was goes beside it before the defaults can be written over it; %3 names the
// file and %4 the copy.
void keepUnreadSettings(const char* path) { settingsFileUnkept = !keepDamagedCopyForMessage(path); }

// Text fields must end inside their fields, whatever the file held.
void terminateTextFields()
{
    settings.skinName[sizeof settings.skinName - 1] = '\0';
    for (Holiday& holiday : settings.holidays)
        holiday.name[sizeof holiday.name - 1] = '\0';
}

// A skin is a folder beside the program: a name that leads elsewhere is no skin of its own.
bool isPlainFolderName(const char* name)
{
    return name[0] != '\0' && strpbrk(name, "\\/:") == nullptr && strcmp(name, ".") != 0 && strcmp(name, "..") != 0;
}
} // namespace

uint32_t clampedUpdateInterval(uint32_t milliseconds)
{
    if (milliseconds < kShortestUpdateIntervalMs)
        return kShortestUpdateIntervalMs;
    return milliseconds > kLongestUpdateIntervalMs ? kLongestUpdateIntervalMs : milliseconds;
}

void makeSettingsSafe()
{
    terminateTextFields();
    settings.updateIntervalMs = clampedUpdateInterval(settings.updateIntervalMs);
    if (settings.languageId != kLanguageGerman && settings.languageId != kLanguageEnglish)
        settings.languageId = uint16_t(userDefaultLanguage() & 0xFF);
    if (!isPlainFolderName(settings.skinName))
        strcpy(settings.skinName, "default");
    // A placement the window never had: the window opens centred instead.
    const Placement& placement = settings.windowPlacement;
    if (placement.length != sizeof(Placement) || placement.showCmd > kLastShowCommand
        || placement.normalLeft >= placement.normalRight || placement.normalTop >= placement.normalBottom)
        memset(&settings.windowPlacement, 0, sizeof settings.windowPlacement);
}

int holidayCount()
{
    int count = 0;
    while (count < kHolidayCount && settings.holidays[count].packedDate != 0)
        ++count;
    return count;
}

void resetSettings()
{
    memset(&settings, 0, sizeof settings);
    settings.updateIntervalMs = 500;
    settings.languageId = uint16_t(userDefaultLanguage() & 0xFF);
    strcpy(settings.skinName, "default");
}

bool loadSettings()
{
    if (!readRates())
        reportError(0);

    char path[260];
    if (!buildProgramFilePath(kSettingsFileString, path, sizeof path))
        return false;
    settingsFileUnkept = false;
    if (isMissingFile(path))
        return true; // a first start: the defaults
    GzReader file(path);
    // Read into a copy so a failed read leaves the defaults whole.
    static Settings loaded;
    loaded = settings;
    // A file without a gzip header would be taken byte for byte as the record.
    const int count
        = file.isOpen() && file.content() == GzReader::Content::gzip ? file.read(&loaded, sizeof loaded) : -1;
    if (count < 0) {
        keepUnreadSettings(path);
        return failWith(kErrorSettingsRead);
    }
    settings = loaded;
    makeSettingsSafe();
    return true;
}

bool saveSettings()
{
    if (!writeRates())
        reportError(0);

    char path[260];
    if (!buildProgramFilePath(kSettingsFileString, path, sizeof path))
        return false;
    // A file that could not be read is replaced only once a copy of it could be kept.
    if (settingsFileUnkept) {
        keepUnreadSettings(path);
        if (settingsFileUnkept)
            return failWith(kErrorSettingsCreate);
    }
    GzReplacingWriter file(path);
    if (!file.isOpen())
        return failWith(kErrorSettingsCreate);
    const int written = gzwrite(file.get(), &settings, sizeof settings);
    if (written == 0) {
        file.markFailed();
        file.commit();
        return failWith(kErrorSettingsWrite);
    }
    if (written != int(sizeof settings)) {
        file.markFailed();
        file.commit();
        setLastSystemError(0);
        return failWith(kErrorSettingsWrite);
    }
    if (!file.commit()) {
        setLastSystemError(0);
        return failWith(kErrorSettingsWrite);
    }
    return true;
}
