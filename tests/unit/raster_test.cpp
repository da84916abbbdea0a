// Tests of the raster layer: the box conventions, pens and brushes, clipping,
// block copies and 2-bit device bitmaps.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/raster.h"

using namespace platform;

namespace {

// The black pixels of a picture as a box: {left, top, right, bottom}, inclusive.
struct Bounds {
  std::int64_t left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  int count = 0;
  bool operator==(const Bounds&) const = default;
};

Bounds black_bounds(const Raster& r, Colour colour = black) {
  Bounds b;
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x)
      if (r.pixel(x, y) == colour) {
        b.left = std::min<std::int64_t>(b.left, x);
        b.top = std::min<std::int64_t>(b.top, y);
        b.right = std::max<std::int64_t>(b.right, x);
        b.bottom = std::max<std::int64_t>(b.bottom, y);
        ++b.count;
      }
  return b;
}

TEST(Raster, StartsWhiteWithBlackPenAndWhiteBrushAndClampsItsSize) {
  Raster r(4, 3);
  EXPECT_EQ(r.pixel(0, 0), white);
  EXPECT_EQ(r.pen(), Pen::black);
  EXPECT_EQ(r.brush(), Brush::white);
  EXPECT_EQ(Raster(0, -5).width(), 1);
  EXPECT_EQ(Raster(5000, 1).width(), max_raster_side);
}

TEST(Raster, RectangleCoversTheHalfOpenBoxWithItsOutlineInside) {
  Raster r(20, 20);
  r.select_brush(Brush::white);
  r.rectangle({8, 9}, {2, 3});  // corners in any order
  EXPECT_EQ(black_bounds(r), (Bounds{2, 3, 7, 8, 2 * 6 + 2 * 4}));
  EXPECT_EQ(r.pixel(4, 5), white);
  r.select_pen(Pen::null);
  r.select_brush(Brush::black);
  r.rectangle({10, 10}, {13, 12});
  EXPECT_EQ(r.pixel(10, 10), black);
  EXPECT_EQ(r.pixel(12, 11), black);
  EXPECT_EQ(r.pixel(13, 11), white);
  EXPECT_EQ(r.pixel(12, 12), white);
}

TEST(Raster, EmptyBoxDrawsNothing) {
  Raster r(10, 10);
  r.rectangle({3, 3}, {3, 8});
  r.ellipse({3, 3}, {8, 3});
  EXPECT_EQ(black_bounds(r).count, 0);
}

TEST(Raster, EllipseIsInscribedInItsBox) {
  Raster r(40, 40);
  r.ellipse({0, 0}, {10, 20});
  Bounds b = black_bounds(r);
  EXPECT_EQ(b.left, 0);
  EXPECT_EQ(b.top, 0);
  EXPECT_EQ(b.right, 9);
  EXPECT_EQ(b.bottom, 19);
  EXPECT_EQ(r.pixel(5, 10), white);  // interior: the white brush
  EXPECT_EQ(r.pixel(0, 0), white);   // corners are outside
  // The outline is closed: every row between top and bottom has a left and right edge.
  for (int y = 0; y < 20; ++y) EXPECT_EQ(r.pixel(5, y), y == 0 || y == 19 ? black : white) << y;
}

TEST(Raster, FilledEllipseWithNullPenIsAllBrush) {
  Raster r(40, 40);
  r.select_pen(Pen::null);
  r.select_brush(Brush::black);
  r.ellipse({10, 10}, {30, 20});
  Bounds b = black_bounds(r);
  EXPECT_EQ(b.left, 10);
  EXPECT_EQ(b.right, 29);
  EXPECT_EQ(b.top, 10);
  EXPECT_EQ(b.bottom, 19);
  EXPECT_EQ(r.pixel(20, 15), black);
}

TEST(Raster, LineLeavesOutItsLastPoint) {
  Raster r(30, 30);
  r.polyline({10, 10}, {20, 10});
  EXPECT_EQ(black_bounds(r), (Bounds{10, 10, 19, 10, 10}));
  Raster diagonal(30, 30);
  diagonal.polyline({20, 20}, {10, 15});
  Bounds b = black_bounds(diagonal);
  EXPECT_EQ(b.count, 10);
  EXPECT_EQ(diagonal.pixel(20, 20), black);
  EXPECT_EQ(diagonal.pixel(10, 15), white);
  Raster dot(5, 5);
  dot.polyline({2, 2}, {2, 2});
  EXPECT_EQ(black_bounds(dot).count, 0);
}

TEST(Raster, NullPenDrawsNoLineAndWhitePenErases) {
  Raster r(10, 10);
  r.polyline({0, 5}, {10, 5});
  r.select_pen(Pen::null);
  r.polyline({0, 5}, {10, 5});
  EXPECT_EQ(black_bounds(r).count, 10);
  r.select_pen(Pen::white);
  r.polyline({0, 5}, {10, 5});
  EXPECT_EQ(black_bounds(r).count, 0);
}

TEST(Raster, HugeCoordinatesAreClippedNotWalked) {
  constexpr std::int64_t big = std::numeric_limits<std::int32_t>::max();
  Raster r(50, 50);
  r.polyline({-big, 25}, {big, 25});
  EXPECT_EQ(black_bounds(r), (Bounds{0, 25, 49, 25, 50}));
  r.select_brush(Brush::black);
  r.ellipse({-big, -big}, {big, big});
  EXPECT_EQ(black_bounds(r).count, 2500);
  r.select_brush(Brush::white);
  r.select_pen(Pen::white);
  r.rectangle({-big, -big}, {big + 1, big + 1});
  EXPECT_EQ(black_bounds(r).count, 0);
  r.set_pixel(-1, 3, black);
  r.set_pixel(50, 3, black);
  EXPECT_EQ(black_bounds(r).count, 0);
}

TEST(Raster, MaskIsClippedToItsCell) {
  Raster r(20, 20);
  Mask m{4, 2, std::vector<std::uint8_t>(8, 1)};
  r.draw_mask(m, {5, 5}, {6, 0}, {8, 6}, black);
  EXPECT_EQ(black_bounds(r), (Bounds{6, 5, 7, 5, 2}));
}

TEST(Raster, CopyMovesABlockBetweenPictures) {
  Raster screen(10, 10), scratch(10, 10);
  screen.set_pixel(3, 7, black);
  scratch.copy_from(screen, {0, 0}, 10, 10, {0, 0});
  screen.copy_from(scratch, {0, 4}, 10, 6, {0, 0});
  EXPECT_EQ(screen.pixel(3, 3), black);
  EXPECT_EQ(screen.pixel(3, 7), black);  // rows below the copied block stay
  screen.copy_from(scratch, {-100, 0}, 1000, 1000, {5, 5});  // clipped on all sides
  screen.copy_from(screen, {0, 0}, 10, 9, {0, 1});           // within one picture
  EXPECT_EQ(screen.pixel(3, 4), black);
}

TEST(Raster, TwoBitBitmapRowsAreTopDownAndPaddedTo16Bits) {
  EXPECT_EQ(bitmap_2bit_bytes(5, 2), 4u);
  EXPECT_EQ(bitmap_2bit_bytes(8, 1), 2u);
  EXPECT_EQ(bitmap_2bit_bytes(9, 1), 4u);
  Raster r(20, 20);
  // Row 0: 0 1 2 3 | 0 . . . ; row 1: 3 3 3 3 | 3 . . .
  const std::uint8_t data[] = {0x1B, 0x00, 0xFF, 0xC0};
  r.draw_bitmap_2bit(data, sizeof data, 5, 2, {10, 3});
  EXPECT_EQ(r.pixel(10, 3), black);
  EXPECT_EQ(r.pixel(11, 3), 0x808080u);
  EXPECT_EQ(r.pixel(12, 3), 0xC0C0C0u);
  EXPECT_EQ(r.pixel(13, 3), white);
  EXPECT_EQ(r.pixel(14, 3), black);
  EXPECT_EQ(r.pixel(14, 4), white);
  r.draw_bitmap_2bit(data, 3, 5, 2, {0, 0});  // too short: nothing
  EXPECT_EQ(r.pixel(0, 0), white);
}

}  // namespace
