// The options pages' common behaviour.
#include "desktop/opt_page.h"

#include <shellapi.h>

#include "desktop/options_controls.h"
#include "desktop/options_sheet.h"

namespace veltrano {

INT_PTR COptPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ApplyControlFont(Handle());
  return ui::PropertyPage::HandleMessage(message, wParam, lParam);
}

// "Help" opens the program's help file when it is there; the sheet has nothing else to show.
bool COptPage::OnNotify(NMHDR& header) {
  if (header.code != PSN_HELP) return false;
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return true;
  std::wstring help(path, length);
  help = help.substr(0, help.find_last_of(L'\\') + 1) + L"Pellacor.chm";
  if (GetFileAttributesW(help.c_str()) != INVALID_FILE_ATTRIBUTES)
    ShellExecuteW(Handle(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return true;
}

void COptPage::HandOver(WPARAM code, void* data) {
  if (mainWindow_) SendMessageW(mainWindow_, WM_OPTIONS_APPLY, code, reinterpret_cast<LPARAM>(data));
}

void COptPage::Refuse(int focusId, const std::string& message) {
  ShowRefusedPage(Handle());
  RefuseField(Handle(), focusId, prompter_, message);
}

void COptPage::MarkModifiedOnChange(WORD notifyCode) {
  if (notifyCode == BN_CLICKED || notifyCode == EN_CHANGE || notifyCode == CBN_SELCHANGE) SetModified();
}

}  // namespace veltrano
