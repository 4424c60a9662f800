// The desktop's rates recording on its tick: every recording row gets its file and a line every
// N seconds, unless the service records (service enabled with its recorder switch on); then the
// desktop keeps no file open and writes nothing.
#pragma once

#include <string>
#include <vector>

#include "recorder/rates_recorder.h"
#include "settings/settings_store.h"

namespace veltrano {

bool ServiceRecordsRates(const ServiceSettings& service);
RecorderFormat DesktopRecorderFormat(const Options& options);

class DesktopRecording {
 public:
  // The recorder is the main window's, which records each row on the tick.
  explicit DesktopRecording(RatesRecorder& recorder) : recorder_(recorder) {}

  // Start-up and every change of the service settings or of the unit, IP-in-title and date format.
  void ReopenAll(const Settings& settings, AdapterList& rows, const LocalTime& now);
  // Per row and tick, in table order.
  void OnRowSample(AdapterEntry& row, std::uint32_t received, std::uint32_t sent, const LocalTime& now);
  // The recorder dialog accepted. True when the user must be told to restart the service.
  bool ApplyDialog(const Settings& settings, AdapterList& rows, const std::vector<RecorderDialogRow>& dialog,
                   const std::vector<bool>& numberOnly, const LocalTime& now);
  void CloseAll() { recorder_.CloseAll(); }

  bool IsOpen(const AdapterEntry& row) const { return recorder_.IsOpen(row); }

 private:
  RatesRecorder& recorder_;
  bool serviceRecords_ = false;
};

// "Rates recorder is enabled in service, please restart Veltrano Service to make options take effect."
std::string RestartServiceForRecorderText();

}  // namespace veltrano
