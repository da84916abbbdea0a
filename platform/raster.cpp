// raster.cpp — pixel drawing with clipping; every call touches only the
// visible part of its figure, so huge coordinates cost nothing.
#include "platform/raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

using Lock = std::lock_guard<std::mutex>;

int clamp_side(int side) { return std::clamp(side, 1, max_raster_side); }

// Sets n pixels to colour, eight at a time where it can.
void paint(Colour* pixels, std::int64_t n, Colour colour) {
  std::int64_t i = 0;
  for (; i + 8 <= n; i += 8)
    for (int k = 0; k < 8; ++k) pixels[i + k] = colour;
  for (; i < n; ++i) pixels[i] = colour;
}

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

BitMask::BitMask(int w, int h)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      words_per_row((width + 63) / 64),
      words(static_cast<std::size_t>(words_per_row) * static_cast<std::size_t>(height), 0) {}

Raster::Raster(int width, int height, bool keep_pixels)
    : width_(clamp_side(width)),
      height_(clamp_side(height)),
      pixels_(keep_pixels ? static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) : 0, white),
      ink_(keep_pixels ? static_cast<std::size_t>(height_) : 0) {}

Colour Raster::pixel(std::int64_t x, std::int64_t y) const {
  DrawLock lock(*this);
  return inside(x, y) && !blind() ? row(y)[x] : white;
}

std::vector<Colour> Raster::snapshot() const {
  std::vector<Colour> copy(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), white);
  Lock lock(mutex_);
  if (blind()) return copy;
  // The ring from its first row to its end, then from its start.
  auto split = pixels_.begin() + static_cast<std::ptrdiff_t>(first_row_) * width_;
  std::copy(pixels_.begin(), split, std::copy(split, pixels_.end(), copy.begin()));
  return copy;
}

void Raster::hold() {
  if (held_) return;
  mutex_.lock();
  held_ = true;
}

void Raster::release() {
  if (!held_) return;
  held_ = false;
  mutex_.unlock();
}

void Raster::rotate_up(int rows) {
  if (rows <= 0 || rows >= height_) return;
  DrawLock lock(*this);
  first_row_ = static_cast<int>(ring_index(rows));
}

inline void Raster::add_ink(std::int64_t y, std::int64_t left, std::int64_t right) {
  Ink& ink = ink_[static_cast<std::size_t>(ring_index(y))];
  if (ink.left >= ink.right) {
    ink = {static_cast<std::int32_t>(left), static_cast<std::int32_t>(right)};
  } else {
    ink.left = std::min(ink.left, static_cast<std::int32_t>(left));
    ink.right = std::max(ink.right, static_cast<std::int32_t>(right));
  }
}

void Raster::put(std::int64_t x, std::int64_t y, Colour colour) {
  if (!inside(x, y) || blind()) return;
  row(y)[x] = colour;
  if (colour != white) add_ink(y, x, x + 1);
}

inline void Raster::whiten(std::int64_t y, std::int64_t left, std::int64_t right) {
  Ink& ink = ink_[static_cast<std::size_t>(ring_index(y))];
  std::int64_t from = std::max<std::int64_t>(left, ink.left), to = std::min<std::int64_t>(right, ink.right);
  if (from >= to) return;
  paint(row(y) + from, to - from, white);
  if (left <= ink.left && right >= ink.right)
    ink = {};
  else if (left <= ink.left)
    ink.left = static_cast<std::int32_t>(right);
  else if (right >= ink.right)
    ink.right = static_cast<std::int32_t>(left);
}

// White is painted only where the row has ink, and the ink shrinks when the
// span covers one of its ends.
void Raster::fill_span(std::int64_t y, std::int64_t left, std::int64_t right, Colour colour) {
  if (y < 0 || y >= height_ || blind()) return;
  left = std::max<std::int64_t>(left, 0);
  right = std::min<std::int64_t>(right, width_);
  if (left >= right) return;
  if (colour != white) {
    paint(row(y) + left, right - left, colour);
    add_ink(y, left, right);
    return;
  }
  whiten(y, left, right);
}

void Raster::straight_run(std::int64_t x, std::int64_t y, int step_x, int step_y, std::int64_t count,
                          Colour colour) {
  if (step_y == 0) {  // a row: its visible part as one span
    std::int64_t end = x + step_x * (count - 1);
    fill_span(y, std::min(x, end), std::max(x, end) + 1, colour);
    return;
  }
  if (x < 0 || x >= width_) return;
  std::int64_t end = y + step_y * (count - 1);
  std::int64_t top = std::max<std::int64_t>(std::min(y, end), 0);
  std::int64_t bottom = std::min<std::int64_t>(std::max(y, end) + 1, height_);
  for (std::int64_t r = top; r < bottom; ++r) {
    row(r)[x] = colour;
    if (colour != white) add_ink(r, x, x + 1);
  }
}

void Raster::set_pixel(std::int64_t x, std::int64_t y, Colour colour) {
  DrawLock lock(*this);
  put(x, y, colour);
}

// Steps along the major axis; the minor coordinate of step t is the rounded
// t * minor / major. Only the steps whose major coordinate is visible are taken.
void Raster::polyline(Point a, Point b) {
  if (pen_ == Pen::null) return;
  Colour colour = pen_colour(pen_);
  DrawLock lock(*this);
  if (blind()) return;
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
  if (t_lo >= t_hi) return;
  if (minor == 0) {  // the caret's strokes, horizontal and vertical lines
    std::int64_t p = major_start + major_step * t_lo;
    if (x_major)
      straight_run(p, minor_start, major_step, 0, t_hi - t_lo, colour);
    else
      straight_run(minor_start, p, 0, major_step, t_hi - t_lo, colour);
    return;
  }
  // The offset of step t is floor((2 t minor + major) / (2 major)); from the
  // first visible step on it is kept as a quotient and a remainder, which each
  // step raises by 2 minor (at most one carry, since minor <= major).
  __int128 first = static_cast<__int128>(2) * t_lo * minor + major;
  std::int64_t twice_major = 2 * major, twice_minor = 2 * minor;
  auto offset = static_cast<std::int64_t>(first / twice_major);
  auto remainder = static_cast<std::int64_t>(first % twice_major);
  for (std::int64_t t = t_lo; t < t_hi; ++t) {
    std::int64_t p = major_start + major_step * t, q = minor_start + minor_step * offset;
    if (x_major)
      put(p, q, colour);
    else
      put(q, p, colour);
    remainder += twice_minor;
    if (remainder >= twice_major) {
      remainder -= twice_major;
      ++offset;
    }
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
  DrawLock lock(*this);
  if (blind()) return;
  if (pen_ == Pen::null) {  // all brush: the rows of the box, clipped once
    std::int64_t top = std::max<std::int64_t>(a.y, 0), bottom = std::min<std::int64_t>(b.y, height_);
    for (std::int64_t y = top; y < bottom; ++y) fill_span(y, a.x, b.x, brush_colour(brush_));
    return;
  }
  draw_figure(*this, BoxRows{a, b}, a.y, b.y, &Raster::fill_span, pen_, brush_);
}

void Raster::ellipse(Point a, Point b) {
  order(a, b);
  DrawLock lock(*this);
  if (blind()) return;
  draw_figure(*this, EllipseRows(a, b), a.y, b.y, &Raster::fill_span, pen_, brush_);
}

void Raster::draw_mask(const Mask& mask, Point origin, Point clip_a, Point clip_b, Colour colour) {
  DrawLock lock(*this);
  if (blind()) return;
  std::int64_t top = std::max<std::int64_t>(clip_a.y, 0), bottom = std::min<std::int64_t>(clip_b.y, height_);
  std::int64_t left = std::max<std::int64_t>(clip_a.x, 0), right = std::min<std::int64_t>(clip_b.x, width_);
  for (int r = 0; r < mask.height; ++r) {
    std::int64_t y = origin.y + r;
    if (y < top || y >= bottom) continue;
    const std::uint8_t* bits = mask.bits.data() + static_cast<std::size_t>(r) * mask.width;
    for (int c = 0; c < mask.width; ++c) {
      std::int64_t x = origin.x + c;
      if (bits[c] && x >= left && x < right) put(x, y, colour);
    }
  }
}

// Only the words of the rows inside the clip box are read, and of each word
// only its set bits are visited.
void Raster::draw_mask(const BitMask& mask, Point origin, Point clip_a, Point clip_b, Colour colour) {
  DrawLock lock(*this);
  if (blind()) return;
  std::int64_t top = std::max<std::int64_t>({clip_a.y, 0, origin.y});
  std::int64_t bottom = std::min<std::int64_t>({clip_b.y, height_, origin.y + mask.height});
  std::int64_t left = std::max<std::int64_t>({clip_a.x, 0, origin.x});
  std::int64_t right = std::min<std::int64_t>({clip_b.x, width_, origin.x + mask.width});
  if (left >= right) return;
  // Mask columns [c_lo, c_hi) are visible.
  std::int64_t c_lo = left - origin.x, c_hi = right - origin.x;
  for (std::int64_t y = top; y < bottom; ++y) {
    const std::uint64_t* words = mask.words.data() + static_cast<std::size_t>(y - origin.y) * mask.words_per_row;
    Colour* pixels = row(y);
    bool inked = false;
    for (std::int64_t w = c_lo / 64; w * 64 < c_hi; ++w) {
      std::uint64_t bits = words[w];
      std::int64_t base = w * 64;
      if (base < c_lo) bits &= ~std::uint64_t{0} << (c_lo - base);
      if (c_hi - base < 64) bits &= (std::uint64_t{1} << (c_hi - base)) - 1;
      inked = inked || bits != 0;
      for (; bits; bits &= bits - 1) pixels[origin.x + base + std::countr_zero(bits)] = colour;
    }
    if (inked && colour != white) add_ink(y, left, right);
  }
}

// Masks and cells up to 64 pixels wide take one word per row: the row's
// bits are lined up with the cell's visible columns, the white goes where
// the row has ink, then the set bits are painted.
void Raster::draw_cell(Point a, Point b, const BitMask* mask, Point origin, Colour colour) {
  bool narrow = a.x <= b.x && a.y <= b.y && b.x - a.x <= 64 && (!mask || mask->words_per_row <= 1);
  if (!narrow) {
    Pen pen = pen_;
    Brush brush = brush_;
    pen_ = Pen::null;
    brush_ = Brush::white;
    rectangle(a, b);
    pen_ = pen;
    brush_ = brush;
    if (mask && mask->width > 0) draw_mask(*mask, origin, a, b, colour);
    return;
  }
  DrawLock lock(*this);
  if (blind()) return;
  std::int64_t left = std::max<std::int64_t>(a.x, 0), right = std::min<std::int64_t>(b.x, width_);
  std::int64_t top = std::max<std::int64_t>(a.y, 0), bottom = std::min<std::int64_t>(b.y, height_);
  if (left >= right) return;
  std::int64_t columns = right - left;
  std::uint64_t visible = columns < 64 ? (std::uint64_t{1} << columns) - 1 : ~std::uint64_t{0};
  std::int64_t shift = mask ? origin.x - left : 0;  // bit k of a mask row lands on column left + k + shift
  for (std::int64_t y = top; y < bottom; ++y) {
    whiten(y, left, right);
    std::int64_t mask_row = y - origin.y;
    if (!mask || mask_row < 0 || mask_row >= mask->height || mask->width == 0) continue;
    std::uint64_t word = mask->words[static_cast<std::size_t>(mask_row)];
    std::uint64_t bits = shift >= 64 || shift <= -64 ? 0 : shift >= 0 ? word << shift : word >> -shift;
    bits &= visible;
    if (bits == 0) continue;
    Colour* pixels = row(y) + left;
    if (colour != white) add_ink(y, left + std::countr_zero(bits), left + 64 - std::countl_zero(bits));
    for (; bits; bits &= bits - 1) pixels[std::countr_zero(bits)] = colour;
  }
}

void Raster::copy_from(const Raster& source, Point from, std::int64_t w, std::int64_t h, Point to) {
  // Two pictures are locked together (no order between them); a held one not again.
  std::unique_lock<std::mutex> mine(mutex_, std::defer_lock), theirs(source.mutex_, std::defer_lock);
  bool lock_mine = !held_, lock_theirs = &source != this && !source.held_;
  if (lock_mine && lock_theirs)
    std::lock(mine, theirs);
  else if (lock_mine)
    mine.lock();
  else if (lock_theirs)
    theirs.lock();
  std::int64_t k_lo = std::max<std::int64_t>({0, -from.x, -to.x});
  std::int64_t k_hi = std::min<std::int64_t>({w, source.width_ - from.x, width_ - to.x});
  std::int64_t r_lo = std::max<std::int64_t>({0, -from.y, -to.y});
  std::int64_t r_hi = std::min<std::int64_t>({h, source.height_ - from.y, height_ - to.y});
  if (k_lo >= k_hi || r_lo >= r_hi || blind()) return;
  auto bytes = static_cast<std::size_t>(k_hi - k_lo) * sizeof(Colour);
  // A source part without ink is painted white; any other is copied and
  // counts as ink where it lands.
  auto copy_row = [&](std::int64_t r) {
    std::int64_t to_left = to.x + k_lo, to_right = to.x + k_hi;
    const Ink* ink = source.blind() ? nullptr : &source.ink_[static_cast<std::size_t>(source.ring_index(from.y + r))];
    if (!ink || ink->right <= from.x + k_lo || ink->left >= from.x + k_hi || ink->left >= ink->right) {
      fill_span(to.y + r, to_left, to_right, white);
      return;
    }
    std::memmove(row(to.y + r) + to_left, source.row(from.y + r) + from.x + k_lo, bytes);
    add_ink(to.y + r, to_left, to_right);
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
  DrawLock lock(*this);
  if (blind()) return;
  for (std::int64_t r = r_lo; r < r_hi; ++r) {
    const std::uint8_t* bytes = data + stride * static_cast<std::size_t>(r);
    for (std::int64_t c = c_lo; c < c_hi; ++c) {
      int value = (bytes[c / 4] >> (6 - 2 * (c % 4))) & 3;
      row(to.y + r)[to.x + c] = two_bit_colours[value];
    }
    if (c_lo < c_hi) add_ink(to.y + r, to.x + c_lo, to.x + c_hi);
  }
}

}  // namespace platform
