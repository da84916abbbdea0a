// screen.h — the screen picture: the pixel side of the console.
// console_put_char (console.cpp) runs the character rules and calls these to
// draw; the graphics statements draw into the same picture.
#pragma once

namespace host {

// Erase the caret at (caret_x, caret_y) with the white pen.
void screen_erase_caret();
// Draw one printable UTF-16 unit at the print position and advance (wrapping).
void screen_draw_char(char16_t c);
// Move the print position to the next row, scrolling the picture when needed.
void screen_new_line();
// Draw the caret at the print position and ask for a repaint.
void screen_draw_caret();
// Clear the picture white and put the print position home.
void clear_screen();
// Ask the window (if any) to copy the picture.
void request_repaint();

}  // namespace host
