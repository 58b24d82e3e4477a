#include "tools/png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace fogloom::tools {

bool writeRgbPng(const std::string& path, const PixelView& pixels, std::string& error) {
    if (pixels.empty() || pixels.bytesPerPixel != 4) {
        error = "nothing to write";
        return false;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(pixels.width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "cannot write " + path;
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < pixels.height; ++y) {
        const std::uint32_t* in = pixels.row32(y);
        for (int x = 0; x < pixels.width; ++x) {
            row[3 * x] = static_cast<png_byte>(in[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(in[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(in[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace fogloom::tools
