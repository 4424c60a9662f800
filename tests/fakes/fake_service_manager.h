// A service control manager that tests script: the state it reports, which requests succeed, and
// a record of every request in order.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/service_manager.h"

namespace veltrano::testing {

class FakeServiceManager : public ServiceManager {
 public:
  ServiceState QueryState(const std::string&) override {
    calls.push_back("state");
    if (!statesAfterStart.empty() && started) {
      state = statesAfterStart.front();
      if (statesAfterStart.size() > 1) statesAfterStart.pop_front();
    }
    return state;
  }
  bool Install(const std::string& path, const std::string& name, const std::string& displayName,
               bool autoStart) override {
    calls.push_back("install");
    installedPath = path, installedName = name, installedDisplayName = displayName, installedAutoStart = autoStart;
    if (!installSucceeds) return false;
    state = ServiceState::kStopped;
    return true;
  }
  bool Start(const std::string&) override {
    calls.push_back("start");
    if (!startSucceeds) return false;
    state = ServiceState::kRunning;
    started = true;
    return true;
  }
  bool Stop(const std::string&) override {
    calls.push_back("stop");
    state = ServiceState::kStopped;
    return true;
  }
  bool Remove(const std::string&) override {
    calls.push_back("remove");
    state = ServiceState::kUnknown;
    return true;
  }
  std::string LastError() const override { return error; }

  ServiceState state = ServiceState::kUnknown;
  bool installSucceeds = true;
  bool startSucceeds = true;
  bool started = false;
  // States reported one by one once the service has been started (the last one repeats).
  std::deque<ServiceState> statesAfterStart;
  std::string error = "Access is denied";
  std::vector<std::string> calls;
  std::string installedPath, installedName, installedDisplayName;
  bool installedAutoStart = false;
};

}  // namespace veltrano::testing
