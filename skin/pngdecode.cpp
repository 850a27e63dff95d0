#include "skin/pngdecode.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "core/apperror.h"

namespace {

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

[[noreturn]] void failRead(png_structp reader, png_const_charp) { png_longjmp(reader, 1); }

// The decoder never writes to a console; warnings do not stop it.
void ignoreWarning(png_structp, png_const_charp) { }

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

// Ancillary chunks the decoder has no use for, each name ended by a zero: skipped unread, so
// that no text or colour profile is inflated and kept (a picture of one megabyte could
// otherwise hold gigabytes of compressed text).
const png_byte kUnusedChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
                                 "sBIT\0sCAL\0sPLT\0sRGB\0sTER\0tEXt\0tIME\0zTXt";

void destroyReader(DecodedPng* picture)
{
    png_structp reader = static_cast<png_structp>(picture->reader);
    png_infop info = static_cast<png_infop>(picture->info);
    png_infop endInfo = static_cast<png_infop>(picture->endInfo);
    if (reader != nullptr)
        png_destroy_read_struct(&reader, info != nullptr ? &info : nullptr, endInfo != nullptr ? &endInfo : nullptr);
    picture->reader = picture->info = picture->endInfo = nullptr;
}

// Runs libpng over the data: the header first, which must name a supported format within
// the size limit, and only then the rows. Kept apart and free of objects with destructors,
// since a libpng error leaves it through longjmp. Returns the error code, or kNothingPending.
uint32_t readPng(DecodedPng* picture, MemorySource* source, int* colorType)
{
    png_structp reader = static_cast<png_structp>(picture->reader);
    png_infop info = static_cast<png_infop>(picture->info);
    if (setjmp(png_jmpbuf(reader)) != 0)
        return kErrorPngDecode;
    png_set_read_fn(reader, source, readFromMemory);
    png_set_user_limits(reader, kMaxPictureSide, kMaxPictureSide);
    png_set_keep_unknown_chunks(reader, PNG_HANDLE_CHUNK_NEVER, nullptr, 0);
    png_set_keep_unknown_chunks(reader, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks, sizeof kUnusedChunks / 5);
    png_read_info(reader, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    png_get_IHDR(reader, info, &width, &height, &bitDepth, colorType, nullptr, nullptr, nullptr);
    const uint32_t depth = depthOfFormat(*colorType, bitDepth);
    if (depth == 0 || uint64_t(width) * height > kMaxPicturePixels)
        return kErrorPngDecode;

    png_set_bgr(reader);
    const int passes = png_set_interlace_handling(reader);
    png_read_update_info(reader, info);
    picture->rowBytes = png_get_rowbytes(reader, info);
    // Zeroed: the passes of an interlaced picture combine into rows already there.
    picture->rows = new (std::nothrow) uint8_t[picture->rowBytes * height]();
    if (picture->rows == nullptr)
        return kErrorNoMemory;
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(reader, picture->rows + y * picture->rowBytes, nullptr);
    }
    png_read_end(reader, static_cast<png_infop>(picture->endInfo));

    picture->width = width;
    picture->height = height;
    picture->bitsPerPixel = depth;
    return kNothingPending;
}

void fillColorTable(DecodedPng* picture, int colorType)
{
    PngDescription* description = picture->description;
    png_structp reader = static_cast<png_structp>(picture->reader);
    png_infop info = static_cast<png_infop>(picture->info);
    if (colorType == PNG_COLOR_TYPE_GRAY) {
        for (int i = 0; i < 256; ++i)
            description->colors[i] = PngColorEntry { uint8_t(i), uint8_t(i), uint8_t(i), 0 };
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
        description->colors[i] = PngColorEntry { entry.blue, entry.green, entry.red, 0 };
        if (i < alphaCount && alpha[i] == 0)
            picture->transparentColor = entry.red | (entry.green << 8) | (uint32_t(entry.blue) << 16);
    }
}

} // namespace

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

    MemorySource source { data, size, 0 };
    int colorType = 0;
    const uint32_t error = readPng(picture, &source, &colorType);
    if (error != kNothingPending) {
        releaseDecodedPng(picture);
        AppError = error;
        return false;
    }

    AppError = kNothingPending;
    picture->description = new (std::nothrow) PngDescription {};
    if (picture->description == nullptr) {
        releaseDecodedPng(picture);
        AppError = kErrorNoMemory;
        return false;
    }
    const uint32_t depth = picture->bitsPerPixel;
    const uint32_t width = picture->width;
    picture->transparentColor = depth > 8 ? kNoTransparentColor : 0;
    picture->greyWithAlpha = colorType == PNG_COLOR_TYPE_GRAY_ALPHA;
    PngBitmapHeader& header = picture->description->header;
    header.size = sizeof(PngBitmapHeader);
    header.width = static_cast<int32_t>(width);
    header.height = static_cast<int32_t>(picture->height);
    header.planes = 1;
    header.bitCount = static_cast<uint16_t>(depth);
    fillColorTable(picture, colorType);
    destroyReader(picture);

    // Scan lines go to the system padded to 4 bytes; PNG rows are not, so a row is copied
    // before it is handed out rather than read past its end.
    picture->stride = ((width * depth + 31) / 32) * 4;
    picture->scanLineBuffer = new (std::nothrow) uint8_t[picture->stride]();
    return true;
}

const uint8_t* pngScanLine(DecodedPng* picture, uint32_t scanLine)
{
    if (picture->scanLineBuffer == nullptr || scanLine >= picture->height)
        return nullptr;
    const uint8_t* row = picture->rows + (picture->height - 1 - scanLine) * picture->rowBytes;
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

void expandPngPixels(const DecodedPng* picture, uint8_t* pixels)
{
    const PngColorEntry* colors = picture->description->colors;
    for (uint32_t y = 0; y < picture->height; ++y) {
        const uint8_t* row = picture->rows + y * picture->rowBytes;
        uint8_t* out = pixels + size_t(y) * picture->width * 4;
        for (uint32_t x = 0; x < picture->width; ++x, out += 4) {
            if (picture->greyWithAlpha) {
                out[0] = out[1] = out[2] = row[2 * x];
                out[3] = row[2 * x + 1];
                continue;
            }
            switch (picture->bitsPerPixel) {
            case 32:
                memcpy(out, row + 4 * x, 4);
                continue;
            case 24:
                memcpy(out, row + 3 * x, 3);
                break;
            default: {
                // Palette and grey pictures index the colour table; 4-bit ones hold the left
                // pixel in the high nibble.
                const uint8_t index
                    = picture->bitsPerPixel == 8 ? row[x] : uint8_t(row[x / 2] >> (x % 2 ? 0 : 4) & 0xF);
                out[0] = colors[index].blue;
                out[1] = colors[index].green;
                out[2] = colors[index].red;
                break;
            }
            }
            out[3] = 255;
        }
    }
}

void releaseDecodedPng(DecodedPng* picture)
{
    destroyReader(picture);
    delete[] picture->rows;
    delete picture->description;
    delete[] picture->scanLineBuffer;
    memset(picture, 0, sizeof *picture);
}

const char* pngLibraryCopyright() { return png_get_copyright(nullptr); }
