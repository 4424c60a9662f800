// The desktop's side of the rates recorder.
#include "view/desktop_recording.h"

#include "core/text.h"

namespace veltrano {

bool ServiceRecordsRates(const ServiceSettings& service) {
  return service.serviceEnabled && service.options.recorderInService;
}

RecorderFormat DesktopRecorderFormat(const Options& options) {
  return {options.displayUnitByte != 0, options.showIpInTitle != 0, options.dateFormat};
}

void DesktopRecording::ReopenAll(const Settings& settings, AdapterList& rows, const LocalTime& now) {
  serviceRecords_ = ServiceRecordsRates(settings.service);
  recorder_.SetFormat(DesktopRecorderFormat(settings.options));
  recorder_.ReopenAll(rows, serviceRecords_, now);
}

void DesktopRecording::OnRowSample(AdapterEntry& row, std::uint32_t received, std::uint32_t sent,
                                   const LocalTime& now) {
  if (!serviceRecords_ && row.recordRates) recorder_.RecordTick(row, received, sent, now);
}

bool DesktopRecording::ApplyDialog(const Settings& settings, AdapterList& rows,
                                   const std::vector<RecorderDialogRow>& dialog, const std::vector<bool>& numberOnly,
                                   const LocalTime& now) {
  serviceRecords_ = ServiceRecordsRates(settings.service);
  recorder_.SetFormat(DesktopRecorderFormat(settings.options));
  ApplyRecorderDialog(recorder_, rows, dialog, numberOnly, serviceRecords_, now);
  return serviceRecords_;
}

std::string RestartServiceForRecorderText() {
  return StringPrintf(kRestartServiceForRecorderText, "Veltrano Service");
}

}  // namespace veltrano
