// The "Report" dialog of the service page: one scheduled report's type, adapter, interval and
// target file.
#pragma once

#include "desktop/help_topics.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "engine/adapter_entry.h"
#include "platform/file_system.h"
#include "settings/scheduled_report.h"

namespace veltrano {

class CReportDlg : public ui::Dialog {
 public:
  const wchar_t* HelpTopic() const override { return help::kReportDialog; }
  // `report` is edited in place on OK; its countdown is kept.
  CReportDlg(HINSTANCE instance, ScheduledReport& report, const AdapterList& adapters, FileSystem& files,
             ui::Prompter& prompter);

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  void OnOK() override;
  void OnDpiChanged(int dpi) override;

 private:
  void Browse();

  ScheduledReport& report_;
  const AdapterList& adapters_;
  FileSystem& files_;
  ui::Prompter& prompter_;
};

}  // namespace veltrano
