// The options sheet: "Veltrano Options" with the General, Graph & Text, Adapters, Notification and
// Service pages. Each page edits its own copy of the main window's settings and, when accepted,
// hands it to the main window with WM_OPTIONS_APPLY; the sheet itself applies and saves nothing.
#pragma once

#include <windows.h>

#include <memory>

#include "desktop/ui/prompter.h"
#include "desktop/ui/property_sheet.h"
#include "engine/adapter_entry.h"
#include "platform/file_system.h"
#include "settings/options.h"
#include "settings/service_settings.h"
#include "view/adapters_page_model.h"

#ifndef WM_OPTIONS_APPLY
// wParam: the page code (201..205); lParam: the page's data.
#define WM_OPTIONS_APPLY (WM_USER + 129)
#endif

namespace veltrano {

constexpr WPARAM kGeneralPageCode = 201;
constexpr WPARAM kGraphTextPageCode = 202;
constexpr WPARAM kAdaptersPageCode = 203;
constexpr WPARAM kServicePageCode = 205;

// lParam of code 201: the page's options with every General value accepted.
struct GeneralPageData {
  Options options;
  bool layeredWindows = true;
};

// lParam of code 203: the rows in page order and the tray group's new values.
struct AdaptersPageData {
  std::vector<AdapterPageRow> rows;
  Options tray;
};

// The sheet's copies, taken from the main window when the sheet is built. Code 202 hands over
// `graphText`, code 205 `service`.
struct OptionsSheetData {
  GeneralPageData general;
  Options graphText;
  AdaptersPageData adapters;
  ServiceSettings service;
  AdapterList table;  // the adapter table as it stood when the sheet opened (lists, "&Reset")

  // Everything from the main window's current state.
  static OptionsSheetData From(const Options& options, bool layeredWindows, const AdapterList& table,
                               const ServiceSettings& service);
};

class COptGeneralPage;
class COptGraphTextPage;
class COptAdaptersPage;
class COptServicePage;

class COptionsSheet : public ui::PropertySheetDialog {
 public:
  COptionsSheet(HINSTANCE instance, OptionsSheetData& data, HWND mainWindow, ui::Prompter& prompter, FileSystem& files);
  ~COptionsSheet() override;

  // The notification page is built by the main window (it needs the mail and sound services) and
  // goes fourth; without it the sheet has four pages.
  void SetNotificationPage(ui::PropertyPage& page) { notificationPage_ = &page; }

  // Adds the pages in their order; call once before running the sheet.
  void AddPages();

 protected:
  void OnPrepare(PROPSHEETHEADERW& header) override;
  void OnDpiChanged(HWND sheet, int dpi) override;

 private:
  static int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM lParam);
  HICON LoadSmallIcon(int dpi) const;

  HICON icon_ = nullptr;  // the caption's, at the sheet's DPI

  std::unique_ptr<COptGeneralPage> general_;
  std::unique_ptr<COptGraphTextPage> graphText_;
  std::unique_ptr<COptAdaptersPage> adapters_;
  std::unique_ptr<COptServicePage> service_;
  ui::PropertyPage* notificationPage_ = nullptr;
  bool pagesAdded_ = false;
};

// A refused page: the sheet switches to it when it is not the active one.
void ShowRefusedPage(HWND page);

}  // namespace veltrano
