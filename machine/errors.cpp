// errors.cpp — raise_error and its helpers.
#include "machine/errors.h"

#include "machine/value_stack.h"
#include "machine/program_store.h"
#include "device/console.h"

namespace front {

std::atomic<int> fatal_flag{0};

void report_error(Message message) {
  execution.translation_flag = false;
  core::clear_value();
  if (execution.current_line && execution.current_line->number > 0)
    host::console_print("Line %d : ", {execution.current_line->number});
  host::console_write(message_text(message));
  host::console_print("\n");
}

void raise_error(Message message) {
  report_error(message);
  throw BasicError{};
}

void raise_out_of_memory() {
  fatal_flag = 1;
  raise_error(Message::system_error);
}

void expect_empty_stack() {
  if (core::value_type() != 0) raise_error(Message::bad_expression);
}

}  // namespace front
