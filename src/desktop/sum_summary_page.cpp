// Summary page: lines and the log file buttons.
#include "desktop/sum_summary_page.h"

#include <commctrl.h>

#include "core/text.h"
#include "desktop/resources/reports_ids.h"
#include "desktop/summary_sheet.h"
#include "desktop/ui/dpi.h"
#include "engine/log_location.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

constexpr int kHeadingFontHeight = 16;  // pixels at 96 DPI
const char* const kHints =
    "* Click combo-box below to choose other adapters\n* Units: 1B = 8bits; 1KB = 1024B; 1MB = 1024KB; 1GB = 1024MB; "
    "1TB = 1024GB";

}  // namespace

CSumSummaryPage::CSumSummaryPage(HINSTANCE instance, CSummarySheet& sheet, int index)
    : CSumPage(instance, IDD_SUM_SUMMARY, sheet, index) {}

CSumSummaryPage::~CSumSummaryPage() {
  if (headingFont_) DeleteObject(headingFont_);
}

void CSumSummaryPage::SetUpControls() {
  OnDpiChanged(ui::WindowDpi(Handle()));
  SendMessageW(Item(IDC_SUM_DAYS_SPIN), UDM_SETRANGE32, 1, kMaxLastDays);
  SetDlgItemTextW(Handle(), IDC_SUM_DAYS, std::to_wstring(sheet_.State().sumLastDays).c_str());
  SetDlgItemTextW(Handle(), IDC_SUM_HINTS, Widen(kHints).c_str());
  ShowLogPath();
  setUp_ = true;
}

// The heading's font, made at dpi; the old one goes once the heading holds the new one.
void CSumSummaryPage::OnDpiChanged(int dpi) {
  ui::ReplaceControlFont(Item(IDC_SUM_HEADING), headingFont_, ui::CreateTahomaFont(kHeadingFontHeight, FW_BOLD, dpi));
}

// The heading's date follows the lines: a build after midnight counts up to the new day.
void CSumSummaryPage::Build() {
  SetDlgItemTextW(Handle(), IDC_SUM_UNTIL, Widen(UntilTodayText(sheet_.Context().today())).c_str());
  ReportInput input = sheet_.Input();
  input.sumLastDays = sheet_.State().sumLastDays;  // the N in effect
  model_.Build(input, sheet_.Context().log);
}

void CSumSummaryPage::LogCleared() {
  if (!Handle()) return;
  model_.ResetToToday(sheet_.Input());
  Refresh();
}

void CSumSummaryPage::Refresh() {
  const std::uint64_t in = sheet_.LiveIn(), out = sheet_.LiveOut();
  for (int row = 0; row < kSummaryRows; ++row) {
    const auto cells = model_.Cells(static_cast<SummaryRow>(row), in, out);
    for (int column = 0; column < 3; ++column) SetTextIfChanged(IDC_SUM_VALUE_FIRST + row * 3 + column, cells[column]);
  }
}

bool CSumSummaryPage::OnCommand(WORD id, WORD notifyCode, HWND) {
  if (id == IDC_SUM_DAYS && notifyCode == EN_CHANGE) {
    OnLastDaysChanged();
    return true;
  }
  if (notifyCode != BN_CLICKED) return false;
  switch (id) {
    case IDC_SUM_LOG_CHANGE:
      OnChangeLog();
      return true;
    case IDC_SUM_LOG_BACKUP:
      OnBackupLog();
      return true;
    case IDC_SUM_LOG_RESTORE:
      OnRestoreLog();
      return true;
  }
  return false;
}

void CSumSummaryPage::OnLastDaysChanged() {
  if (!setUp_ || Filling()) return;
  wchar_t text[32] = {};
  GetDlgItemTextW(Handle(), IDC_SUM_DAYS, text, 32);
  const int n = ParseLastDays(Narrow(text, wcslen(text)), model_.LastDays());
  model_.SetLastDays(n, sheet_.Context().log);
  sheet_.State().sumLastDays = static_cast<std::uint32_t>(model_.LastDays());
  Refresh();
}

void CSumSummaryPage::ShowLogPath() {
  SetDlgItemTextW(Handle(), IDC_SUM_LOG_PATH, Widen(sheet_.State().logPath).c_str());
}

void CSumSummaryPage::OnChangeLog() {
  ReportsContext& context = sheet_.Context();
  HWND owner = GetParent(Handle());
  int filterIndex = 1;
  std::string path;
  if (!context.dialogs.ChooseSaveFile(owner, kChooseLogDialogTitle, kLogFileFilter, "log", filterIndex, path)) return;
  sheet_.State().logPath = path;
  ShowLogPath();
  context.prompter.Inform(owner, kRestartNote);
}

void CSumSummaryPage::OnBackupLog() {
  ReportsContext& context = sheet_.Context();
  HWND owner = GetParent(Handle());
  int filterIndex = 1;
  std::string target;
  if (!context.dialogs.ChooseSaveFile(owner, kBackupDialogTitle, kLogFileFilter, "log", filterIndex, target)) return;
  if (BackupMessage(BackupLog(context.files, context.openLogPath, target)) == LogCopyMessage::kCopyFailed)
    context.prompter.Warn(owner, kCopyFailedText);
}

void CSumSummaryPage::OnRestoreLog() {
  ReportsContext& context = sheet_.Context();
  HWND owner = GetParent(Handle());
  std::string source;
  if (!context.dialogs.ChooseExistingFile(owner, kLogFileFilter, "log", source)) return;
  std::string newPath;
  switch (
      UseExistingMessage(UseExistingLog(context.files, context.openLogPath, sheet_.State().logPath, source, newPath))) {
    case LogCopyMessage::kRestartNote:
      sheet_.State().logPath = newPath;
      ShowLogPath();
      context.prompter.Inform(owner, kRestartNote);
      break;
    case LogCopyMessage::kCopyFailed:
      context.prompter.Warn(owner, kCopyFailedText);
      break;
    case LogCopyMessage::kNone:
      break;
  }
}

void CSumSummaryPage::Export() {
  const std::uint64_t in = sheet_.LiveIn(), out = sheet_.LiveOut();
  ExportTable(ReportKind::kSummary, model_.ExportTable(in, out, sheet_.AdapterName()), model_.ExportInput(in, out));
}

}  // namespace veltrano
