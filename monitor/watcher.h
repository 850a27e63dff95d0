#pragma once
// Finding the running connections and cutting them into logged slices.
#include "core/localtime.h"
#include "monitor/liveconnections.h"
#include "monitor/remoteaccess.h"

// Brings the connection table in line with what the remote-access service lists: new
// connections are added (up to the table's 16), ended ones are logged and removed. False when
// the service could not be asked; that failure has already been reported (once while it lasts).
// Here and in the other calls that count, reports wait until the counting is done
// (showDeferredReports).
bool rescanConnections();

// Ends the failure episodes of the service and the address table and forgets the kept tables,
// so each next failure is reported: a fresh start of the monitor, for the tests.
void resetConnectionWatcher();

// The timer tick's share: a scan that failed is made again, until one succeeds, then the
// counters are read.
void watchConnectionsOnTick();

// True while the tick has counting to do: connections run, or a scan failed and is made again.
bool watchingNeedsTicks();

// True while adapters are watched and the system does not report their changes: the tick then
// looks at them itself.
bool adaptersNeedPolling();

// Reads the counters a last time, then logs the current slice of every running connection and
// starts the next one at `now`: at a change of month or period, and at exit. A slice that holds
// no time and no traffic is not logged. A logging failure stays pending in AppError.
void closeSlices(const LocalTime& now);

// The machine goes to sleep: the slices are closed as at a change of period, and rest until it
// wakes up; meanwhile the tick counts nothing and a connection that ends is removed unlogged.
void suspendSlices(const LocalTime& now);

// The machine has woken up: the time asleep was no time online, so every slice starts again
// now, and the first reading of each connection is a fresh baseline. Only after suspendSlices:
// Windows announces one wake-up twice (automatic, then with the user present), and the second
// would throw away what the first slice counted. True when the slices started again.
bool resumeSlices(const LocalTime& now);

// The running remote-access connection whose interface the adapter is (its entry name), or null.
// Such an adapter is counted as that connection, never a second time as itself.
const char* remoteConnectionOnAdapter(const NetworkAdapter& adapter);
