#include "core/autostart.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/apperror.h"
#include "core/platform.h"

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kValueName[] = "telvane";

// The program a Run command starts: the quoted part, or the whole command without quotes.
void programOfCommand(const char* command, char* program, size_t size)
{
    while (*command == ' ')
        ++command;
    const char* end;
    if (*command == '"') {
        end = strchr(++command, '"');
        if (end == nullptr)
            end = command + strlen(command);
    } else {
        end = command + strlen(command);
        while (end > command && end[-1] == ' ')
            --end;
    }
    snprintf(program, size, "%.*s", int(end - command), command);
}

} // namespace

bool startsWithWindows()
{
    char command[2 * MAX_PATH];
    DWORD size = sizeof command;
    // An expandable value (%LOCALAPPDATA%\...) passes as text, expanded.
    if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, kValueName, RRF_RT_REG_SZ, nullptr, command, &size) != ERROR_SUCCESS)
        return false;
    char program[2 * MAX_PATH], own[MAX_PATH];
    programOfCommand(command, program, sizeof program);
    return executablePath(own, sizeof own) && lstrcmpiA(program, own) == 0;
}

bool setStartWithWindows(bool start)
{
    if (start == startsWithWindows())
        return true;
    HKEY run = nullptr;
    LSTATUS result = RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run, nullptr);
    if (result == ERROR_SUCCESS) {
        char own[MAX_PATH], command[MAX_PATH + 2];
        if (!start)
            result = RegDeleteValueA(run, kValueName);
        else if (!executablePath(own, sizeof own))
            result = ERROR_FILENAME_EXCED_RANGE;
        else {
            snprintf(command, sizeof command, "\"%s\"", own);
            result = RegSetValueExA(
                run, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), DWORD(strlen(command) + 1));
        }
        RegCloseKey(run);
    }
    if (result == ERROR_SUCCESS)
        return true;
    setLastSystemError(uint32_t(result));
    return failWith(kErrorAutostart);
}
