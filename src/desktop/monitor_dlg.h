// The desktop program's main window: owns the settings it was started with, the traffic log and
// the sampler over the adapter table; shows one line per adapter with today's totals, and saves
// the day, the window and the adapter settings when it closes.
#pragma once

#include <windows.h>

#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "engine/traffic_sampler.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/service_manager.h"
#include "settings/settings_store.h"

namespace veltrano {

class CMonitorDlg {
 public:
  CMonitorDlg(SettingsStore& store, AdapterTable& adapters, FileSystem& files, Clock& clock, ServiceManager& services,
              HINSTANCE instance);

  // Creates the window and runs its message loop until the window is closed.
  int Run(int showCommand);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void OnCreate();
  void OpenTrafficLog();
  void OnTimer();
  void OnDestroy();
  void Paint(HDC dc);
  RECT InitialRect() const;

  SettingsStore& store_;
  AdapterTable& adapters_;
  FileSystem& files_;
  ServiceManager& services_;
  HINSTANCE instance_;
  TrafficLog log_;
  TrafficSampler sampler_;
  HWND window_ = nullptr;
  Settings settings_;
};

}  // namespace veltrano
