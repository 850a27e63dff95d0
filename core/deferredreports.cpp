#include "core/deferredreports.h"

#include <cstring>

#include "core/apperror.h"
#include "core/platform.h"

namespace {

struct WaitingReport {
    uint32_t code;
    MessageArgumentsRecord arguments;
    uint32_t systemError;
};

// A failure that lasts repeats itself on every tick; a few different ones are all there is.
constexpr unsigned kMostWaiting = 8;
WaitingReport waiting[kMostWaiting];
unsigned waitingCount;
int deferring;
bool showing;

bool sameReport(const WaitingReport& a, const WaitingReport& b)
{
    return a.code == b.code && a.systemError == b.systemError && a.arguments.number1 == b.arguments.number1
        && a.arguments.number2 == b.arguments.number2 && strcmp(a.arguments.text1, b.arguments.text1) == 0
        && strcmp(a.arguments.text2, b.arguments.text2) == 0;
}

} // namespace

DeferredReports::DeferredReports() { ++deferring; }
DeferredReports::~DeferredReports() { --deferring; }
bool DeferredReports::active() { return deferring > 0; }

void deferReport(uint32_t code)
{
    static WaitingReport report;
    report.code = code != 0 ? code : AppError;
    report.arguments = MessageArguments;
    report.systemError = lastSystemError();
    setLastSystemError(0);
    AppError = kNothingPending;
    memset(MessageArguments.text1, 0, sizeof MessageArguments.text1);
    memset(MessageArguments.text2, 0, sizeof MessageArguments.text2);
    if (report.code == kNothingPending || waitingCount == kMostWaiting)
        return;
    for (unsigned i = 0; i < waitingCount; ++i)
        if (sameReport(waiting[i], report))
            return;
    waiting[waitingCount++] = report;
}

bool hasDeferredReports() { return waitingCount != 0; }

unsigned showDeferredReports()
{
    if (deferring > 0 || showing)
        return 0;
    showing = true;
    unsigned shown = 0;
    while (waitingCount != 0) {
        const WaitingReport report = waiting[0];
        memmove(&waiting[0], &waiting[1], (waitingCount - 1) * sizeof waiting[0]);
        --waitingCount;
        MessageArguments = report.arguments;
        setLastSystemError(report.systemError);
        reportError(report.code);
        ++shown;
    }
    showing = false;
    return shown;
}
