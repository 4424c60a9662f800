#include "view/recorder_dialog_model.h"

#include <gtest/gtest.h>

#include "fakes/test_folder.h"
#include "view/desktop_recording.h"

namespace veltrano {
namespace {

TEST(RecorderDialogCells, ShowIntervalAndFileOnlyForRecordingRows) {
  const RecorderDialogRow on{true, 5, "C:\\rates\\lan.csv"};
  const RecorderDialogRow off{false, 5, "C:\\rates\\lan.csv"};
  EXPECT_EQ(RecordCell(on) + "|" + IntervalCell(on) + "|" + FileCell(on), "Yes|5 sec.|C:\\rates\\lan.csv");
  EXPECT_EQ(RecordCell(off) + "|" + IntervalCell(off) + "|" + FileCell(off), "No||");
}

TEST(RecorderDialogInput, IntervalAndBrowsedNames) {
  EXPECT_EQ(ParseRecordInterval(""), 0u);
  EXPECT_EQ(ParseRecordInterval("0"), 0u);
  EXPECT_EQ(ParseRecordInterval("15"), 15u);
  EXPECT_EQ(ParseRecordInterval("99999999999"), 32767u);
  EXPECT_EQ(WithFilterExtension("C:\\rates\\lan", 1), "C:\\rates\\lan.txt");
  EXPECT_EQ(WithFilterExtension("C:\\rates\\lan.TXT", 1), "C:\\rates\\lan.TXT");
  EXPECT_EQ(WithFilterExtension("C:\\rates\\lan.txt", 2), "C:\\rates\\lan.txt.csv");
  EXPECT_EQ(WithFilterExtension("C:\\rates.d\\lan", 2), "C:\\rates.d\\lan.csv");
}

TEST(DesktopRecording, WritesNothingWhileTheServiceRecordsAndTakesOverWhenItStops) {
  testing::TestFolder folder;
  AdapterList rows(1);
  AdapterEntry& row = rows.front();
  row.kind = kAllConnections;
  row.displayName = "All Connections";
  row.recordRates = true;
  row.recordInterval = 1;
  row.recordFlags = kRecordNumberOnlyFlag;
  row.recordFile = folder.Path("rates.csv");
  Settings settings;
  settings.options.displayUnitByte = 1;
  settings.service.serviceEnabled = 1;
  settings.service.options.recorderInService = 1;
  LocalTime now;
  now.year = 2008, now.month = 3, now.day = 8;

  RatesRecorder recorder(folder.Files(), RecorderFormat{});
  DesktopRecording recording(recorder);
  recording.ReopenAll(settings, rows, now);
  recording.OnRowSample(row, 100, 50, now);
  EXPECT_FALSE(recording.IsOpen(row));
  EXPECT_EQ(folder.ReadAll("rates.csv"), "");

  settings.service.options.recorderInService = 0;
  recording.ReopenAll(settings, rows, now);
  recording.OnRowSample(row, 100, 50, now);
  EXPECT_NE(folder.ReadAll("rates.csv").find(",100,50,150\r\n"), std::string::npos);

  settings.service.options.recorderInService = 1;
  std::vector<RecorderDialogRow> dialog{{true, 2, row.recordFile}};
  EXPECT_TRUE(recording.ApplyDialog(settings, rows, dialog, {true}, now));  // tell the user to restart it
  EXPECT_EQ(row.recordInterval, 2u);
  EXPECT_EQ(RestartServiceForRecorderText(),
            "Rates recorder is enabled in service, please restart Veltrano Service to make options take effect.");
}

}  // namespace
}  // namespace veltrano
