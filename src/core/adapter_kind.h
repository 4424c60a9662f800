// Adapter kinds and identifiers shared by the adapter table, the traffic log and the settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace veltrano {

enum AdapterKind : std::int32_t {
  kAllConnections = 100,
  kDialUpConnections = 200,
  kInterfaceAdapter = 300,
};

// Upper-case 8-bit text, at most kMaxAdapterIdLength characters.
using AdapterId = std::string;
constexpr std::size_t kMaxAdapterIdLength = 259;

// Interface types counted towards "Dial-Up Connections": PPP and serial-line IP.
constexpr std::uint32_t kIfTypePpp = 23;
constexpr std::uint32_t kIfTypeSlip = 28;
inline bool IsDialUpType(std::uint32_t ifType) { return ifType == kIfTypePpp || ifType == kIfTypeSlip; }

// Which of the two programs is running; several rules read or do less in the service.
enum class ProgramRole { kDesktop, kService };

}  // namespace veltrano
