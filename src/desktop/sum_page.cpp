// Common behaviour of the traffic reports pages.
#include "desktop/sum_page.h"

#include "desktop/summary_sheet.h"
#include "platform/win32/wide_text.h"
#include "view/reports_window.h"

namespace veltrano {

INT_PTR CSumPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kRefreshTimer) {
    if (active_) {
      BuildIfNeeded();
      Refresh();
    }
    return TRUE;
  }
  if (message == WM_DESTROY) KillTimer(Handle(), kRefreshTimer);
  return ui::PropertyPage::HandleMessage(message, wParam, lParam);
}

void CSumPage::OnInitDialog() {
  sheet_.PageCreated(Handle());
  SetUpControls();
}

void CSumPage::BuildIfNeeded() {
  const AdapterEntry* adapter = sheet_.Adapter();
  const std::int32_t kind = adapter ? adapter->kind : sheet_.State().adapterKind;
  const AdapterId id = adapter ? adapter->id : sheet_.State().adapterId;
  const LogDate today = LogDate::Of(sheet_.Context().today());
  if (!built_.Needed(kind, id, today)) return;
  WaitCursor wait;
  Build();
  built_.Done(kind, id, today);
}

void CSumPage::OnSetActive() {
  active_ = true;
  sheet_.PageActivated(index_);
  BuildIfNeeded();
  Refresh();
  SetTimer(Handle(), kRefreshTimer, 1000, nullptr);
}

bool CSumPage::OnKillActive() {
  active_ = false;
  KillTimer(Handle(), kRefreshTimer);
  return true;
}

void CSumPage::AdapterChanged() {
  if (!active_ || !Handle()) return;
  OnSetActive();
}

void CSumPage::ExportTable(ReportKind kind, const ReportTable& table, const ReportInput& input) {
  ReportsContext& context = sheet_.Context();
  HWND owner = GetParent(Handle());
  int filterIndex = 1;
  std::string path;
  if (!context.dialogs.ChooseSaveFile(owner, ExportDialogTitle(kind), kExportFilter, std::string(), filterIndex, path))
    return;
  const ExportFormat format = ExportFormatOfFilter(filterIndex);
  path = WithExportExtension(path, format);
  std::unique_ptr<File> file = context.files.Open(path, FileMode::kReplace);
  if (!file) {
    context.prompter.Warn(owner, ExportCreateFailedText(path));
    return;
  }
  bool written = false;
  {
    WaitCursor wait;
    written = WriteReport(*file, table, input, format);
    file.reset();
  }
  // A file that could not be written whole is not reported as exported.
  if (!written) {
    context.prompter.Warn(owner, ExportCreateFailedText(path));
    return;
  }
  if (context.prompter.AskYesNo(owner, ExportDoneQuestion(kind, path))) context.dialogs.OpenWithShell(owner, path);
}

void CSumPage::SetTextIfChanged(int id, const std::string& text) {
  wchar_t shown[256];
  const int length = GetDlgItemTextW(Handle(), id, shown, 256);
  const std::wstring wanted = Widen(text);
  if (wanted.compare(0, std::wstring::npos, shown, static_cast<size_t>(length)) != 0)
    SetDlgItemTextW(Handle(), id, wanted.c_str());
}

}  // namespace veltrano
