// Main window commands: the popup menu and accelerators, the View and window toggles, the
// per-adapter items, help, the connection viewer and exit.
#include <algorithm>

#include "desktop/monitor_dlg.h"
#include "desktop/resources/main_window_ids.h"
#include "desktop/ui/modal_scope.h"
#include "view/desktop_recording.h"
#include "view/main_menu.h"
#include "view/window_placement.h"

namespace veltrano {
namespace {

const wchar_t* const kHelpWindowTitle = L"Veltrano Help";
const char* const kOnlyPane = "At least one adapter should be monitored.";
const char* const kNoViewer =
    "The TCP connection viewer (Tcpview.exe) is not in the program's folder.\n\n"
    "Do you want to open the folder, so that you can put the viewer there?";
const wchar_t* const kViewerPage = L"https://learn.microsoft.com/sysinternals/downloads/tcpview";

// One item's check mark, as a bullet for the items of a radio pair. Each item is set on its own:
// CheckMenuRadioItem would also clear neighbours by position.
void SetMenuCheck(HMENU menu, UINT id, bool checked, bool radio) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!GetMenuItemInfoW(menu, id, FALSE, &info)) return;
  info.fType = radio ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~static_cast<UINT>(MFT_RADIOCHECK));
  info.fState = checked ? (info.fState | MFS_CHECKED) : (info.fState & ~static_cast<UINT>(MFS_CHECKED));
  SetMenuItemInfoW(menu, id, FALSE, &info);
}

}  // namespace

bool CMonitorDlg::OnCommand(WORD id, WORD, HWND) {
  switch (id) {
    case ID_SHOW:
      Show();
      return true;
    case ID_HIDE:
      Hide();
      return true;
    case ID_OPTIONS:
      OpenOptionsSheet();
      return true;
    case ID_TRAFFIC_REPORTS:
      OpenTrafficReports();
      return true;
    case ID_STOPWATCH:
      OpenStopwatch();
      return true;
    case ID_RATES_RECORDER:
      OpenRatesRecorder();
      return true;
    case ID_REOPEN_ALERT:
      ReopenAlert();
      return true;
    case ID_ABOUT:
      OpenAboutBox();
      return true;
    case ID_TCP_CONNECTIONS:
      OpenTcpConnections();
      return true;
    case ID_HELP_CONTENTS:
      OpenHelp();
      return true;
    case ID_RESET_POSITION:
      ResetWindowPosition();
      return true;
    case ID_RESET_ALL_RATES:
      ResetAllRates();
      return true;
    case ID_OPEN_MENU:
      OpenPopupMenuFromKey(true);
      return true;
    case ID_EXIT:
      PostQuitMessage(2);
      return true;
  }
  if (IsAdaptersCommand(id) || IsResetRatesCommand(id)) {
    for (auto& row : adapters_.Rows()) {
      if (row.adaptersMenuId == id) {
        TogglePane(row);
        return true;
      }
      if (row.resetMenuId == id) {
        ResetRatesOf(row);
        return true;
      }
    }
    return true;
  }
  OnToggleCommand(id);
  return true;
}

void CMonitorDlg::OnToggleCommand(int id) {
  Options& options = settings_.options;
  const ToggleResult result = ApplyToggleCommand(options, id, LayeredWindows());
  if (!result.known) return;
  if (!result.refusal.empty()) {
    Warn(result.refusal);
    return;
  }
  if (!result.changed) return;
  switch (result.effect) {
    case ToggleEffect::kPaneSettings:
    case ToggleEffect::kUnit:
      ApplyPaneSettingsToAll();
      recorder_.SetFormat(DesktopRecorderFormat(options));
      tray_->SetLook({options.graphStyle == 1, options.graphBkgColor, options.upColor, options.downColor,
                      options.bothDownUpColor});
      break;
    case ToggleEffect::kRetitle:
      RetitlePanes();
      recorder_.SetFormat(DesktopRecorderFormat(options));
      break;
    case ToggleEffect::kTopmost:
      SetTopmost(options.alwaysOnTop != 0);
      break;
    case ToggleEffect::kCaption:
      SetCaption(options.showCaption != 0);
      break;
    case ToggleEffect::kWindowStyle:
      ApplyWindowStyle(TransparencyPercent(options.semiTransparent != 0, options.transparentPercent),
                       options.enableClickThrough != 0);
      break;
  }
  SaveSettings(result.trigger);
}

void CMonitorDlg::TogglePane(AdapterEntry& row) {
  switch (DecidePaneToggle(row.pane != nullptr, static_cast<int>(panes_.size()))) {
    case PaneToggle::kShow:
      ShowPane(row);
      break;
    case PaneToggle::kHide:
      HidePane(row);
      break;
    case PaneToggle::kRefuse:
      Warn(kOnlyPane);
      break;
  }
}

void CMonitorDlg::ResetRatesOf(AdapterEntry& row) {
  sampler_.ResetRates(row);
  if (row.pane) row.pane->HistoryChanged();
}

void CMonitorDlg::ResetAllRates() {
  sampler_.ResetAllRates();
  for (auto& row : adapters_.Rows()) {
    if (row.pane) row.pane->HistoryChanged();
  }
}

void CMonitorDlg::ResetWindowPosition() {
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!visible_) Show();
}

void CMonitorDlg::OpenPopupMenuFromKey(bool fromKey) {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT client{};
  GetClientRect(Handle(), &client);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const MenuPoint point =
      PopupMenuPoint(cursor.x, cursor.y, client.left, client.top, client.right, client.bottom, fromKey);
  if (point.open) OpenPopupMenu(point.x, point.y);
}

void CMonitorDlg::UpdateMenuStates() {
  for (const MenuItemState& state : ToggleMenuStates(settings_.options, LayeredWindows())) {
    SetMenuCheck(popup_, static_cast<UINT>(state.id), state.checked, state.radio);
    EnableMenuItem(popup_, static_cast<UINT>(state.id), MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
  }
  for (const auto& row : adapters_.Rows()) {
    if (HasMenuItems(row.adaptersMenuId)) SetMenuCheck(popup_, static_cast<UINT>(row.adaptersMenuId), row.pane, false);
  }
  const UINT dialogs = ui::ModalScope::Active() ? MF_GRAYED : MF_ENABLED;
  for (int id : DialogCommandIds()) EnableMenuItem(popup_, static_cast<UINT>(id), MF_BYCOMMAND | dialogs);
}

void CMonitorDlg::OpenPopupMenu(int x, int y) {
  UpdateMenuStates();
  SetForegroundWindow(Handle());
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
  // Without this the menu would not close when the user clicks elsewhere.
  PostMessageW(Handle(), WM_NULL, 0, 0);
}

void CMonitorDlg::OpenHelp() {
  if (HWND help = FindWindowW(nullptr, kHelpWindowTitle)) {
    if (IsIconic(help)) ShowWindow(help, SW_RESTORE);
    SetForegroundWindow(help);
    return;
  }
  const HCURSOR before = SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));
  shell_.Open(Handle(), L"open", ui::ProgramFolder() + L"Pellacor.chm", SW_SHOWNORMAL);
  SetCursor(before);
}

void CMonitorDlg::OpenTcpConnections() {
  const std::wstring folder = ui::ProgramFolder();
  const std::wstring viewer = folder + L"Tcpview.exe";
  if (GetFileAttributesW(viewer.c_str()) != INVALID_FILE_ATTRIBUTES) {
    shell_.Open(Handle(), L"open", viewer, SW_SHOWMAXIMIZED);
    return;
  }
  bool yes;
  {
    ui::ModalScope scope(Handle());
    yes = prompter_.AskYesNo(Handle(), kNoViewer);
  }
  if (!yes) return;
  shell_.Open(Handle(), L"explore", folder, SW_SHOWNORMAL);
  shell_.Open(Handle(), L"open", kViewerPage, SW_SHOWNORMAL);
}

void CMonitorDlg::SetTopmost(bool topmost) {
  // A dialog of ours is open: the window takes this band when the last one closes.
  if (ui::ModalScope::Active()) {
    ui::ModalScope::SetTopmostAfterwards(topmost);
    return;
  }
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CMonitorDlg::SetCaption(bool shown) {
  HWND window = Handle();
  LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  style = shown ? (style | WS_CAPTION) : (style & ~static_cast<LONG_PTR>(WS_CAPTION));
  SetWindowLongPtrW(window, GWL_STYLE, style);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE);
}

void CMonitorDlg::ApplyWindowStyle(int percent, bool clickThrough) {
  using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  const auto setLayered = reinterpret_cast<SetLayered>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  if (!setLayered) return;
  HWND window = Handle();
  LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED;
  exStyle = clickThrough ? (exStyle | WS_EX_TRANSPARENT) : (exStyle & ~static_cast<LONG_PTR>(WS_EX_TRANSPARENT));
  SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle);
  setLayered(window, 0, WindowAlpha(percent), LWA_ALPHA);
}

void CMonitorDlg::ApplyWindowLook() {
  const Options& options = settings_.options;
  UpdateMargin();
  SetTopmost(options.alwaysOnTop != 0);
  SetCaption(options.showCaption != 0);
  if (LayeredWindows()) {
    ApplyWindowStyle(TransparencyPercent(options.semiTransparent != 0, options.transparentPercent),
                     options.enableClickThrough != 0);
  }
}

}  // namespace veltrano
