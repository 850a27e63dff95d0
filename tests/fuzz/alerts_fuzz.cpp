// loadAlerts over any alerts.zip; whatever it leaves in force must be written and read back
// without a report, and the second round must change nothing.
#include <cstdlib>

#include "fuzzplatform.h"
#include "tariff/alerts.h"

namespace {

bool sameAlerts(const Alerts& a, const Alerts& b)
{
    for (int slot = 0; slot < kUsageAlertCount; ++slot)
        if (a.usageOn[slot] != b.usageOn[slot] || a.usagePercent[slot] != b.usagePercent[slot])
            return false;
    for (int slot = 0; slot < kAlertSlots; ++slot)
        if (a.fired[slot].monthKey != b.fired[slot].monthKey || a.fired[slot].level != b.fired[slot].level)
            return false;
    return a.limitOn == b.limitOn && a.limit == b.limit && a.hangUp == b.hangUp;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setUpFuzzDirectory("alerts");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    writeFuzzFile("alerts.zip", data, size);
    loadAlerts();
    removeDamagedCopies("alerts.zip");
    if (!saveAlerts() || !loadAlerts())
        abort();
    const Alerts first = alerts;
    if (!saveAlerts() || !loadAlerts() || !sameAlerts(first, alerts))
        abort();
    return 0;
}
