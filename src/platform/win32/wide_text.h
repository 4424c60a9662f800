// UTF-8 <-> wchar_t conversion for the W functions (wchar_t is UTF-16 on Windows).
#pragma once

#include <string>

#include "core/text.h"

namespace veltrano {

inline std::wstring Widen(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  return std::wstring(text.begin(), text.end());
}

inline std::string Narrow(const wchar_t* text, size_t length) {
  return Utf16ToUtf8(std::u16string(text, text + length));
}

inline std::string Narrow(const std::wstring& text) { return Narrow(text.data(), text.size()); }

}  // namespace veltrano
