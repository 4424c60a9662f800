// Property sheet and page bases: the page record carries the page object to its procedure.
#include "desktop/ui/property_sheet.h"

#include "desktop/ui/dialog.h"
#include "desktop/ui/dpi.h"
#include "desktop/ui/shell.h"

namespace veltrano::ui {
namespace {

constexpr UINT_PTR kDpiSubclassId = 0x44;

}  // namespace

PROPSHEETPAGEW PropertyPage::Record() {
  PROPSHEETPAGEW record{};
  record.dwSize = sizeof record;
  record.hInstance = instance_;
  if (memoryTemplate_) {
    record.dwFlags = PSP_DLGINDIRECT;
    record.pResource = memoryTemplate_;
  } else {
    record.pszTemplate = MAKEINTRESOURCEW(templateId_);
  }
  record.pfnDlgProc = &PropertyPage::PageProc;
  record.lParam = reinterpret_cast<LPARAM>(this);
  return record;
}

void PropertyPage::SetModified() {
  if (filling_ || !window_) return;
  SendMessageW(GetParent(window_), PSM_CHANGED, reinterpret_cast<WPARAM>(window_), 0);
}

bool PropertyPage::OnCommand(WORD, WORD, HWND) {
  return false;
}

bool PropertyPage::OnNotify(NMHDR&) {
  return false;
}

INT_PTR PropertyPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      if (sheet_) sheet_->Watch(GetParent(window_));
      FillingGuard guard(*this);
      initialized_ = true;
      OnInitDialog();
      return TRUE;
    }
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      switch (header.code) {
        case PSN_APPLY:
          SetResult(OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
          return TRUE;
        case PSN_KILLACTIVE:
          SetResult(OnKillActive() ? FALSE : TRUE);
          return TRUE;
        case PSN_SETACTIVE:
          OnSetActive();
          SetResult(0);
          return TRUE;
        case PSN_RESET:
          OnReset();
          return TRUE;
        case PSN_HELP:
          if (!HelpTopic()) break;
          OpenHelpTopic(window_, HelpTopic());
          return TRUE;
      }
      return OnNotify(header) ? TRUE : FALSE;
    }
    case WM_HELP:
      if (!HelpTopic()) return FALSE;
      OpenHelpTopic(window_, HelpTopic());
      return TRUE;
  }
  return FALSE;
}

INT_PTR PropertyPage::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleMessage(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

// The page record given to WM_INITDIALOG holds the page object in its lParam.
INT_PTR CALLBACK PropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* created = reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
    created->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

PropertySheetDialog::~PropertySheetDialog() {
  Unwatch();
  DestroyModeless();
}

void PropertySheetDialog::Watch(HWND sheet) {
  if (!sheet || sheet == watched_) return;
  Unwatch();
  if (SetWindowSubclass(sheet, &PropertySheetDialog::SheetProc, kDpiSubclassId, reinterpret_cast<DWORD_PTR>(this)))
    watched_ = sheet;
}

void PropertySheetDialog::Unwatch() {
  if (watched_) RemoveWindowSubclass(watched_, &PropertySheetDialog::SheetProc, kDpiSubclassId);
  watched_ = nullptr;
}

// Exceptions stay inside, as in the dialog procedures.
LRESULT CALLBACK PropertySheetDialog::SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR self) {
  auto* sheet = reinterpret_cast<PropertySheetDialog*>(self);
  try {
    if (message == WM_DPICHANGED) {
      const int dpi = DpiFromDpiChanged(wParam);
      sheet->OnDpiChanged(window, dpi);
      for (PropertyPage* page : sheet->pages_) page->DpiChanged(dpi);
      TakeSuggestedRect(window, lParam);
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      // The sheet's own handling (a system that rescales its layout) follows.
    }
    if (message == WM_NCDESTROY) sheet->Unwatch();
  } catch (...) {
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

INT_PTR PropertySheetDialog::Show(HWND owner, int startPage, bool modeless) {
  std::vector<PROPSHEETPAGEW> records;
  records.reserve(pages_.size());
  for (PropertyPage* page : pages_) records.push_back(page->Record());
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | (modeless ? PSH_MODELESS : 0);
  header.hwndParent = owner;
  header.hInstance = instance_;
  header.pszCaption = caption_.c_str();
  header.nPages = static_cast<UINT>(records.size());
  header.nStartPage = static_cast<UINT>(startPage);
  header.ppsp = records.data();
  OnPrepare(header);
  return PropertySheetW(&header);
}

bool PropertySheetDialog::RunModal(HWND owner, int startPage) {
  return Show(owner, startPage, false) > 0;
}

HWND PropertySheetDialog::CreateModeless(HWND owner, int startPage) {
  if (window_) return window_;
  window_ = reinterpret_cast<HWND>(Show(owner, startPage, true));
  if (window_) RegisterModeless(window_);
  return window_;
}

bool PropertySheetDialog::Finished() const {
  return !window_ || SendMessageW(window_, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

void PropertySheetDialog::DestroyModeless() {
  if (!window_) return;
  UnregisterModeless(window_);
  DestroyWindow(window_);
  window_ = nullptr;
}

}  // namespace veltrano::ui
