// The "Graph & Text" page of the options sheet: the graph's colours with their swatches, the four
// fonts, and the graph's proportions, grid styles and time labels.
#pragma once

#include <array>

#include "desktop/help_topics.h"
#include "desktop/opt_page.h"
#include "desktop/options_sheet.h"

namespace veltrano {

class COptGraphTextPage : public COptPage {
 public:
  const wchar_t* HelpTopic() const override { return help::kOptionsGraphText; }
  COptGraphTextPage(HINSTANCE instance, Options& data, ui::Prompter& prompter, HWND mainWindow);
  ~COptGraphTextPage() override;

  // The colours and fonts as the page holds them now (tests look at the swatches through this).
  const Options& Edited() const { return edited_; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnInitDialog() override;
  bool OnApply() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;

 private:
  void FillLists();
  void LoadNumbers();
  void RefreshSwatches();
  void PickColour(int index);
  void PickFont(LogFont& font);
  INT_PTR OnSwatchColour(HDC dc, HWND control);
  void ReleaseBrushes();

  Options& data_;
  Options edited_;  // colours and fonts picked on the page, until it is accepted
  std::array<HBRUSH, 15> brushes_{};
  COLORREF customColours_[16]{};
};

}  // namespace veltrano
