// Tests of the drawing statements, run as typed lines: their pixels, the pen
// and brush they leave for the next one, locate, and image files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "device/console.h"
#include "device/device.h"
#include "device/screen.h"
#include "device/settings.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/program_store.h"

using device::screen;
using platform::black;
using platform::white;

namespace {

class Graphics : public testing::Test {
 protected:
  void SetUp() override {
    device::state = device::Device{};
    device::create_picture({}, false);
  }

  static void run(const std::string& text) {
    auto line = std::make_shared<machine::ProgramLine>(-1, text);
    machine::execute_line(line);
  }
  static platform::Colour at(int x, int y) { return device::picture().pixel(x, y); }
  static bool all(int x1, int y1, int x2, int y2, platform::Colour colour) {
    for (int y = y1; y < y2; ++y)
      for (int x = x1; x < x2; ++x)
        if (at(x, y) != colour) return false;
    return true;
  }
};

TEST_F(Graphics, PsetColourRule) {
  run("pset (5, 6)");
  EXPECT_EQ(at(5, 6), black);
  run("pset (5, 6), 0");
  EXPECT_EQ(at(5, 6), white);
  run("pset (5, 6), 5");
  EXPECT_EQ(at(5, 6), black);
  run("pset (5, 6), 0.9");  // integer part 0
  EXPECT_EQ(at(5, 6), white);
  EXPECT_EQ(screen.print_x, 0);
}

// The window shows a drawing at once: every drawing statement asks for a repaint.
TEST_F(Graphics, EveryDrawingAsksForARepaint) {
  for (const char* statement : {"pset (1,1)", "line (0,0)-(9,9)", "box (0,0)-(9,9)", "boxf (0,0)-(9,9)",
                                "boxf (0,0)-(9,9),0", "circle (0,0)-(9,9)", "circlef (0,0)-(9,9)",
                                "circlef (0,0)-(9,9),0", "cls"}) {
    std::uint64_t before = screen.repaint_count;
    run(statement);
    EXPECT_GT(screen.repaint_count, before) << statement;
  }
}

TEST_F(Graphics, LineContinuesFromItsEndPoint) {
  std::uint64_t repaints = screen.repaint_count;
  run("line (10, 10)-(20, 10)");
  EXPECT_TRUE(all(10, 10, 20, 11, black));
  EXPECT_EQ(at(20, 10), white);
  run("line -(20, 20)");
  EXPECT_TRUE(all(20, 10, 21, 20, black));
  EXPECT_EQ(at(20, 20), white);
  EXPECT_EQ(screen.line_points[0], (platform::Point{20, 20}));
  EXPECT_EQ(screen.repaint_count, repaints + 2);
  run("line (10, 10)-(20, 10), 0");
  EXPECT_EQ(at(15, 10), white);
  EXPECT_EQ(device::picture().pen(), platform::Pen::white);
}

TEST_F(Graphics, LineStartPointOpensWithTheFirstCharacterOfTheToken) {
  run("line \"(x\" 5, 5)-(10, 5)");
  EXPECT_TRUE(all(5, 5, 10, 6, black));
  EXPECT_EQ(screen.line_points[0], (platform::Point{10, 5}));
}

TEST_F(Graphics, LineAfterPrintStartsAtTheCaret) {
  run("line (10, 10)-(20, 10)");
  device::console_print("ab");  // caret at x 14: line_points[0] is (16, 0)
  run("line -(16, 50)");
  EXPECT_TRUE(all(16, 14, 17, 50, black));  // below the caret's own stroke
  EXPECT_EQ(at(16, 50), white);
}

TEST_F(Graphics, BoxInteriorComesFromTheCurrentBrush) {
  run("boxf (10, 10)-(30, 30)");
  device::console_print("a");  // leaves the white brush and the black pen
  run("box (10, 10)-(30, 30)");
  EXPECT_EQ(at(10, 10), black);
  EXPECT_EQ(at(29, 29), black);
  EXPECT_TRUE(all(11, 11, 29, 29, white));
  run("boxf (40, 40)-(60, 60)");
  run("box (40, 40)-(70, 70)");
  EXPECT_TRUE(all(41, 41, 69, 69, black));
  run("circle (100, 100)-(120, 120)");
  EXPECT_EQ(at(110, 110), black);
}

TEST_F(Graphics, BoxfInColourZeroErasesItsOutlineToo) {
  run("boxf (10, 10)-(30, 30)");
  device::console_print("a");  // black pen current
  run("boxf (10, 10)-(30, 30), 0");
  EXPECT_TRUE(all(10, 10, 30, 30, white));
  EXPECT_EQ(device::picture().pen(), platform::Pen::white);
  // A black boxf now has a white outline: the pen is still white.
  run("boxf (10, 10)-(30, 30)");
  EXPECT_EQ(at(10, 10), white);
  EXPECT_EQ(at(20, 20), black);
}

TEST_F(Graphics, BoxfAfterClsHasNoOutline) {
  run("cls");
  run("boxf (10, 10)-(30, 30)");
  EXPECT_TRUE(all(10, 10, 30, 30, black));
  EXPECT_EQ(at(30, 30), white);
}

TEST_F(Graphics, CircleTakesTwoCornersOfItsBox) {
  run("circle (0, 0)-(10, 20)");
  int left = 99, right = -1, top = 99, bottom = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (at(x, y) == black) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 9);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(bottom, 19);
  EXPECT_EQ(at(5, 10), white);
  run("circlef (0, 0)-(10, 20)");
  EXPECT_EQ(at(5, 10), black);
  run("circlef (0, 0)-(10, 20), 0");
  EXPECT_TRUE(all(0, 0, 10, 20, white));
}

TEST_F(Graphics, LocateUsesTheLastCharacterWidth) {
  run("locate 2, 1");
  EXPECT_EQ(screen.print_x, 14);
  EXPECT_EQ(screen.print_y, 14);
  device::console_write("\x82\xa0");  // あ
  run("locate 2, 1");
  EXPECT_EQ(screen.print_x, 28);
  device::console_write("a");
  run("locate 2, 1");
  EXPECT_EQ(screen.print_x, 14);
  device::settings.PosYOrigin = 5;
  run("locate 0, 0");
  EXPECT_EQ(screen.print_x, 0);
  EXPECT_EQ(screen.print_y, 5);
  run("locate 2147483647, 2147483647");  // wraps, no overflow
}

TEST_F(Graphics, ParsingErrors) {
  EXPECT_THROW(run("pset 5, 6"), machine::BasicError);
  EXPECT_THROW(run("pset (\"a\", 6)"), machine::BasicError);
  EXPECT_THROW(run("box (1, 2) (3, 4)"), machine::BasicError);
  EXPECT_THROW(run("locate 1 2"), machine::BasicError);
  EXPECT_THROW(run("line (1, 2)-(3 4)"), machine::BasicError);
  EXPECT_THROW(run("image (1, 2) \"x\""), machine::BasicError);
}

// A 2-bit image file: 70-byte header, then rows as the platform takes them.
std::string image_file(std::int32_t width, std::int32_t height, const std::string& rows,
                       std::int64_t size_field = -1) {
  std::string bytes(70, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(size_field >= 0 ? size_field : 70 + static_cast<std::int64_t>(rows.size())));
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  return bytes + rows;
}

class Image : public Graphics {
 protected:
  void SetUp() override {
    Graphics::SetUp();
    folder = std::filesystem::temp_directory_path() / ("vorn-image-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string write(const std::string& name, const std::string& bytes) {
    std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path folder;
};

TEST_F(Image, DrawsTheRowsAsStoredAtXY) {
  // Row 0: 3 0 1 2 3 (padding); row 1: 0 3 3 3 3.
  std::string rows = {'\xC6', '\xC0', '\x3F', '\xC0'};
  std::string path = write("a.bmp", image_file(5, 2, rows));
  std::uint64_t repaints = screen.repaint_count;
  run("image (20, 30), \"" + path + "\"");
  EXPECT_EQ(at(20, 30), white);
  EXPECT_EQ(at(21, 30), black);
  EXPECT_EQ(at(22, 30), 0x808080u);
  EXPECT_EQ(at(23, 30), 0xC0C0C0u);
  EXPECT_EQ(at(24, 30), white);
  EXPECT_EQ(at(20, 31), black);
  EXPECT_TRUE(all(21, 31, 25, 32, white));
  EXPECT_EQ(at(25, 30), white);  // only width pixels
  EXPECT_EQ(screen.repaint_count, repaints + 1);
  // A file longer than its size field claims: only the rows are used.
  path = write("b.bmp", image_file(5, 2, rows + std::string(100, '\0')));
  run("image (20, 40), \"" + path + "\"");
  EXPECT_EQ(at(21, 40), black);
}

TEST_F(Image, MalformedFilesAreRefusedAndDrawNothing) {
  std::string rows(8, '\0');  // all black for 5 x 4
  std::vector<std::string> bad = {
      write("missing-folder/none.bmp", ""),  // cannot be opened
      write("short.bmp", image_file(5, 4, rows).substr(0, 69)),
      write("size.bmp", image_file(5, 4, rows, 69)),
      write("rows.bmp", image_file(5, 4, rows, 70 + 7)),
      write("data.bmp", image_file(5, 4, rows.substr(0, 7), 70 + 8)),
      write("negative.bmp", image_file(5, -4, rows)),
      write("huge.bmp", image_file(0x7FFFFFFF, 0x7FFFFFFF, rows, 0xFFFFFFFF)),
  };
  for (const std::string& path : bad) {
    EXPECT_THROW(run("image (300, 150), \"" + path + "\""), machine::BasicError) << path;
    EXPECT_TRUE(all(300, 150, 306, 155, white)) << path;
  }
  EXPECT_THROW(run("image (300, 150), 5"), machine::BasicError);
}

TEST_F(Image, SizesOutsideOneTo4096AreRefusedAndDrawNothing) {
  std::string rows(4096, '\0');
  for (auto [w, h] : {std::pair{0, 4}, {5, 0}, {-1, 2}, {2, -1}, {4097, 1}, {1, 4097}}) {
    EXPECT_THROW(run("image (300, 150), \"" + write("bad.bmp", image_file(w, h, rows)) + "\""), machine::BasicError)
        << w << " x " << h;
  }
  EXPECT_TRUE(all(200, 150, 480, 151, white));
  // 4096 wide is still a picture: drawn, and clipped at the edge.
  std::size_t stride = (4096 * 2 + 15) / 16 * 2;
  run("image (-4000, 10), \"" + write("wide.bmp", image_file(4096, 1, std::string(stride, '\0'))) + "\"");
  EXPECT_TRUE(all(0, 10, 96, 11, black));
  EXPECT_TRUE(all(96, 10, 480, 11, white));
  // A file that claims more rows than it holds is refused before anything is drawn.
  EXPECT_THROW(run("image (300, 30), \"" + write("tall.bmp", image_file(1, 4000, rows.substr(0, 8), 0xFFFFFFFF)) + "\""),
               machine::BasicError);
  EXPECT_TRUE(all(10, 30, 480, 196, white));
}

TEST_F(Image, FileHeldByAChannelCannotBeRead) {
  std::string path = write("held.bmp", image_file(1, 1, std::string(2, '\0')));
  run("open \"" + path + "\" for input as #3");
  EXPECT_THROW(run("image (10, 10), \"" + path + "\""), machine::BasicError);
  EXPECT_EQ(at(10, 10), white);
  run("close #3");
  run("image (10, 10), \"" + path + "\"");
  EXPECT_EQ(at(10, 10), black);
}

}  // namespace
