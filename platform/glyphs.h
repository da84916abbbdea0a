// glyphs.h — the console font: one-bit glyphs of UTF-16 units for the screen
// picture, rendered with FreeType (no anti-aliasing, bold) and cached.
//
// By default the Shinonome bitmap fonts (xfonts-shinonome) at 12, 14 or 16
// pixels, indexed by their JIS codes through the character's Shift-JIS code;
// for other sizes and for characters they lack, a fixed-pitch Japanese
// outline font found by fontconfig (IPAGothic), emboldened.
#pragma once
#include <memory>
#include <string>

#include "platform/raster.h"

namespace platform {

// A rendered glyph: its one-bit mask and where the mask's top-left corner
// lies relative to the top-left corner of the character's cell.
struct Glyph {
  BitMask mask;
  int left = 0;
  int top = 0;
};

class ConsoleFont {
 public:
  // pixel_size is the character height. font_file, when not empty, replaces
  // the Shinonome fonts. The fonts are opened at the first glyph; that says
  // once on stderr when no font could be opened.
  ConsoleFont(int pixel_size, const std::string& font_file);
  ~ConsoleFont();
  ConsoleFont(const ConsoleFont&) = delete;
  ConsoleFont& operator=(const ConsoleFont&) = delete;

  // False when no font at all could be opened: nothing will be drawn.
  bool available() const;
  // The glyph of one unit; an empty mask when no font has it. Rendered once,
  // then served from the cache.
  const Glyph& glyph(char16_t unit);

 private:
  struct Faces;
  std::unique_ptr<Faces> faces_;
};

}  // namespace platform
