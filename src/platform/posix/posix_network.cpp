// BSD sockets.
#include "platform/posix/posix_network.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace veltrano {
namespace {

class PosixStream : public TcpStream {
 public:
  explicit PosixStream(int socket) : socket_(socket) {}
  ~PosixStream() override { close(socket_); }
  bool WaitWritable(unsigned timeoutMs) override { return Wait(POLLOUT, timeoutMs); }
  bool WaitReadable(unsigned timeoutMs) override { return Wait(POLLIN, timeoutMs); }
  long Send(const char* data, size_t length) override { return ::send(socket_, data, length, MSG_NOSIGNAL); }
  long Receive(char* buffer, size_t capacity) override { return ::recv(socket_, buffer, capacity, 0); }

 private:
  bool Wait(short events, unsigned timeoutMs) {
    pollfd descriptor{socket_, events, 0};
    return poll(&descriptor, 1, static_cast<int>(timeoutMs)) == 1;
  }
  int socket_;
};

}  // namespace

std::unique_ptr<TcpStream> PosixNetwork::Connect(const std::string& host, std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return nullptr;
    address.sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
  }
  const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return nullptr;
  if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(socket);
    return nullptr;
  }
  return std::make_unique<PosixStream>(socket);
}

}  // namespace veltrano
