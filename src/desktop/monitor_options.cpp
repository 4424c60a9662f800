// Opens the options sheet from the main window and carries out each page it hands over.
#include "desktop/monitor_dlg.h"
#include "desktop/options_sheet.h"
#include "desktop/ui/modal_scope.h"
#include "desktop/ui/shell.h"
#include "platform/win32/wide_text.h"
#include "view/desktop_recording.h"
#include "view/main_menu.h"
#include "view/options_apply.h"
#include "view/pane_stack.h"
#include "view/service_handover.h"

namespace veltrano {

// What an accepted page does to this window, its panes, the hot key and the tray.
class CMonitorDlg::OptionsHost : public OptionsApplyHost {
 public:
  // The week and month start before the General page is applied, for the rule's usage.
  OptionsHost(CMonitorDlg& window, std::uint32_t oldWeekStartDay, std::uint32_t oldMonthStartDay)
      : window_(window), oldWeekStartDay_(oldWeekStartDay), oldMonthStartDay_(oldMonthStartDay) {}

  void RetitlePanes() override { window_.RetitlePanes(); }
  void RecomputeUsage() override {
    window_.notify_.OnCalendarChanged(oldWeekStartDay_, oldMonthStartDay_, window_.sampler_.LastTick());
  }
  void SetHotkey(HotkeyAction action, std::uint32_t, std::uint32_t newLetter) override {
    HWND handle = window_.Handle();
    if (action != HotkeyAction::kRegister && window_.hotkeyRegistered_) UnregisterHotKey(handle, kHotkeyId);
    window_.hotkeyRegistered_ = false;
    if (action == HotkeyAction::kUnregister) return;
    window_.hotkeyRegistered_ =
        RegisterHotKey(handle, kHotkeyId, MOD_CONTROL | MOD_SHIFT, HotkeyLetter(newLetter)) != 0;
  }
  void ApplyAlwaysOnTop(bool onTop) override { window_.SetTopmost(onTop); }
  void ApplyShowCaption(bool show) override { window_.SetCaption(show); }
  void ApplyWindowStyle(std::uint32_t percent, bool clickThrough) override {
    window_.ApplyWindowStyle(static_cast<int>(percent), clickThrough);
  }
  void RefreshPanes() override {
    window_.ApplyPaneSettingsToAll();
    window_.recorder_.SetFormat(DesktopRecorderFormat(window_.settings_.options));
  }
  void RestackPanes() override {
    window_.UpdateMargin();
    RECT client{};
    GetClientRect(window_.Handle(), &client);
    window_.lastClientWidth_ = window_.lastClientHeight_ = -1;
    window_.LayoutPanes(client.right, client.bottom);
    InvalidateRect(window_.Handle(), nullptr, TRUE);
  }
  void RecreateTrayPens() override {
    const Options& o = window_.settings_.options;
    if (window_.tray_)
      window_.tray_->SetLook({o.graphStyle == 1, o.graphBkgColor, o.upColor, o.downColor, o.bothDownUpColor});
  }
  void SetPaneScale(AdapterEntry& row, std::uint32_t) override {
    if (row.pane) row.pane->SetScaleFromConnRate(row.connRateBps);
  }
  void RetitlePane(AdapterEntry& row) override {
    if (row.pane) row.pane->SetTitle(AdapterTitle(row, window_.settings_.options.showIpInTitle != 0));
  }
  void ShowAndHidePanes(const std::vector<AdapterEntry*>& show, const std::vector<AdapterEntry*>& hide) override {
    HWND handle = window_.Handle();
    SendMessageW(handle, WM_SETREDRAW, FALSE, 0);
    for (AdapterEntry* row : show) {
      row->monitored = false;  // ShowPane marks it again once the pane exists
      window_.ShowPane(*row);
    }
    for (AdapterEntry* row : hide) {
      row->monitored = true;
      window_.HidePane(*row);
    }
    SendMessageW(handle, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  void DeleteTrayIcon() override {
    if (window_.tray_ && window_.tray_->Shown()) window_.tray_->Delete();
  }
  std::string ExecutablePath() override {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length && length < MAX_PATH ? Narrow(path, length) : std::string();
  }

 private:
  CMonitorDlg& window_;
  std::uint32_t oldWeekStartDay_;
  std::uint32_t oldMonthStartDay_;
};

void CMonitorDlg::OpenOptionsSheet() {
  if (ui::ModalScope::Active()) return;
  ui::ModalScope scope(Handle());
  OptionsSheetData data =
      OptionsSheetData::From(settings_.options, LayeredWindows(), adapters_.Rows(), settings_.service);
  COptionsSheet sheet(Instance(), data, Handle(), prompter_, files_);
  const std::unique_ptr<COptNotificationPage> notificationPage = notify_.MakeNotificationPage();
  if (notificationPage) sheet.SetNotificationPage(*notificationPage);
  sheet.AddPages();
  sheet.RunModal(Handle());
}

void CMonitorDlg::OnOptionsApply(WPARAM code, LPARAM data) {
  OptionsHost host(*this, settings_.options.weekStartDay, settings_.options.monthStartDay);
  OptionsApplier applier(settings_, adapters_.Rows(), store_, host);
  switch (code) {
    case kGeneralPageCode: {
      const auto& page = *reinterpret_cast<const GeneralPageData*>(data);
      applier.ApplyGeneral(page.options, page.layeredWindows);
      break;
    }
    case kGraphTextPageCode:
      applier.ApplyGraphText(*reinterpret_cast<const Options*>(data));
      break;
    case kAdaptersPageCode: {
      const auto& page = *reinterpret_cast<const AdaptersPageData*>(data);
      applier.ApplyAdapters(page.rows, page.tray);
      break;
    }
    case kServicePageCode:
      ApplyServicePage(*reinterpret_cast<ServiceSettings*>(data));
      break;
  }
}

// Enabling hands the traffic log to the service, disabling takes it back; a service that does not
// come up leaves this window the log's writer, with a warning saying why.
void CMonitorDlg::ApplyServicePage(ServiceSettings& page) {
  HandoverActions actions;
  actions.closeRecorderFiles = [this] { recorder_.CloseAll(); };
  actions.reopenRecorders = [this] {
    recorder_.ReopenAll(adapters_.Rows(), ServiceRecordsRates(settings_.service), sampler_.LastTick());
  };
  actions.rearmNotification = [this] { ArmNotification(); };
  actions.warn = [this](const std::string& text) { Warn(text); };
  actions.pause = [window = Handle()](unsigned ms) {
    Sleep(ms);
    UpdateWindow(window);
  };
  ServiceHandover handover(services_, store_, log_, sampler_.LastTick(), files_, actions);
  handover.Apply(page, settings_, adapters_.Rows(), Narrow(ui::ProgramFolder()) + kServiceExecutableName);
  // A service that could not be started leaves the switch off: the page shows what now holds.
  page.serviceEnabled = settings_.service.serviceEnabled;
  InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace veltrano
