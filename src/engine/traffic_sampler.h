// The once-a-second pass: interface counters become per-row day totals (and, on the desktop,
// rates, averages and histories); the log is written at block boundaries and the day rolls over
// at midnight. What each second means to the rest of the program goes out through the listener.
#pragma once

#include <cstdint>
#include <vector>

#include "core/adapter_kind.h"
#include "core/local_time.h"
#include "engine/adapter_table.h"
#include "engine/traffic_log.h"
#include "platform/clock.h"

namespace veltrano {

class SamplerListener {
 public:
  virtual ~SamplerListener() = default;
  // Per row and tick, in table order, with the bytes of this tick in full (zero for an absent
  // interface): graph pane, tray icon, rates recorder.
  virtual void OnRowSample(AdapterEntry& row, std::uint64_t received, std::uint64_t sent, const LocalTime& now) {
    (void)row, (void)received, (void)sent, (void)now;
  }
  // The row's IP address text changed (its title may show it).
  virtual void OnRowAddressChanged(AdapterEntry& row) { (void)row; }
  // After all rows: the notification check, the service's scheduled reports.
  virtual void OnTickEnd(const LocalTime& now) { (void)now; }
  // The date changed and today's totals were reloaded for the new date.
  virtual void OnDayChanged(const LocalTime& now) { (void)now; }
};

// What a power broadcast of the system (WM_POWERBROADCAST's event, or a service's power event)
// asks of the sampler.
enum class PowerChange { kNone, kSuspending, kResumed };
PowerChange PowerChangeFor(std::uint32_t powerEvent);

class TrafficSampler {
 public:
  static constexpr std::int64_t kMaxGapSeconds = 30;

  // The history cap of a screen this many pixels wide.
  static size_t HistoryCapFor(int screenWidth) { return screenWidth > 2048 ? static_cast<size_t>(screenWidth) : 2048; }

  TrafficSampler(ProgramRole role, AdapterTable& table, TrafficLog& log, Clock& clock, size_t historyCap = 2048);

  void SetListener(SamplerListener* listener) { listener_ = listener ? listener : &silent_; }
  void Tick();
  void CheckFlushAndDay(const LocalTime& now);
  void ResetRates(AdapterEntry& row);
  void ResetAllRates();
  // The machine is about to sleep, and then woke up again.
  void Suspend();
  void Resume();
  void OnPowerChange(PowerChange change);

  const LocalTime& LastTick() const { return lastTick_; }

 private:
  struct Accumulators {
    std::uint64_t allIn = 0, allOut = 0, dialUpIn = 0, dialUpOut = 0;
  };

  void CountInterface(size_t position, const EnumeratedInterface& interface, Accumulators& totals,
                      const LocalTime& now);
  void CountAbsentRow(AdapterEntry& row, const LocalTime& now);
  void CountAggregate(AdapterEntry& row, std::uint64_t received, std::uint64_t sent, const LocalTime& now);
  void AddRates(AdapterEntry& row, std::uint64_t received, std::uint64_t sent);
  bool IsBlockBoundary(const LocalTime& now) const;

  ProgramRole role_;
  AdapterTable& table_;
  TrafficLog& log_;
  Clock& clock_;
  size_t historyCap_;
  LocalTime lastTick_;
  std::vector<EnumeratedInterface> interfaces_;
  std::vector<AdapterEntry*> joined_;  // rows appended during this tick
  SamplerListener silent_;
  SamplerListener* listener_ = &silent_;
};

}  // namespace veltrano
