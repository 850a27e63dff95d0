#pragma once
#include <windows.h>

// Every message box of the error reports and the crash report is shown through this pointer,
// which is MessageBoxA in the program. The Win32 tests point it at a recorder so they can read
// a box instead of showing it.
using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern MessageBoxFunction messageBoxFunction;
