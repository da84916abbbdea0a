// program_commands.cpp — new, end, bye, stop, cont, run, list, load, save, edit.
#include "statements/program_commands.h"

#include <cstdint>
#include <limits>

#include "base/format_text.h"
#include "device/console.h"
#include "device/line_input.h"
#include "device/settings.h"
#include "machine/channel_table.h"
#include "machine/control_flow.h"
#include "machine/errors.h"
#include "machine/executor.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/replacement_file.h"
#include "platform/text_codec.h"
#include "statements/launch.h"

namespace statements {
namespace {

// Writes the program to a file, one line with CR LF each. The file is
// replaced whole or not at all: false when anything failed, and then the old
// file is as it was. A file a channel holds is not written.
bool write_program(const std::string& path) {
  if (machine::held_by_a_channel(path)) return false;
  platform::prepare_for_writing(path);
  platform::ReplacementFile file(path);
  if (!file.is_open()) return false;
  for (machine::ProgramLine* line = machine::program.program_head.get(); line; line = line->next.get())
    if (!file.write(base::format_text("%s\n", {line->text}))) return false;
  return file.commit();
}

// A program file is a regular file of at most program_file_bytes, which no
// channel holds: a device or FIFO would never end, or wait for ever.
bool loadable(const platform::File& file) {
  std::uint64_t size = 0;
  return file.is_open() && file.regular_size(size) && size <= limits::program_file_bytes &&
         !machine::held_by_a_channel(file);
}

std::int32_t list_bound() {
  std::int32_t v = machine::to_int32(machine::lexer.token_value);
  machine::next_token();
  return v;
}

}  // namespace

void new_program() {
  machine::free_program();
  machine::clear_all();
  machine::execution.current_line.reset();
  machine::execution.cont_line.reset();
}

void load_program_file(std::string_view name, bool loud) {
  platform::File file = platform::File::open_read(platform::host_path(name));
  if (!loadable(file)) {
    if (loud) machine::raise_error(base::Message::load_failed);
    return;
  }
  new_program();
  std::string line;
  // A last line without its line feed comes with the end of the file and is not kept.
  while (machine::channel_read_line(file, line, limits::line_bytes)) machine::append_line(line);
}

// new
int new_statement() {
  new_program();
  return machine::stop_quietly;
}

// end
int end_statement() {
  machine::execution.current_line.reset();
  machine::execution.cont_line.reset();
  return machine::stop_quietly;
}

// bye
int bye_statement() { return machine::end_system; }

// stop
int stop_statement() {
  device::break_flag = 1;
  return machine::go_on;
}

// cont
// The resume point is handed to the executor that is already running, as run
// does, with the token after cont still current: the same steps as running a
// second executor from there, whose result would only be passed on, but a cont
// inside the program no longer nests one executor in another without end.
int cont_statement() {
  machine::execution.program_running = true;
  machine::execution.current_line = machine::execution.cont_line;
  if (!machine::execution.current_line) {
    machine::execution.program_running = false;
    machine::raise_error(base::Message::cannot_execute);
  }
  machine::lexer.cursor = machine::execution.cont_cursor;
  return machine::go_on;
}

// run
int run_statement() {
  machine::clear_all();
  machine::empty_for_stack();
  machine::empty_gosub_stack();
  machine::execution.current_line = machine::program.program_head;
  if (!machine::execution.current_line) return machine::stop_quietly;
  machine::start_reading(machine::execution.current_line->text.c_str());
  machine::execution.program_running = true;
  return machine::go_on;
}

// list [from] [,|-] [to]
int list_statement() {
  std::int32_t from = 0, to = std::numeric_limits<std::int32_t>::max();
  if (machine::lexer.token_kind == machine::TK_NUMBER) from = list_bound();
  if (machine::lexer.first() == ',' || machine::lexer.first() == '-') machine::next_token();
  if (machine::lexer.token_kind == machine::TK_NUMBER) to = list_bound();
  for (machine::ProgramLine* line = machine::program.program_head.get(); line; line = line->next.get()) {
    if (line->number < from || line->number > to) continue;
    device::console_print("%d ", {line->number});
    device::console_write(line->text);
    device::console_print("\n");
  }
  return machine::stop_quietly;
}

// load "file"
int load_statement() {
  if (machine::lexer.token_kind != machine::TK_STRING) machine::raise_error(base::Message::syntax);
  std::string name(machine::lexer.text());
  load_program_file(name, true);
  return machine::stop_quietly;
}

// save "file"
int save_statement() {
  if (machine::lexer.token_kind != machine::TK_STRING) machine::raise_error(base::Message::syntax);
  std::string path = platform::host_path(machine::lexer.text());
  machine::next_token();
  if (!write_program(path)) machine::raise_error(base::Message::save_failed);
  return machine::stop_quietly;
}

// edit: the program goes to TempFile, the editor works on it, and it comes back.
int edit_statement() {
  std::string utf8_name = platform::utf16_to_utf8(device::settings.TempFile);
  if (!write_program(platform::host_path_utf8(utf8_name))) machine::raise_error(base::Message::save_failed);
  launch_program(device::settings.TempFile, u"");
  load_program_file(platform::utf16_to_cp932(device::settings.TempFile), true);
  return machine::stop_quietly;
}

}  // namespace statements
