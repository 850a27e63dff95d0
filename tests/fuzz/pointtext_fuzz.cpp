// parsePointText over any bytes: never past the given length, never more points than room,
// and the same points whatever follows the length.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "skin/skinrules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the room; the rest is the text, in a buffer of exactly its length.
    const uint32_t capacity = data[0] * 20u;
    std::vector<char> text(data + 1, data + size);
    std::vector<OutlinePoint> points(capacity > 0 ? capacity : 1);
    const uint32_t count = parsePointText(text.data(), text.size(), points.data(), capacity);
    if (count > capacity || count > kMaxOutlinePoints)
        abort();

    // With a terminating zero after the text the result is the same.
    std::vector<char> terminated(text);
    terminated.push_back('\0');
    std::vector<OutlinePoint> again(points.size());
    if (parsePointText(terminated.data(), terminated.size(), again.data(), capacity) != count)
        abort();
    if (count > 0 && memcmp(points.data(), again.data(), count * sizeof(OutlinePoint)) != 0)
        abort();
    return 0;
}
