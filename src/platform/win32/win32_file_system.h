// Files through CreateFileW with the sharing flags of each mode.
#pragma once

#include "platform/file_system.h"

namespace veltrano {

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<File> Open(const std::string& path, FileMode mode) override;
  bool Exists(const std::string& path) override;
  bool IsDirectory(const std::string& path) override;
  bool MakeDirectory(const std::string& path) override;
  bool IsAvailableFile(const std::string& path) override;
  bool CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) override;
  std::string AppDataFolder() override;
  std::string ExecutableFolder() override;
};

}  // namespace veltrano
