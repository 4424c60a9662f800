// Text helpers: UTF-8 inside the program, UTF-16 at the Win32 boundary and in binary records.
#pragma once

#include <string>

namespace veltrano {

// Invalid sequences become U+FFFD; conversion never fails and never reads past the input.
std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);

// ASCII-only case mapping: identifiers and registry names are compared this way.
std::string AsciiUpper(std::string text);
std::string AsciiLower(std::string text);
bool EqualsIgnoreAsciiCase(const std::string& a, const std::string& b);
int CompareIgnoreAsciiCase(const std::string& a, const std::string& b);

// printf into a string of whatever length the text needs.
std::string StringPrintf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Removes leading and trailing blanks (space, tab, CR, LF, VT, FF).
std::string TrimBlanks(const std::string& text);

}  // namespace veltrano
