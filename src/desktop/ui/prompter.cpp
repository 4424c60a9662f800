// Message boxes titled "Veltrano"; texts arrive as UTF-8.
#include "desktop/ui/prompter.h"

#include "platform/win32/wide_text.h"

namespace veltrano::ui {
namespace {

int Show(HWND owner, const std::string& text, UINT flags) {
  return MessageBoxW(owner, Widen(text).c_str(), L"Veltrano", flags);
}

}  // namespace

void MessageBoxPrompter::Warn(HWND owner, const std::string& text) {
  Show(owner, text, MB_OK | MB_ICONWARNING);
}

void MessageBoxPrompter::Inform(HWND owner, const std::string& text) {
  Show(owner, text, MB_OK | MB_ICONINFORMATION);
}

bool MessageBoxPrompter::AskYesNo(HWND owner, const std::string& text) {
  return Show(owner, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace veltrano::ui
