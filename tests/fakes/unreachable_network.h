// A network where no server can be reached: mail sessions fail at once with a connect error.
#pragma once

#include "platform/network.h"

namespace veltrano::testing {

class UnreachableNetwork : public Network {
 public:
  bool Startup() override { return true; }
  std::unique_ptr<TcpStream> Connect(const std::string&, std::uint16_t) override {
    ++attempts;
    return nullptr;
  }
  int attempts = 0;
};

}  // namespace veltrano::testing
