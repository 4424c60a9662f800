// Entry point of the service program: reads the machine-wide settings and builds the adapter
// table the worker will sample.
#include <windows.h>

#include "engine/adapter_table.h"
#include "platform/win32/iphlp_interface_source.h"
#include "platform/win32/win32_registry_hive.h"
#include "settings/adapter_settings.h"
#include "settings/settings_store.h"

int main() {
  veltrano::IphlpInterfaceSource interfaces;
  veltrano::AdapterTable adapters(interfaces);
  if (!adapters.BindInterfaceApi()) return 1;
  veltrano::Win32RegistryHive currentUser(veltrano::RegistryRoot::kCurrentUser);
  veltrano::Win32RegistryHive localMachine(veltrano::RegistryRoot::kLocalMachine);
  veltrano::SettingsStore store(currentUser, localMachine);
  veltrano::Settings settings;
  store.LoadService(settings);
  adapters.LoadAdapterSettings(veltrano::ReadAdapterSubkeys(localMachine, veltrano::ProgramRole::kService),
                               veltrano::ProgramRole::kService);
  return 0;
}
