// Fields of the notification options page.
#include "view/notification_page_model.h"

#include <iterator>

#include "core/paths.h"
#include "core/text.h"

namespace veltrano {

int RuleAdapterIndex(const NotificationRule& rule, const AdapterList& adapters) {
  int index = 0;
  for (const auto& entry : adapters) {
    if (SameAdapter(rule.adapterKind, rule.adapterId, entry)) return index;
    ++index;
  }
  return adapters.empty() ? -1 : 0;
}

// Stored numbers outside the lists' ranges leave nothing selected, so the page asks for them.
NotificationPageFields FieldsOfRule(const NotificationRule& rule, const AdapterList& adapters) {
  const auto inRange = [](std::uint32_t value, std::uint32_t count) { return value < count ? int(value) : -1; };
  NotificationPageFields fields;
  fields.adapterIndex = RuleAdapterIndex(rule, adapters);
  fields.amount = rule.amount;
  fields.unitIndex = inRange(rule.unit, 5);
  fields.transferTypeIndex = inRange(rule.transferType, 3);
  fields.periodIndex = inRange(rule.periodKind, 3);
  fields.days = rule.days < 1 ? 1 : rule.days;
  fields.playSound = rule.playSound != 0;
  fields.soundFile = rule.soundFile;
  fields.beepPresetIndex = inRange(rule.beepPreset, 9);
  fields.sendEmail = rule.sendEmail != 0;
  fields.emailAddresses = rule.emailAddresses;
  fields.runProgram = rule.runProgram != 0;
  fields.program = rule.program;
  return fields;
}

void StoreFieldsInRule(const NotificationPageFields& fields, const AdapterList& adapters, NotificationRule& rule) {
  if (fields.adapterIndex >= 0 && fields.adapterIndex < static_cast<int>(adapters.size())) {
    const AdapterEntry& entry = *std::next(adapters.begin(), fields.adapterIndex);
    rule.adapterKind = entry.kind;
    rule.adapterId = entry.kind == kInterfaceAdapter ? entry.id : AdapterId();
  }
  rule.version = NotificationRule::kCurrentVersion;
  rule.amount = fields.amount;
  rule.unit = static_cast<std::uint32_t>(fields.unitIndex);
  rule.transferType = static_cast<std::uint32_t>(fields.transferTypeIndex);
  rule.periodKind = static_cast<std::uint32_t>(fields.periodIndex);
  rule.days = fields.days;
  rule.playSound = fields.playSound;
  rule.soundFile = fields.soundFile;
  rule.beepPreset = static_cast<std::uint32_t>(fields.beepPresetIndex);
  rule.sendEmail = fields.sendEmail;
  rule.emailAddresses = fields.emailAddresses;
  rule.runProgram = fields.runProgram;
  rule.program = fields.program;
}

std::string CheckSoundTest(const std::string& path, FileSystem& files) {
  if (files.IsAvailableFile(path) && EqualsIgnoreAsciiCase(ExtensionAfterFolder(path), ".wav")) return "";
  return "File '" + path + "' isn't available or isn't a WAV file.";
}

}  // namespace veltrano
