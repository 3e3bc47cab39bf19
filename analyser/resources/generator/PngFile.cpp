#include "analyser/resources/generator/PngFile.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool WritePng(const std::string& path, const Surface& pixels) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  std::vector<png_byte> row(size_t(pixels.width) * 3);
  if (png && info && !setjmp(png_jmpbuf(png))) {
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(pixels.width), png_uint_32(pixels.height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::int32_t y = 0; y < pixels.height; ++y) {
      const std::uint32_t* line = pixels.pixels + ptrdiff_t(y) * pixels.stride;
      for (std::int32_t x = 0; x < pixels.width; ++x) {
        row[size_t(x) * 3] = png_byte(line[x] >> 16);
        row[size_t(x) * 3 + 1] = png_byte(line[x] >> 8);
        row[size_t(x) * 3 + 2] = png_byte(line[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  return std::fclose(file) == 0 && ok;
}
