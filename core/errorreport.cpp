#include <cstring>

#include "core/apperror.h"
#include "core/deferredreports.h"
#include "core/platform.h"
#include "lang/ids.h"

namespace {

// The one text the program carries itself: its name.
constexpr char kProgramName[] = "telvane";

MessageIcon iconOfSeverity(uint32_t severity)
{
    return severity == 0 ? MessageIcon::information : severity == 1 ? MessageIcon::warning : MessageIcon::error;
}

void appendLanguageString(uint32_t id, char* buffer, size_t size)
{
    const size_t used = strlen(buffer);
    if (used + 1 < size)
        languageString(id, buffer + used, size - used);
}

uint32_t shownReports;

} // namespace

uint32_t reportsShown() { return shownReports; }

uint32_t reportError(uint32_t code)
{
    if (code != 0)
        AppError = code;
    else
        code = AppError;
    if (code == kNothingPending)
        return code;
    if (DeferredReports::active()) {
        deferReport(code);
        return code;
    }

    const uint32_t severity = code >> 30;
    char caption[256] = "";
    appendLanguageString(IDS_MESSAGE_CAPTION, caption, sizeof caption);
    appendLanguageString(IDS_SEVERITY_SUCCESS + severity, caption, sizeof caption);
    // Without a language module the box still says whose it is, as the window title does.
    if (caption[0] == '\0')
        strcpy(caption, kProgramName);

    static char text[65535];
    text[0] = '\0';
    const uint32_t systemError = lastSystemError();
    const uintptr_t inserts[4] = { MessageArguments.number1, MessageArguments.number2,
        reinterpret_cast<uintptr_t>(MessageArguments.text1), reinterpret_cast<uintptr_t>(MessageArguments.text2) };
    formatLanguageMessage(code, inserts, text, sizeof text);
    if (systemError != 0) {
        appendLanguageString(IDS_SYSTEM_ERROR_INTRO, text, sizeof text);
        const size_t used = strlen(text);
        systemErrorText(systemError, MessageArguments.text1, text + used, sizeof text - used);
    }

    showMessageBox(text, caption, iconOfSeverity(severity));
    ++shownReports;

    setLastSystemError(0);
    AppError = kNothingPending;
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    memset(MessageArguments.text2, 0, sizeof MessageArguments.text2);
    return code;
}
