// The options pages' common behaviour.
#include "desktop/opt_page.h"

#include "desktop/options_controls.h"
#include "desktop/options_sheet.h"

namespace veltrano {

INT_PTR COptPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) ApplyControlFont(Handle());
  return ui::PropertyPage::HandleMessage(message, wParam, lParam);
}

void COptPage::OnDpiChanged(int dpi) {
  ApplyControlFont(Handle(), dpi);
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
