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
    int32_t height;  // positive: scan lines run bottom-up
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

// A picture decoded by decodePngRows. Release it with releaseDecodedPng, which frees the
// description and libpng's rows.
struct DecodedPng {
    PngDescription* description;
    uint32_t width;
    uint32_t height;
    uint32_t bitsPerPixel;      // 4, 8, 24 or 32
    uint32_t transparentColor;  // 0x00BBGGRR; kNoTransparentColor above 8 bits per pixel
    uint32_t stride;            // bytes of one scan line handed out by pngScanLine (a multiple of 4)
    void* reader;               // libpng's read and information structures, which own the rows
    void* info;
    void* endInfo;
    uint8_t** rows;  // top-down, as libpng delivers them
    bool greyWithAlpha;
    uint8_t* scanLineBuffer;  // stride bytes, or null when the rows cannot be handed out
};

// Decodes PNG data held in memory. On failure returns false with AppError set
// (0x40000013 for anything that is not a supported PNG, 0x80000001 without memory) and
// leaves nothing to release. On success AppError is 0x80000000 (nothing pending).
bool decodePngRows(const uint8_t* data, size_t size, DecodedPng* picture);

// Scan line `scanLine` counted from the bottom, in the description's format and padded to
// `stride` bytes. Null when the conversion buffer could not be had at decoding.
const uint8_t* pngScanLine(DecodedPng* picture, uint32_t scanLine);

void releaseDecodedPng(DecodedPng* picture);

// The version text of the PNG library, for the about dialog.
const char* pngLibraryCopyright();
