// The service control manager as a controller sees it: state, install, start, stop and remove.
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

extern const char* const kServiceName;                // "VeltranoService"
extern const char* const kServiceManagerDisplayName;  // "Veltrano Service"
extern const char* const kServiceExecutableName;      // "PellacorService.exe"

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  virtual ServiceState QueryState(const std::string& name) = 0;
  // Creates an own-process service under the local system account, started automatically at
  // boot or on demand. Managers that only watch a service (tests, the log opener's) refuse.
  virtual bool Install(const std::string& /*executablePath*/, const std::string& /*name*/,
                       const std::string& /*displayName*/, bool /*autoStart*/) {
    return false;
  }
  // Asks the service to start and waits while it is start pending; true once it runs.
  virtual bool Start(const std::string& /*name*/) { return false; }
  // Asks the service to stop and waits until it has stopped or the wait gives up.
  virtual bool Stop(const std::string& name) = 0;
  // Asks the service to stop, waits while it is stop pending, then deletes it: true when deleted.
  virtual bool Remove(const std::string& /*name*/) { return false; }
  // Why the last operation failed, in the system's words; empty when it did not fail.
  virtual std::string LastError() const { return {}; }
};

}  // namespace veltrano
