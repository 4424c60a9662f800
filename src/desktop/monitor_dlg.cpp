// Main window: start-up in its fixed order, message dispatch, show and hide, and the shutdown
// sequence. Commands, panes, the tray and the log dialogs live in the monitor_*.cpp beside it.
#include "desktop/monitor_dlg.h"

#include "desktop/options_sheet.h"
#include "desktop/resources/main_window_ids.h"
#include "desktop/ui/dpi.h"
#include "desktop/ui/modal_scope.h"
#include "engine/log_location.h"
#include "platform/win32/wide_text.h"
#include "settings/adapter_settings.h"
#include "settings/standalone_values.h"
#include "view/main_menu.h"
#include "view/desktop_recording.h"
#include "view/tray_tip.h"
#include "view/window_placement.h"

namespace veltrano {
namespace {

constexpr UINT kSamplingIntervalMs = 1000;
const wchar_t* const kHelpWindowTitle = L"Veltrano Help";

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM data) {
  reinterpret_cast<PlacementInput*>(data)->monitors.push_back({rect->left, rect->top, rect->right, rect->bottom});
  return TRUE;
}

}  // namespace

CMonitorDlg::CMonitorDlg(const Dependencies& dependencies, HINSTANCE instance)
    : ui::Dialog(instance, IDD_MONITOR),
      store_(dependencies.store),
      adapters_(dependencies.adapters),
      files_(dependencies.files),
      clock_(dependencies.clock),
      services_(dependencies.services),
      prompter_(dependencies.prompter),
      shell_(dependencies.shell),
      log_(dependencies.files),
      sampler_(ProgramRole::kDesktop, dependencies.adapters, log_, dependencies.clock,
               TrafficSampler::HistoryCapFor(GetSystemMetrics(SM_CXSCREEN))),
      recorder_(dependencies.files, RecorderFormat{}),
      notify_(*this, settings_, dependencies.store, dependencies.adapters, log_, dependencies.files, recorder_,
              dependencies.prompter) {
  settings_.options = DefaultOptions(LayeredWindows());
  sampler_.SetListener(this);
}

CMonitorDlg::~CMonitorDlg() {
  if (Handle()) DestroyWindow(Handle());
  if (menu_) DestroyMenu(menu_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

bool CMonitorDlg::LayeredWindows() const {
  return GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes") != nullptr;
}

HWND CMonitorDlg::Create() {
  return CreateModeless(nullptr);
}

int CMonitorDlg::Run() {
  if (!Create()) return 1;
  ownLoop_ = true;
  const int code = ui::RunMessageLoop(Handle(), accelerators_);
  if (Handle()) DestroyWindow(Handle());
  return code;
}

INT_PTR CMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (notify_.HandleMessage(message, wParam, lParam, sampler_.LastTick())) return TRUE;
  switch (message) {
    case WM_OPTIONS_APPLY:
      OnOptionsApply(wParam, lParam);
      return TRUE;
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_CLOSE:
      End(IDCANCEL);
      return TRUE;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
      return FALSE;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(ui::DpiFromDpiChanged(wParam), lParam);
      return TRUE;
    case WM_SETCURSOR:
      if (!OnSetCursor()) return FALSE;
      SetResult(TRUE);
      return TRUE;
    case WM_NCHITTEST: {
      LRESULT hit = 0;
      if (!OnNcHitTest(lParam, hit)) return FALSE;
      SetResult(hit);
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return TRUE;
    case WM_MOUSEMOVE:
      OnMouseMove(static_cast<short>(HIWORD(lParam)), (wParam & MK_LBUTTON) != 0);
      return TRUE;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      EndSplitterDrag();
      return TRUE;
    case WM_CONTEXTMENU:
      OpenPopupMenuFromKey(false);
      return TRUE;
    case WM_HOTKEY:
      if (wParam == kHotkeyId && settings_.options.hotkeyEnabled) Show();
      return TRUE;
    case WM_TIMECHANGE:
      sampler_.CheckFlushAndDay(clock_.Now());
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return TRUE;
    case WM_POWERBROADCAST:  // the result grants a query to suspend: never refused
      sampler_.OnPowerChange(PowerChangeFor(static_cast<std::uint32_t>(wParam)));
      SetResult(TRUE);
      return TRUE;
    case kTrayCallbackMessage:
      OnTrayMessage(lParam);
      return TRUE;
    case kMsgMakeTopmost:
      if (settings_.options.alwaysOnTop) SetTopmost(true);
      return TRUE;
    case kMsgLogFailure:
      OnLogFailure(wParam);
      return TRUE;
    case kMsgClearLog:
      ClearTrafficLog(log_, adapters_.Rows(), settings_.service.serviceEnabled != 0, [this] { ArmNotification(); });
      return TRUE;
  }
  if (taskbarCreated_ && message == taskbarCreated_) {
    if (tray_ && tray_->Shown()) tray_->Readd();
    return TRUE;
  }
  return ui::Dialog::HandleMessage(message, wParam, lParam);
}

BOOL CMonitorDlg::OnInitDialog() {
  HWND window = Handle();
  // 1. Settings of the current user, with the service switches.
  store_.LoadDesktop(settings_);
  dpi_ = ui::WindowDpi(window);
  UpdateMargin();
  recorder_.SetFormat(DesktopRecorderFormat(settings_.options));

  // 2. Icons and title (the pens belong to the panes and the tray).
  LoadWindowIcons();
  SetWindowTextW(window, L"Veltrano");

  // 3. The handle a second instance looks for.
  settings_.options.mainWindowHandle = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window));
  store_.Save(SaveTrigger::kDesktopStart, settings_, adapters_.Rows());

  // 4 to 6. Accelerators, the popup menu, the adapters and their menu items.
  LoadMenus();
  adapters_.LoadAdapterSettings(ReadAdapterSubkeys(store_.CurrentUser(), ProgramRole::kDesktop), ProgramRole::kDesktop);
  adapters_.AssignMenuIds();
  for (auto& row : adapters_.Rows()) AddRowToMenus(row);
  adapters_.SetOnAddedToMenus([this](AdapterEntry& row) { AddRowToMenus(row); });

  // 7. Rates recorders, unless the service records.
  recorder_.ReopenAll(adapters_.Rows(), ServiceRecordsRates(settings_.service), sampler_.LastTick());

  // 8 is read with the settings (the Run key). 9. Placement and panes.
  PlaceWindow();
  CreatePanes();

  // 10. The tray's adapter, else "All Connections".
  if (const AdapterEntry* chosen =
          FindTrayAdapter(adapters_.Rows(), settings_.options.stIfType, settings_.options.stAdpId)) {
    settings_.options.stIfType = static_cast<std::uint32_t>(chosen->kind);
    settings_.options.stAdpId = chosen->kind == kInterfaceAdapter ? chosen->id : AdapterId();
  }

  // 11 and 12. Window look, start state, no task bar button.
  ApplyStartupLook();
  hideOnFirstShow_ = settings_.options.startMinimized != 0;
  visible_ = !hideOnFirstShow_;
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, (exStyle | WS_EX_TOOLWINDOW) & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));

  // 13. The tray icon.
  graphCapable_ = TrayGraphCapable();
  tray_ = std::make_unique<TrayIcon>(window, Instance(), ui::SystemDpi());
  tray_->SetLook({settings_.options.graphStyle == 1, settings_.options.graphBkgColor, settings_.options.upColor,
                  settings_.options.downColor, settings_.options.bothDownUpColor});
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // A miniature is drawn by the first update; a plain icon goes in at once.
  if (settings_.options.dispIconSystray && (!graphCapable_ || !settings_.options.showGraphInSystray)) {
    tray_->AddPlain();
  }

  // 14. Traffic log and today's totals.
  OpenTrafficLog();
  // 15 to 18. Notification, hot key, first-run help, the sampling timer.
  if (settings_.options.notificationEnabled) ArmNotification();
  RegisterHotkey();
  OpenHelpOnFirstRun();
  SetTimer(window, kSamplingTimer, kSamplingIntervalMs, nullptr);

  if (visible_) {
    ShowWindow(window, SW_SHOW);
    for (auto& pane : panes_) pane->SetOwnerShown(true);
  }
  return FALSE;
}

// The caption and task switcher icons at the window's DPI; the ones they replace are freed.
void CMonitorDlg::LoadWindowIcons() {
  const HICON oldBig = bigIcon_;
  const HICON oldSmall = smallIcon_;
  const int big = ui::SystemMetricForDpi(SM_CXICON, dpi_);
  const int small = ui::SystemMetricForDpi(SM_CXSMICON, dpi_);
  bigIcon_ = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, big, big, 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, small, small, 0));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  if (oldBig) DestroyIcon(oldBig);
  if (oldSmall) DestroyIcon(oldSmall);
}

void CMonitorDlg::LoadMenus() {
  accelerators_ = LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(IDR_ACCELERATORS));
  menu_ = LoadMenuW(Instance(), MAKEINTRESOURCEW(IDR_POPUP_MENU));
  popup_ = GetSubMenu(menu_, 0);
  adaptersMenu_ = GetSubMenu(popup_, 8);
  resetMenu_ = GetSubMenu(popup_, 10);
}

void CMonitorDlg::AddRowToMenus(AdapterEntry& row) {
  if (!HasMenuItems(row.adaptersMenuId)) return;
  DeleteMenu(adaptersMenu_, ID_NO_ADAPTERS, MF_BYCOMMAND);
  const std::wstring name = Widen(row.displayName);
  AppendMenuW(adaptersMenu_, MF_STRING, static_cast<UINT_PTR>(row.adaptersMenuId), name.c_str());
  AppendMenuW(resetMenu_, MF_STRING, static_cast<UINT_PTR>(row.resetMenuId), name.c_str());
}

void CMonitorDlg::PlaceWindow() {
  HWND window = Handle();
  PlacementInput input;
  input.saved = settings_.options.wndPosition;
  RECT current{};
  GetWindowRect(window, &current);
  input.templateRect = {current.left, current.top, current.right, current.bottom};
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  input.workArea = {work.left, work.top, work.right, work.bottom};
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&input));
  if (input.monitors.empty()) input.monitors.push_back(input.workArea);
  input.verticalScrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  input.horizontalScrollHeight = GetSystemMetrics(SM_CYHSCROLL);
  RECT client{};
  GetClientRect(window, &client);
  input.frameWidth = (current.right - current.left) - client.right;
  input.frameHeight = (current.bottom - current.top) - client.bottom;
  input.margin = margin_;
  SetWindowRect(PlaceMainWindow(input));
}

void CMonitorDlg::SetWindowRect(const StackRect& rect) {
  SetWindowPos(Handle(), nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMonitorDlg::ApplyStartupLook() {
  const Options& options = settings_.options;
  if (LayeredWindows()) {
    ApplyWindowStyle(TransparencyPercent(options.semiTransparent != 0, options.transparentPercent),
                     options.enableClickThrough != 0);
  }
  if (options.alwaysOnTop) PostMessageW(Handle(), kMsgMakeTopmost, 0, 0);
  if (!options.showCaption) SetCaption(false);
}

void CMonitorDlg::RegisterHotkey() {
  if (!settings_.options.hotkeyEnabled) return;
  // A key taken by another program is no reason to bother the user: the tray still works.
  hotkeyRegistered_ =
      RegisterHotKey(Handle(), kHotkeyId, MOD_CONTROL | MOD_SHIFT, HotkeyLetter(settings_.options.hotkeyChar)) != 0;
}

void CMonitorDlg::OpenHelpOnFirstRun() {
  if (!TakeFirstRun(store_.CurrentUser())) return;
  shell_.Open(Handle(), L"open", ui::ProgramFolder() + L"Pellacor.chm", SW_SHOWMAXIMIZED);
}

void CMonitorDlg::OnTimer(UINT_PTR id) {
  if (id == kSamplingTimer) sampler_.Tick();
}

void CMonitorDlg::Show() {
  HWND window = Handle();
  hideOnFirstShow_ = false;
  visible_ = true;
  for (auto& pane : panes_) pane->SetOwnerShown(true);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  SetFocus(window);
}

void CMonitorDlg::Hide() {
  ShowWindow(Handle(), SW_HIDE);
  visible_ = false;
  for (auto& pane : panes_) pane->SetOwnerShown(false);
}

bool CMonitorDlg::OnSysCommand(WPARAM command) {
  // The close button and Alt+F4 hide the window; only Exit ends the program.
  if ((command & 0xFFF0) != SC_CLOSE) return false;
  Hide();
  return true;
}

void CMonitorDlg::OnWindowPosChanging(WINDOWPOS& position) {
  if (hideOnFirstShow_) position.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
}

void CMonitorDlg::OnEndSession(bool ending) {
  if (ending) Shutdown();
}

void CMonitorDlg::Warn(const std::string& text) {
  ui::ModalScope scope(Handle());
  prompter_.Warn(Handle(), text);
}

void CMonitorDlg::SaveSettings(SaveTrigger trigger) {
  store_.Save(trigger, settings_, adapters_.Rows());
}

void CMonitorDlg::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  HWND window = Handle();
  KillTimer(window, kSamplingTimer);
  if (hotkeyRegistered_) UnregisterHotKey(window, kHotkeyId);
  hotkeyRegistered_ = false;
  if (HWND help = FindWindowW(nullptr, kHelpWindowTitle)) PostMessageW(help, WM_CLOSE, 0, 0);

  log_.WriteToday(adapters_.Rows(), sampler_.LastTick());
  log_.Close();

  RECT rect{};
  if (window && GetWindowRect(window, &rect)) {
    settings_.options.wndPosition = {rect.left, rect.top, rect.right, rect.bottom};
  }
  StoreShares();
  store_.Save(SaveTrigger::kDesktopExit, settings_, adapters_.Rows());

  if (tray_ && settings_.options.dispIconSystray && tray_->Shown()) tray_->Delete();
  for (auto& row : adapters_.Rows()) {
    row.pane = nullptr;
    row.history.clear();
  }
  panes_.clear();
  stack_ = PaneStack{};
  recorder_.CloseAll();
  notify_.Stop();
}

void CMonitorDlg::OnDestroy() {
  Shutdown();
  tray_.reset();
  if (ownLoop_) PostQuitMessage(0);
}

}  // namespace veltrano
