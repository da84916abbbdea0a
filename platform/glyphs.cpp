// glyphs.cpp — the glyph cache in front of the font faces, which come from
// vornbasic-render.so at the first glyph.
#include "platform/glyphs.h"

#include <array>
#include <cstdio>

#include "platform/plugin.h"
#include "platform/plugin_entries.h"

namespace platform {
namespace {

// A page of 256 units is made when one of them is first drawn.
class GlyphCache {
 public:
  Glyph* find(char16_t unit) const {
    const std::unique_ptr<Page>& page = pages_[unit >> 8];
    return page ? (*page)[unit & 0xFF].get() : nullptr;
  }
  Glyph& keep(char16_t unit, Glyph glyph) {
    std::unique_ptr<Page>& page = pages_[unit >> 8];
    if (!page) page = std::make_unique<Page>();
    return *((*page)[unit & 0xFF] = std::make_unique<Glyph>(std::move(glyph)));
  }

 private:
  using Page = std::array<std::unique_ptr<Glyph>, 256>;
  std::array<std::unique_ptr<Page>, 256> pages_;
};

}  // namespace

struct ConsoleFont::Faces {
  int pixel_size = 0;
  std::string font_file;
  bool opened = false;
  std::unique_ptr<FontFaces> faces;  // none when the library could not be loaded
  GlyphCache cache;

  void open() {
    if (opened) return;
    opened = true;
    std::string error;
    auto entry = plugin_entry(vornbasic_open_font_faces, render_library, "vornbasic_open_font_faces", error);
    if (entry) faces.reset(entry(pixel_size, font_file));
    else std::fprintf(stderr, "vornbasic: no console font: %s; text is not drawn\n", error.c_str());
  }
};

ConsoleFont::ConsoleFont(int pixel_size, const std::string& font_file) : faces_(std::make_unique<Faces>()) {
  faces_->pixel_size = pixel_size;
  faces_->font_file = font_file;
}

ConsoleFont::~ConsoleFont() = default;

bool ConsoleFont::available() const {
  faces_->open();
  return faces_->faces && faces_->faces->any();
}

const Glyph& ConsoleFont::glyph(char16_t unit) {
  if (Glyph* found = faces_->cache.find(unit)) return *found;
  faces_->open();
  return faces_->cache.keep(unit, faces_->faces ? faces_->faces->render(unit) : Glyph{});
}

}  // namespace platform
