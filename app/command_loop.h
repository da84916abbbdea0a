// command_loop.h — the interpreter thread's work: banner, READY, typed lines.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace app {

struct LoopOptions {
  std::u16string startup_file;          // empty: interactive; "-": stdin
  std::string startup_text;             // its bytes, read before the start (read_startup_file)
  std::optional<std::uint32_t> seed;    // rnd seed; the tick count when absent
  bool pause_at_end = true;             // the 1000 ms pause of start-up file mode
};

// Runs the command loop until bye, a fatal error, or the end of the start-up
// file. Returns the process exit status: 0, or 1 when an error ended a
// start-up file or the system.
int command_loop(const LoopOptions& options);

// The interpreter thread's whole life: channels, command loop.
int interpreter_thread(const LoopOptions& options);

}  // namespace app
