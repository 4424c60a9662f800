// Linux files with the writer/reader sharing rule.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace veltrano {
namespace {

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { close(fd_); }

  std::uint64_t Size() override {
    struct stat info {};
    return fstat(fd_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  }

  size_t ReadAt(std::uint64_t offset, void* buffer, size_t length) override {
    size_t done = 0;
    while (done < length) {
      const ssize_t n = pread(fd_, static_cast<char*>(buffer) + done, length - done, static_cast<off_t>(offset + done));
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    return done;
  }

  bool WriteAt(std::uint64_t offset, const void* data, size_t length) override {
    size_t done = 0;
    while (done < length) {
      const ssize_t n =
          pwrite(fd_, static_cast<const char*>(data) + done, length - done, static_cast<off_t>(offset + done));
      if (n <= 0) return false;
      done += static_cast<size_t>(n);
    }
    return true;
  }

  bool Truncate(std::uint64_t length) override { return ftruncate(fd_, static_cast<off_t>(length)) == 0; }
  bool Flush() override { return fsync(fd_) == 0; }

  bool IsStillAt(const std::string& path) override {
    struct stat open {}, named {};
    if (fstat(fd_, &open) != 0) return true;
    if (open.st_nlink == 0) return false;
    if (stat(path.c_str(), &named) != 0) return errno != ENOENT && errno != ENOTDIR;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<File> PosixFileSystem::Open(const std::string& path, FileMode mode) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileMode::kWriter:
      flags |= O_RDWR | O_CREAT;
      break;
    case FileMode::kReader:
      flags |= O_RDONLY;
      break;
    case FileMode::kCreateNew:
      flags |= O_WRONLY | O_CREAT | O_EXCL;
      break;
    case FileMode::kReplace:
      flags |= O_WRONLY | O_CREAT;
      break;
    case FileMode::kProbe:
      flags |= O_RDONLY | O_CREAT;
      break;
  }
  const int fd = open(path.c_str(), flags, 0644);
  if (fd < 0) return nullptr;
  const bool exclusive = mode == FileMode::kWriter || mode == FileMode::kReplace;
  if (exclusive && flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return nullptr;
  }
  // Emptied only once the lock is ours, so that a writer's file is never cut from under it.
  if (mode == FileMode::kReplace && ftruncate(fd, 0) != 0) {
    close(fd);
    return nullptr;
  }
  return std::make_unique<PosixFile>(fd);
}

bool PosixFileSystem::IsAvailableFile(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool PosixFileSystem::Exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

bool PosixFileSystem::IsDirectory(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool PosixFileSystem::MakeDirectory(const std::string& path) {
  return mkdir(path.c_str(), 0755) == 0;
}

bool PosixFileSystem::CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) {
  std::error_code error;
  const auto options =
      failIfExists ? std::filesystem::copy_options::none : std::filesystem::copy_options::overwrite_existing;
  return std::filesystem::copy_file(source, target, options, error) && !error;
}

std::string PosixFileSystem::AppDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data) return data;
  const char* home = std::getenv("HOME");
  return home ? std::string(home) + "/.local/share" : std::string();
}

std::string PosixFileSystem::ExecutableFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "./" : exe.parent_path().string() + "/";
}

}  // namespace veltrano
