// Control helpers of the options windows.
#include "desktop/options_controls.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"

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

// One font for the life of the program: the pages come and go, the font stays valid for all.
HFONT OptionsControlFont() {
  static HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
  return font;
}

void ApplyControlFont(HWND window) {
  HFONT font = OptionsControlFont();
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
