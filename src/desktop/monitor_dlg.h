// The desktop program's main window: owns the adapter table and the settings it was started
// with, shows one line per adapter, and saves the window and adapter settings when it closes.
#pragma once

#include <windows.h>

#include "engine/adapter_table.h"
#include "settings/settings_store.h"

namespace veltrano {

class CMonitorDlg {
 public:
  CMonitorDlg(SettingsStore& store, AdapterTable& adapters, HINSTANCE instance);

  // Creates the window and runs its message loop until the window is closed.
  int Run(int showCommand);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OnTimer();
  void OnDestroy();
  void Paint(HDC dc);
  RECT InitialRect() const;

  SettingsStore& store_;
  AdapterTable& adapters_;
  HINSTANCE instance_;
  HWND window_ = nullptr;
  Settings settings_;
};

}  // namespace veltrano
