#pragma once
// PNG decoding to device-independent rows, shared by telvane and rimcutter. No platform
// types: the Win32 half (skin/pngbitmap.h) turns the result into a device bitmap.
#include <cstddef>
#include <cstdint>

// Laid out as the platform's BITMAPINFOHEADER followed by 256 RGBQUADs (1,064 bytes), so the
// Win32 half hands it to the system as it is.
struct PngBitmapHeader {
    uint32_t size;
    int32_t width;
    int32_t height; // positive: scan lines run bottom-up
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t colorsUsed;
    uint32_t colorsImportant;
};

struct PngColorEntry {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};

struct PngDescription {
    PngBitmapHeader header;
    PngColorEntry colors[256];
};
static_assert(sizeof(PngBitmapHeader) == 40);
static_assert(sizeof(PngDescription) == 1064);

constexpr uint32_t kNoTransparentColor = 0xFFFFFFFF;

// The largest picture decoded: 4096 x 4096 pixels, and no side longer than 16384. Its rows
// take at most 64 MiB (4 bytes a pixel), and so does the device bitmap made from it on a
// 32-bit display. The header is checked before any row is read, so a larger picture costs
// nothing but its header.
constexpr uint64_t kMaxPicturePixels = 4096 * 4096;
constexpr uint32_t kMaxPictureSide = 16384;
constexpr uint64_t kMaxPictureBytes = kMaxPicturePixels * 4;

// A picture decoded by decodePngRows. Release it with releaseDecodedPng, which frees the
// description and the rows.
struct DecodedPng {
    PngDescription* description;
    uint32_t width;
    uint32_t height;
    uint32_t bitsPerPixel; // 4, 8, 24 or 32
    uint32_t transparentColor; // 0x00BBGGRR; kNoTransparentColor above 8 bits per pixel
    uint32_t stride; // bytes of one scan line handed out by pngScanLine (a multiple of 4)
    void* reader; // libpng's read and information structures, while decoding
    void* info;
    void* endInfo;
    uint8_t* rows; // height rows of rowBytes each, top-down as PNG stores them
    size_t rowBytes;
    bool greyWithAlpha;
    uint8_t* scanLineBuffer; // stride bytes, or null when the rows cannot be handed out
};

// Decodes PNG data held in memory. On failure returns false with AppError set
// (0x40000013 for anything that is not a supported PNG or is larger than kMaxPicturePixels,
// 0x80000001 without memory) and leaves nothing to release. On success AppError is
// 0x80000000 (nothing pending).
bool decodePngRows(const uint8_t* data, size_t size, DecodedPng* picture);

// Scan line `scanLine` counted from the bottom, in the description's format and padded to
// `stride` bytes. Null when the conversion buffer could not be had at decoding.
const uint8_t* pngScanLine(DecodedPng* picture, uint32_t scanLine);

// The picture at four bytes a pixel, into `pixels` (width x height x 4 bytes): blue, green, red
// and alpha (255 where the format has none), rows top-down and unpadded, whatever its format.
void expandPngPixels(const DecodedPng* picture, uint8_t* pixels);

void releaseDecodedPng(DecodedPng* picture);

// The version text of the PNG library, for the about dialog.
const char* pngLibraryCopyright();
