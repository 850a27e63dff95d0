#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/gzfile.h"
#include "core/platform.h"
#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "log/monthlog.h"
#include "log/statistics.h"
#include "monitor/liveconnections.h"
#include "monitor/slicelog.h"
#include "support.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kOctober2003 = 2003 * 65536 + 10;
constexpr uint32_t kNovember2003 = 2003 * 65536 + 11;

class MonthLog : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetSettings();
        freeTariffs();
        clearMonthCache();
        fakePlatform.messages[kErrorTagLine] = "Bad line in %3; original kept as %4.";
        october = std::string(programDirectory) + "log_200310.zip";
    }
    void TearDown() override
    {
        clearMonthCache();
        freeTariffs();
    }
    std::string october;
};

LogRecord* newRecord(uint16_t day, uint16_t hour, uint16_t minute, uint16_t second, uint32_t dur, uint32_t rx,
    uint32_t rxp, uint32_t tx, uint32_t txp)
{
    LogRecord* record = new LogRecord {};
    record->start = LocalTime { 2003, 10, 0, day, hour, minute, second, 0 };
    record->dur = dur;
    record->rx = rx;
    record->rxp = rxp;
    record->tx = tx;
    record->txp = txp;
    return record;
}

std::vector<const LogRecord*> listOf(const MonthStats& month)
{
    std::vector<const LogRecord*> records;
    for (const LogRecord* record = month.records.head; record != nullptr; record = record->next)
        records.push_back(record);
    return records;
}

TEST_F(MonthLog, BlockIsWrittenByteForByte)
{
    MonthStats month {};
    month.key = kOctober2003;
    appendMonthRecord(month, newRecord(5, 14, 3, 20, 754, 120000, 400, 30000, 350));
    ASSERT_TRUE(writeMonthLog(month));
    EXPECT_EQ(readGzipFile(october),
        "<log>\r\n"
        "\t<day>5</day>\r\n"
        "\t<time>50600</time>\r\n"
        "\t<dur>754</dur>\r\n"
        "\t<rx>120000</rx>\r\n"
        "\t<rxp>400</rxp>\r\n"
        "\t<tx>30000</tx>\r\n"
        "\t<txp>350</txp>\r\n"
        "</log>\r\n");
    EXPECT_FALSE(fileExists(october + ".tmp"));
    clearMonthStats(month);
}

TEST_F(MonthLog, RoundTripKeepsOrderAndLargeValuesAndFillsTheDayOfWeek)
{
    MonthStats month {};
    month.key = kOctober2003;
    appendMonthRecord(month, newRecord(5, 14, 3, 20, 754, 120000, 400, 30000, 350));
    appendMonthRecord(
        month, newRecord(31, 23, 59, 59, 2200000000u, 4000000000u, 4294967295u, 3000000000u, 2147483648u));
    appendMonthRecord(month, newRecord(1, 0, 0, 0, 0, 0, 0, 0, 0));
    ASSERT_TRUE(writeMonthLog(month));

    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_TRUE(fakePlatform.boxes.empty());
    const std::vector<const LogRecord*> loaded = listOf(heldMonth);
    const std::vector<const LogRecord*> written = listOf(month);
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(heldMonth.records.tail, loaded.back());
    const uint16_t weekdays[3] = { 0, 5, 3 }; // 5 Oct 2003 a Sunday, the 31st a Friday, the 1st a Wednesday
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        LocalTime expected = written[i]->start;
        expected.dayOfWeek = weekdays[i];
        EXPECT_EQ(memcmp(&loaded[i]->start, &expected, sizeof expected), 0);
        EXPECT_EQ(loaded[i]->dur, written[i]->dur);
        EXPECT_EQ(loaded[i]->rx, written[i]->rx);
        EXPECT_EQ(loaded[i]->rxp, written[i]->rxp);
        EXPECT_EQ(loaded[i]->tx, written[i]->tx);
        EXPECT_EQ(loaded[i]->txp, written[i]->txp);
    }
    clearMonthStats(month);
}

TEST_F(MonthLog, LoadingSumsPerMonthAndDay)
{
    // Received and sent are summed in 64 bits: 4,000,000,000 + 3,000,000,000 is 7,000,000,000.
    // The slice from 23:50 on the 3rd lasting 20 minutes counts wholly under the 3rd.
    writeGzipFile(october,
        logBlock(5, 50600, 754, 120000, 400, 30000, 350) + "\r\n\r\n" + logBlock(5, 60000, 46, 1000, 1, 0, 0)
            + logBlock(31, 0, 100, 4000000000u, 1, 3000000000u, 1) + logBlock(3, 85800, 1200, 10, 1, 10, 1));
    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(heldMonth.volume[5], 151000);
    EXPECT_EQ(heldMonth.volume[31], 7000000000);
    EXPECT_EQ(heldMonth.volume[3], 20);
    EXPECT_EQ(heldMonth.volume[4], 0);
    EXPECT_EQ(heldMonth.volume[0], 151000 + 7000000000 + 20);
    EXPECT_EQ(heldMonth.onlineTime[5], 800);
    EXPECT_EQ(heldMonth.onlineTime[31], 100);
    EXPECT_EQ(heldMonth.onlineTime[3], 1200);
    EXPECT_EQ(heldMonth.onlineTime[0], 2100);
    EXPECT_EQ(heldMonth.cost[0], 0.0); // no tariff defined

    // The same file priced by a seconds tariff with 800 free seconds at 0.01 and a 5 % correction.
    Rate* rate = new Rate {};
    rate->unit = 3;
    rate->amount[0] = 800;
    rate->amount[2] = 100000;
    rate->cost[1] = 0.01;
    TariffTable[0] = rate;
    settings.volumeCorrection = 500;
    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_NEAR(heldMonth.cost[5], 0.0, 1e-12);
    EXPECT_NEAR(heldMonth.cost[31], 100 * 0.01, 1e-9);
    EXPECT_NEAR(heldMonth.cost[3], 1200 * 0.01, 1e-9);
    EXPECT_NEAR(heldMonth.cost[0], 1300 * 0.01, 1e-9);
    EXPECT_EQ(heldMonth.counters.fromBillingDay.used[0], 2100);
    EXPECT_EQ(heldMonth.volume[5], 142500 + 950); // 150,000 and 1,000 bytes less 5 %
}

TEST_F(MonthLog, MissingFileIsAnEmptyMonth)
{
    heldMonth.volume[0] = 5;
    ASSERT_TRUE(loadMonth(kNovember2003));
    EXPECT_EQ(heldMonth.records.head, nullptr);
    EXPECT_EQ(heldMonth.records.tail, nullptr);
    MonthStats empty;
    memset(&empty, 0, sizeof empty);
    empty.key = kNovember2003;
    EXPECT_EQ(memcmp(&heldMonth, &empty, sizeof empty), 0);
    EXPECT_TRUE(fakePlatform.boxes.empty());
}

TEST_F(MonthLog, KeyZeroLoadsTheMonthOfTheClockIntoTheCurrentMonth)
{
    fakePlatform.now = LocalTime { 2003, 10, 3, 15, 14, 3, 20, 0 };
    writeGzipFile(october, logBlock(5, 50600, 754, 120000, 400, 30000, 350));
    ASSERT_TRUE(loadMonth(0));
    EXPECT_EQ(listOf(currentMonth).size(), 1u);
    EXPECT_EQ(currentMonth.onlineTime[0], 754);
    EXPECT_EQ(heldMonth.records.head, nullptr);
}

TEST_F(MonthLog, FormatErrorsStopReadingAndKeepTheCompletedRecords)
{
    const std::string good = logBlock(5, 50600, 754, 120000, 400, 30000, 350);
    const std::string open = "<log>\r\n\t<day>6</day>\r\n\t<time>3600</time>\r\n\t<dur>10</dur>\r\n";
    struct Case {
        const char* what;
        std::string content;
    } cases[] = {
        { "missing </log> at the end", good + open },
        { "log opened and closed on one line", good + "<log></log>\r\n" + good },
        { "second <log> inside a block", good + open + good },
        { "data tag outside a block", good + "\t<day>5</day>\r\n" + good },
        { "data tag without its closing tag", good + open + "\t<rx>5\r\n</log>\r\n" },
        { "unknown tag", good + open + "\t<colour>5</colour>\r\n</log>\r\n" },
        { "day the month does not have", good + logBlock(32, 0, 1, 1, 1, 1, 1) },
        { "day 0", good + logBlock(0, 0, 1, 1, 1, 1, 1) },
        { "time of 86,400 seconds", good + logBlock(7, 86400, 1, 1, 1, 1, 1) },
        { "block without a day", good + "<log>\r\n\t<time>60</time>\r\n</log>\r\n" },
        { "line longer than 65,535 characters",
            good + open + "\t<rx>" + std::string(66000, '1') + "</rx>\r\n</log>\r\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetFakePlatform();
        fakePlatform.messages[kErrorTagLine] = "Bad line in %3; original kept as %4.";
        writeGzipFile(october, c.content);
        ASSERT_TRUE(readMonthFile(kOctober2003, heldMonth));
        ASSERT_EQ(fakePlatform.boxes.size(), 1u);
        EXPECT_EQ(fakePlatform.boxes[0].text, "Bad line in " + october + "; original kept as " + october + ".damaged.");
        EXPECT_EQ(AppError, kNothingPending);
        // The one completed record is in the list and the sums; the open one is dropped.
        const std::vector<const LogRecord*> records = listOf(heldMonth);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(heldMonth.records.tail, records[0]);
        EXPECT_EQ(records[0]->dur, 754u);
        EXPECT_EQ(heldMonth.onlineTime[0], 754);
        EXPECT_EQ(heldMonth.onlineTime[6], 0);
        EXPECT_EQ(readPlainFile(october + ".damaged"), readPlainFile(october));
    }

    // A month log without a gzip header: zlib would read the text as it stands.
    writePlainFile(october, good);
    ASSERT_TRUE(readMonthFile(kOctober2003, heldMonth));
    EXPECT_EQ(fakePlatform.boxes.size(), 2u);
    EXPECT_EQ(heldMonth.records.head, nullptr);
    EXPECT_EQ(readPlainFile(october + ".damaged2"), good);

    // The 31st is refused in November.
    const std::string november = std::string(programDirectory) + "log_200311.zip";
    writeGzipFile(november, logBlock(30, 0, 1, 1, 1, 1, 1) + logBlock(31, 0, 1, 1, 1, 1, 1));
    ASSERT_TRUE(readMonthFile(kNovember2003, heldMonth));
    EXPECT_EQ(listOf(heldMonth).size(), 1u);
    EXPECT_EQ(fakePlatform.boxes.size(), 3u);

    // The program's own reading of a month (from a paint, a tick, a tip) waits with its report
    // until that work is done: a box's loop would deliver the next tick in the middle of it.
    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_EQ(fakePlatform.boxes.size(), 3u);
    EXPECT_EQ(showDeferredReports(), 1u);
}

TEST_F(MonthLog, OpenRecordAloneIsDroppedFromAnEmptyList)
{
    writeGzipFile(october, "<log>\r\n\t<day>6</day>\r\n");
    ASSERT_TRUE(readMonthFile(kOctober2003, heldMonth));
    EXPECT_EQ(heldMonth.records.head, nullptr);
    EXPECT_EQ(heldMonth.records.tail, nullptr);
    EXPECT_EQ(fakePlatform.boxes.size(), 1u);
}

TEST_F(MonthLog, AReaderNeverKeepsTheLogFromBeingReplaced)
{
    // Another telvane exporting the month reads the log while this one writes a new one over it:
    // the reader has it all in memory at once, and Windows lets the new log take its name.
    writeGzipFile(october, logBlock(5, 50600, 754, 120000, 400, 30000, 350));
    writeGzipFile(october + ".new", logBlock(6, 0, 60, 1, 1, 1, 1));
    GzReader reader(october.c_str());
    EXPECT_TRUE(replaceFile((october + ".new").c_str(), october.c_str()));
    char line[64];
    ASSERT_NE(reader.gets(line, sizeof line), nullptr);
    EXPECT_STREQ(line, "<log>\r\n");
    EXPECT_EQ(readGzipFile(october), logBlock(6, 0, 60, 1, 1, 1, 1));
}

TEST_F(MonthLog, FailedWritesKeepTheOldFile)
{
    MonthStats month {};
    month.key = kOctober2003;
    appendMonthRecord(month, newRecord(5, 14, 3, 20, 754, 120000, 400, 30000, 350));
    ASSERT_TRUE(writeMonthLog(month));
    const std::string before = readGzipFile(october);
    appendMonthRecord(month, newRecord(6, 1, 0, 0, 5, 5, 5, 5, 5));

    std::filesystem::create_directory(october + ".tmp");
    EXPECT_FALSE(writeMonthLog(month));
    EXPECT_EQ(AppError, kErrorMonthLogCreate);
    EXPECT_EQ(readGzipFile(october), before);
    std::filesystem::remove(october + ".tmp");

#ifndef _WIN32
    // The disk fills up half-way through the write.
    std::filesystem::create_symlink("/dev/full", october + ".tmp");
    AppError = kNothingPending;
    EXPECT_FALSE(writeMonthLog(month));
    EXPECT_EQ(AppError, kErrorMonthLogCreate);
    EXPECT_EQ(readGzipFile(october), before);
    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(listOf(heldMonth).size(), 1u);
#endif

    // The next successful write includes the record that could not be written.
    AppError = kNothingPending;
    ASSERT_TRUE(writeMonthLog(month));
    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_EQ(listOf(heldMonth).size(), 2u);
    clearMonthStats(month);
}

TEST_F(MonthLog, RecordFromSliceTakesTheWholeElapsedTime)
{
    LiveConnection connection {};
    connection.sliceStart = LocalTime { 2003, 10, 3, 15, 14, 0, 0, 0 };
    connection.sliceStartMs = monotonicAt(connection.sliceStart);
    connection.bytesReceived = 2000000;
    connection.packetsReceived = 1500;
    connection.bytesSent = 500000;
    connection.packetsSent = 900;

    struct Case {
        const char* what;
        LocalTime now;
        uint32_t dur;
    } cases[] = {
        { "200 seconds", { 2003, 10, 3, 15, 14, 3, 20, 0 }, 200 },
        { "over midnight", { 2003, 10, 4, 16, 0, 10, 0, 0 }, 36600 },
        { "25 hours", { 2003, 10, 4, 16, 15, 0, 0, 0 }, 90000 },
        { "into the next month", { 2003, 11, 6, 1, 14, 0, 0, 0 }, 17 * 86400 },
        { "under a second", { 2003, 10, 3, 15, 14, 0, 0, 999 }, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fakePlatform.now = c.now;
        LogRecord record {};
        record.next = &record;
        ASSERT_TRUE(recordFromSlice(&record, &connection));
        EXPECT_EQ(record.next, nullptr);
        EXPECT_EQ(record.dur, c.dur);
        EXPECT_EQ(record.rx, 2000000u);
        EXPECT_EQ(record.rxp, 1500u);
        EXPECT_EQ(record.tx, 500000u);
        EXPECT_EQ(record.txp, 900u);
        EXPECT_EQ(memcmp(&record.start, &connection.sliceStart, sizeof record.start), 0);
    }

    // Milliseconds count: 14:00:00.600 to 14:00:01.500 is 0.9 s.
    connection.sliceStart.milliseconds = 600;
    connection.sliceStartMs = monotonicAt(connection.sliceStart);
    fakePlatform.now = LocalTime { 2003, 10, 3, 15, 14, 0, 1, 500 };
    LogRecord record {};
    ASSERT_TRUE(recordFromSlice(&record, &connection));
    EXPECT_EQ(record.dur, 0u);

    EXPECT_FALSE(recordFromSlice(nullptr, &connection));
    record.dur = 77;
    EXPECT_FALSE(recordFromSlice(&record, nullptr));
    EXPECT_EQ(record.dur, 77u);
}

TEST_F(MonthLog, EveryRecordTheProgramLogsReadsBack)
{
    // From the first second of the 1st to the last second of the 31st, no time and no traffic
    // to every counter full; and the 29th of February of a leap year.
    MonthStats month {};
    month.key = kOctober2003;
    appendMonthRecord(month, newRecord(1, 0, 0, 0, 0, 0, 0, 0, 0));
    appendMonthRecord(month, newRecord(31, 23, 59, 59, UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX, UINT32_MAX));
    MonthStats leap {};
    leap.key = 2004 * 65536 + 2;
    LogRecord* leapDay = newRecord(29, 12, 0, 0, 60, 1, 1, 1, 1);
    leapDay->start.year = 2004;
    leapDay->start.month = 2;
    appendMonthRecord(leap, leapDay);
    ASSERT_TRUE(writeMonthLog(month));
    ASSERT_TRUE(writeMonthLog(leap));

    for (const MonthStats* written : { &month, &leap }) {
        ASSERT_TRUE(loadMonth(written->key));
        EXPECT_TRUE(fakePlatform.boxes.empty());
        const std::vector<const LogRecord*> loaded = listOf(heldMonth);
        const std::vector<const LogRecord*> expected = listOf(*written);
        ASSERT_EQ(loaded.size(), expected.size());
        for (size_t i = 0; i < loaded.size(); ++i) {
            SCOPED_TRACE(i);
            LocalTime start = expected[i]->start;
            start.dayOfWeek = loaded[i]->start.dayOfWeek;
            EXPECT_EQ(memcmp(&loaded[i]->start, &start, sizeof start), 0);
            EXPECT_EQ(loaded[i]->dur, expected[i]->dur);
            EXPECT_EQ(loaded[i]->rx, expected[i]->rx);
            EXPECT_EQ(loaded[i]->rxp, expected[i]->rxp);
            EXPECT_EQ(loaded[i]->tx, expected[i]->tx);
            EXPECT_EQ(loaded[i]->txp, expected[i]->txp);
        }
    }
    EXPECT_EQ(heldMonth.records.head->start.dayOfWeek, 0); // 29 February 2004 was a Sunday
    ASSERT_TRUE(loadMonth(kOctober2003));
    EXPECT_EQ(heldMonth.volume[31], 2 * int64_t(UINT32_MAX));
    EXPECT_EQ(heldMonth.onlineTime[0], int64_t(UINT32_MAX));
    clearMonthStats(month);
    clearMonthStats(leap);
}

} // namespace
