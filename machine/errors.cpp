// errors.cpp — raise_error and its helpers.
#include "machine/errors.h"
#include "machine/machine.h"

#include "device/console.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"

namespace machine {

int& fatal_flag = state.fatal_flag;

void report_error(Message message) {
  execution.translation_flag = false;
  clear_value();
  if (execution.current_line && execution.current_line->number > 0)
    device::console_print("Line %d : ", {execution.current_line->number});
  device::console_write(message_text(message));
  device::console_print("\n");
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
  if (value_type() != 0) raise_error(Message::bad_expression);
}

}  // namespace machine
