#include "settings/standalone_values.h"

#include <gtest/gtest.h>

#include "fakes/registry_planting.h"
#include "fakes/test_hive.h"

namespace veltrano {
namespace {

const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST(StartWithWindows, WritesAndRemovesTheRunValue) {
  testing::TestHive hives;
  RegistryHive& hive = hives.Hive();
  testing::PlantString(hive, kRun, std::string(40, 'Z'), std::string(400, 'p'));  // someone else's long entry
  EXPECT_FALSE(IsStartWithWindows(hive));
  SetStartWithWindows(hive, true, "C:\\Program Files\\Veltrano\\Pellacor.exe");
  EXPECT_TRUE(IsStartWithWindows(hive));
  const RegValue stored = testing::Stored(hive, kRun, "Veltrano");
  EXPECT_EQ(stored.type, kRegSz);
  EXPECT_EQ(DecodeUtf16Bytes(stored.data), "C:\\Program Files\\Veltrano\\Pellacor.exe");
  SetStartWithWindows(hive, false, "");
  EXPECT_FALSE(IsStartWithWindows(hive));
  RegValue other;
  EXPECT_TRUE(hive.QueryValue(kRun, std::string(40, 'Z'), other));
}

TEST(StartWithWindows, RecognisesTheValueInAnyLetterCaseAndLeavesItAlone) {
  testing::TestHive hives;
  testing::PlantString(hives.Hive(), kRun, "VELTRANO", "D:\\old\\Pellacor.exe");
  EXPECT_TRUE(IsStartWithWindows(hives.Hive()));
  SetStartWithWindows(hives.Hive(), true, "C:\\new\\Pellacor.exe");  // already on: nothing changes
  EXPECT_EQ(DecodeUtf16Bytes(testing::Stored(hives.Hive(), kRun, "Veltrano").data), "D:\\old\\Pellacor.exe");
}

TEST(FirstRun, IsTakenOnceAndRemembered) {
  testing::TestHive hives;
  EXPECT_TRUE(TakeFirstRun(hives.Hive()));
  EXPECT_FALSE(TakeFirstRun(hives.Hive()));
  EXPECT_EQ(testing::Stored(hives.Hive(), "Software\\Veltrano\\Options", "FirstRun").data, (Bytes{0, 0, 0, 0}));
}

TEST(FirstRun, AnyNonZeroValueCountsAsAFirstRun) {
  testing::TestHive hives;
  testing::PlantDword(hives.Hive(), "Software\\Veltrano\\Options", "FirstRun", 7);
  EXPECT_TRUE(TakeFirstRun(hives.Hive()));
  EXPECT_FALSE(TakeFirstRun(hives.Hive()));
}

TEST(TrafficLogPath, AnEmptyOrMissingPathIsNoPath) {
  testing::TestHive hives;
  std::string path = "unchanged";
  EXPECT_FALSE(ReadTrafficLogPath(hives.Hive(), path));
  WriteTrafficLogPath(hives.Hive(), "");
  EXPECT_FALSE(ReadTrafficLogPath(hives.Hive(), path));
  WriteTrafficLogPath(hives.Hive(), "C:\\data\\qxrsum_v2.log");
  EXPECT_TRUE(ReadTrafficLogPath(hives.Hive(), path));
  EXPECT_EQ(path, "C:\\data\\qxrsum_v2.log");
}

}  // namespace
}  // namespace veltrano
