#include "model/countingmodel.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/deferredreports.h"
#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "fakes/fakeremoteaccess.h"
#include "log/monthlog.h"
#include "log/statistics.h"
#include "meter/counting.h"
#include "meter/ticks.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "monitor/watchedadapters.h"
#include "monitor/watcher.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr int kMostRemote = 4; // dial-up connections up at once: the table of 16 never fills
// A counter is read before it could seem to have started again: a 32-bit one before what it
// moved could be a wrap, a 64-bit one long before a leap of 4 TiB.
constexpr uint64_t k32BitUnreadLimit = 1u << 30;
constexpr uint64_t kWideUnreadLimit = uint64_t(1) << 40;
constexpr uint64_t kMask32 = 0xFFFFFFFFu;

// The next byte of the sequence, 0 once it has run out.
struct Input {
    const uint8_t* at;
    const uint8_t* end;
    uint8_t next() { return at < end ? *at++ : 0; }
    uint32_t below(uint32_t n) { return next() % n; }
    bool done() const { return at >= end; }
};

struct Remote {
    uintptr_t handle;
    uint32_t interfaceIndex;
    uint8_t address[4];
};

struct Adapter {
    const char* id;
    const char* name;
    uint32_t interfaceIndex; // its own; the dial-up adapter takes its connection's
    bool up;
    uintptr_t carries; // the dial-up adapter: the connection it is the interface of, 0 none
};

// The span of one running connection in the program's table, by monotonic time.
struct Episode {
    uint64_t startMs;
    uint64_t endMs;
};

struct Traffic {
    uint64_t bytesIn, bytesOut, packetsIn, packetsOut;
};

class Model {
public:
    explicit Model(Input input)
        : in(input)
    {
    }
    std::string run();

private:
    Input in;
    std::string events;
    std::string broken;

    std::vector<Remote> remotes; // up in the world
    uintptr_t nextHandle = 1;
    Adapter adapters[3] = { { "{A}", "Hotspot", 2, false, 0 }, { "{B}", "Stick", 3, false, 0 },
        { "{P}", "Dial-up adapter", 0, false, 0 } };
    std::map<uint32_t, uint64_t> unread; // bytes a counter moved since the program last ran
    LocalTime lastTick {};
    bool asleep = false;
    uint64_t asleepSinceMs = 0;
    std::vector<std::pair<uint64_t, uint64_t>> sleeps;
    std::map<std::string, Episode> running; // by the record's identity
    std::vector<Episode> ended;
    Traffic expected {};
    int nesting = 0; // ticks inside a box

    void note(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void fail(const std::string& what)
    {
        if (broken.empty())
            broken = what;
    }

    static uint64_t nowMs() { return monotonicMilliseconds(); }
    static void advance(uint64_t ms)
    {
        const uint64_t wall = uint64_t(secondsSinceEpoch(fakePlatform.now)) * 1000 + fakePlatform.now.milliseconds + ms;
        fakePlatform.now = localTimeFromSeconds(int64_t(wall / 1000));
        fakePlatform.now.milliseconds = uint16_t(wall % 1000);
    }

    void observe();
    bool isWatched(uint32_t interfaceIndex) const;
    void afterCall() { unread.clear(); }

    void tick(uint64_t ms);
    void scan();
    void addTraffic(uint32_t interfaceIndex, uint64_t bytesIn, uint64_t bytesOut);
    void someTraffic();
    void connect();
    void disconnect();
    void tickAdapter();
    void switchAdapter();
    void shareAdapter();
    void resetCounters();
    void sleepAndWake();
    void changeClock();
    void crossBoundary();
    void failWrites();
    void failReading();
    void restart(bool sessionEnd);
    void deliverTicksWhileBoxesAreOpen();
    void stop();
    void checkTheLaw();
    void reset();
};

void Model::note(const char* format, ...)
{
    char line[160];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    events += line;
    events += '\n';
}

std::string recordKey(const LiveConnection& record)
{
    return record.isAdapter ? std::string("adapter ") + record.adapterId : "remote " + std::to_string(record.handle);
}

// Follows the program's table: a record that appeared starts an episode at its slice's start,
// one that went ends its episode now.
void Model::observe()
{
    std::map<std::string, bool> seen;
    for (uint32_t i = 0; i < liveConnectionCount(); ++i) {
        const LiveConnection& record = *liveConnectionAt(i);
        const std::string key = recordKey(record);
        seen[key] = true;
        if (running.count(key) == 0)
            running[key] = { record.sliceStartMs, 0 };
    }
    for (auto it = running.begin(); it != running.end();) {
        if (seen.count(it->first) != 0) {
            ++it;
            continue;
        }
        ended.push_back({ it->second.startMs, nowMs() });
        it = running.erase(it);
    }
}

// Traffic counts while a record of the table has read the interface and the machine is awake.
bool Model::isWatched(uint32_t interfaceIndex) const
{
    if (asleep)
        return false;
    for (uint32_t i = 0; i < liveConnectionCount(); ++i) {
        const LiveConnection& record = *liveConnectionAt(i);
        if (record.interfaceIndex == interfaceIndex && record.lastInPackets != kNoReadingYet)
            return true;
    }
    return false;
}

// Every box, wherever it opens, runs a loop of its own that delivers the window's ticks.
void Model::deliverTicksWhileBoxesAreOpen()
{
    fakePlatform.whileBoxOpen = [this] {
        if (nesting > 0)
            return;
        ++nesting;
        const uint32_t ticks = 1 + in.below(2);
        for (uint32_t i = 0; i < ticks; ++i) {
            someTraffic();
            tick(500 + in.below(4) * 1000);
        }
        --nesting;
    };
}

void Model::tick(uint64_t ms)
{
    advance(ms);
    const LocalTime now = localTimeNow();
    // The window's tick: nothing that counts starts inside counting under way.
    if (DeferredReports::active())
        return;
    countTick(lastTick, now);
    lastTick = now;
    afterCall();
    observe();
}

void Model::scan()
{
    rescanConnections();
    afterCall();
    observe();
}

void Model::addTraffic(uint32_t interfaceIndex, uint64_t bytesIn, uint64_t bytesOut)
{
    InterfaceCounters& counters = fakeRemoteAccess.interfaces[interfaceIndex];
    if (!counters.wide) {
        bytesIn %= k32BitUnreadLimit / 4;
        bytesOut %= k32BitUnreadLimit / 4;
    }
    if (unread[interfaceIndex] + bytesIn + bytesOut > (counters.wide ? kWideUnreadLimit : k32BitUnreadLimit))
        tick(500);
    unread[interfaceIndex] += bytesIn + bytesOut;
    const uint64_t packetsIn = bytesIn / 1400 + (bytesIn != 0), packetsOut = bytesOut / 1400 + (bytesOut != 0);
    counters.inOctets += bytesIn;
    counters.outOctets += bytesOut;
    counters.inUnicastPackets += packetsIn;
    counters.outUnicastPackets += packetsOut;
    if (!counters.wide) {
        counters.inOctets &= kMask32;
        counters.outOctets &= kMask32;
        counters.inUnicastPackets &= kMask32;
        counters.outUnicastPackets &= kMask32;
    }
    if (isWatched(interfaceIndex)) {
        expected.bytesIn += bytesIn;
        expected.bytesOut += bytesOut;
        expected.packetsIn += packetsIn;
        expected.packetsOut += packetsOut;
    }
}

// Traffic on an interface that is up: a little, a lot, or (on 64-bit counters) more than a
// slice holds.
void Model::someTraffic()
{
    std::vector<uint32_t> up;
    for (const Remote& remote : remotes)
        up.push_back(remote.interfaceIndex);
    for (const Adapter& adapter : adapters)
        if (adapter.up && adapter.carries == 0)
            up.push_back(adapter.interfaceIndex);
    if (up.empty())
        return;
    const uint32_t index = up[in.below(uint32_t(up.size()))];
    static const uint64_t sizes[] = { 0, 1, 1500, 1000000, 300000000, 3000000000u, 5000000000u, 11000000000u };
    const uint64_t bytesIn = sizes[in.below(8)] + in.next() * 7919u;
    const uint64_t bytesOut = sizes[in.below(6)] + in.next() * 131u;
    note("traffic %llu in, %llu out on interface %u", static_cast<unsigned long long>(bytesIn),
        static_cast<unsigned long long>(bytesOut), index);
    addTraffic(index, bytesIn, bytesOut);
}

void Model::connect()
{
    if (remotes.size() == kMostRemote)
        return;
    Remote remote {};
    remote.handle = nextHandle++;
    remote.interfaceIndex = 100 + uint32_t(remote.handle);
    remote.address[0] = 10;
    remote.address[2] = uint8_t(remote.handle >> 8);
    remote.address[3] = uint8_t(remote.handle);
    char text[16];
    snprintf(text, sizeof text, "10.0.%u.%u", remote.address[2], remote.address[3]);
    InterfaceCounters counters {};
    counters.wide = in.below(2) == 0;
    // A counter that did not start at 0: traffic before the connection is no one's.
    counters.inOctets = counters.wide ? uint64_t(in.next()) << 33 : uint64_t(in.next()) << 20;
    fakeRemoteAccess.interfaces[remote.interfaceIndex] = counters;
    fakeRemoteAccess.addressRows.push_back(
        { { remote.address[0], 0, remote.address[2], remote.address[3] }, remote.interfaceIndex });
    fakeConnect(remote.handle, ("Provider " + std::to_string(remote.handle)).c_str(), text);
    remotes.push_back(remote);
    note("connect %u (%s counters)", unsigned(remote.handle), counters.wide ? "64-bit" : "32-bit");
    if (in.below(4) != 0)
        scan();
}

void Model::disconnect()
{
    if (remotes.empty())
        return;
    const size_t which = in.below(uint32_t(remotes.size()));
    const Remote remote = remotes[which];
    remotes.erase(remotes.begin() + long(which));
    fakeDisconnect(remote.handle);
    fakeRemoteAccess.addresses.erase(remote.handle);
    // Its dial-up adapter goes with it; the interface's counters stay readable.
    Adapter& dialUp = adapters[2];
    if (dialUp.carries == remote.handle) {
        dialUp.up = false;
        dialUp.carries = 0;
        fakeAdapter(dialUp.id, dialUp.name, "", remote.interfaceIndex);
    }
    note("disconnect %u", unsigned(remote.handle));
    if (in.below(4) != 0)
        scan();
}

void Model::tickAdapter()
{
    const Adapter& adapter = adapters[in.below(3)];
    if (findWatchedAdapter(adapter.id) == nullptr) {
        watchAdapter(adapter.id, adapter.name);
        note("tick %s", adapter.id);
    } else {
        WatchedAdapterList kept {};
        for (uint32_t i = 0; i < watchedAdapters.count; ++i)
            if (strcmp(watchedAdapters.adapters[i].id, adapter.id) != 0)
                kept.adapters[kept.count++] = watchedAdapters.adapters[i];
        watchedAdapters = kept;
        note("untick %s", adapter.id);
    }
    // The options sheet closes: the window scans at once.
    scan();
}

void Model::switchAdapter()
{
    Adapter& adapter = adapters[in.below(2)];
    adapter.up = !adapter.up;
    char address[16];
    snprintf(address, sizeof address, "192.168.%u.2", adapter.interfaceIndex);
    fakeAdapter(adapter.id, adapter.name, adapter.up ? address : "", adapter.interfaceIndex);
    note("%s %s", adapter.id, adapter.up ? "up" : "down");
    if (in.below(3) == 0)
        scan();
}

// The dial-up connection's own adapter comes up with it: one interface, two ways to see it.
void Model::shareAdapter()
{
    Adapter& dialUp = adapters[2];
    if (remotes.empty() || dialUp.up)
        return;
    const Remote& remote = remotes[in.below(uint32_t(remotes.size()))];
    char address[16];
    snprintf(address, sizeof address, "10.0.%u.%u", remote.address[2], remote.address[3]);
    dialUp.up = true;
    dialUp.carries = remote.handle;
    fakeAdapter(dialUp.id, dialUp.name, address, remote.interfaceIndex);
    note("dial-up adapter up on %u", unsigned(remote.handle));
    if (in.below(2) == 0)
        scan();
}

// An interface starts again from 0 (a driver reset): read before, and read right after, so no
// traffic falls between.
void Model::resetCounters()
{
    if (remotes.empty())
        return;
    const Remote& remote = remotes[in.below(uint32_t(remotes.size()))];
    tick(500);
    InterfaceCounters& counters = fakeRemoteAccess.interfaces[remote.interfaceIndex];
    for (uint64_t* value :
        { &counters.inOctets, &counters.outOctets, &counters.inUnicastPackets, &counters.outUnicastPackets })
        *value = *value >= 1000 ? *value - 1000 : 0;
    note("counters of %u start again", unsigned(remote.handle));
    tick(500);
}

void Model::sleepAndWake()
{
    advance(100 + in.below(5000));
    const LocalTime before = localTimeNow();
    applySuspend(before);
    lastTick = before;
    asleep = true;
    asleepSinceMs = nowMs();
    afterCall();
    observe();
    note("sleep");
    // A tick may still come before the machine sleeps; traffic and resets while it sleeps are
    // no one's.
    if (in.below(2) == 0)
        tick(200);
    someTraffic();
    static const uint64_t naps[] = { 5000, 600000, 7200000, 3 * 86400000ull };
    advance(naps[in.below(4)]);
    const LocalTime woken = localTimeNow();
    if (applyResume(lastTick, woken))
        lastTick = woken;
    asleep = false;
    sleeps.push_back({ asleepSinceMs, nowMs() });
    afterCall();
    observe();
    note("wake");
    // Windows tells the wake-up again once the user is there; what came in between stays.
    if (in.below(2) == 0) {
        someTraffic();
        tick(1000);
        someTraffic();
        advance(2000);
        const LocalTime again = localTimeNow();
        if (applyResume(lastTick, again))
            lastTick = again;
        afterCall();
        observe();
        note("wake again");
    }
}

void Model::changeClock()
{
    static const int64_t shifts[] = { -3600, 3600, -86400 * 40, 86400 * 35, -1, 5 * 3600 };
    const int64_t shift = shifts[in.below(6)];
    setWallClock(localTimeFromSeconds(secondsSinceEpoch(fakePlatform.now) + shift));
    note("clock set by %lld s", static_cast<long long>(shift));
    // The window ticks at once on a change of the clock.
    tick(0);
}

// Up to just before midnight at a month's end, or the tariff's 08:00 or 18:00, and past it.
void Model::crossBoundary()
{
    const LocalTime now = localTimeNow();
    int64_t target;
    if (in.below(2) == 0) {
        const int days = daysInMonth(now.year, now.month);
        target = secondsSinceEpoch({ now.year, now.month, 0, uint16_t(days), 0, 0, 0, 0 }) + 86400;
    } else {
        const int64_t midnight = secondsSinceEpoch({ now.year, now.month, 0, now.day, 0, 0, 0, 0 });
        const int64_t seconds = secondsSinceEpoch(now) - midnight;
        target = midnight + (seconds < 8 * 3600 ? 8 * 3600 : seconds < 18 * 3600 ? 18 * 3600 : 32 * 3600);
    }
    const int64_t wall = secondsSinceEpoch(now) * 1000 + now.milliseconds;
    const int64_t before = target * 1000 - 1 - in.below(1500);
    if (before > wall) {
        someTraffic();
        tick(uint64_t(before - wall));
    }
    someTraffic();
    note("across %lld", static_cast<long long>(target));
    tick(1 + in.below(1500));
}

// The disk refuses every write for a while, or another program holds a month's log.
void Model::failWrites()
{
    switch (in.below(4)) {
    case 0:
        fakePlatform.diskFull = !fakePlatform.diskFull;
        note("disk %s", fakePlatform.diskFull ? "full" : "free again");
        break;
    case 1:
    case 2: {
        const LocalTime now = localTimeNow();
        char path[260];
        monthLogPath(now.year, now.month, path, sizeof path);
        fakePlatform.heldFiles.insert(path);
        note("log of %u-%u held", now.year, now.month);
        break;
    }
    default:
        fakePlatform.heldFiles.clear();
        note("logs free");
        break;
    }
}

// The service, the address table or the interface table cannot be read for a moment.
void Model::failReading()
{
    switch (in.below(3)) {
    case 0:
        fakeRemoteAccess.enumerationFails = !fakeRemoteAccess.enumerationFails;
        note("service %s", fakeRemoteAccess.enumerationFails ? "fails" : "answers");
        scan();
        break;
    case 1:
        note("address table fails at a scan");
        fakeRemoteAccess.addressTableFails = true;
        scan();
        fakeRemoteAccess.addressTableFails = false;
        break;
    default:
        // Only once every change is counted: a reading that fails at a slice's end loses it.
        scan();
        tick(500);
        note("interface table fails at a tick");
        fakeRemoteAccess.interfaceTableFails = true;
        tick(500);
        fakeRemoteAccess.interfaceTableFails = false;
        break;
    }
}

// The program ends (at exit, or with the session) and starts again.
void Model::stop()
{
    // The window is gone: boxes at exit deliver no tick.
    fakePlatform.whileBoxOpen = nullptr;
    const bool kept = stopCounting(localTimeNow());
    showDeferredReports();
    if (!kept)
        fail("the exit could not keep everything: AppError " + std::to_string(AppError));
    for (const auto& [key, episode] : running)
        ended.push_back({ episode.startMs, nowMs() });
    running.clear();
}

void Model::restart(bool sessionEnd)
{
    note(sessionEnd ? "session ends" : "exit");
    // Writes fail only while the program runs; a held log stays held across the restart.
    fakePlatform.diskFull = false;
    stop();
    // A fresh process: nothing of the last one in memory.
    clearMonthCache();
    memset(&liveConnections, 0, sizeof liveConnections);
    resetConnectionWatcher();
    advance(1000 + in.below(20000));
    std::vector<uint32_t> pending;
    for (const auto& entry : std::filesystem::directory_iterator(programDirectory)) {
        uint32_t key = 0;
        if (pendingMonthKey(entry.path().filename().string().c_str(), key))
            pending.push_back(key);
    }
    if (!startCounting(pending.data(), pending.size()))
        fail("the start could not read the month");
    showDeferredReports();
    note("start");
    deliverTicksWhileBoxesAreOpen();
    scan(); // the window's creation
    lastTick = localTimeNow();
}

void Model::reset()
{
    resetFakePlatform();
    resetFakeRemoteAccess();
    resetSettings();
    clearMonthCache();
    freeTariffs();
    // 08:00 to 18:00 on weekdays is the main period; the weekend is wholly secondary.
    Rate* rate = new Rate {};
    strcpy(rate->name, "Day and night");
    rate->ltimeb = 8 * 3600;
    rate->ltimee = 18 * 3600;
    rate->ldays = (1u << 5) | (1u << 6);
    rate->unit = 1;
    rate->amount[0] = 100;
    rate->amount[2] = 100000;
    rate->cost[1] = rate->cost[2] = 0.01;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    setRunningSliceSource(runningSliceRecord);
    memset(&liveConnections, 0, sizeof liveConnections);
    watchedAdapters = WatchedAdapterList {};
    resetConnectionWatcher();
    // Friday 31 October 2003, 22:00: a month's end and a period's start lie ahead.
    fakePlatform.now = { 2003, 10, 5, 31, 22, 0, 0, 0 };
    for (Adapter& adapter : adapters)
        fakeAdapter(adapter.id, adapter.name, "", adapter.interfaceIndex);
    for (uint32_t index : { 2u, 3u }) {
        InterfaceCounters counters {};
        counters.wide = true;
        fakeRemoteAccess.interfaces[index] = counters;
    }
    loadMonth(0);
    lastTick = localTimeNow();
    deliverTicksWhileBoxesAreOpen();
}

void Model::checkTheLaw()
{
    // Every log readable, each record once, nothing pending once the writes went through.
    Traffic logged {};
    uint64_t seconds = 0;
    const size_t boxes = fakePlatform.boxes.size();
    for (const auto& entry : std::filesystem::directory_iterator(programDirectory)) {
        const std::string name = entry.path().filename().string();
        unsigned year = 0, month = 0;
        if (name.size() != 14 || name.compare(10, 4, ".zip") != 0
            || sscanf(name.c_str(), "log_%4u%2u", &year, &month) != 2) {
            fail("a file is left beside the logs: " + name);
            continue;
        }
        MonthStats read {};
        if (!readMonthFile(monthKey(year, month), read))
            fail("no memory for " + name);
        for (const LogRecord* record = read.records.head; record != nullptr; record = record->next) {
            if (monthKeyOf(record->start) != monthKey(year, month))
                fail("a record of another month in " + name);
            logged.bytesIn += record->rx;
            logged.bytesOut += record->tx;
            logged.packetsIn += record->rxp;
            logged.packetsOut += record->txp;
            seconds += record->dur;
        }
        clearMonthStats(read);
    }
    if (fakePlatform.boxes.size() != boxes || hasDeferredReports())
        fail("a log could not be read whole");
    if (currentMonth.unsaved || heldMonth.unsaved)
        fail("records are still unwritten");

    char line[400];
    if (logged.bytesIn != expected.bytesIn || logged.bytesOut != expected.bytesOut
        || logged.packetsIn != expected.packetsIn || logged.packetsOut != expected.packetsOut) {
        snprintf(line, sizeof line, "logged %llu/%llu bytes and %llu/%llu packets, passed %llu/%llu and %llu/%llu",
            static_cast<unsigned long long>(logged.bytesIn), static_cast<unsigned long long>(logged.bytesOut),
            static_cast<unsigned long long>(logged.packetsIn), static_cast<unsigned long long>(logged.packetsOut),
            static_cast<unsigned long long>(expected.bytesIn), static_cast<unsigned long long>(expected.bytesOut),
            static_cast<unsigned long long>(expected.packetsIn), static_cast<unsigned long long>(expected.packetsOut));
        fail(line);
    }
    // The time each connection was watched while the machine was awake.
    uint64_t awakeMs = 0;
    for (const Episode& episode : ended) {
        uint64_t ms = episode.endMs - episode.startMs;
        for (const auto& [from, to] : sleeps) {
            const uint64_t overlapFrom = from > episode.startMs ? from : episode.startMs;
            const uint64_t overlapTo = to < episode.endMs ? to : episode.endMs;
            if (overlapTo > overlapFrom)
                ms -= overlapTo - overlapFrom;
        }
        awakeMs += ms;
    }
    if (seconds * 1000 > awakeMs || seconds * 1000 + ended.size() * 1000 < awakeMs) {
        snprintf(line, sizeof line, "logged %llu s for %llu ms watched awake by %zu connections",
            static_cast<unsigned long long>(seconds), static_cast<unsigned long long>(awakeMs), ended.size());
        fail(line);
    }
}

std::string Model::run()
{
    reset();
    while (!in.done() && broken.empty()) {
        switch (in.below(16)) {
        case 0:
        case 1:
        case 2:
            someTraffic();
            tick(500 + uint64_t(in.below(8)) * 7000);
            break;
        case 3:
            someTraffic();
            break;
        case 4:
        case 5:
            connect();
            break;
        case 6:
            disconnect();
            break;
        case 7:
            tickAdapter();
            break;
        case 8:
            switchAdapter();
            break;
        case 9:
            shareAdapter();
            break;
        case 10:
            resetCounters();
            break;
        case 11:
            sleepAndWake();
            break;
        case 12:
            in.below(2) == 0 ? changeClock() : crossBoundary();
            break;
        case 13:
            failWrites();
            break;
        case 14:
            in.below(4) == 0 ? restart(in.below(2) == 0) : failReading();
            break;
        default: {
            // A stray wake-up event without a sleep before it restarts nothing.
            note("stray wake-up");
            if (applyResume(lastTick, localTimeNow()))
                lastTick = localTimeNow();
            afterCall();
            observe();
            break;
        }
        }
        // The window shows the reports that waited once the message that made them is done.
        showDeferredReports();
    }
    // The end: the failures pass, the disk takes the logs, and the program ends twice, the
    // second time with every file free.
    fakeRemoteAccess.enumerationFails = false;
    restart(false);
    fakePlatform.heldFiles.clear();
    restart(true);
    stop();
    checkTheLaw();
    fakePlatform.whileBoxOpen = nullptr;
    freeTariffs();
    clearMonthCache();
    if (broken.empty())
        return "";
    return broken + "\nafter:\n" + events;
}

} // namespace

std::string runCountingSequence(const uint8_t* bytes, size_t size) { return Model({ bytes, bytes + size }).run(); }
