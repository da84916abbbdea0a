// Tests of the console's pixel side: caret, cell fills, widths, wrapping,
// scrolling and escape sequences, with the default settings.
#include <gtest/gtest.h>

#include <string>

#include "device/console.h"
#include "device/device.h"
#include "device/screen.h"
#include "device/settings.h"
#include "platform/glyphs.h"

using device::screen;
using platform::black;
using platform::white;

namespace {

class Screen : public testing::Test {
 protected:
  void SetUp() override {
    device::state = device::Device{};
    device::create_picture({}, false);  // cells and caret only: pixels, not glyph shapes
  }
  void TearDown() override { device::state = device::Device{}; }

  static platform::Raster& pic() { return device::picture(); }
  static void put(std::u16string_view text) { device::console_write_wide(text); }
  // True when every pixel of [x1, x2) x [y1, y2) has the colour.
  static bool all(int x1, int y1, int x2, int y2, platform::Colour colour) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        if (pic().pixel(x, y) != colour) return false;
    return true;
  }
  static void blacken() {
    pic().select_pen(platform::Pen::null);
    pic().select_brush(platform::Brush::black);
    pic().rectangle({0, 0}, {480, 196});
  }
};

TEST_F(Screen, CaretIsTwoColumnsRightOfThePrintPositionAndMovesWithIt) {
  put(u"AB");
  EXPECT_EQ(screen.print_x, 14);
  EXPECT_EQ(screen.caret_x, 14);
  EXPECT_TRUE(all(15, 0, 17, 12, black));   // the caret: 12 pixels (FontSize) high
  EXPECT_TRUE(all(15, 12, 17, 14, white));  // its end point is not drawn
  EXPECT_TRUE(all(8, 0, 10, 14, white));    // the one after "A" was erased
  EXPECT_EQ(screen.line_points[0], (platform::Point{16, 0}));
  EXPECT_EQ(screen.line_points[1], (platform::Point{16, 12}));
  EXPECT_EQ(pic().pen(), platform::Pen::black);
  EXPECT_EQ(pic().brush(), platform::Brush::white);
}

TEST_F(Screen, PrintableCharacterFillsItsCellWhite) {
  blacken();
  put(u" ");
  EXPECT_TRUE(all(0, 0, 7, 14, white));
  EXPECT_EQ(pic().pixel(7, 0), black);
  EXPECT_EQ(pic().pixel(0, 14), black);
  EXPECT_TRUE(all(8, 0, 10, 12, black));
}

TEST_F(Screen, FullWidthAndHalfWidthAdvanceBy14And7) {
  put(u"あ");
  EXPECT_EQ(screen.print_x, 14);
  EXPECT_EQ(screen.last_char_width, 14);
  put(u"a");
  EXPECT_EQ(screen.print_x, 21);
  EXPECT_EQ(screen.last_char_width, 7);
  put(u"ｱ漢");  // half-width katakana, then a kanji
  EXPECT_EQ(screen.print_x, 21 + 7 + 14);
}

TEST_F(Screen, SeventiethHalfWidthCharacterStartsTheNextRow) {
  put(std::u16string(69, u'x'));
  EXPECT_EQ(screen.print_x, 0);
  EXPECT_EQ(screen.print_y, 14);
  blacken();
  put(u"y");
  EXPECT_TRUE(all(0, 14, 7, 28, white));
  EXPECT_EQ(screen.print_x, 7);
}

TEST_F(Screen, ControlCodesNeitherDrawNorMove) {
  blacken();
  std::uint64_t repaints = screen.repaint_count;
  put(u"\r\t\b\a");
  EXPECT_EQ(screen.print_x, 0);
  EXPECT_EQ(screen.repaint_count, repaints + 4);  // the caret is still drawn each time
  EXPECT_TRUE(all(3, 0, 7, 14, black));
}

TEST_F(Screen, EscapeSequencesDrawNothingAndAreSwallowedExactly) {
  put(u"a");
  blacken();
  std::uint64_t repaints = screen.repaint_count;
  put(u"\x1b[2J\x1b[1;31m");
  EXPECT_EQ(screen.print_x, 7);
  EXPECT_TRUE(all(0, 0, 8, 196, black));
  EXPECT_TRUE(all(10, 0, 480, 196, black));
  EXPECT_TRUE(all(8, 0, 10, 12, white));  // a swallowed character erases the caret, draws none
  EXPECT_EQ(screen.repaint_count, repaints + 2);  // only the two ESC characters
  // ESC ( B swallows the B only; the caret erase leaves the white pen behind.
  put(u"\x1b(");
  put(u"B");
  EXPECT_EQ(pic().pen(), platform::Pen::white);
  EXPECT_EQ(screen.print_x, 7);
  put(u"C");
  EXPECT_EQ(screen.print_x, 14);
  EXPECT_TRUE(all(7, 0, 14, 14, white));
}

// Only a printed character or a scroll selects the white brush; every handled
// character leaves the caret's second stroke in line_points.
TEST_F(Screen, BrushAndLinePointsAfterEachKindOfCharacter) {
  auto caret_pair = [] {
    return screen.line_points[0] == (platform::Point{screen.caret_x + 2, screen.caret_y}) &&
           screen.line_points[1] == (platform::Point{screen.caret_x + 2, screen.caret_y + 12});
  };
  put(u"ab");
  for (std::u16string_view c : {u"\r", u"\t", u"\n", u"\x1b", u"[", u"5", u"m"}) {
    pic().select_brush(platform::Brush::black);
    put(c);
    EXPECT_EQ(pic().brush(), platform::Brush::black);
    EXPECT_TRUE(caret_pair());
  }
  EXPECT_EQ(pic().pen(), platform::Pen::white);  // the last one was swallowed
  put(u"x");
  EXPECT_EQ(pic().brush(), platform::Brush::white);
  EXPECT_EQ(pic().pen(), platform::Pen::black);
  EXPECT_TRUE(caret_pair());
  put(u"\n\n\n\n\n\n\n\n\n\n\n");
  pic().select_brush(platform::Brush::black);
  put(u"\n");  // scrolls
  EXPECT_EQ(pic().brush(), platform::Brush::white);
}

TEST_F(Screen, NewLineFromRow168ScrollsByStepYAndStaysThere) {
  put(u"\n\n\n\n\n\n\n\n\n\n\n\n");
  EXPECT_EQ(screen.print_y, 168);
  pic().set_pixel(5, 20, black);
  pic().set_pixel(5, 190, black);
  pic().set_pixel(7, 194, black);  // lands on 180, the last row kept
  pic().set_pixel(9, 195, black);  // lands on 181, the first row cleared
  put(u"\n");
  EXPECT_EQ(screen.print_y, 168);
  EXPECT_EQ(screen.caret_y, 168);
  EXPECT_EQ(pic().pixel(5, 6), black);   // moved up by 14
  EXPECT_EQ(pic().pixel(5, 20), white);
  EXPECT_EQ(pic().pixel(7, 180), black);
  EXPECT_TRUE(all(0, 181, 480, 196, white));  // the row that came in is clear
  EXPECT_TRUE(all(1, 168, 3, 180, black));    // the caret at the kept row
  EXPECT_TRUE(all(1, 154, 3, 166, white));    // the moved old caret was erased
}

TEST_F(Screen, ClearScreenPaintsEverythingWhiteAndGoesHome) {
  device::settings.PosYOrigin = 3;
  put(u"abc\ndef");
  blacken();
  std::uint64_t repaints = screen.repaint_count;
  device::clear_screen();
  EXPECT_TRUE(all(0, 0, 480, 196, white));
  EXPECT_EQ(screen.print_x, 0);
  EXPECT_EQ(screen.print_y, 3);
  EXPECT_EQ(screen.repaint_count, repaints + 1);
  EXPECT_EQ(pic().pen(), platform::Pen::null);
  put(u"x");
  EXPECT_TRUE(all(1, 3, 3, 15, white));  // caret erase at the old place; the new one at x 8
  EXPECT_TRUE(all(8, 3, 10, 15, black));
}

TEST_F(Screen, PictureSizeIsKeptWithinLimits) {
  device::settings.XWidth = 0;
  device::settings.XHeight = 100000;
  testing::internal::CaptureStderr();
  device::create_picture({}, false);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "vornbasic: XWidth=0 is out of range; the screen picture uses 1\n"
            "vornbasic: XHeight=100000 is out of range; the screen picture uses 4096\n");
  EXPECT_EQ(pic().width(), 1);
  EXPECT_EQ(pic().height(), 4096);
  EXPECT_EQ(device::settings.XWidth, 1);
  put(u"ab");  // every character wraps
  EXPECT_EQ(screen.print_y, 28);
}

TEST_F(Screen, GlyphsStayInsideTheirCells) {
  device::create_picture();
  platform::ConsoleFont probe(12, {});
  if (!probe.available()) GTEST_SKIP() << "no console font installed";
  put(u"A漢①");  // ① is not in the bitmap fonts: drawn by the fallback
  int inside = 0;
  for (int y = 0; y < 196; ++y)
    for (int x = 0; x < 480; ++x) {
      if (pic().pixel(x, y) != black) continue;
      bool caret = (x == 36 || x == 37) && y < 12;
      if (!caret) {
        EXPECT_TRUE(x < 35 && y < 14) << x << "," << y;
        ++inside;
      }
    }
  EXPECT_GT(inside, 10);
  auto inked = [](int x1, int x2) {
    for (int y = 0; y < 14; ++y)
      for (int x = x1; x < x2; ++x)
        if (pic().pixel(x, y) == black) return true;
    return false;
  };
  EXPECT_TRUE(inked(0, 7));
  EXPECT_TRUE(inked(7, 21));
  EXPECT_TRUE(inked(21, 35));
}

TEST_F(Screen, WithoutAFontTextStillAdvancesAndTheCaretMoves) {
  platform::ConsoleFont none(0, "/nonexistent/font.pcf");
  EXPECT_FALSE(none.available());
  EXPECT_EQ(none.glyph(u'A').mask.width, 0);
  device::settings.FontSize = 100000;  // too large to render at
  device::create_picture();
  put(u"ab");
  EXPECT_EQ(screen.print_x, 14);
  EXPECT_EQ(screen.caret_x, 14);
}

// A font height of 0 asks for the font's default size, a negative one for a
// cell of that height: either way the text is drawn.
TEST_F(Screen, FontSizeZeroOrNegativeStillDrawsText) {
  platform::ConsoleFont probe(12, {});
  if (!probe.available()) GTEST_SKIP() << "no console font installed";
  for (int size : {0, -12, -14}) {
    device::settings.FontSize = size;
    device::create_picture();
    put(u"H");
    EXPECT_FALSE(all(0, 0, 7, 14, white)) << size;
  }
}

TEST_F(Screen, RepaintCallbackIsCalledForEveryCharacter) {
  static int calls = 0;
  calls = 0;
  device::set_repaint_callback([] { ++calls; });
  put(u"ab\n");
  device::set_repaint_callback(nullptr);
  EXPECT_EQ(calls, 3);
}

}  // namespace
