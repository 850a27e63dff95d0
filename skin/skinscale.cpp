#include "skin/skinscale.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace {

constexpr int kWeightBits = 14;
constexpr int32_t kWeightOne = 1 << kWeightBits;

int32_t saturated(int64_t value)
{
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return int32_t(value);
}

// The source pixels each target pixel of one axis is made of: `taps` pixels from first[i] on
// (read clamped to the picture) with weights that add up to kWeightOne.
struct AxisFilter {
    uint32_t taps = 0;
    std::unique_ptr<int32_t[]> first;
    std::unique_ptr<int32_t[]> weights;
};

bool makeAxisFilter(uint32_t from, uint32_t to, AxisFilter& filter)
{
    const double ratio = double(from) / double(to);
    // Shrinking widens the triangle to the pixels a target pixel covers.
    const double radius = ratio > 1.0 ? ratio : 1.0;
    filter.taps = uint32_t(2.0 * radius) + 2;
    filter.first.reset(new (std::nothrow) int32_t[to]);
    filter.weights.reset(new (std::nothrow) int32_t[size_t(to) * filter.taps]);
    std::unique_ptr<double[]> exact(new (std::nothrow) double[filter.taps]);
    if (!filter.first || !filter.weights || !exact)
        return false;
    for (uint32_t i = 0; i < to; ++i) {
        // Pixel centres meet: the target pixel's centre, in source pixels.
        const double centre = (i + 0.5) * ratio - 0.5;
        const int32_t first = int32_t(std::floor(centre - radius)) + 1;
        double sum = 0.0;
        for (uint32_t t = 0; t < filter.taps; ++t) {
            const double distance = std::fabs(double(first + int32_t(t)) - centre) / radius;
            exact[t] = distance < 1.0 ? 1.0 - distance : 0.0;
            sum += exact[t];
        }
        int32_t* weights = &filter.weights[size_t(i) * filter.taps];
        int32_t total = 0;
        uint32_t largest = 0;
        for (uint32_t t = 0; t < filter.taps; ++t) {
            weights[t] = int32_t(std::lround(exact[t] / sum * kWeightOne));
            total += weights[t];
            if (weights[t] > weights[largest])
                largest = t;
        }
        // Rounding must not brighten or darken a flat area: the weights add up exactly.
        weights[largest] += kWeightOne - total;
        filter.first[i] = first;
    }
    return true;
}

// One axis of the resampling: `count` lines of pixels, `step` bytes from one pixel of a line
// to the next and `lineStep` bytes from one line to the next, in the source and the target.
struct AxisPass {
    const uint8_t* source;
    uint32_t sourceLength;
    size_t sourceStep;
    size_t sourceLineStep;
    uint8_t* target;
    size_t targetStep;
    size_t targetLineStep;
    uint32_t count;
};

void filterAxis(const AxisPass& pass, const AxisFilter& filter, uint32_t targetLength)
{
    const int32_t last = int32_t(pass.sourceLength) - 1;
    for (uint32_t line = 0; line < pass.count; ++line) {
        const uint8_t* from = pass.source + line * pass.sourceLineStep;
        uint8_t* to = pass.target + line * pass.targetLineStep;
        for (uint32_t i = 0; i < targetLength; ++i) {
            const int32_t* weights = &filter.weights[size_t(i) * filter.taps];
            int32_t sums[4] = { 0, 0, 0, 0 };
            for (uint32_t t = 0; t < filter.taps; ++t) {
                if (weights[t] == 0)
                    continue;
                int32_t at = filter.first[i] + int32_t(t);
                at = at < 0 ? 0 : at > last ? last : at;
                const uint8_t* pixel = from + size_t(at) * pass.sourceStep;
                for (int channel = 0; channel < 4; ++channel)
                    sums[channel] += weights[t] * pixel[channel];
            }
            uint8_t* pixel = to + size_t(i) * pass.targetStep;
            for (int channel = 0; channel < 4; ++channel) {
                const int32_t value = (sums[channel] + kWeightOne / 2) >> kWeightBits;
                pixel[channel] = uint8_t(value > 255 ? 255 : value);
            }
        }
    }
}

} // namespace

int32_t scaleToDpi(int32_t value, uint32_t dpi)
{
    const int64_t product = int64_t(value) * int64_t(dpi);
    const int64_t half = kDesignDpi / 2;
    const int64_t scaled = product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
    return saturated(scaled);
}

int32_t scaleSpan(int32_t start, int32_t length, uint32_t dpi)
{
    const int32_t end = saturated(int64_t(start) + length);
    return saturated(int64_t(scaleToDpi(end, dpi)) - scaleToDpi(start, dpi));
}

bool resamplePixels(const uint8_t* source, uint32_t width, uint32_t height, uint8_t* target, uint32_t targetWidth,
    uint32_t targetHeight)
{
    if (width == 0 || height == 0 || targetWidth == 0 || targetHeight == 0)
        return false;
    AxisFilter across, down;
    const size_t middleSize = size_t(targetWidth) * height * 4;
    std::unique_ptr<uint8_t[]> middle(new (std::nothrow) uint8_t[middleSize]);
    if (!middle || !makeAxisFilter(width, targetWidth, across) || !makeAxisFilter(height, targetHeight, down))
        return false;
    // Rows first into the working copy (target width, source height), then its columns.
    filterAxis(
        { source, width, 4, size_t(width) * 4, middle.get(), 4, size_t(targetWidth) * 4, height }, across, targetWidth);
    filterAxis({ middle.get(), height, size_t(targetWidth) * 4, 4, target, size_t(targetWidth) * 4, 4, targetWidth },
        down, targetHeight);
    return true;
}
