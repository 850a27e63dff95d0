// loadMonth over any month file, priced by a choice of tariffs; what was kept must survive a
// write and a second read with the same sums.
#include <cstdlib>
#include <cstring>

#include "fuzzplatform.h"
#include "log/statistics.h"
#include "tariff/rates.h"
#include "tariff/settings.h"

namespace {

constexpr uint32_t kOctober2003 = 2003 * 65536 + 10;

void addTariffs()
{
    Rate* minutes = new Rate {};
    minutes->unit = 4;
    minutes->ltimeb = 28800;
    minutes->ltimee = 64800;
    minutes->ldays = 0xC0;
    const uint32_t amounts[4] = { 60, 120, 1000, 500 };
    memcpy(minutes->amount, amounts, sizeof amounts);
    for (int i = 0; i < 7; ++i)
        minutes->cost[i] = 0.01 * (i + 1);
    TariffTable[0] = minutes;
    Rate* gigabytes = new Rate(*minutes);
    gigabytes->unit = 2;
    gigabytes->amount[1] = 0;
    TariffTable[1] = gigabytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setUpFuzzDirectory("monthlog");
    resetSettings();
    addTariffs();
    settings.holidays[0].packedDate = packDate(2003, 10, 3);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int32_t tariffs[4] = { 0, 1, 2, 300 };
    settings.activeTariff = tariffs[data[0] >> 1 & 3];
    settings.volumeCorrection = uint32_t(data[0] >> 3) * 300;
    writeFuzzFile("log_200310.zip", data + 1, size - 1);
    if (!loadMonth(kOctober2003))
        return 0;
    removeDamagedCopies("log_200310.zip");

    // The second read replaces the month; keep what must come back.
    int64_t volume[kMonthSlots], online[kMonthSlots];
    memcpy(volume, heldMonth.volume, sizeof volume);
    memcpy(online, heldMonth.onlineTime, sizeof online);
    // An empty list writes nothing, so the file read would still be the fuzzed one.
    if (heldMonth.records.head != nullptr && writeMonthLog(heldMonth)) {
        const unsigned boxes = fuzzBoxesShown;
        loadMonth(kOctober2003);
        if (fuzzBoxesShown != boxes || memcmp(volume, heldMonth.volume, sizeof volume) != 0
            || memcmp(online, heldMonth.onlineTime, sizeof online) != 0)
            abort();
    }
    clearMonthStats(heldMonth);
    return 0;
}
