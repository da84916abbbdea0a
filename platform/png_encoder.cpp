// png_encoder.cpp — libpng's writer behind one call (in vornbasic-render.so).
// libpng reports errors by longjmp: everything with a destructor lives outside
// the guarded part.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "platform/plugin_entries.h"

namespace platform {
namespace {

// Runs libpng on an open file; false when libpng gave up.
bool write_rows(std::FILE* file, int width, int height, std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace
}  // namespace platform

bool vornbasic_write_png(const std::string& path, int width, int height, const std::uint32_t* pixels) {
  std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::vector<png_byte> bytes(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    bytes[i * 3] = static_cast<png_byte>(pixels[i] >> 16);
    bytes[i * 3 + 1] = static_cast<png_byte>(pixels[i] >> 8);
    bytes[i * 3 + 2] = static_cast<png_byte>(pixels[i]);
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = bytes.data() + r * static_cast<std::size_t>(width) * 3;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = platform::write_rows(file, width, height, rows);
  bool closed = std::fclose(file) == 0;
  return written && closed;
}
