// The meter's law over any sequence of events (tests/unit/model): the bytes and seconds that
// pass while connections are watched are logged once, whatever happens meanwhile.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/countingmodel.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The model's program folder lies below the fuzzer's own folder, apart from any other run.
    const std::filesystem::path folder = std::filesystem::absolute("counting-files");
    std::filesystem::create_directories(folder);
    setenv("TMPDIR", folder.c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string broken = runCountingSequence(data, size);
    if (!broken.empty()) {
        fprintf(stderr, "%s\n", broken.c_str());
        abort();
    }
    return 0;
}
