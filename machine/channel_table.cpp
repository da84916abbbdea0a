// channel_table.cpp — the table and the two operations the console statements use.
#include "machine/channel_table.h"

#include "machine/errors.h"
#include "machine/lexer.h"
#include "machine/machine.h"
#include "machine/value_stack.h"

namespace machine {

Channel (&channel_table)[limits::channel_count] = state.channels;
std::int32_t& network_status = state.network_status;

void init_channel_table() {
  for (Channel& c : channel_table) release_channel(c);
  network_status = 0;
}

void release_channel(Channel& ch) {
  // The listening socket first: once the peer sees the connection end, the
  // port is free to be served again.
  ch.listen_socket.close();
  ch.conn_socket.close();
  ch.file_handle.close();
  ch.net_status = net_none;
}

void channel_print(int n, std::string_view format, base::FormatArgs args) {
  Channel& c = channel_table[n];
  std::string text = base::format_text(format, args);
  if (c.is_network())
    c.net_status = c.conn_socket.send(text) ? net_ok : net_send_failed;
  else if (c.file_handle.is_open())
    c.file_handle.write(text);
}

int channel_read_line(platform::File& file, std::string& line, std::size_t max_bytes) {
  line.clear();
  bool ended = false;  // a NUL ended the text; the rest of the line is skipped
  for (;;) {
    char b;
    if (file.read(&b, 1) != 1) return 0;
    if (b == '\n') return 1;
    if (b == '\r') continue;
    if (b == '\0') ended = true;
    if (!ended && line.size() < max_bytes) line.push_back(b);
  }
}

int channel_number_token() {
  if (lexer.token_kind != TK_NUMBER) raise_error(base::Message::syntax);
  std::int32_t n = to_int32(lexer.token_value);
  if (n < 0 || n >= limits::channel_count) raise_error(base::Message::out_of_range);
  next_token();
  return n;
}

namespace {
bool held(const platform::FileIdentity& wanted) {
  platform::FileIdentity id;
  for (const Channel& ch : channel_table)
    if (ch.file_handle.identity(id) && id == wanted) return true;
  return false;
}
}  // namespace

bool held_by_a_channel(const std::string& path) {
  platform::FileIdentity wanted;
  return platform::file_identity(path, wanted) && held(wanted);
}

bool held_by_a_channel(const platform::File& file) {
  platform::FileIdentity wanted;
  return file.identity(wanted) && held(wanted);
}

}  // namespace machine
