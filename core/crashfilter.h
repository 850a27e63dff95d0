#pragma once
// The last line of defence: turns a processor or system exception anywhere in the program into
// a message box from which the user resumes or ends telvane.
#include <windows.h>

// Shows the crash report for the fault and returns EXCEPTION_CONTINUE_EXECUTION when the user
// chooses to resume; otherwise it ends the process with exit code 0xFFFFFFFF and never returns.
// Its signature lets it serve as the filter of an exception frame around the entry point or as
// the process's unhandled-exception filter (SetUnhandledExceptionFilter).
LONG WINAPI crashFilter(EXCEPTION_POINTERS* exception);

// The part of crashFilter before the process may end: composes the report, shows it and returns
// true when the user chose to resume (only ever for a continuable exception).
bool askResumeAfterCrash(const EXCEPTION_RECORD& record);
