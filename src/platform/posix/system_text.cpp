// Native builds stand in Latin-1 for the ANSI code page.
#include "platform/system_text.h"

#include "core/text.h"

namespace veltrano {

std::string Utf8ToSystemAnsi(const std::string& utf8) {
  std::string ansi;
  for (char16_t unit : Utf8ToUtf16(utf8)) ansi += unit < 0x100 ? static_cast<char>(unit) : '?';
  return ansi;
}

}  // namespace veltrano
