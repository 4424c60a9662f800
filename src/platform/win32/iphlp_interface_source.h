// The interface table from "iphlpapi.dll", bound at run time. Where the library offers the 64-bit
// interface table (GetIfTable2, GetIfEntry2, FreeMibTable) the counters come from it; otherwise
// from GetIfEntry's 32-bit counters.
#pragma once

#include "platform/interface_source.h"

namespace veltrano {

class IphlpInterfaceSource : public InterfaceSource {
 public:
  // Setting this environment variable to "32" keeps the 32-bit counters although the 64-bit ones
  // exist: the test drivers compare the two.
  static constexpr const wchar_t* kNarrowCountersVariable = L"VELTRANO_IF_COUNTERS";

  explicit IphlpInterfaceSource(bool allowWideCounters = true) : allowWideCounters_(allowWideCounters) {}
  ~IphlpInterfaceSource() override;
  IphlpInterfaceSource(const IphlpInterfaceSource&) = delete;
  IphlpInterfaceSource& operator=(const IphlpInterfaceSource&) = delete;

  bool Bind() override;
  // Also takes this pass's 64-bit interface table, which the GetIfEntry calls of the pass read.
  bool GetAdaptersInfo(std::vector<AdapterRecord>& adapters) override;
  bool GetIfEntry(std::uint32_t index, InterfaceRow& row) override;
  bool HasWideCounters() const { return getIfTable2_ && getIfEntry2_ && freeMibTable_; }

 protected:
  // GetAdaptersInfo itself (buffer as IP_ADAPTER_INFO*): tests give the answers of a machine whose
  // last adapter was just unplugged.
  virtual unsigned long CallGetAdaptersInfo(void* buffer, unsigned long* size);

 private:
  bool GetWideEntry(std::uint32_t index, InterfaceRow& row);
  void FreeTable();

  bool allowWideCounters_;
  void* getAdaptersInfo_ = nullptr;
  void* getIfEntry_ = nullptr;
  void* getIfTable2_ = nullptr;
  void* getIfEntry2_ = nullptr;
  void* freeMibTable_ = nullptr;
  void* table_ = nullptr;  // MIB_IF_TABLE2 of the current pass, or null
};

}  // namespace veltrano
