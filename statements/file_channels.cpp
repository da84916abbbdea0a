// file_channels.cpp — open, close, input$ and eof: files on the ten channels,
// and the shared head of the network forms of open.
#include "statements/file_channels.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/limits.h"
#include "device/line_input.h"
#include "machine/channel_table.h"
#include "machine/errors.h"
#include "machine/evaluator.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/program_store.h"
#include "machine/value_stack.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "statements/network_channels.h"

using machine::lexer;
using base::Message;
using machine::raise_error;

namespace statements {
namespace {

constexpr std::string_view client_prefix = "net:";
constexpr std::string_view server_prefix = "server:";

// A channel number taken from a full expression: 0..9, else out of range.
int checked_channel(double value) {
  std::int32_t n = machine::to_int32(value);
  if (n < 0 || n >= limits::channel_count) raise_error(Message::out_of_range);
  return n;
}

// input$ reads at most 511 bytes at a time; a negative count reads nothing.
std::size_t checked_count(double value) {
  std::int32_t n = machine::to_int32(value);
  if (n <= 0) return 0;
  return std::min(static_cast<std::size_t>(n), limits::string_bytes);
}

// The text ends at the first NUL byte, as in a C buffer.
void cut_at_nul(std::string& text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
}

// File form, after the name: for input|output as #n
int open_file(const std::string& name) {
  machine::expect_token("for");
  bool output = lexer.is("output");
  if (!output && !lexer.is("input")) raise_error(Message::syntax);
  machine::next_token();
  machine::expect_token("as");
  machine::expect_token("#");
  int n = machine::channel_number_token();
  Message failure = output ? Message::cannot_open_write : Message::cannot_open_read;
  // The wide-text name buffer holds 511 characters; a longer name cannot be opened.
  if (platform::cp932_to_utf16(name).size() > limits::file_name_chars) raise_error(failure);
  machine::Channel& ch = machine::channel_table[n];
  if (ch.file_handle.is_open()) raise_error(Message::file_already_open);
  // A connection the channel held is closed rather than forgotten.
  ch.conn_socket.close();
  ch.listen_socket.close();
  ch.net_status = machine::net_none;
  std::string path = platform::host_path(name);
  if (machine::held_by_a_channel(path)) raise_error(failure);
  if (output) {
    platform::prepare_for_writing(path);
    ch.file_handle = platform::File::create_write(path);
  } else {
    ch.file_handle = platform::File::open_read(path);
  }
  if (!ch.file_handle.is_open()) raise_error(failure);
  return machine::go_on;
}

// Up to count bytes from the channel's file: one logical read, repeated only
// where the platform hands out less than asked before the end of the file.
std::string read_file_bytes(platform::File& file, std::size_t count) {
  std::string bytes(count, '\0');
  std::size_t got = 0;
  while (got < count) {
    ssize_t n = file.read(bytes.data() + got, count - got);
    if (n <= 0) break;  // the end of the file, or a failed read counted as one
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  cut_at_nul(bytes);
  return bytes;
}

// What one receive delivered, up to its first NUL byte. A text cannot hold
// the NUL; what came after it stays in the connection for the next input$:
// the bytes are looked at first, and only those up to the NUL are taken.
std::string receive_text(machine::Channel& ch, std::size_t count) {
  std::string waiting = receive_bytes(ch, count, true);
  if (waiting.empty()) return waiting;  // nothing yet, the end, or a failure: net_status says
  std::size_t nul = waiting.find('\0');
  std::string bytes = receive_bytes(ch, nul == std::string::npos ? waiting.size() : nul + 1);
  cut_at_nul(bytes);
  return bytes;
}

// input$(count, [#]channel) after the closing parenthesis
void input_from_channel() {
  // Both are taken before the channel is checked: a string count is a type
  // error even when the channel number is out of range.
  double channel = machine::get_number();
  std::size_t count = checked_count(machine::get_number());
  int n = checked_channel(channel);
  if (machine::execution.translation_flag) return machine::put_string("");
  machine::Channel& ch = machine::channel_table[n];
  if (ch.is_network()) return machine::put_string_owned(receive_text(ch, count));
  if (!ch.file_handle.is_open()) raise_error(Message::file_not_open);
  machine::put_string_owned(read_file_bytes(ch.file_handle, count));
}

// input$(count) after the closing parenthesis: one typed line, cut to its
// first count bytes, even inside a double-byte character.
void input_from_console() {
  std::size_t count = checked_count(machine::get_number());
  if (machine::execution.translation_flag) return machine::put_string("");
  std::u16string line;
  device::wait_typed_line(line);
  std::string text = platform::utf16_to_cp932(line);
  if (text.size() > count) text.resize(count);
  cut_at_nul(text);
  machine::put_string_owned(std::move(text));
}

}  // namespace

// open name for input|output as #n  |  open "net:host[:port]"|"server:port" as #n
int open_statement() {
  machine::clear_value();
  machine::evaluate();
  std::string name = machine::get_string();
  std::string_view rest(name);
  if (rest.starts_with(client_prefix)) return open_client(rest.substr(client_prefix.size()));
  if (rest.starts_with(server_prefix)) return open_server(rest.substr(server_prefix.size()));
  return open_file(name);
}

// close [#n]
int close_statement() {
  if (lexer.first() == '#') {
    machine::next_token();
    // Only a number literal names a channel here, as in print # and input #.
    if (lexer.token_kind != machine::TK_NUMBER) raise_error(Message::syntax);
    std::int32_t n = machine::to_int32(lexer.token_value);
    machine::next_token();
    if (n >= 0 && n < limits::channel_count) machine::release_channel(machine::channel_table[n]);
    return machine::go_on;
  }
  for (machine::Channel& ch : machine::channel_table) release_channel(ch);
  return machine::go_on;
}

// input$(count [, [#]channel])
void input_function() {
  machine::next_token();
  machine::expect_token("(");
  machine::evaluate();
  if (lexer.first() != ',') {
    machine::expect_token(")");
    return input_from_console();
  }
  machine::next_token();
  if (lexer.first() == '#') machine::next_token();
  machine::evaluate();
  machine::expect_token(")");
  input_from_channel();
}

// eof(channel): 1 at the end of the file, else 0; reads nothing for good
void eof_function() {
  machine::next_token();
  machine::expect_token("(");
  machine::evaluate();
  machine::expect_token(")");
  int n = checked_channel(machine::get_number());
  if (machine::execution.translation_flag) return machine::put_number(1);
  machine::Channel& ch = machine::channel_table[n];
  if (ch.is_network()) return machine::put_number(ch.net_status);
  if (!ch.file_handle.is_open()) raise_error(Message::file_not_open);
  char byte;
  bool got = ch.file_handle.read(&byte, 1) == 1;
  if (got) ch.file_handle.seek_relative(-1);
  machine::put_number(got ? 0 : 1);
}

}  // namespace statements
