// command_loop.cpp — the one place that catches the interpreter's errors.
#include "app/command_loop.h"

#include <chrono>
#include <new>
#include <thread>

#include "device/console.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/keywords.h"
#include "machine/program_store.h"
#include "machine/random.h"
#include "machine/value_stack.h"
#include "platform/clock.h"
#include "platform/terminal.h"
#include "platform/text_codec.h"
#include "statements/program_commands.h"

namespace app {
namespace {

void seed(const LoopOptions& options) {
  machine::seed_random(options.seed ? *options.seed : platform::tick_count());
}

machine::LinePtr typed_line(std::int32_t number, std::string text) {
  auto line = std::make_shared<machine::ProgramLine>(number, std::move(text));
  line->label_hash = -1;
  return line;
}

// Runs one line; a result other than a quiet stop or bye is refused. Returns the result.
int run_typed_line(machine::LinePtr line) {
  int result = machine::execute_line(std::move(line));
  if (result != machine::no_result && result != machine::stop_quietly && result != machine::end_system)
    machine::raise_error(base::Message::not_direct);
  return result;
}

void out_of_memory() {
  machine::fatal_flag = 1;
  machine::report_error(base::Message::system_error);
}

int interactive(const LoopOptions& options) {
  seed(options);
  device::clear_screen();
  device::console_print("Vorn Basic version 0.3\n");
  device::console_print("for Windows Mobile\n");
  statements::new_program();
  for (;;) {  // the recovery point: every error comes back here
    try {
      device::console_print("READY\n");
      for (;;) {
        device::break_flag = 0;
        machine::clear_value();
        std::u16string wide;
        if (device::wait_typed_line(wide, true) == device::LineStatus::closed) {
          statements::new_program();
          device::console_print("<< BYE >>\n");
          return 0;
        }
        std::string text = platform::utf16_to_cp932(wide, limits::typed_line_bytes);
        if (text.empty()) continue;
        if (run_typed_line(typed_line(-1, std::move(text))) == machine::end_system) {
          statements::new_program();
          device::console_print("<< BYE >>\n");
          return 0;
        }
        device::console_print("\nREADY\n");
      }
    } catch (const machine::BasicError&) {
    } catch (const std::bad_alloc&) {
      out_of_memory();
    }
    if (machine::fatal_flag) {
      statements::new_program();
      return 1;
    }
  }
}

int startup_file(const LoopOptions& options) {
  seed(options);
  device::clear_screen();
  int status = 0;
  try {
    std::string name = platform::utf16_to_cp932(options.startup_file, limits::line_bytes);
    statements::load_program_file(name, false);
    device::clear_screen();
    machine::execute_line(typed_line(1, "run"));
  } catch (const machine::BasicError&) {
    status = 1;
  } catch (const std::bad_alloc&) {
    out_of_memory();
    status = 1;
  }
  if (options.pause_at_end) std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  statements::new_program();
  return status;
}

}  // namespace

int command_loop(const LoopOptions& options) {
  return options.startup_file.empty() ? interactive(options) : startup_file(options);
}

int interpreter_thread(const LoopOptions& options) {
  machine::init_channel_table();
  int status = command_loop(options);
  platform::terminal_flush();
  return status;
}

}  // namespace app
