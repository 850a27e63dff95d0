// The system behind the portable code's seam, for the real programs.
#include <windows.h>

#include <cstring>

#include "core/languagemodule_win.h"
#include "core/messagebox_win.h"
#include "core/platform.h"

HMODULE LanguageModule;

LocalTime localTimeNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    LocalTime time;
    static_assert(sizeof time == sizeof now);
    memcpy(&time, &now, sizeof time);
    return time;
}

uint64_t monotonicMilliseconds() { return GetTickCount64(); }

uint16_t userDefaultLanguage() { return GetUserDefaultLangID(); }

bool programString(uint32_t id, char* buffer, size_t size)
{
    buffer[0] = '\0';
    return LoadStringA(GetModuleHandleA(nullptr), id, buffer, int(size)) > 0;
}

bool languageString(uint32_t id, char* buffer, size_t size)
{
    buffer[0] = '\0';
    return LanguageModule != nullptr && LoadStringA(LanguageModule, id, buffer, int(size)) > 0;
}

// FormatMessageA refuses a buffer of 32768 bytes or more outright (Wine; Windows allows up to
// 64 KB), so the large report buffers are offered in a size every system accepts.
static DWORD formatBufferSize(size_t size) { return DWORD(size < 32767 ? size : 32767); }

size_t formatLanguageMessage(uint32_t code, const uintptr_t* arguments, char* buffer, size_t size)
{
    buffer[0] = '\0';
    if (LanguageModule == nullptr)
        return 0;
    DWORD flags
        = FORMAT_MESSAGE_FROM_HMODULE | (arguments ? FORMAT_MESSAGE_ARGUMENT_ARRAY : FORMAT_MESSAGE_IGNORE_INSERTS);
    DWORD length = FormatMessageA(flags, LanguageModule, code, 0, buffer, formatBufferSize(size),
        reinterpret_cast<va_list*>(const_cast<uintptr_t*>(arguments)));
    if (length == 0)
        buffer[0] = '\0';
    return length;
}

size_t systemErrorText(uint32_t error, const char* subject, char* buffer, size_t size)
{
    buffer[0] = '\0';
    // Every insert a system text may name (%1 to %99) reads the subject, so none is left
    // unfilled and none is read past the array.
    DWORD_PTR inserts[99];
    for (DWORD_PTR& insert : inserts)
        insert = reinterpret_cast<DWORD_PTR>(subject);
    const bool filled = subject != nullptr && subject[0] != '\0';
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | (filled ? FORMAT_MESSAGE_ARGUMENT_ARRAY : FORMAT_MESSAGE_IGNORE_INSERTS), nullptr,
        error, 0, buffer, formatBufferSize(size), filled ? reinterpret_cast<va_list*>(inserts) : nullptr);
    if (length == 0)
        buffer[0] = '\0';
    return length;
}

uint32_t lastSystemError() { return GetLastError(); }
void setLastSystemError(uint32_t error) { SetLastError(error); }

MessageBoxFunction messageBoxFunction = MessageBoxA;

void showMessageBox(const char* text, const char* caption, MessageIcon icon)
{
    const UINT iconFlag = icon == MessageIcon::information ? MB_ICONINFORMATION
        : icon == MessageIcon::warning                     ? MB_ICONWARNING
                                                           : MB_ICONERROR;
    messageBoxFunction(nullptr, text, caption, MB_OK | MB_TASKMODAL | iconFlag);
}

bool executablePath(char* path, size_t size)
{
    const DWORD length = GetModuleFileNameA(nullptr, path, DWORD(size));
    return length != 0 && length < size;
}
