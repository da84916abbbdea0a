// raster.cpp — pixel drawing with clipping; every call touches only the
// visible part of its figure, so huge coordinates cost nothing.
#include "platform/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

using Lock = std::lock_guard<std::mutex>;

int clamp_side(int side) { return std::clamp(side, 1, max_raster_side); }

// The corners of a box in order: a is top-left, b bottom-right (exclusive).
void order(Point& a, Point& b) {
  if (a.x > b.x) std::swap(a.x, b.x);
  if (a.y > b.y) std::swap(a.y, b.y);
}

// Pixels of an ellipse inscribed in [a, b): those whose centre lies inside.
struct EllipseRows {
  Point a, b;
  double cx, cy, rx, ry;
  EllipseRows(Point a_, Point b_) : a(a_), b(b_) {
    cx = (static_cast<double>(a.x) + static_cast<double>(b.x)) / 2;
    cy = (static_cast<double>(a.y) + static_cast<double>(b.y)) / 2;
    rx = (static_cast<double>(b.x) - static_cast<double>(a.x)) / 2;
    ry = (static_cast<double>(b.y) - static_cast<double>(a.y)) / 2;
  }
  void span(std::int64_t y, std::int64_t& left, std::int64_t& right) const {
    left = right = 0;
    if (y < a.y || y >= b.y) return;
    double dy = (static_cast<double>(y) + 0.5 - cy) / ry;
    double t = 1 - dy * dy;
    if (t < 0) return;
    double half = rx * std::sqrt(t);
    left = std::max(a.x, static_cast<std::int64_t>(std::ceil(cx - half - 0.5)));
    right = std::min(b.x, static_cast<std::int64_t>(std::floor(cx + half - 0.5)) + 1);
  }
};

struct BoxRows {
  Point a, b;
  void span(std::int64_t y, std::int64_t& left, std::int64_t& right) const {
    left = right = 0;
    if (y < a.y || y >= b.y) return;
    left = a.x;
    right = b.x;
  }
};

// Value v of a 2-bit device bitmap shown as a colour.
constexpr Colour two_bit_colours[4] = {black, 0x808080, 0xC0C0C0, white};

}  // namespace

Raster::Raster(int width, int height)
    : width_(clamp_side(width)),
      height_(clamp_side(height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), white) {}

Colour Raster::pixel(std::int64_t x, std::int64_t y) const {
  Lock lock(mutex_);
  return inside(x, y) ? pixels_[static_cast<std::size_t>(y * width_ + x)] : white;
}

std::vector<Colour> Raster::snapshot() const {
  Lock lock(mutex_);
  return pixels_;
}

void Raster::put(std::int64_t x, std::int64_t y, Colour colour) {
  if (inside(x, y)) row(y)[x] = colour;
}

void Raster::fill_span(std::int64_t y, std::int64_t left, std::int64_t right, Colour colour) {
  if (y < 0 || y >= height_) return;
  left = std::max<std::int64_t>(left, 0);
  right = std::min<std::int64_t>(right, width_);
  if (left < right) std::fill(row(y) + left, row(y) + right, colour);
}

void Raster::set_pixel(std::int64_t x, std::int64_t y, Colour colour) {
  Lock lock(mutex_);
  put(x, y, colour);
}

// Steps along the major axis; the minor coordinate of step t is the rounded
// t * minor / major. Only the steps whose major coordinate is visible are taken.
void Raster::polyline(Point a, Point b) {
  if (pen_ == Pen::null) return;
  Colour colour = pen_colour(pen_);
  Lock lock(mutex_);
  std::int64_t dx = b.x - a.x, dy = b.y - a.y;
  bool x_major = std::abs(dx) >= std::abs(dy);
  std::int64_t major = x_major ? std::abs(dx) : std::abs(dy);
  std::int64_t minor = x_major ? std::abs(dy) : std::abs(dx);
  if (major == 0) return;
  std::int64_t major_start = x_major ? a.x : a.y, minor_start = x_major ? a.y : a.x;
  int major_step = (x_major ? dx : dy) < 0 ? -1 : 1;
  int minor_step = (x_major ? dy : dx) < 0 ? -1 : 1;
  std::int64_t limit = x_major ? width_ : height_;
  // Visible steps: 0 <= major_start + major_step * t < limit.
  std::int64_t t_lo = major_step > 0 ? -major_start : major_start - limit + 1;
  std::int64_t t_hi = major_step > 0 ? limit - major_start : major_start + 1;  // exclusive
  t_lo = std::max<std::int64_t>(t_lo, 0);
  t_hi = std::min(t_hi, major);
  for (std::int64_t t = t_lo; t < t_hi; ++t) {
    __int128 num = static_cast<__int128>(2) * t * minor + major;
    auto offset = static_cast<std::int64_t>(num / (2 * static_cast<__int128>(major)));
    std::int64_t p = major_start + major_step * t, q = minor_start + minor_step * offset;
    if (x_major)
      put(p, q, colour);
    else
      put(q, p, colour);
  }
}

// A figure given by its row spans: a pixel is outline when it is the first
// or last of its row or has no figure pixel above or below it.
template <typename Rows>
static void draw_figure(Raster& raster, const Rows& rows, std::int64_t top, std::int64_t bottom,
                        void (Raster::*fill)(std::int64_t, std::int64_t, std::int64_t, Colour), Pen pen,
                        Brush brush) {
  top = std::max<std::int64_t>(top, 0);
  bottom = std::min<std::int64_t>(bottom, raster.height());
  Colour inner = brush_colour(brush);
  for (std::int64_t y = top; y < bottom; ++y) {
    std::int64_t l, r, l_up, r_up, l_dn, r_dn;
    rows.span(y, l, r);
    if (l >= r) continue;
    if (pen == Pen::null) {
      (raster.*fill)(y, l, r, inner);
      continue;
    }
    rows.span(y - 1, l_up, r_up);
    rows.span(y + 1, l_dn, r_dn);
    std::int64_t in_l = std::max({l + 1, l_up, l_dn});
    std::int64_t in_r = std::min({r - 1, r_up, r_dn});
    Colour outline = pen_colour(pen);
    if (in_l >= in_r) {
      (raster.*fill)(y, l, r, outline);
      continue;
    }
    (raster.*fill)(y, l, in_l, outline);
    (raster.*fill)(y, in_l, in_r, inner);
    (raster.*fill)(y, in_r, r, outline);
  }
}

void Raster::rectangle(Point a, Point b) {
  order(a, b);
  Lock lock(mutex_);
  draw_figure(*this, BoxRows{a, b}, a.y, b.y, &Raster::fill_span, pen_, brush_);
}

void Raster::ellipse(Point a, Point b) {
  order(a, b);
  Lock lock(mutex_);
  draw_figure(*this, EllipseRows(a, b), a.y, b.y, &Raster::fill_span, pen_, brush_);
}

void Raster::draw_mask(const Mask& mask, Point origin, Point clip_a, Point clip_b, Colour colour) {
  Lock lock(mutex_);
  std::int64_t top = std::max<std::int64_t>(clip_a.y, 0), bottom = std::min<std::int64_t>(clip_b.y, height_);
  std::int64_t left = std::max<std::int64_t>(clip_a.x, 0), right = std::min<std::int64_t>(clip_b.x, width_);
  for (int r = 0; r < mask.height; ++r) {
    std::int64_t y = origin.y + r;
    if (y < top || y >= bottom) continue;
    const std::uint8_t* bits = mask.bits.data() + static_cast<std::size_t>(r) * mask.width;
    for (int c = 0; c < mask.width; ++c) {
      std::int64_t x = origin.x + c;
      if (bits[c] && x >= left && x < right) row(y)[x] = colour;
    }
  }
}

void Raster::copy_from(const Raster& source, Point from, std::int64_t w, std::int64_t h, Point to) {
  std::unique_lock<std::mutex> mine(mutex_, std::defer_lock), theirs(source.mutex_, std::defer_lock);
  if (&source == this)
    mine.lock();
  else
    std::lock(mine, theirs);
  std::int64_t k_lo = std::max<std::int64_t>({0, -from.x, -to.x});
  std::int64_t k_hi = std::min<std::int64_t>({w, source.width_ - from.x, width_ - to.x});
  std::int64_t r_lo = std::max<std::int64_t>({0, -from.y, -to.y});
  std::int64_t r_hi = std::min<std::int64_t>({h, source.height_ - from.y, height_ - to.y});
  if (k_lo >= k_hi || r_lo >= r_hi) return;
  auto bytes = static_cast<std::size_t>(k_hi - k_lo) * sizeof(Colour);
  auto copy_row = [&](std::int64_t r) {
    const Colour* src = source.pixels_.data() + (from.y + r) * source.width_ + from.x + k_lo;
    std::memmove(row(to.y + r) + to.x + k_lo, src, bytes);
  };
  // Within one picture, rows are copied in the order that never reads a row already overwritten.
  if (&source == this && to.y > from.y) {
    for (std::int64_t r = r_hi - 1; r >= r_lo; --r) copy_row(r);
  } else {
    for (std::int64_t r = r_lo; r < r_hi; ++r) copy_row(r);
  }
}

std::size_t bitmap_2bit_bytes(int w, int h) {
  if (w <= 0 || h <= 0) return 0;
  std::size_t stride = (static_cast<std::size_t>(w) * 2 + 15) / 16 * 2;
  return stride * static_cast<std::size_t>(h);
}

// Only the rows and columns that land inside the picture are visited.
void Raster::draw_bitmap_2bit(const std::uint8_t* data, std::size_t size, int w, int h, Point to) {
  if (w <= 0 || h <= 0 || size < bitmap_2bit_bytes(w, h)) return;
  std::size_t stride = bitmap_2bit_bytes(w, 1);
  std::int64_t r_lo = std::max<std::int64_t>(0, -to.y), r_hi = std::min<std::int64_t>(h, height_ - to.y);
  std::int64_t c_lo = std::max<std::int64_t>(0, -to.x), c_hi = std::min<std::int64_t>(w, width_ - to.x);
  Lock lock(mutex_);
  for (std::int64_t r = r_lo; r < r_hi; ++r) {
    const std::uint8_t* bytes = data + stride * static_cast<std::size_t>(r);
    for (std::int64_t c = c_lo; c < c_hi; ++c) {
      int value = (bytes[c / 4] >> (6 - 2 * (c % 4))) & 3;
      row(to.y + r)[to.x + c] = two_bit_colours[value];
    }
  }
}

}  // namespace platform
