// The "Adapters" page of the options sheet: which adapters have a graph pane, their names and
// connection speeds, and the tray icon's adapter and tips.
#pragma once

#include <vector>

#include "desktop/help_topics.h"
#include "desktop/opt_page.h"
#include "desktop/options_sheet.h"
#include "desktop/ui/list_view.h"
#include "view/adapters_page_model.h"

namespace veltrano {

class COptAdaptersPage : public COptPage {
 public:
  const wchar_t* HelpTopic() const override { return help::kOptionsAdapters; }
  // `table` is the adapter table as it stood when the sheet opened.
  COptAdaptersPage(HINSTANCE instance, AdaptersPageData& data, const AdapterList& table, ui::Prompter& prompter,
                   HWND mainWindow);

 protected:
  void OnInitDialog() override;
  bool OnApply() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  bool OnNotify(NMHDR& header) override;

 private:
  void FillList();
  void FillTrayList(int selection);
  void ReadChecks();
  int SelectedRow() const;
  void ShowSelection();
  void EnableTray();
  void OnNameChanged();
  void OnConnectionChanged();
  void OnCustomSpeedChanged();
  void OnReset();
  void OnSort(int column);

  AdaptersPageData& data_;
  const AdapterList& table_;
  std::vector<AdapterPageRow> rows_;  // in the list's order
  ui::ListView list_;
  ListSortState sort_;
};

}  // namespace veltrano
