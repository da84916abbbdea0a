// device.h — what the interpreter sees of the device in one place: the
// settings, the text state of the screen, the console's character state and
// the edit box typed lines come from. There is one device; the modules keep
// short names (settings, screen) that refer into it. The break flag, which the
// window thread writes, stays an atomic of its own (line_input.h).
#pragma once

#include "device/console.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "device/settings.h"

namespace device {

struct Device {
  Settings settings;
  ScreenState screen;
  ConsoleState console;
  EditBox* edit_box = nullptr;  // none: the terminal's
};

extern Device state;

}  // namespace device
