// PNG pictures as device bitmaps under Wine: pixels land the right way up, telvane's own
// resources have their listed formats, and the help toggle strips become image lists.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/apperror.h"
#include "skin/pngbitmap.h"
#include "skin/pngresource.h"

namespace {

// A PNG of 2 x 2 truecolour pixels, written out by hand: red, green on the top row, blue,
// white below. Zlib stored blocks keep it readable.
std::vector<uint8_t> pngBytes(const std::vector<uint8_t>& ihdr, const std::vector<uint8_t>& raw)
{
    auto crc32 = [](const std::vector<uint8_t>& bytes) {
        uint32_t crc = 0xFFFFFFFF;
        for (uint8_t byte : bytes) {
            crc ^= byte;
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
        }
        return ~crc;
    };
    auto adler32 = [](const std::vector<uint8_t>& bytes) {
        uint32_t a = 1, b = 0;
        for (uint8_t byte : bytes) {
            a = (a + byte) % 65521;
            b = (b + a) % 65521;
        }
        return (b << 16) | a;
    };
    std::vector<uint8_t> out = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };
    auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
        const uint32_t length = static_cast<uint32_t>(data.size());
        for (int shift : { 24, 16, 8, 0 })
            out.push_back(uint8_t(length >> shift));
        std::vector<uint8_t> typed(type, type + 4);
        typed.insert(typed.end(), data.begin(), data.end());
        out.insert(out.end(), typed.begin(), typed.end());
        const uint32_t crc = crc32(typed);
        for (int shift : { 24, 16, 8, 0 })
            out.push_back(uint8_t(crc >> shift));
    };
    std::vector<uint8_t> zlib = { 0x78, 0x01, 0x01, uint8_t(raw.size()), uint8_t(raw.size() >> 8), uint8_t(~raw.size()),
        uint8_t(~raw.size() >> 8) };
    zlib.insert(zlib.end(), raw.begin(), raw.end());
    const uint32_t adler = adler32(raw);
    for (int shift : { 24, 16, 8, 0 })
        zlib.push_back(uint8_t(adler >> shift));
    chunk("IHDR", ihdr);
    chunk("IDAT", zlib);
    chunk("IEND", {});
    return out;
}

std::vector<uint8_t> ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType)
{
    return { 0, 0, 0, uint8_t(width), 0, 0, 0, uint8_t(height), depth, colorType, 0, 0, 0 };
}

class ScreenDc {
public:
    ScreenDc()
        : dc_(GetDC(nullptr))
    {
    }
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

COLORREF pixelOf(HBITMAP bitmap, int x, int y)
{
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF color = GetPixel(memory, x, y);
    SelectObject(memory, old);
    DeleteDC(memory);
    return color;
}

TEST(PngBitmap, PixelsKeepTheirPlacesAndColours)
{
    ScreenDc screen;
    // Each row starts with filter byte 0.
    const std::vector<uint8_t> truecolour
        = pngBytes(ihdr(2, 2, 8, 2), { 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255 });
    uint32_t transparent = 0, depth = 0, width = 0, height = 0;
    HBITMAP bitmap
        = decodePng(truecolour.data(), truecolour.size(), screen.get(), &transparent, &depth, &width, &height);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(transparent, 0xFFFFFFFFu);
    EXPECT_EQ(depth, 24u);
    EXPECT_EQ(width, 2u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(pixelOf(bitmap, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixelOf(bitmap, 1, 0), RGB(0, 255, 0));
    EXPECT_EQ(pixelOf(bitmap, 0, 1), RGB(0, 0, 255));
    EXPECT_EQ(pixelOf(bitmap, 1, 1), RGB(255, 255, 255));
    DeleteObject(bitmap);

    // Grey with alpha: grey 0x80, alpha 0x40 becomes 0x40808080, whose colour is grey 0x80.
    const std::vector<uint8_t> greyAlpha = pngBytes(ihdr(1, 1, 8, 4), { 0, 0x80, 0x40 });
    bitmap = decodePng(greyAlpha.data(), greyAlpha.size(), screen.get(), &transparent, &depth, nullptr, nullptr);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(depth, 32u);
    EXPECT_EQ(transparent, 0xFFFFFFFFu);
    EXPECT_EQ(pixelOf(bitmap, 0, 0), RGB(0x80, 0x80, 0x80));
    DeleteObject(bitmap);

    // 16-bit truecolour is refused.
    AppError = 0;
    const std::vector<uint8_t> deep = pngBytes(ihdr(1, 1, 16, 2), { 0, 1, 2, 3, 4, 5, 6 });
    EXPECT_EQ(decodePng(deep.data(), deep.size(), screen.get(), nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(AppError, kErrorPngDecode);
}

TEST(PngBitmap, FilesAreReadWhole)
{
    ScreenDc screen;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "telvane-png-test.png";
    const std::vector<uint8_t> picture = pngBytes(ihdr(2, 1, 8, 0), { 0, 0x10, 0xF0 });
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(picture.data(), 1, picture.size(), file);
    fclose(file);
    HBITMAP bitmap = loadPngFile(path.c_str(), screen.get());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(pixelOf(bitmap, 0, 0), RGB(0x10, 0x10, 0x10));
    EXPECT_EQ(pixelOf(bitmap, 1, 0), RGB(0xF0, 0xF0, 0xF0));
    DeleteObject(bitmap);
    DeleteFileA(path.c_str());

    AppError = kNothingPending;
    EXPECT_EQ(loadPngFile((std::string(temp) + "telvane-no-such-file.png").c_str(), screen.get()), nullptr);
    EXPECT_EQ(AppError, kNothingPending); // a missing file leaves no code
}

TEST(PngBitmap, ScaledPicturesAreResampledWhereTheyLie)
{
    ScreenDc screen;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "telvane-png-scaled.png";
    const std::vector<uint8_t> picture = pngBytes(ihdr(2, 1, 8, 0), { 0, 0x10, 0xF0 }); // grey 16, 240
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(picture.data(), 1, picture.size(), file);
    fclose(file);
    struct Case {
        int32_t x, y;
        uint32_t dpi;
        LONG width, height;
        std::vector<int> greys; // each row's pixels
    };
    const Case cases[] = {
        { 0, 0, 96, 2, 1, { 16, 240 } },
        // Twice the size: a quarter and three quarters of each neighbour between them.
        { 0, 0, 192, 4, 2, { 16, 72, 184, 240 } },
        // At 125 % the picture at x 0 runs to 2.5, rounded 3; at x 2 from 2.5 to 5, so 2 wide.
        { 0, 0, 120, 3, 1, { 16, 128, 240 } },
        { 2, 0, 120, 2, 1, { 16, 240 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " at " << c.dpi);
        HBITMAP bitmap = loadScaledPngFile(path.c_str(), screen.get(), c.x, c.y, c.dpi);
        ASSERT_NE(bitmap, nullptr);
        BITMAP size {};
        GetObjectA(bitmap, sizeof size, &size);
        EXPECT_EQ(size.bmWidth, c.width);
        EXPECT_EQ(size.bmHeight, c.height);
        for (LONG y = 0; y < c.height; ++y) {
            for (LONG x = 0; x < c.width && size_t(x) < c.greys.size(); ++x)
                EXPECT_EQ(pixelOf(bitmap, x, y), RGB(c.greys[x], c.greys[x], c.greys[x])) << x << "," << y;
        }
        DeleteObject(bitmap);
    }
    DeleteFileA(path.c_str());
}

TEST(PngResources, OwnPicturesHaveTheirListedFormats)
{
    ScreenDc screen;
    struct Case {
        uint32_t id;
        uint32_t width, height, depth;
    };
    const Case cases[] = { { 20, 493, 464, 24 }, { 21, 40, 20, 32 }, { 22, 40, 20, 8 }, { 23, 40, 20, 4 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(PNG_RESOURCE_TYPE));
        ASSERT_NE(resource, nullptr);
        const uint8_t* data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, resource)));
        uint32_t transparent = 0, depth = 0, width = 0, height = 0;
        HBITMAP bitmap
            = decodePng(data, SizeofResource(nullptr, resource), screen.get(), &transparent, &depth, &width, &height);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(depth, c.depth);
        if (c.depth <= 8) {
            EXPECT_EQ(transparent, RGB(255, 0, 255)); // the palette's unused entry 0
        }
        DeleteObject(bitmap);

        HBITMAP viaResource = loadPngResource(screen.get(), c.id);
        EXPECT_NE(viaResource, nullptr);
        DeleteObject(viaResource);
    }
    for (uint32_t icon : { 100u, 101u }) {
        HICON handle = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icon), IMAGE_ICON, 16, 16, LR_SHARED));
        EXPECT_NE(handle, nullptr) << icon;
    }
}

TEST(PngResources, HelpToggleStripsBecomeTwoSquarePictures)
{
    ScreenDc screen;
    for (uint32_t id : { 21u, 22u, 23u }) {
        SCOPED_TRACE(id);
        HIMAGELIST list = loadImageList(screen.get(), id);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(list), 2);
        int width = 0, height = 0;
        ImageList_GetIconSize(list, &width, &height);
        EXPECT_EQ(width, 20);
        EXPECT_EQ(height, 20);
        ImageList_Destroy(list);
    }
    // The display decides the strip.
    EXPECT_EQ(helpToggleResource(8, true), 23u);
    EXPECT_EQ(helpToggleResource(4, false), 23u);
    EXPECT_EQ(helpToggleResource(16, true), 21u);
    EXPECT_EQ(helpToggleResource(32, true), 21u);
    EXPECT_EQ(helpToggleResource(24, false), 22u);
}

TEST(PngResources, MissingResourceNamesItsId)
{
    ScreenDc screen;
    AppError = kNothingPending;
    MessageArguments.number1 = 0;
    EXPECT_EQ(loadPngResource(screen.get(), 99), nullptr);
    EXPECT_EQ(AppError, kErrorResourceMissing);
    EXPECT_EQ(MessageArguments.number1, 99u);
    AppError = kNothingPending;
    EXPECT_EQ(loadImageList(screen.get(), 98), nullptr);
    EXPECT_EQ(AppError, kErrorResourceMissing);
    EXPECT_EQ(MessageArguments.number1, 98u);
    AppError = kNothingPending;
}

} // namespace
