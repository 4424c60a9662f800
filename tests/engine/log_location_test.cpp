#include "engine/log_location.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

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

// The Windows sharing rule over a real folder: an open is refused when it asks for access that an
// open handle does not share, or does not share access that an open handle holds. A plain copy
// opens its source for reading and shares only reading.
class SharingRuleFiles : public FileSystem {
 public:
  explicit SharingRuleFiles(FileSystem& real) : real_(real) {}

  std::unique_ptr<File> Open(const std::string& path, FileMode mode) override {
    const Access access = AccessOf(mode);
    if (Refused(path, access)) return nullptr;
    std::unique_ptr<File> file = real_.Open(path, mode);
    if (!file) return nullptr;
    return std::make_unique<TrackedFile>(std::move(file), *this, Register(path, access));
  }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool IsDirectory(const std::string& path) override { return real_.IsDirectory(path); }
  bool MakeDirectory(const std::string& path) override { return real_.MakeDirectory(path); }
  bool IsAvailableFile(const std::string& path) override { return real_.IsAvailableFile(path); }
  bool CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) override {
    if (Refused(source, {true, false, true, false})) return false;
    return real_.CopyFileTo(source, target, failIfExists);
  }
  std::string AppDataFolder() override { return real_.AppDataFolder(); }
  std::string ExecutableFolder() override { return real_.ExecutableFolder(); }

 private:
  struct Access {
    bool read, write, shareRead, shareWrite;
  };
  struct Handle {
    std::string path;
    Access access;
  };

  class TrackedFile : public File {
   public:
    TrackedFile(std::unique_ptr<File> file, SharingRuleFiles& owner, int id)
        : file_(std::move(file)), owner_(owner), id_(id) {}
    ~TrackedFile() override { owner_.handles_.erase(id_); }
    std::uint64_t Size() override { return file_->Size(); }
    size_t ReadAt(std::uint64_t offset, void* buffer, size_t length) override {
      return file_->ReadAt(offset, buffer, length);
    }
    bool WriteAt(std::uint64_t offset, const void* data, size_t length) override {
      return file_->WriteAt(offset, data, length);
    }
    bool Truncate(std::uint64_t length) override { return file_->Truncate(length); }
    bool Flush() override { return file_->Flush(); }

   private:
    std::unique_ptr<File> file_;
    SharingRuleFiles& owner_;
    int id_;
  };

  static Access AccessOf(FileMode mode) {
    switch (mode) {
      case FileMode::kWriter:
        return {true, true, true, false};
      case FileMode::kReader:
        return {true, false, true, true};
      case FileMode::kCreateNew:
      case FileMode::kReplace:
        return {false, true, false, false};
      case FileMode::kProbe:
        break;
    }
    return {false, false, true, true};
  }

  bool Refused(const std::string& path, const Access& wanted) const {
    for (const auto& [id, handle] : handles_) {
      if (!EqualsIgnoreAsciiCase(handle.path, path)) continue;
      const Access& held = handle.access;
      if ((wanted.read && !held.shareRead) || (wanted.write && !held.shareWrite) || (held.read && !wanted.shareRead) ||
          (held.write && !wanted.shareWrite))
        return true;
    }
    return false;
  }

  int Register(const std::string& path, const Access& access) {
    handles_[++lastId_] = {path, access};
    return lastId_;
  }

  FileSystem& real_;
  std::map<int, Handle> handles_;
  int lastId_ = 0;
};

std::string LogBytes(size_t records) {
  std::string bytes = "NTSL";
  bytes.resize(24 + records * 296);
  for (size_t i = 4; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  return bytes;
}

TEST(UseExistingLog, CopiesTheSourceUnderTheFirstFreeNumberOfThePathShown) {
  testing::TestFolder folder;
  folder.WriteAll("pending_1.log", "taken");
  folder.WriteAll("old.log", "history");
  std::string newPath;
  // The log chosen before (pending) names the copy, not the one open now.
  EXPECT_EQ(UseExistingLog(folder.Files(), folder.Path("open.log"), folder.Path("pending.log"), folder.Path("old.log"),
                           newPath),
            CopyResult::kCopied);
  EXPECT_EQ(newPath, folder.Path("pending_2.log"));
  EXPECT_EQ(folder.ReadAll("pending_2.log"), "history");
  EXPECT_EQ(folder.ReadAll("pending_1.log"), "taken");
  EXPECT_FALSE(folder.Files().Exists(folder.Path("open_1.log")));
}

TEST(UseExistingLog, DoesNothingForTheOpenLogButCopiesThePendingOne) {
  testing::TestFolder folder;
  folder.WriteAll("open.log", "open");
  folder.WriteAll("pending.log", "pending");
  std::string newPath;
  EXPECT_EQ(UseExistingLog(folder.Files(), folder.Path("open.log"), folder.Path("pending.log"),
                           AsciiUpper(folder.Path("open.log")), newPath),
            CopyResult::kSamePath);
  EXPECT_TRUE(newPath.empty());
  EXPECT_EQ(UseExistingLog(folder.Files(), folder.Path("open.log"), folder.Path("pending.log"),
                           folder.Path("pending.log"), newPath),
            CopyResult::kCopied);
  EXPECT_EQ(newPath, folder.Path("pending_1.log"));
  EXPECT_EQ(folder.ReadAll("pending_1.log"), "pending");
}

TEST(UseExistingLog, FailsForAMissingSourceOrAFolderAndCreatesNothing) {
  testing::TestFolder folder;
  folder.Files().MakeDirectory(folder.Path("folder.log"));
  std::string newPath;
  for (const char* source : {"missing.log", "folder.log"}) {
    EXPECT_EQ(
        UseExistingLog(folder.Files(), folder.Path("mine.log"), folder.Path("mine.log"), folder.Path(source), newPath),
        CopyResult::kFailed)
        << source;
    EXPECT_FALSE(folder.Files().Exists(folder.Path("mine_1.log")));
  }
  EXPECT_TRUE(newPath.empty());
}

TEST(BackupLog, OverwritesTheTargetButNeverTheLogItself) {
  testing::TestFolder folder;
  folder.WriteAll("log.log", "current");
  folder.WriteAll("backup.log", "a longer stale backup");
  EXPECT_EQ(BackupLog(folder.Files(), folder.Path("log.log"), folder.Path("backup.log")), CopyResult::kCopied);
  EXPECT_EQ(folder.ReadAll("backup.log"), "current");
  EXPECT_EQ(BackupLog(folder.Files(), folder.Path("log.log"), folder.Path("LOG.log")), CopyResult::kSamePath);
  EXPECT_EQ(folder.ReadAll("log.log"), "current");
  EXPECT_EQ(BackupLog(folder.Files(), folder.Path("log.log"), folder.Path("no-such-folder") + kPathSeparator + "b.log"),
            CopyResult::kFailed);
}

TEST(BackupLog, CopiesTheLogByteForByteWhileAWriterHoldsIt) {
  testing::TestFolder folder;
  SharingRuleFiles files(folder.Files());
  const std::string bytes = LogBytes(5000);  // more than one copy block
  folder.WriteAll("log.log", bytes);
  std::unique_ptr<File> writer = files.Open(folder.Path("log.log"), FileMode::kWriter);
  ASSERT_TRUE(writer);
  // A plain copy is refused beside the writer; the backup is not.
  EXPECT_FALSE(files.CopyFileTo(folder.Path("log.log"), folder.Path("plain.log"), false));
  EXPECT_EQ(BackupLog(files, folder.Path("log.log"), folder.Path("backup.log")), CopyResult::kCopied);
  EXPECT_EQ(folder.ReadAll("backup.log"), bytes);
  std::string newPath;
  EXPECT_EQ(UseExistingLog(files, folder.Path("other.log"), folder.Path("other.log"), folder.Path("log.log"), newPath),
            CopyResult::kCopied);
  EXPECT_EQ(folder.ReadAll("other_1.log"), bytes);
  // The writer goes on writing.
  EXPECT_TRUE(writer->WriteAt(0, "NTSL", 4));
}

}  // namespace
}  // namespace veltrano
