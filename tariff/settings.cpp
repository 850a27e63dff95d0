#include "tariff/settings.h"

#include <cstring>

#include "core/apperror.h"
#include "core/gzfile.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "tariff/rates.h"

Settings settings;

namespace {
constexpr uint32_t kSettingsFileString = 101;

// Text fields must end inside their fields, whatever the file held.
void terminateTextFields()
{
    settings.skinName[sizeof settings.skinName - 1] = '\0';
    for (Holiday& holiday : settings.holidays)
        holiday.name[sizeof holiday.name - 1] = '\0';
}
}  // namespace

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
    GzReader file(path);
    if (!file.isOpen())
        return true;
    // Read into a copy so a failed read leaves the defaults whole.
    static Settings loaded;
    loaded = settings;
    const int count = gzread(file.get(), &loaded, sizeof loaded);
    if (count < 0)
        return failWith(kErrorSettingsRead);
    settings = loaded;
    terminateTextFields();
    return true;
}

bool saveSettings()
{
    if (!writeRates())
        reportError(0);

    char path[260];
    if (!buildProgramFilePath(kSettingsFileString, path, sizeof path))
        return false;
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
