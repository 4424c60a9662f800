// The ANSI code page through WideCharToMultiByte.
#include "platform/system_text.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace veltrano {

std::string Utf8ToSystemAnsi(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], length, nullptr, nullptr);
  return ansi;
}

}  // namespace veltrano
