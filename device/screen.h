// screen.h — the screen picture: the pixel side of the console.
// console_put_char (console.cpp) runs the character rules and calls these to
// draw; the graphics statements draw into the same picture.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "platform/glyphs.h"
#include "platform/raster.h"

namespace device {

// Text state of the picture (interpreter thread only).
struct ScreenState {
  std::int32_t print_x = 0;  // top-left corner of the next character's cell
  std::int32_t print_y = 0;
  std::int32_t caret_x = 0;  // print position at which the caret was last drawn
  std::int32_t caret_y = 0;
  std::int32_t last_char_width = 7;  // advance of the last printable character
  // The pair of points line draws between; the caret strokes go through it too.
  platform::Point line_points[2];
  std::uint64_t repaint_count = 0;  // repaint requests so far
};
extern ScreenState& screen;

// The drawing resources behind the picture.
struct Pictures {
  std::unique_ptr<platform::Raster> screen_picture;
  std::unique_ptr<platform::ConsoleFont> font;  // none when glyphs are off
  void (*repaint_callback)() = nullptr;
};

// A caret that is drawn at the end of a run of characters rather than after
// each: the next character erases it at once, so its pixels would never last.
struct CaretHold {
  bool held = false;
  bool pending = false;  // drawn as far as the state goes, not yet in pixels
};

// Creates the screen picture and the console font from the settings (width
// and height kept within 1..4096, said on stderr), and resets the screen
// state. font_file replaces the default fonts; without glyphs, characters
// fill their cells but draw no shapes. Without pixels nothing is drawn at
// all (nobody will see the picture) while every position and pen is kept as
// if it were. The picture is made with the defaults on first use when this
// was not called.
void create_picture(const std::string& font_file = {}, bool draw_glyphs = true, bool keep_pixels = true);
// The screen picture; its snapshot() may be taken from another thread.
platform::Raster& picture();
// Called by request_repaint (the window copies the picture); none in the terminal.
void set_repaint_callback(void (*callback)());
// Writes the picture as a PNG file; false when it could not be written.
bool write_screenshot(const std::string& path);

// Erase the caret at (caret_x, caret_y) with the white pen. drawn_next is the
// printable unit about to be drawn, if any: where its cell will paint over
// the caret, the caret's pixels are left to it.
void screen_erase_caret(char16_t drawn_next = 0);
// Draw one printable UTF-16 unit at the print position and advance (wrapping).
void screen_draw_char(char16_t c);
// Move the print position to the next row, scrolling the picture when needed.
void screen_new_line();
// Draw the caret at the print position and ask for a repaint.
void screen_draw_caret();
// For a run of characters: while held, the picture stays locked for this
// thread (a window's copy waits), and a drawn caret reaches the pixels only
// when the hold ends, or never when the next character erases it first.
void screen_hold(bool held);
// Clear the picture white and put the print position home.
void clear_screen();
// Ask the window (if any) to copy the picture.
void request_repaint();

}  // namespace device
