// The summary page of the traffic reports window: today, this week, month and year, the last N
// days and the total, following today's live counters; the traffic log path and its buttons.
#pragma once

#include <windows.h>

#include "desktop/sum_page.h"
#include "view/summary_view.h"

namespace veltrano {

class CSumSummaryPage : public CSumPage {
 public:
  CSumSummaryPage(HINSTANCE instance, CSummarySheet& sheet, int index);
  ~CSumSummaryPage() override;

  void LogCleared() override;
  void Export() override;
  const SummaryModel& Model() const { return model_; }

 protected:
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  void SetUpControls() override;
  void Build() override;
  void Refresh() override;
  void OnDpiChanged(int dpi) override;

 private:
  void OnLastDaysChanged();
  void OnChangeLog();
  void OnBackupLog();
  void OnRestoreLog();
  void ShowLogPath();

  SummaryModel model_;
  HFONT headingFont_ = nullptr;
  bool setUp_ = false;
};

}  // namespace veltrano
