// plugin_entries.h — the entry points of the two small libraries that hold the
// code needing FreeType, fontconfig and libpng (vornbasic-render.so) and
// libedit (vornbasic-lineedit.so). A plain run needs none of them; linking
// them into the program would load ten libraries at every start. The program
// loads each library when it is first needed; tests link the same objects in,
// and the weak declarations below then find them without loading anything.
#pragma once
#include <string>
#include <string_view>

#include "platform/glyphs.h"

namespace platform {

// The faces of the console font, opened at one pixel size.
class FontFaces {
 public:
  virtual ~FontFaces() = default;
  // False when no face at all could be opened.
  virtual bool any() const = 0;
  // The unit's glyph from the first face that has it; an empty mask if none.
  virtual Glyph render(char16_t unit) = 0;
};

inline constexpr const char* render_library = "vornbasic-render.so";
inline constexpr const char* lineedit_library = "vornbasic-lineedit.so";

}  // namespace platform

extern "C" {
// Opens the faces (font_file empty: the Shinonome set, else that file); the
// caller owns the result. Says on stderr when no font could be opened.
platform::FontFaces* vornbasic_open_font_faces(int pixel_size, const std::string& font_file) __attribute__((weak));
// write_png of png_writer.h.
bool vornbasic_write_png(const std::string& path, int width, int height, const std::uint32_t* pixels)
    __attribute__((weak));
// edit_line of line_editor.h, with the history kept in history_path (empty: none);
// returns an EditResult.
int vornbasic_edit_line(std::string_view prompt, std::string& line, const std::string& history_path, int wake_fd)
    __attribute__((weak));
}
