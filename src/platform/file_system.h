// Files with the Windows sharing rules the traffic log relies on, and the few file-system
// operations around them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace veltrano {

enum class FileMode {
  kWriter,     // read and write, others may only read; opens or creates
  kReader,     // read only, others may read and write; the file must exist
  kCreateNew,  // write, no sharing; fails when the file exists
  kReplace,    // write, no sharing; an existing file is emptied first
  kProbe,      // no access, others may read and write; opens or creates (can it be created?)
};

class File {
 public:
  virtual ~File() = default;
  virtual std::uint64_t Size() = 0;
  // Bytes actually read; fewer than asked at the end of the file or on error.
  virtual size_t ReadAt(std::uint64_t offset, void* buffer, size_t length) = 0;
  virtual bool WriteAt(std::uint64_t offset, const void* data, size_t length) = 0;
  virtual bool Truncate(std::uint64_t length) = 0;
  // Down to the disk, not only out of the process.
  virtual bool Flush() = 0;
  // False when `path` no longer names this open file: it was deleted, or another file took its
  // name. True while it does, and when that cannot be told.
  virtual bool IsStillAt(const std::string& path) {
    (void)path;
    return true;
  }
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Null when the file cannot be opened in that mode (missing, refused by another opener...).
  virtual std::unique_ptr<File> Open(const std::string& path, FileMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  virtual bool IsDirectory(const std::string& path) = 0;
  virtual bool MakeDirectory(const std::string& path) = 0;
  // A file whose attributes can be read and that is not a folder.
  virtual bool IsAvailableFile(const std::string& path) = 0;
  virtual bool CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) = 0;
  // The per-user application data folder without a trailing separator; empty when unavailable.
  virtual std::string AppDataFolder() = 0;
  // The running executable's folder, ending with its separator.
  virtual std::string ExecutableFolder() = 0;
};

}  // namespace veltrano
