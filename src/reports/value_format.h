// How every amount, rate and date is written, on screen and in files. Byte units are binary
// (1 KB = 1024 B), bit units decimal (1 kb = 1000 b); all output is ASCII.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano {

// An amount with a long unit: "999 B", "1.0 KB", "0.98 MB"; in bits "992 b", "1.0 kb"...
std::string FormatVolume(std::int64_t amount, bool unitIsByte);
// The same with a one-letter unit and no space: "1.5K".
std::string FormatVolumeShort(std::int64_t amount, bool unitIsByte);
// A rate: "999 B/s", "10.00 KB/s", "1.00 kbps"...
std::string FormatRate(std::uint32_t bytesPerSecond, bool unitIsByte);
// A date in the style of a DateFormat code; an unknown code is the default MM/DD/YYYY.
std::string FormatDate(std::uint32_t code, int year, int month, int day);
// "Sunday".."Saturday" for 0..6; empty for anything else.
std::string WeekdayName(int dayOfWeek);

}  // namespace veltrano
