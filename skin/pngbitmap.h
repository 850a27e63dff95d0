#pragma once
// The Win32 half of the PNG decoder: device bitmaps from PNG data, files and resources.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>

// A bitmap compatible with `dc` holding the picture, or null with AppError set. Every output
// pointer may be null.
HBITMAP decodePng(const uint8_t* data, size_t size, HDC dc, uint32_t* transparentColor, uint32_t* bitsPerPixel,
    uint32_t* width, uint32_t* height);

// The whole file decoded; null without a new error code when it cannot be opened or read into
// memory.
HBITMAP loadPngFile(const char* path, HDC dc);
