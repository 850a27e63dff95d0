// parseTagLine over any line: it must stay inside the line and its two 256-byte buffers.
#include <cstring>
#include <string>

#include "tariff/tagline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    TagLine parsed;
    if (parseTagLine(line.c_str(), parsed)) {
        if (strlen(parsed.tag) > kTagTextLength || strlen(parsed.value) > kTagTextLength)
            __builtin_trap();
        // A value never runs past the line it came from.
        if (strstr(line.c_str(), parsed.value) == nullptr)
            __builtin_trap();
    }
    leadingNumber(line.c_str());
    return 0;
}
