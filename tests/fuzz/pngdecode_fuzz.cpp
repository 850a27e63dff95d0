// decodePngRows over any bytes: it must reject or decode without reading past the data, and
// every scan line it hands out must be readable to its full stride.
#include <cstdint>
#include <cstdlib>

#include "core/apperror.h"
#include "skin/pngdecode.h"

namespace {

// Big headers decode slowly and only test the allocator; the decoder's own limit is tested
// by the unit tests.
bool headerIsSmall(const uint8_t* data, size_t size)
{
    if (size < 24)
        return true;
    auto read32 = [&](size_t at) {
        return uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 | data[at + 3];
    };
    return uint64_t(read32(16)) * read32(20) <= (1u << 20);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!headerIsSmall(data, size))
        return 0;
    DecodedPng picture;
    if (!decodePngRows(data, size, &picture)) {
        if (AppError != kErrorPngDecode && AppError != kErrorNoMemory)
            abort();
        return 0;
    }
    if (picture.bitsPerPixel != 4 && picture.bitsPerPixel != 8 && picture.bitsPerPixel != 24 &&
        picture.bitsPerPixel != 32)
        abort();
    if (picture.stride % 4 != 0 || uint64_t(picture.stride) * 8 < uint64_t(picture.width) * picture.bitsPerPixel)
        abort();
    unsigned sum = 0;
    for (uint32_t s = 0; s < picture.height; ++s) {
        const uint8_t* line = pngScanLine(&picture, s);
        if (line == nullptr)
            abort();
        for (uint32_t i = 0; i < picture.stride; ++i)
            sum += line[i];
    }
    releaseDecodedPng(&picture);
    return sum == 0xFFFFFFFF ? 1 : 0;
}
