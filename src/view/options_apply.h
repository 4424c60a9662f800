// Carrying out an accepted options page in the main window: the steps of each page in their
// order, the settings stored and the save groups written. What a step does to a window is the
// host's; what is stored and saved is done here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "settings/settings_store.h"
#include "view/adapters_page_model.h"
#include "view/general_page_model.h"

namespace veltrano {

// The main window's side of an apply.
class OptionsApplyHost {
 public:
  virtual ~OptionsApplyHost() = default;
  virtual void RetitlePanes() = 0;
  // The notification rule's usage so far, for new period starts.
  virtual void RecomputeUsage() = 0;
  virtual void SetHotkey(HotkeyAction action, std::uint32_t oldLetter, std::uint32_t newLetter) = 0;
  virtual void ApplyAlwaysOnTop(bool onTop) = 0;
  virtual void ApplyShowCaption(bool show) = 0;
  virtual void ApplyWindowStyle(std::uint32_t transparentPercent, bool clickThrough) = 0;
  // Every pane takes the display switches (or, after the Graph & Text page, every look value),
  // is laid out and redrawn.
  virtual void RefreshPanes() = 0;
  virtual void RestackPanes() = 0;
  // The tray miniature's pens after a colour change.
  virtual void RecreateTrayPens() = 0;
  virtual void SetPaneScale(AdapterEntry& row, std::uint32_t bytesPerSecond) = 0;
  virtual void RetitlePane(AdapterEntry& row) = 0;
  // Redrawing is suspended around the whole batch.
  virtual void ShowAndHidePanes(const std::vector<AdapterEntry*>& show, const std::vector<AdapterEntry*>& hide) = 0;
  virtual void DeleteTrayIcon() = 0;
  // The full path of the running desktop program, for the Run value.
  virtual std::string ExecutablePath() = 0;
};

class OptionsApplier {
 public:
  OptionsApplier(Settings& settings, AdapterList& rows, SettingsStore& store, OptionsApplyHost& host)
      : settings_(settings), rows_(rows), store_(store), host_(host) {}

  void ApplyGeneral(const Options& page, bool layeredWindows);
  void ApplyGraphText(const Options& page);
  void ApplyAdapters(const std::vector<AdapterPageRow>& rows, const Options& tray);

 private:
  Settings& settings_;
  AdapterList& rows_;
  SettingsStore& store_;
  OptionsApplyHost& host_;
};

}  // namespace veltrano
