// One row of the adapter table: a pseudo-adapter ("All Connections", "Dial-Up Connections") or
// one network interface, with its counters, day totals and per-adapter settings.
#pragma once

#include <cstdint>
#include <deque>
#include <list>
#include <string>
#include <string_view>

#include "core/adapter_kind.h"

namespace veltrano {

class GraphPane;

constexpr std::uint32_t kRecordNumberOnlyFlag = 0x1;

// One second of one row: bytes of the last tick and the averages per tick since the last reset.
struct RateSample {
  std::uint32_t received = 0;
  std::uint32_t sent = 0;
  std::uint32_t averageReceived = 0;
  std::uint32_t averageSent = 0;
};

// Newest sample at the back; bounded by the sampler's cap.
using RateHistory = std::deque<RateSample>;

struct AdapterEntry {
  std::int32_t kind = kInterfaceAdapter;
  std::uint32_t ifType = 0;
  AdapterId id;
  std::string ipAddress;  // empty while the interface is absent
  std::uint32_t connRateBps = 0;
  std::uint64_t prevInOctets = 0;
  std::uint64_t prevOutOctets = 0;
  bool hasPrev = false;
  bool prevWide = false;  // the baseline came from 64-bit counters
  std::int32_t adaptersMenuId = 0;
  bool monitored = false;
  GraphPane* pane = nullptr;  // owned by the desktop's main window
  float size = 0.0f;
  RateHistory history;  // desktop only
  std::int64_t dayRecordOffset = -1;  // 64 bits: a log may grow past what 32 bits can address
  std::uint64_t todayIn = 0;
  std::uint64_t todayOut = 0;
  std::string displayName;
  std::string description;
  bool recordRates = false;
  std::uint32_t recordInterval = 1;
  std::uint32_t recordFlags = 0;
  std::string recordFile;
  bool seenThisTick = false;
  std::int32_t resetMenuId = 0;
  std::uint64_t sumIn = 0;
  std::uint64_t sumOut = 0;
  std::uint64_t sampleCount = 0;
};

// Rows keep their addresses for the life of the program: panes, the tray and the notification
// rule hold pointers to them.
using AdapterList = std::list<AdapterEntry>;

// Two entries denote the same source when their kinds are equal and, for interfaces, their ids.
inline bool SameAdapter(std::int32_t kind, std::string_view id, const AdapterEntry& entry) {
  return entry.kind == kind && (kind == kAllConnections || kind == kDialUpConnections || entry.id == id);
}

// The names the two aggregates start with.
inline const char* AggregateName(std::int32_t kind) {
  return kind == kAllConnections ? "All Connections" : "Dial-Up Connections";
}

}  // namespace veltrano
