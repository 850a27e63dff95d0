#pragma once
// The month logs "log_YYYYMM.zip": one block per logged slice of a connection, and the sums
// of a month built from them.
#include <cstdint>

#include "core/localtime.h"
#include "tariff/costs.h"
#include "tariff/logrecord.h"

struct LogRecordList {
    LogRecord* head;
    LogRecord* tail;
};

constexpr int kMonthSlots = 32; // element 0 the month, elements 1..31 its days

// What the billing period that began in the month before brings into a month: that month's
// usage from the active tariff's billing day on, priced with the active tariff. All zero with
// billing day 1, where every period is a calendar month.
struct CarriedPeriod {
    FreeUnitCounters counters;
    int64_t volume;
    int64_t onlineTime;
    double cost;
};

// One month's records and their sums.
struct MonthStats {
    uint32_t key; // the month the records belong to; 0 while none is held
    bool unsaved; // records were added that its file does not hold yet
    LogRecordList records;
    int64_t volume[kMonthSlots]; // bytes received + sent after the volume correction
    int64_t onlineTime[kMonthSlots]; // seconds
    double cost[kMonthSlots]; // priced with the active tariff
    MonthCounters counters; // after the month's last record
    CarriedPeriod carried;
};

// Month key: year * 65536 + month; 0 names the current month.
inline uint32_t monthKey(uint32_t year, uint32_t month) { return year * 65536u + month; }

// Adds a completed record to a month's sums, under the day on which it began, priced with the
// active tariff after the month's records before it.
void addToMonthSums(MonthStats& month, const LogRecord& record);

// Appends a record to the tail of a month's list; the list takes it over.
void appendMonthRecord(MonthStats& month, LogRecord* record);

// Frees the month's records and sets every sum and both counters to zero.
void clearMonthStats(MonthStats& month);

// Sums the month's records again from the start, priced with the active tariff after the period
// carried in (month.carried): after the tariff, the volume correction or the holidays changed.
void sumMonth(MonthStats& month);

// Sets month.carried from the records of the month before (`monthBefore`, its list; null for
// none): those from the active tariff's billing day on, priced from zero.
void carryPeriod(MonthStats& month, const LogRecord* monthBefore);

// Sets month.carried from the file of the month before, read without any report (its own damage
// is told when it is shown); nothing is read with billing day 1. False (AppError 0x80000001) only
// when memory runs out.
bool carryFromMonthBefore(MonthStats& month);

// The file name of a month beside the program, "log_%04i%02i.zip"; false when it does not fit.
bool monthLogPath(uint32_t year, uint32_t month, char* path, unsigned size);

// The file beside a month's log, "log_%04i%02i.zip.pending", that holds the month's whole list
// when its log could not be replaced at exit (another program held it open); false when it does
// not fit.
bool pendingMonthPath(uint32_t key, char* path, unsigned size);

// Writes the month's list to the file of its key, replacing the file only once the whole list
// is written, and then removes the month's pending file, which the list contains. False with
// AppError 0x40000019 when the file cannot be written (the old file is then kept), or when a
// record belongs to another month: the whole file is rewritten from the list, so a list of
// another month would replace the file's records with its own. An empty list writes nothing and
// gives true.
bool writeMonthLog(const MonthStats& month);

// Writes the month's list, whole or not at all, to its pending file. False with AppError
// 0x40000019 when it cannot be written either.
bool writePendingMonth(const MonthStats& month);

// The month of a pending file's name ("log_200310.zip.pending"); false for any other name.
bool pendingMonthKey(const char* fileName, uint32_t& key);

// Moves the pending file of month `key`, if there is one, over the month's log. False when it
// is there and cannot be moved (the log is still held): the month is then read from it.
bool takeInPendingMonth(uint32_t key);

// Reads month `key` into `target` (emptied first) and sums it with the active tariff, after the
// billing period carried in from the month before: from its pending file while there is one,
// which holds all of the log and more, otherwise from its log. A missing file is an empty month. A damaged file (a
// format error, or no gzip stream at all) is reported, kept as it is beside itself, and leaves what was read before the
// damage. False (AppError 0x80000001) only when memory runs out.
bool readMonthFile(uint32_t key, MonthStats& target);

// The same, with the period carried in from `monthBefore` (the month before's list, read
// already) instead of its file: a run of months read in order reads each file once.
bool readMonthFileAfter(uint32_t key, MonthStats& target, const LogRecord* monthBefore);

// Reads the file of month `key` into `target` without any report and without a period carried
// in: a damaged file gives what was read before the damage. False only when memory runs out.
bool readMonthFileQuietly(uint32_t key, MonthStats& target);
