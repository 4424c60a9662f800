// Amounts, rates and dates as text.
#include "reports/value_format.h"

#include <cinttypes>
#include <cstdio>

namespace veltrano {
namespace {

constexpr double kKibi = 1.0 / 1024, kMebi = kKibi / 1024, kGibi = kMebi / 1024, kTebi = kGibi / 1024;

struct VolumeFormats {
  const char* whole;
  const char* kilo;
  const char* mega;
  const char* giga;
  const char* tera;
};

constexpr VolumeFormats kLongBytes{"%" PRId64 " B", "%.1f KB", "%.2f MB", "%.2f GB", "%.2f TB"};
constexpr VolumeFormats kLongBits{"%" PRId64 " b", "%.1f kb", "%.2f mb", "%.2f gb", "%.2f tb"};
constexpr VolumeFormats kShortBytes{"%" PRId64, "%.1fK", "%.2fM", "%.2fG", "%.2fT"};
constexpr VolumeFormats kShortBits{"%" PRId64, "%.1fK", "%.2fM", "%.2fG", "%.2fT"};

std::string Print(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string PrintWhole(const char* format, std::int64_t value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Each unit takes over at 1000 of the smaller one, so 1023999 bytes show as "1000.0 KB".
std::string FormatAmount(std::int64_t amount, bool unitIsByte, const VolumeFormats& bytes, const VolumeFormats& bits) {
  if (unitIsByte) {
    const std::int64_t v = amount;
    if (v < 1000) return PrintWhole(bytes.whole, v);
    if (v < 1024000) return Print(bytes.kilo, static_cast<double>(v) * kKibi);
    if (v < 1048576000) return Print(bytes.mega, static_cast<double>(v) * kMebi);
    if (v < 1073741824000) return Print(bytes.giga, static_cast<double>(v) * kGibi);
    return Print(bytes.tera, static_cast<double>(v) * kTebi);
  }
  const std::int64_t b = static_cast<std::int64_t>(static_cast<std::uint64_t>(amount) * 8);
  if (b < 1000) return PrintWhole(bits.whole, b);
  if (b < 1000000) return Print(bits.kilo, static_cast<double>(b) * 0.001);
  if (b < 1000000000) return Print(bits.mega, static_cast<double>(b) * 1e-6);
  if (b < 1000000000000) return Print(bits.giga, static_cast<double>(b) * 1e-9);
  return Print(bits.tera, static_cast<double>(b) * 1e-12);
}

// Two decimals below 10 whole units, one from there on.
std::string PrintRate(std::uint64_t rate, std::uint64_t unitSize, float multiplier, const char* unit) {
  // The single-precision constant times the rate is exact in 64 bits of mantissa; rounding that
  // once to double equals the double product of the two.
  const double value = static_cast<double>(rate) * static_cast<double>(multiplier);
  char text[64];
  std::snprintf(text, sizeof text, rate / unitSize < 10 ? "%.2f %s" : "%.1f %s", value, unit);
  return text;
}

}  // namespace

std::string FormatVolume(std::int64_t amount, bool unitIsByte) {
  return FormatAmount(amount, unitIsByte, kLongBytes, kLongBits);
}

std::string FormatVolumeShort(std::int64_t amount, bool unitIsByte) {
  return FormatAmount(amount, unitIsByte, kShortBytes, kShortBits);
}

// The bit rate is formed in 64 bits, so rates from 536870912 B/s on print correctly too.
std::string FormatRate(std::uint32_t bytesPerSecond, bool unitIsByte) {
  if (unitIsByte) {
    const std::uint64_t r = bytesPerSecond;
    if (r < 1000) return PrintWhole("%" PRId64 " B/s", static_cast<std::int64_t>(r));
    if (r < 1023948) return PrintRate(r, 1024, 1.0f / 1024, "KB/s");
    if (r < 1048523571) return PrintRate(r, 1024 * 1024, 1.0f / (1024 * 1024), "MB/s");
    return PrintRate(r, 1024 * 1024 * 1024, 1.0f / (1024 * 1024 * 1024), "GB/s");
  }
  const std::uint64_t s = static_cast<std::uint64_t>(bytesPerSecond) * 8;
  if (s < 1000) return PrintWhole("%" PRId64 " bps", static_cast<std::int64_t>(s));
  if (s < 999950) return PrintRate(s, 1000, 0.001f, "kbps");
  if (s < 999950000) return PrintRate(s, 1000000, 1e-6f, "mbps");
  return PrintRate(s, 1000000000, 1e-9f, "gbps");
}

std::string FormatDate(std::uint32_t code, int year, int month, int day) {
  const int y = static_cast<std::uint16_t>(year), m = static_cast<std::uint16_t>(month),
            d = static_cast<std::uint16_t>(day);
  char text[32];
  switch (code) {
    case 119:
      std::snprintf(text, sizeof text, "%02d.%02d.%04d", m, d, y);
      break;
    case 34:
      std::snprintf(text, sizeof text, "%02d/%02d/%04d", d, m, y);
      break;
    case 102:
      std::snprintf(text, sizeof text, "%02d.%02d.%04d", d, m, y);
      break;
    case 51:
      std::snprintf(text, sizeof text, "%04d/%02d/%02d", y, m, d);
      break;
    case 68:
      std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
      break;
    case 85:
      std::snprintf(text, sizeof text, "%04d.%02d.%02d", y, m, d);
      break;
    default:
      std::snprintf(text, sizeof text, "%02d/%02d/%04d", m, d, y);
      break;
  }
  return text;
}

std::string WeekdayName(int dayOfWeek) {
  static const char* const kNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  return dayOfWeek >= 0 && dayOfWeek < 7 ? kNames[dayOfWeek] : "";
}

}  // namespace veltrano
