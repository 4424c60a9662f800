// The service control manager through the advapi32 functions.
#pragma once

#include "platform/service_manager.h"

namespace veltrano {

class Win32ServiceManager : public ServiceManager {
 public:
  // pollMs: how often a stop is checked; giveUpMs: how long a stop may take before we stop waiting.
  explicit Win32ServiceManager(unsigned pollMs = 300, unsigned giveUpMs = 30000)
      : pollMs_(pollMs), giveUpMs_(giveUpMs) {}

  ServiceState QueryState(const std::string& name) override;
  bool Stop(const std::string& name) override;

 private:
  unsigned pollMs_;
  unsigned giveUpMs_;
};

}  // namespace veltrano
