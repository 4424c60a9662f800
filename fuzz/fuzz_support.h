// What the fuzz targets share: a failed check that libFuzzer reports as a crash, a private
// scratch folder per process, whole-file reads and writes, and a reader of the input's bytes.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace veltrano::fuzz {

// A property that does not hold is a finding just like a crash: abort with the reason.
#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

// A folder in memory where the system has one (every log write ends with a flush to disk, which
// a disk would make thousands of times slower), emptied at every call and removed at exit.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code ignored;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", ignored) ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (base / "veltrano-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    const std::filesystem::path made(pattern);
    static struct Remover {
      std::filesystem::path path;
      ~Remover() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
      }
    } remover{made};
    return made;
  }();
  return folder;
}

inline const std::filesystem::path& FreshScratchFolder() {
  const std::filesystem::path& folder = ScratchFolder();
  for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove_all(entry.path());
  return folder;
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Takes the input front to back; past its end every read gives zeros or nothing.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, size_t size) : data_(data), size_(size) {}

  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
  std::uint32_t U32() { return U16() | (static_cast<std::uint32_t>(U16()) << 16); }
  std::uint64_t U64() { return U32() | (static_cast<std::uint64_t>(U32()) << 32); }
  std::string Bytes(size_t count) {
    const size_t take = count < size_ - at_ ? count : size_ - at_;
    std::string bytes(reinterpret_cast<const char*>(data_ + at_), take);
    at_ += take;
    return bytes;
  }
  std::string Rest() { return Bytes(size_ - at_); }
  bool Empty() const { return at_ >= size_; }

 private:
  const std::uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace veltrano::fuzz
