// The physical reference of the log benchmarks: a raw sequential read of a whole file in 1 MiB
// blocks, from the page cache once the file has been read before.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace veltrano {

inline std::uint64_t ReadWholeFile(const char* path) {
  static std::vector<char> block(1 << 20);
  const int fd = open(path, O_RDONLY);
  std::uint64_t total = 0;
  for (ssize_t n; (n = read(fd, block.data(), block.size())) > 0;) total += static_cast<std::uint64_t>(n);
  close(fd);
  return total;
}

}  // namespace veltrano
