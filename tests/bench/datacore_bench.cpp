// Month logs and pricing: loadMonth against the bare gzip line loop over the same file (its
// floor), writeMonthLog and computeCost per record, and the allocations each makes; the year at
// a glance read from twelve full months.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "core/gzfile.h"
#include "fuzzplatform.h"
#include "log/statistics.h"
#include "meter/yearsums.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {
std::atomic<uint64_t> allocations { 0 };
}

void* operator new(size_t size)
{
    ++allocations;
    if (void* memory = malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    ++allocations;
    return malloc(size == 0 ? 1 : size);
}
void operator delete(void* memory) noexcept { free(memory); }
void operator delete(void* memory, size_t) noexcept { free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { free(memory); }

namespace {

constexpr uint32_t kOctober2003 = 2003 * 65536 + 10;
constexpr int kLoadRecords = 100000;
constexpr int kWriteRecords = 10000;
// A full month for the year at a glance: a slice every two and a quarter minutes, day and night.
constexpr int kYearMonthRecords = 20000;
constexpr uint16_t kYear = 2004;

void addTariff()
{
    if (TariffTable[0] != nullptr)
        return;
    Rate* rate = new Rate {};
    rate->unit = 4;
    rate->ltimeb = 28800;
    rate->ltimee = 64800;
    rate->ldays = 0xC0;
    const uint32_t amounts[4] = { 600, 1200, 100000, 500000 };
    memcpy(rate->amount, amounts, sizeof amounts);
    for (int i = 0; i < 7; ++i)
        rate->cost[i] = 0.01 * (i + 1);
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    settings.holidays[0].packedDate = packDate(2003, 10, 3);
}

// A month of `count` slices spread over its days, through the program's own writer.
void writeMonth(int count, uint32_t key = kOctober2003)
{
    MonthStats month {};
    month.key = key;
    for (int i = 0; i < count; ++i) {
        LogRecord* record = new LogRecord {};
        record->start = LocalTime { uint16_t(key >> 16), uint16_t(key & 0xFFFF), 0, uint16_t(1 + i % 28),
            uint16_t(i % 24), uint16_t(i % 60), uint16_t(i * 7 % 60), 0 };
        record->dur = uint32_t(30 + i % 7200);
        record->rx = uint32_t(i) * 104729u;
        record->rxp = uint32_t(i % 5000);
        record->tx = uint32_t(i) * 7919u;
        record->txp = uint32_t(i % 3000);
        appendMonthRecord(month, record);
    }
    if (!writeMonthLog(month))
        abort();
    clearMonthStats(month);
}

// Time per record, from the records handled in each iteration.
benchmark::Counter perRecord(int records)
{
    return benchmark::Counter(
        double(records), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_GzgetsFloor(benchmark::State& state)
{
    static char line[65536];
    uint64_t lines = 0;
    for (auto _ : state) {
        gzFile file = gzopen(fuzzPath("log_200310.zip"), "rb");
        while (gzgets(file, line, sizeof line) != nullptr)
            ++lines;
        gzclose(file);
    }
    benchmark::DoNotOptimize(lines);
    state.counters["per_record"] = perRecord(kLoadRecords);
}

// The same loop with the larger buffer the month reader asks for: what is left is the
// reader's own work.
void BM_GzgetsFloorSameBuffer(benchmark::State& state)
{
    static char line[65536];
    uint64_t lines = 0;
    for (auto _ : state) {
        gzFile file = gzopen(fuzzPath("log_200310.zip"), "rb");
        gzbuffer(file, 65536);
        while (gzgets(file, line, sizeof line) != nullptr)
            ++lines;
        gzclose(file);
    }
    benchmark::DoNotOptimize(lines);
    state.counters["per_record"] = perRecord(kLoadRecords);
}

// The program's own reader, which reads the file whole first: what it costs before any parsing.
void BM_GzReaderFloor(benchmark::State& state)
{
    static char line[65536];
    uint64_t lines = 0;
    for (auto _ : state) {
        GzReader file(fuzzPath("log_200310.zip"));
        while (file.gets(line, sizeof line) != nullptr)
            ++lines;
    }
    benchmark::DoNotOptimize(lines);
    state.counters["per_record"] = perRecord(kLoadRecords);
}

void BM_LoadMonth(benchmark::State& state)
{
    addTariff();
    uint64_t before = allocations;
    for (auto _ : state) {
        before = allocations;
        if (!loadMonth(kOctober2003))
            abort();
    }
    const uint64_t perLoad = allocations - before;
    state.counters["per_record"] = perRecord(kLoadRecords);
    state.counters["allocations_per_record"] = double(perLoad) / kLoadRecords;
    clearMonthStats(heldMonth);
}

void BM_WriteMonthLog(benchmark::State& state)
{
    loadMonth(kOctober2003);
    MonthStats month {};
    month.key = kOctober2003;
    int count = 0;
    for (LogRecord* record = heldMonth.records.head; record != nullptr && count < kWriteRecords; ++count) {
        appendMonthRecord(month, new LogRecord(*record));
        record = record->next;
    }
    clearMonthStats(heldMonth);
    for (auto _ : state)
        if (!writeMonthLog(month))
            abort();
    state.counters["per_record"] = perRecord(kWriteRecords);
    clearMonthStats(month);
}

void BM_ComputeCost(benchmark::State& state)
{
    addTariff();
    LogRecord records[64];
    for (int i = 0; i < 64; ++i)
        records[i] = LogRecord { nullptr, uint32_t(i) * 99991u, 1, uint32_t(i) * 7u, 1,
            LocalTime { 2003, 10, uint16_t(i % 7), uint16_t(1 + i % 31), uint16_t(i % 24), 0, 0, 0 },
            uint32_t(60 * i) };
    FreeUnitCounters counters {};
    const uint64_t before = allocations;
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(computeCost(counters, records[i++ & 63], 0));
    }
    state.counters["allocations"] = double(allocations - before);
    state.SetItemsProcessed(state.iterations());
}

// The year at a glance of twelve full months, as the window reads it outside its paint and as
// /export YYYY reads it; with a billing day the month before the year is read as well.
void BM_ReadYear(benchmark::State& state)
{
    addTariff();
    TariffTable[0]->billingDay = uint32_t(state.range(0));
    static YearTotals totals;
    for (auto _ : state)
        if (!readYear(kYear, 0, totals))
            abort();
    state.counters["per_record"] = perRecord(12 * kYearMonthRecords);
    TariffTable[0]->billingDay = 1;
}

BENCHMARK(BM_GzgetsFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GzgetsFloorSameBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GzReaderFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteMonthLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeCost);
BENCHMARK(BM_ReadYear)->Arg(1)->Arg(15)->Unit(benchmark::kMillisecond);

// Keeps the time per iteration of each benchmark (the mean when repeated), so the loadMonth
// ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean")
                means[name] = run.GetAdjustedCPUTime();
            else if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                sums[name] += run.cpu_accumulated_time / double(run.iterations);
                ++counts[name];
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    double seconds(const std::string& name)
    {
        if (means.count(name) != 0)
            return means[name];
        return counts[name] > 0 ? sums[name] / counts[name] : 0.0;
    }

private:
    std::map<std::string, double> means, sums;
    std::map<std::string, int> counts;
};

} // namespace

int main(int argc, char** argv)
{
    setUpFuzzDirectory("bench");
    resetSettings();
    writeMonth(kLoadRecords);
    for (uint32_t month = 1; month <= 12; ++month)
        writeMonth(kYearMonthRecords, uint32_t(kYear) * 65536u + month);
    writeMonth(kYearMonthRecords, uint32_t(kYear - 1) * 65536u + 12);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double floor = reporter.seconds("BM_GzgetsFloor");
    const double floorSameBuffer = reporter.seconds("BM_GzgetsFloorSameBuffer");
    const double load = reporter.seconds("BM_LoadMonth");
    if (floor > 0 && load > 0)
        printf("loadMonth / bare gzgets loop (CPU time): %.2f (limit 1.50)\n", load / floor);
    if (floorSameBuffer > 0 && load > 0)
        printf("loadMonth / gzgets loop with the reader's 64 KiB buffer: %.2f\n", load / floorSameBuffer);
    const double reader = reporter.seconds("BM_GzReaderFloor");
    if (floor > 0 && reader > 0)
        printf("the program's line reader / bare gzgets loop: %.2f\n", reader / floor);
    benchmark::Shutdown();
    return 0;
}
