// Which paths the notification page accepts as a sound file or a program.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/test_folder.h"

namespace veltrano {
namespace {

TEST(AvailableFile, IsAFileWhoseAttributesCanBeReadAndNotAFolder) {
  testing::TestFolder folder;
  folder.WriteAll("alarm.wav", "RIFF");
  folder.WriteAll("empty.exe", "");
  std::filesystem::create_directories(folder.Path("sounds.wav"));

  EXPECT_TRUE(folder.Files().IsAvailableFile(folder.Path("alarm.wav")));
  EXPECT_TRUE(folder.Files().IsAvailableFile(folder.Path("empty.exe")));
  EXPECT_FALSE(folder.Files().IsAvailableFile(folder.Path("sounds.wav")));
  EXPECT_FALSE(folder.Files().IsAvailableFile(folder.Path("missing.wav")));
  EXPECT_FALSE(folder.Files().IsAvailableFile(""));
}

}  // namespace
}  // namespace veltrano
