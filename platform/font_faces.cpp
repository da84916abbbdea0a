// font_faces.cpp — FreeType faces of the console font and their lookup order
// (in vornbasic-render.so). FreeType and fontconfig handles live in RAII owners.
#include <memory>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <type_traits>
#include <vector>

#include "platform/plugin_entries.h"
#include "platform/text_codec.h"

namespace platform {
namespace {

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using LibraryPtr = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;
using ConfigPtr = std::unique_ptr<FcConfig, ConfigDeleter>;
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

const char* const shinonome_folder = "/usr/share/fonts/X11/misc/";

// The Shinonome bold files of one size: ASCII, JIS X 0201 (for the
// half-width katakana) and JIS X 0208.
struct ShinonomeSet {
  int size;
  const char* ascii;
  const char* kana;
  const char* kanji;
};
constexpr ShinonomeSet shinonome_sets[] = {
    {12, "shnm6x12ab", "shnm6x12rb", "shnmk12b"},
    {14, "shnm7x14ab", "shnm7x14rb", "shnmk14b"},
    {16, "shnm8x16ab", "shnm8x16rb", "shnmk16b"},
};

// How a face's character codes are reached from a UTF-16 unit.
enum class Index {
  ascii,    // the unit itself, for units below 0x80 only
  kana,     // the one-byte Shift-JIS code 0xA1..0xDF
  jis,      // the JIS X 0208 code of a two-byte Shift-JIS character
  native,   // one-byte Shift-JIS codes as they are, two-byte ones as JIS codes
  unicode,  // the unit itself
};

struct Face {
  FacePtr face;
  Index index;
  bool embolden;
  int ascent;  // pixels from the cell top to the baseline
};

// JIS X 0208 row/cell code of a two-byte Shift-JIS character.
unsigned jis_code(unsigned char lead, unsigned char trail) {
  unsigned row = static_cast<unsigned>(lead - (lead <= 0x9F ? 0x70 : 0xB0)) << 1;
  unsigned cell;
  if (trail < 0x9F) {
    row -= 1;
    cell = trail - (trail >= 0x80 ? 0x20u : 0x1Fu);
  } else {
    cell = trail - 0x7Eu;
  }
  return row << 8 | cell;
}

// The code under which a face keeps the unit, if it can keep it at all.
std::optional<unsigned long> char_code(Index index, char16_t unit) {
  if (index == Index::unicode) return unit;
  if (index == Index::ascii) return unit < 0x80 ? std::optional<unsigned long>(unit) : std::nullopt;
  char16_t wide[1] = {unit};
  std::string sjis = utf16_to_cp932(std::u16string_view(wide, 1));
  // A character CP932 cannot encode comes back as '?': never take that.
  if (sjis.size() == 1 && unit >= 0x80 && (unit < 0xFF61 || unit > 0xFF9F)) return std::nullopt;
  auto b0 = static_cast<unsigned char>(sjis[0]);
  if (sjis.size() == 1) {
    if (index == Index::native) return b0;
    if (index == Index::kana && b0 >= 0xA1 && b0 <= 0xDF) return b0;
    return std::nullopt;
  }
  if (sjis.size() == 2 && (index == Index::jis || index == Index::native))
    return jis_code(b0, static_cast<unsigned char>(sjis[1]));
  return std::nullopt;
}

int ceil_pixels(FT_Pos value) { return static_cast<int>((value + 63) >> 6); }

// Copies a rendered one-bit (or grey) bitmap into a glyph.
Glyph take_bitmap(const FT_GlyphSlot slot, int ascent) {
  const FT_Bitmap& bitmap = slot->bitmap;
  Glyph g;
  g.left = slot->bitmap_left;
  g.top = ascent - slot->bitmap_top;
  g.mask = BitMask(static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows));
  for (int r = 0; r < g.mask.height; ++r) {
    const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(r) * bitmap.pitch;
    for (int c = 0; c < g.mask.width; ++c) {
      bool on = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (row[c / 8] >> (7 - c % 8)) & 1 : row[c] >= 128;
      if (on) g.mask.set(c, r);
    }
  }
  return g;
}

class FreeTypeFaces : public FontFaces {
 public:
  FreeTypeFaces(int size, const std::string& file) : pixel_size(size), font_file(file) { open_all(); }
  bool any() const override { return !faces.empty(); }
  Glyph render(char16_t unit) override { return render_any(unit); }

 private:
  LibraryPtr library;
  int pixel_size = 0;
  std::string font_file;
  std::vector<Face> faces;
  bool fallback_tried = false;

  // Opens a font file at the console size. Bitmap fonts take their strike
  // nearest to the size; outline fonts are scaled and emboldened.
  bool open(const std::string& path, std::optional<Index> index, int face_index = 0) {
    FT_Face raw = nullptr;
    if (!library || FT_New_Face(library.get(), path.c_str(), face_index, &raw) != 0) return false;
    FacePtr face(raw);
    bool scalable = FT_IS_SCALABLE(raw);
    if (scalable) {
      if (FT_Set_Pixel_Sizes(raw, 0, static_cast<FT_UInt>(pixel_size)) != 0) return false;
    } else {
      if (raw->num_fixed_sizes < 1 || FT_Select_Size(raw, nearest_strike(raw)) != 0) return false;
    }
    if (!index) index = FT_Select_Charmap(raw, FT_ENCODING_UNICODE) == 0 ? Index::unicode : Index::native;
    if (*index != Index::unicode && raw->num_charmaps > 0) FT_Set_Charmap(raw, raw->charmaps[0]);
    faces.push_back({std::move(face), *index, scalable, ceil_pixels(raw->size->metrics.ascender)});
    return true;
  }

  int nearest_strike(FT_Face face) const {
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i) {
      if (std::abs(face->available_sizes[i].height - pixel_size) <
          std::abs(face->available_sizes[best].height - pixel_size))
        best = i;
    }
    return best;
  }

  void open_shinonome() {
    for (const ShinonomeSet& set : shinonome_sets) {
      if (set.size != pixel_size) continue;
      for (auto [name, index] : {std::pair{set.ascii, Index::ascii}, std::pair{set.kana, Index::kana},
                                 std::pair{set.kanji, Index::jis}}) {
        std::string base = std::string(shinonome_folder) + name;
        if (!open(base + ".pcf.gz", index)) open(base + ".pcf", index);
      }
    }
  }

  // The fixed-pitch Japanese outline font fontconfig finds for IPAGothic.
  void open_fallback() {
    fallback_tried = true;
    ConfigPtr config(FcInitLoadConfigAndFonts());
    if (!config) return;
    PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>("IPAGothic:lang=ja:spacing=mono:outline=true")));
    if (!pattern) return;
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config.get(), pattern.get(), &result));
    FcChar8* file = nullptr;
    int face_index = 0;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &face_index);
    std::string path = reinterpret_cast<const char*>(file);
    if (!open(path, Index::unicode, face_index))
      std::fputs("vornbasic: no fallback font (fonts-ipafont-gothic); some characters are not drawn\n", stderr);
  }

  std::optional<Glyph> render_from(Face& f, char16_t unit) {
    std::optional<unsigned long> code = char_code(f.index, unit);
    if (!code) return std::nullopt;
    FT_UInt index = FT_Get_Char_Index(f.face.get(), *code);
    if (index == 0) return std::nullopt;
    FT_Face face = f.face.get();
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) return std::nullopt;
    if (f.embolden && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Embolden(face->glyph);
    if (face->glyph->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0)
      return std::nullopt;
    return take_bitmap(face->glyph, f.ascent);
  }

  Glyph render_any(char16_t unit) {
    for (Face& f : faces)
      if (std::optional<Glyph> g = render_from(f, unit)) return std::move(*g);
    if (!fallback_tried && !faces.empty()) {
      std::size_t before = faces.size();
      open_fallback();
      if (faces.size() > before)
        if (std::optional<Glyph> g = render_from(faces.back(), unit)) return std::move(*g);
    }
    return {};
  }

  // The chosen file or the Shinonome set, else the fallback.
  void open_all() {
    FT_Library raw = nullptr;
    // Sizes FreeType cannot render are not attempted: the text still advances.
    if (pixel_size >= 1 && pixel_size <= max_raster_side && FT_Init_FreeType(&raw) == 0) library.reset(raw);
    if (!font_file.empty()) {
      if (!open(font_file, std::nullopt)) std::fprintf(stderr, "vornbasic: cannot open the font %s\n", font_file.c_str());
    } else {
      open_shinonome();
    }
    if (faces.empty() && library) open_fallback();
    if (faces.empty())
      std::fputs("vornbasic: no console font (xfonts-shinonome, fonts-ipafont-gothic); text is not drawn\n", stderr);
  }
};

}  // namespace
}  // namespace platform

platform::FontFaces* vornbasic_open_font_faces(int pixel_size, const std::string& font_file) {
  return new platform::FreeTypeFaces(pixel_size, font_file);
}
