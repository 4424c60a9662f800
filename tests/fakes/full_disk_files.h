// Real files on a disk that fills up: a budget of bytes by which files may grow, shared by every
// file opened through it. A write that needs more stores what fits and fails, as a full disk
// does; a read-only switch refuses every write and every opening for writing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace veltrano::testing {

class FullDiskFiles : public FileSystem {
 public:
  explicit FullDiskFiles(FileSystem& real, std::uint64_t freeBytes = UINT64_MAX) : real_(real), free_(freeBytes) {}
  void SetFree(std::uint64_t bytes) { free_ = bytes; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  std::unique_ptr<File> Open(const std::string& path, FileMode mode) override {
    if (readOnly_ && mode != FileMode::kReader) return nullptr;
    std::unique_ptr<File> file = real_.Open(path, mode);
    return file ? std::make_unique<Limited>(*this, std::move(file)) : nullptr;
  }
  bool Exists(const std::string& path) override { return real_.Exists(path); }
  bool IsDirectory(const std::string& path) override { return real_.IsDirectory(path); }
  bool MakeDirectory(const std::string& path) override { return real_.MakeDirectory(path); }
  bool IsAvailableFile(const std::string& path) override { return real_.IsAvailableFile(path); }
  bool CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) override {
    return real_.CopyFileTo(source, target, failIfExists);
  }
  std::string AppDataFolder() override { return real_.AppDataFolder(); }
  std::string ExecutableFolder() override { return real_.ExecutableFolder(); }

 private:
  class Limited : public File {
   public:
    Limited(FullDiskFiles& disk, std::unique_ptr<File> file) : disk_(disk), file_(std::move(file)) {}
    std::uint64_t Size() override { return file_->Size(); }
    size_t ReadAt(std::uint64_t offset, void* buffer, size_t length) override {
      return file_->ReadAt(offset, buffer, length);
    }
    bool WriteAt(std::uint64_t offset, const void* data, size_t length) override {
      if (disk_.readOnly_) return false;
      const std::uint64_t size = file_->Size();
      const std::uint64_t growth = offset + length > size ? offset + length - size : 0;
      if (growth <= disk_.free_) {
        disk_.free_ -= growth;
        return file_->WriteAt(offset, data, length);
      }
      const std::uint64_t fits = size + disk_.free_ > offset ? size + disk_.free_ - offset : 0;
      if (fits > 0) file_->WriteAt(offset, data, static_cast<size_t>(fits));
      disk_.free_ = 0;
      return false;
    }
    bool Truncate(std::uint64_t length) override {
      const std::uint64_t size = file_->Size();
      if (!file_->Truncate(length)) return false;
      if (length < size && disk_.free_ != UINT64_MAX) disk_.free_ += size - length;
      return true;
    }
    bool Flush() override { return file_->Flush(); }
    bool IsStillAt(const std::string& path) override { return file_->IsStillAt(path); }

   private:
    FullDiskFiles& disk_;
    std::unique_ptr<File> file_;
  };

  FileSystem& real_;
  std::uint64_t free_;
  bool readOnly_ = false;
};

}  // namespace veltrano::testing
