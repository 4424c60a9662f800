// The "General" page of the options sheet: window behaviour, start-up, hot key, transparency,
// report calendar, margins, date format, display switches and the rate unit.
#pragma once

#include "desktop/help_topics.h"
#include "desktop/opt_page.h"
#include "desktop/options_sheet.h"

namespace veltrano {

class COptGeneralPage : public COptPage {
 public:
  const wchar_t* HelpTopic() const override { return help::kOptionsGeneral; }
  COptGeneralPage(HINSTANCE instance, GeneralPageData& data, ui::Prompter& prompter, HWND mainWindow);

 protected:
  void OnInitDialog() override;
  bool OnApply() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;

 private:
  void FillLists();
  void LoadFields();
  void EnableTransparency();

  GeneralPageData& data_;
};

}  // namespace veltrano
