#include <cstring>
#include <string>
#include <vector>

#include "monitor/dialling.h"
#include "monitorfixture.h"

namespace {

class DiallingTest : public MonitorTest {
protected:
    static void watch(uintptr_t handle, const char* name)
    {
        LiveConnection& record = liveConnections.records[liveConnections.count++];
        record.handle = handle;
        strcpy(record.entryName, name);
    }
};

TEST_F(DiallingTest, AConnectedEntryIsHungUpAndAnIdleOneDialled)
{
    struct Case {
        const char* chosen;
        std::vector<uintptr_t> hungUp;
        std::vector<std::string> dialled;
    };
    const Case cases[] = {
        { "Work", { 0x20 }, {} },
        { "Home", { 0x10 }, {} }, // the first of two records with that name
        { "home", {}, { "home" } }, // names compare exactly
        { "Holiday", {}, { "Holiday" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        SetUp();
        watch(0x10, "Home");
        watch(0x20, "Work");
        watch(0x30, "Home");
        EXPECT_EQ(dialOrHangUp(c.chosen), 0u);
        EXPECT_EQ(fakeRemoteAccess.hungUp, c.hungUp);
        EXPECT_EQ(fakeRemoteAccess.dialled, c.dialled);
        EXPECT_EQ(liveConnectionCount(), 3u); // the scan after the signal removes a hung-up record
    }
}

// A failed dial hands its error to the caller, who tells the user; a failure already pending
// is reported first.
TEST_F(DiallingTest, AFailedDialGivesItsErrorAndReportsAFailureAlreadyPending)
{
    fakePlatform.messages[kErrorMonthLogCreate] = "log not written";
    fakeRemoteAccess.dialResult = 678;
    EXPECT_EQ(dialOrHangUp("Nowhere"), 678u);
    EXPECT_TRUE(fakePlatform.boxes.empty());

    AppError = kErrorMonthLogCreate;
    EXPECT_EQ(dialOrHangUp("Nowhere"), 678u);
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "log not written");

    fakeRemoteAccess.dialResult = 0;
    AppError = kErrorMonthLogCreate;
    EXPECT_EQ(dialOrHangUp("Nowhere"), 0u);
    EXPECT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(AppError, kErrorMonthLogCreate);
}

TEST_F(DiallingTest, TheTableAnswersOnlyForItsUsedRecords)
{
    EXPECT_EQ(liveConnectionCount(), 0u);
    EXPECT_EQ(liveConnectionAt(0), nullptr);
    watch(0x10, "Home");
    EXPECT_EQ(liveConnectionAt(0)->handle, 0x10u);
    EXPECT_EQ(liveConnectionAt(1), nullptr);
    EXPECT_EQ(liveConnectionAt(0xFFFFFFFFu), nullptr);
    EXPECT_TRUE(isEntryConnected("Home"));
    EXPECT_FALSE(isEntryConnected("HOME"));
    EXPECT_FALSE(isEntryConnected(""));
}

} // namespace
