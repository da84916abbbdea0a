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

}  // namespace app
