// Header and day record codecs. The date block is year, month, day, 0, day of week, 0 as u16s.
#include "engine/day_record.h"

#include <cstring>

#include "core/byte_codec.h"

namespace veltrano {
namespace {

constexpr size_t kDateBlock = 0, kKind = 12, kId = 16, kIdSize = 260, kReceived = 280, kSent = 288;
static_assert(kId + kIdSize + 4 == kReceived && kSent + 8 == kDayRecordSize, "a day record is 296 bytes");

}  // namespace

void EncodeLogHeader(std::uint8_t* header) {
  std::memset(header, 0, kLogHeaderSize);
  std::memcpy(header, "NTSL", 4);
  StoreU32(header + 4, kLogVersion);
}

bool IsValidLogHeader(const std::uint8_t* header, size_t length) {
  return length >= kLogHeaderSize && std::memcmp(header, "NTSL", 4) == 0 && LoadU32(header + 4) == kLogVersion;
}

void EncodeDayRecord(std::uint8_t* record, const LocalTime& date, std::int32_t kind, const std::string& id,
                     std::uint64_t received, std::uint64_t sent) {
  std::memset(record, 0, kDayRecordSize);
  StoreU16(record + kDateBlock + 0, static_cast<std::uint16_t>(date.year));
  StoreU16(record + kDateBlock + 2, static_cast<std::uint16_t>(date.month));
  StoreU16(record + kDateBlock + 4, static_cast<std::uint16_t>(date.day));
  StoreU16(record + kDateBlock + 8, static_cast<std::uint16_t>(date.dayOfWeek));
  StoreU32(record + kKind, static_cast<std::uint32_t>(kind));
  std::memcpy(record + kId, id.data(), id.size() < kIdSize ? id.size() : kIdSize - 1);
  StoreU64(record + kReceived, received);
  StoreU64(record + kSent, sent);
}

DayRecord DecodeDayRecord(const std::uint8_t* record) {
  DayRecord decoded;
  decoded.year = LoadU16(record + kDateBlock + 0);
  decoded.month = LoadU16(record + kDateBlock + 2);
  decoded.day = LoadU16(record + kDateBlock + 4);
  decoded.dayOfWeek = LoadU16(record + kDateBlock + 8);
  decoded.kind = static_cast<std::int32_t>(LoadU32(record + kKind));
  const auto* id = reinterpret_cast<const char*>(record + kId);
  decoded.id = std::string_view(id, strnlen(id, kIdSize));
  decoded.received = LoadU64(record + kReceived);
  decoded.sent = LoadU64(record + kSent);
  return decoded;
}

}  // namespace veltrano
