#include <gtest/gtest.h>

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "fakes/fakeplatform.h"

namespace {

class ErrorReport : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        fakePlatform.messages[kErrorTagLine] = "A line is not a tag.";
        fakePlatform.messages[kErrorConnectionsUnreadable] = "Connections unreadable.";
        fakePlatform.messages[kErrorMainWindow] = "No window.";
        fakePlatform.messages[kErrorSkinParse] = "Line %1, column %2 of %3: %4";
        fakePlatform.messages[kNothingPending] = "must never show";
        fakePlatform.systemErrors[5] = "Access is denied.";
    }
};

TEST_F(ErrorReport, NothingPendingShowsNothing)
{
    EXPECT_EQ(reportError(0), kNothingPending);
    EXPECT_TRUE(fakePlatform.boxes.empty());
}

TEST_F(ErrorReport, SeverityPicksCaptionAndIcon)
{
    struct Case {
        uint32_t code;
        const char* caption;
        MessageIcon icon;
    } cases[] = {
        { kErrorTagLine, "telvane - Information", MessageIcon::warning },
        { kErrorMainWindow, "telvane - Error", MessageIcon::error },
        { kErrorNoMemory, "telvane - Warning", MessageIcon::error },
        { 0x00000007, "telvane - Success", MessageIcon::information },
    };
    for (const Case& c : cases) {
        fakePlatform.boxes.clear();
        EXPECT_EQ(reportError(c.code), c.code);
        ASSERT_EQ(fakePlatform.boxes.size(), 1u) << std::hex << c.code;
        EXPECT_EQ(fakePlatform.boxes[0].caption, c.caption);
        EXPECT_EQ(fakePlatform.boxes[0].icon, c.icon);
        EXPECT_EQ(AppError, kNothingPending);
    }
}

TEST_F(ErrorReport, PendingCodeIsShownOnceAndCleared)
{
    AppError = kErrorConnectionsUnreadable;
    EXPECT_EQ(reportError(0), kErrorConnectionsUnreadable);
    EXPECT_EQ(reportError(0), kNothingPending);
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "Connections unreadable.");
}

TEST_F(ErrorReport, SystemErrorTextFollowsOnlyWhenThereIsOne)
{
    fakePlatform.lastError = 5;
    reportError(kErrorTagLine);
    fakePlatform.lastError = 0;
    reportError(kErrorTagLine);
    ASSERT_EQ(fakePlatform.boxes.size(), 2u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "A line is not a tag.\nSystem: Access is denied.");
    EXPECT_EQ(fakePlatform.boxes[1].text, "A line is not a tag.");
    EXPECT_EQ(fakePlatform.lastError, 0u); // cleared after the box
}

TEST_F(ErrorReport, InsertsAreShownThenTheTextsCleared)
{
    MessageArguments.number1 = 12;
    MessageArguments.number2 = 7;
    strcpy(MessageArguments.text1, "skin.xml");
    strcpy(MessageArguments.text2, "bad tag");
    reportError(kErrorSkinParse);
    ASSERT_EQ(fakePlatform.boxes.size(), 1u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "Line 12, column 7 of skin.xml: bad tag");
    EXPECT_STREQ(MessageArguments.text1, "");
    EXPECT_STREQ(MessageArguments.text2, "");
    EXPECT_EQ(MessageArguments.number1, 12u); // numbers are left as they are
}

TEST_F(ErrorReport, ReportsMadeWhileCountingWaitUntilTheCountingIsDone)
{
    {
        const DeferredReports counting;
        strcpy(MessageArguments.text1, "skin.xml");
        strcpy(MessageArguments.text2, "bad tag");
        MessageArguments.number1 = 3;
        MessageArguments.number2 = 4;
        fakePlatform.lastError = 5;
        EXPECT_EQ(reportError(kErrorSkinParse), uint32_t(kErrorSkinParse));
        EXPECT_TRUE(fakePlatform.boxes.empty());
        EXPECT_EQ(AppError, kNothingPending);
        EXPECT_STREQ(MessageArguments.text1, "");
        EXPECT_EQ(fakePlatform.lastError, 0u);
        // The same failure again (every tick while it lasts) waits once.
        AppError = kErrorConnectionsUnreadable;
        reportError(0);
        reportError(kErrorConnectionsUnreadable);
        EXPECT_EQ(showDeferredReports(), 0u); // not from inside the counting
    }
    // A box's own loop delivers a tick, whose report waits for the boxes before it.
    fakePlatform.whileBoxOpen = [] {
        if (fakePlatform.boxes.size() != 1)
            return;
        const DeferredReports tick;
        fakePlatform.lastError = 0;
        reportError(kErrorTagLine);
        EXPECT_EQ(showDeferredReports(), 0u);
    };
    EXPECT_EQ(showDeferredReports(), 3u);
    ASSERT_EQ(fakePlatform.boxes.size(), 3u);
    EXPECT_EQ(fakePlatform.boxes[0].text, "Line 3, column 4 of skin.xml: bad tag\nSystem: Access is denied.");
    EXPECT_EQ(fakePlatform.boxes[1].text, "Connections unreadable.");
    EXPECT_EQ(fakePlatform.boxes[2].text, "A line is not a tag.");
    EXPECT_EQ(showDeferredReports(), 0u);
}

} // namespace
