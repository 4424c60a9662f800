// The text of a dialog's control as UTF-8.
#include "desktop/ui/control_text.h"

#include "platform/win32/wide_text.h"

namespace veltrano {

std::string ItemText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], length + 1)));
  return Narrow(text);
}

void SetItemText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

}  // namespace veltrano
