#pragma once
// Finding the running connections and cutting them into logged slices.
#include "core/localtime.h"
#include "monitor/liveconnections.h"

// Brings the connection table in line with what the remote-access service lists: new
// connections are added (up to the table's 16), ended ones are logged and removed. False when
// the service could not be asked; that failure has already been reported (once while it lasts).
bool rescanConnections();

// The timer tick's share: a scan that failed is made again, until one succeeds, then the
// counters are read.
void watchConnectionsOnTick();

// Logs the current slice of every running connection and starts the next one at `now`.
// A logging failure stays pending in AppError.
void closeSlices(const LocalTime& now);

// The same for one connection.
void cutSlice(LiveConnection& record, const LocalTime& now);

// Logs the connection's current slice, ending now, into the current month and its file.
bool logSlice(const LiveConnection& connection);
