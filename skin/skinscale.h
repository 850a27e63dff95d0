#pragma once
// The skin at a monitor's scale. skin.xml gives every position, size and font height in
// pixels of a 96-DPI screen (100 %); a window on a monitor of 120, 144 or 192 DPI draws them
// 1.25, 1.5 or 2 times as large, its pictures resampled once for that scale.
#include <cstdint>

constexpr uint32_t kDesignDpi = 96;

// A coordinate or length of the 96-DPI layout at `dpi`, rounded half away from zero (434
// at 120 DPI, 542.5, gives 543) and held within 32 bits.
int32_t scaleToDpi(int32_t value, uint32_t dpi);

// The length at `dpi` of what runs `length` pixels from `start` in the 96-DPI layout: its
// scaled end less its scaled start, so that parts laid edge to edge stay edge to edge.
int32_t scaleSpan(int32_t start, int32_t length, uint32_t dpi);

// Resamples a picture of width x height pixels into one of targetWidth x targetHeight with a
// triangle filter, each axis on its own: linear between the two nearest pixels when
// enlarging, averaged over the pixels a target pixel covers when shrinking. Pixels are four
// bytes (blue, green, red, alpha, each channel filtered alike), rows top-down and unpadded;
// the edges repeat their outermost pixels. False when the working copy cannot be had or a side
// is 0 (the target then is left as it was).
bool resamplePixels(const uint8_t* source, uint32_t width, uint32_t height, uint8_t* target, uint32_t targetWidth,
    uint32_t targetHeight);
