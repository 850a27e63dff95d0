#pragma once
// The current slice of a running connection as a log record: its length, its record, logging
// it and starting the next one.
#include <cstdint>

#include "core/localtime.h"
#include "monitor/liveconnections.h"
#include "tariff/logrecord.h"

// Seconds of the connection's current slice up to now, whole days included, by the monotonic
// clock: a clock set back or forward changes the date a slice is logged under, never its length.
uint32_t sliceSeconds(const LiveConnection& connection);

// Fills `record` from the connection's current slice, ending now. False, and nothing done, when
// either is missing.
bool recordFromSlice(LogRecord* record, const LiveConnection* connection);

// The slice of the running connection at `index` as a record ending now; false past the last
// connection. The statistics add these to the current month (setRunningSliceSource).
bool runningSliceRecord(uint32_t index, LogRecord& record);

// Logs the connection's current slice, ending now, into the current month and its file;
// `cost`, when given, receives its price.
bool logSlice(const LiveConnection& connection, double* cost = nullptr);

// Logs the connection's current slice and starts the next one at `now`; the connection keeps
// what the slice came to among its earlier ones. A slice that holds no time and no traffic is
// not logged. A logging failure stays pending in AppError.
void cutSlice(LiveConnection& record, const LocalTime& now);

// A new slice from `now`, its counts at zero; the readings stay, so counting goes on without a
// gap.
void startSlice(LiveConnection& record, const LocalTime& now);
