// The operating system's network interface table, as the IP helper library reports it: a chain
// of adapter records, and one interface row (type, octet counters) per adapter index.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrano {

struct AdapterRecord {
  std::string name;  // AdapterName: a GUID in braces on current systems
  std::array<std::uint8_t, 8> address{};
  std::uint32_t addressLength = 0;
  std::uint32_t index = 0;
  std::string firstIpAddress;  // dotted text of the first address in the list
};

struct InterfaceRow {
  std::uint32_t type = 0;
  // The octet counters: 64 bits wide where the system offers them (a step back is then a reset),
  // otherwise 32 bits that wrap past 2^32.
  std::uint64_t inOctets = 0;
  std::uint64_t outOctets = 0;
  bool wideCounters = false;
  std::string description;  // the first dwDescrLen bytes of bDescr, untrimmed
};

class InterfaceSource {
 public:
  virtual ~InterfaceSource() = default;

  // Binds the library's entry points; true only when all of them were found.
  virtual bool Bind() = 0;
  virtual bool GetAdaptersInfo(std::vector<AdapterRecord>& adapters) = 0;
  virtual bool GetIfEntry(std::uint32_t index, InterfaceRow& row) = 0;
};

}  // namespace veltrano
