// Codec of the notification rule record.
#include "notify/notification_rule.h"

#include <charconv>
#include <cmath>

namespace veltrano {
namespace {

constexpr size_t kVersion = 0, kKind = 4, kId = 8, kAmount = 268, kUnit = 396, kTransfer = 400, kPeriod = 404,
                 kPlaySound = 408, kSoundFile = 412, kPlayBeep = 932, kBeepPreset = 936, kDays = 940,
                 kSendEmail = 944, kAddresses = 948, kRunProgram = 1468, kProgram = 1472;
constexpr size_t kIdSize = 260, kAmountSize = 128, kPathSize = 520;
static_assert(kId + kIdSize == kAmount && kAmount + kAmountSize == kUnit, "id and amount fields");
static_assert(kSoundFile + kPathSize == kPlayBeep && kAddresses + kPathSize == kRunProgram, "text fields");
static_assert(kProgram + kPathSize == NotificationRule::kSize, "the rule record is 1992 bytes");

}  // namespace

double RuleAmount(const NotificationRule& rule) {
  double amount = 0;
  const char* text = rule.amount.c_str();
  std::from_chars(text, text + rule.amount.size(), amount, std::chars_format::fixed);
  return amount;
}

bool HasUsableAmount(const NotificationRule& rule) {
  const double amount = RuleAmount(rule);
  return std::isfinite(amount) && amount >= 0;
}

bool NotificationRule::operator==(const NotificationRule& other) const {
  return version == other.version && EncodeNotificationRule(*this) == EncodeNotificationRule(other);
}

Bytes EncodeNotificationRule(const NotificationRule& rule) {
  Bytes bytes(NotificationRule::kSize, 0);
  PutU32(bytes, kVersion, NotificationRule::kCurrentVersion);
  PutI32(bytes, kKind, rule.adapterKind);
  PutCharField(bytes, kId, kIdSize, rule.adapterId);
  PutWideField(bytes, kAmount, kAmountSize, rule.amount);
  PutU32(bytes, kUnit, rule.unit);
  PutU32(bytes, kTransfer, rule.transferType);
  PutU32(bytes, kPeriod, rule.periodKind);
  PutU32(bytes, kPlaySound, rule.playSound);
  PutWideField(bytes, kSoundFile, kPathSize, rule.soundFile);
  PutU32(bytes, kPlayBeep, rule.playBeep);
  PutU32(bytes, kBeepPreset, rule.beepPreset);
  PutI32(bytes, kDays, rule.days);
  PutU32(bytes, kSendEmail, rule.sendEmail);
  PutWideField(bytes, kAddresses, kPathSize, rule.emailAddresses);
  PutU32(bytes, kRunProgram, rule.runProgram);
  PutWideField(bytes, kProgram, kPathSize, rule.program);
  return bytes;
}

NotificationRule DecodeNotificationRule(const Bytes& bytes) {
  NotificationRule rule;
  rule.version = GetU32(bytes, kVersion);
  rule.adapterKind = GetI32(bytes, kKind);
  rule.adapterId = GetCharField(bytes, kId, kIdSize);
  rule.amount = GetWideField(bytes, kAmount, kAmountSize);
  rule.unit = GetU32(bytes, kUnit);
  rule.transferType = GetU32(bytes, kTransfer);
  rule.periodKind = GetU32(bytes, kPeriod);
  rule.playSound = GetU32(bytes, kPlaySound);
  rule.soundFile = GetWideField(bytes, kSoundFile, kPathSize);
  rule.playBeep = GetU32(bytes, kPlayBeep);
  rule.beepPreset = GetU32(bytes, kBeepPreset);
  rule.days = GetI32(bytes, kDays);
  rule.sendEmail = GetU32(bytes, kSendEmail);
  rule.emailAddresses = GetWideField(bytes, kAddresses, kPathSize);
  rule.runProgram = GetU32(bytes, kRunProgram);
  rule.program = GetWideField(bytes, kProgram, kPathSize);
  return rule;
}

}  // namespace veltrano
