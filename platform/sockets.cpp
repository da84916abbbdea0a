// sockets.cpp — POSIX sockets behind Socket, with the device library's habits:
// a failed connect leaves a socket that can be connected again, a send on a
// broken connection fails instead of raising SIGPIPE, and a closed server's
// port is free at once.
#include "platform/sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

sockaddr_in to_sockaddr(const SocketAddress& a) {
  sockaddr_in s{};
  s.sin_family = AF_INET;
  s.sin_port = a.port;
  s.sin_addr.s_addr = a.address;
  return s;
}

int new_stream_socket() { return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }

// A connect that a signal interrupted goes on in the background: wait for it
// to end and take its outcome.
bool finish_interrupted_connect(int fd) {
  pollfd pfd{fd, POLLOUT, 0};
  int r;
  do r = ::poll(&pfd, 1, -1);
  while (r < 0 && errno == EINTR);
  if (r < 0) return false;
  int error = 0;
  socklen_t length = sizeof error;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

std::uint16_t port_in_network_order(int port) { return htons(static_cast<std::uint16_t>(port)); }

std::uint32_t dotted_address(const std::string& text) {
  in_addr_t a = ::inet_addr(text.c_str());
  return a == INADDR_NONE ? no_address : a;
}

bool lookup_host(const std::string& name, std::vector<std::uint32_t>& addresses) {
  addresses.clear();
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return false;
  for (addrinfo* a = found; a; a = a->ai_next) {
    if (a->ai_family != AF_INET) continue;
    std::uint32_t address = reinterpret_cast<sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
    if (std::find(addresses.begin(), addresses.end(), address) == addresses.end()) addresses.push_back(address);
  }
  ::freeaddrinfo(found);
  return !addresses.empty();
}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

Socket Socket::open_stream() { return Socket(new_stream_socket()); }

void Socket::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool Socket::connect(const SocketAddress& address) {
  if (fd_ < 0) return false;
  sockaddr_in s = to_sockaddr(address);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&s), sizeof s) == 0) return true;
  if (errno == EINTR && finish_interrupted_connect(fd_)) return true;
  close();
  fd_ = new_stream_socket();
  return false;
}

bool Socket::bind(const SocketAddress& address) {
  if (fd_ < 0) return false;
  int on = 1;
  ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in s = to_sockaddr(address);
  return ::bind(fd_, reinterpret_cast<sockaddr*>(&s), sizeof s) == 0;
}

bool Socket::listen(int backlog) { return fd_ >= 0 && ::listen(fd_, backlog) == 0; }

Socket Socket::accept(SocketAddress& peer) {
  if (fd_ < 0) return Socket();
  sockaddr_in s{};
  socklen_t length = sizeof s;
  int fd;
  do fd = ::accept4(fd_, reinterpret_cast<sockaddr*>(&s), &length, SOCK_CLOEXEC);
  while (fd < 0 && errno == EINTR);
  if (fd >= 0) {
    peer = SocketAddress{};
    peer.port = s.sin_port;
    peer.address = s.sin_addr.s_addr;
  }
  return Socket(fd);
}

void Socket::set_non_blocking() {
  if (fd_ < 0) return;
  int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
}

ReceiveStatus Socket::receive(std::string& bytes, std::size_t size, bool peek) {
  bytes.assign(size, '\0');
  ssize_t n;
  do n = ::recv(fd_, bytes.data(), size, peek ? MSG_PEEK : 0);
  while (n < 0 && errno == EINTR);
  if (n >= 0) {
    bytes.resize(static_cast<std::size_t>(n));
    return ReceiveStatus::received;
  }
  bytes.clear();
  return errno == EAGAIN || errno == EWOULDBLOCK ? ReceiveStatus::would_block : ReceiveStatus::failed;
}

bool Socket::send(const std::string& bytes) {
  ssize_t n;
  do n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  while (n < 0 && errno == EINTR);
  return n >= 0;
}

}  // namespace platform
