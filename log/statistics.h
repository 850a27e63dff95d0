#pragma once
// The month sums the display shows: the current month kept up to date as slices are logged,
// one other month read on demand, and the running connections added on the fly.
#include <cstdint>

#include "log/monthlog.h"

extern MonthStats currentMonth;
extern MonthStats heldMonth;
extern uint32_t heldMonthKey; // the month heldMonth holds; 0 while none is held

struct TrafficTotals {
    uint32_t monthKey; // input: the month asked for, 0 the current month
    int64_t received; // bytes, after the volume correction
    int64_t sent;
    uint32_t onlineSeconds;
};

// The month queries. Key 0: the current month plus every running connection, priced as if it
// ended now (a snapshot, overwritten by the next query of the same kind). Any other key: the
// held month, read from its file first when another month is held; null when it cannot be read.
// The arrays have kMonthSlots elements: 0 the month, 1..31 its days.
const int64_t* monthVolume(uint32_t monthKey);
const int64_t* monthOnlineTime(uint32_t monthKey);
const double* monthCost(uint32_t monthKey);
const MonthCounters* monthCounters(uint32_t monthKey);
// The month itself (the current one without its running connections); null when it cannot be
// read. What the billing period carried in from the month before is in its `carried`.
const MonthStats* monthStats(uint32_t monthKey);
// The first logged record of the month (running connections are not in the list); null for an
// empty month and when the month cannot be read.
const LogRecord* monthRecords(uint32_t monthKey);

// Sums of the month `totals.monthKey` (running connections included for key 0). False when
// the month could not be read.
bool monthTraffic(TrafficTotals& totals);

// Sums of the running connection at `connectionIndex`, or of all of them for -1.
void liveTraffic(TrafficTotals& totals, int32_t connectionIndex);

// The cost of the running slice at `index` under the active tariff, priced as if it ended now
// after the current month's records and the running slices before it, as the month's key-0
// sums price it; 0 past the last one.
double runningSliceCost(uint32_t index);

// Where the key-0 queries find the running connections: fills `record` with the slice of the
// connection at `index`, ending now, and gives true; false past the last one.
using RunningSliceSource = bool (*)(uint32_t index, LogRecord& record);

// The connection monitor provides the source (runningSliceRecord), the program sets it at
// start-up. Without one (null) no connection runs.
void setRunningSliceSource(RunningSliceSource source);

// The slice of the running connection at `index`, ending now, through the source; false past the
// last one.
bool runningSlice(uint32_t index, LogRecord& record);

// Counts up whenever figures summed from month files may have changed: the prices (reloaded),
// the month (a new one began), a record logged into a past month. Figures kept from the files are
// read again when it has moved.
uint32_t statisticsGeneration();

// Reads a month's file into currentMonth (key 0: the month of the local clock) or heldMonth
// (any other key), as readMonthFile does; its reports wait (showDeferredReports). Records of that month that could not
// be written yet are taken from memory instead of the file, and a month replaced in memory keeps its own unwritten
// records. False (AppError 0x80000001) only when memory runs out.
bool loadMonth(uint32_t monthKey);

// Adds a just-logged slice to currentMonth's sums (the caller appends it to the list).
void accountSlice(const LogRecord& record);

// Logs a finished slice into the month it began in: the current month, or any other month,
// whose file is read first (a clock set back, a tariff switch just after midnight at a month's
// end). Takes the record over. False with AppError 0x40000019 when the month's file could not be
// written; the record then stays in memory and reaches the file with the next successful write
// of its month. `cost`, when given, receives the record's cost as its month prices it.
bool logRecord(LogRecord* record, double* cost = nullptr);

// At a change of month: the month of the clock becomes the current month, read from its file,
// which may already hold records (a clock set back). False when memory ran out.
bool startCurrentMonth();

// Writes every month that holds records its file does not. False with AppError 0x40000019
// when one of them still cannot be written.
bool saveUnsavedMonths();

// The timer tick's share: while a month's records could not be written (its log held open by
// another program), they are written again after growing pauses, 1 s, 2 s, 4 s and so on up to
// a minute, without a further report; AppError is left as it was.
void retryUnsavedMonths();

// True while a month's records wait to be written again (retryUnsavedMonths has work).
bool unsavedMonthsWaiting();

// At exit or at the end of the session, after the last attempt to write them: every month that
// still holds records its log does not goes whole into its pending file beside the log, to be
// taken in at the next start. False with AppError 0x40000019 when one of them cannot be written
// there either.
bool setAsidePendingMonths();

// Sums the current month and the held month again, after the prices changed (tariff, volume
// correction, holidays). The months stay the ones held; their records come from memory, so
// records not yet written are priced too.
bool reloadStatistics();

// Frees both months and every unwritten record, and forgets the held month: at shut-down, after
// the last attempt to write them.
void clearMonthCache();
