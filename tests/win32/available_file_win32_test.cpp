// File attributes that say nothing about whether a file can be used.
#include <windows.h>

#include <gtest/gtest.h>

#include "fakes/test_folder.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

TEST(AvailableFileWin32, IgnoresTheReadOnlyAndHiddenAttributes) {
  testing::TestFolder folder;
  folder.WriteAll("locked tool.exe", "MZ");
  const std::wstring locked = Widen(folder.Path("locked tool.exe"));
  ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(folder.Files().IsAvailableFile(folder.Path("locked tool.exe")));
  SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(AvailableFileWin32, TakesAFileWhoseArchiveAttributeIsClear) {
  testing::TestFolder folder;
  folder.WriteAll("backed up.wav", "RIFF");
  const std::wstring path = Widen(folder.Path("backed up.wav"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
  // Wine keeps DOS attributes in extended attributes; where the file system has none, every file
  // reads as archived and the case cannot be made here.
  if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE) GTEST_SKIP() << "archive attribute cannot be cleared";
  EXPECT_TRUE(folder.Files().IsAvailableFile(folder.Path("backed up.wav")));
}

}  // namespace
}  // namespace veltrano
