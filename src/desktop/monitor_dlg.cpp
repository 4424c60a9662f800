// Main window. For now it lists the adapter table with each interface's counters, refreshed once
// a second; the graph panes take its place as they arrive.
#include "desktop/monitor_dlg.h"

#include <shellapi.h>

#include <string>

#include "core/text.h"
#include "desktop/mail_thread.h"
#include "desktop/opt_notification_page.h"
#include "desktop/resources/main_window_ids.h"
#include "engine/adapter_table.h"
#include "engine/log_location.h"
#include "platform/win32/wide_text.h"
#include "settings/adapter_settings.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

constexpr UINT_PTR kSamplingTimer = 101;
constexpr UINT kSamplingIntervalMs = 1000;
const wchar_t* const kWindowClass = L"VeltranoMonitor";

// "Pellacor.chm" beside the executable; a missing help file is not an error worth a message.
void OpenHelpFile(int showCommand) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring help(path, length);
  help = help.substr(0, help.find_last_of(L'\\') + 1) + L"Pellacor.chm";
  if (GetFileAttributesW(help.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  ShellExecuteW(nullptr, L"open", help.c_str(), nullptr, nullptr, showCommand);
}

std::wstring RowText(const AdapterEntry& row, bool showIp) {
  std::string text = AdapterTitle(row, showIp);
  text += "   today in " + std::to_string(row.todayIn) + "  out " + std::to_string(row.todayOut);
  if (row.kind == kInterfaceAdapter && !row.hasPrev) text += "  (absent)";
  return Widen(text);
}

}  // namespace

CMonitorDlg::CMonitorDlg(SettingsStore& store, AdapterTable& adapters, FileSystem& files, Clock& clock,
                         ServiceManager& services, HINSTANCE instance)
    : store_(store),
      adapters_(adapters),
      files_(files),
      services_(services),
      instance_(instance),
      log_(files),
      sampler_(ProgramRole::kDesktop, adapters, log_, clock,
               TrafficSampler::HistoryCapFor(GetSystemMetrics(SM_CXSCREEN))),
      notify_(instance, settings_, store, adapters, log_, files, network_, beeper_, speaker_, prompter_) {
  sampler_.SetListener(this);
}

int CMonitorDlg::Run(int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &CMonitorDlg::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);

  store_.LoadDesktop(settings_);
  const RECT rect = InitialRect();
  const DWORD exStyle = WS_EX_TOOLWINDOW | (settings_.options.alwaysOnTop ? WS_EX_TOPMOST : 0);
  window_ = CreateWindowExW(exStyle, kWindowClass, L"Veltrano", WS_OVERLAPPEDWINDOW, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance_, this);
  if (!window_) return 1;
  ShowWindow(window_, settings_.options.startMinimized ? SW_HIDE : showCommand);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK CMonitorDlg::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<CMonitorDlg*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CMonitorDlg*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_TIMER:
      if (wParam != kSamplingTimer) break;
      OnTimer();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      Paint(BeginPaint(window_, &paint));
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_MAIL_RESULT:
      notify_.OnMailResult(lParam);
      return 0;
    case WM_OPTIONS_APPLY:
      if (wParam == kNotificationPageCode)
        notify_.ApplyNotificationPage(*reinterpret_cast<const NotificationPageData*>(lParam), sampler_.LastTick());
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == ID_RATES_RECORDER) notify_.EditRecorders(sampler_.LastTick());
      if (LOWORD(wParam) == ID_REOPEN_ALERT) notify_.ShowLastAlert(sampler_.LastTick());
      return 0;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void CMonitorDlg::OnCreate() {
  settings_.options.mainWindowHandle = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window_));
  store_.Save(SaveTrigger::kDesktopStart, settings_, adapters_.Rows());
  adapters_.LoadAdapterSettings(ReadAdapterSubkeys(store_.CurrentUser(), ProgramRole::kDesktop), ProgramRole::kDesktop);
  adapters_.AssignMenuIds();
  OpenTrafficLog();
  notify_.SetMainWindow(window_);
  notify_.Start(sampler_.LastTick());
  if (TakeFirstRun(store_.CurrentUser())) OpenHelpFile(SW_SHOWMAXIMIZED);
  SetTimer(window_, kSamplingTimer, kSamplingIntervalMs, nullptr);
}

// The writer while the service is disabled, else a reader beside the service. Without a log the
// day is still counted in memory.
void CMonitorDlg::OpenTrafficLog() {
  const LogLocation location = ResolveDesktopLogPath(store_, settings_, files_);
  settings_.trafficLogFile = location.path;
  LogOpenOptions options;
  options.role = settings_.service.serviceEnabled ? LogRole::kDesktopReader : LogRole::kDesktopWriter;
  options.customPath = location.customPath;
  options.migrationSource = &adapters_.Source();
  options.serviceManager = &services_;
  if (log_.Open(location.path, options)) log_.LoadToday(adapters_.Rows(), sampler_.LastTick());
}

void CMonitorDlg::OnTimer() {
  sampler_.Tick();
  InvalidateRect(window_, nullptr, TRUE);
}

void CMonitorDlg::OnDestroy() {
  KillTimer(window_, kSamplingTimer);
  notify_.Stop();
  log_.WriteToday(adapters_.Rows(), sampler_.LastTick());
  log_.Close();
  RECT rect;
  if (GetWindowRect(window_, &rect)) settings_.options.wndPosition = {rect.left, rect.top, rect.right, rect.bottom};
  store_.Save(SaveTrigger::kDesktopExit, settings_, adapters_.Rows());
  PostQuitMessage(0);
}

void CMonitorDlg::Paint(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  int y = 4;
  for (const auto& row : adapters_.Rows()) {
    const std::wstring text = RowText(row, settings_.options.showIpInTitle != 0);
    TextOutW(dc, 6, y, text.c_str(), static_cast<int>(text.size()));
    y += 18;
  }
}

// The saved rectangle, or the bottom-right corner of the work area.
RECT CMonitorDlg::InitialRect() const {
  const WndPosition& saved = settings_.options.wndPosition;
  if (saved.right > saved.left && saved.bottom > saved.top) return {saved.left, saved.top, saved.right, saved.bottom};
  RECT work{0, 0, 800, 600};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = 420, height = 180;
  const int right = work.right - GetSystemMetrics(SM_CXVSCROLL);
  const int bottom = work.bottom - GetSystemMetrics(SM_CYHSCROLL);
  return {right - width, bottom - height, right, bottom};
}

}  // namespace veltrano
