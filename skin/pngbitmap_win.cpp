#include "skin/pngbitmap.h"

#include <memory>
#include <new>

#include "core/apperror.h"
#include "core/scoped_win.h"
#include "skin/pngdecode.h"

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
    // One scan line at a time: the description names the whole picture, the bits are the one
    // line that starts at scan line s.
    const BITMAPINFO* description = reinterpret_cast<const BITMAPINFO*>(picture.description);
    for (uint32_t s = 0; s < picture.height; ++s) {
        const uint8_t* line = pngScanLine(&picture, s);
        if (line == nullptr)
            break;
        SetDIBits(dc, bitmap, s, 1, line, description, DIB_RGB_COLORS);
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

HBITMAP loadPngFile(const char* path, HDC dc)
{
    const ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen())
        return nullptr;
    LARGE_INTEGER fileSize {};
    if (!GetFileSizeEx(file.get(), &fileSize) || fileSize.QuadPart > 0x7FFFFFFF)
        return nullptr;
    const DWORD size = static_cast<DWORD>(fileSize.QuadPart);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[size > 0 ? size : 1]);
    if (!data)
        return nullptr;
    DWORD read = 0;
    if (!ReadFile(file.get(), data.get(), size, &read, nullptr))
        read = 0;
    return decodePng(data.get(), read, dc, nullptr, nullptr, nullptr, nullptr);
}
