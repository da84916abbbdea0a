// program_commands.cpp — new, end, bye, stop, cont, run, list, load, save, edit.
#include "statements/program_commands.h"

#include <cstdint>
#include <cstdio>
#include <limits>

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
#include "statements/program_file.h"

namespace statements {
namespace {

// Writes the program to a file in the given form, each line ended. The file is
// replaced whole or not at all: false when anything failed, and then the old
// file is as it was. A file a channel holds is not written.
bool write_program(const std::string& path, const FileForm& form) {
  if (machine::held_by_a_channel(path)) return false;
  platform::prepare_for_writing(path);
  platform::ReplacementFile file(path);
  if (!file.is_open()) return false;
  std::vector<std::string> lines;
  for (machine::ProgramLine* line = machine::program.program_head.get(); line; line = line->next.get())
    lines.push_back(line->text);
  if (!file.write(encode_program(lines, form))) return false;
  return file.commit();
}

// A program file is a regular file of at most program_file_bytes, which no
// channel holds: a device or FIFO would never end, or wait for ever.
bool loadable(const platform::File& file) {
  std::uint64_t size = 0;
  return file.is_open() && file.regular_size(size) && size <= limits::program_file_bytes &&
         !machine::held_by_a_channel(file);
}

// The form save writes: the program's own, in the forced encoding if any.
FileForm save_form() {
  FileForm form = program_files.form;
  form.encoding = program_files.forced.value_or(form.encoding);
  return form;
}

// Replaces the program with the lines of a file's bytes.
void load_program_bytes(std::string_view bytes, std::string_view shown_name,
                        std::optional<ProgramEncoding> encoding) {
  ProgramText text = decode_program(bytes, encoding);
  new_program();
  for (std::string& line : text.lines) machine::append_line(std::move(line));
  program_files.form = std::move(text.form);
  if (text.substituted > 0)
    std::fprintf(stderr, "vornbasic: %.*s: %zu character%s that Shift-JIS lacks became '?'\n",
                 static_cast<int>(shown_name.size()), shown_name.data(), text.substituted,
                 text.substituted == 1 ? "" : "s");
}

std::int32_t list_bound() {
  std::int32_t v = machine::to_int32(machine::lexer.token_value);
  machine::next_token();
  return v;
}

// Reads the whole of a loadable file; false when it is not one or a read failed.
bool read_program_bytes(const std::string& path, std::string& bytes) {
  platform::File file = platform::File::open_read(path);
  if (!loadable(file)) return false;
  char buffer[65536];
  for (;;) {
    ssize_t n = file.read(buffer, sizeof buffer);
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.size() > limits::program_file_bytes) return false;
  }
}

}  // namespace

void new_program() {
  machine::free_program();
  machine::clear_all();
  machine::execution.current_line.reset();
  machine::execution.cont_line.reset();
  program_files.form = FileForm{};
}

void load_program_file(std::string_view name, bool loud) {
  load_program_file(name, loud, program_files.forced);
}

void load_program_file(std::string_view name, bool loud, std::optional<ProgramEncoding> encoding) {
  std::string bytes;
  if (!read_program_bytes(platform::host_path(name), bytes)) {
    if (loud) machine::raise_error(base::Message::load_failed);
    return;
  }
  load_program_bytes(bytes, platform::cp932_to_utf8(name), encoding);
}

void load_program_text(std::string_view bytes, std::string_view shown_name) {
  load_program_bytes(bytes, shown_name, program_files.forced);
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
  if (!write_program(path, save_form())) machine::raise_error(base::Message::save_failed);
  return machine::stop_quietly;
}

// edit: the program goes to TempFile, the editor works on it, and it comes back.
// The device's editor gets Shift-JIS with CR LF; the terminal's editor
// ($VISUAL, $EDITOR) gets UTF-8 with LF unless --encoding says otherwise.
// The text comes back the way it went, and the program keeps its own form.
int edit_statement() {
  std::string utf8_name = platform::utf16_to_utf8(device::settings.TempFile);
  FileForm form;
  form.script_line = program_files.form.script_line;
  if (terminal_editor_stands_in(device::settings.TempFile))
    form.encoding = program_files.forced.value_or(ProgramEncoding::utf8);
  if (!write_program(platform::host_path_utf8(utf8_name), form)) machine::raise_error(base::Message::save_failed);
  launch_program(device::settings.TempFile, u"");
  FileForm kept = program_files.form;
  load_program_file(platform::utf16_to_cp932(device::settings.TempFile), true, form.encoding);
  kept.script_line = program_files.form.script_line;
  program_files.form = std::move(kept);
  return machine::stop_quietly;
}

}  // namespace statements
