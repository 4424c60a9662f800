// Path text helpers. Paths are kept as the platform writes them: backslashes on Windows, slashes
// in the native builds; both are accepted as separators when a path is taken apart.
#pragma once

#include <string>

namespace veltrano {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The folder part including its trailing separator; empty when the path has none.
inline std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// "name.ext" -> ("name", ".ext"); a dot before the last separator does not count.
inline void SplitExtension(const std::string& path, std::string& stem, std::string& extension) {
  const size_t slash = path.find_last_of("\\/");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    stem = path;
    extension.clear();
  } else {
    stem = path.substr(0, dot);
    extension = path.substr(dot);
  }
}

// The extension as the recorder and the notification page see it: the text from the last "."
// after the last separator; a path without any folder part has none.
inline std::string ExtensionAfterFolder(const std::string& path) {
  if (path.find_last_of("\\/") == std::string::npos) return {};
  std::string stem, extension;
  SplitExtension(path, stem, extension);
  return extension;
}

}  // namespace veltrano
