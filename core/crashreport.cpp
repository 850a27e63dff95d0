#include "core/crashreport.h"

#include <cstring>

#include "core/apperror.h"
#include "core/platform.h"

namespace {

// The exception codes of the system and the message that describes each.
struct ExceptionMessage {
    uint32_t exception;
    uint32_t message;
};
constexpr ExceptionMessage kExceptionMessages[] = {
    { 0x80000002, kCrashMisalignment },
    { 0x80000003, kCrashBreakpoint },
    { 0x80000004, kCrashSingleStep },
    { 0xC0000005, kCrashAccessViolation },
    { 0xC0000006, kCrashInPageError },
    { 0xC000001D, kCrashIllegalInstruction },
    { 0xC0000025, kCrashNoncontinuable },
    { 0xC0000026, kCrashInvalidDisposition },
    { 0xC000008C, kCrashArrayBounds },
    { 0xC000008D, kCrashFloatDenormal },
    { 0xC000008E, kCrashFloatDivideByZero },
    { 0xC000008F, kCrashFloatInexact },
    { 0xC0000090, kCrashFloatInvalid },
    { 0xC0000091, kCrashFloatOverflow },
    { 0xC0000092, kCrashFloatStackCheck },
    { 0xC0000093, kCrashFloatUnderflow },
    { 0xC0000094, kCrashIntDivideByZero },
    { 0xC0000095, kCrashIntOverflow },
    { 0xC0000096, kCrashPrivilegedInstruction },
    { 0xC00000FD, kCrashStackOverflow },
};

// Appends message `code` to the text; `arguments` null means the message has no inserts.
void appendMessage(uint32_t code, const uintptr_t* arguments, char* text, size_t size)
{
    const size_t used = strlen(text);
    if (used + 1 < size)
        formatLanguageMessage(code, arguments, text + used, size - used);
}

} // namespace

uint32_t crashMessageOf(uint32_t exceptionCode)
{
    for (const ExceptionMessage& entry : kExceptionMessages)
        if (entry.exception == exceptionCode)
            return entry.message;
    return 0;
}

size_t composeCrashText(const CrashRecord& fault, char* text, size_t size)
{
    if (size == 0)
        return 0;
    text[0] = '\0';
    appendMessage(kCrashGeneral, nullptr, text, size);
    if (const uint32_t message = crashMessageOf(fault.code))
        appendMessage(message, nullptr, text, size);
    if (fault.parameterCount >= 1)
        appendMessage(fault.parameters[0] == 0 ? kCrashOnRead : kCrashOnWrite, nullptr, text, size);
    // The inserts start at the address that could not be accessed, the second parameter.
    if (fault.parameterCount >= 2)
        appendMessage(kCrashTargetAddress, fault.parameters + 1, text, size);
    appendMessage(kCrashInstructionAddress, &fault.address, text, size);
    appendMessage(crashIsContinuable(fault) ? kCrashAskResume : kCrashCannotResume, nullptr, text, size);
    return strlen(text);
}
