// The "Stopwatch" dialog: times a transfer on one adapter from the samples the main window's
// sampler adds to that adapter's rate history, with its own one-second clock.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "desktop/help_topics.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "engine/adapter_entry.h"
#include "view/stopwatch.h"

namespace veltrano {

struct StopwatchSwitches {
  bool alwaysOnTop = false;
  bool resetGraph = false;
};

class CStopwatchDlg : public ui::Dialog {
 public:
  const wchar_t* HelpTopic() const override { return help::kStopwatch; }
  // resetRates does what the main window's "Reset Rates" does for one adapter. unitBytes is the
  // rate unit for the whole life of the dialog.
  CStopwatchDlg(HINSTANCE instance, AdapterList& rows, StopwatchSwitches switches, bool unitBytes,
                std::function<void(AdapterEntry&)> resetRates, ui::Prompter& prompter);
  ~CStopwatchDlg() override;

  // The switches as the dialog was closed with.
  const StopwatchSwitches& Switches() const { return switches_; }
  const Stopwatch& Measurement() const { return watch_; }

  static constexpr UINT_PTR kClockTimer = 1;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  bool OnCommand(WORD id, WORD notifyCode, HWND control) override;
  void OnCancel() override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  void OnDpiChanged(int dpi) override;

 private:
  void SetIcon(int dpi);
  void SetClockFont(int dpi);
  void OnStartStop();
  void Start();
  void Stop();
  void Update();
  void Display();
  void SetTextIfChanged(int id, const std::string& text);
  void PlaceInTopmostBand(bool topmost);
  void DrawClock(const DRAWITEMSTRUCT& item);

  AdapterList& rows_;
  std::vector<AdapterEntry*> listed_;
  StopwatchSwitches switches_;
  bool unitBytes_;
  std::function<void(AdapterEntry&)> resetRates_;
  ui::Prompter& prompter_;
  Stopwatch watch_;
  AdapterEntry* measured_ = nullptr;
  HFONT clockFont_ = nullptr;
  HICON icon_ = nullptr;
};

}  // namespace veltrano
