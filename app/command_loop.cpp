// command_loop.cpp — the one place that catches the interpreter's errors.
#include "app/command_loop.h"

#include <chrono>
#include <new>
#include <thread>

#include "machine/channel_table.h"
#include "machine/random.h"
#include "machine/value_stack.h"
#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/executor.h"
#include "machine/program_store.h"
#include "statements/program_commands.h"
#include "device/console.h"
#include "device/line_input.h"
#include "device/screen.h"
#include "platform/clock.h"
#include "platform/text_codec.h"
#include "platform/terminal.h"

namespace host {
namespace {

void seed(const LoopOptions& options) {
  core::seed_random(options.seed ? *options.seed : platform::tick_count());
}

front::LinePtr typed_line(std::int32_t number, std::string text) {
  auto line = std::make_shared<front::ProgramLine>(number, std::move(text));
  line->label_hash = -1;
  return line;
}

// Runs one line; a result other than 0, 2 or 3 is refused. Returns the result.
int run_typed_line(front::LinePtr line) {
  int result = front::execute_line(std::move(line));
  if (result != 0 && result != front::stop_quietly && result != front::end_system)
    front::raise_error(front::Message::not_direct);
  return result;
}

void out_of_memory() {
  front::fatal_flag = 1;
  front::report_error(front::Message::system_error);
}

int interactive(const LoopOptions& options) {
  seed(options);
  clear_screen();
  console_print("Vorn Basic version 0.3\n");
  console_print("for Windows Mobile\n");
  front::new_program();
  for (;;) {  // the recovery point: every error comes back here
    try {
      console_print("READY\n");
      for (;;) {
        break_flag = 0;
        core::clear_value();
        std::u16string wide;
        if (wait_typed_line(wide, true) == LineStatus::closed) {
          front::new_program();
          console_print("<< BYE >>\n");
          return 0;
        }
        std::string text = platform::utf16_to_cp932(wide, limits::typed_line_bytes);
        if (text.empty()) continue;
        if (run_typed_line(typed_line(-1, std::move(text))) == front::end_system) {
          front::new_program();
          console_print("<< BYE >>\n");
          return 0;
        }
        console_print("\nREADY\n");
      }
    } catch (const front::BasicError&) {
    } catch (const std::bad_alloc&) {
      out_of_memory();
    }
    if (front::fatal_flag) {
      front::new_program();
      return 1;
    }
  }
}

int startup_file(const LoopOptions& options) {
  seed(options);
  clear_screen();
  int status = 0;
  try {
    std::string name = platform::utf16_to_cp932(options.startup_file, limits::line_bytes);
    front::load_program_file(name, false);
    clear_screen();
    front::execute_line(typed_line(1, "run"));
  } catch (const front::BasicError&) {
    status = 1;
  } catch (const std::bad_alloc&) {
    out_of_memory();
    status = 1;
  }
  if (options.pause_at_end) std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  front::new_program();
  return status;
}

}  // namespace

int command_loop(const LoopOptions& options) {
  return options.startup_file.empty() ? interactive(options) : startup_file(options);
}

int interpreter_thread(const LoopOptions& options) {
  channels::init_channel_table();
  int status = command_loop(options);
  platform::terminal_flush();
  return status;
}

}  // namespace host
