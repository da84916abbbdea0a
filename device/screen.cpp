// screen.cpp — the screen picture and the console's character renderer:
// caret, cell fill, glyph, wrap and scroll by pixel rows.
#include "device/screen.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "device/device.h"
#include "device/settings.h"
#include "device/text_mirror.h"
#include "platform/glyphs.h"
#include "platform/png_writer.h"
#include "platform/text_codec.h"

namespace device {

ScreenState& screen = state.screen;

namespace {

using platform::Point;

// The drawing resources behind the picture.
struct Pictures {
  std::unique_ptr<platform::Raster> screen_picture;
  std::unique_ptr<platform::Raster> scroll_picture;  // scratch space for scrolling
  std::unique_ptr<platform::ConsoleFont> font;       // none when glyphs are off
  void (*repaint_callback)() = nullptr;
} pictures;

platform::Raster& raster() {
  if (!pictures.screen_picture) create_picture();
  return *pictures.screen_picture;
}

// A 32-bit sum that wraps as the device's arithmetic does instead of overflowing.
std::int32_t wrapped_sum(std::int64_t a, std::int64_t b) { return static_cast<std::int32_t>(a + b); }

int clamped_side(int& side, const char* key) {
  int kept = std::clamp(side, 1, platform::max_raster_side);
  if (kept != side)
    std::fprintf(stderr, "vornbasic: %s=%d is out of range; the screen picture uses %d\n", key, side, kept);
  side = kept;
  return kept;
}

// The pixel height the console font is made at. FontSize is a character
// height; 0 asks for the font's default size (the default FontSize) and a
// negative value for a cell of that height, taken here as the character height.
int font_pixels(int font_size) {
  if (font_size == 0) return Settings{}.FontSize;
  std::int64_t size = font_size;
  return static_cast<int>(std::min<std::int64_t>(size < 0 ? -size : size, INT32_MAX));
}

// One vertical caret stroke at x, FontSize pixels down from y, through line_points.
void caret_stroke(std::int64_t x, std::int64_t y) {
  screen.line_points[0] = {x, y};
  screen.line_points[1] = {x, y + settings.FontSize};
  raster().polyline(screen.line_points[0], screen.line_points[1]);
}

// Fills [a, b) white without outline (null pen, white brush).
void fill_white(Point a, Point b) {
  platform::Raster& r = raster();
  r.select_pen(platform::Pen::null);
  r.select_brush(platform::Brush::white);
  r.rectangle(a, b);
}

void draw_glyph(char16_t c, Point cell_a, Point cell_b) {
  if (!pictures.font) return;
  const platform::Glyph& g = pictures.font->glyph(c);
  if (g.mask.width == 0) return;
  raster().draw_mask(g.mask, {cell_a.x + g.left, cell_a.y + g.top}, cell_a, cell_b, platform::black);
}

// Moves everything up by StepY through the scroll picture and clears the row that comes in.
void scroll() {
  screen.print_y = wrapped_sum(screen.print_y, -std::int64_t{settings.StepY});
  screen.caret_y = wrapped_sum(screen.caret_y, -std::int64_t{settings.StepY});
  platform::Raster& r = raster();
  platform::Raster& scratch = *pictures.scroll_picture;
  scratch.copy_from(r, {0, 0}, settings.XWidth, settings.XHeight, {0, 0});
  r.copy_from(scratch, {0, settings.StepY}, settings.XWidth, std::int64_t{settings.XHeight} - settings.StepY, {0, 0});
  fill_white({0, std::int64_t{settings.XHeight} - settings.StepY - 1}, {settings.XWidth, settings.XHeight});
  text_mirror().scroll(settings.StepY, wrapped_sum(settings.XHeight, -std::int64_t{settings.StepY} - 1));
}

}  // namespace

void create_picture(const std::string& font_file, bool draw_glyphs) {
  int width = clamped_side(settings.XWidth, "XWidth");
  int height = clamped_side(settings.XHeight, "XHeight");
  pictures.screen_picture = std::make_unique<platform::Raster>(width, height);
  pictures.scroll_picture = std::make_unique<platform::Raster>(width, height);
  pictures.font.reset();
  if (draw_glyphs) pictures.font = std::make_unique<platform::ConsoleFont>(font_pixels(settings.FontSize), font_file);
  screen = ScreenState{};
  text_mirror().clear();
}

platform::Raster& picture() { return raster(); }

void set_repaint_callback(void (*callback)()) { pictures.repaint_callback = callback; }

bool write_screenshot(const std::string& path) {
  platform::Raster& r = raster();
  return platform::write_png(path, r.width(), r.height(), r.snapshot());
}

void screen_erase_caret() {
  raster().select_pen(platform::Pen::white);
  caret_stroke(std::int64_t{screen.caret_x} + 1, screen.caret_y);
  caret_stroke(std::int64_t{screen.caret_x} + 2, screen.caret_y);
}

void screen_draw_char(char16_t c) {
  int width = platform::cp932_width(c) == 1 ? settings.HankakuStep : settings.ZenkakuStep;
  screen.last_char_width = width;
  Point cell_a{screen.print_x, screen.print_y};
  Point cell_b{cell_a.x + width, cell_a.y + settings.StepY};
  fill_white(cell_a, cell_b);
  draw_glyph(c, cell_a, cell_b);
  text_mirror().put(screen.print_x, screen.print_y, width, c);
  screen.print_x = wrapped_sum(screen.print_x, width);
  if (screen.print_x >= settings.XWidth) screen_new_line();
}

void screen_new_line() {
  screen.print_x = 0;
  screen.print_y = wrapped_sum(screen.print_y, settings.StepY);
  if (std::int64_t{screen.print_y} >= std::int64_t{settings.XHeight} - settings.StepY - 1) scroll();
}

void screen_draw_caret() {
  screen.caret_x = screen.print_x;
  screen.caret_y = screen.print_y;
  raster().select_pen(platform::Pen::black);
  caret_stroke(std::int64_t{screen.caret_x} + 1, screen.caret_y);
  caret_stroke(std::int64_t{screen.caret_x} + 2, screen.caret_y);
  request_repaint();
}

// The rectangle reaches past the picture's bottom edge, over the edit box's rows.
void clear_screen() {
  fill_white({0, 0}, {settings.XWidth, std::int64_t{settings.XHeight} + settings.ControlHeight});
  text_mirror().clear();
  request_repaint();
  screen.print_x = 0;
  screen.print_y = settings.PosYOrigin;
}

void request_repaint() {
  ++screen.repaint_count;
  if (pictures.repaint_callback) pictures.repaint_callback();
}

}  // namespace device
