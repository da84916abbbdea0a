// program_commands.cpp — new, end, bye, stop, cont, run, list, load, save, edit.
#include "statements/program_commands.h"

#include <limits>

#include "machine/channel_table.h"
#include "machine/control_flow.h"
#include "machine/value_stack.h"
#include "machine/variables.h"
#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/executor.h"
#include "machine/program_store.h"
#include "device/console.h"
#include "base/format_text.h"
#include "device/line_input.h"
#include "device/settings.h"
#include "statements/launch.h"
#include "platform/file.h"
#include "platform/paths.h"
#include "platform/text_codec.h"

namespace front {
namespace {

// Writes the program to a file, one line with CR LF each; false when the file
// cannot be created.
bool write_program(const std::string& path) {
  platform::prepare_for_writing(path);
  platform::File file = platform::File::create_write(path);
  if (!file.is_open()) return false;
  for (ProgramLine* line = program.program_head.get(); line; line = line->next.get())
    file.write(host::format_text("%s\n", {line->text}));  // a failed write is not reported
  return true;
}

std::int32_t list_bound() {
  std::int32_t v = core::to_int32(lexer.token_value);
  next_token();
  return v;
}

}  // namespace

void new_program() {
  free_program();
  core::clear_all();
  execution.current_line.reset();
  execution.cont_line.reset();
}

void load_program_file(std::string_view name, bool loud) {
  platform::File file = platform::File::open_read(platform::host_path(name));
  if (!file.is_open()) {
    if (loud) raise_error(Message::load_failed);
    return;
  }
  new_program();
  std::string line;
  // A last line without its line feed comes with the end of the file and is not kept.
  while (channels::channel_read_line(file, line, limits::line_bytes)) append_line(line);
}

// new
int new_statement() {
  new_program();
  return stop_quietly;
}

// end
int end_statement() {
  execution.current_line.reset();
  execution.cont_line.reset();
  return stop_quietly;
}

// bye
int bye_statement() { return end_system; }

// stop
int stop_statement() {
  host::break_flag = 1;
  return go_on;
}

// cont
// The resume point is handed to the executor that is already running, as run
// does, with the token after cont still current: the same steps as running a
// second executor from there, whose result would only be passed on, but a cont
// inside the program no longer nests one executor in another without end.
int cont_statement() {
  execution.program_running = true;
  execution.current_line = execution.cont_line;
  if (!execution.current_line) {
    execution.program_running = false;
    raise_error(Message::cannot_execute);
  }
  lexer.cursor = execution.cont_cursor;
  return go_on;
}

// run
int run_statement() {
  core::clear_all();
  core::empty_for_stack();
  core::empty_gosub_stack();
  execution.current_line = program.program_head;
  if (!execution.current_line) return stop_quietly;
  start_reading(execution.current_line->text.c_str());
  execution.program_running = true;
  return go_on;
}

// list [from] [,|-] [to]
int list_statement() {
  std::int32_t from = 0, to = std::numeric_limits<std::int32_t>::max();
  if (lexer.token_kind == TK_NUMBER) from = list_bound();
  if (lexer.first() == ',' || lexer.first() == '-') next_token();
  if (lexer.token_kind == TK_NUMBER) to = list_bound();
  for (ProgramLine* line = program.program_head.get(); line; line = line->next.get()) {
    if (line->number < from || line->number > to) continue;
    host::console_print("%d ", {line->number});
    host::console_write(line->text);
    host::console_print("\n");
  }
  return stop_quietly;
}

// load "file"
int load_statement() {
  if (lexer.token_kind != TK_STRING) raise_error(Message::syntax);
  std::string name(lexer.text());
  load_program_file(name, true);
  return stop_quietly;
}

// save "file"
int save_statement() {
  if (lexer.token_kind != TK_STRING) raise_error(Message::syntax);
  std::string path = platform::host_path(lexer.text());
  next_token();
  if (!write_program(path)) raise_error(Message::save_failed);
  return stop_quietly;
}

// edit: the program goes to TempFile, the editor works on it, and it comes back.
int edit_statement() {
  std::string utf8_name = platform::utf16_to_utf8(host::settings.TempFile);
  if (!write_program(platform::host_path_utf8(utf8_name))) raise_error(Message::save_failed);
  services::launch_program(host::settings.TempFile, u"");
  load_program_file(platform::utf16_to_cp932(host::settings.TempFile), true);
  return stop_quietly;
}

}  // namespace front
