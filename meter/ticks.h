#pragma once
// What the main window's timer must do to the running connections at a tick.
#include <cstdint>

#include "core/localtime.h"

struct TickDecision {
    bool monthChanged; // the running slices end in the old month, and the new month is read
    bool periodChanged; // the active tariff moved between its main and secondary period
    bool billingPeriodChanged; // its free units count anew from its billing day (a new month with day 1)
    bool closeSlices() const { return monthChanged || periodChanged || billingPeriodChanged; }
};

// What the window and the notification area show that a tick can change: each tick compares
// the figures it finds with those of the tick before.
struct ShownFigures {
    uint32_t date; // of the clock, year * 65536 + month * 256 + day: the heading, the days left
    bool secondaryPeriod; // of the active tariff
    uint32_t connections; // running
    int64_t loggedVolume; // the current month's logged slices (corrected bytes) ...
    int64_t loggedSeconds; // ... and their time: they change as a slice is logged
    int64_t liveVolume; // what the running connections have moved so far (corrected bytes) ...
    int64_t liveSeconds; // ... and their time online
};

// The work of a tick, as bits: the parts of the window it redraws, and what it tells.
enum TickWork : uint32_t {
    kRedrawWindow = 1u << 0, // the whole window
    kRedrawVolumeChart = 1u << 1, // the volume chart with its labels and month total
    kRedrawTimeChart = 1u << 2, // the time chart likewise
    kRedrawSummary = 1u << 3, // the costs and free units of the active tariff
    kRedrawLiveGraph = 1u << 4, // the log area while it shows the live graph
    kRedrawStatusLine = 1u << 5, // the running connections' line
    kUpdateTrayTip = 1u << 6, // build the tip again (it is handed on only when its text changed)
    kCheckAlerts = 1u << 7,
};

// What a tick must do after the figures went from `before` to `now`. Everything when the date,
// the tariff's period, the running connections or the logged month changed, or when `refreshAll`
// asks for it (a setting changed); while connections run, the live graph (it takes a new sample
// every tick), and what shows the volume or the time when they moved; offline otherwise nothing.
uint32_t decideTickWork(const ShownFigures& before, const ShownFigures& now, bool refreshAll);

// What keeps the timer ticking at the update interval, and what it must look at while it rests.
struct TickNeeds {
    bool counting; // connections run, or a scan failed and is made again at each tick
    bool retrying; // a month log waits to be written again
    bool pollingAdapters; // adapters are watched and the system does not report their changes
    // The times of day (seconds after midnight) at which the active tariff's period may change:
    // the start and end of its main period; none for a tariff of one period.
    uint32_t periodEdgeCount;
    uint32_t periodEdges[2];
};

// The longest and shortest rest of the timer, and the rest between two looks at the watched
// adapters where the system does not report their changes.
constexpr uint32_t kLongestTickRestMs = 3600u * 1000u;
constexpr uint32_t kShortestTickRestMs = 1000u;
constexpr uint32_t kAdapterPollMs = 3000u;

// How long the timer may rest after a tick at `now`: 0 while it must tick at the update interval;
// else until just after midnight, when the date on the window changes, or just after the next
// edge of the tariff's periods, whichever comes first, but no longer than kLongestTickRestMs (a
// clock that drifts from the timer is caught up within the hour), and no longer than
// kAdapterPollMs while adapters are polled. The connection event, a change of the clock or of the
// settings, and waking from sleep wake the timer before.
uint32_t tickRestMs(const LocalTime& now, const TickNeeds& needs);

// Compares the previous tick with this one. `secondaryBefore` and `secondaryNow` are the
// tariff period at the two moments, `billingDay` the day its free units count from.
TickDecision decideTick(
    const LocalTime& lastTick, const LocalTime& now, bool secondaryBefore, bool secondaryNow, uint32_t billingDay);

// Applies the tick's slice rules for the active tariff: the running slices are closed once
// when the month or the period changed, and a new month is read from its file.
TickDecision applyTickRules(const LocalTime& lastTick, const LocalTime& now);

// The meter's whole share of a timer tick (or of a change of the clock): the counters are read
// (a failed scan is made again), the tick's slice rules applied, and month logs that could not be
// written are tried again when their pause is over. Reports wait until it is done.
TickDecision countTick(const LocalTime& lastTick, const LocalTime& now);

// The figures of the current month and its running connections at `now`.
ShownFigures currentShownFigures(const LocalTime& now);

// What the counting needs of the timer now.
TickNeeds currentTickNeeds();

// The machine goes to sleep: the slices are closed and rest until it wakes up.
void applySuspend(const LocalTime& now);

// The machine has woken up after `lastTick`: the slices start again at `now` with fresh counter
// readings, and a new month is read if one has begun. Only the first of Windows' two wake-up
// events after a sleep does so; false for any other.
bool applyResume(const LocalTime& lastTick, const LocalTime& now);
