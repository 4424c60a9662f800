// File attributes that say nothing about whether a file can be used.
#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/test_folder.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

TEST(AvailableFileWin32, IgnoresTheArchiveReadOnlyAndHiddenAttributes) {
  testing::TestFolder folder;
  folder.WriteAll("backed up.wav", "RIFF");
  folder.WriteAll("locked.exe", "MZ");
  const std::string backedUp = folder.Path("backed up.wav");
  const std::string locked = folder.Path("locked.exe");
  ASSERT_TRUE(SetFileAttributesW(Widen(backedUp).c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_EQ(GetFileAttributesW(Widen(backedUp).c_str()) & FILE_ATTRIBUTE_ARCHIVE, 0u);
  ASSERT_TRUE(SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

  EXPECT_TRUE(folder.Files().IsAvailableFile(backedUp));
  EXPECT_TRUE(folder.Files().IsAvailableFile(locked));
  SetFileAttributesW(Widen(locked).c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace veltrano
