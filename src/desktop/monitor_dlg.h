// The desktop program's main window: owns the adapter table's sampler, the traffic log, the graph
// panes stacked inside it, the tray icon, the popup menu and the hot key. Runs on the program's
// own message loop; the program ends when this window ends.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "desktop/graph_pane.h"
#include "desktop/notify_feature.h"
#include "desktop/tray_icon.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "desktop/ui/shell.h"
#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "engine/traffic_sampler.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/service_manager.h"
#include "recorder/rates_recorder.h"
#include "settings/settings_store.h"
#include "view/pane_stack.h"
#include "view/reports_window.h"

namespace veltrano {

constexpr UINT kMsgLogFailure = WM_USER + 111;
constexpr UINT kMsgMakeTopmost = WM_USER + 159;
constexpr UINT kMsgClearLog = WM_USER + 444;
constexpr UINT_PTR kSamplingTimer = 101;
constexpr int kHotkeyId = 8977;

class CMonitorDlg : public ui::Dialog, private SamplerListener {
 public:
  // What the window uses besides the engine; tests pass doubles for the prompter and the shell.
  struct Dependencies {
    SettingsStore& store;
    AdapterTable& adapters;
    FileSystem& files;
    Clock& clock;
    ServiceManager& services;
    ui::Prompter& prompter;
    ui::Shell& shell;
  };

  CMonitorDlg(const Dependencies& dependencies, HINSTANCE instance);
  ~CMonitorDlg() override;

  // Creates the window and runs the program's loop until it ends; answers the quit code.
  int Run();
  // Creates the window only (tests drive it with messages and pump them).
  HWND Create();

  // The shutdown sequence: hot key off, day written and log closed, window and adapters saved,
  // tray icon removed, panes and recorders released. Runs once.
  void Shutdown();

  // Read back by tests and by the windows that other parts open from here.
  Settings& CurrentSettings() { return settings_; }
  AdapterTable& Adapters() { return adapters_; }
  TrafficLog& Log() { return log_; }
  TrafficSampler& Sampler() { return sampler_; }
  bool Visible() const { return visible_; }
  const PaneStack& Stack() const { return stack_; }
  TrayIcon* Tray() { return tray_.get(); }
  const RatesRecorder& Recorder() const { return recorder_; }
  HMENU PopupMenu() const { return popup_; }
  bool LayeredWindows() const;

  // Shows and hides the window as the tray, the hot key and the menu do.
  void Show();
  void Hide();
  // Check marks and enabled items as the settings are now; runs before the popup menu opens.
  void UpdateMenuStates();
  // The current settings, applied again to every pane and to the window (after the options).
  void ApplyPaneSettingsToAll();
  void ApplyWindowLook();

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  void OnOK() override {}
  void OnCancel() override { Hide(); }
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;

 private:
  // Start-up steps.
  void LoadMenus();
  void AddRowToMenus(AdapterEntry& row);
  void PlaceWindow();
  void ApplyStartupLook();
  void OpenTrafficLog();
  void RegisterHotkey();
  void OpenHelpOnFirstRun();

  // Messages.
  bool OnSysCommand(WPARAM command);
  void OnWindowPosChanging(WINDOWPOS& position);
  void OnSize(int width, int height);
  bool OnSetCursor();
  bool OnNcHitTest(LPARAM point, LRESULT& result);
  void OnLeftButtonDown(int x, int y);
  void OnMouseMove(int y, bool leftButtonDown);
  void EndSplitterDrag();
  void OnTrayMessage(LPARAM event);
  void OnLogFailure(WPARAM what);
  void RetryFailedLogWrite();
  void OnEndSession(bool ending);

  // Commands.
  void OnToggleCommand(int id);
  void TogglePane(AdapterEntry& row);
  void ResetRatesOf(AdapterEntry& row);
  void ResetAllRates();
  void ResetWindowPosition();
  void OpenPopupMenu(int x, int y);
  void OpenPopupMenuFromKey(bool fromKey);
  void OpenHelp();
  void OpenTcpConnections();
  void SetTopmost(bool topmost);
  void SetCaption(bool shown);
  void ApplyWindowStyle(int percent, bool clickThrough);
  void SaveSettings(SaveTrigger trigger);
  void Warn(const std::string& text);

  // Windows that other parts build; each opens its own window.
  void OpenOptionsSheet();
  // An accepted options page (WM_OPTIONS_APPLY): its new values applied here and saved.
  class OptionsHost;
  void OnOptionsApply(WPARAM code, LPARAM data);
  void ApplyServicePage(ServiceSettings& page);
  void OpenTrafficReports();
  void OpenStopwatch();
  void OpenRatesRecorder();
  void ReopenAlert();
  void OpenAboutBox();
  // Notification state at start, at a new day and after each second's rows.
  void ArmNotification();
  void CheckNotification(const LocalTime& now);

  // Panes (stacking in view/pane_stack).
  void CreatePanes();
  void ShowPane(AdapterEntry& row);
  void HidePane(AdapterEntry& row);
  void LayoutPanes(int width, int height);
  void MovePanes();
  void UpdateMargin();
  void LoadWindowIcons();
  void OnDpiChanged(int dpi, LPARAM suggestedRect);
  std::vector<AdapterEntry*> PaneRows();
  int PaneIndexOf(const AdapterEntry& row);
  void ApplyPaneSettings(GraphPane& pane, const AdapterEntry& row);
  void RetitlePanes();
  void StoreShares();
  void SetWindowRect(const StackRect& rect);

  // One second, per row and after all rows.
  void OnRowSample(AdapterEntry& row, std::uint64_t received, std::uint64_t sent, const LocalTime& now) override;
  void OnRowAddressChanged(AdapterEntry& row) override;
  void OnTickEnd(const LocalTime& now) override;
  void OnDayChanged(const LocalTime& now) override;
  void UpdateTray(const AdapterEntry& row);

  SettingsStore& store_;
  AdapterTable& adapters_;
  FileSystem& files_;
  Clock& clock_;
  ServiceManager& services_;
  ui::Prompter& prompter_;
  ui::Shell& shell_;
  TrafficLog log_;
  TrafficSampler sampler_;
  RatesRecorder recorder_;
  Settings settings_;
  NotifyFeature notify_;

  HACCEL accelerators_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU popup_ = nullptr;
  HMENU adaptersMenu_ = nullptr;
  HMENU resetMenu_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  std::unique_ptr<TrayIcon> tray_;
  UINT taskbarCreated_ = 0;
  bool graphCapable_ = true;

  bool visible_ = false;
  bool hideOnFirstShow_ = false;
  bool hotkeyRegistered_ = false;
  bool shutDown_ = false;
  bool ownLoop_ = false;  // Run's loop ends with the window

  std::vector<std::unique_ptr<GraphPane>> panes_;  // owners; rows point at them
  PaneStack stack_;
  int dpi_ = 96;     // the window's; stored pixel sizes are for 96
  int margin_ = 2;   // RateViewMargins at dpi_
  int lastClientWidth_ = 0;
  int lastClientHeight_ = 0;
  bool programmaticMove_ = false;
  int draggedSplitter_ = -1;

  ReportsWindowState reportsState_;  // page, adapter and chosen log path, for the rest of the run
};

}  // namespace veltrano
