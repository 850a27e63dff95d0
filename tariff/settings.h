#pragma once
// The one settings record of the program, stored byte for byte (gzip) in settings.zip.
// Its layout is a file format: every offset is fixed.
#include <cstddef>
#include <cstdint>

// The platform's WINDOWPLACEMENT: eleven 32-bit fields.
struct Placement {
    uint32_t length;
    uint32_t flags;
    uint32_t showCmd;
    int32_t minX, minY;
    int32_t maxX, maxY;
    int32_t normalLeft, normalTop, normalRight, normalBottom;
};
static_assert(sizeof(Placement) == 44);

struct Holiday {
    char name[256];
    uint32_t packedDate; // year * 512 + month * 32 + day; 0 marks an empty entry
};
static_assert(sizeof(Holiday) == 260);

constexpr int kHolidayCount = 32;
constexpr uint16_t kLanguageGerman = 7;
constexpr uint16_t kLanguageEnglish = 9;
// The timer period the program accepts: a shorter one would keep the machine busy, a longer one
// would hardly ever count.
constexpr uint32_t kShortestUpdateIntervalMs = 100;
constexpr uint32_t kLongestUpdateIntervalMs = 60000;
constexpr uint32_t kLastShowCommand = 11; // the platform's show commands run from 0 to 11
constexpr uint32_t kConfirmExitBit = 1; // bit of suppressedMessages for the exit question

#pragma pack(push, 1)
struct Settings {
    Placement windowPlacement;
    uint16_t languageId;
    uint8_t helpPanelOpen;
    uint8_t reserved47;
    uint32_t reserved48;
    Holiday holidays[kHolidayCount];
    uint32_t updateIntervalMs;
    uint32_t volumeCorrection; // hundredths of a percent
    int32_t activeTariff;
    uint8_t startHidden;
    uint8_t alwaysOnTop;
    uint8_t onTopWhileOnline;
    uint8_t reserved8387;
    uint32_t suppressedMessages;
    char skinName[260];
};
#pragma pack(pop)

static_assert(sizeof(Settings) == 8652);
static_assert(offsetof(Settings, windowPlacement) == 0);
static_assert(offsetof(Settings, languageId) == 44);
static_assert(offsetof(Settings, helpPanelOpen) == 46);
static_assert(offsetof(Settings, reserved47) == 47);
static_assert(offsetof(Settings, reserved48) == 48);
static_assert(offsetof(Settings, holidays) == 52);
static_assert(offsetof(Settings, updateIntervalMs) == 8372);
static_assert(offsetof(Settings, volumeCorrection) == 8376);
static_assert(offsetof(Settings, activeTariff) == 8380);
static_assert(offsetof(Settings, startHidden) == 8384);
static_assert(offsetof(Settings, alwaysOnTop) == 8385);
static_assert(offsetof(Settings, onTopWhileOnline) == 8386);
static_assert(offsetof(Settings, reserved8387) == 8387);
static_assert(offsetof(Settings, suppressedMessages) == 8388);
static_assert(offsetof(Settings, skinName) == 8392);

extern Settings settings;

inline uint32_t packDate(uint32_t year, uint32_t month, uint32_t day) { return year * 512 + month * 32 + day; }

// Number of holidays in use: up to the first empty entry.
int holidayCount();

void resetSettings();

// `milliseconds` brought into kShortestUpdateIntervalMs..kLongestUpdateIntervalMs.
uint32_t clampedUpdateInterval(uint32_t milliseconds);

// Makes values that a damaged or foreign file may hold safe to use: text fields end inside
// their fields, the timer period lies in its range, a language other than German or English
// becomes the user's, a skin name that is empty or leads out of the program's folder becomes
// "default", and a window placement the window cannot have been in is dropped (the window
// then opens centred).
void makeSettingsSafe();

// Reads rates.zip (reporting its failure at once), then settings.zip over the defaults, and
// makes the values safe. True when the record is usable; false with AppError set. A file that
// cannot be read as a gzip stream (0x40000005) is kept as it was beside it (%4 names the copy)
// before the defaults can be written over it.
bool loadSettings();

// Writes rates.zip (reporting its failure at once), then settings.zip.
bool saveSettings();
