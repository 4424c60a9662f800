// The alert window.
#include "desktop/alert_window.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cstring>

#include "desktop/resources/main_window_ids.h"
#include "desktop/resources/notify_ids.h"
#include "desktop/ui/dpi.h"
#include "platform/win32/wide_text.h"
#include "view/dpi_scale.h"

namespace veltrano {
namespace {

constexpr UINT_PTR kTotalTimer = 1;
constexpr COLORREF kMessageColor = RGB(238, 0, 0);
constexpr COLORREF kTotalColor = RGB(0, 0, 238);
constexpr int kMessageFontHeight = 14;
constexpr int kTotalFontHeight = 12;

std::wstring ItemText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(control, &text[0], length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

// PlaySound answers an asynchronous request before it has read the file, so whether anything
// will play is judged here: a readable file that starts as a RIFF WAVE file.
bool IsPlayableWave(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char header[12] = {};
  DWORD read = 0;
  const bool ok = ReadFile(file, header, sizeof header, &read, nullptr) && read == sizeof header &&
                  std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVE", 4) == 0;
  CloseHandle(file);
  return ok;
}

}  // namespace

// The caller destroys the icon: the system's fallback is shared, so the caller gets a copy of it.
HICON LoadProgramIcon(HINSTANCE instance, int size) {
  if (auto* icon = static_cast<HICON>(
          LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)))
    return icon;
  return CopyIcon(static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, size, size, LR_SHARED)));
}

AlertWindow::AlertWindow(HINSTANCE instance, const AlertInputs& inputs, Beeper& beeper, ui::Prompter& prompter)
    : ui::Dialog(instance, IDD_ALERT), inputs_(inputs), beeper_(beeper), prompter_(prompter), choice_(inputs.choice) {}

AlertWindow::~AlertWindow() {
  StopSound();
  if (messageFont_) DeleteObject(messageFont_);
  if (totalFont_) DeleteObject(totalFont_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

INT_PTR AlertWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC) return OnColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
  return ui::Dialog::HandleMessage(message, wParam, lParam);
}

BOOL AlertWindow::OnInitDialog() {
  const int dpi = ui::WindowDpi(Handle());
  SetIcons(dpi);
  SetFonts(dpi);
  SetItemText(IDC_ALERT_MESSAGE,
              Widen(AlertMessage(inputs_.rule, inputs_.displayName, inputs_.today, inputs_.calendar)).c_str());
  SendMessageW(Item(IDC_ALERT_SPIN), UDM_SETRANGE32, 1, 32767);
  SendMessageW(Item(IDC_ALERT_MINUTES), EM_LIMITTEXT, 5, 0);
  SetDlgItemInt(Handle(), IDC_ALERT_MINUTES, choice_.minutes, FALSE);
  CheckRadioButton(Handle(), IDC_ALERT_NO_LONGER, IDC_ALERT_NEXT,
                   choice_.type == DesktopUsageAlert::kNextMinutes ? IDC_ALERT_NEXT : IDC_ALERT_NO_LONGER);
  EnableMinutes();
  StartSound();
  EnableWindow(Item(IDC_ALERT_STOP_SOUND), soundPlaying_ || beeping_);
  UpdateRunningTotal();
  SetTimer(Handle(), kTotalTimer, 1000, nullptr);
  SetForegroundWindow(Handle());
  if (choice_.type == DesktopUsageAlert::kNextMinutes) {
    SetFocus(Item(IDC_ALERT_MINUTES));
    return FALSE;
  }
  return TRUE;
}

void AlertWindow::OnDpiChanged(int dpi) {
  SetIcons(dpi);
  SetFonts(dpi);
}

// The old icons go once the window holds the new ones.
void AlertWindow::SetIcons(int dpi) {
  HICON large = LoadProgramIcon(Instance(), ui::SystemMetricForDpi(SM_CXICON, dpi));
  HICON little = LoadProgramIcon(Instance(), ui::SystemMetricForDpi(SM_CXSMICON, dpi));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little));
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  bigIcon_ = large;
  smallIcon_ = little;
}

// Heights are pixels at 96 DPI. The old fonts go once the controls hold the new ones.
void AlertWindow::SetFonts(int dpi) {
  LOGFONTW font{};
  font.lfWeight = FW_BOLD;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(font.lfFaceName, L"Tahoma", LF_FACESIZE);
  font.lfHeight = -ScaleToDpi(kMessageFontHeight, dpi);
  HFONT message = CreateFontIndirectW(&font);
  font.lfHeight = -ScaleToDpi(kTotalFontHeight, dpi);
  HFONT total = CreateFontIndirectW(&font);
  SendMessageW(Item(IDC_ALERT_MESSAGE), WM_SETFONT, reinterpret_cast<WPARAM>(message), FALSE);
  SendMessageW(Item(IDC_ALERT_TOTAL), WM_SETFONT, reinterpret_cast<WPARAM>(total), FALSE);
  if (messageFont_) DeleteObject(messageFont_);
  if (totalFont_) DeleteObject(totalFont_);
  messageFont_ = message;
  totalFont_ = total;
}

// PlaySound loops the file by name; a file it cannot play plays nothing (no default sound).
void AlertWindow::StartSound() {
  const NotificationRule& rule = inputs_.rule;
  const std::wstring sound = Widen(rule.soundFile);
  if (rule.playSound && !sound.empty() && IsPlayableWave(sound))
    soundPlaying_ = PlaySoundW(sound.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP | SND_NODEFAULT) != FALSE;
  if (rule.playBeep) {
    const BeepPreset& preset = BeepPresetFor(rule.beepPreset);
    beeper_.Start(preset.frequencyHz, preset.durationMs, 0);
    beeping_ = true;
  }
}

void AlertWindow::StopSound() {
  if (soundPlaying_) PlaySoundW(nullptr, nullptr, 0);
  if (beeping_) beeper_.Stop();
  soundPlaying_ = beeping_ = false;
}

// Rewritten only when the text changes, so the line does not flicker every second.
void AlertWindow::UpdateRunningTotal() {
  if (!inputs_.watched) return;
  const std::wstring text = Widen(RunningTotalText(inputs_.rule, inputs_.periodBase, *inputs_.watched));
  HWND line = Item(IDC_ALERT_TOTAL);
  if (ItemText(line) != text) SetWindowTextW(line, text.c_str());
}

void AlertWindow::EnableMinutes() {
  const bool next = IsDlgButtonChecked(Handle(), IDC_ALERT_NEXT) == BST_CHECKED;
  EnableWindow(Item(IDC_ALERT_MINUTES), next);
  EnableWindow(Item(IDC_ALERT_SPIN), next);
}

bool AlertWindow::OnCommand(WORD id, WORD notifyCode, HWND control) {
  switch (id) {
    case IDC_ALERT_STOP_SOUND:
      StopSound();
      EnableWindow(Item(IDC_ALERT_STOP_SOUND), FALSE);
      return true;
    case IDC_ALERT_NO_LONGER:
    case IDC_ALERT_NEXT:
      if (notifyCode != BN_CLICKED) return false;
      EnableMinutes();
      if (id == IDC_ALERT_NEXT) SetFocus(Item(IDC_ALERT_MINUTES));
      return true;
  }
  return ui::Dialog::OnCommand(id, notifyCode, control);
}

void AlertWindow::OnClose() {
  const std::uint32_t type = IsDlgButtonChecked(Handle(), IDC_ALERT_NEXT) == BST_CHECKED
                                 ? DesktopUsageAlert::kNextMinutes
                                 : DesktopUsageAlert::kNoLonger;
  const long minutes = ParseNextMinutes(Narrow(ItemText(Item(IDC_ALERT_MINUTES))));
  const std::string refusal = CheckNextAlertChoice(type, minutes);
  if (!refusal.empty()) {
    prompter_.Inform(Handle(), refusal);
    SetFocus(Item(IDC_ALERT_MINUTES));
    return;
  }
  choice_.type = type;
  choice_.minutes = minutes > 0 ? static_cast<std::uint32_t>(minutes) : 0;
  StopSound();
  End(IDOK);
}

void AlertWindow::OnTimer(UINT_PTR id) {
  if (id == kTotalTimer) UpdateRunningTotal();
}

void AlertWindow::OnDestroy() {
  KillTimer(Handle(), kTotalTimer);
  StopSound();
}

INT_PTR AlertWindow::OnColorStatic(HDC dc, HWND control) {
  const int id = GetDlgCtrlID(control);
  if (id != IDC_ALERT_MESSAGE && id != IDC_ALERT_TOTAL)
    return ui::Dialog::HandleMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(control));
  SetTextColor(dc, id == IDC_ALERT_MESSAGE ? kMessageColor : kTotalColor);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace veltrano
