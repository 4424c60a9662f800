// Header and day record codecs. The date block is year, month, day, 0, day of week, 0 as u16s.
#include "engine/day_record.h"

#include <cstring>

namespace veltrano {
namespace {

constexpr size_t kDateBlock = 0, kKind = 12, kId = 16, kIdSize = 260, kReceived = 280, kSent = 288;
static_assert(kId + kIdSize + 4 == kReceived && kSent + 8 == kDayRecordSize, "a day record is 296 bytes");

void PutU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutU64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint16_t GetU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t GetU64(const std::uint8_t* p) { return GetU32(p) | (static_cast<std::uint64_t>(GetU32(p + 4)) << 32); }

}  // namespace

void EncodeLogHeader(std::uint8_t* header) {
  std::memset(header, 0, kLogHeaderSize);
  std::memcpy(header, "NTSL", 4);
  PutU32(header + 4, kLogVersion);
}

bool IsValidLogHeader(const std::uint8_t* header, size_t length) {
  return length >= kLogHeaderSize && std::memcmp(header, "NTSL", 4) == 0 && GetU32(header + 4) == kLogVersion;
}

void EncodeDayRecord(std::uint8_t* record, const LocalTime& date, std::int32_t kind, const std::string& id,
                     std::uint64_t received, std::uint64_t sent) {
  std::memset(record, 0, kDayRecordSize);
  PutU16(record + kDateBlock + 0, static_cast<std::uint16_t>(date.year));
  PutU16(record + kDateBlock + 2, static_cast<std::uint16_t>(date.month));
  PutU16(record + kDateBlock + 4, static_cast<std::uint16_t>(date.day));
  PutU16(record + kDateBlock + 8, static_cast<std::uint16_t>(date.dayOfWeek));
  PutU32(record + kKind, static_cast<std::uint32_t>(kind));
  std::memcpy(record + kId, id.data(), id.size() < kIdSize ? id.size() : kIdSize - 1);
  PutU64(record + kReceived, received);
  PutU64(record + kSent, sent);
}

DayRecord DecodeDayRecord(const std::uint8_t* record) {
  DayRecord decoded;
  decoded.year = GetU16(record + kDateBlock + 0);
  decoded.month = GetU16(record + kDateBlock + 2);
  decoded.day = GetU16(record + kDateBlock + 4);
  decoded.dayOfWeek = GetU16(record + kDateBlock + 8);
  decoded.kind = static_cast<std::int32_t>(GetU32(record + kKind));
  const auto* id = reinterpret_cast<const char*>(record + kId);
  decoded.id = std::string_view(id, strnlen(id, kIdSize));
  decoded.received = GetU64(record + kReceived);
  decoded.sent = GetU64(record + kSent);
  return decoded;
}

}  // namespace veltrano
