// window.h — the console window: the screen picture, the edit box, "Enter"
// and "Stop"; the interpreter runs on its own thread behind it.
#pragma once

#include <string>

#include "app/command_loop.h"

namespace app {

struct WindowOptions {
  int zoom = 0;       // 0: the screen's device pixel ratio
  bool stay = false;  // the window stays open after a start-up file ends
};

// True when a window can be shown: a display is set and can be reached.
// Otherwise why says what is missing. Tells Qt which display to use.
bool window_available(std::string& why);

// Shows the window, runs the interpreter thread until the command loop ends
// or the window is closed, and returns the exit status.
int run_window(LoopOptions options, const WindowOptions& window_options, int argc, char** argv);

// The window lives in a library of its own (window_library, beside the
// program), loaded only when a display is set, so that the terminal never
// loads the toolkit. Its entry points are window_available and run_window
// under these C names.
inline constexpr const char* window_library = "vornbasic-window.so";
inline constexpr const char* window_check_entry = "vornbasic_window_available";
inline constexpr const char* window_entry = "vornbasic_run_window";
using WindowCheck = bool (*)(std::string* why);
using WindowEntry = int (*)(const LoopOptions* options, const WindowOptions* window_options, int argc, char** argv);

}  // namespace app
