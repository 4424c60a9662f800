// Native test hives: files in a fresh temporary directory.
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "fakes/test_hive.h"
#include "platform/posix/file_registry_hive.h"

namespace veltrano::testing {
namespace {

std::filesystem::path FreshDirectory() {
  static std::atomic<int> counter{0};
  auto dir = std::filesystem::temp_directory_path() /
             ("veltrano-hive-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

thread_local std::filesystem::path currentDir;

}  // namespace

TestHive::TestHive() {
  currentDir = FreshDirectory();
  hive_ = std::make_unique<FileRegistryHive>((currentDir / "hkcu.reg").string());
  other_ = std::make_unique<FileRegistryHive>((currentDir / "hklm.reg").string());
}

TestHive::~TestHive() {
  hive_.reset();
  other_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(currentDir, ignored);
}

std::unique_ptr<RegistryHive> TestHive::Reopen() {
  return std::make_unique<FileRegistryHive>((currentDir / "hkcu.reg").string());
}

}  // namespace veltrano::testing
