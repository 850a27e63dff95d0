#pragma once
// Reports that wait. A message box runs a message loop of its own, which delivers timer ticks
// and paints; a box opened in the middle of a scan, a tick or a paint would let the next tick
// count into a state that is half changed (a slice logged but not restarted, a connection
// removed but not logged). While such work runs, reportError keeps its reports here; the window
// shows them once the work is done.
#include <cstdint>

// Keeps every report made while it lives (and while any other one lives) for later.
class DeferredReports {
public:
    DeferredReports();
    ~DeferredReports();
    DeferredReports(const DeferredReports&) = delete;
    DeferredReports& operator=(const DeferredReports&) = delete;

    // True while a scan, a tick or a paint is under way: nothing that counts may start again.
    static bool active();
};

// Keeps the report of `code` (0: the pending AppError) with its inserts and system error for
// later, once: the same report waiting already is not kept twice. Clears them as reportError does.
void deferReport(uint32_t code);

// True when reports are waiting.
bool hasDeferredReports();

// Shows the waiting reports in the order they were made, one box after the other; reports made
// while a box is open (by a tick of its loop) are shown after it. Shows nothing while a
// DeferredReports lives or while it is showing already. Returns how many it showed.
unsigned showDeferredReports();
