// Service state and stop through the service control manager.
#include "platform/win32/win32_service_manager.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

// Closes a service manager or service handle when it goes out of scope.
class ScHandle {
 public:
  explicit ScHandle(SC_HANDLE handle) : handle_(handle) {}
  ~ScHandle() {
    if (handle_) CloseServiceHandle(handle_);
  }
  ScHandle(const ScHandle&) = delete;
  ScHandle& operator=(const ScHandle&) = delete;
  SC_HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  SC_HANDLE handle_;
};

}  // namespace

ServiceState Win32ServiceManager::QueryState(const std::string& name) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return ServiceState::kUnknown;
  ScHandle service(OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_QUERY_STATUS));
  if (!service) return ServiceState::kUnknown;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return ServiceState::kUnknown;
  return static_cast<ServiceState>(status.dwCurrentState);
}

bool Win32ServiceManager::Stop(const std::string& name) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return false;
  ScHandle service(OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS));
  if (!service) return false;
  SERVICE_STATUS status{};
  if (!ControlService(service.get(), SERVICE_CONTROL_STOP, &status) && !QueryServiceStatus(service.get(), &status))
    return false;
  for (unsigned waited = 0; status.dwCurrentState != SERVICE_STOPPED && waited < giveUpMs_; waited += pollMs_) {
    Sleep(pollMs_);
    if (!QueryServiceStatus(service.get(), &status)) return false;
  }
  return status.dwCurrentState == SERVICE_STOPPED;
}

}  // namespace veltrano
