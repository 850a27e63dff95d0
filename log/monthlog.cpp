#include "log/monthlog.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "core/apperror.h"
#include "core/gzfile.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "tariff/rates.h"
#include "tariff/settings.h"
#include "tariff/tagline.h"

namespace {

// What the reader knows between lines.
struct MonthReading {
    uint16_t year;
    uint16_t month;
    LogRecord* open = nullptr; // the record whose "</log>" is still to come
};

enum class LineResult { carryOn, formatError, noMemory };

enum class LogTag { open, close, day, time, dur, rx, rxp, tx, txp, other };

// Every line of a month passes here: compare as few characters as will tell the tags apart.
LogTag logTagOf(const TagSpan& line)
{
    struct Known {
        const char* name;
        size_t length;
        LogTag value;
    };
    static const Known known[] = { { "log", 3, LogTag::open }, { "/log", 4, LogTag::close }, { "day", 3, LogTag::day },
        { "time", 4, LogTag::time }, { "dur", 3, LogTag::dur }, { "rx", 2, LogTag::rx }, { "rxp", 3, LogTag::rxp },
        { "tx", 2, LogTag::tx }, { "txp", 3, LogTag::txp } };
    for (const Known& candidate : known)
        if (candidate.length == line.tagLength && memcmp(candidate.name, line.tag, candidate.length) == 0)
            return candidate.value;
    return LogTag::other;
}

LineResult readLogLine(MonthStats& target, MonthReading& reading, const TagSpan& line)
{
    const LogTag tag = logTagOf(line);
    if (tag == LogTag::open) {
        if (reading.open != nullptr || line.closed)
            return LineResult::formatError;
        LogRecord* record = new (std::nothrow) LogRecord {};
        if (record == nullptr)
            return LineResult::noMemory;
        record->start.year = reading.year;
        record->start.month = reading.month;
        appendMonthRecord(target, record);
        reading.open = record;
        return LineResult::carryOn;
    }
    LogRecord* record = reading.open;
    if (tag == LogTag::close) {
        if (record == nullptr)
            return LineResult::carryOn;
        // A block without its day has no date; the calendar rejects it as it would a day
        // the month does not have.
        if (record->start.day == 0)
            return LineResult::formatError;
        // The date has been checked against the month, so only its day of week is missing
        // (1 January 1601 was a Monday).
        const int64_t days = daysSinceEpoch(record->start.year, record->start.month, record->start.day);
        record->start.dayOfWeek = uint16_t((days % 7 + 8) % 7);
        addToMonthSums(target, *record);
        reading.open = nullptr;
        return LineResult::carryOn;
    }
    if (record == nullptr || !line.closed)
        return LineResult::formatError;

    // Read as from the 255-character value buffer of the tag-line reader.
    const size_t valueLength = line.valueLength < kTagTextLength ? line.valueLength : kTagTextLength;
    const uint32_t number = leadingNumber(line.value, valueLength);
    if (tag == LogTag::day) {
        if (number < 1 || number > uint32_t(daysInMonth(reading.year, reading.month)))
            return LineResult::formatError;
        record->start.day = uint16_t(number);
    } else if (tag == LogTag::time) {
        if (number >= 86400)
            return LineResult::formatError;
        record->start.hour = uint16_t(number / 3600);
        record->start.minute = uint16_t(number / 60 % 60);
        record->start.second = uint16_t(number % 60);
    } else if (tag == LogTag::dur) {
        record->dur = number;
    } else if (tag == LogTag::rx) {
        record->rx = number;
    } else if (tag == LogTag::rxp) {
        record->rxp = number;
    } else if (tag == LogTag::tx) {
        record->tx = number;
    } else if (tag == LogTag::txp) {
        record->txp = number;
    } else {
        return LineResult::formatError;
    }
    return LineResult::carryOn;
}

// Takes the record left open by a format error out of the list: its fields are partly
// unread, and a later rewrite of the month would store it with zeros.
void dropOpenRecord(MonthStats& month, LogRecord* open)
{
    if (open == nullptr || month.records.tail != open)
        return;
    LogRecord* before = nullptr;
    for (LogRecord* record = month.records.head; record != open; record = record->next)
        before = record;
    if (before == nullptr)
        month.records.head = nullptr;
    else
        before->next = nullptr;
    month.records.tail = before;
    delete open;
}

bool writeRecord(gzFile file, const LogRecord& record)
{
    const LocalTime& start = record.start;
    const uint32_t time = uint32_t(start.hour) * 3600u + uint32_t(start.minute) * 60u + start.second;
    char block[512];
    const int length = snprintf(block, sizeof block,
        "<log>\r\n\t<day>%u</day>\r\n\t<time>%u</time>\r\n\t<dur>%u</dur>\r\n\t<rx>%u</rx>\r\n"
        "\t<rxp>%u</rxp>\r\n\t<tx>%u</tx>\r\n\t<txp>%u</txp>\r\n</log>\r\n",
        unsigned(start.day), time, record.dur, record.rx, record.rxp, record.tx, record.txp);
    return length > 0 && size_t(length) < sizeof block && gzwrite(file, block, unsigned(length)) == length;
}

} // namespace

double addToMonthSums(MonthStats& month, const LogRecord& record)
{
    const int day = record.start.day;
    const int64_t volume = recordVolume(record);
    const double cost = computeMonthCost(month.counters, record, settings.activeTariff);
    month.volume[0] += volume;
    month.onlineTime[0] += record.dur;
    month.cost[0] += cost;
    if (day >= 1 && day < kMonthSlots) {
        month.volume[day] += volume;
        month.onlineTime[day] += record.dur;
        month.cost[day] += cost;
    }
    return cost;
}

void appendMonthRecord(MonthStats& month, LogRecord* record)
{
    record->next = nullptr;
    if (month.records.tail == nullptr)
        month.records.head = record;
    else
        month.records.tail->next = record;
    month.records.tail = record;
}

void clearMonthStats(MonthStats& month)
{
    for (LogRecord* record = month.records.head; record != nullptr;) {
        LogRecord* next = record->next;
        delete record;
        record = next;
    }
    memset(&month, 0, sizeof month);
}

bool monthLogPath(uint32_t year, uint32_t month, char* path, unsigned size)
{
    char name[32];
    snprintf(name, sizeof name, "log_%04i%02i.zip", int(year), int(month));
    return buildPathBeside(name, path, size);
}

void sumMonth(MonthStats& month)
{
    memset(month.volume, 0, sizeof month.volume);
    memset(month.onlineTime, 0, sizeof month.onlineTime);
    memset(month.cost, 0, sizeof month.cost);
    month.counters = MonthCounters { month.carried.counters, {} };
    for (const LogRecord* record = month.records.head; record != nullptr; record = record->next)
        addToMonthSums(month, *record);
}

void carryPeriod(MonthStats& month, const LogRecord* monthBefore)
{
    CarriedPeriod carried {};
    for (const LogRecord* record = monthBefore; record != nullptr; record = record->next) {
        // The days before the billing day belong to the period that ended there.
        if (beforeBillingDay(record->start, tariffAt(settings.activeTariff)))
            continue;
        carried.volume += recordVolume(*record);
        carried.onlineTime += record->dur;
        carried.cost += computeCost(carried.counters, *record, settings.activeTariff);
    }
    month.carried = carried;
}

bool carryFromMonthBefore(MonthStats& month)
{
    month.carried = CarriedPeriod {};
    if (billingDayOf(tariffAt(settings.activeTariff)) == 1 || month.key == 0)
        return true;
    static MonthStats before;
    const bool read = readMonthFileQuietly(monthBeforeKey(month.key), before);
    if (read)
        carryPeriod(month, before.records.head);
    clearMonthStats(before);
    return read;
}

bool pendingMonthPath(uint32_t key, char* path, unsigned size)
{
    char name[40];
    snprintf(name, sizeof name, "log_%04i%02i.zip.pending", int(key >> 16), int(key & 0xFFFF));
    return buildPathBeside(name, path, size);
}

namespace {

// Writes the month's list to `path` through a temporary file beside it.
bool writeMonthList(const MonthStats& month, const char* path)
{
    GzReplacingWriter file(path);
    if (!file.isOpen())
        return failWith(kErrorMonthLogCreate);
    for (const LogRecord* record = month.records.head; record != nullptr; record = record->next) {
        if (!writeRecord(file.get(), *record)) {
            file.markFailed();
            break;
        }
    }
    return file.commit() || failWith(kErrorMonthLogCreate);
}

bool holdsOnlyItsOwnMonth(const MonthStats& month)
{
    for (const LogRecord* record = month.records.head; record != nullptr; record = record->next)
        if (monthKeyOf(record->start) != month.key)
            return false;
    return true;
}

} // namespace

bool writeMonthLog(const MonthStats& month)
{
    if (month.records.head == nullptr)
        return true;
    char path[260], pending[260];
    if (!holdsOnlyItsOwnMonth(month) || !monthLogPath(month.key >> 16, month.key & 0xFFFF, path, sizeof path)
        || !pendingMonthPath(month.key, pending, sizeof pending))
        return failWith(kErrorMonthLogCreate);
    if (!writeMonthList(month, path))
        return false;
    remove(pending);
    return true;
}

bool writePendingMonth(const MonthStats& month)
{
    char pending[260];
    if (month.records.head == nullptr)
        return true;
    if (!holdsOnlyItsOwnMonth(month) || !pendingMonthPath(month.key, pending, sizeof pending))
        return failWith(kErrorMonthLogCreate);
    return writeMonthList(month, pending);
}

bool pendingMonthKey(const char* fileName, uint32_t& key)
{
    unsigned year = 0, month = 0;
    char expected[40];
    if (strlen(fileName) != 22 || sscanf(fileName, "log_%4u%2u", &year, &month) != 2 || month < 1 || month > 12)
        return false;
    // The year and month written back must give the very name: no signs, blanks or letters.
    snprintf(expected, sizeof expected, "log_%04u%02u.zip.pending", year, month);
    if (strcmp(expected, fileName) != 0)
        return false;
    key = monthKey(year, month);
    return true;
}

bool takeInPendingMonth(uint32_t key)
{
    char path[260], pending[260];
    if (!monthLogPath(key >> 16, key & 0xFFFF, path, sizeof path) || !pendingMonthPath(key, pending, sizeof pending))
        return false;
    return isMissingFile(pending) || replaceFile(pending, path);
}

namespace {

// Reads month `target.key` into `target`, which holds its carried period already.
bool readMonthBlocks(MonthStats& target, bool report)
{
    const uint32_t key = target.key;
    target.counters = MonthCounters { target.carried.counters, {} };

    MonthReading reading;
    reading.year = uint16_t(key >> 16);
    reading.month = uint16_t(key & 0xFFFF);
    char path[260];
    if (!pendingMonthPath(key, path, sizeof path))
        return true;
    // Whatever could not be placed in the log at the last exit is whole in the pending file.
    if (isMissingFile(path) && !monthLogPath(reading.year, reading.month, path, sizeof path))
        return true;
    GzReader file(path);
    if (!file.isOpen())
        return true;
    // zlib would pass a file without a gzip header through as text: it holds no month.
    if (file.content() != GzReader::Content::gzip) {
        if (report)
            reportTagFileError(path);
        return true;
    }
    static char buffer[kTagFileLineLength + 1];
    TagSpan line;
    for (;;) {
        const LineRead read = readTagFileLine(file, buffer);
        if (read == LineRead::end)
            break;
        if (read == LineRead::damaged || read == LineRead::unreadable) {
            dropOpenRecord(target, reading.open);
            if (report)
                reportTagFileError(path);
            return true;
        }
        if (!splitTagLine(buffer, line))
            continue;
        const LineResult result = readLogLine(target, reading, line);
        if (result == LineResult::noMemory)
            return failWith(kErrorNoMemory);
        if (result == LineResult::formatError) {
            dropOpenRecord(target, reading.open);
            if (report)
                reportTagFileError(path);
            return true;
        }
    }
    if (reading.open != nullptr) {
        dropOpenRecord(target, reading.open);
        if (report)
            reportTagFileError(path);
    }
    return true;
}

} // namespace

bool readMonthFile(uint32_t key, MonthStats& target)
{
    clearMonthStats(target);
    target.key = key;
    return carryFromMonthBefore(target) && readMonthBlocks(target, true);
}

bool readMonthFileAfter(uint32_t key, MonthStats& target, const LogRecord* monthBefore)
{
    clearMonthStats(target);
    target.key = key;
    if (billingDayOf(tariffAt(settings.activeTariff)) != 1)
        carryPeriod(target, monthBefore);
    return readMonthBlocks(target, true);
}

bool readMonthFileQuietly(uint32_t key, MonthStats& target)
{
    clearMonthStats(target);
    target.key = key;
    return readMonthBlocks(target, false);
}
