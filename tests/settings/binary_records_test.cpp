#include "settings/binary_records.h"

#include <gtest/gtest.h>

#include <random>

#include "notify/notification_rule.h"
#include "settings/scheduled_report.h"

namespace veltrano {
namespace {

TEST(LogFontCodec, LaysOutLogfontwByteForByte) {
  LogFont font;
  font.height = -13;
  font.weight = 700;
  font.italic = 1;
  font.pitchAndFamily = 0x22;
  font.faceName = "Tahoma";
  const Bytes bytes = EncodeLogFont(font);
  ASSERT_EQ(bytes.size(), 92u);
  EXPECT_EQ(GetI32(bytes, 0), -13);
  EXPECT_EQ(GetI32(bytes, 16), 700);
  EXPECT_EQ(bytes[20], 1);
  EXPECT_EQ(bytes[27], 0x22);
  EXPECT_EQ(bytes[28], 'T');
  EXPECT_EQ(bytes[29], 0);
  EXPECT_EQ(bytes[40], 0);  // terminator after six characters
  EXPECT_EQ(DecodeLogFont(bytes), font);
}

TEST(LogFontCodec, CutsAnUnterminatedFaceNameAtThirtyOneCharacters) {
  Bytes bytes(92, 'x');
  for (size_t i = 29; i < 92; i += 2) bytes[i] = 0;  // 'x' in every UTF-16 unit, no terminator
  EXPECT_EQ(DecodeLogFont(bytes).faceName, std::string(31, 'x'));
}

TEST(ScheduledReportCodec, PutsEveryFieldAtItsOffset) {
  ScheduledReport report;
  report.reportType = kWeeklyReport;
  report.adapterKind = kInterfaceAdapter;
  report.adapterId = "{ABC}";
  report.interval = 3600;
  report.countdown = 17;
  report.filePath = "C:\\Reports\\week.html";
  const Bytes bytes = EncodeScheduledReport(report);
  ASSERT_EQ(bytes.size(), 796u);
  EXPECT_EQ(GetI32(bytes, 0), 2);
  EXPECT_EQ(GetI32(bytes, 4), 300);
  EXPECT_EQ(GetCharField(bytes, 8, 260), "{ABC}");
  EXPECT_EQ(GetI32(bytes, 268), 3600);
  EXPECT_EQ(GetI32(bytes, 272), 17);
  EXPECT_EQ(bytes[276], 'C');
  EXPECT_EQ(bytes[277], 0);
  EXPECT_EQ(DecodeScheduledReport(bytes), report);
}

TEST(NotificationRuleCodec, StampsVersionThreeAndKeepsTheLayout) {
  NotificationRule rule;
  rule.version = 2;
  rule.adapterKind = kInterfaceAdapter;
  rule.adapterId = "{GUID}";
  rule.amount = "1.5";
  rule.unit = 3;
  rule.transferType = 2;
  rule.periodKind = 2;
  rule.days = 7;
  rule.soundFile = "C:\\ding.wav";
  rule.emailAddresses = "a@example.org,b@example.org";
  rule.program = "C:\\notify.exe";
  rule.runProgram = 1;
  const Bytes bytes = EncodeNotificationRule(rule);
  ASSERT_EQ(bytes.size(), 1992u);
  EXPECT_EQ(GetU32(bytes, 0), 3u);
  EXPECT_EQ(GetWideField(bytes, 268, 128), "1.5");
  EXPECT_EQ(GetU32(bytes, 396), 3u);
  EXPECT_EQ(GetI32(bytes, 940), 7);
  EXPECT_EQ(GetWideField(bytes, 948, 520), "a@example.org,b@example.org");
  EXPECT_EQ(GetU32(bytes, 1468), 1u);
  EXPECT_EQ(GetWideField(bytes, 1472, 520), "C:\\notify.exe");
  const NotificationRule decoded = DecodeNotificationRule(bytes);
  EXPECT_EQ(decoded.version, 3u);
  EXPECT_EQ(decoded.soundFile, rule.soundFile);
  EXPECT_EQ(EncodeNotificationRule(decoded), bytes);
}

TEST(RecordCodecs, AcceptAnyBytesWithoutReadingOutOfBounds) {
  std::mt19937 random(1234);
  for (int round = 0; round < 200; ++round) {
    Bytes bytes(random() % 2100);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    const NotificationRule rule = DecodeNotificationRule(bytes);
    EXPECT_LE(rule.adapterId.size(), 260u);
    EXPECT_EQ(EncodeNotificationRule(rule).size(), 1992u);
    const ScheduledReport report = DecodeScheduledReport(bytes);
    EXPECT_LE(report.adapterId.size(), 260u);
    EXPECT_LE(DecodeLogFont(bytes).faceName.size(), 31u * 3);
    DecodeWndPosition(bytes);
    DecodeServiceOptions(bytes);
  }
}

}  // namespace
}  // namespace veltrano
