// Control helpers of the options windows.
#include "desktop/options_controls.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "desktop/ui/dpi.h"
#include "platform/win32/wide_text.h"
#include "view/dpi_scale.h"

namespace veltrano {

bool IsChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableItem(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

void AddComboItem(HWND dialog, int id, const std::string& text) {
  SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

int ComboSelection(HWND dialog, int id) {
  const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SelectComboItem(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
}

void SetSpinRange(HWND dialog, int id, int low, int high) {
  SendDlgItemMessageW(dialog, id, UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

// The pages' template font is Tahoma 8 points, and the dialog manager lays the controls out in
// units of it at the screen's DPI: 11 pixels at 96, 13 at 120, 16 at 144. The control font is
// made the same way, so that a caption keeps its room at every scale; 11 pixels scaled (14 at
// 120) would outgrow the layout by a pixel and push the longest captions past their controls.
int OptionsControlFontHeight(int dpi) {
  return MulDiv(kOptionsControlFontPoints, dpi > 0 ? dpi : kBaseDpi, 72);
}

// One font per DPI for the life of the program: the pages come and go, the fonts stay valid for
// all of them. A machine has a handful of screen scales, so the list stays short.
HFONT OptionsControlFont(int dpi) {
  static std::vector<std::pair<int, HFONT>> fonts;
  for (const auto& [scale, font] : fonts)
    if (scale == dpi) return font;
  HFONT font =
      CreateFontW(-OptionsControlFontHeight(dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  if (font) fonts.emplace_back(dpi, font);
  return font;
}

void ApplyControlFont(HWND window) {
  ApplyControlFont(window, ui::WindowDpi(window));
}

void ApplyControlFont(HWND window, int dpi) {
  HFONT font = OptionsControlFont(dpi);
  if (!font) return;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void RefuseField(HWND dialog, int focusId, ui::Prompter& prompter, const std::string& message) {
  if (HWND control = GetDlgItem(dialog, focusId)) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SetFocus(control);
  }
  prompter.Warn(dialog, message);
}

}  // namespace veltrano
