// The rates recorder dialog's rows as the list shows and edits them, and the names its save-file
// browser returns.
#pragma once

#include <string>
#include <vector>

#include "engine/adapter_entry.h"
#include "recorder/rates_recorder.h"

namespace veltrano {

struct RecorderDialogModel {
  std::vector<std::string> names;
  std::vector<RecorderDialogRow> rows;
  std::vector<bool> numberOnly;
};

RecorderDialogModel RecorderModelOf(const AdapterList& adapters);

// The list's cells: "Yes"/"No", "5 sec." and the path; interval and file stay empty while the
// row does not record.
std::string RecordCell(const RecorderDialogRow& row);
std::string IntervalCell(const RecorderDialogRow& row);
std::string FileCell(const RecorderDialogRow& row);

// The interval edit as typed (digits only): empty is 0, more than the spin's 32767 is cut to it.
std::uint32_t ParseRecordInterval(const std::string& text);

// The save-file dialog's filters: 1 "Text File (*.txt)", 2 "Microsoft Excel (*.csv)". A name
// without that filter's extension (in any letter case) gets it appended.
std::string WithFilterExtension(const std::string& path, int filterIndex);

}  // namespace veltrano
