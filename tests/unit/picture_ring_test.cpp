// Tests of the picture's shortcuts against the plain operations they stand
// for: the ring of rows against block copies, white over ink spans, one-pass
// cells against a fill and a mask, the picture without pixels, and the lock
// held across a run of characters while another thread copies the picture.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "platform/raster.h"

using namespace platform;

namespace {

// Draws the same random mixture into a picture.
void scribble(Raster& r, std::mt19937& random) {
  std::uniform_int_distribution<int> x(-20, r.width() + 20), y(-20, r.height() + 20), kind(0, 5);
  for (int i = 0; i < 40; ++i) {
    r.select_pen(kind(random) % 3 == 0 ? Pen::white : Pen::black);
    r.select_brush(kind(random) % 2 == 0 ? Brush::white : Brush::black);
    Point a{x(random), y(random)}, b{x(random), y(random)};
    switch (kind(random)) {
      case 0: r.polyline(a, b); break;
      case 1: r.rectangle(a, b); break;
      case 2: r.ellipse(a, b); break;
      case 3: r.set_pixel(a.x, a.y, black); break;
      default:
        r.select_pen(Pen::null);
        r.rectangle(a, b);
    }
  }
}

// The scroll a console used to make: everything up by rows through a
// second picture, then the rows that came in painted white.
void scroll_by_copy(Raster& r, Raster& scratch, int rows) {
  scratch.copy_from(r, {0, 0}, r.width(), r.height(), {0, 0});
  r.copy_from(scratch, {0, rows}, r.width(), r.height() - rows, {0, 0});
  r.select_pen(Pen::null);
  r.select_brush(Brush::white);
  r.rectangle({0, r.height() - rows - 1}, {r.width(), r.height()});
}

void scroll_by_ring(Raster& r, int rows) {
  r.rotate_up(rows);
  r.select_pen(Pen::null);
  r.select_brush(Brush::white);
  r.rectangle({0, r.height() - rows - 1}, {r.width(), r.height()});
}

TEST(PictureRing, TurningTheRingGivesThePixelsOfTheBlockCopy) {
  std::mt19937 a_random(7), b_random(7);
  Raster copied(61, 37), scratch(61, 37), ringed(61, 37);
  for (int step = 0; step < 30; ++step) {
    scribble(copied, a_random);
    scribble(ringed, b_random);
    int rows = 1 + step % 13;
    scroll_by_copy(copied, scratch, rows);
    scroll_by_ring(ringed, rows);
    ASSERT_EQ(copied.snapshot(), ringed.snapshot()) << step;
    for (int y = 0; y < 37; y += 5) ASSERT_EQ(copied.pixel(3, y), ringed.pixel(3, y));
  }
  // Copies out of and within a turned picture read its rows as they show.
  Raster target(61, 37);
  target.copy_from(ringed, {5, 6}, 30, 20, {1, 2});
  Raster expected(61, 37);
  expected.copy_from(copied, {5, 6}, 30, 20, {1, 2});
  EXPECT_EQ(target.snapshot(), expected.snapshot());
  ringed.copy_from(ringed, {0, 3}, 61, 30, {2, 0});
  copied.copy_from(copied, {0, 3}, 61, 30, {2, 0});
  EXPECT_EQ(copied.snapshot(), ringed.snapshot());
}

TEST(PictureRing, RotationOutsideThePictureIsIgnored) {
  Raster r(4, 4);
  r.set_pixel(1, 1, black);
  r.rotate_up(0);
  r.rotate_up(4);
  r.rotate_up(-1);
  EXPECT_EQ(r.pixel(1, 1), black);
  r.rotate_up(1);
  EXPECT_EQ(r.pixel(1, 0), black);
  EXPECT_EQ(r.pixel(1, 3), white);
}

// White painted where a row has no ink is skipped; the pixels must still be
// exactly those of painting everything.
TEST(PictureRing, WhiteOverPartsOfTheInkLeavesNoInkBehind) {
  Raster r(40, 3);
  r.polyline({5, 1}, {30, 1});  // ink 5..29
  r.select_pen(Pen::null);
  r.select_brush(Brush::white);
  r.rectangle({0, 1}, {10, 2});   // the left end
  r.rectangle({25, 1}, {40, 2});  // the right end
  r.rectangle({14, 1}, {16, 2});  // a hole in the middle
  for (int x = 0; x < 40; ++x) EXPECT_EQ(r.pixel(x, 1), (x >= 10 && x < 14) || (x >= 16 && x < 25) ? black : white) << x;
  r.rectangle({12, 0}, {20, 3});
  r.rectangle({0, 1}, {13, 2});
  r.rectangle({19, 1}, {40, 2});
  for (int x = 0; x < 40; ++x) EXPECT_EQ(r.pixel(x, 1), white) << x;
  r.set_pixel(39, 1, black);  // ink again after the row was clean
  r.rectangle({38, 0}, {39, 3});
  EXPECT_EQ(r.pixel(39, 1), black);
}

BitMask checker(int w, int h) {
  BitMask m(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((x + y) % 3 != 0) m.set(x, y);
  return m;
}

// draw_cell against the fill and the mask it stands for, for cells inside,
// across every edge, wider than a word and upside down.
TEST(PictureRing, CellInOnePassEqualsFillThenMask) {
  BitMask narrow = checker(9, 15), wide = checker(70, 5);
  struct Case {
    Point a, b, origin;
    const BitMask* mask;
  } cases[] = {
      {{3, 2}, {10, 16}, {4, 1}, &narrow},   {{-3, -4}, {4, 10}, {-5, -2}, &narrow},
      {{45, 20}, {52, 34}, {43, 25}, &narrow}, {{10, 5}, {17, 19}, {30, 5}, &narrow},
      {{0, 0}, {66, 6}, {-2, 1}, &wide},      {{10, 10}, {3, 4}, {3, 4}, &narrow},
      {{5, 5}, {12, 19}, {}, nullptr},       {{20, 0}, {84, 9}, {21, 0}, &narrow},
  };
  for (const Case& c : cases) {
    Raster plain(50, 30), one_pass(50, 30);
    for (Raster* r : {&plain, &one_pass}) {
      r->select_brush(Brush::black);
      r->select_pen(Pen::null);
      r->rectangle({0, 0}, {25, 30});  // ink under half of the cells
      r->select_brush(Brush::white);
    }
    plain.rectangle(c.a, c.b);
    if (c.mask) plain.draw_mask(*c.mask, c.origin, c.a, c.b, black);
    one_pass.draw_cell(c.a, c.b, c.mask, c.origin, black);
    EXPECT_EQ(plain.snapshot(), one_pass.snapshot()) << c.a.x << "," << c.a.y;
    EXPECT_EQ(one_pass.pen(), Pen::null);
    EXPECT_EQ(one_pass.brush(), Brush::white);
  }
}

TEST(PictureRing, PictureWithoutPixelsKeepsItsStateAndReadsWhite) {
  Raster r(30, 20, false);
  r.select_pen(Pen::black);
  r.polyline({0, 0}, {29, 19});
  r.select_brush(Brush::black);
  r.rectangle({0, 0}, {30, 20});
  r.draw_cell({0, 0}, {7, 14}, nullptr, {}, black);
  r.rotate_up(3);
  Raster other(30, 20);
  other.set_pixel(2, 2, black);
  other.copy_from(r, {0, 0}, 30, 20, {0, 0});
  EXPECT_EQ(other.pixel(2, 2), white);
  EXPECT_EQ(r.pixel(5, 5), white);
  EXPECT_EQ(r.brush(), Brush::black);
  EXPECT_EQ(r.snapshot(), std::vector<Colour>(600, white));
}

// While the drawing thread holds the picture, a copy taken by another thread
// waits, so it never sees half a run of characters.
TEST(PictureRing, SnapshotWaitsForAHeldRun) {
  Raster r(64, 8);
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread copier([&] {
    while (!stop) {
      std::vector<Colour> pixels = r.snapshot();
      // A run paints row 0 and row 7 the same colour within one hold.
      if (pixels[0] != pixels[7 * 64]) ++torn;
    }
  });
  for (int i = 0; i < 2000; ++i) {
    r.hold();
    Colour c = i % 2 ? black : white;
    r.set_pixel(0, 0, c);
    r.set_pixel(0, 7, c);
    r.release();
  }
  stop = true;
  copier.join();
  EXPECT_EQ(torn.load(), 0);
}

}  // namespace
