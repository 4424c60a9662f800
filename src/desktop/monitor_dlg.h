// The desktop program's main window: owns the settings it was started with, the traffic log and
// the sampler over the adapter table; shows one line per adapter with today's totals, and saves
// the day, the window and the adapter settings when it closes.
#pragma once

#include <windows.h>

#include "desktop/notify_feature.h"
#include "desktop/ui/prompter.h"
#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "engine/traffic_sampler.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/service_manager.h"
#include "platform/win32/win32_speaker.h"
#include "platform/win32/winsock_network.h"
#include "settings/settings_store.h"

namespace veltrano {

class CMonitorDlg : private SamplerListener {
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
  void OnRowSample(AdapterEntry& row, std::uint32_t received, std::uint32_t sent, const LocalTime& now) override {
    notify_.OnRowSample(row, received, sent, now);
  }
  void OnTickEnd(const LocalTime& now) override { notify_.OnTickEnd(now); }
  void OnDayChanged(const LocalTime& now) override { notify_.Rearm(now); }

  SettingsStore& store_;
  AdapterTable& adapters_;
  FileSystem& files_;
  ServiceManager& services_;
  HINSTANCE instance_;
  TrafficLog log_;
  TrafficSampler sampler_;
  HWND window_ = nullptr;
  Settings settings_;
  WinsockNetwork network_;
  Win32Speaker speaker_;
  Beeper beeper_{speaker_};
  ui::MessageBoxPrompter prompter_;
  NotifyFeature notify_;
};

}  // namespace veltrano
