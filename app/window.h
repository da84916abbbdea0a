// window.h — the console window: the screen picture, the edit box, "Enter"
// and "Stop"; the interpreter runs on its own thread behind it.
#pragma once

#include "app/command_loop.h"

namespace app {

// True when a window can be shown (a display or a Qt platform is set).
bool window_available();

// Shows the window, runs the interpreter thread until the command loop ends
// or the window is closed, and returns the exit status.
int run_window(const LoopOptions& options, int argc, char** argv);

// The window lives in a library of its own (window_library, beside the
// program), loaded only when a window is shown, so that the terminal never
// loads the toolkit. Its entry point is run_window under this C name.
inline constexpr const char* window_library = "vornbasic-window.so";
inline constexpr const char* window_entry = "vornbasic_run_window";
using WindowEntry = int (*)(const LoopOptions* options, int argc, char** argv);

}  // namespace app
