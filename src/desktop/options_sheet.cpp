// The options sheet: its pages in order, its caption, icon, buttons and font.
#include "desktop/options_sheet.h"

#include "desktop/opt_adapters_page.h"
#include "desktop/opt_general_page.h"
#include "desktop/opt_graph_text_page.h"
#include "desktop/opt_service_page.h"
#include "desktop/options_controls.h"
#include "desktop/ui/dpi.h"

namespace veltrano {
namespace {

constexpr int kProgramIcon = 128;
constexpr int kApplyButton = 0x3021;

void CentreOnDesktop(HWND window) {
  RECT rect, work;
  GetWindowRect(window, &rect);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

OptionsSheetData OptionsSheetData::From(const Options& options, bool layeredWindows, const AdapterList& table,
                                        const ServiceSettings& service) {
  OptionsSheetData data;
  data.general.options = options;
  data.general.layeredWindows = layeredWindows;
  data.graphText = options;
  data.adapters.rows = AdapterPageRows(table);
  data.adapters.tray = options;
  data.service = service;
  data.table = table;
  return data;
}

COptionsSheet::COptionsSheet(HINSTANCE instance, OptionsSheetData& data, HWND mainWindow, ui::Prompter& prompter,
                             FileSystem& files)
    : ui::PropertySheetDialog(instance, L"Veltrano Options"),
      general_(std::make_unique<COptGeneralPage>(instance, data.general, prompter, mainWindow)),
      graphText_(std::make_unique<COptGraphTextPage>(instance, data.graphText, prompter, mainWindow)),
      adapters_(std::make_unique<COptAdaptersPage>(instance, data.adapters, data.table, prompter, mainWindow)),
      service_(std::make_unique<COptServicePage>(instance, data.service, data.table, files, prompter, mainWindow)) {}

COptionsSheet::~COptionsSheet() {
  DestroyModeless();
  if (icon_) DestroyIcon(icon_);
}

void COptionsSheet::AddPages() {
  if (pagesAdded_) return;
  pagesAdded_ = true;
  AddPage(*general_);
  AddPage(*graphText_);
  AddPage(*adapters_);
  if (notificationPage_) AddPage(*notificationPage_);
  AddPage(*service_);
}

void COptionsSheet::OnPrepare(PROPSHEETHEADERW& header) {
  // The sheet keeps the caption's icon: one the system loaded from its id was never freed, an icon
  // lost on every opening.
  if (HICON icon = LoadSmallIcon(ui::SystemDpi())) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
    header.dwFlags |= PSH_USEHICON;
    header.hIcon = icon_;
  }
  header.dwFlags |= PSH_HASHELP | PSH_USECALLBACK;
  header.pfnCallback = &COptionsSheet::SheetCallback;
  // Every page offers "Help"; the sheet shows the button only then.
  auto* records = const_cast<PROPSHEETPAGEW*>(header.ppsp);
  for (UINT index = 0; index < header.nPages; ++index) records[index].dwFlags |= PSP_HASHELP;
}

void COptionsSheet::OnDpiChanged(HWND sheet, int dpi) {
  ApplyControlFont(sheet, dpi);
  if (HICON icon = LoadSmallIcon(dpi)) {
    SendMessageW(sheet, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }
}

HICON COptionsSheet::LoadSmallIcon(int dpi) const {
  const int size = ui::SystemMetricForDpi(SM_CXSMICON, dpi);
  return static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, size, size, 0));
}

int CALLBACK COptionsSheet::SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message != PSCB_INITIALIZED) return 0;
  SetWindowLongPtrW(sheet, GWL_EXSTYLE, GetWindowLongPtrW(sheet, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  SetWindowLongPtrW(sheet, GWL_STYLE, GetWindowLongPtrW(sheet, GWL_STYLE) | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  SetWindowPos(sheet, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetDlgItemTextW(sheet, IDOK, L"OK");
  SetDlgItemTextW(sheet, IDCANCEL, L"Cancel");
  SetDlgItemTextW(sheet, kApplyButton, L"&Apply");
  SetDlgItemTextW(sheet, IDHELP, L"Help");
  ApplyControlFont(sheet);
  CentreOnDesktop(sheet);
  return 0;
}

void ShowRefusedPage(HWND page) {
  HWND sheet = GetParent(page);
  if (!sheet) return;
  if (reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) == page) return;
  const LRESULT index = SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
  if (index >= 0) SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

}  // namespace veltrano
