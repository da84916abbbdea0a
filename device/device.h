// device.h — what the interpreter sees of the device in one place: the
// settings, the screen's text state and pictures, the mirror of the console's
// text, the console's character state and the edit box typed lines come from.
// There is one device; the modules keep short names (settings, screen) that
// refer into it. The break flag, which the window thread writes, stays an
// atomic of its own (line_input.h).
#pragma once
#include <memory>

#include "device/console.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "device/settings.h"
#include "device/text_mirror.h"

namespace device {

struct Device {
  Settings settings;
  ScreenState screen;
  Pictures pictures;
  CaretHold caret_hold;
  // Read by the window thread too, under its own lock; held by pointer so
  // that the device can be reset by assignment.
  std::unique_ptr<TextMirror> text_mirror = std::make_unique<TextMirror>();
  ConsoleState console;
  EditBox* edit_box = nullptr;  // none: the terminal's
};

extern Device state;

}  // namespace device
