// decodePngRows over any bytes: it must reject or decode without reading past the data, keep
// to its size limit, never ask the heap for more than the rows of the largest picture and
// libpng's own needs, and every scan line it hands out must be readable to its full stride.
#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <cstdlib>

#include "core/apperror.h"
#include "skin/pngdecode.h"

namespace {

// libpng's structures, zlib's window and two rows of the widest picture fit in a megabyte.
constexpr size_t kMostBytes = kMaxPictureBytes + 1024 * 1024;

bool watching = false;
size_t allocated = 0; // while watching, freed or not

void countAllocation(const volatile void*, size_t size)
{
    if (watching)
        allocated += size;
}

void ignoreFree(const volatile void*) { }

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (__sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree) == 0)
        abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DecodedPng picture;
    allocated = 0;
    watching = true;
    const bool decoded = decodePngRows(data, size, &picture);
    watching = false;
    if (allocated > kMostBytes)
        abort();
    if (!decoded) {
        if (AppError != kErrorPngDecode && AppError != kErrorNoMemory)
            abort();
        return 0;
    }
    if (uint64_t(picture.width) * picture.height > kMaxPicturePixels || picture.width > kMaxPictureSide
        || picture.height > kMaxPictureSide)
        abort();
    if (picture.bitsPerPixel != 4 && picture.bitsPerPixel != 8 && picture.bitsPerPixel != 24
        && picture.bitsPerPixel != 32)
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
