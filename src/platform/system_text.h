// 8-bit text in the system's ANSI code page, as the program writes it into report, recorder and
// log files and mail. Characters the code page lacks become '?'.
#pragma once

#include <string>

namespace veltrano {

std::string Utf8ToSystemAnsi(const std::string& utf8);

}  // namespace veltrano
