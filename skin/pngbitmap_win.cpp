#include "skin/pngbitmap.h"

#include <memory>
#include <new>

#include "core/apperror.h"
#include "core/scoped_win.h"
#include "skin/pngdecode.h"
#include "skin/skinscale.h"

static_assert(sizeof(PngBitmapHeader) == sizeof(BITMAPINFOHEADER));
static_assert(sizeof(PngColorEntry) == sizeof(RGBQUAD));

HBITMAP decodePng(const uint8_t* data, size_t size, HDC dc, uint32_t* transparentColor, uint32_t* bitsPerPixel,
    uint32_t* width, uint32_t* height)
{
    DecodedPng picture;
    if (!decodePngRows(data, size, &picture))
        return nullptr;

    HBITMAP bitmap = CreateCompatibleBitmap(dc, static_cast<int>(picture.width), static_cast<int>(picture.height));
    if (bitmap == nullptr) {
        releaseDecodedPng(&picture);
        AppError = kErrorBitmapOrAccelerators;
        return nullptr;
    }
    if (!picture.greyWithAlpha && picture.rowBytes == picture.stride) {
        // The rows as they are, in one call: a picture whose rows the system reads top-down.
        PngDescription topDown = *picture.description;
        topDown.header.height = -int32_t(picture.height);
        SetDIBits(
            dc, bitmap, 0, picture.height, picture.rows, reinterpret_cast<const BITMAPINFO*>(&topDown), DIB_RGB_COLORS);
    } else {
        // One scan line at a time: the description names the whole picture, the bits are the one
        // line that starts at scan line s.
        const BITMAPINFO* description = reinterpret_cast<const BITMAPINFO*>(picture.description);
        for (uint32_t s = 0; s < picture.height; ++s) {
            const uint8_t* line = pngScanLine(&picture, s);
            if (line == nullptr)
                break;
            SetDIBits(dc, bitmap, s, 1, line, description, DIB_RGB_COLORS);
        }
    }

    if (transparentColor != nullptr)
        *transparentColor = picture.transparentColor;
    if (bitsPerPixel != nullptr)
        *bitsPerPixel = picture.bitsPerPixel;
    if (width != nullptr)
        *width = picture.width;
    if (height != nullptr)
        *height = picture.height;
    releaseDecodedPng(&picture);
    return bitmap;
}

namespace {

// The whole file in memory and its length in `read`; null when it cannot be opened or the
// memory cannot be had.
std::unique_ptr<uint8_t[]> readWholeFile(const char* path, DWORD* read)
{
    *read = 0;
    const ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return nullptr;
    LARGE_INTEGER fileSize {};
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart > 0x7FFFFFFF)
        return nullptr;
    const DWORD size = static_cast<DWORD>(fileSize.QuadPart);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size > 0 ? size : 1]);
    if (data && !ReadFile(file.get(), data.get(), size, read, nullptr))
        *read = 0;
    return data;
}

// A bitmap compatible with `dc` holding pixels of four bytes (blue, green, red, alpha), rows
// top-down.
HBITMAP bitmapOfPixels(HDC dc, const uint8_t* pixels, int32_t width, int32_t height)
{
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    if (bitmap == nullptr) {
        AppError = kErrorBitmapOrAccelerators;
        return nullptr;
    }
    BITMAPINFO description {};
    description.bmiHeader.biSize = sizeof description.bmiHeader;
    description.bmiHeader.biWidth = width;
    description.bmiHeader.biHeight = -height; // top-down
    description.bmiHeader.biPlanes = 1;
    description.bmiHeader.biBitCount = 32;
    description.bmiHeader.biCompression = BI_RGB;
    SetDIBits(dc, bitmap, 0, UINT(height), pixels, &description, DIB_RGB_COLORS);
    return bitmap;
}

// The decoded picture resampled to width x height; null with AppError set.
HBITMAP scaledBitmap(HDC dc, const DecodedPng& picture, int32_t width, int32_t height)
{
    const size_t sourceBytes = size_t(picture.width) * picture.height * 4;
    std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[sourceBytes]);
    std::unique_ptr<uint8_t[]> scaled(new (std::nothrow) uint8_t[size_t(width) * size_t(height) * 4]);
    if (!pixels || !scaled) {
        AppError = kErrorNoMemory;
        return nullptr;
    }
    expandPngPixels(&picture, pixels.get());
    if (!resamplePixels(pixels.get(), picture.width, picture.height, scaled.get(), uint32_t(width), uint32_t(height))) {
        AppError = kErrorNoMemory;
        return nullptr;
    }
    return bitmapOfPixels(dc, scaled.get(), width, height);
}

} // namespace

HBITMAP loadPngFile(const char* path, HDC dc)
{
    DWORD read = 0;
    const std::unique_ptr<uint8_t[]> data = readWholeFile(path, &read);
    return data ? decodePng(data.get(), read, dc, nullptr, nullptr, nullptr, nullptr) : nullptr;
}

HBITMAP loadScaledPngFile(const char* path, HDC dc, int32_t x, int32_t y, uint32_t dpi)
{
    DWORD read = 0;
    const std::unique_ptr<uint8_t[]> data = readWholeFile(path, &read);
    return data ? decodeScaledPng(data.get(), read, dc, x, y, dpi) : nullptr;
}

HBITMAP decodeScaledPng(const uint8_t* data, size_t size, HDC dc, int32_t x, int32_t y, uint32_t dpi)
{
    if (dpi == kDesignDpi)
        return decodePng(data, size, dc, nullptr, nullptr, nullptr, nullptr);
    DecodedPng picture;
    if (!decodePngRows(data, size, &picture))
        return nullptr;
    const int32_t width = scaleSpan(x, int32_t(picture.width), dpi);
    const int32_t height = scaleSpan(y, int32_t(picture.height), dpi);
    HBITMAP bitmap = nullptr;
    if (width <= 0 || height <= 0 || uint64_t(width) * uint64_t(height) > kMaxPicturePixels)
        AppError = kErrorPngDecode;
    else
        bitmap = scaledBitmap(dc, picture, width, height);
    releaseDecodedPng(&picture);
    return bitmap;
}
