// channel_table.h — the ten numbered channels for files and TCP connections.
#pragma once
#include <cstdint>
#include <netinet/in.h>
#include <string>
#include <string_view>

#include "front/limits.h"
#include "host/format_text.h"
#include "platform/file.h"

namespace channels {

struct Channel {
  int listen_socket = -1;   // listening socket of a server channel
  int conn_socket = -1;     // connected socket; a channel with one is a network channel
  sockaddr_in address{};    // where a client connects or a server binds
  sockaddr_in peer_address{};
  platform::File file_handle;  // the open file, if any
  int net_status = -1;      // outcome of the last transfer on conn_socket

  bool is_free() const { return conn_socket == -1 && !file_handle.is_open(); }
};

extern Channel channel_table[limits::channel_count];

// The network status word that netstat answers: 0 from start-up on.
extern std::int32_t network_status;

// Marks every channel closed and the network status 0 (start-up of the
// interpreter thread).
void init_channel_table();

// Formats and writes to channel n: one send or one write, failures ignored.
void channel_print(int n, std::string_view format, host::FormatArgs args = {});

// Reads one line: bytes up to a line feed, carriage returns dropped, at most
// max_bytes kept (the rest of a longer line is skipped), and the text ends at
// a NUL. Returns 1 when a line feed ended the line, 0 at the end of the file
// or on a failed read.
int channel_read_line(platform::File& file, std::string& line, std::size_t max_bytes);

// The channel number of `# n` in print and input: the current token must be a
// number literal (else the syntax error), 0..9 (else the out-of-range message).
// Steps past it.
int channel_number_token();

}  // namespace channels
