#include "core/crashfilter.h"

#include <algorithm>

#include "core/crashreport.h"
#include "core/messagebox_win.h"

namespace {
// The report's caption is built in: the language module may be the very thing that failed.
constexpr char kCrashCaption[] = "telvane";
} // namespace

bool askResumeAfterCrash(const EXCEPTION_RECORD& record)
{
    // Static: a stack overflow leaves no room for a 32 KB buffer on the stack.
    static char text[32768];
    uintptr_t parameters[EXCEPTION_MAXIMUM_PARAMETERS] = {};
    const uint32_t count = std::min<DWORD>(record.NumberParameters, EXCEPTION_MAXIMUM_PARAMETERS);
    std::copy(record.ExceptionInformation, record.ExceptionInformation + count, parameters);
    const CrashRecord fault { uint32_t(record.ExceptionCode), uint32_t(record.ExceptionFlags), count, parameters,
        reinterpret_cast<uintptr_t>(record.ExceptionAddress) };
    composeCrashText(fault, text, sizeof text);
    if (!crashIsContinuable(fault)) {
        messageBoxFunction(nullptr, text, kCrashCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return false;
    }
    return messageBoxFunction(nullptr, text, kCrashCaption, MB_YESNO | MB_ICONERROR | MB_TASKMODAL) == IDYES;
}

LONG WINAPI crashFilter(EXCEPTION_POINTERS* exception)
{
    if (askResumeAfterCrash(*exception->ExceptionRecord))
        return EXCEPTION_CONTINUE_EXECUTION;
    ExitProcess(0xFFFFFFFF);
}
