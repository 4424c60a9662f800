// The service's entry in the service control manager.
#include "service/host/service_installer.h"

#include <windows.h>

#include "platform/service_manager.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

const wchar_t* const kDisplayName = L"Veltrano Service";

}  // namespace

bool InstallService(const std::string& executablePath) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
  if (!manager) return false;
  const std::wstring binaryPath = L"\"" + Widen(executablePath) + L"\"";
  SC_HANDLE service = CreateServiceW(manager, Widen(kServiceName).c_str(), kDisplayName, SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL,
                                     binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  const bool created = service != nullptr;
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return created;
}

bool UninstallService(unsigned pollMs) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return false;
  SC_HANDLE service = OpenServiceW(manager, Widen(kServiceName).c_str(), DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS);
  if (!service) {
    CloseServiceHandle(manager);
    return false;
  }
  SERVICE_STATUS status{};
  if (ControlService(service, SERVICE_CONTROL_STOP, &status)) {
    while (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOP_PENDING) Sleep(pollMs);
  }
  const bool deleted = DeleteService(service) != FALSE;
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return deleted;
}

}  // namespace veltrano
