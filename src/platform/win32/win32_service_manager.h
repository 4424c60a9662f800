// The service control manager through the advapi32 functions.
#pragma once

#include <string>

#include "platform/service_manager.h"

namespace veltrano {

class Win32ServiceManager : public ServiceManager {
 public:
  // pollMs: the pause between two status queries while a start or stop is pending; waitLimitMs:
  // how long one such wait may last before we give up, so that a service stuck in a pending
  // state cannot hold the caller forever.
  explicit Win32ServiceManager(unsigned pollMs = 300, unsigned waitLimitMs = 30000)
      : pollMs_(pollMs), waitLimitMs_(waitLimitMs) {}

  ServiceState QueryState(const std::string& name) override;
  bool Install(const std::string& executablePath, const std::string& name, const std::string& displayName,
               bool autoStart) override;
  bool Start(const std::string& name) override;
  bool Stop(const std::string& name) override;
  bool Remove(const std::string& name) override;
  std::string LastError() const override { return lastError_; }

 private:
  bool Fail();
  bool Succeed();

  unsigned pollMs_;
  unsigned waitLimitMs_;
  std::string lastError_;
};

}  // namespace veltrano
