// Entry point of the desktop program.
#include <windows.h>

#include "desktop/monitor_dlg.h"
#include "engine/adapter_table.h"
#include "platform/win32/iphlp_interface_source.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_hive.h"
#include "platform/win32/win32_service_manager.h"
#include "settings/settings_store.h"

namespace {

const wchar_t* const kInitFailedText =
    L"Failed to initialize! Veltrano will exit.\n\n"
    L"The network interface library of this system could not be loaded. If this happens again, "
    L"please write to the Veltrano support team at support@veltrano.invalid and tell us your "
    L"version of Windows.";

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  veltrano::IphlpInterfaceSource interfaces;
  veltrano::AdapterTable adapters(interfaces);
  if (!adapters.BindInterfaceApi()) {
    MessageBoxW(nullptr, kInitFailedText, L"Veltrano", MB_OK | MB_ICONWARNING);
    return 1;
  }
  veltrano::Win32RegistryHive currentUser(veltrano::RegistryRoot::kCurrentUser);
  veltrano::Win32RegistryHive localMachine(veltrano::RegistryRoot::kLocalMachine);
  veltrano::SettingsStore store(currentUser, localMachine);
  veltrano::Win32FileSystem files;
  veltrano::SystemClock clock;
  veltrano::Win32ServiceManager services;
  veltrano::CMonitorDlg monitor(store, adapters, files, clock, services, instance);
  return monitor.Run(showCommand);
}
