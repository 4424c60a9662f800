// A scriptable interface table: tests set the adapters, their rows and failures per call.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/interface_source.h"

namespace veltrano::testing {

class FakeInterfaceSource : public InterfaceSource {
 public:
  struct Interface {
    AdapterRecord record;
    InterfaceRow row;
  };

  bool Bind() override { return bindSucceeds; }

  bool GetAdaptersInfo(std::vector<AdapterRecord>& adapters) override {
    ++enumerations;
    adapters.clear();
    if (failEnumeration) return false;
    for (const auto& interface : interfaces) adapters.push_back(interface.record);
    return true;
  }

  // A row scripted with 32-bit counters is read as GetIfEntry reads it: cut to 32 bits, so one
  // script can drive the same traffic through either width.
  bool GetIfEntry(std::uint32_t index, InterfaceRow& row) override {
    if (failingRows.count(index)) return false;
    for (const auto& interface : interfaces) {
      if (interface.record.index == index) {
        row = interface.row;
        if (!row.wideCounters) {
          row.inOctets &= 0xFFFFFFFFu;
          row.outOctets &= 0xFFFFFFFFu;
        }
        return true;
      }
    }
    return false;
  }

  // An interface with a GUID name, type 6 and the given counters.
  Interface& Add(const std::string& name, std::uint32_t index, std::uint32_t type = 6, std::uint64_t in = 0,
                 std::uint64_t out = 0, const std::string& description = "Ethernet adapter") {
    Interface interface;
    interface.record.name = name;
    interface.record.index = index;
    interface.record.addressLength = 6;
    interface.record.address = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, static_cast<std::uint8_t>(index), 0, 0};
    interface.record.firstIpAddress = "10.0.0." + std::to_string(index);
    interface.row.type = type;
    interface.row.inOctets = in;
    interface.row.outOctets = out;
    interface.row.description = description;
    interface.row.wideCounters = wideCounters;
    interfaces.push_back(interface);
    return interfaces.back();
  }

  bool wideCounters = false;  // the counter width of the interfaces added from now on
  bool bindSucceeds = true;
  bool failEnumeration = false;
  std::set<std::uint32_t> failingRows;
  std::vector<Interface> interfaces;
  int enumerations = 0;
};

}  // namespace veltrano::testing
