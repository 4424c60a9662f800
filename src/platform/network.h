// TCP streams with timed waits: what the SMTP client needs of the network.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace veltrano {

class TcpStream {
 public:
  virtual ~TcpStream() = default;
  // True when the stream became writable (or readable) within timeoutMs.
  virtual bool WaitWritable(unsigned timeoutMs) = 0;
  virtual bool WaitReadable(unsigned timeoutMs) = 0;
  // Bytes sent, or -1 on an error.
  virtual long Send(const char* data, size_t length) = 0;
  // Bytes received, 0 when the peer closed, -1 on an error.
  virtual long Receive(char* buffer, size_t capacity) = 0;
};

class Network {
 public:
  virtual ~Network() = default;
  // Starts the socket library once per process; retried after a failure.
  virtual bool Startup() = 0;
  // A dotted IPv4 address, or else a name resolved to its first address. Null on any failure.
  virtual std::unique_ptr<TcpStream> Connect(const std::string& host, std::uint16_t port) = 0;
};

}  // namespace veltrano
