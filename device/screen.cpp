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

Pictures& pictures = state.pictures;
CaretHold& caret_hold = state.caret_hold;

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

// One vertical caret stroke at x, FontSize pixels down from y, through
// line_points; without pixels when draw is false.
void caret_stroke(std::int64_t x, std::int64_t y, bool draw = true) {
  screen.line_points[0] = {x, y};
  screen.line_points[1] = {x, y + settings.FontSize};
  if (draw) raster().polyline(screen.line_points[0], screen.line_points[1]);
}

int char_width(char16_t c) { return platform::cp932_width(c) == 1 ? settings.HankakuStep : settings.ZenkakuStep; }

// True when the cell of c, drawn next at the print position, paints white
// over every pixel of the caret's strokes.
bool next_cell_covers_caret(char16_t c) {
  return c != 0 && screen.print_x == screen.caret_x && screen.print_y == screen.caret_y && char_width(c) >= 3 &&
         settings.FontSize >= 0 && settings.FontSize <= settings.StepY;
}

// Fills [a, b) white without outline (null pen, white brush).
void fill_white(Point a, Point b) {
  platform::Raster& r = raster();
  r.select_pen(platform::Pen::null);
  r.select_brush(platform::Brush::white);
  r.rectangle(a, b);
}

// The cell painted white (null pen, white brush) with the glyph of c on it.
void draw_cell(char16_t c, Point cell_a, Point cell_b) {
  platform::Raster& r = raster();
  r.select_pen(platform::Pen::null);
  r.select_brush(platform::Brush::white);
  const platform::Glyph* g = pictures.font ? &pictures.font->glyph(c) : nullptr;
  if (!g) {
    r.draw_cell(cell_a, cell_b, nullptr, {}, platform::black);
    return;
  }
  r.draw_cell(cell_a, cell_b, &g->mask, {cell_a.x + g->left, cell_a.y + g->top}, platform::black);
}

// Moves everything up by StepY and clears the row that comes in (and the
// row above it). A step within the picture turns the ring of rows; any other
// step (or a picture the settings no longer cover) is the block copy it
// stands for: a negative one moves the picture down.
void scroll() {
  screen.print_y = wrapped_sum(screen.print_y, -std::int64_t{settings.StepY});
  screen.caret_y = wrapped_sum(screen.caret_y, -std::int64_t{settings.StepY});
  platform::Raster& r = raster();
  bool whole_picture = settings.XWidth >= r.width() && settings.XHeight == r.height();
  if (whole_picture && settings.StepY > 0 && settings.StepY < r.height())
    r.rotate_up(settings.StepY);
  else
    r.copy_from(r, {0, settings.StepY}, settings.XWidth, std::int64_t{settings.XHeight} - settings.StepY, {0, 0});
  fill_white({0, std::int64_t{settings.XHeight} - settings.StepY - 1}, {settings.XWidth, settings.XHeight});
  text_mirror().scroll(settings.StepY, wrapped_sum(settings.XHeight, -std::int64_t{settings.StepY} - 1));
}

}  // namespace

void create_picture(const std::string& font_file, bool draw_glyphs, bool keep_pixels) {
  int width = clamped_side(settings.XWidth, "XWidth");
  int height = clamped_side(settings.XHeight, "XHeight");
  pictures.screen_picture = std::make_unique<platform::Raster>(width, height, keep_pixels);
  pictures.font.reset();
  if (draw_glyphs && keep_pixels) pictures.font = std::make_unique<platform::ConsoleFont>(font_pixels(settings.FontSize), font_file);
  screen = ScreenState{};
  text_mirror().clear();
}

platform::Raster& picture() { return raster(); }

void set_repaint_callback(void (*callback)()) { pictures.repaint_callback = callback; }

bool write_screenshot(const std::string& path) {
  platform::Raster& r = raster();
  return platform::write_png(path, r.width(), r.height(), r.snapshot());
}

void screen_erase_caret(char16_t drawn_next) {
  raster().select_pen(platform::Pen::white);
  bool draw = !next_cell_covers_caret(drawn_next);
  caret_hold.pending = false;
  caret_stroke(std::int64_t{screen.caret_x} + 1, screen.caret_y, draw);
  caret_stroke(std::int64_t{screen.caret_x} + 2, screen.caret_y, draw);
}

void screen_draw_char(char16_t c) {
  int width = char_width(c);
  screen.last_char_width = width;
  Point cell_a{screen.print_x, screen.print_y};
  Point cell_b{cell_a.x + width, cell_a.y + settings.StepY};
  draw_cell(c, cell_a, cell_b);
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
  caret_hold.pending = caret_hold.held;
  caret_stroke(std::int64_t{screen.caret_x} + 1, screen.caret_y, !caret_hold.pending);
  caret_stroke(std::int64_t{screen.caret_x} + 2, screen.caret_y, !caret_hold.pending);
  request_repaint();
}

// The pending caret goes into the pixels with the pen and line points it
// left behind, which are the black pen and its second stroke.
void screen_hold(bool held) {
  platform::Raster& r = raster();
  caret_hold.held = held;
  if (held) {
    r.hold();
    return;
  }
  if (caret_hold.pending) {
    caret_hold.pending = false;
    r.polyline({std::int64_t{screen.caret_x} + 1, screen.caret_y},
               {std::int64_t{screen.caret_x} + 1, std::int64_t{screen.caret_y} + settings.FontSize});
    r.polyline(screen.line_points[0], screen.line_points[1]);
  }
  r.release();
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
