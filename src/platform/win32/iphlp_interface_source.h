// The interface table from "iphlpapi.dll", bound at run time.
#pragma once

#include "platform/interface_source.h"

namespace veltrano {

class IphlpInterfaceSource : public InterfaceSource {
 public:
  bool Bind() override;
  bool GetAdaptersInfo(std::vector<AdapterRecord>& adapters) override;
  bool GetIfEntry(std::uint32_t index, InterfaceRow& row) override;

 private:
  void* getAdaptersInfo_ = nullptr;
  void* getIfEntry_ = nullptr;
};

}  // namespace veltrano
