#include <gtest/gtest.h>

#include "core/apperror.h"
#include "core/crashreport.h"
#include "fakes/fakeplatform.h"

namespace {

class CrashReport : public testing::Test {
protected:
    void SetUp() override
    {
        resetFakePlatform();
        // The fake replaces %1 only when inserts are passed, so a message formatted without
        // inserts shows its %1 unchanged.
        fakePlatform.messages = {
            { kCrashGeneral, "Crash.\n" },
            { kCrashAccessViolation, "Access violation.\n" },
            { kCrashBreakpoint, "Breakpoint.\n" },
            { kCrashOnRead, "Read.\n" },
            { kCrashOnWrite, "Write.\n" },
            { kCrashTargetAddress, "Target %1.\n" },
            { kCrashInstructionAddress, "At %1.\n" },
            { kCrashAskResume, "Resume?" },
            { kCrashCannotResume, "Cannot resume." },
        };
    }

    std::string compose(const CrashRecord& fault)
    {
        char text[1024];
        const size_t length = composeCrashText(fault, text, sizeof text);
        EXPECT_EQ(length, strlen(text));
        return text;
    }
};

TEST_F(CrashReport, LinesFollowTheExceptionRecord)
{
    const uintptr_t writeAt[] = { 1, 0x1234 };
    const uintptr_t readAt[] = { 0, 0x10 };
    const uintptr_t cppThrow[] = { 0x19930520, 0x2000, 0x3000 };
    const uintptr_t oneParameter[] = { 0 };
    struct Case {
        const char* name;
        CrashRecord fault;
        const char* text;
    } cases[] = {
        { "write access violation", { 0xC0000005, 0, 2, writeAt, 0x401000 },
            "Crash.\nAccess violation.\nWrite.\nTarget 4660.\nAt 4198400.\nResume?" },
        { "breakpoint without parameters", { 0x80000003, 0, 0, nullptr, 0x401234 },
            "Crash.\nBreakpoint.\nAt 4198964.\nResume?" },
        { "non-continuable read", { 0xC0000005, 1, 2, readAt, 0x500000 },
            "Crash.\nAccess violation.\nRead.\nTarget 16.\nAt 5242880.\nCannot resume." },
        // A code without a message of its own still reports its parameters as an access.
        { "unknown code", { 0xE06D7363, 1, 3, cppThrow, 0x77 },
            "Crash.\nWrite.\nTarget 8192.\nAt 119.\nCannot resume." },
        { "one parameter: no target line", { 0xC0000005, 0, 1, oneParameter, 0x42 },
            "Crash.\nAccess violation.\nRead.\nAt 66.\nResume?" },
        // Further flag bits (such as a nested exception) do not make a fault resumable.
        { "non-continuable among other flags", { 0x80000003, 0x11, 0, nullptr, 0x42 },
            "Crash.\nBreakpoint.\nAt 66.\nCannot resume." },
    };
    for (const Case& c : cases)
        EXPECT_EQ(compose(c.fault), c.text) << c.name;
}

TEST_F(CrashReport, WithoutLanguageModuleTheTextIsEmpty)
{
    fakePlatform.messages.clear();
    const uintptr_t writeAt[] = { 1, 0x1234 };
    EXPECT_EQ(compose({ 0xC0000005, 0, 2, writeAt, 0x401000 }), "");
}

TEST_F(CrashReport, ALongReportIsCutWithinItsBuffer)
{
    fakePlatform.messages[kCrashGeneral] = std::string(100, 'x');
    char text[40];
    memset(text, '#', sizeof text);
    EXPECT_EQ(composeCrashText({ 0x80000003, 0, 0, nullptr, 0x42 }, text, sizeof text), sizeof text - 1);
    EXPECT_EQ(std::string(text), std::string(39, 'x'));
}

TEST_F(CrashReport, EveryExceptionCodeHasItsMessage)
{
    const struct {
        uint32_t exception;
        uint32_t message;
    } table[] = {
        { 0x80000002, 0xC0000009 },
        { 0x80000003, 0xC0000008 },
        { 0x80000004, 0xC0000018 },
        { 0xC0000005, 0xC0000006 },
        { 0xC0000006, 0xC0000012 },
        { 0xC000001D, 0xC0000011 },
        { 0xC0000025, 0xC0000016 },
        { 0xC0000026, 0xC0000015 },
        { 0xC000008C, 0xC0000007 },
        { 0xC000008D, 0xC000000A },
        { 0xC000008E, 0xC000000B },
        { 0xC000008F, 0xC000000C },
        { 0xC0000090, 0xC000000D },
        { 0xC0000091, 0xC000000E },
        { 0xC0000092, 0xC000000F },
        { 0xC0000093, 0xC0000010 },
        { 0xC0000094, 0xC0000013 },
        { 0xC0000095, 0xC0000014 },
        { 0xC0000096, 0xC0000017 },
        { 0xC00000FD, 0xC0000019 },
        { 0xC0000001, 0 },
        { 0xE06D7363, 0 },
        { 0, 0 },
    };
    for (const auto& entry : table)
        EXPECT_EQ(crashMessageOf(entry.exception), entry.message) << std::hex << entry.exception;
}

} // namespace
