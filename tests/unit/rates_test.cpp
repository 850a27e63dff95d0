#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/apperror.h"
#include "core/programdirectory.h"
#include "fakes/fakeplatform.h"
#include "support.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

class RatesFile : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        resetSettings();
        freeTariffs();
        fakePlatform.messages[kErrorTagLine] = "Bad line in %3; original kept as %4.";
        path = std::string(programDirectory) + "rates.zip";
    }
    void TearDown() override { freeTariffs(); }

    static Rate* addTariff(const Rate& rate)
    {
        const int slot = tariffCount();
        TariffTable[slot] = new Rate(rate);
        return TariffTable[slot];
    }

    std::string path;
};

Rate nightAndDay()
{
    Rate rate {};
    strcpy(rate.name, "Night & Day >");
    rate.ltimeb = 28800;
    rate.ltimee = 64800;
    rate.ldays = (1u << 5) | (1u << 6); // Saturday and Sunday
    strcpy(rate.precision, "2");
    rate.unit = 4;
    const uint32_t amounts[4] = { 60, 120, 1000, 0 };
    const double costs[7] = { 9.95, 0.05, 0.01, 0.04, 0.008, 0.03, 0.005 };
    memcpy(rate.amount, amounts, sizeof amounts);
    memcpy(rate.cost, costs, sizeof costs);
    return rate;
}

const char* const kNightAndDayBlock = "<rate>\r\n"
                                      "\t<name>Night & Day ></name>\r\n"
                                      "\t<ltimeb>28800</ltimeb>\r\n"
                                      "\t<ltimee>64800</ltimee>\r\n"
                                      "\t<ldays>00000110</ldays>\r\n"
                                      "\t<precision>2</precision>\r\n"
                                      "\t<unit>4</unit>\r\n"
                                      "\t<amount>60</amount>\r\n"
                                      "\t<amount>120</amount>\r\n"
                                      "\t<amount>1000</amount>\r\n"
                                      "\t<amount>0</amount>\r\n"
                                      "\t<cost>9.950000</cost>\r\n"
                                      "\t<cost>0.050000</cost>\r\n"
                                      "\t<cost>0.010000</cost>\r\n"
                                      "\t<cost>0.040000</cost>\r\n"
                                      "\t<cost>0.008000</cost>\r\n"
                                      "\t<cost>0.030000</cost>\r\n"
                                      "\t<cost>0.005000</cost>\r\n"
                                      "</rate>\r\n";

void expectSameRate(const Rate& actual, const Rate& expected)
{
    EXPECT_STREQ(actual.name, expected.name);
    EXPECT_EQ(actual.ldays, expected.ldays);
    EXPECT_EQ(actual.ltimeb, expected.ltimeb);
    EXPECT_EQ(actual.ltimee, expected.ltimee);
    EXPECT_STREQ(actual.precision, expected.precision);
    EXPECT_EQ(actual.unit, expected.unit);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(actual.amount[i], expected.amount[i]) << "amount " << i;
    for (int i = 0; i < 7; ++i)
        EXPECT_DOUBLE_EQ(actual.cost[i], expected.cost[i]) << "cost " << i;
    EXPECT_EQ(billingDayOf(&actual), billingDayOf(&expected));
}

TEST_F(RatesFile, WritesTheExactFormatAndReadsEveryFieldBack)
{
    addTariff(nightAndDay());
    Rate second {};
    strcpy(second.name, "Volume");
    second.ltimeb = 86399; // the last second of a day
    strcpy(second.precision, "3");
    second.unit = 2;
    second.amount[0] = 4294967295u;
    second.cost[1] = 1234567.125;
    second.cost[6] = 0.0000004; // below six places: written with the places it needs
    second.billingDay = 15;
    addTariff(second);
    // Billing day 1 is what a file without the line means: no line is written for it.
    Rate third = nightAndDay();
    third.billingDay = 1;
    addTariff(third);

    ASSERT_TRUE(writeRates());
    EXPECT_FALSE(fileExists(path + ".tmp"));
    const std::string secondBlock
        = "<rate>\r\n\t<name>Volume</name>\r\n\t<ltimeb>86399</ltimeb>\r\n\t<ltimee>0</ltimee>\r\n"
          "\t<ldays>00000000</ldays>\r\n\t<precision>3</precision>\r\n\t<unit>2</unit>\r\n"
          "\t<amount>4294967295</amount>\r\n\t<amount>0</amount>\r\n\t<amount>0</amount>\r\n\t<amount>0</amount>\r\n"
          "\t<cost>0.000000</cost>\r\n\t<cost>1234567.125000</cost>\r\n\t<cost>0.000000</cost>\r\n"
          "\t<cost>0.000000</cost>\r\n\t<cost>0.000000</cost>\r\n\t<cost>0.000000</cost>\r\n\t<cost>0.0000004</"
          "cost>\r\n"
          "\t<billingday>15</billingday>\r\n</rate>\r\n";
    EXPECT_EQ(readGzipFile(path),
        "<version>1</version>\r\n" + std::string(kNightAndDayBlock) + secondBlock + kNightAndDayBlock);

    freeTariffs();
    ASSERT_TRUE(readRates());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    ASSERT_EQ(tariffCount(), 3);
    expectSameRate(*TariffTable[0], nightAndDay());
    EXPECT_EQ(billingDayOf(TariffTable[0]), 1u); // a file without the line
    expectSameRate(*TariffTable[1], second);
    expectSameRate(*TariffTable[2], third);
}

TEST_F(RatesFile, EmptyTableAndFirstStart)
{
    // A first start: no file, no message, no tariffs.
    EXPECT_TRUE(readRates());
    EXPECT_EQ(AppError, kNothingPending);
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(tariffCount(), 0);

    ASSERT_TRUE(writeRates());
    EXPECT_EQ(readGzipFile(path), "<version>1</version>\r\n");
    EXPECT_TRUE(readRates());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(tariffCount(), 0);
}

TEST_F(RatesFile, ExistingFileThatCannotBeReadIsReported)
{
    // A folder in place of the file: it exists, so this is no first start.
    std::filesystem::create_directory(path);
    EXPECT_FALSE(readRates());
    EXPECT_EQ(AppError, kErrorTariffFile);
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_EQ(tariffCount(), 0);

    // Once the file can be read again (a lock released), the table read without it does not
    // replace it before it is kept beside it.
    std::filesystem::remove(path);
    writeGzipFile(path, kNightAndDayBlock);
    const std::string unread = readPlainFile(path);
    addTariff(nightAndDay());
    TariffTable[0]->unit = 1;
    ASSERT_TRUE(writeRates());
    EXPECT_EQ(readPlainFile(path + ".damaged"), unread);
}

TEST_F(RatesFile, VersionZeroFileMapsAmountsAndCosts)
{
    std::string text = "<rate>\r\n\t<name>Old</name>\r\n\t<unit>1</unit>\r\n";
    for (const char* amount : { "10", "20", "30" })
        text += std::string("\t<amount>") + amount + "</amount>\r\n";
    for (int cost = 1; cost <= 8; ++cost)
        text += "\t<cost>" + std::to_string(cost) + "</cost>\r\n";
    text += "</rate>\r\n";
    writeGzipFile(path, text);

    ASSERT_TRUE(readRates());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    ASSERT_EQ(tariffCount(), 1);
    const Rate& rate = *TariffTable[0];
    const uint32_t amounts[4] = { 10, 0, 20, 30 };
    const double costs[7] = { 3, 3, 4, 5, 6, 7, 8 };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rate.amount[i], amounts[i]) << i;
    for (int i = 0; i < 7; ++i)
        EXPECT_DOUBLE_EQ(rate.cost[i], costs[i]) << i;

    // A ninth cost line has no slot left.
    writeGzipFile(path, text.substr(0, text.size() - 9) + "\t<cost>9</cost>\r\n</rate>\r\n");
    EXPECT_TRUE(readRates());
    EXPECT_EQ(fakePlatform.boxes.size(), 1u);
}

TEST_F(RatesFile, FormatErrorsAreReportedOnceAndKeepWhatWasRead)
{
    const std::string good = "<version>1</version>\r\n<rate>\r\n\t<name>Good</name>\r\n</rate>\r\n";
    std::string eightCosts = "<rate>\r\n";
    for (int i = 0; i < 8; ++i)
        eightCosts += "\t<cost>1.5</cost>\r\n";
    std::string tooMany;
    for (int i = 0; i < 257; ++i)
        tooMany += "<rate>\r\n\t<name>T" + std::to_string(i) + "</name>\r\n</rate>\r\n";

    struct Case {
        const char* what;
        std::string content;
        int tariffs; // what stays in the table
    } cases[] = {
        { "rate opened and closed on one line", good + "<rate></rate>\r\n", 1 },
        { "second rate before the first is closed", good + "<rate>\r\n\t<name>Half</name>\r\n<rate>\r\n</rate>\r\n",
            2 },
        { "data tag outside a tariff", good + "\t<name>Loose</name>\r\n", 1 },
        { "data tag without its closing tag", good + "<rate>\r\n\t<name>Open\r\n</rate>\r\n", 2 },
        { "fifth amount",
            good
                + "<rate>\r\n\t<amount>1</amount>\r\n\t<amount>2</amount>\r\n\t<amount>3</amount>\r\n"
                  "\t<amount>4</amount>\r\n\t<amount>5</amount>\r\n</rate>\r\n",
            2 },
        { "eighth cost in a version 1 file", good + eightCosts + "</rate>\r\n", 2 },
        { "unknown tag", good + "<rate>\r\n\t<colour>red</colour>\r\n</rate>\r\n", 2 },
        { "tariff still open at the end", good + "<rate>\r\n\t<name>Cut</name>\r\n", 2 },
        { "unit without a factor refuses its tariff",
            good + "<rate>\r\n\t<name>Bad</name>\r\n\t<unit>6</unit>\r\n</rate>\r\n", 1 },
        { "negative unit", good + "<rate>\r\n\t<unit>-1</unit>\r\n</rate>\r\n", 1 },
        { "a 257th tariff", "<version>1</version>\r\n" + tooMany, 256 },
        // Values the table could not write back as they stand.
        { "a time after the day's end", good + "<rate>\r\n\t<ltimee>86400</ltimee>\r\n</rate>\r\n", 2 },
        { "a time beyond 32 bits", good + "<rate>\r\n\t<ltimeb>99999999999</ltimeb>\r\n</rate>\r\n", 2 },
        { "a time before midnight", good + "<rate>\r\n\t<ltimeb>-5</ltimeb>\r\n</rate>\r\n", 2 },
        { "an amount beyond 32 bits", good + "<rate>\r\n\t<amount>4294967296</amount>\r\n</rate>\r\n", 2 },
        { "a price that is no number", good + "<rate>\r\n\t<cost>nan</cost>\r\n</rate>\r\n", 2 },
        { "an endless price", good + "<rate>\r\n\t<cost>-inf</cost>\r\n</rate>\r\n", 2 },
        { "a price of 316 digits", good + "<rate>\r\n\t<cost>1e308</cost>\r\n</rate>\r\n", 2 },
        { "billing day 0", good + "<rate>\r\n\t<billingday>0</billingday>\r\n</rate>\r\n", 2 },
        { "billing day 29, which February lacks", good + "<rate>\r\n\t<billingday>29</billingday>\r\n</rate>\r\n", 2 },
        { "a file that is no gzip stream", std::string(600, '\0'), 0 },
        { "line longer than 65,535 characters",
            good + "<rate>\r\n\t<name>" + std::string(70000, 'n') + "</name>\r\n</rate>\r\n", 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetFakePlatform();
        fakePlatform.messages[kErrorTagLine] = "Bad line in %3; original kept as %4.";
        if (c.tariffs == 0)
            writePlainFile(path, c.content);
        else
            writeGzipFile(path, c.content);
        EXPECT_TRUE(readRates());
        ASSERT_EQ(fakePlatform.boxes.size(), 1u);
        EXPECT_EQ(fakePlatform.boxes[0].text, "Bad line in " + path + "; original kept as " + path + ".damaged.");
        EXPECT_EQ(AppError, kNothingPending);
        EXPECT_EQ(tariffCount(), c.tariffs);
        if (c.tariffs != 0) {
            EXPECT_STREQ(TariffTable[0]->name, c.tariffs == 256 ? "T0" : "Good");
        }
        EXPECT_EQ(readPlainFile(path + ".damaged"), readPlainFile(path));
    }
}

TEST_F(RatesFile, DamagedOriginalIsKeptOnceAndNeverOverwritten)
{
    writeGzipFile(path, "<rate>\r\n\t<name>A</name>\r\n");
    readRates();
    readRates(); // read again before any rewrite: the same copy serves
    EXPECT_EQ(fakePlatform.boxes.size(), 2u);
    EXPECT_FALSE(fileExists(path + ".damaged2"));
    const std::string firstDamage = readPlainFile(path);
    EXPECT_EQ(readPlainFile(path + ".damaged"), firstDamage);

    // Rewriting gives a sound file; a later, different damage goes to a new name.
    ASSERT_TRUE(writeRates());
    EXPECT_TRUE(readRates());
    EXPECT_EQ(fakePlatform.boxes.size(), 2u);
    writeGzipFile(path, "<rate>\r\n\t<name>B</name>\r\n");
    readRates();
    EXPECT_EQ(readPlainFile(path + ".damaged"), firstDamage);
    EXPECT_EQ(readPlainFile(path + ".damaged2"), readPlainFile(path));
}

TEST_F(RatesFile, LenientLinesAndTextLimits)
{
    const std::string text = "<version>1</version>\r\n"
                             "\r\n"
                             "<rate>\r\n"
                             "\t<name>Extra</namex>\r\n" // accepted: only the tag's length is compared
                             "\t<precision>12345</precision>\r\n"
                             "\t<ldays>1</ldays>\r\n" // missing characters count as '0'
                             "\t<ltimeb>  3600xyz</ltimeb>\r\n"
                             "</rate>\r\n"
                             "\r\n"
                             "<rate>\r\n"
                             "\t<name>Other</nmae>\r\n" // rejected and skipped silently
                             "\t<ldays>0000000111</ldays>\r\n" // only eight characters count
                             "\t<cost>2.5</cost>\r\n"
                             "</rate>\r\n"
                             "<rate>\r\n"
                             "\t<name>"
        + std::string(300, 'x')
        + "</name>\r\n"
          "</rate>\r\n";
    writeGzipFile(path, text);
    ASSERT_TRUE(readRates());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    // The long name and precision were cut: the file as it was is kept before any rewrite.
    EXPECT_EQ(readPlainFile(path + ".damaged"), readPlainFile(path));
    ASSERT_EQ(tariffCount(), 3);
    EXPECT_STREQ(TariffTable[0]->name, "Extra");
    EXPECT_STREQ(TariffTable[0]->precision, "123");
    EXPECT_EQ(TariffTable[0]->ldays, 1u);
    EXPECT_EQ(TariffTable[0]->ltimeb, 3600);
    EXPECT_STREQ(TariffTable[1]->name, "");
    EXPECT_EQ(TariffTable[1]->ldays, 0x80u); // "00000001": bit 7 alone
    EXPECT_DOUBLE_EQ(TariffTable[1]->cost[0], 2.5);
    EXPECT_EQ(std::string(TariffTable[2]->name), std::string(255, 'x'));
}

TEST_F(RatesFile, NameWithLessThanIsWrittenAsItStandsAndComesBackEmpty)
{
    Rate rate {};
    strcpy(rate.name, "a<b");
    addTariff(rate);
    ASSERT_TRUE(writeRates());
    EXPECT_NE(readGzipFile(path).find("\t<name>a<b</name>\r\n"), std::string::npos);
    ASSERT_TRUE(readRates());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    ASSERT_EQ(tariffCount(), 1);
    EXPECT_STREQ(TariffTable[0]->name, "");
}

TEST_F(RatesFile, MissingFileNameString)
{
    addTariff(nightAndDay());
    fakePlatform.programStrings.erase(102);
    EXPECT_FALSE(readRates());
    EXPECT_EQ(AppError, kErrorResourceMissing);
    EXPECT_EQ(MessageArguments.number1, 102u);
    EXPECT_EQ(tariffCount(), 1); // the table is left alone
    EXPECT_FALSE(writeRates());
    EXPECT_EQ(AppError, kErrorResourceMissing);
}

TEST_F(RatesFile, FailedWritesKeepTheOldFile)
{
    addTariff(nightAndDay());
    ASSERT_TRUE(writeRates());
    const std::string before = readGzipFile(path);
    TariffTable[0]->unit = 1;

    // The temporary file cannot be created where a folder of that name stands.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(writeRates());
    EXPECT_EQ(AppError, kErrorTariffFile);
    EXPECT_EQ(readGzipFile(path), before);
    std::filesystem::remove(path + ".tmp");

#ifndef _WIN32
    // A disk that fills up half-way: every write to /dev/full fails.
    std::filesystem::create_symlink("/dev/full", path + ".tmp");
    AppError = kNothingPending;
    EXPECT_FALSE(writeRates());
    EXPECT_EQ(AppError, kErrorTariffFile);
    EXPECT_EQ(readGzipFile(path), before);
    freeTariffs();
    ASSERT_TRUE(readRates());
    ASSERT_EQ(tariffCount(), 1);
    EXPECT_EQ(TariffTable[0]->unit, 4);
#endif
}

TEST_F(RatesFile, EveryValueTheTariffPageStoresReadsBack)
{
    // The page keeps 256 tariffs, names of up to 255 characters without '<', up to three
    // characters of precision (nine places shown), times of day from 0:00:00 to 23:59:59, any
    // 32-bit amount and prices of up to 127 digits with as many places as the field holds.
    Rate largest {};
    std::string name(255, 'x');
    name[0] = '\t';
    name[1] = '>';
    name[2] = char(0xE4);
    memcpy(largest.name, name.data(), name.size());
    largest.ldays = 0xFF;
    largest.ltimeb = 86399;
    strcpy(largest.precision, "999");
    largest.unit = kLastUnit;
    for (uint32_t& amount : largest.amount)
        amount = UINT32_MAX;
    const double prices[7] = { 9.99999e126, 0.000000001, 0.123456789, 99999999999.5, 0.0000004, 1.0, 12.34 };
    memcpy(largest.cost, prices, sizeof prices);
    Rate smallest {};
    smallest.ltimee = 86399;
    for (int slot = 0; slot < kTariffSlots; ++slot)
        addTariff(slot % 2 == 0 ? largest : smallest);

    ASSERT_TRUE(writeRates());
    freeTariffs();
    ASSERT_TRUE(readRates());
    EXPECT_TRUE(fakePlatform.boxes.empty());
    EXPECT_FALSE(fileExists(path + ".damaged"));
    ASSERT_EQ(tariffCount(), kTariffSlots);
    for (int slot = 0; slot < kTariffSlots; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(memcmp(TariffTable[slot], slot % 2 == 0 ? &largest : &smallest, sizeof(Rate)), 0);
    }
    // Prices that six places hold are written as before.
    EXPECT_NE(readGzipFile(path).find("\t<cost>12.340000</cost>\r\n"), std::string::npos);
    EXPECT_NE(readGzipFile(path).find("\t<cost>0.000000001</cost>\r\n"), std::string::npos);
}

} // namespace
