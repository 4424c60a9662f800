// Traffic reports sheet: button row, adapter choice, caption, and the commands it passes to its
// pages.
#include "desktop/summary_sheet.h"

#include <commctrl.h>

#include "desktop/resources/reports_ids.h"
#include "desktop/sum_list_pages.h"
#include "desktop/sum_summary_page.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

constexpr int kIconResource = 128;
constexpr int kButtonGap = 5;
constexpr int kComboGap = 10;
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

CSummarySheet::CSummarySheet(HINSTANCE instance, ReportsContext& context, ReportsWindowState& state)
    : ui::PropertySheetDialog(instance, L""), context_(context), state_(state) {
  summary_ = std::make_unique<CSumSummaryPage>(instance, *this, kSummaryPage);
  daily_ = std::make_unique<CSumDailyPage>(instance, *this, kDailyPage);
  weekly_ = std::make_unique<CSumWeeklyPage>(instance, *this, kWeeklyPage);
  monthly_ = std::make_unique<CSumMonthlyPage>(instance, *this, kMonthlyPage);
  pages_ = {summary_.get(), daily_.get(), weekly_.get(), monthly_.get()};
  for (CSumPage* page : pages_) AddPage(*page);
  const size_t index = ReportsAdapterIndex(context_.rows, state_.adapterKind, state_.adapterId);
  SelectAdapter(index);
  if (state_.logPath.empty()) state_.logPath = context_.openLogPath;
  icon_ = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

// A modeless sheet goes before its pages do: their windows still talk to them while it closes.
CSummarySheet::~CSummarySheet() {
  if (sheet_) RemoveWindowSubclass(sheet_, &CSummarySheet::SheetProc, kSubclassId);
  sheet_ = nullptr;
  DestroyModeless();
}

void CSummarySheet::SelectAdapter(size_t index) {
  adapter_ = nullptr;
  size_t position = 0;
  for (auto& row : context_.rows) {
    if (position++ != index) continue;
    adapter_ = &row;
    state_.adapterKind = row.kind;
    state_.adapterId = row.id;
    return;
  }
}

std::string CSummarySheet::AdapterName() const {
  return adapter_ ? adapter_->displayName : std::string(AggregateName(kAllConnections));
}

ReportInput CSummarySheet::Input() const {
  ReportInput input;
  input.kind = adapter_ ? adapter_->kind : state_.adapterKind;
  input.id = adapter_ ? adapter_->id : state_.adapterId;
  const LocalTime now = context_.today();
  input.today = LogDate::Of(now);
  input.todayDayOfWeek = now.dayOfWeek;
  input.weekStartDay = context_.weekStartDay;
  input.monthStartDay = context_.monthStartDay;
  input.sumLastDays = state_.sumLastDays;
  input.dateFormat = context_.dateFormat;
  return input;
}

void CSummarySheet::Run(HWND owner) {
  const int start = state_.activePage >= 0 && state_.activePage < kReportsPages ? state_.activePage : kSummaryPage;
  RunModal(owner, start);
  sheet_ = nullptr;
}

HWND CSummarySheet::Open(HWND owner) {
  const int start = state_.activePage >= 0 && state_.activePage < kReportsPages ? state_.activePage : kSummaryPage;
  return CreateModeless(owner, start);
}

void CSummarySheet::OnPrepare(PROPSHEETHEADERW& header) {
  header.dwFlags |= PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
  if (icon_) {
    header.dwFlags |= PSH_USEHICON;
    header.hIcon = icon_;
  }
}

void CSummarySheet::PageCreated(HWND page) {
  if (!sheet_) SetUp(GetParent(page));
}

void CSummarySheet::PageActivated(int index) {
  state_.activePage = index;
}

// Runs once, while the first page is created and before the sheet is shown.
void CSummarySheet::SetUp(HWND sheet) {
  sheet_ = sheet;
  SetWindowSubclass(sheet_, &CSummarySheet::SheetProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SetWindowLongPtrW(sheet_, GWL_EXSTYLE, GetWindowLongPtrW(sheet_, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  ShowWindow(GetDlgItem(sheet_, IDOK), SW_HIDE);
  EnableWindow(GetDlgItem(sheet_, IDOK), FALSE);
  SetDlgItemTextW(sheet_, IDCANCEL, L"&Close");
  LayOutButtonRow();

  HWND combo = GetDlgItem(sheet_, IDC_SHEET_ADAPTER);
  for (const auto& row : context_.rows)
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row.displayName).c_str()));
  SendMessageW(combo, CB_SETCURSEL, ReportsAdapterIndex(context_.rows, state_.adapterKind, state_.adapterId), 0);
  UpdateCaption();

  RECT rect;
  GetWindowRect(sheet_, &rect);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  SetWindowPos(sheet_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// "&Export" and "Clea&r" take the size of "&Close" and stand left of it; the adapter list fills
// the row from the tab control's left edge.
void CSummarySheet::LayOutButtonRow() {
  HWND close = GetDlgItem(sheet_, IDCANCEL);
  RECT button;
  GetWindowRect(close, &button);
  MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&button), 2);
  const int width = button.right - button.left, height = button.bottom - button.top;
  RECT tab{};
  HWND tabControl = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_GETTABCONTROL, 0, 0));
  if (tabControl) {
    GetWindowRect(tabControl, &tab);
    MapWindowPoints(nullptr, sheet_, reinterpret_cast<POINT*>(&tab), 2);
  }
  const int clearLeft = button.left - kButtonGap - width;
  const int exportLeft = clearLeft - kButtonGap - width;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(sheet_, WM_GETFONT, 0, 0));
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(sheet_, GWLP_HINSTANCE));
  const DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
  HWND exportButton = CreateWindowExW(0, L"BUTTON", L"&Export", buttonStyle, exportLeft, button.top, width, height,
                                      sheet_, reinterpret_cast<HMENU>(IDC_SHEET_EXPORT), instance, nullptr);
  HWND clearButton = CreateWindowExW(0, L"BUTTON", L"Clea&r", buttonStyle, clearLeft, button.top, width, height, sheet_,
                                     reinterpret_cast<HMENU>(IDC_SHEET_CLEAR), instance, nullptr);
  const int comboLeft = tabControl ? tab.left : 7;
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               comboLeft, button.top, exportLeft - kComboGap - comboLeft, height * 10, sheet_,
                               reinterpret_cast<HMENU>(IDC_SHEET_ADAPTER), instance, nullptr);
  for (HWND control : {exportButton, clearButton, combo})
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EnableWindow(clearButton, !context_.serviceWritesLog);
  // The keyboard follows the row from left to right: the list, "&Export", "Clea&r", then "&Close".
  HWND previous = GetWindow(close, GW_HWNDPREV);
  for (HWND control : {combo, exportButton, clearButton}) {
    if (!control) continue;
    SetWindowPos(control, previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
}

void CSummarySheet::UpdateCaption() {
  if (sheet_) SetWindowTextW(sheet_, Widen(ReportsCaption(AdapterName())).c_str());
}

CSumPage* CSummarySheet::ActivePage() {
  for (CSumPage* page : pages_)
    if (page->Active()) return page;
  return nullptr;
}

LRESULT CALLBACK CSummarySheet::SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
  auto* sheet = reinterpret_cast<CSummarySheet*>(self);
  try {
    if (message == WM_COMMAND && sheet->OnSheetCommand(LOWORD(wParam), HIWORD(wParam))) return 0;
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(window, &CSummarySheet::SheetProc, kSubclassId);
      sheet->sheet_ = nullptr;
    }
  } catch (...) {
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

bool CSummarySheet::OnSheetCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_SHEET_ADAPTER:
      if (code != CBN_SELCHANGE) return false;
      OnAdapterChosen();
      return true;
    case IDC_SHEET_EXPORT:
      if (code != BN_CLICKED) return false;
      OnExport();
      return true;
    case IDC_SHEET_CLEAR:
      if (code != BN_CLICKED) return false;
      OnClear();
      return true;
  }
  return false;
}

void CSummarySheet::OnAdapterChosen() {
  const LRESULT chosen = SendMessageW(GetDlgItem(sheet_, IDC_SHEET_ADAPTER), CB_GETCURSEL, 0, 0);
  if (chosen < 0) return;
  AdapterEntry* before = adapter_;
  SelectAdapter(static_cast<size_t>(chosen));
  if (adapter_ == before) return;
  UpdateCaption();
  if (CSumPage* page = ActivePage()) page->AdapterChanged();
}

void CSummarySheet::OnExport() {
  if (CSumPage* page = ActivePage()) page->Export();
}

// Nothing is asked while the service writes the log: the desktop could not delete a day of it.
void CSummarySheet::OnClear() {
  if (context_.serviceWritesLog) return;
  if (!context_.prompter.AskYesNo(sheet_, kClearLogQuestion)) return;
  if (context_.clearLog) context_.clearLog();
  for (CSumPage* page : pages_)
    if (page->WasInitialized()) page->LogCleared();
}

}  // namespace veltrano
