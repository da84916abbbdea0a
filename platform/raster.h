// raster.h — a 32-bit RGB pixel picture with the few drawing calls the console
// and the graphics statements use, and a current pen and brush that persist
// between calls as they do in a drawing context.
//
// Conventions: a rectangle or ellipse covers the half-open box [x1, x2) x
// [y1, y2) after its corners are ordered, its outline inside that box; a line
// does not draw its last point. Everything is clipped to the picture.
// Coordinates are 64-bit so that any 32-bit input and its sums stay exact.
//
// The rows are kept as a ring: scrolling up moves the ring's first row, not
// the pixels. Each row knows the columns that may hold ink (anything not
// white), so that painting white where there is none costs nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

using Colour = std::uint32_t;  // 0xRRGGBB
inline constexpr Colour black = 0x000000;
inline constexpr Colour white = 0xFFFFFF;

enum class Pen { black, white, null };
enum class Brush { black, white };

struct Point {
  std::int64_t x = 0;
  std::int64_t y = 0;
  bool operator==(const Point&) const = default;
};

// A one-bit picture (one byte per pixel, 0 or 1), e.g. a rendered glyph.
struct Mask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bits;  // width * height, rows top to bottom
};

// A one-bit picture packed into 64-bit words: bit c % 64 of word c / 64 of a
// row is column c. Glyphs are kept this way, so that drawing one visits only
// its set pixels.
struct BitMask {
  int width = 0;
  int height = 0;
  int words_per_row = 0;
  std::vector<std::uint64_t> words;  // words_per_row * height, rows top to bottom

  BitMask() = default;
  BitMask(int w, int h);
  void set(int x, int y) { words[static_cast<std::size_t>(y) * words_per_row + x / 64] |= std::uint64_t{1} << (x % 64); }
  bool test(int x, int y) const {
    return words[static_cast<std::size_t>(y) * words_per_row + x / 64] >> (x % 64) & 1;
  }
};

// Largest width and height of a picture.
inline constexpr int max_raster_side = 4096;

class Raster {
 public:
  // A picture of width x height pixels (each clamped to 1..max_raster_side),
  // filled white. A picture made without pixels keeps its size, pen and
  // brush but draws nothing and reads as white everywhere: the terminal's
  // picture when nobody will look at it.
  Raster(int width, int height, bool keep_pixels = true);
  Raster(const Raster&) = delete;
  Raster& operator=(const Raster&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }

  void select_pen(Pen pen) { pen_ = pen; }
  void select_brush(Brush brush) { brush_ = brush; }
  Pen pen() const { return pen_; }
  Brush brush() const { return brush_; }

  // Drawing (and pixel) calls come from one thread, the drawing thread.
  // The colour at (x, y); white outside the picture.
  Colour pixel(std::int64_t x, std::int64_t y) const;
  // A copy of all pixels, rows top to bottom, taken under the picture's lock:
  // another thread may call it while the drawing thread draws.
  std::vector<Colour> snapshot() const;
  // The drawing thread holds the picture's lock across many drawing calls,
  // which then take no lock of their own; a snapshot waits until release().
  void hold();
  void release();

  void set_pixel(std::int64_t x, std::int64_t y, Colour colour);
  // The two-point polyline from a to b with the current pen, b not drawn.
  void polyline(Point a, Point b);
  // Outline with the current pen, interior with the current brush; with the
  // null pen the brush covers the whole box.
  void rectangle(Point a, Point b);
  void ellipse(Point a, Point b);
  // Sets the pixels of mask that are 1 to colour, with the mask's top-left at
  // origin, only inside the box [clip_a, clip_b).
  void draw_mask(const Mask& mask, Point origin, Point clip_a, Point clip_b, Colour colour);
  void draw_mask(const BitMask& mask, Point origin, Point clip_a, Point clip_b, Colour colour);
  // A character cell in one pass: the box [a, b) painted white, then the
  // mask's set pixels (none when mask is null) in colour inside the box, as
  // rectangle with the null pen and white brush followed by draw_mask would.
  void draw_cell(Point a, Point b, const BitMask* mask, Point origin, Colour colour);
  // Copies the w x h block at (sx, sy) of source to (dx, dy) of this picture.
  void copy_from(const Raster& source, Point from, std::int64_t w, std::int64_t h, Point to);
  // A device bitmap of 2 bits per pixel: rows top to bottom, each padded to 16
  // bits, the leftmost pixel in the high bits. Values 0..3 show as black,
  // 0x808080, 0xC0C0C0 and white. Draws nothing when data is shorter than
  // bitmap_2bit_bytes(w, h).
  void draw_bitmap_2bit(const std::uint8_t* data, std::size_t size, int w, int h, Point to);
  // Moves every row up by rows (0 < rows < height) as a copy would; the rows
  // that come in at the bottom hold what left at the top, for the caller to
  // paint over. Costs the same whatever the picture's size.
  void rotate_up(int rows);

 private:
  struct Span {
    std::int64_t left = 0;
    std::int64_t right = 0;  // exclusive; left >= right when the row is empty
  };
  // Columns [left, right) of a ring row outside which the row is white.
  struct Ink {
    std::int32_t left = 0;
    std::int32_t right = 0;  // left >= right: the row is all white
  };
  bool inside(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void put(std::int64_t x, std::int64_t y, Colour colour);
  void fill_span(std::int64_t y, std::int64_t left, std::int64_t right, Colour colour);
  // Paints [left, right) of row y (inside the picture) white where it has ink.
  void whiten(std::int64_t y, std::int64_t left, std::int64_t right);
  // Columns [left, right) of row y (both inside the picture) may now hold ink.
  void add_ink(std::int64_t y, std::int64_t left, std::int64_t right);
  // A vertical or horizontal run of pixels from (x, y), count steps of
  // (step_x, step_y), clipped.
  void straight_run(std::int64_t x, std::int64_t y, int step_x, int step_y, std::int64_t count, Colour colour);
  // The pixels of row y (0 <= y < height) through the ring.
  Colour* row(std::int64_t y) { return pixels_.data() + ring_index(y) * width_; }
  const Colour* row(std::int64_t y) const { return pixels_.data() + ring_index(y) * width_; }
  std::int64_t ring_index(std::int64_t y) const {
    std::int64_t index = y + first_row_;
    return index >= height_ ? index - height_ : index;
  }
  bool blind() const { return pixels_.empty(); }
  // The picture's lock for one drawing call, unless the drawing thread holds it.
  class DrawLock {
   public:
    explicit DrawLock(const Raster& raster) : raster_(raster), locked_(!raster.held_) {
      if (locked_) raster_.mutex_.lock();
    }
    ~DrawLock() {
      if (locked_) raster_.mutex_.unlock();
    }
    DrawLock(const DrawLock&) = delete;
    DrawLock& operator=(const DrawLock&) = delete;

   private:
    const Raster& raster_;
    bool locked_;
  };

  int width_;
  int height_;
  int first_row_ = 0;  // the ring row that shows as row 0
  std::vector<Colour> pixels_;  // empty when the picture keeps no pixels
  std::vector<Ink> ink_;        // per ring row
  Pen pen_ = Pen::black;
  Brush brush_ = Brush::white;
  mutable std::mutex mutex_;
  bool held_ = false;  // drawing thread only
};

// Bytes of a 2-bit device bitmap of w x h pixels (rows padded to 16 bits).
std::size_t bitmap_2bit_bytes(int w, int h);

// The colour a pen or brush paints with; pen_colour(Pen::null) is never used.
constexpr Colour pen_colour(Pen pen) { return pen == Pen::white ? white : black; }
constexpr Colour brush_colour(Brush brush) { return brush == Brush::white ? white : black; }

}  // namespace platform
