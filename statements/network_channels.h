// network_channels.h — TCP connections on the channel table: the net: and
// server: forms of open, and receiving on a connected channel.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "machine/channel_table.h"

namespace statements {

// After the name "net:host[:port]": as #n, then connect. target is the text
// after "net:".
int open_client(std::string_view target);
// After the name "server:port": as #n, then wait for one client. port_text is
// the text after "server:".
int open_server(std::string_view port_text);

// One receive of at most count bytes on a connected channel, which never
// waits; net_status tells what happened. A peek leaves the bytes where they are.
std::string receive_bytes(machine::Channel& ch, std::size_t count, bool peek = false);

}  // namespace statements
