// Sorting, enabling, and the "Report" dialog's checks of the Service options page.
#include "view/service_page_model.h"

#include <algorithm>
#include <iterator>

#include "core/text.h"
#include "view/number_field.h"

namespace veltrano {

const char* const kServicePageIntro = "The program can run as a service that logs traffic and does options below.";
const char* const kServicePageNote = "Note: options above will take effect after service restarts";
const char* const kReportTypeItems[4] = {"Summary report", "Daily report", "Weekly report", "Monthly report"};

void SortReports(std::vector<ScheduledReport>& reports, const AdapterList& adapters, const ListSortState& sort) {
  auto less = [&](const ScheduledReport& a, const ScheduledReport& b) {
    if (sort.column == kReportIntervalColumn) return a.interval < b.interval;
    const ReportListRowTexts left = ReportListRow(a, adapters), right = ReportListRow(b, adapters);
    switch (sort.column) {
      case kReportAdapterColumn:
        return left.adapter < right.adapter;
      case kReportFileColumn:
        return a.filePath < b.filePath;
      default:
        return left.reportType < right.reportType;
    }
  };
  if (sort.ascending)
    std::stable_sort(reports.begin(), reports.end(), less);
  else
    std::stable_sort(reports.begin(), reports.end(),
                     [&less](const ScheduledReport& a, const ScheduledReport& b) { return less(b, a); });
}

ServicePageEnabling ServicePageEnabled(bool serviceChecked, bool rowSelected) {
  return {serviceChecked, serviceChecked && rowSelected};
}

int ReportAdapterIndex(const ScheduledReport& report, const AdapterList& adapters) {
  int index = 0;
  for (const AdapterEntry& row : adapters) {
    if (SameAdapter(report.adapterKind, report.adapterId, row)) return index;
    ++index;
  }
  return 0;
}

namespace {

constexpr size_t kMaxPathUnits = 259;

// The folder part of a path, empty for a bare file name.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return {};
  if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);  // a drive's root
  return path.substr(0, slash);
}

}  // namespace

PageCheck<ReportDialogControl> ReadReportDialog(const ReportDialogInput& input, const AdapterList& adapters,
                                                FileSystem& files, ScheduledReport& report) {
  using Check = PageCheck<ReportDialogControl>;
  std::int64_t interval = 0;
  const bool number = ParseWholeNumber(input.interval, interval);
  ReportDialogFields fields;
  fields.typeIndex = input.typeIndex >= 0 && input.typeIndex < 4 ? input.typeIndex : -1;
  fields.adapterIndex =
      input.adapterIndex >= 0 && static_cast<size_t>(input.adapterIndex) < adapters.size() ? input.adapterIndex : -1;
  fields.interval =
      number ? static_cast<int>(std::max<std::int64_t>(std::min<std::int64_t>(interval, 1 << 30), -1)) : 1;
  fields.file = input.file;
  if (!number || interval > 32767) {
    // The type and adapter are still checked first, as the dialog's order has it.
    ReportDialogFields before = fields;
    before.file = "-";
    const ReportDialogCheck check = CheckReportDialog(before);
    if (!check.message.empty()) return Check::Refuse(check.focus, check.message);
    return Check::Refuse(ReportDialogControl::kInterval, "The interval seconds should be a number from 1 to 32767.");
  }
  const ReportDialogCheck check = CheckReportDialog(fields);
  if (!check.message.empty()) return Check::Refuse(check.focus, check.message);
  if (Utf8ToUtf16(input.file).size() > kMaxPathUnits)
    return Check::Refuse(ReportDialogControl::kFile, "The report file name must not be longer than 259 characters.");
  const std::string folder = FolderOf(input.file);
  if (!folder.empty() && !files.IsDirectory(folder))
    return Check::Refuse(ReportDialogControl::kFile, "The folder of the report file does not exist.");

  const AdapterEntry& adapter = *std::next(adapters.begin(), fields.adapterIndex);
  report.reportType = fields.typeIndex;
  report.adapterKind = adapter.kind;
  report.adapterId = adapter.kind == kInterfaceAdapter ? adapter.id : AdapterId();
  report.interval = static_cast<std::int32_t>(interval);
  report.filePath = input.file;
  return {};
}

}  // namespace veltrano
