// graphics.cpp — the drawing statements. They draw into the screen picture
// with the pen and brush it keeps between statements, and ask for a repaint.
#include "statements/graphics.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "device/screen.h"
#include "device/settings.h"
#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/value_stack.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

using machine::expect_token;
using machine::lexer;
using base::Message;
using platform::Point;

namespace statements {
namespace {

// A 2-bit image file: 14-byte file header, 40-byte information header and a
// four-entry colour table, then the pixel rows.
constexpr std::size_t image_header_bytes = 70;
// The largest width or height of a bitmap that image accepts.
constexpr std::int32_t image_max_side = 4096;
// An image name is converted into 252 wide characters with the terminator.
constexpr std::size_t image_name_chars = 251;

// x , y )  — the rest of a point after its opening parenthesis
Point point_rest() {
  std::int64_t x = machine::evaluate_integer();
  expect_token(",");
  std::int64_t y = machine::evaluate_integer();
  expect_token(")");
  return {x, y};
}

// ( x , y )
Point point() {
  expect_token("(");
  return point_rest();
}

// [ , colour ] — true for black: no colour, or one whose integer part is not 0.
bool colour() {
  if (lexer.first() != ',') return true;
  machine::next_token();
  return machine::evaluate_integer() != 0;
}

platform::Pen pen_of(bool black) { return black ? platform::Pen::black : platform::Pen::white; }

struct Figure {
  Point a;
  Point b;
  bool black;
};

// ( x1 , y1 ) - ( x2 , y2 ) [ , colour ]
Figure figure() {
  Point a = point();
  expect_token("-");
  Point b = point();
  bool black = colour();
  return {a, b, black};
}

using Draw = void (platform::Raster::*)(Point, Point);

// box and circle: outline in the colour, interior with the current brush.
int outlined(Draw draw) {
  Figure f = figure();
  platform::Raster& r = device::picture();
  r.select_pen(pen_of(f.black));
  (r.*draw)(f.a, f.b);
  device::request_repaint();
  return machine::go_on;
}

// boxf and circlef: the brush in the colour, outline with the current pen;
// in colour 0 drawn again with the white pen so that the outline is erased too.
int filled(Draw draw) {
  Figure f = figure();
  platform::Raster& r = device::picture();
  if (f.black) {
    r.select_brush(platform::Brush::black);
    (r.*draw)(f.a, f.b);
  } else {
    r.select_brush(platform::Brush::white);
    (r.*draw)(f.a, f.b);
    r.select_pen(platform::Pen::white);
    (r.*draw)(f.a, f.b);
  }
  device::request_repaint();
  return machine::go_on;
}

std::uint32_t le32(const unsigned char* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// Reads up to size bytes; returns how many there were.
std::size_t read_up_to(platform::File& file, void* buffer, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = file.read(static_cast<char*>(buffer) + got, size - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

// Reads exactly size bytes into bytes, growing it only as the file delivers,
// so that a header claiming more than the file holds costs no memory.
bool read_exactly(platform::File& file, std::vector<std::uint8_t>& bytes, std::size_t size) {
  constexpr std::size_t chunk = 1 << 20;
  bytes.clear();
  while (bytes.size() < size) {
    std::size_t at = bytes.size();
    std::size_t want = std::min(chunk, size - at);
    bytes.resize(at + want);
    std::size_t got = read_up_to(file, bytes.data() + at, want);
    if (got < want) return false;
  }
  return true;
}

[[noreturn]] void unreadable() { machine::raise_error(Message::image_unreadable); }

// The pixel rows of an image file, checked against what its header claims.
struct ImageData {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rows;
};

ImageData read_image(const std::string& sjis_name) {
  if (platform::cp932_to_utf16(sjis_name).size() > image_name_chars) unreadable();
  platform::File file = platform::File::open_read(platform::host_path(sjis_name));
  if (!file.is_open() || machine::held_by_a_channel(file)) unreadable();
  unsigned char header[image_header_bytes];
  if (read_up_to(file, header, sizeof header) < sizeof header) unreadable();
  std::uint32_t file_size = le32(header + 2);
  auto width = static_cast<std::int32_t>(le32(header + 18));
  auto height = static_cast<std::int32_t>(le32(header + 22));
  // Sizes a bitmap cannot sensibly have, and pixel data shorter than the
  // bitmap needs, are refused: the rows are never read beyond what the file holds.
  if (file_size < image_header_bytes || width < 1 || height < 1 || width > image_max_side ||
      height > image_max_side)
    unreadable();
  std::size_t needed = platform::bitmap_2bit_bytes(width, height);
  if (file_size - image_header_bytes < needed) unreadable();
  ImageData image{width, height, {}};
  if (!read_exactly(file, image.rows, needed)) unreadable();
  return image;
}

}  // namespace

// pset ( x , y ) [ , colour ]
int pset_statement() {
  Point p = point();
  bool black = colour();
  device::picture().set_pixel(p.x, p.y, black ? platform::black : platform::white);
  device::request_repaint();
  return machine::go_on;
}

// cls
int cls_statement() {
  device::clear_screen();
  return machine::go_on;
}

// line [ ( x1 , y1 ) ] - ( x2 , y2 ) [ , colour ]
int line_statement() {
  platform::Raster& r = device::picture();
  r.select_pen(platform::Pen::white);
  // The start point opens with any token whose text begins with "(".
  if (lexer.first() == '(') {
    machine::next_token();
    device::screen.line_points[0] = point_rest();
  }
  expect_token("-");
  Point end = point();
  r.select_pen(pen_of(colour()));
  device::screen.line_points[1] = end;
  r.polyline(device::screen.line_points[0], device::screen.line_points[1]);
  device::screen.line_points[0] = end;
  device::request_repaint();
  return machine::go_on;
}

// locate column , row
int locate_statement() {
  std::int64_t column = machine::evaluate_integer();
  expect_token(",");
  std::int64_t row = machine::evaluate_integer();
  // Products and sums wrap at 32 bits as on the device.
  device::screen.print_x = static_cast<std::int32_t>(column * device::screen.last_char_width);
  device::screen.print_y = static_cast<std::int32_t>(row * device::settings.StepY + device::settings.PosYOrigin);
  return machine::go_on;
}

// box ( x1 , y1 ) - ( x2 , y2 ) [ , colour ]
int box_statement() { return outlined(&platform::Raster::rectangle); }
// boxf ( x1 , y1 ) - ( x2 , y2 ) [ , colour ]
int boxf_statement() { return filled(&platform::Raster::rectangle); }
// circle ( x1 , y1 ) - ( x2 , y2 ) [ , colour ]
int circle_statement() { return outlined(&platform::Raster::ellipse); }
// circlef ( x1 , y1 ) - ( x2 , y2 ) [ , colour ]
int circlef_statement() { return filled(&platform::Raster::ellipse); }

// image ( x , y ) , name
int image_statement() {
  Point at = point();
  expect_token(",");
  machine::clear_value();
  machine::evaluate();
  std::string name = machine::get_string();
  ImageData image = read_image(name);
  device::picture().draw_bitmap_2bit(image.rows.data(), image.rows.size(), image.width, image.height, at);
  device::request_repaint();
  return machine::go_on;
}

}  // namespace statements
