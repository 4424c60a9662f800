// Service state, install, start, stop and remove through the service control manager. Every wait
// polls the status and is bounded by the wait limit.
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

std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length ? Narrow(text, length) : std::string();
  if (text) LocalFree(text);
  while (!message.empty() &&
         (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' || message.back() == '.'))
    message.pop_back();
  if (message.empty()) message = "error " + std::to_string(code);
  return message;
}

// Polls while the service stays in `pending`; false when a query fails. `waitFirst` pauses before
// the first query, as a freshly sent request needs.
bool WaitWhilePending(SC_HANDLE service, DWORD pending, SERVICE_STATUS& status, unsigned pollMs, unsigned limitMs,
                      bool waitFirst) {
  unsigned waited = 0;
  if (waitFirst) {
    Sleep(pollMs);
    waited += pollMs;
    if (!QueryServiceStatus(service, &status)) return false;
  }
  while (status.dwCurrentState == pending && waited < limitMs) {
    Sleep(pollMs);
    waited += pollMs;
    if (!QueryServiceStatus(service, &status)) return false;
  }
  return true;
}

}  // namespace

bool Win32ServiceManager::Fail() {
  lastError_ = SystemMessage(GetLastError());
  return false;
}

bool Win32ServiceManager::Succeed() {
  lastError_.clear();
  return true;
}

ServiceState Win32ServiceManager::QueryState(const std::string& name) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return ServiceState::kUnknown;
  ScHandle service(OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_QUERY_STATUS));
  if (!service) return ServiceState::kUnknown;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return ServiceState::kUnknown;
  return static_cast<ServiceState>(status.dwCurrentState);
}

bool Win32ServiceManager::Install(const std::string& executablePath, const std::string& name,
                                  const std::string& displayName, bool autoStart) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
  if (!manager) return Fail();
  // Quoted, so that a path with blanks cannot be read as a shorter program plus arguments.
  const std::string quoted = !executablePath.empty() && executablePath.front() == '"'
                                 ? executablePath
                                 : "\"" + executablePath + "\"";
  ScHandle service(CreateServiceW(manager.get(), Widen(name).c_str(), Widen(displayName).c_str(), GENERIC_WRITE,
                                  SERVICE_WIN32_OWN_PROCESS, autoStart ? SERVICE_AUTO_START : SERVICE_DEMAND_START,
                                  SERVICE_ERROR_NORMAL, Widen(quoted).c_str(), nullptr, nullptr, nullptr,
                                  nullptr, nullptr));
  return service ? Succeed() : Fail();
}

bool Win32ServiceManager::Start(const std::string& name) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return Fail();
  ScHandle service(OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_ALL_ACCESS));
  if (!service) return Fail();
  if (!StartServiceW(service.get(), 0, nullptr)) {
    // Wine reports a service process that ended during its start as a failure without a code.
    const DWORD code = GetLastError();
    lastError_ = code == NO_ERROR ? "the service stopped while it was starting" : SystemMessage(code);
    return false;
  }
  SERVICE_STATUS status{};
  if (!WaitWhilePending(service.get(), SERVICE_START_PENDING, status, pollMs_, waitLimitMs_, true)) {
    const DWORD code = GetLastError();
    lastError_ = code == NO_ERROR ? "the service stopped while it was starting" : SystemMessage(code);
    return false;
  }
  if (status.dwCurrentState == SERVICE_RUNNING) return Succeed();
  if (status.dwCurrentState == SERVICE_START_PENDING)
    lastError_ = "the service did not finish starting";
  else if (status.dwWin32ExitCode == NO_ERROR)
    lastError_ = "the service stopped while it was starting";
  else
    lastError_ = SystemMessage(status.dwWin32ExitCode);
  return false;
}

// A stop request that is refused because the service is already stopping or stopped still lets
// the wait decide, so that a caller taking the log back sees the stop through.
bool Win32ServiceManager::Stop(const std::string& name) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return Fail();
  ScHandle service(OpenServiceW(manager.get(), Widen(name).c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS));
  if (!service) return Fail();
  SERVICE_STATUS status{};
  if (ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) {
    if (!WaitWhilePending(service.get(), SERVICE_STOP_PENDING, status, pollMs_, waitLimitMs_, true)) return Fail();
  } else {
    if (!QueryServiceStatus(service.get(), &status)) return Fail();
    if (!WaitWhilePending(service.get(), SERVICE_STOP_PENDING, status, pollMs_, waitLimitMs_, false)) return Fail();
  }
  if (status.dwCurrentState == SERVICE_STOPPED) return Succeed();
  lastError_ = status.dwCurrentState == SERVICE_STOP_PENDING ? "the service did not finish stopping"
                                                             : "the service is still running";
  return false;
}

bool Win32ServiceManager::Remove(const std::string& name) {
  ScHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return Fail();
  ScHandle service(OpenServiceW(manager.get(), Widen(name).c_str(), DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS));
  if (!service) return Fail();
  SERVICE_STATUS status{};
  if (ControlService(service.get(), SERVICE_CONTROL_STOP, &status))
    WaitWhilePending(service.get(), SERVICE_STOP_PENDING, status, pollMs_, waitLimitMs_, true);
  return DeleteService(service.get()) ? Succeed() : Fail();
}

}  // namespace veltrano
