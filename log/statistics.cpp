#include "log/statistics.h"

#include <cstring>
#include <new>

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/platform.h"
#include "tariff/settings.h"

MonthStats currentMonth;
MonthStats heldMonth;
uint32_t heldMonthKey;

namespace {

RunningSliceSource runningSlices;
uint32_t generation;

// The current month with the running connections added; each kind is overwritten by the next
// query of that kind, so a painter uses one result before asking again.
struct CurrentSnapshots {
    int64_t volume[kMonthSlots];
    int64_t onlineTime[kMonthSlots];
    double cost[kMonthSlots];
    MonthCounters counters; // shared by the cost and the counter query
} snapshots;

// Months whose newest records could not be written to their files and that have left
// currentMonth and heldMonth since: they stay here, whole, until a write of theirs succeeds.
struct UnsavedMonth {
    MonthStats month;
    UnsavedMonth* next;
};
UnsavedMonth* unsavedMonths;

// While a month is unsaved: the monotonic time of the next attempt to write it and the pause
// after that one; 0 while every month is written.
uint64_t retryAtMs;
uint64_t retryPauseMs;
constexpr uint64_t kFirstRetryPauseMs = 1000;
constexpr uint64_t kLongestRetryPauseMs = 60000;

bool anyUnsaved() { return currentMonth.unsaved || heldMonth.unsaved || unsavedMonths != nullptr; }

// A failed write starts the retries; once nothing is unsaved they stop.
void followUnsaved()
{
    if (!anyUnsaved()) {
        retryAtMs = retryPauseMs = 0;
    } else if (retryAtMs == 0) {
        retryPauseMs = kFirstRetryPauseMs;
        retryAtMs = monotonicMilliseconds() + retryPauseMs;
    }
}

bool saveMonth(MonthStats& month)
{
    month.unsaved = !writeMonthLog(month);
    return !month.unsaved;
}

// A month about to be emptied keeps the records its file lacks: they are written now, or the
// whole list is set aside until they can be.
void setAsideUnsaved(MonthStats& month)
{
    if (!month.unsaved || saveMonth(month))
        return;
    auto* kept = new (std::nothrow) UnsavedMonth {};
    if (kept == nullptr)
        return;
    kept->month = month;
    kept->next = unsavedMonths;
    unsavedMonths = kept;
    memset(&month, 0, sizeof month); // the list belongs to the kept month now
}

// Moves the set-aside records of month `key` into `target`; false when there are none.
bool takeUnsaved(uint32_t key, MonthStats& target)
{
    for (UnsavedMonth** link = &unsavedMonths; *link != nullptr; link = &(*link)->next) {
        UnsavedMonth* kept = *link;
        if (kept->month.key != key)
            continue;
        *link = kept->next;
        clearMonthStats(target);
        target = kept->month;
        delete kept;
        // Prices may have changed since it was set aside.
        carryFromMonthBefore(target);
        sumMonth(target);
        return true;
    }
    return false;
}

// Makes heldMonth hold `key`, reading its file when another month is held. False when the
// month cannot be read; no month is held then, as the attempt has emptied heldMonth.
bool holdMonth(uint32_t key)
{
    if (heldMonthKey == key)
        return true;
    if (!loadMonth(key)) {
        heldMonthKey = 0;
        return false;
    }
    heldMonthKey = key;
    return true;
}

int dayIndexOf(const LocalTime& time) { return time.day >= 1 && time.day < kMonthSlots ? time.day : 0; }

template <typename T> void addAtDay(T* sums, const LocalTime& start, T value)
{
    sums[0] += value;
    if (const int day = dayIndexOf(start); day != 0)
        sums[day] += value;
}

// Starts the counter snapshot from the current month and prices every running connection
// against it as if it ended now, adding each cost at its day of `costs` when given.
void priceRunningConnections(double* costs)
{
    snapshots.counters = currentMonth.counters;
    LogRecord record;
    for (uint32_t index = 0; runningSlice(index, record); ++index) {
        const double cost = computeMonthCost(snapshots.counters, record, settings.activeTariff);
        if (costs != nullptr)
            addAtDay(costs, record.start, cost);
    }
}

} // namespace

const int64_t* monthVolume(uint32_t key)
{
    if (key != 0)
        return holdMonth(key) ? heldMonth.volume : nullptr;
    memcpy(snapshots.volume, currentMonth.volume, sizeof snapshots.volume);
    LogRecord record;
    for (uint32_t index = 0; runningSlice(index, record); ++index)
        addAtDay(snapshots.volume, record.start, recordVolume(record));
    return snapshots.volume;
}

const int64_t* monthOnlineTime(uint32_t key)
{
    if (key != 0)
        return holdMonth(key) ? heldMonth.onlineTime : nullptr;
    memcpy(snapshots.onlineTime, currentMonth.onlineTime, sizeof snapshots.onlineTime);
    LogRecord record;
    for (uint32_t index = 0; runningSlice(index, record); ++index)
        addAtDay(snapshots.onlineTime, record.start, int64_t(record.dur));
    return snapshots.onlineTime;
}

const double* monthCost(uint32_t key)
{
    if (key != 0)
        return holdMonth(key) ? heldMonth.cost : nullptr;
    memcpy(snapshots.cost, currentMonth.cost, sizeof snapshots.cost);
    priceRunningConnections(snapshots.cost);
    return snapshots.cost;
}

const MonthCounters* monthCounters(uint32_t key)
{
    if (key != 0)
        return holdMonth(key) ? &heldMonth.counters : nullptr;
    priceRunningConnections(nullptr);
    return &snapshots.counters;
}

const MonthStats* monthStats(uint32_t key)
{
    if (key != 0)
        return holdMonth(key) ? &heldMonth : nullptr;
    return &currentMonth;
}

const LogRecord* monthRecords(uint32_t key)
{
    if (key != 0)
        return holdMonth(key) ? heldMonth.records.head : nullptr;
    return currentMonth.records.head;
}

bool monthTraffic(TrafficTotals& totals)
{
    const MonthStats* month = &currentMonth;
    if (totals.monthKey != 0) {
        if (!holdMonth(totals.monthKey))
            return false;
        month = &heldMonth;
    }
    totals.received = totals.sent = 0;
    totals.onlineSeconds = 0;
    for (const LogRecord* record = month->records.head; record != nullptr; record = record->next) {
        totals.onlineSeconds += record->dur;
        totals.received += correctedVolume(record->rx);
        totals.sent += correctedVolume(record->tx);
    }
    if (totals.monthKey == 0) {
        TrafficTotals live {};
        liveTraffic(live, -1);
        totals.received += live.received;
        totals.sent += live.sent;
        totals.onlineSeconds += live.onlineSeconds;
    }
    return true;
}

void liveTraffic(TrafficTotals& totals, int32_t connectionIndex)
{
    totals.received = totals.sent = 0;
    totals.onlineSeconds = 0;
    LogRecord record;
    for (uint32_t index = 0; runningSlice(index, record); ++index) {
        if (connectionIndex != -1 && uint32_t(connectionIndex) != index)
            continue;
        totals.received += correctedVolume(record.rx);
        totals.sent += correctedVolume(record.tx);
        totals.onlineSeconds += record.dur;
    }
}

bool runningSlice(uint32_t index, LogRecord& record)
{
    record = LogRecord {};
    return runningSlices != nullptr && runningSlices(index, record);
}

double runningSliceCost(uint32_t index)
{
    MonthCounters counters = currentMonth.counters;
    LogRecord record;
    for (uint32_t before = 0; runningSlice(before, record); ++before) {
        const double cost = computeMonthCost(counters, record, settings.activeTariff);
        if (before == index)
            return cost;
    }
    return 0.0;
}

void setRunningSliceSource(RunningSliceSource source) { runningSlices = source; }

uint32_t statisticsGeneration() { return generation; }

bool loadMonth(uint32_t key)
{
    const DeferredReports reading;
    MonthStats& target = key == 0 ? currentMonth : heldMonth;
    if (key == 0)
        key = monthKeyOf(localTimeNow());
    setAsideUnsaved(target);
    if (takeUnsaved(key, target))
        return true;
    return readMonthFile(key, target);
}

void accountSlice(const LogRecord& record) { addToMonthSums(currentMonth, record); }

bool logRecord(LogRecord* record, double* cost)
{
    if (currentMonth.key == 0 && !loadMonth(0)) {
        delete record;
        return false;
    }
    MonthStats* month = &currentMonth;
    const uint32_t key = monthKeyOf(record->start);
    if (key != currentMonth.key) {
        if (!holdMonth(key)) {
            delete record;
            return false;
        }
        month = &heldMonth;
    }
    const double priced = addToMonthSums(*month, *record);
    if (cost != nullptr)
        *cost = priced;
    appendMonthRecord(*month, record);
    // A past month has changed: what was summed from its file is out of date.
    if (month != &currentMonth)
        ++generation;
    if (!saveMonth(*month)) {
        followUnsaved();
        return false;
    }
    // The disk takes writes again: months set aside earlier go with this one.
    if (unsavedMonths != nullptr)
        saveUnsavedMonths();
    followUnsaved();
    return true;
}

bool startCurrentMonth()
{
    // The held month may be the new current one (a clock set back into it): it is read again
    // when it is next asked for.
    setAsideUnsaved(heldMonth);
    clearMonthStats(heldMonth);
    heldMonthKey = 0;
    memset(&snapshots, 0, sizeof snapshots);
    ++generation;
    return loadMonth(0);
}

bool saveUnsavedMonths()
{
    bool saved = true;
    if (currentMonth.unsaved)
        saved = saveMonth(currentMonth) && saved;
    if (heldMonth.unsaved)
        saved = saveMonth(heldMonth) && saved;
    for (UnsavedMonth** link = &unsavedMonths; *link != nullptr;) {
        UnsavedMonth* kept = *link;
        if (!saveMonth(kept->month)) {
            saved = false;
            link = &kept->next;
            continue;
        }
        *link = kept->next;
        clearMonthStats(kept->month);
        delete kept;
    }
    followUnsaved();
    return saved || failWith(kErrorMonthLogCreate);
}

void retryUnsavedMonths()
{
    if (retryAtMs == 0 || monotonicMilliseconds() < retryAtMs)
        return;
    const uint32_t pending = AppError;
    if (!saveUnsavedMonths()) {
        retryPauseMs = retryPauseMs * 2 < kLongestRetryPauseMs ? retryPauseMs * 2 : kLongestRetryPauseMs;
        retryAtMs = monotonicMilliseconds() + retryPauseMs;
    }
    AppError = pending;
}

bool unsavedMonthsWaiting() { return retryAtMs != 0; }

bool setAsidePendingMonths()
{
    bool written = true;
    for (MonthStats* month : { &currentMonth, &heldMonth }) {
        if (month->unsaved && writePendingMonth(*month))
            month->unsaved = false;
        written = written && !month->unsaved;
    }
    for (UnsavedMonth** link = &unsavedMonths; *link != nullptr;) {
        UnsavedMonth* kept = *link;
        if (!writePendingMonth(kept->month)) {
            written = false;
            link = &kept->next;
            continue;
        }
        *link = kept->next;
        clearMonthStats(kept->month);
        delete kept;
    }
    followUnsaved();
    return written || failWith(kErrorMonthLogCreate);
}

bool reloadStatistics()
{
    ++generation;
    if (currentMonth.key == 0)
        return loadMonth(0);
    // The billing day may have moved: what the month before carries in is priced anew.
    if (!carryFromMonthBefore(currentMonth))
        return false;
    sumMonth(currentMonth);
    if (heldMonthKey != 0) {
        if (!carryFromMonthBefore(heldMonth))
            return false;
        sumMonth(heldMonth);
    }
    return true;
}

void clearMonthCache()
{
    clearMonthStats(currentMonth);
    clearMonthStats(heldMonth);
    while (unsavedMonths != nullptr) {
        UnsavedMonth* kept = unsavedMonths;
        unsavedMonths = kept->next;
        clearMonthStats(kept->month);
        delete kept;
    }
    memset(&snapshots, 0, sizeof snapshots);
    heldMonthKey = 0;
    retryAtMs = retryPauseMs = 0;
    ++generation;
}
