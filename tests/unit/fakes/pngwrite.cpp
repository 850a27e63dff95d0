#include "fakes/pngwrite.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>

namespace {

void appendToVector(png_structp writer, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(writer));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) { }

size_t rowBytes(const PngSource& source)
{
    int channels = 1;
    if (source.colorType == PNG_COLOR_TYPE_RGB)
        channels = 3;
    else if (source.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        channels = 2;
    else if (source.colorType == PNG_COLOR_TYPE_RGB_ALPHA)
        channels = 4;
    return (static_cast<size_t>(source.width) * channels * source.bitDepth + 7) / 8;
}

} // namespace

std::vector<uint8_t> writePng(const PngSource& source)
{
    std::vector<uint8_t> out;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(writer);
    if (setjmp(png_jmpbuf(writer)) != 0)
        abort();
    png_set_write_fn(writer, &out, appendToVector, flushNothing);
    png_set_IHDR(writer, info, source.width, source.height, source.bitDepth, source.colorType,
        source.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < source.palette.size(); i += 3)
        palette.push_back(png_color { source.palette[i], source.palette[i + 1], source.palette[i + 2] });
    if (!palette.empty())
        png_set_PLTE(writer, info, palette.data(), static_cast<int>(palette.size()));
    if (!source.alphas.empty())
        png_set_tRNS(writer, info, source.alphas.data(), static_cast<int>(source.alphas.size()), nullptr);
    png_text comment {};
    if (!source.comment.empty()) {
        comment.compression = PNG_TEXT_COMPRESSION_zTXt;
        comment.key = const_cast<char*>("Comment");
        comment.text = const_cast<char*>(source.comment.c_str());
        comment.text_length = source.comment.size();
        png_set_text(writer, info, &comment, 1);
    }
    // Large pictures of zeros are made quickly.
    png_set_compression_level(writer, 1);
    png_set_filter(writer, 0, PNG_FILTER_NONE);
    png_write_info(writer, info);
    // Row by row, so a large picture of zeros never exists in memory whole.
    const size_t bytes = rowBytes(source);
    const std::vector<uint8_t> zeros(source.pixels.empty() ? bytes : 0);
    const int passes = png_set_interlace_handling(writer);
    for (int pass = 0; pass < passes; ++pass) {
        for (uint32_t y = 0; y < source.height; ++y)
            png_write_row(writer, source.pixels.empty() ? zeros.data() : source.pixels.data() + y * bytes);
    }
    png_write_end(writer, info);
    png_destroy_write_struct(&writer, &info);
    return out;
}
