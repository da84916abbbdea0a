// png_writer.cpp — write_png, done by vornbasic-render.so.
#include "platform/png_writer.h"

#include <cstdio>

#include "platform/plugin.h"
#include "platform/plugin_entries.h"

namespace platform {

bool write_png(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return false;
  std::string error;
  auto entry = plugin_entry(vornbasic_write_png, render_library, "vornbasic_write_png", error);
  if (!entry) {
    std::fprintf(stderr, "vornbasic: cannot write PNG files: %s\n", error.c_str());
    return false;
  }
  return entry(path, width, height, pixels.data());
}

}  // namespace platform
