// screen.cpp — placeholder picture until the raster layer lands: keeps no pixels.
#include "host/screen.h"

#include "host/settings.h"

namespace host {

Settings settings;

void screen_erase_caret() {}
void screen_draw_char(char16_t) {}
void screen_new_line() {}
void screen_draw_caret() {}
void clear_screen() {}
void request_repaint() {}

}  // namespace host
