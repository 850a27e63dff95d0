#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "log/monthlog.h"
#include "meter/monthcsv.h"
#include "meter/monthexport.h"
#include "support.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kOctober2003 = 2003 * 65536 + 10;

const CsvHeadings kHeadings = { { "Date", "Start", "Duration (s)", "Received (bytes)", "Received (packets)",
                                    "Sent (bytes)", "Sent (packets)", "Cost (Evening, \"late\")" },
    "Month", "Cost with the fee", "Tariff", "Usage", "Fixed", "Total", nullptr };
const char kHeaderRow[] = "Date,Start,Duration (s),Received (bytes),Received (packets),Sent (bytes),Sent (packets),"
                          "\"Cost (Evening, \"\"late\"\")\"\r\n";

class MonthCsv : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetSettings();
        freeTariffs();
        csv = std::string(programDirectory) + "october.csv";
    }
    void TearDown() override
    {
        clearMonthStats(month);
        freeTariffs();
    }

    // The month as the export reads it: through the month log's own reader.
    void readOctober(const std::string& blocks)
    {
        writeGzipFile(std::string(programDirectory) + "log_200310.zip", blocks);
        ASSERT_TRUE(readMonthFile(kOctober2003, month));
    }

    MonthStats month {};
    std::string csv;
};

TEST_F(MonthCsv, RowsAreTheRecordsPricedInOrderWithAQuotedHeading)
{
    // Minutes: ten free, then 0.05 a minute.
    Rate* rate = new Rate {};
    rate->unit = 4;
    rate->amount[0] = 10;
    rate->amount[2] = 1000;
    rate->cost[1] = 0.05;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    readOctober(logBlock(5, 50600, 754, 120000, 400, 30000, 350) + logBlock(12, 86399, 60, 4294967295u, 2, 3, 4));

    ASSERT_TRUE(writeMonthCsv(csv.c_str(), month, kHeadings));
    // 754 s are 12.5667 minutes, 2.5667 of them beyond the free ten: 0.128333; the next minute
    // lies wholly beyond them: 0.05.
    EXPECT_EQ(readPlainFile(csv),
        std::string(kHeaderRow)
            + "2003-10-05,14:03:20,754,120000,400,30000,350,0.128333\r\n"
              "2003-10-12,23:59:59,60,4294967295,2,3,4,0.050000\r\n");
    EXPECT_FALSE(fileExists(csv + ".tmp"));

    // The same month by day: every day of October, the two records on their days with the same
    // costs, their bytes summed past 32 bits.
    readOctober(logBlock(5, 50600, 754, 120000, 400, 30000, 350) + logBlock(12, 86399, 60, 4294967295u, 2, 3, 4)
        + logBlock(12, 100, 40, 1, 0, 1, 0));
    ASSERT_TRUE(writeDayCsv(csv.c_str(), month, kHeadings));
    std::string days = "Date,Duration (s),Received (bytes),Sent (bytes),\"Cost (Evening, \"\"late\"\")\"\r\n";
    for (int day = 1; day <= 31; ++day) {
        char row[64];
        snprintf(row, sizeof row, "2003-10-%02d,0,0,0,0.000000\r\n", day);
        days += day == 5 ? "2003-10-05,754,120000,30000,0.128333\r\n"
            : day == 12  ? "2003-10-12,100,4294967296,4,0.083333\r\n"
                         : row;
    }
    EXPECT_EQ(readPlainFile(csv), days);
}

// The form a spreadsheet on this computer opens into columns: its list separator between the
// fields, its decimal sign in the cost, and a byte-order mark that says UTF-8.
TEST_F(MonthCsv, TheSpreadsheetFormTakesThisComputersSeparators)
{
    Rate* rate = new Rate {};
    rate->unit = 4;
    rate->amount[0] = 10;
    rate->amount[2] = 1000;
    rate->cost[1] = 0.05;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    readOctober(logBlock(5, 50600, 754, 120000, 400, 30000, 350));

    const CsvFormat german = { ";", ",", true };
    ASSERT_TRUE(writeMonthCsv(csv.c_str(), month, kHeadings, german));
    // The heading's comma no longer needs quotes; its quotes still do.
    EXPECT_EQ(readPlainFile(csv),
        "\xEF\xBB\xBF"
        "Date;Start;Duration (s);Received (bytes);Received (packets);Sent (bytes);Sent (packets);"
        "\"Cost (Evening, \"\"late\"\")\"\r\n"
        "2003-10-05;14:03:20;754;120000;400;30000;350;0,128333\r\n");

    ASSERT_TRUE(writeDayCsv(csv.c_str(), month, kHeadings, german));
    const std::string days = readPlainFile(csv);
    EXPECT_NE(days.find("\r\n2003-10-05;754;120000;30000;0,128333\r\n"), std::string::npos) << days;
    EXPECT_NE(days.find("\r\n2003-10-31;0;0;0;0,000000\r\n"), std::string::npos) << days;

    // A decimal sign that is the separator too: the cost is quoted so it stays one field.
    const CsvFormat commaBoth = { ",", ",", true };
    ASSERT_TRUE(writeMonthCsv(csv.c_str(), month, kHeadings, commaBoth));
    const std::string both = readPlainFile(csv);
    EXPECT_NE(both.find("\r\n2003-10-05,14:03:20,754,120000,400,30000,350,\"0,128333\"\r\n"), std::string::npos)
        << both;
}

TEST_F(MonthCsv, AMonthWithoutRecordsIsTheHeaderAloneAndAFailedWriteLeavesNothing)
{
    readOctober("");
    ASSERT_TRUE(writeMonthCsv(csv.c_str(), month, kHeadings));
    EXPECT_EQ(readPlainFile(csv), kHeaderRow);

    const std::string nowhere = std::string(programDirectory) + "missing-folder/october.csv";
    EXPECT_FALSE(writeMonthCsv(nowhere.c_str(), month, kHeadings));
    EXPECT_FALSE(fileExists(nowhere));
}

// The export's steps, as the command line runs them: each way it can end has its own exit code,
// and nothing but a whole month makes a file.
TEST_F(MonthCsv, ExportStepsAnswerEachFailureWithItsExitCode)
{
    const std::string october = std::string(programDirectory) + "log_200310.zip";
    ExportRequest request {};
    request.kind = ExportRequestKind::month;
    request.monthKey = kOctober2003;
    snprintf(request.path, sizeof request.path, "%s", csv.c_str());

    // No log for the month.
    EXPECT_EQ(exportMonthFile(request, kHeadings), kExportNoMonth);
    EXPECT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_FALSE(fileExists(csv));

    // A log read only in part: its format error is reported as it is read.
    writeGzipFile(october, logBlock(5, 50600, 754, 120000, 400, 30000, 350) + "<log>\r\n\t<colour>5</colour>\r\n");
    EXPECT_EQ(exportMonthFile(request, kHeadings), kExportDamaged);
    EXPECT_EQ(fakePlatform.boxes.size(), 2u);
    EXPECT_FALSE(fileExists(csv));

    writeGzipFile(october, logBlock(5, 50600, 754, 120000, 400, 30000, 350));
    ExportRequest nowhere = request;
    snprintf(nowhere.path, sizeof nowhere.path, "%smissing-folder/october.csv", programDirectory);
    EXPECT_EQ(exportMonthFile(nowhere, kHeadings), kExportNotWritten);
    EXPECT_EQ(fakePlatform.boxes.size(), 3u);

    EXPECT_EQ(exportMonthFile(request, kHeadings), kExportDone);
    EXPECT_EQ(fakePlatform.boxes.size(), 3u);
    EXPECT_EQ(
        readPlainFile(csv), std::string(kHeaderRow) + "2003-10-05,14:03:20,754,120000,400,30000,350,0.000000\r\n");

    // A month telvane could only set aside whole beside its log at exit is read from there; 3 GiB
    // received and 1.5 GiB sent at 1 a megabyte cost 3072 + 1536.
    Rate* rate = new Rate {};
    rate->unit = 1;
    rate->amount[2] = 100000;
    rate->cost[1] = 1.0;
    TariffTable[0] = rate;
    settings.activeTariff = 0;
    std::remove(october.c_str());
    writeGzipFile(october + ".pending", logBlock(6, 0, 60, 3221225472u, 1, 1610612736u, 1));
    EXPECT_EQ(exportMonthFile(request, kHeadings), kExportDone);
    EXPECT_EQ(fakePlatform.boxes.size(), 3u);
    EXPECT_EQ(readPlainFile(csv),
        std::string(kHeaderRow) + "2003-10-06,00:00:00,60,3221225472,1,1610612736,1,4608.000000\r\n");
}

TEST(CsvField, QuotesOnlyWhatNeedsIt)
{
    struct Case {
        const char* text;
        const char* field;
    } cases[] = {
        { "plain text", "plain text" },
        { "a,b", "\"a,b\"" },
        { "say \"hi\"", "\"say \"\"hi\"\"\"" },
        { "two\r\nlines", "\"two\r\nlines\"" },
        { "", "" },
        { "Kosten (Wochenende)", "Kosten (Wochenende)" },
    };
    for (const Case& c : cases) {
        char field[64];
        ASSERT_TRUE(csvField(c.text, field, sizeof field)) << c.text;
        EXPECT_STREQ(field, c.field);
    }
    char small[4];
    EXPECT_FALSE(csvField("a,b", small, sizeof small)); // five bytes with the quotes

    // With another separator, that one needs the quotes and the comma none.
    char field[64];
    ASSERT_TRUE(csvField("a,b", field, sizeof field, ";"));
    EXPECT_STREQ(field, "a,b");
    ASSERT_TRUE(csvField("a;b", field, sizeof field, ";"));
    EXPECT_STREQ(field, "\"a;b\"");
}

TEST(ExportRequest, CommandLineNamesAMonthAndOneFile)
{
    struct Case {
        const char* line;
        ExportRequestKind kind;
        uint32_t monthKey;
        const char* path;
        bool days = false;
        bool local = false;
    } cases[] = {
        { "/export 2024-05 out.csv", ExportRequestKind::month, 2024 * 65536 + 5, "out.csv" },
        { "  /EXPORT 1999-12 \"C:\\My Files\\dec.csv\"  ", ExportRequestKind::month, 1999 * 65536 + 12,
            "C:\\My Files\\dec.csv" },
        { "", ExportRequestKind::none, 0, "" },
        { "/exports 2024-05 out.csv", ExportRequestKind::none, 0, "" },
        { "out.csv /export 2024-05", ExportRequestKind::none, 0, "" },
        { "/export 2024-13 out.csv", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-5 out.csv", ExportRequestKind::malformed, 0, "" },
        { "/export 1600-01 out.csv", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05 \"\"", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05 out.csv more.csv", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05 out.csv /DAYS", ExportRequestKind::month, 2024 * 65536 + 5, "out.csv", true },
        { "/export 2024-05 out.csv /days more", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05 out.csv /local", ExportRequestKind::month, 2024 * 65536 + 5, "out.csv", false, true },
        { "/export 2024-05 out.csv /Local /days", ExportRequestKind::month, 2024 * 65536 + 5, "out.csv", true, true },
        { "/export 2024-05 out.csv /days /local", ExportRequestKind::month, 2024 * 65536 + 5, "out.csv", true, true },
        { "/export 2024-05 out.csv /local /LOCAL", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05 out.csv /days /days", ExportRequestKind::malformed, 0, "" },
        { "/export 2024-05 out.csv /locale", ExportRequestKind::malformed, 0, "" },
        { "/export 2024 year.csv", ExportRequestKind::year, 2024 * 65536 + 1, "year.csv" },
        { "/export 2024 year.csv /days", ExportRequestKind::malformed, 0, "" },
        { "/export 202 year.csv", ExportRequestKind::malformed, 0, "" },
        { "/export 1600 year.csv", ExportRequestKind::malformed, 0, "" },
        { "/Compare 2024-05 \"tariffs may.csv\"", ExportRequestKind::compare, 2024 * 65536 + 5, "tariffs may.csv" },
        { "/compare 2024 tariffs.csv", ExportRequestKind::malformed, 0, "" },
        { "/compare 2024-05", ExportRequestKind::malformed, 0, "" },
        { "/compare 2024-05 tariffs.csv /days", ExportRequestKind::malformed, 0, "" },
        { "/export 2024 year.csv /local", ExportRequestKind::year, 2024 * 65536 + 1, "year.csv", false, true },
        { "/compare 2024-05 tariffs.csv /LOCAL", ExportRequestKind::compare, 2024 * 65536 + 5, "tariffs.csv", false,
            true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ExportRequest request = parseExportRequest(c.line);
        EXPECT_EQ(request.kind, c.kind);
        if (c.kind != ExportRequestKind::none && c.kind != ExportRequestKind::malformed) {
            EXPECT_EQ(request.monthKey, c.monthKey);
            EXPECT_STREQ(request.path, c.path);
            EXPECT_EQ(request.days, c.days);
            EXPECT_EQ(request.local, c.local);
        }
    }
    // A file name longer than a path can be is no request either.
    const std::string longLine = "/export 2024-05 " + std::string(300, 'x');
    EXPECT_EQ(parseExportRequest(longLine.c_str()).kind, ExportRequestKind::malformed);
}

} // namespace
