// The service control manager as a controller sees it.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano {

enum class ServiceState : std::uint32_t {
  kUnknown = 0,  // not installed, or the manager cannot be asked
  kStopped = 1,
  kStartPending = 2,
  kStopPending = 3,
  kRunning = 4,
  kContinuePending = 5,
  kPausePending = 6,
  kPaused = 7,
};

extern const char* const kServiceName;  // "VeltranoService"

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  virtual ServiceState QueryState(const std::string& name) = 0;
  // Asks the service to stop and waits until it has stopped or the wait gives up.
  virtual bool Stop(const std::string& name) = 0;
};

}  // namespace veltrano
