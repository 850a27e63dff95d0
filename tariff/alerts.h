#pragma once
// The usage alerts the user sets (shares of the active tariff's free units used, a monthly money
// limit) and what of them has fired, kept in alerts.zip beside the settings: the settings record
// keeps its layout, and the tariff file stays readable by every earlier reader.
#include <cstdint>

constexpr int kUsageAlertCount = 2;
// The slots of `Alerts::fired`: the usage alerts first, then the money limit.
constexpr int kMoneyAlert = kUsageAlertCount;
constexpr int kAlertSlots = kUsageAlertCount + 1;
constexpr uint32_t kLargestUsagePercent = 100;

// When an alert fired: the month (year * 65536 + month; 0: never) and the level it fired at. It
// fires again in another month, or within the month once its level is set above that one.
struct FiredAlert {
    uint32_t monthKey;
    double level;
};

struct Alerts {
    bool usageOn[kUsageAlertCount];
    uint32_t usagePercent[kUsageAlertCount]; // 1..100 % of the free units, main and secondary together
    bool limitOn;
    double limit; // the month's total, fixed amount included, in the tariff's currency
    bool hangUp; // reaching the limit hangs up every connection
    FiredAlert fired[kAlertSlots];
};

extern Alerts alerts;

// 80 % and 100 % on, no money limit, no hang-up, nothing fired.
void resetAlerts();

// Every alert off: what a damaged file leaves.
void turnAlertsOff();

// Reads alerts.zip over the defaults; a missing file is no failure. A file that is damaged, is no
// gzip stream or cannot be read is kept as it was beside it (%4 names the copy; %3 the file),
// turns every alert off and gives false with AppError 0x40000030; once a copy is kept, the file
// is written again with the alerts off, so the damage is reported once.
bool loadAlerts();

// Writes alerts.zip through a temporary file. False with AppError 0x40000031 when it cannot be
// written, or when an unreadable file could not be kept first.
bool saveAlerts();
