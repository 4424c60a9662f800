// The "Traffic Rates Recorder" dialog: per adapter, whether to record, every how many seconds,
// in which number style and to which file. OK checks every recording row before it closes.
#pragma once

#include <windows.h>

#include "desktop/help_topics.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/list_view.h"
#include "desktop/ui/prompter.h"
#include "platform/file_system.h"
#include "view/recorder_dialog_model.h"

namespace veltrano {

class RatesRecorderDialog : public ui::Dialog {
 public:
  const wchar_t* HelpTopic() const override { return help::kRatesRecorder; }
  RatesRecorderDialog(HINSTANCE instance, const AdapterList& adapters, FileSystem& files, ui::Prompter& prompter);

  // The rows as accepted, in the table's order.
  const RecorderDialogModel& Model() const { return model_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  bool OnNotify(NMHDR& header) override;
  void OnOK() override;
  void OnDpiChanged(int dpi) override;

 private:
  int SelectedRow() const;
  void ShowRow(int row);
  void LoadControls();
  void EnableControls();
  void OnRecordClicked();
  void OnBrowse();

  RecorderDialogModel model_;
  FileSystem& files_;
  ui::Prompter& prompter_;
  ui::ListView list_;
  int columnsDpi_ = 0;    // the DPI the column widths were set for
  bool loading_ = false;  // control notifications caused by loading a row are not edits
};

}  // namespace veltrano
