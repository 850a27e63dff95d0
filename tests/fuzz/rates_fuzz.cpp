// readRates over any rates.zip; then what was kept must survive a write and a second read
// without any further format error.
#include <cstdlib>

#include "fuzzplatform.h"
#include "tariff/rates.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setUpFuzzDirectory("rates");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    writeFuzzFile("rates.zip", data, size);
    readRates();
    removeDamagedCopies("rates.zip");
    const int count = tariffCount();
    if (writeRates()) {
        const unsigned boxes = fuzzBoxesShown;
        readRates();
        if (fuzzBoxesShown != boxes || tariffCount() != count)
            abort();
    }
    freeTariffs();
    return 0;
}
