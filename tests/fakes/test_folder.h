// A fresh temporary folder and the platform's file system, for tests of real files: natively
// the flock emulation, under Wine real CreateFileW handles.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace veltrano::testing {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  FileSystem& Files() { return *files_; }
  std::string Path(const std::string& name) const;
  std::string ReadAll(const std::string& name) const;
  void WriteAll(const std::string& name, const std::string& bytes) const;

 private:
  std::string folder_;
  std::unique_ptr<FileSystem> files_;
};

}  // namespace veltrano::testing
