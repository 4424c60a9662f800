// The binary records read from files and registry values, decoded from any bytes and encoded back:
// a record that was decoded once encodes to itself ever after, numbers come back unchanged, and
// text comes back whole or cut, never altered. The first byte picks the record.
#include "core/byte_codec.h"
#include "core/text.h"
#include "engine/day_record.h"
#include "fuzz_support.h"
#include "notify/notification_rule.h"
#include "settings/binary_records.h"
#include "settings/scheduled_report.h"

namespace veltrano::fuzz {
namespace {

bool IsPrefix(const std::string& part, const std::string& whole) { return whole.compare(0, part.size(), part) == 0; }

// Text taken from a record is UTF-8 that converts both ways unchanged.
void CheckText(const std::string& text) {
  FUZZ_CHECK(text.find('\0') == std::string::npos);
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(text)) == text);
}

// A day record as the log stores it: fixed zeros, and the id padded with NULs after its end.
bool IsCanonicalDayRecord(const Bytes& record) {
  for (size_t at : {6, 7, 10, 11, 276, 277, 278, 279})
    if (record[at] != 0) return false;
  size_t end = 16;
  while (end < 276 && record[end] != 0) ++end;
  if (end == 276) return false;
  for (size_t at = end; at < 276; ++at)
    if (record[at] != 0) return false;
  return true;
}

void DayRecords(const Bytes& input) {
  Bytes record(input);
  record.resize(kDayRecordSize);
  const DayRecord decoded = DecodeDayRecord(record.data());
  FUZZ_CHECK(decoded.id.size() <= 260 && decoded.id.find('\0') == std::string::npos);
  LocalTime date;
  date.year = decoded.year;
  date.month = decoded.month;
  date.day = decoded.day;
  date.dayOfWeek = decoded.dayOfWeek;
  Bytes encoded(kDayRecordSize);
  EncodeDayRecord(encoded.data(), date, decoded.kind, std::string(decoded.id), decoded.received, decoded.sent);
  const DayRecord again = DecodeDayRecord(encoded.data());
  FUZZ_CHECK(again.Date() == decoded.Date() && again.dayOfWeek == decoded.dayOfWeek);
  FUZZ_CHECK(again.kind == decoded.kind && again.received == decoded.received && again.sent == decoded.sent);
  // An id that fills its field has no terminator: it is written back one character shorter.
  FUZZ_CHECK(again.id == decoded.id || (decoded.id.size() == 260 && again.id == decoded.id.substr(0, 259)));
  FUZZ_CHECK(IsCanonicalDayRecord(encoded));
  if (IsCanonicalDayRecord(record)) FUZZ_CHECK(encoded == record);

  std::uint8_t header[kLogHeaderSize];
  EncodeLogHeader(header);
  FUZZ_CHECK(IsValidLogHeader(header, sizeof header));
  FUZZ_CHECK(!IsValidLogHeader(header, sizeof header - 1));
  const bool valid = input.size() >= kLogHeaderSize && std::equal(header, header + 8, input.begin());
  FUZZ_CHECK(IsValidLogHeader(input.data(), input.size()) == valid);
}

void NotificationRules(const Bytes& input) {
  const NotificationRule decoded = DecodeNotificationRule(input);
  const Bytes encoded = EncodeNotificationRule(decoded);
  FUZZ_CHECK(encoded.size() == NotificationRule::kSize);
  const NotificationRule again = DecodeNotificationRule(encoded);
  FUZZ_CHECK(EncodeNotificationRule(again) == encoded);
  FUZZ_CHECK(again.version == NotificationRule::kCurrentVersion);
  FUZZ_CHECK(again.adapterKind == decoded.adapterKind && again.unit == decoded.unit &&
             again.transferType == decoded.transferType && again.periodKind == decoded.periodKind &&
             again.playSound == decoded.playSound && again.playBeep == decoded.playBeep &&
             again.beepPreset == decoded.beepPreset && again.days == decoded.days &&
             again.sendEmail == decoded.sendEmail && again.runProgram == decoded.runProgram);
  FUZZ_CHECK(IsPrefix(again.adapterId, decoded.adapterId));
  for (const auto& [cut, whole] : {std::make_pair(again.amount, decoded.amount),
                                   std::make_pair(again.soundFile, decoded.soundFile),
                                   std::make_pair(again.emailAddresses, decoded.emailAddresses),
                                   std::make_pair(again.program, decoded.program)}) {
    CheckText(whole);
    FUZZ_CHECK(IsPrefix(cut, whole));
  }
}

void ScheduledReports(const Bytes& input) {
  const ScheduledReport decoded = DecodeScheduledReport(input);
  const Bytes encoded = EncodeScheduledReport(decoded);
  FUZZ_CHECK(encoded.size() == ScheduledReport::kSize);
  const ScheduledReport again = DecodeScheduledReport(encoded);
  FUZZ_CHECK(EncodeScheduledReport(again) == encoded);
  FUZZ_CHECK(again.reportType == decoded.reportType && again.adapterKind == decoded.adapterKind &&
             again.interval == decoded.interval && again.countdown == decoded.countdown);
  CheckText(decoded.filePath);
  FUZZ_CHECK(IsPrefix(again.adapterId, decoded.adapterId) && IsPrefix(again.filePath, decoded.filePath));
}

void Fonts(const Bytes& input) {
  const LogFont decoded = DecodeLogFont(input);
  const Bytes encoded = EncodeLogFont(decoded);
  FUZZ_CHECK(encoded.size() == LogFont::kSize);
  const LogFont again = DecodeLogFont(encoded);
  FUZZ_CHECK(EncodeLogFont(again) == encoded);
  CheckText(decoded.faceName);
  FUZZ_CHECK(Utf8ToUtf16(decoded.faceName).size() < LogFont::kFaceNameChars);
  // Everything but the face name is numbers: those bytes come back as they were.
  Bytes padded(input);
  padded.resize(LogFont::kSize);
  FUZZ_CHECK(std::equal(encoded.begin(), encoded.begin() + 28, padded.begin()));
  FUZZ_CHECK(again.faceName == decoded.faceName);
}

// Records of numbers only: the first kSize bytes, zero-padded, round-trip exactly.
template <typename Record, typename Decode, typename Encode>
void NumbersOnly(const Bytes& input, Decode decode, Encode encode) {
  Bytes padded(input);
  padded.resize(Record::kSize);
  FUZZ_CHECK(encode(decode(input)) == padded);
}

void RegistryText(const Bytes& input) {
  const std::string text = DecodeUtf16Bytes(input);
  CheckText(text);
  const Bytes stored = EncodeUtf16Bytes(text);
  FUZZ_CHECK(stored.size() % 2 == 0 && stored.size() >= 2 && stored[stored.size() - 1] == 0 &&
             stored[stored.size() - 2] == 0);
  FUZZ_CHECK(DecodeUtf16Bytes(stored) == text);
}

// Text fields at any offset and width, past the end of the record included.
void Fields(const Bytes& input) {
  if (input.size() < 4) return;
  const size_t offset = input[0] % 64, size = input[1] % 96;
  const Bytes record(input.begin() + 2, input.end());
  const std::string chars = GetCharField(record, offset, size);
  FUZZ_CHECK(chars.size() <= size && chars.find('\0') == std::string::npos);
  Bytes written(record.size() + 8, 0xAA);
  PutCharField(written, offset, size, chars);
  if (size > 0 && offset + size <= written.size()) {
    FUZZ_CHECK(written[offset + size - 1] == 0);
    FUZZ_CHECK(IsPrefix(GetCharField(written, offset, size), chars));
  }
  for (size_t at = 0; at < written.size(); ++at)
    if (at < offset || at >= offset + size) FUZZ_CHECK(written[at] == 0xAA);

  const std::string wide = GetWideField(record, offset, size);
  CheckText(wide);
  Bytes wideWritten(record.size() + 8, 0xAA);
  PutWideField(wideWritten, offset, size, wide);
  if (size >= 2 && offset + size <= wideWritten.size())
    FUZZ_CHECK(IsPrefix(GetWideField(wideWritten, offset, size), wide));
  for (size_t at = 0; at < wideWritten.size(); ++at)
    if (at < offset || at >= offset + size / 2 * 2) FUZZ_CHECK(wideWritten[at] == 0xAA);
}

}  // namespace
}  // namespace veltrano::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace veltrano;
  using namespace veltrano::fuzz;
  if (size == 0) return 0;
  const Bytes input(data + 1, data + size);
  switch (data[0] % 8) {
    case 0:
      DayRecords(input);
      break;
    case 1:
      NotificationRules(input);
      break;
    case 2:
      ScheduledReports(input);
      break;
    case 3:
      Fonts(input);
      break;
    case 4:
      NumbersOnly<WndPosition>(input, DecodeWndPosition, EncodeWndPosition);
      break;
    case 5:
      NumbersOnly<ServiceOptions>(input, DecodeServiceOptions, EncodeServiceOptions);
      break;
    case 6:
      RegistryText(input);
      break;
    default:
      Fields(input);
      break;
  }
  return 0;
}
