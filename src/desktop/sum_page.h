// What the four pages of the traffic reports window share: their place in the sheet, the news
// the sheet brings them (another adapter, a cleared log, export) and the live refresh timer, which
// also builds the rows again when the date moves on.
#pragma once

#include <windows.h>

#include <string>

#include "desktop/help_topics.h"
#include "desktop/ui/property_sheet.h"
#include "reports/report_export.h"
#include "view/reports_window.h"

namespace veltrano {

class CSummarySheet;

class CSumPage : public ui::PropertyPage {
 public:
  const wchar_t* HelpTopic() const override { return help::kTrafficReports; }
  CSumPage(HINSTANCE instance, int templateId, CSummarySheet& sheet, int index)
      : ui::PropertyPage(instance, templateId), sheet_(sheet), index_(index) {}

  int Index() const { return index_; }
  // The sheet's adapter changed; the active page rebuilds at once, the others when next shown
  // (as after a date change).
  void AdapterChanged();
  // The log was cleared: a created page shows today's traffic only, without reading the log.
  virtual void LogCleared() = 0;
  // Writes the page's report to a file the user chooses.
  virtual void Export() = 0;
  bool Active() const { return active_; }

  static constexpr UINT_PTR kRefreshTimer = 1;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnInitDialog() override;
  void OnSetActive() override;
  bool OnKillActive() override;

  // Fill the page's controls once.
  virtual void SetUpControls() = 0;
  // Read the log for the sheet's adapter.
  virtual void Build() = 0;
  // Today's live counters into the cells that show them.
  virtual void Refresh() = 0;

  // The desktop export sequence: save dialog, extension, create, write, offer to open.
  void ExportTable(ReportKind kind, const ReportTable& table, const ReportInput& input);
  void SetTextIfChanged(int id, const std::string& text);

  CSummarySheet& sheet_;

 private:
  void BuildIfNeeded();

  int index_;
  bool active_ = false;
  PageBuildMark built_;
};

// The wait cursor while a page reads the log or writes a file.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace veltrano
