// Text read as numbers and numbers written as text: the notification amount as stored or typed,
// the volume, rate and date formatters, the rule's period and its text, and the small text
// helpers of mail and settings. The first byte picks the helper; the rest is its input.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/text.h"
#include "fuzz_support.h"
#include "notify/notification_checks.h"
#include "notify/smtp_client.h"
#include "notify/usage_period.h"
#include "platform/posix/posix_file_system.h"
#include "reports/report_periods.h"
#include "reports/value_format.h"

namespace veltrano::fuzz {
namespace {

bool AmountAccepted(const std::string& amount) {
  NotificationPageFields fields;
  fields.adapterIndex = fields.unitIndex = fields.transferTypeIndex = fields.periodIndex = 0;
  fields.beepPresetIndex = 0;
  fields.amount = amount;
  PosixFileSystem files;
  return CheckNotificationPage(fields, EmailSettings{}, files).focus != NotificationControl::kAmount;
}

// The amount text up to the first character that cannot continue a decimal number.
double LeadingDecimal(const std::string& text) {
  size_t end = 0;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  }
  const std::string number = text.substr(0, end);
  return number.empty() || number == "." ? 0 : std::strtod(number.c_str(), nullptr);
}

// A stored or typed amount never gives a negative threshold, a larger unit never a smaller one,
// and an amount the page takes is the number it shows, times the unit.
void Amounts(const std::string& text) {
  NotificationRule rule;
  rule.amount = text;
  std::int64_t previous = 0;
  for (std::uint32_t unit = 0; unit < 5; ++unit) {
    rule.unit = unit;
    const std::int64_t threshold = ThresholdBytes(rule);
    FUZZ_CHECK(threshold >= 0);
    FUZZ_CHECK(threshold >= previous);
    previous = threshold;
    if (!AmountAccepted(text)) continue;
    const double bytes = LeadingDecimal(text) * static_cast<double>(UnitMultiplier(unit));
    if (bytes < 9e18) FUZZ_CHECK(threshold == static_cast<std::int64_t>(bytes));
  }
}

bool IsPlainAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

// "1.5 KB" back to bytes: the shown number times its unit.
double ShownAmount(const std::string& text, bool bits) {
  char* end = nullptr;
  const double number = std::strtod(text.c_str(), &end);
  std::string unit(end);
  if (!unit.empty() && unit[0] == ' ') unit.erase(0, 1);
  for (const char* suffix : {"/s", "ps"})
    if (unit.size() > 2 && unit.compare(unit.size() - 2, 2, suffix) == 0) unit.erase(unit.size() - 2);
  const double step = bits ? 1000 : 1024;
  double scale = 1;
  switch (unit.empty() ? ' ' : unit[0]) {
    case 'K': case 'k': scale = step; break;
    case 'M': case 'm': scale = step * step; break;
    case 'G': case 'g': scale = step * step * step; break;
    case 'T': case 't': scale = step * step * step * step; break;
    default: break;
  }
  return number * scale;
}

void CheckShown(const std::string& text, double exact, bool bits) {
  FUZZ_CHECK(IsPlainAscii(text) && !text.empty() && text.size() < 24);
  const double shown = ShownAmount(text, bits);
  // One decimal from 1000 of the smaller unit on: at most 5 parts in 100 off, below 1000 exact.
  FUZZ_CHECK(std::fabs(shown - exact) <= exact * 0.053 + 0.5);
}

void Volumes(InputReader& input) {
  const auto amount = static_cast<std::int64_t>(input.U64());
  const bool unitIsByte = input.Byte() & 1;
  const std::string text = FormatVolume(amount, unitIsByte);
  const std::string shortText = FormatVolumeShort(amount, unitIsByte);
  FUZZ_CHECK(IsPlainAscii(text) && IsPlainAscii(shortText) && text.size() < 32 && shortText.size() < 32);
  if (amount < 0 || amount >= (std::int64_t{1} << 59)) return;
  const double exact = static_cast<double>(amount) * (unitIsByte ? 1 : 8);
  CheckShown(text, exact, !unitIsByte);
  CheckShown(shortText, exact, !unitIsByte);
}

void Rates(InputReader& input) {
  const std::uint32_t rate = input.U32();
  const bool unitIsByte = input.Byte() & 1;
  const std::string text = FormatRate(rate, unitIsByte);
  CheckShown(text, static_cast<double>(rate) * (unitIsByte ? 1 : 8), !unitIsByte);
}

void Dates(InputReader& input) {
  const std::uint32_t code = input.U32();
  const auto year = static_cast<std::int32_t>(input.U32());
  const auto month = static_cast<std::int32_t>(input.U32());
  const auto day = static_cast<std::int32_t>(input.U32());
  const std::string text = FormatDate(code, year, month, day);
  // Each part is printed as the 16-bit number a record holds: at most five digits.
  FUZZ_CHECK(text.size() <= 17 && IsPlainAscii(text));
  const std::string weekday = WeekdayName(static_cast<std::int32_t>(input.U32()));
  FUZZ_CHECK(weekday.empty() || weekday.size() >= 6);
}

// The rule's period always ends today; the last N days span exactly N days.
void Periods(InputReader& input) {
  NotificationRule rule;
  rule.periodKind = input.Byte() % 3;
  rule.days = static_cast<std::int32_t>(input.U32());
  if (rule.days < 1) rule.days = 1;  // the read rules and the page allow no fewer
  rule.days = 1 + rule.days % 100000;
  LocalTime today;
  today.year = 1601 + input.U16() % 28000;
  today.month = 1 + input.Byte() % 12;
  const auto monthLength = DaysFromCivil(today.year + (today.month == 12), today.month % 12 + 1, 1) -
                           DaysFromCivil(today.year, today.month, 1);
  today.day = 1 + static_cast<int>(input.Byte() % monthLength);
  const std::int64_t todayNumber = DaysFromCivil(today.year, today.month, today.day);
  today.dayOfWeek = DayOfWeekFromDays(todayNumber);
  CalendarSettings calendar;
  calendar.weekStartDay = input.Byte() % 7;
  calendar.monthStartDay = 1 + input.Byte() % 31;
  calendar.dateFormat = input.U32();
  const Period period = RulePeriod(rule, today, calendar);
  const LogDate date = LogDate::Of(today);
  FUZZ_CHECK(period.first <= date);
  if (rule.periodKind == 2) {
    FUZZ_CHECK(period.last == date);
    FUZZ_CHECK(DaysFromCivil(period.first.year, period.first.month, period.first.day) == todayNumber - (rule.days - 1));
  } else {
    FUZZ_CHECK(date <= period.last);
    const std::int64_t span = DaysFromCivil(period.last.year, period.last.month, period.last.day) -
                              DaysFromCivil(period.first.year, period.first.month, period.first.day);
    FUZZ_CHECK(rule.periodKind == 0 ? span == 6 : span >= 27 && span <= 30);
  }
  FUZZ_CHECK(IsPlainAscii(PeriodText(rule, today, calendar)));
}

std::string Base64Decode(const std::string& text) {
  static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned group = 0;
  int bits = 0;
  for (char c : text) {
    const size_t value = alphabet.find(c);
    if (value == std::string::npos) continue;
    group = (group << 6) | static_cast<unsigned>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((group >> bits) & 0xFF);
    }
  }
  return out;
}

void Texts(const std::string& text) {
  const std::string utf8 = Utf16ToUtf8(Utf8ToUtf16(text));
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(utf8)) == utf8);
  if (utf8 != text) FUZZ_CHECK(utf8.find("\xEF\xBF\xBD") != std::string::npos);
  std::u16string units;
  for (size_t i = 0; i + 1 < text.size(); i += 2)
    units += static_cast<char16_t>(static_cast<unsigned char>(text[i]) | static_cast<unsigned char>(text[i + 1]) << 8);
  const std::string fromUnits = Utf16ToUtf8(units);
  FUZZ_CHECK(Utf16ToUtf8(Utf8ToUtf16(fromUnits)) == fromUnits);

  const std::string trimmed = TrimBlanks(text);
  FUZZ_CHECK(TrimBlanks(trimmed) == trimmed && text.find(trimmed) != std::string::npos);
  FUZZ_CHECK(EqualsIgnoreAsciiCase(AsciiUpper(text), AsciiLower(text)));

  for (const auto& item : SplitRecipients(text)) {
    FUZZ_CHECK(!item.empty() && item.front() != ' ' && item.back() != ' ' && item.find(',') == std::string::npos);
    if (IsWellFormedAddress(item)) {
      for (unsigned char c : item) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
      FUZZ_CHECK(std::count(item.begin(), item.end(), '@') == 1);
    }
  }
  const std::string encoded = Base64Encode(text);
  FUZZ_CHECK(Base64Decode(encoded) == text);
  for (size_t start = 0; start < encoded.size();) {
    const size_t end = encoded.find("\r\n", start);
    FUZZ_CHECK((end == std::string::npos ? encoded.size() : end) - start <= 76);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  FUZZ_CHECK(StringPrintf("%s|%zu", text.c_str(), text.size()) == std::string(text.c_str()) + "|" + std::to_string(text.size()));
}

}  // namespace
}  // namespace veltrano::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace veltrano::fuzz;
  InputReader input(data, size);
  switch (input.Byte() % 6) {
    case 0:
      Amounts(input.Rest());
      break;
    case 1:
      Volumes(input);
      break;
    case 2:
      Rates(input);
      break;
    case 3:
      Dates(input);
      break;
    case 4:
      Periods(input);
      break;
    default:
      Texts(input.Rest());
      break;
  }
  return 0;
}
