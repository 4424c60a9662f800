// The machine's interfaces on Linux: the kernel's 64-bit counters from /proc/net/dev, addresses
// from getifaddrs and SIOCGIFHWADDR.
#pragma once

#include <string>

#include "platform/interface_source.h"

namespace veltrano {

class ProcInterfaceSource : public InterfaceSource {
 public:
  explicit ProcInterfaceSource(std::string procNetDev = "/proc/net/dev");

  bool Bind() override { return true; }
  bool GetAdaptersInfo(std::vector<AdapterRecord>& adapters) override;
  bool GetIfEntry(std::uint32_t index, InterfaceRow& row) override;

 private:
  std::string procNetDev_;
};

}  // namespace veltrano
