// What the options pages share: the control font at the page's DPI, the hand-off to the main
// window and the refusal of a field (switching the sheet to the page first).
#pragma once

#include <windows.h>

#include <string>

#include "desktop/ui/prompter.h"
#include "desktop/ui/property_sheet.h"

namespace veltrano {

class COptPage : public ui::PropertyPage {
 public:
  COptPage(HINSTANCE instance, int templateId, ui::Prompter& prompter, HWND mainWindow)
      : ui::PropertyPage(instance, templateId), prompter_(prompter), mainWindow_(mainWindow) {}

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDpiChanged(int dpi) override;

  // Sends WM_OPTIONS_APPLY with the page code and the page's data.
  void HandOver(WPARAM code, void* data);
  void Refuse(int focusId, const std::string& message);
  // Marks the page modified on the usual change notifications of buttons, edits and lists.
  void MarkModifiedOnChange(WORD notifyCode);

  ui::Prompter& prompter_;
  HWND mainWindow_;
};

}  // namespace veltrano
