// The traffic reports window: a property sheet of the summary, daily, weekly and monthly pages
// for one adapter at a time, chosen in a drop-down list in its button row, with "&Export" and
// "Clea&r" beside "&Close".
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/local_time.h"
#include "desktop/summary_file_dialogs.h"
#include "desktop/ui/prompter.h"
#include "desktop/ui/property_sheet.h"
#include "engine/adapter_entry.h"
#include "engine/traffic_log.h"
#include "platform/file_system.h"
#include "reports/report_periods.h"
#include "view/reports_window.h"

namespace veltrano {

class CSumPage;

// What the main window lends the sheet for one run.
struct ReportsContext {
  AdapterList& rows;
  TrafficLog& log;  // may be closed: the desktop then runs without a log
  FileSystem& files;
  std::string openLogPath;  // the log in use (open or not)
  std::uint32_t weekStartDay = 0;
  std::uint32_t monthStartDay = 1;
  std::uint32_t dateFormat = 17;
  std::function<LocalTime()> today;  // the date of the sampler's last tick
  std::function<void()> clearLog;    // the main window's "clear all traffic logs"
  ui::Prompter& prompter;
  ReportsFileDialogs& dialogs;
  bool serviceWritesLog = false;  // the desktop only reads the log: there is nothing it may clear
};

class CSummarySheet : public ui::PropertySheetDialog {
 public:
  // state is read at opening and written back while the sheet runs (adapter, page, N, log path).
  CSummarySheet(HINSTANCE instance, ReportsContext& context, ReportsWindowState& state);
  ~CSummarySheet() override;

  // Modal run from the main window; starts on the remembered page.
  void Run(HWND owner);
  // Modeless (tests, screenshots).
  HWND Open(HWND owner);

  ReportsContext& Context() { return context_; }
  ReportsWindowState& State() { return state_; }
  // The sheet's adapter: its row (null when it has gone) and its name.
  AdapterEntry* Adapter() const { return adapter_; }
  std::string AdapterName() const;
  // What the report builders need for the sheet's adapter today (live counters left at 0).
  ReportInput Input() const;
  std::uint64_t LiveIn() const { return adapter_ ? adapter_->todayIn : 0; }
  std::uint64_t LiveOut() const { return adapter_ ? adapter_->todayOut : 0; }

  // Called by each page when it is first created (the sheet's own set-up runs with the first)
  // and when it becomes active.
  void PageCreated(HWND page);
  void PageActivated(int index);

 protected:
  void OnPrepare(PROPSHEETHEADERW& header) override;

 private:
  static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);
  bool OnSheetCommand(WORD id, WORD code);
  void SetUp(HWND sheet);
  void LayOutButtonRow();
  void SelectAdapter(size_t index);
  void OnAdapterChosen();
  void OnExport();
  void OnClear();
  void UpdateCaption();
  CSumPage* ActivePage();

  ReportsContext& context_;
  ReportsWindowState& state_;
  std::unique_ptr<CSumPage> summary_;
  std::unique_ptr<CSumPage> daily_;
  std::unique_ptr<CSumPage> weekly_;
  std::unique_ptr<CSumPage> monthly_;
  std::array<CSumPage*, kReportsPages> pages_{};
  HWND sheet_ = nullptr;
  AdapterEntry* adapter_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace veltrano
