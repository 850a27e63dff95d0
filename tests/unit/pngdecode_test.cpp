#include "skin/pngdecode.h"

// The source pictures name only the fields a case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "fakes/pngwrite.h"

#if defined(__has_include)
#if __has_include(<sanitizer/allocator_interface.h>)
#include <sanitizer/allocator_interface.h>
#endif
#endif

namespace {

struct Decoded {
    DecodedPng picture {};
    bool ok = false;
    explicit Decoded(const std::vector<uint8_t>& data) { ok = decodePngRows(data.data(), data.size(), &picture); }
    ~Decoded()
    {
        if (ok)
            releaseDecodedPng(&picture);
    }
    std::vector<uint8_t> line(uint32_t s)
    {
        const uint8_t* bytes = pngScanLine(&picture, s);
        return bytes == nullptr ? std::vector<uint8_t> {} : std::vector<uint8_t>(bytes, bytes + picture.stride);
    }
    // The top row at four bytes a pixel.
    std::vector<uint8_t> topPixels()
    {
        std::vector<uint8_t> pixels(size_t(picture.width) * picture.height * 4);
        expandPngPixels(&picture, pixels.data());
        return std::vector<uint8_t>(pixels.begin(), pixels.begin() + picture.width * 4);
    }
};

std::vector<uint8_t> palette16()
{
    std::vector<uint8_t> palette;
    for (int i = 0; i < 16; ++i) {
        palette.push_back(uint8_t(10 * i)); // red
        palette.push_back(uint8_t(100 + i)); // green
        palette.push_back(uint8_t(200 + i)); // blue
    }
    return palette;
}

TEST(PngDecode, SupportedFormatsGiveDepthTableAndRows)
{
    struct Case {
        const char* name;
        PngSource source;
        uint32_t depth;
        uint32_t colorsUsed;
        uint32_t transparent;
        uint32_t stride;
        std::vector<uint8_t> bottomLine; // scan line 0 = the last PNG row, padded
        std::vector<uint8_t> topLine;
        std::vector<uint8_t> topPixels; // the first PNG row as blue, green, red, alpha
    };
    const Case cases[] = {
        { "grey 8", { 3, 2, 8, PNG_COLOR_TYPE_GRAY, false, { 1, 2, 3, 250, 251, 252 } }, 8, 0, 0, 4,
            { 250, 251, 252, 0 }, { 1, 2, 3, 0 }, { 1, 1, 1, 255, 2, 2, 2, 255, 3, 3, 3, 255 } },
        { "truecolour 8 (B, G, R)", { 2, 2, 8, PNG_COLOR_TYPE_RGB, false, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } },
            24, 0, kNoTransparentColor, 8, { 9, 8, 7, 12, 11, 10, 0, 0 }, { 3, 2, 1, 6, 5, 4, 0, 0 },
            { 3, 2, 1, 255, 6, 5, 4, 255 } },
        { "truecolour with alpha", { 1, 2, 8, PNG_COLOR_TYPE_RGB_ALPHA, false, { 1, 2, 3, 4, 5, 6, 7, 8 } }, 32, 0,
            kNoTransparentColor, 4, { 7, 6, 5, 8 }, { 3, 2, 1, 4 }, { 3, 2, 1, 4 } },
        { "grey with alpha 0x80/0x40 is 0x40808080",
            { 2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA, false, { 0x80, 0x40, 0x01, 0xFF } }, 32, 0, kNoTransparentColor, 8,
            { 0x80, 0x80, 0x80, 0x40, 0x01, 0x01, 0x01, 0xFF }, { 0x80, 0x80, 0x80, 0x40, 0x01, 0x01, 0x01, 0xFF },
            { 0x80, 0x80, 0x80, 0x40, 0x01, 0x01, 0x01, 0xFF } },
        // Entry i of palette16 is red 10 i, green 100 + i, blue 200 + i.
        { "palette 8 without tRNS: black", { 5, 1, 8, PNG_COLOR_TYPE_PALETTE, false, { 0, 1, 2, 3, 15 }, palette16() },
            8, 16, 0, 8, { 0, 1, 2, 3, 15, 0, 0, 0 }, { 0, 1, 2, 3, 15, 0, 0, 0 },
            { 200, 100, 0, 255, 201, 101, 10, 255, 202, 102, 20, 255, 203, 103, 30, 255, 215, 115, 150, 255 } },
        { "palette 4, two indices per byte high nibble first",
            { 4, 2, 4, PNG_COLOR_TYPE_PALETTE, false, { 0x12, 0x3F, 0xAB, 0xC0 }, palette16() }, 4, 16, 0, 4,
            { 0xAB, 0xC0, 0, 0 }, { 0x12, 0x3F, 0, 0 },
            { 201, 101, 10, 255, 202, 102, 20, 255, 203, 103, 30, 255, 215, 115, 150, 255 } },
        { "interlaced truecolour", { 2, 2, 8, PNG_COLOR_TYPE_RGB, true, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 } }, 24,
            0, kNoTransparentColor, 8, { 9, 8, 7, 12, 11, 10, 0, 0 }, { 3, 2, 1, 6, 5, 4, 0, 0 },
            { 3, 2, 1, 255, 6, 5, 4, 255 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppError = 0;
        Decoded decoded(writePng(c.source));
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(AppError, kNothingPending);
        const DecodedPng& p = decoded.picture;
        EXPECT_EQ(p.bitsPerPixel, c.depth);
        EXPECT_EQ(p.width, c.source.width);
        EXPECT_EQ(p.height, c.source.height);
        EXPECT_EQ(p.transparentColor, c.transparent);
        EXPECT_EQ(p.stride, c.stride);
        const PngBitmapHeader& h = p.description->header;
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, int32_t(c.source.width));
        EXPECT_EQ(h.height, int32_t(c.source.height));
        EXPECT_EQ(h.planes, 1);
        EXPECT_EQ(h.bitCount, c.depth);
        EXPECT_EQ(h.compression, 0u);
        EXPECT_EQ(h.colorsUsed, c.colorsUsed);
        EXPECT_EQ(decoded.line(0), c.bottomLine);
        EXPECT_EQ(decoded.line(c.source.height - 1), c.topLine);
        EXPECT_EQ(decoded.topPixels(), c.topPixels);
    }
}

TEST(PngDecode, ColourTables)
{
    Decoded grey(writePng({ 1, 1, 8, PNG_COLOR_TYPE_GRAY, false, { 0 } }));
    ASSERT_TRUE(grey.ok);
    for (int i : { 0, 1, 127, 255 }) {
        const PngColorEntry& e = grey.picture.description->colors[i];
        EXPECT_EQ(e.blue, i);
        EXPECT_EQ(e.green, i);
        EXPECT_EQ(e.red, i);
        EXPECT_EQ(e.reserved, 0);
    }

    // Palette entries are written blue, green, red, 0 from the PLTE's red, green, blue.
    Decoded palette(
        writePng({ 1, 1, 8, PNG_COLOR_TYPE_PALETTE, false, { 0 }, { 0x11, 0x22, 0x33, 0x44, 0x55, 0x66 } }));
    ASSERT_TRUE(palette.ok);
    const PngColorEntry* colors = palette.picture.description->colors;
    EXPECT_EQ(palette.picture.description->header.colorsUsed, 2u);
    EXPECT_EQ(colors[1].blue, 0x66);
    EXPECT_EQ(colors[1].green, 0x55);
    EXPECT_EQ(colors[1].red, 0x44);
    EXPECT_EQ(colors[1].reserved, 0);
    EXPECT_EQ(colors[2].blue, 0); // beyond the palette the table stays zero
}

TEST(PngDecode, TransparentColourIsTheLastEntryWithAlphaZero)
{
    std::vector<uint8_t> alphas(8, 255);
    alphas[3] = 0;
    alphas[7] = 0;
    alphas[5] = 1; // nearly transparent is not transparent
    Decoded decoded(writePng({ 2, 1, 8, PNG_COLOR_TYPE_PALETTE, false, { 3, 7 }, palette16(), alphas }));
    ASSERT_TRUE(decoded.ok);
    // Entry 7: red 70, green 107, blue 207 as 0x00BBGGRR.
    EXPECT_EQ(decoded.picture.transparentColor, (207u << 16) | (107u << 8) | 70u);

    std::vector<uint8_t> onlyFirst { 0 };
    Decoded first(writePng({ 1, 1, 4, PNG_COLOR_TYPE_PALETTE, false, { 0x10 }, palette16(), onlyFirst }));
    ASSERT_TRUE(first.ok);
    EXPECT_EQ(first.picture.transparentColor, (200u << 16) | (100u << 8) | 0u);
}

TEST(PngDecode, UnsupportedAndBrokenDataIsRejected)
{
    const std::vector<uint8_t> rgb16(2 * 6, 0x7F);
    const std::vector<uint8_t> onePixel(1, 0);
    struct Case {
        const char* name;
        std::vector<uint8_t> data;
    };
    std::vector<Case> cases = {
        { "16-bit truecolour", writePng({ 2, 1, 16, PNG_COLOR_TYPE_RGB, false, rgb16 }) },
        { "16-bit grey", writePng({ 1, 1, 16, PNG_COLOR_TYPE_GRAY, false, { 0, 0 } }) },
        { "16-bit truecolour with alpha",
            writePng({ 1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, false, std::vector<uint8_t>(8) }) },
        { "1-bit palette", writePng({ 1, 1, 1, PNG_COLOR_TYPE_PALETTE, false, onePixel, { 1, 2, 3, 4, 5, 6 } }) },
        { "2-bit palette", writePng({ 1, 1, 2, PNG_COLOR_TYPE_PALETTE, false, onePixel, { 1, 2, 3, 4, 5, 6 } }) },
        { "1-bit grey", writePng({ 1, 1, 1, PNG_COLOR_TYPE_GRAY, false, onePixel }) },
        { "2-bit grey", writePng({ 1, 1, 2, PNG_COLOR_TYPE_GRAY, false, onePixel }) },
        { "4-bit grey", writePng({ 1, 1, 4, PNG_COLOR_TYPE_GRAY, false, onePixel }) },
        { "seven bytes of a signature", { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A } },
        { "no signature", { 'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0 } },
        { "empty", {} },
    };
    std::vector<uint8_t> whole = writePng({ 4, 4, 8, PNG_COLOR_TYPE_RGB, false, std::vector<uint8_t>(48, 9) });
    for (size_t cut : { size_t(8), size_t(20), size_t(33), whole.size() - 20, whole.size() - 13 }) {
        cases.push_back({ "truncated", std::vector<uint8_t>(whole.begin(), whole.begin() + cut) });
    }
    std::vector<uint8_t> corrupt = whole;
    corrupt[42] ^= 0xFF; // a byte of the IDAT data: its CRC no longer matches
    cases.push_back({ "corrupt", corrupt });

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppError = 0;
        DecodedPng picture;
        EXPECT_FALSE(decodePngRows(c.data.data(), c.data.size(), &picture));
        EXPECT_EQ(AppError, kErrorPngDecode);
        EXPECT_EQ(picture.description, nullptr);
        EXPECT_EQ(picture.reader, nullptr);
    }
    // The same picture whole decodes: the cuts above are what made it fail.
    Decoded decoded(whole);
    EXPECT_TRUE(decoded.ok);
}

// The heap is watched where AddressSanitizer lets a test see every allocation (the native
// tree); elsewhere the same cases check only what is decoded and what is refused.
#if defined(__SANITIZE_ADDRESS__)
#define WATCHES_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WATCHES_HEAP 1
#endif
#endif

#ifdef WATCHES_HEAP
bool watchingHeap = false;
size_t bytesAllocated = 0; // while watching, freed or not
void countAllocation(const volatile void*, size_t size)
{
    if (watchingHeap)
        bytesAllocated += size;
}
void ignoreFree(const volatile void*) { }
#endif

// What decoding `data` asked of the heap, in bytes; 0 where the heap is not watched.
size_t bytesToDecode(const std::vector<uint8_t>& data, bool* decoded)
{
#ifdef WATCHES_HEAP
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(countAllocation, ignoreFree) != 0;
    EXPECT_TRUE(installed);
    bytesAllocated = 0;
    watchingHeap = true;
#endif
    DecodedPng picture;
    *decoded = decodePngRows(data.data(), data.size(), &picture);
#ifdef WATCHES_HEAP
    watchingHeap = false;
#endif
    if (*decoded)
        releaseDecodedPng(&picture);
#ifdef WATCHES_HEAP
    return bytesAllocated;
#else
    return 0;
#endif
}

TEST(PngDecode, PicturesAreBoundedByTheirHeaderBeforeAnyRowIsDecoded)
{
    constexpr size_t kMiB = 1024 * 1024;
    struct Case {
        const char* name;
        PngSource source;
        bool decoded;
        size_t mostBytes; // the rows, and a megabyte for libpng's own needs
    };
    const Case cases[] = {
        { "16384 x 1, the widest", { 16384, 1, 8, PNG_COLOR_TYPE_GRAY }, true, kMiB },
        { "4096 x 4096, the most pixels", { 4096, 4096, 8, PNG_COLOR_TYPE_GRAY }, true, 16 * kMiB + kMiB },
        { "16385 x 1", { 16385, 1, 8, PNG_COLOR_TYPE_GRAY }, false, kMiB },
        { "1 x 16385", { 1, 16385, 8, PNG_COLOR_TYPE_GRAY }, false, kMiB },
        { "4097 x 4096", { 4097, 4096, 8, PNG_COLOR_TYPE_GRAY }, false, kMiB },
        { "4096 x 4097", { 4096, 4097, 8, PNG_COLOR_TYPE_GRAY }, false, kMiB },
        // Once decoded whole (96 MiB) before its depth was looked at.
        { "16-bit truecolour 4096 x 4096", { 4096, 4096, 16, PNG_COLOR_TYPE_RGB }, false, kMiB },
        // A text of 7 MB in a few kilobytes: skipped, never inflated.
        { "compressed comment", { 2, 2, 8, PNG_COLOR_TYPE_RGB, false, {}, {}, {}, std::string(7000000, 'a') }, true,
            kMiB },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppError = 0;
        bool decoded = false;
        EXPECT_LE(bytesToDecode(writePng(c.source), &decoded), c.mostBytes);
        EXPECT_EQ(decoded, c.decoded);
        EXPECT_EQ(AppError, c.decoded ? kNothingPending : kErrorPngDecode);
    }

    // The widest picture comes out whole.
    Decoded widest(writePng({ 16384, 1, 8, PNG_COLOR_TYPE_GRAY, false, std::vector<uint8_t>(16384, 7) }));
    ASSERT_TRUE(widest.ok);
    EXPECT_EQ(widest.picture.stride, 16384u);
    EXPECT_EQ(widest.line(0)[16383], 7);
}

TEST(PngDecode, CopyrightTextNamesTheLibrary) { EXPECT_NE(strstr(pngLibraryCopyright(), "libpng"), nullptr); }

} // namespace
