#pragma once
// Writes small PNG files in memory for the decoder tests, with libpng's own writer.
#include <cstdint>
#include <string>
#include <vector>

struct PngSource {
    uint32_t width;
    uint32_t height;
    int bitDepth;
    int colorType; // PNG_COLOR_TYPE_*
    bool interlaced = false;
    std::vector<uint8_t> pixels; // packed rows top-down, as PNG stores them (RGB order); none: all zero
    std::vector<uint8_t> palette; // r, g, b triples
    std::vector<uint8_t> alphas; // tRNS entries of a palette picture
    std::string comment; // written compressed, as a zTXt chunk, when not empty
};

std::vector<uint8_t> writePng(const PngSource& source);
