// The meter's law over a few thousand random sequences of what Windows, other programs and the
// user do while connections are counted (tests/unit/model). A failing sequence prints its seed
// and its events; tools/fuzz searches the same sequences with libFuzzer (fuzz_counting).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "model/countingmodel.h"

namespace {

#ifdef _WIN32
constexpr uint32_t kSequences = 200; // under Wine every file written costs more
#else
constexpr uint32_t kSequences = 2000;
#endif

TEST(CountingModel, EveryByteAndEverySecondIsCountedOnce)
{
    for (uint32_t seed = 1; seed <= kSequences; ++seed) {
        std::mt19937 random(seed);
        std::vector<uint8_t> bytes(16 + random() % 128);
        for (uint8_t& byte : bytes)
            byte = uint8_t(random());
        ASSERT_EQ(runCountingSequence(bytes.data(), bytes.size()), "") << "seed " << seed;
    }
}

} // namespace
