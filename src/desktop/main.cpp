// Entry point of the desktop program: one instance per session, the interface library, then the
// main window until it ends.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <objbase.h>
// objbase.h defines "interface" as a keyword-like macro; the engine uses it as a name.
#undef interface

#include <cstdlib>

#include "desktop/monitor_dlg.h"
#include "desktop/resources/main_window_ids.h"
#include "desktop/ui/prompter.h"
#include "desktop/ui/shell.h"
#include "engine/adapter_table.h"
#include "platform/win32/iphlp_interface_source.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_hive.h"
#include "platform/win32/win32_service_manager.h"
#include "settings/settings_store.h"
#include "settings/standalone_values.h"

namespace {

const wchar_t* const kInstanceMutex = L"VELTRANO815014A09C5A4BED9D1CDACFC2197618";
const char* const kInitFailedText =
    "Failed to initialize! Veltrano will exit.\n\n"
    "The network interface library of this system could not be loaded. If this happens again, please write to the "
    "Veltrano support team at support@veltrano.invalid and tell us your version of Windows.";

// The mutex is only a hint: a running instance that stored its window is shown instead; when
// that window does not answer, this instance starts normally.
bool ShowRunningInstance(veltrano::RegistryHive& currentUser) {
  std::uint32_t handle = 0;
  if (!veltrano::ReadMainWindowHandle(currentUser, handle) || handle == 0) return false;
  HWND running = reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle));
  // We were started by the user and may take the foreground; without handing that right on, the
  // running window would come up behind the window that is active now.
  DWORD runningProcess = 0;
  if (GetWindowThreadProcessId(running, &runningProcess)) AllowSetForegroundWindow(runningProcess);
  // A window that no longer answers (a hung or vanished instance) must not hang this one too.
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(running, WM_COMMAND, ID_SHOW, 0, SMTO_ABORTIFHUNG, 5000, &answer) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  veltrano::Win32RegistryHive currentUser(veltrano::RegistryRoot::kCurrentUser);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceMutex);
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS && ShowRunningInstance(currentUser)) return 0;

  std::srand(static_cast<unsigned>(GetTickCount() * static_cast<DWORD>(time(nullptr))));
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  veltrano::ui::MessageBoxPrompter prompter;
  veltrano::IphlpInterfaceSource interfaces;
  veltrano::AdapterTable adapters(interfaces);
  if (!adapters.BindInterfaceApi()) {
    prompter.Warn(nullptr, kInitFailedText);
    return 1;
  }
  veltrano::Win32RegistryHive localMachine(veltrano::RegistryRoot::kLocalMachine);
  veltrano::SettingsStore store(currentUser, localMachine);
  veltrano::Win32FileSystem files;
  veltrano::SystemClock clock;
  veltrano::Win32ServiceManager services;
  veltrano::ui::SystemShell shell;
  veltrano::CMonitorDlg monitor({store, adapters, files, clock, services, prompter, shell}, instance);
  const int code = monitor.Run();
  CoUninitialize();
  return code;
}
