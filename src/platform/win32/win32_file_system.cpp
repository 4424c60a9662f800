// Win32 files. "SHGetSpecialFolderPathW" is looked up at run time, so that a system without it
// still runs (the log then lives beside the executable).
#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

class Win32File : public File {
 public:
  explicit Win32File(HANDLE handle) : handle_(handle) {}
  ~Win32File() override { CloseHandle(handle_); }

  std::uint64_t Size() override {
    LARGE_INTEGER size{};
    return GetFileSizeEx(handle_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
  }

  size_t ReadAt(std::uint64_t offset, void* buffer, size_t length) override {
    size_t done = 0;
    while (done < length) {
      OVERLAPPED at = Position(offset + done);
      DWORD read = 0;
      const DWORD chunk = static_cast<DWORD>(length - done > 0x10000000 ? 0x10000000 : length - done);
      if (!ReadFile(handle_, static_cast<char*>(buffer) + done, chunk, &read, &at) || read == 0) break;
      done += read;
    }
    return done;
  }

  bool WriteAt(std::uint64_t offset, const void* data, size_t length) override {
    OVERLAPPED at = Position(offset);
    DWORD written = 0;
    return WriteFile(handle_, data, static_cast<DWORD>(length), &written, &at) && written == length;
  }

  bool Truncate(std::uint64_t length) override {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(length);
    return SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) && SetEndOfFile(handle_);
  }

  bool Flush() override { return FlushFileBuffers(handle_) != 0; }

  // A file held without delete sharing cannot be deleted through Windows, but a file system
  // shared with another system (a network share, a Wine prefix) may unlink or replace it anyway;
  // the handle then shows no links left, or the name leads to another file index.
  bool IsStillAt(const std::string& path) override {
    BY_HANDLE_FILE_INFORMATION open{};
    if (!GetFileInformationByHandle(handle_, &open)) return true;
    if (open.nNumberOfLinks == 0) return false;
    HANDLE named = CreateFileW(Widen(path).c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    BY_HANDLE_FILE_INFORMATION other{};
    const bool known = GetFileInformationByHandle(named, &other) != 0;
    CloseHandle(named);
    return !known || (open.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
                      open.nFileIndexHigh == other.nFileIndexHigh && open.nFileIndexLow == other.nFileIndexLow);
  }

 private:
  static OVERLAPPED Position(std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return at;
  }

  HANDLE handle_;
};

}  // namespace

std::unique_ptr<File> Win32FileSystem::Open(const std::string& path, FileMode mode) {
  DWORD access = 0, share = 0, disposition = 0;
  switch (mode) {
    case FileMode::kWriter:
      access = GENERIC_READ | GENERIC_WRITE, share = FILE_SHARE_READ, disposition = OPEN_ALWAYS;
      break;
    case FileMode::kReader:
      access = GENERIC_READ, share = FILE_SHARE_READ | FILE_SHARE_WRITE, disposition = OPEN_EXISTING;
      break;
    case FileMode::kCreateNew:
      access = GENERIC_WRITE, share = 0, disposition = CREATE_NEW;
      break;
    case FileMode::kReplace:
      access = GENERIC_WRITE, share = 0, disposition = CREATE_ALWAYS;
      break;
    case FileMode::kProbe:
      access = 0, share = FILE_SHARE_READ | FILE_SHARE_WRITE, disposition = OPEN_ALWAYS;
      break;
  }
  HANDLE handle = CreateFileW(Widen(path).c_str(), access, share, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(handle);
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

bool Win32FileSystem::CopyFileTo(const std::string& source, const std::string& target, bool failIfExists) {
  return CopyFileW(Widen(source).c_str(), Widen(target).c_str(), failIfExists) != 0;
}

bool Win32FileSystem::IsAvailableFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  // The archive bit only tells whether a backup has seen the file since it changed.
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32FileSystem::AppDataFolder() {
  using GetFolderFn = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
  constexpr int kCsidlAppData = 26;
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return {};
  FARPROC proc = GetProcAddress(shell, "SHGetSpecialFolderPathW");
  if (!proc) return {};
  GetFolderFn getFolder;
  std::memcpy(&getFolder, &proc, sizeof getFolder);
  wchar_t folder[MAX_PATH] = {};
  if (!getFolder(nullptr, folder, kCsidlAppData, TRUE)) return {};
  return Narrow(folder, wcslen(folder));
}

std::string Win32FileSystem::ExecutableFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string full = Narrow(path, length);
  return full.substr(0, full.find_last_of('\\') + 1);
}

}  // namespace veltrano
