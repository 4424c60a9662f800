// The bandwidth usage notification rule, stored whole as the 1992-byte "NotificationEx2U" value.
#pragma once

#include <cstdint>
#include <string>

#include "core/adapter_kind.h"
#include "core/byte_codec.h"

namespace veltrano {

struct NotificationRule {
  static constexpr size_t kSize = 1992;
  static constexpr std::uint32_t kCurrentVersion = 3;

  std::uint32_t version = 0;
  std::int32_t adapterKind = 0;
  AdapterId adapterId;     // 8-bit text
  std::string amount;      // digits and ".", up to 63 characters
  std::uint32_t unit = 0;  // 0 Bytes, 1 KB, 2 MB, 3 GB, 4 TB
  std::uint32_t transferType = 0;  // 0 downloaded, 1 uploaded, 2 both
  std::uint32_t periodKind = 0;    // 0 week, 1 month, 2 last N days
  std::uint32_t playSound = 0;
  std::string soundFile;
  std::uint32_t playBeep = 0;
  std::uint32_t beepPreset = 0;
  std::int32_t days = 0;  // N of a last-N-days period
  std::uint32_t sendEmail = 0;
  std::string emailAddresses;
  std::uint32_t runProgram = 0;
  std::string program;

  bool operator==(const NotificationRule& other) const;
};

// The amount text read as a decimal number, up to the first character that cannot continue it
// (whatever the user's locale); 0 when nothing can be read.
double RuleAmount(const NotificationRule& rule);
// A stored amount that is negative or not a finite number ("-5", "inf", "nan") cannot be a limit:
// such a rule is switched off when read.
bool HasUsableAmount(const NotificationRule& rule);

// Always stamps the current version.
Bytes EncodeNotificationRule(const NotificationRule& rule);
// Reads a zero-padded copy of the first 1992 bytes, version included as stored.
NotificationRule DecodeNotificationRule(const Bytes& bytes);

}  // namespace veltrano
