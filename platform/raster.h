// raster.h — a 32-bit RGB pixel picture with the few drawing calls the console
// and the graphics statements use, and a current pen and brush that persist
// between calls as they do in a drawing context.
//
// Conventions: a rectangle or ellipse covers the half-open box [x1, x2) x
// [y1, y2) after its corners are ordered, its outline inside that box; a line
// does not draw its last point. Everything is clipped to the picture.
// Coordinates are 64-bit so that any 32-bit input and its sums stay exact.
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

// Largest width and height of a picture.
inline constexpr int max_raster_side = 4096;

class Raster {
 public:
  // A picture of width x height pixels (each clamped to 1..max_raster_side), filled white.
  Raster(int width, int height);
  Raster(const Raster&) = delete;
  Raster& operator=(const Raster&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }

  void select_pen(Pen pen) { pen_ = pen; }
  void select_brush(Brush brush) { brush_ = brush; }
  Pen pen() const { return pen_; }
  Brush brush() const { return brush_; }

  // The colour at (x, y); white outside the picture.
  Colour pixel(std::int64_t x, std::int64_t y) const;
  // A copy of all pixels, rows top to bottom, taken under the picture's lock:
  // another thread may call it while this one draws.
  std::vector<Colour> snapshot() const;

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
  // Copies the w x h block at (sx, sy) of source to (dx, dy) of this picture.
  void copy_from(const Raster& source, Point from, std::int64_t w, std::int64_t h, Point to);
  // A device bitmap of 2 bits per pixel: rows top to bottom, each padded to 16
  // bits, the leftmost pixel in the high bits. Values 0..3 show as black,
  // 0x808080, 0xC0C0C0 and white. Draws nothing when data is shorter than
  // bitmap_2bit_bytes(w, h).
  void draw_bitmap_2bit(const std::uint8_t* data, std::size_t size, int w, int h, Point to);

 private:
  struct Span {
    std::int64_t left = 0;
    std::int64_t right = 0;  // exclusive; left >= right when the row is empty
  };
  bool inside(std::int64_t x, std::int64_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  void put(std::int64_t x, std::int64_t y, Colour colour);
  void fill_span(std::int64_t y, std::int64_t left, std::int64_t right, Colour colour);
  std::uint32_t* row(std::int64_t y) { return pixels_.data() + y * width_; }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
  Pen pen_ = Pen::black;
  Brush brush_ = Brush::white;
  mutable std::mutex mutex_;
};

// Bytes of a 2-bit device bitmap of w x h pixels (rows padded to 16 bits).
std::size_t bitmap_2bit_bytes(int w, int h);

// The colour a pen or brush paints with; pen_colour(Pen::null) is never used.
constexpr Colour pen_colour(Pen pen) { return pen == Pen::white ? white : black; }
constexpr Colour brush_colour(Brush brush) { return brush == Brush::white ? white : black; }

}  // namespace platform
