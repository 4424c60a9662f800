// Opens one of the notification windows on its own, for the screenshot scene and the end-to-end
// driver: "alert", "email [test address]", "page" or "recorder". Settings come from the current
// user's registry, adapters from the machine.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "desktop/alert_window.h"
#include "desktop/email_settings_dlg.h"
#include "desktop/opt_notification_page.h"
#include "desktop/rates_recorder_dlg.h"
#include "desktop/resources/notify_ids.h"
#include "desktop/ui/prompter.h"
#include "engine/adapter_table.h"
#include "platform/win32/iphlp_interface_source.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_registry_hive.h"
#include "platform/win32/win32_speaker.h"
#include "platform/win32/winsock_network.h"
#include "settings/adapter_settings.h"
#include "settings/settings_store.h"

namespace veltrano {
namespace {

struct Viewer {
  IphlpInterfaceSource interfaces;
  AdapterTable adapters{interfaces};
  Win32RegistryHive currentUser{RegistryRoot::kCurrentUser};
  Win32RegistryHive localMachine{RegistryRoot::kLocalMachine};
  SettingsStore store{currentUser, localMachine};
  Win32FileSystem files;
  SystemClock clock;
  WinsockNetwork network;
  Win32Speaker speaker;
  Beeper beeper{speaker};
  ui::MessageBoxPrompter prompter;
  Settings settings;
  HINSTANCE instance = GetModuleHandleW(nullptr);

  Viewer() {
    store.LoadDesktop(settings);
    if (adapters.BindInterfaceApi()) {
      adapters.LoadAdapterSettings(ReadAdapterSubkeys(currentUser, ProgramRole::kDesktop), ProgramRole::kDesktop);
      adapters.RefreshAdapters(false);
    }
  }

  int Alert() {
    AdapterEntry& watched = adapters.Rows().front();
    watched.todayIn = 734003200;  // 700 MB today
    AlertInputs inputs;
    inputs.rule = settings.options.notificationRule;
    if (inputs.rule.amount.empty()) {
      inputs.rule.amount = "10", inputs.rule.unit = 3, inputs.rule.periodKind = 0;
    }
    inputs.calendar = {settings.options.weekStartDay, settings.options.monthStartDay, settings.options.dateFormat};
    inputs.today = clock.Now();
    inputs.displayName = watched.displayName;
    inputs.watched = &watched;
    inputs.periodBase = 11LL << 30;
    inputs.choice = {1, 5};
    AlertWindow window(instance, inputs, beeper, prompter);
    window.RunModal(nullptr);
    return 0;
  }

  int Email(const std::string& testAddress) {
    EmailSettingsDialog dialog(instance, settings.email, network, prompter);
    if (testAddress.empty()) return dialog.RunModal(nullptr) == IDOK ? 0 : 1;
    // The address is typed in for the driver, which then presses the test button itself.
    HWND window = dialog.CreateModeless(nullptr);
    SetDlgItemTextW(window, IDC_EMAIL_TEST_ADDRESS, Widen(testAddress).c_str());
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (!IsDialogMessageW(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    return 0;
  }

  int Page() {
    NotificationPageData data{settings.options.notificationEnabled != 0, settings.options.notificationRule,
                              settings.email};
    if (data.rule.amount.empty()) {  // nothing stored: a rule worth looking at
      data.enabled = true;
      data.rule.amount = "10", data.rule.unit = 3, data.rule.periodKind = 2, data.rule.days = 30;
      data.rule.playBeep = 1, data.rule.beepPreset = 4;
      data.rule.sendEmail = 1, data.rule.emailAddresses = "me@example.org, admin@example.org";
      data.rule.runProgram = 1, data.rule.program = "C:\\Program Files\\Tools\\warn me.exe";
    }
    COptNotificationPage page(instance, data, adapters.Rows(), files, beeper, network, prompter, nullptr);
    ui::PropertySheetDialog sheet(instance, L"Options");
    sheet.AddPage(page);
    sheet.RunModal(nullptr);
    return 0;
  }

  int Recorder() {
    RatesRecorderDialog dialog(instance, adapters.Rows(), files, prompter);
    dialog.RunModal(nullptr);
    return 0;
  }
};

}  // namespace
}  // namespace veltrano

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring mode = count > 1 ? args[1] : L"alert";
  const std::string extra = count > 2 ? veltrano::Narrow(std::wstring(args[2])) : std::string();
  veltrano::Viewer viewer;
  if (mode == L"email") return viewer.Email(extra);
  if (mode == L"page") return viewer.Page();
  if (mode == L"recorder") return viewer.Recorder();
  return viewer.Alert();
}
