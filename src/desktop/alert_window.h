// The alert window: what the rule saw, the period's running total once a second, the looping sound
// or beeps until stopped, and when to alert again.
#pragma once

#include <windows.h>

#include <string>

#include "desktop/help_topics.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "notify/beeper.h"
#include "view/desktop_notifier.h"

namespace veltrano {

class AlertWindow : public ui::Dialog {
 public:
  const wchar_t* HelpTopic() const override { return help::kAlertWindow; }
  AlertWindow(HINSTANCE instance, const AlertInputs& inputs, Beeper& beeper, ui::Prompter& prompter);
  ~AlertWindow() override;

  // The choice the window closed with.
  const NextAlertChoice& Choice() const { return choice_; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  void OnOK() override { OnClose(); }
  void OnCancel() override { OnClose(); }
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  void OnDpiChanged(int dpi) override;

 private:
  void SetIcons(int dpi);
  void SetFonts(int dpi);
  void StartSound();
  void StopSound();
  void UpdateRunningTotal();
  void EnableMinutes();
  void OnClose();
  INT_PTR OnColorStatic(HDC dc, HWND control);

  AlertInputs inputs_;
  Beeper& beeper_;
  ui::Prompter& prompter_;
  NextAlertChoice choice_;
  HFONT messageFont_ = nullptr;
  HFONT totalFont_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool soundPlaying_ = false;
  bool beeping_ = false;
};

// The program's icon at one size, or the system's application icon when the module has none;
// the caller destroys it.
HICON LoadProgramIcon(HINSTANCE instance, int size);

}  // namespace veltrano
