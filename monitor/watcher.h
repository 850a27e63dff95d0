#pragma once
// Finding the running connections and cutting them into logged slices.
#include "core/localtime.h"
#include "monitor/liveconnections.h"

// Brings the connection table in line with what the remote-access service lists: new
// connections are added (up to the table's 16), ended ones are logged and removed. False when
// the service could not be asked; that failure has already been reported (once while it lasts).
bool rescanConnections();

// Ends the failure episodes of the service and the address table and forgets the kept tables,
// so each next failure is reported: a fresh start of the monitor, for the tests.
void resetConnectionWatcher();

// The timer tick's share: a scan that failed is made again, until one succeeds, then the
// counters are read.
void watchConnectionsOnTick();

// Logs the current slice of every running connection and starts the next one at `now`: at a
// change of month or period, when the machine goes to sleep, and at exit. A slice that holds
// no time and no traffic is not logged. A logging failure stays pending in AppError.
void closeSlices(const LocalTime& now);

// The machine has woken up: the time asleep was no time online, so every slice starts again
// now, and the first reading of each connection is a fresh baseline.
void resumeSlices(const LocalTime& now);
