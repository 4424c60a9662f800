// TCP streams over BSD sockets.
#pragma once

#include "platform/network.h"

namespace veltrano {

class PosixNetwork : public Network {
 public:
  bool Startup() override { return true; }
  std::unique_ptr<TcpStream> Connect(const std::string& host, std::uint16_t port) override;
};

}  // namespace veltrano
