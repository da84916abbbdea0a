// channel_table.h — the ten numbered channels for files and TCP connections.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/format_text.h"
#include "base/limits.h"
#include "platform/file.h"
#include "platform/sockets.h"

namespace machine {

// Outcome of the last transfer on a connection (net_status).
inline constexpr int net_ok = 0;           // also right after a network open
inline constexpr int net_receive_failed = 1;
inline constexpr int net_nothing_yet = 2;  // the device's "would block" (10035)
inline constexpr int net_send_failed = -1;
inline constexpr int net_none = -1;        // file and free channels

struct Channel {
  platform::Socket listen_socket;  // listening socket of a server channel
  platform::Socket conn_socket;    // connected socket; a channel with one is a network channel
  platform::SocketAddress address;       // where a client connects or a server binds
  platform::SocketAddress peer_address;  // the client a server channel accepted
  platform::File file_handle;  // the open file, if any
  int net_status = net_none;   // outcome of the last transfer on conn_socket

  bool is_network() const { return conn_socket.is_open(); }
  bool is_free() const { return !conn_socket.is_open() && !file_handle.is_open(); }
};

extern Channel (&channel_table)[limits::channel_count];

// The network status word that netstat answers: 0 from start-up on.
extern std::int32_t& network_status;

// Marks every channel closed and the network status 0 (start-up of the
// interpreter thread).
void init_channel_table();

// Closes the channel's connection, listening socket and file, and marks it free.
void release_channel(Channel& ch);

// Formats and writes to channel n: one send or one write, failures ignored.
void channel_print(int n, std::string_view format, base::FormatArgs args = {});

// Reads one line: bytes up to a line feed, carriage returns dropped, at most
// max_bytes kept (the rest of a longer line is skipped), and the text ends at
// a NUL. Returns 1 when a line feed ended the line, 0 at the end of the file
// or on a failed read.
int channel_read_line(platform::File& file, std::string& line, std::size_t max_bytes);

// The channel number of `# n` in print and input: the current token must be a
// number literal (else the syntax error), 0..9 (else the out-of-range message).
// Steps past it.
int channel_number_token();

// Files are opened without sharing: true when a channel holds the file that
// path names (or the same file as file), which then cannot be opened again.
bool held_by_a_channel(const std::string& path);
bool held_by_a_channel(const platform::File& file);

}  // namespace machine
