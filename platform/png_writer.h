// png_writer.h — writes a picture as an 8-bit RGB PNG file.
// The output is deterministic: no time or text chunks, fixed compression.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// pixels holds width * height colours 0xRRGGBB, rows top to bottom.
// Returns false when the file could not be written.
bool write_png(const std::string& path, int width, int height, const std::vector<std::uint32_t>& pixels);

}  // namespace platform
