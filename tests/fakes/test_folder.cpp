// Test folders under the system's temporary directory.
#include "fakes/test_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/paths.h"
#ifdef _WIN32
#include "platform/win32/win32_file_system.h"
using PlatformFileSystem = veltrano::Win32FileSystem;
#else
#include "platform/posix/posix_file_system.h"
using PlatformFileSystem = veltrano::PosixFileSystem;
#endif

namespace veltrano::testing {

TestFolder::TestFolder() : files_(std::make_unique<PlatformFileSystem>()) {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto dir = std::filesystem::temp_directory_path() /
                   ("veltrano-files-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(dir);
  folder_ = dir.string();
}

TestFolder::~TestFolder() {
  files_.reset();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string TestFolder::Path(const std::string& name) const {
  return folder_ + kPathSeparator + name;
}

std::string TestFolder::ReadAll(const std::string& name) const {
  std::ifstream in(Path(name), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void TestFolder::WriteAll(const std::string& name, const std::string& bytes) const {
  std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace veltrano::testing
