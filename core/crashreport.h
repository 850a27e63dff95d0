#pragma once
// The text of the crash report, composed from the language module's messages. Kept apart from
// the exception filter so it can be checked without a real fault.
#include <cstddef>
#include <cstdint>

// What the report needs of a structured exception: its code and flags, its parameters (for an
// access violation the kind of access and the address that failed) and where it happened.
struct CrashRecord {
    uint32_t code;
    uint32_t flags;
    uint32_t parameterCount;
    const uintptr_t* parameters;
    uintptr_t address;
};

// The system marks an exception that must not be resumed with this flag bit.
constexpr uint32_t kExceptionNoncontinuable = 1;

// The language-module message that names an exception code, or 0 for a code without one.
uint32_t crashMessageOf(uint32_t exceptionCode);

// The report: the general crash text, the line for the exception code, the kind of access and
// its address when the record has them, the address of the instruction, and the closing
// question (may telvane go on?) or notice (it cannot). Returns the length written.
size_t composeCrashText(const CrashRecord& fault, char* text, size_t size);

// True when the user may be offered to resume after the fault.
inline bool crashIsContinuable(const CrashRecord& fault) { return (fault.flags & kExceptionNoncontinuable) == 0; }
