#include "engine/log_location.h"

#include <gtest/gtest.h>

#include "core/paths.h"
#include "core/text.h"
#include "fakes/test_folder.h"
#include "fakes/test_hive.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

TEST(LogLocation, TheDefaultPathIsStoredForBothProgramsWhileTheServiceIsEnabled) {
  testing::TestHive hives;
  testing::TestFolder folder;
  SettingsStore store(hives.Hive(), hives.OtherHive());
  Settings settings;
  settings.service.serviceEnabled = 1;
  const LogLocation location = ResolveDesktopLogPath(store, settings, folder.Files());
  EXPECT_FALSE(location.customPath);
  EXPECT_NE(location.path.find(std::string("Pellacor") + kPathSeparator + "qxrsum_v2.log"), std::string::npos);
  std::string stored;
  ASSERT_TRUE(ReadTrafficLogPath(hives.OtherHive(), stored));
  EXPECT_EQ(stored, location.path);
  const LogLocation again = ResolveDesktopLogPath(store, settings, folder.Files());
  EXPECT_TRUE(again.customPath);
  EXPECT_EQ(again.path, location.path);
  EXPECT_EQ(ResolveServiceLogPath(hives.OtherHive(), folder.Files()).path, location.path);
}

// "é" is two bytes of UTF-8 but one UTF-16 unit and one byte of the ANSI code page.
TEST(LogLocation, APathLengthIsCountedAsEachProgramReadsIt) {
  testing::TestHive hives;
  testing::TestFolder folder;
  SettingsStore store(hives.Hive(), hives.OtherHive());
  const std::string prefix = folder.Path("");
  const auto pathOf = [&](size_t characters) {
    std::string path = prefix;
    while (Utf8ToUtf16(path).size() + 4 < characters) path += "\xC3\xA9";
    return path + ".log";
  };
  const std::string longest = pathOf(260), tooLong = pathOf(261);
  ASSERT_GT(longest.size(), 260u);
  ASSERT_EQ(Utf8ToUtf16(tooLong).size(), 261u);

  WriteTrafficLogPath(hives.Hive(), longest);
  WriteTrafficLogPath(hives.OtherHive(), longest);
  const LogLocation desktop = ResolveDesktopLogPath(store, Settings{}, folder.Files());
  EXPECT_TRUE(desktop.customPath);
  EXPECT_EQ(desktop.path, longest);
  std::string stored;
  ASSERT_TRUE(ReadTrafficLogPath(hives.Hive(), stored));
  EXPECT_EQ(stored, longest);  // the user's path stays
  const LogLocation service = ResolveServiceLogPath(hives.OtherHive(), folder.Files());
  EXPECT_TRUE(service.customPath);
  EXPECT_EQ(service.path, longest);

  WriteTrafficLogPath(hives.Hive(), tooLong);
  WriteTrafficLogPath(hives.OtherHive(), tooLong);
  EXPECT_FALSE(ResolveDesktopLogPath(store, Settings{}, folder.Files()).customPath);
  EXPECT_FALSE(ResolveServiceLogPath(hives.OtherHive(), folder.Files()).customPath);
}

TEST(LogLocation, UsingAnExistingLogCopiesItUnderTheFirstFreeNumber) {
  testing::TestFolder folder;
  folder.WriteAll("mine_1.log", "taken");
  folder.WriteAll("old.log", "history");
  std::string newPath;
  EXPECT_EQ(UseExistingLog(folder.Files(), folder.Path("mine.log"), folder.Path("old.log"), newPath),
            CopyResult::kCopied);
  EXPECT_EQ(newPath, folder.Path("mine_2.log"));
  EXPECT_EQ(folder.ReadAll("mine_2.log"), "history");
  EXPECT_EQ(UseExistingLog(folder.Files(), folder.Path("mine.log"), AsciiUpper(folder.Path("mine.log")), newPath),
            CopyResult::kSamePath);
  EXPECT_EQ(UseExistingLog(folder.Files(), folder.Path("mine.log"), folder.Path("missing.log"), newPath),
            CopyResult::kFailed);
}

TEST(LogLocation, BackupOverwritesTheTargetButNeverTheLogItself) {
  testing::TestFolder folder;
  folder.WriteAll("log.log", "current");
  folder.WriteAll("backup.log", "stale");
  EXPECT_EQ(BackupLog(folder.Files(), folder.Path("log.log"), folder.Path("backup.log")), CopyResult::kCopied);
  EXPECT_EQ(folder.ReadAll("backup.log"), "current");
  EXPECT_EQ(BackupLog(folder.Files(), folder.Path("log.log"), folder.Path("LOG.log")), CopyResult::kSamePath);
}

}  // namespace
}  // namespace veltrano
