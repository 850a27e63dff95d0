#include "tariff/alerts.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/apperror.h"
#include "core/damagedcopy.h"
#include "core/gzfile.h"
#include "core/programdirectory.h"
#include "res/resource.h"
#include "tariff/tagline.h"

Alerts alerts;

namespace {

constexpr uint32_t kAlertsFileString = IDS_ALERTS_FILE;
// The years a Windows clock can show.
constexpr int64_t kFirstYear = 1601;
constexpr int64_t kLastYear = 30827;

// Set while alerts.zip could not be read and no copy of it could be kept: writing over it would
// lose what it holds.
bool alertsFileUnkept;

// The file names a month as year * 100 + month, which reads as the month it is.
uint32_t storedMonth(uint32_t key) { return key == 0 ? 0 : (key >> 16) * 100 + (key & 0xFFFF); }

bool monthFromStored(const char* text, uint32_t& key)
{
    int64_t number = 0;
    if (!boundedNumber(text, 0, kLastYear * 100 + 12, number))
        return false;
    const int64_t year = number / 100, month = number % 100;
    if (number == 0) {
        key = 0;
        return true;
    }
    if (year < kFirstYear || month < 1 || month > 12)
        return false;
    key = uint32_t(year) * 65536u + uint32_t(month);
    return true;
}

bool amountFrom(const char* text, double& amount)
{
    char* end = nullptr;
    const double value = strtod(text, &end);
    if (end == text || value < 0 || !isStorableAmount(value))
        return false;
    amount = value;
    return true;
}

bool flagFrom(const char* text, bool& flag)
{
    int64_t number = 0;
    if (!boundedNumber(text, 0, 1, number))
        return false;
    flag = number == 1;
    return true;
}

bool percentFrom(const char* text, uint32_t& percent, int64_t minimum)
{
    int64_t number = 0;
    if (!boundedNumber(text, minimum, kLargestUsagePercent, number))
        return false;
    percent = uint32_t(number);
    return true;
}

// The usage alert a tag such as "usage2on" names: its slot and what follows the number.
bool usageTag(const char* tag, int& slot, const char*& rest)
{
    if (strncmp(tag, "usage", 5) != 0 || tag[5] < '1' || tag[5] > '0' + kUsageAlertCount)
        return false;
    slot = tag[5] - '1';
    rest = tag + 6;
    return true;
}

// One "<tag>value</tag>" line; false for a tag the file does not hold or a value out of range.
bool readAlertLine(Alerts& read, const TagLine& line)
{
    const char* tag = line.tag;
    const char* value = line.value;
    if (!line.closed || line.cut)
        return false;
    int slot = 0;
    const char* rest = nullptr;
    if (usageTag(tag, slot, rest)) {
        uint32_t level = 0;
        if (*rest == '\0')
            return percentFrom(value, read.usagePercent[slot], 1);
        if (strcmp(rest, "on") == 0)
            return flagFrom(value, read.usageOn[slot]);
        if (strcmp(rest, "month") == 0)
            return monthFromStored(value, read.fired[slot].monthKey);
        if (strcmp(rest, "level") == 0 && percentFrom(value, level, 0)) {
            read.fired[slot].level = level;
            return true;
        }
        return false;
    }
    FiredAlert& money = read.fired[kMoneyAlert];
    if (strcmp(tag, "version") == 0)
        return strcmp(value, "1") == 0;
    if (strcmp(tag, "limit") == 0)
        return amountFrom(value, read.limit);
    if (strcmp(tag, "limiton") == 0)
        return flagFrom(value, read.limitOn);
    if (strcmp(tag, "limitmonth") == 0)
        return monthFromStored(value, money.monthKey);
    if (strcmp(tag, "limitlevel") == 0)
        return amountFrom(value, money.level);
    if (strcmp(tag, "hangup") == 0)
        return flagFrom(value, read.hangUp);
    return false;
}

bool takeAlertLine(const TagLine& line, void* read) { return readAlertLine(*static_cast<Alerts*>(read), line); }

bool writeAlerts(GzReplacingWriter& file)
{
    bool ok = writeTagFileLine(file, "<version>1</version>\r\n");
    for (int slot = 0; slot < kUsageAlertCount; ++slot) {
        const int number = slot + 1;
        ok = ok && writeTagFileLine(file, "<usage%d>%u</usage%d>\r\n", number, alerts.usagePercent[slot], number);
        ok = ok
            && writeTagFileLine(file, "<usage%don>%d</usage%don>\r\n", number, alerts.usageOn[slot] ? 1 : 0, number);
        ok = ok
            && writeTagFileLine(
                file, "<usage%dmonth>%u</usage%dmonth>\r\n", number, storedMonth(alerts.fired[slot].monthKey), number);
        ok = ok
            && writeTagFileLine(
                file, "<usage%dlevel>%u</usage%dlevel>\r\n", number, uint32_t(alerts.fired[slot].level), number);
    }
    const FiredAlert& money = alerts.fired[kMoneyAlert];
    char limit[kTagTextLength + 1], level[kTagTextLength + 1];
    ok = ok && formatAmount(alerts.limit, limit, sizeof limit) >= 0
        && formatAmount(money.level, level, sizeof level) >= 0;
    ok = ok && writeTagFileLine(file, "<limit>%s</limit>\r\n", limit);
    ok = ok && writeTagFileLine(file, "<limiton>%d</limiton>\r\n", alerts.limitOn ? 1 : 0);
    ok = ok && writeTagFileLine(file, "<limitmonth>%u</limitmonth>\r\n", storedMonth(money.monthKey));
    ok = ok && writeTagFileLine(file, "<limitlevel>%s</limitlevel>\r\n", level);
    return ok && writeTagFileLine(file, "<hangup>%d</hangup>\r\n", alerts.hangUp ? 1 : 0);
}

} // namespace

void resetAlerts()
{
    alerts = Alerts {};
    alerts.usageOn[0] = alerts.usageOn[1] = true;
    alerts.usagePercent[0] = 80;
    alerts.usagePercent[1] = 100;
}

void turnAlertsOff()
{
    for (bool& on : alerts.usageOn)
        on = false;
    alerts.limitOn = false;
    alerts.hangUp = false;
}

bool loadAlerts()
{
    resetAlerts();
    alertsFileUnkept = false;
    char path[260];
    if (!buildProgramFilePath(kAlertsFileString, path, sizeof path))
        return false;
    // Read into a copy, so a file damaged half-way leaves nothing of it in force.
    static Alerts read;
    read = alerts;
    const TagFileRead state = readSmallTagFile(path, takeAlertLine, &read);
    if (state == TagFileRead::missing)
        return true;
    if (state == TagFileRead::read) {
        alerts = read;
        return true;
    }
    turnAlertsOff();
    alertsFileUnkept = !keepDamagedCopyForMessage(path);
    if (!alertsFileUnkept)
        saveAlerts();
    return failWith(kErrorAlertsRead);
}

bool saveAlerts()
{
    char path[260];
    if (!buildProgramFilePath(kAlertsFileString, path, sizeof path))
        return false;
    return replaceKeptFile(path, alertsFileUnkept, writeAlerts) || failWith(kErrorAlertsWrite);
}
