#include "skin/pngdecode.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "core/apperror.h"

namespace {

// Larger pictures are refused before their rows are allocated: no skin or traced picture
// comes near this, and a forged header must not make the program commit gigabytes.
constexpr uint32_t kMaxPictureSide = 16384;

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t position;
};

// The source knows its length: a read past the end is a read error like any corrupt data.
void readFromMemory(png_structp reader, png_bytep target, png_size_t length)
{
    MemorySource* source = static_cast<MemorySource*>(png_get_io_ptr(reader));
    if (length > source->size - source->position)
        png_error(reader, "read past the end of the data");
    memcpy(target, source->data + source->position, length);
    source->position += length;
}

[[noreturn]] void failRead(png_structp reader, png_const_charp)
{
    png_longjmp(reader, 1);
}

// The decoder never writes to a console; warnings do not stop it.
void ignoreWarning(png_structp, png_const_charp) {}

uint32_t depthOfFormat(int colorType, int bitDepth)
{
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth == 8)
        return 8;
    if (colorType == PNG_COLOR_TYPE_RGB && bitDepth == 8)
        return 24;
    if (colorType == PNG_COLOR_TYPE_PALETTE && (bitDepth == 8 || bitDepth == 4))
        return static_cast<uint32_t>(bitDepth);
    if ((colorType == PNG_COLOR_TYPE_GRAY_ALPHA || colorType == PNG_COLOR_TYPE_RGB_ALPHA) && bitDepth == 8)
        return 32;
    return 0;
}

void destroyReader(DecodedPng* picture)
{
    png_structp reader = static_cast<png_structp>(picture->reader);
    png_infop info = static_cast<png_infop>(picture->info);
    png_infop endInfo = static_cast<png_infop>(picture->endInfo);
    if (reader != nullptr)
        png_destroy_read_struct(&reader, info != nullptr ? &info : nullptr, endInfo != nullptr ? &endInfo : nullptr);
    picture->reader = picture->info = picture->endInfo = nullptr;
    picture->rows = nullptr;
}

// Runs libpng over the data. Kept apart and free of objects with destructors, since a
// libpng error leaves it through longjmp.
bool readPng(DecodedPng* picture, MemorySource* source)
{
    png_structp reader = static_cast<png_structp>(picture->reader);
    png_infop info = static_cast<png_infop>(picture->info);
    if (setjmp(png_jmpbuf(reader)) != 0)
        return false;
    png_set_read_fn(reader, source, readFromMemory);
    png_set_user_limits(reader, kMaxPictureSide, kMaxPictureSide);
    png_read_png(reader, info, PNG_TRANSFORM_BGR, nullptr);
    picture->rows = png_get_rows(reader, info);
    return true;
}

void fillColorTable(DecodedPng* picture, int colorType)
{
    PngDescription* description = picture->description;
    png_structp reader = static_cast<png_structp>(picture->reader);
    png_infop info = static_cast<png_infop>(picture->info);
    if (colorType == PNG_COLOR_TYPE_GRAY) {
        for (int i = 0; i < 256; ++i)
            description->colors[i] = PngColorEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        return;
    }
    if (colorType != PNG_COLOR_TYPE_PALETTE)
        return;
    png_colorp palette = nullptr;
    int paletteSize = 0;
    if (png_get_PLTE(reader, info, &palette, &paletteSize) == 0 || palette == nullptr)
        paletteSize = 0;
    if (paletteSize > 256)
        paletteSize = 256;
    png_bytep alpha = nullptr;
    int alphaCount = 0;
    if (png_get_tRNS(reader, info, &alpha, &alphaCount, nullptr) == 0 || alpha == nullptr)
        alphaCount = 0;
    description->header.colorsUsed = static_cast<uint32_t>(paletteSize);
    for (int i = 0; i < paletteSize; ++i) {
        const png_color& entry = palette[i];
        description->colors[i] = PngColorEntry{entry.blue, entry.green, entry.red, 0};
        if (i < alphaCount && alpha[i] == 0)
            picture->transparentColor = entry.red | (entry.green << 8) | (uint32_t(entry.blue) << 16);
    }
}

}  // namespace

bool decodePngRows(const uint8_t* data, size_t size, DecodedPng* picture)
{
    memset(picture, 0, sizeof *picture);
    AppError = kErrorPngDecode;
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return false;

    png_structp reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failRead, ignoreWarning);
    if (reader == nullptr)
        return false;
    picture->reader = reader;
    picture->info = png_create_info_struct(reader);
    picture->endInfo = png_create_info_struct(reader);
    if (picture->info == nullptr || picture->endInfo == nullptr) {
        destroyReader(picture);
        return false;
    }

    MemorySource source{data, size, 0};
    if (!readPng(picture, &source) || picture->rows == nullptr) {
        destroyReader(picture);
        return false;
    }
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(reader, static_cast<png_infop>(picture->info), &width, &height, &bitDepth, &colorType, nullptr,
                 nullptr, nullptr);

    AppError = kNothingPending;
    picture->description = new (std::nothrow) PngDescription{};
    if (picture->description == nullptr) {
        destroyReader(picture);
        AppError = kErrorNoMemory;
        return false;
    }
    const uint32_t depth = depthOfFormat(colorType, bitDepth);
    if (depth == 0) {
        releaseDecodedPng(picture);
        AppError = kErrorPngDecode;
        return false;
    }

    picture->width = width;
    picture->height = height;
    picture->bitsPerPixel = depth;
    picture->transparentColor = depth > 8 ? kNoTransparentColor : 0;
    picture->greyWithAlpha = colorType == PNG_COLOR_TYPE_GRAY_ALPHA;
    PngBitmapHeader& header = picture->description->header;
    header.size = sizeof(PngBitmapHeader);
    header.width = static_cast<int32_t>(width);
    header.height = static_cast<int32_t>(height);
    header.planes = 1;
    header.bitCount = static_cast<uint16_t>(depth);
    fillColorTable(picture, colorType);

    // Scan lines go to the system padded to 4 bytes; libpng's rows are not, so a row is
    // copied before it is handed out rather than read past its end.
    picture->stride = ((width * depth + 31) / 32) * 4;
    picture->scanLineBuffer = new (std::nothrow) uint8_t[picture->stride]();
    return true;
}

const uint8_t* pngScanLine(DecodedPng* picture, uint32_t scanLine)
{
    if (picture->scanLineBuffer == nullptr || scanLine >= picture->height)
        return nullptr;
    const uint8_t* row = picture->rows[picture->height - 1 - scanLine];
    uint8_t* line = picture->scanLineBuffer;
    if (picture->greyWithAlpha) {
        for (uint32_t x = 0; x < picture->width; ++x) {
            const uint8_t grey = row[2 * x];
            line[4 * x] = grey;
            line[4 * x + 1] = grey;
            line[4 * x + 2] = grey;
            line[4 * x + 3] = row[2 * x + 1];
        }
    } else {
        memcpy(line, row, (static_cast<size_t>(picture->width) * picture->bitsPerPixel + 7) / 8);
    }
    return line;
}

void releaseDecodedPng(DecodedPng* picture)
{
    destroyReader(picture);
    delete picture->description;
    delete[] picture->scanLineBuffer;
    memset(picture, 0, sizeof *picture);
}

const char* pngLibraryCopyright() { return png_get_copyright(nullptr); }
