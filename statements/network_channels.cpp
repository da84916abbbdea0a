// network_channels.cpp — TCP connections on the channel table: a client
// connects to net:host[:port], a server accepts one client on server:port;
// once connected, a channel is non-blocking and print #, input$ and eof use it.
#include "statements/network_channels.h"

#include <cstdint>
#include <vector>

#include "machine/errors.h"
#include "machine/keywords.h"
#include "machine/lexer.h"
#include "machine/number_parse.h"
#include "machine/value_stack.h"
#include "statements/file_channels.h"

using base::Message;
using machine::raise_error;

namespace statements {
namespace {

constexpr int default_port = 80;
constexpr int highest_port = 65535;
// A server channel serves one client: nobody else need wait in the queue.
constexpr int server_backlog = 1;

// as #n — the channel number of a network open
int network_channel() {
  machine::expect_token("as");
  machine::expect_token("#");
  return machine::channel_number_token();
}

// A port text read as val reads it; a missing or non-numeric one reads as 0.
int checked_port(std::string_view text) {
  std::int32_t port = machine::to_int32(machine::parse_number(text));
  if (port < 1 || port > highest_port) raise_error(Message::bad_port);
  return port;
}

// Gives up the connection attempt of a client open.
[[noreturn]] void drop_connection(machine::Channel& ch, Message why) {
  ch.conn_socket.close();
  raise_error(why);
}

// Gives up the listening socket of a server open.
[[noreturn]] void drop_listener(machine::Channel& ch, Message why) {
  ch.listen_socket.close();
  raise_error(why);
}

// A host that is no dotted address: try its addresses in order until one
// takes the connection.
void connect_by_name(machine::Channel& ch, const std::string& host) {
  std::vector<std::uint32_t> addresses;
  if (!platform::lookup_host(host, addresses)) drop_connection(ch, Message::host_not_found);
  for (std::uint32_t address : addresses) {
    ch.address.address = address;
    if (ch.conn_socket.connect(ch.address)) return;
  }
  drop_connection(ch, Message::resolve_failed);
}

}  // namespace

// open "net:host[:port]" as #n
int open_client(std::string_view target) {
  machine::Channel& ch = machine::channel_table[network_channel()];
  // Whatever the channel held is given up, without looking.
  ch.net_status = machine::net_ok;
  ch.listen_socket.close();
  ch.file_handle.close();
  std::string host(target);
  int port = default_port;
  if (std::size_t colon = host.find(':'); colon != std::string::npos) {
    port = checked_port(std::string_view(host).substr(colon + 1));
    host.resize(colon);
  }
  ch.conn_socket = platform::Socket::open_stream();
  if (!ch.conn_socket.is_open()) raise_error(Message::no_socket);
  ch.address = {};
  ch.address.port = platform::port_in_network_order(port);
  ch.address.address = platform::dotted_address(host);
  if (ch.address.address == platform::no_address)
    connect_by_name(ch, host);
  else if (!ch.conn_socket.connect(ch.address))
    drop_connection(ch, Message::connect_failed);
  ch.conn_socket.set_non_blocking();
  return machine::go_on;
}

// open "server:port" as #n
int open_server(std::string_view port_text) {
  machine::Channel& ch = machine::channel_table[network_channel()];
  ch.net_status = machine::net_ok;
  ch.conn_socket.close();
  ch.file_handle.close();
  int port = checked_port(port_text);
  ch.listen_socket = platform::Socket::open_stream();
  if (!ch.listen_socket.is_open()) raise_error(Message::no_socket);
  ch.address = {};
  ch.address.port = platform::port_in_network_order(port);  // any local address
  if (!ch.listen_socket.bind(ch.address)) drop_listener(ch, Message::bind_failed);
  if (!ch.listen_socket.listen(server_backlog)) drop_listener(ch, Message::listen_failed);
  // Blocks until a client comes; Stop is looked at only after the statement.
  ch.conn_socket = ch.listen_socket.accept(ch.peer_address);
  if (!ch.conn_socket.is_open()) drop_listener(ch, Message::accept_failed);
  ch.conn_socket.set_non_blocking();
  return machine::go_on;
}

std::string receive_bytes(machine::Channel& ch, std::size_t count, bool peek) {
  std::string bytes;
  switch (ch.conn_socket.receive(bytes, count, peek)) {
    case platform::ReceiveStatus::received: ch.net_status = machine::net_ok; break;
    case platform::ReceiveStatus::would_block: ch.net_status = machine::net_nothing_yet; break;
    case platform::ReceiveStatus::failed: ch.net_status = machine::net_receive_failed; break;
  }
  return bytes;
}

// netstat
void netstat_function() {
  machine::next_token();
  machine::put_number(machine::network_status);
}

}  // namespace statements
