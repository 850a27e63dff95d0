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

// The picture for a window at `dpi`, as if its top-left corner lay at (x, y) of the 96-DPI
// layout: each side runs from that corner's scaled place to its far edge's, smoothly
// resampled. At 96 DPI the picture as decodePng gives it. Null with AppError set when the
// picture cannot be decoded or its scaled copy made (one larger than kMaxPicturePixels is not
// made).
HBITMAP decodeScaledPng(const uint8_t* data, size_t size, HDC dc, int32_t x, int32_t y, uint32_t dpi);

// The file's picture as decodeScaledPng makes it; null without a new error code as
// loadPngFile when the file cannot be read.
HBITMAP loadScaledPngFile(const char* path, HDC dc, int32_t x, int32_t y, uint32_t dpi);
