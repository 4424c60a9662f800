// Rows of the rates recorder dialog.
#include "view/recorder_dialog_model.h"

#include "core/paths.h"
#include "core/text.h"

namespace veltrano {

RecorderDialogModel RecorderModelOf(const AdapterList& adapters) {
  RecorderDialogModel model;
  for (const auto& entry : adapters) {
    model.names.push_back(entry.displayName);
    model.rows.push_back({entry.recordRates, entry.recordInterval, entry.recordFile});
    model.numberOnly.push_back((entry.recordFlags & kRecordNumberOnlyFlag) != 0);
  }
  return model;
}

std::string RecordCell(const RecorderDialogRow& row) {
  return row.record ? "Yes" : "No";
}

std::string IntervalCell(const RecorderDialogRow& row) {
  return row.record ? std::to_string(row.interval) + " sec." : "";
}

std::string FileCell(const RecorderDialogRow& row) {
  return row.record ? row.file : "";
}

std::uint32_t ParseRecordInterval(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  if (text.size() > 5) return 32767;
  const unsigned long value = std::stoul(text);
  return value > 32767 ? 32767 : static_cast<std::uint32_t>(value);
}

std::string WithFilterExtension(const std::string& path, int filterIndex) {
  const std::string wanted = filterIndex == 2 ? ".csv" : ".txt";
  std::string stem, extension;
  SplitExtension(path, stem, extension);
  return EqualsIgnoreAsciiCase(extension, wanted) ? path : path + wanted;
}

}  // namespace veltrano
