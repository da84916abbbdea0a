// sockets.h — TCP over IPv4: the few socket operations the network channels
// use, shaped as the device's socket library gives them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// An IPv4 socket address in the device's 16-byte layout: family 2, the port
// and the address in network byte order, then eight zero bytes.
struct SocketAddress {
  std::uint16_t family = 2;
  std::uint16_t port = 0;     // network byte order
  std::uint32_t address = 0;  // network byte order
  std::uint8_t zero[8] = {};
};
static_assert(sizeof(SocketAddress) == 16);

// What dotted_address answers for a text that is not a dotted address.
inline constexpr std::uint32_t no_address = 0xFFFFFFFF;

// A port in network byte order (htons).
std::uint16_t port_in_network_order(int port);

// The address of a dotted text ("127.0.0.1", also the short forms "127.1"
// and hexadecimal or octal parts) in network byte order, or no_address.
std::uint32_t dotted_address(const std::string& text);

// The IPv4 addresses of a host name, in the order the resolver gives them
// (network byte order); false when the name has no entry.
bool lookup_host(const std::string& name, std::vector<std::uint32_t>& addresses);

enum class ReceiveStatus { received, would_block, failed };

// An owned stream socket; closed when the owner goes.
class Socket {
 public:
  Socket() = default;
  ~Socket() { close(); }
  Socket(Socket&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;

  // A new TCP socket over IPv4; check is_open.
  static Socket open_stream();
  // Takes over a descriptor (tests).
  static Socket adopt(int fd) { return Socket(fd); }

  bool is_open() const { return fd_ >= 0; }
  int handle() const { return fd_; }
  void close();

  // Blocks until the connection stands or fails. After a failure the socket
  // is a fresh unconnected one, so that another address can be tried.
  bool connect(const SocketAddress& address);
  // A listening socket's port can be bound again as soon as it is closed,
  // even while connections it accepted linger.
  bool bind(const SocketAddress& address);
  bool listen(int backlog);
  // Blocks until a client connects; the client's address goes to peer.
  Socket accept(SocketAddress& peer);
  // From now on no call on the socket waits.
  void set_non_blocking();

  // One receive of at most size bytes into bytes (0 bytes when the peer has
  // closed the connection). A peek leaves the bytes to the next receive.
  ReceiveStatus receive(std::string& bytes, std::size_t size, bool peek = false);
  // One send; false when it failed. What a partial send left is not sent.
  // A broken connection is a failed send, never a signal.
  bool send(const std::string& bytes);

 private:
  explicit Socket(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace platform
