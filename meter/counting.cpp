#include "meter/counting.h"

#include "log/monthlog.h"
#include "log/statistics.h"
#include "monitor/watcher.h"

bool startCounting(const uint32_t* pendingKeys, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        takeInPendingMonth(pendingKeys[i]);
    return loadMonth(0);
}

bool stopCounting(const LocalTime& now)
{
    closeSlices(now);
    if (saveUnsavedMonths() || saveUnsavedMonths())
        return true;
    return setAsidePendingMonths();
}
