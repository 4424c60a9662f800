// TCP streams over Windows Sockets 2.
#pragma once

#include "platform/network.h"

namespace veltrano {

class WinsockNetwork : public Network {
 public:
  bool Startup() override;
  std::unique_ptr<TcpStream> Connect(const std::string& host, std::uint16_t port) override;
};

}  // namespace veltrano
