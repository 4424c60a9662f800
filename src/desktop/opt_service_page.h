// The "Service" page of the options sheet: the service switch, what the service does besides
// logging, and its scheduled reports.
#pragma once

#include "desktop/help_topics.h"
#include "desktop/opt_page.h"
#include "desktop/options_sheet.h"
#include "desktop/report_list.h"
#include "platform/file_system.h"

namespace veltrano {

class COptServicePage : public COptPage {
 public:
  const wchar_t* HelpTopic() const override { return help::kOptionsService; }
  COptServicePage(HINSTANCE instance, ServiceSettings& data, const AdapterList& adapters, FileSystem& files,
                  ui::Prompter& prompter, HWND mainWindow);

  // Replaces the "Report" dialog (tests).
  void SetReportEditor(CReportList::Editor editor) { editor_ = std::move(editor); }

 protected:
  void OnInitDialog() override;
  bool OnApply() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  bool OnNotify(NMHDR& header) override;
  void OnDpiChanged(int dpi) override;

 private:
  bool EditInDialog(ScheduledReport& report);
  void EnableControls();

  ServiceSettings& data_;
  const AdapterList& adapters_;
  FileSystem& files_;
  CReportList::Editor editor_;
  CReportList reports_;
};

}  // namespace veltrano
