// Windows Sockets 2.
#include "platform/win32/winsock_network.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstring>

namespace veltrano {
namespace {

std::atomic<bool> started{false};

class WinsockStream : public TcpStream {
 public:
  explicit WinsockStream(SOCKET socket) : socket_(socket) {}
  ~WinsockStream() override { closesocket(socket_); }
  bool WaitWritable(unsigned timeoutMs) override { return Wait(false, timeoutMs); }
  bool WaitReadable(unsigned timeoutMs) override { return Wait(true, timeoutMs); }
  long Send(const char* data, size_t length) override {
    const int sent = ::send(socket_, data, static_cast<int>(length), 0);
    return sent == SOCKET_ERROR ? -1 : sent;
  }
  long Receive(char* buffer, size_t capacity) override {
    const int received = ::recv(socket_, buffer, static_cast<int>(capacity), 0);
    return received == SOCKET_ERROR ? -1 : received;
  }

 private:
  bool Wait(bool forReading, unsigned timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket_, &set);
    timeval timeout{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    const int ready = select(0, forReading ? &set : nullptr, forReading ? nullptr : &set, nullptr, &timeout);
    return ready == 1;
  }
  SOCKET socket_;
};

}  // namespace

bool WinsockNetwork::Startup() {
  if (started) return true;
  WSADATA data;
  started = WSAStartup(MAKEWORD(2, 0), &data) == 0;
  return started;
}

std::unique_ptr<TcpStream> WinsockNetwork::Connect(const std::string& host, std::uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = inet_addr(host.c_str());
  if (address.sin_addr.s_addr == INADDR_NONE) {
    hostent* found = gethostbyname(host.c_str());
    if (!found || !found->h_addr_list[0]) return nullptr;
    std::memcpy(&address.sin_addr, found->h_addr_list[0], sizeof address.sin_addr);
  }
  SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket == INVALID_SOCKET) return nullptr;
  if (connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(socket);
    return nullptr;
  }
  return std::make_unique<WinsockStream>(socket);
}

}  // namespace veltrano
