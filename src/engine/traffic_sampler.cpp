// The sampling pass of both programs.
#include "engine/traffic_sampler.h"

#include <algorithm>

namespace veltrano {
namespace {

// A counter that went backwards was reset (or, 32 bits wide, wrapped past 2^32): its new value is
// this tick's. 64-bit counters do not wrap in the life of any link, so their differences are exact.
std::uint64_t CounterDifference(std::uint64_t current, std::uint64_t previous) {
  return current >= previous ? current - previous : current;
}

std::uint32_t ClampToU32(std::uint64_t value) {
  return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(value);
}

}  // namespace

// The event numbers are the system's (PBT_APMSUSPEND, PBT_APMRESUMECRITICAL,
// PBT_APMRESUMESUSPEND, PBT_APMRESUMEAUTOMATIC). A critical suspend gives no warning; the wake
// after it still needs fresh baselines.
PowerChange PowerChangeFor(std::uint32_t powerEvent) {
  switch (powerEvent) {
    case 0x4:
      return PowerChange::kSuspending;
    case 0x6:
    case 0x7:
    case 0x12:
      return PowerChange::kResumed;
    default:
      return PowerChange::kNone;
  }
}

TrafficSampler::TrafficSampler(ProgramRole role, AdapterTable& table, TrafficLog& log, Clock& clock, size_t historyCap)
    : role_(role), table_(table), log_(log), clock_(clock), historyCap_(historyCap), lastTick_(clock.Now()) {}

void TrafficSampler::Tick() {
  const LocalTime now = clock_.Now();
  AdapterList& rows = table_.Rows();
  // After a suspend or a clock jump the first second counts nothing; a daylight-saving change is
  // neither.
  if (role_ == ProgramRole::kDesktop && ElapsedSeconds(lastTick_, now) > kMaxGapSeconds)
    for (auto& row : rows) row.hasPrev = false;
  CheckFlushAndDay(now);

  for (auto row = table_.FirstInterfaceRow(); row != rows.end(); ++row) row->seenThisTick = false;
  if (!EnumerateInterfaces(table_.Source(), interfaces_)) return;

  Accumulators totals;
  joined_.clear();
  for (size_t position = 0; position < interfaces_.size(); ++position)
    CountInterface(position, interfaces_[position], totals, now);
  // An interface that shows up late (after a boot, or plugged in) continues today's record.
  log_.TakeUpToday(joined_, lastTick_);
  for (auto row = table_.FirstInterfaceRow(); row != rows.end(); ++row)
    if (!row->seenThisTick) CountAbsentRow(*row, now);

  CountAggregate(rows.front(), totals.allIn, totals.allOut, now);
  CountAggregate(*std::next(rows.begin()), totals.dialUpIn, totals.dialUpOut, now);
  listener_->OnTickEnd(now);
}

void TrafficSampler::CountInterface(size_t position, const EnumeratedInterface& interface, Accumulators& totals,
                                    const LocalTime& now) {
  AdapterEntry* row = table_.MatchInterface(position, interface.id);
  if (!row) {
    // A new interface is counted from the next tick on, against the baseline taken now.
    AdapterEntry& joined = table_.AppendInterface(interface, role_ == ProgramRole::kDesktop);
    joined.seenThisTick = true;
    joined_.push_back(&joined);
    return;
  }
  if (row->seenThisTick) return;  // the same adapter reported twice in one pass counts once
  row->seenThisTick = true;

  // A baseline of the other counter width is no baseline: the first difference would be nonsense.
  std::uint64_t received = 0, sent = 0;
  if (row->hasPrev && row->prevWide == interface.row.wideCounters) {
    received = CounterDifference(interface.row.inOctets, row->prevInOctets);
    sent = CounterDifference(interface.row.outOctets, row->prevOutOctets);
  }
  row->hasPrev = true;
  row->prevWide = interface.row.wideCounters;
  row->prevInOctets = interface.row.inOctets;
  row->prevOutOctets = interface.row.outOctets;

  totals.allIn += received;
  totals.allOut += sent;
  if (IsDialUpType(interface.row.type)) {
    totals.dialUpIn += received;
    totals.dialUpOut += sent;
  }
  row->todayIn += received;
  row->todayOut += sent;
  if (role_ == ProgramRole::kDesktop) AddRates(*row, received, sent);
  if (row->ipAddress != interface.ipAddress) {
    row->ipAddress = interface.ipAddress;
    listener_->OnRowAddressChanged(*row);
  }
  listener_->OnRowSample(*row, received, sent, now);
}

void TrafficSampler::CountAbsentRow(AdapterEntry& row, const LocalTime& now) {
  row.hasPrev = false;
  if (role_ == ProgramRole::kDesktop) AddRates(row, 0, 0);  // averages decay while it is away
  if (!row.ipAddress.empty()) {
    row.ipAddress.clear();
    listener_->OnRowAddressChanged(row);
  }
  listener_->OnRowSample(row, 0, 0, now);
}

void TrafficSampler::CountAggregate(AdapterEntry& row, std::uint64_t received, std::uint64_t sent,
                                    const LocalTime& now) {
  if (role_ == ProgramRole::kDesktop) AddRates(row, received, sent);
  row.todayIn += received;
  row.todayOut += sent;
  listener_->OnRowSample(row, received, sent, now);
}

void TrafficSampler::AddRates(AdapterEntry& row, std::uint64_t received, std::uint64_t sent) {
  row.sumIn += received;
  row.sumOut += sent;
  row.sampleCount += 1;
  RateSample sample;
  sample.received = ClampToU32(received);
  sample.sent = ClampToU32(sent);
  sample.averageReceived = ClampToU32(row.sumIn / row.sampleCount);
  sample.averageSent = ClampToU32(row.sumOut / row.sampleCount);
  row.history.push_back(sample);
  while (row.history.size() > historyCap_) row.history.pop_front();
}

bool TrafficSampler::IsBlockBoundary(const LocalTime& now) const {
  const LocalTime& last = lastTick_;
  if (now.hour != last.hour || now.day != last.day || now.month != last.month || now.year != last.year) return true;
  if (role_ == ProgramRole::kService) return now.minute != last.minute || now.second / 8 != last.second / 8;
  return now.minute / 16 != last.minute / 16;
}

void TrafficSampler::CheckFlushAndDay(const LocalTime& now) {
  if (!IsBlockBoundary(now)) {
    lastTick_ = now;
    return;
  }
  // Written under the old date first, so the last part of a day stays with that day.
  log_.WriteToday(table_.Rows(), lastTick_);
  const bool dateChanged = LogDate::Of(now) != LogDate::Of(lastTick_);
  lastTick_ = now;
  if (dateChanged) {
    log_.LoadToday(table_.Rows(), now);
    listener_->OnDayChanged(now);
  }
}

void TrafficSampler::ResetRates(AdapterEntry& row) {
  row.history.clear();
  row.sumIn = row.sumOut = row.sampleCount = 0;
}

// Written now rather than at the next block boundary: a machine that never wakes (a flat battery)
// would lose everything since the last write.
void TrafficSampler::Suspend() {
  log_.WriteToday(table_.Rows(), lastTick_);
}

// Every baseline is from before the sleep: while asleep, drivers may have reset their counters and
// interfaces may have gone or come back under another index. The next tick takes the adapters
// afresh and counts nothing, whatever the clock says about the gap.
void TrafficSampler::Resume() {
  for (auto& row : table_.Rows()) row.hasPrev = false;
}

void TrafficSampler::OnPowerChange(PowerChange change) {
  if (change == PowerChange::kSuspending) Suspend();
  if (change == PowerChange::kResumed) Resume();
}

void TrafficSampler::ResetAllRates() {
  for (auto& row : table_.Rows()) ResetRates(row);
}

}  // namespace veltrano
