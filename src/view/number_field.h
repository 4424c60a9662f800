// Numbers typed into the options windows' fields, read strictly: a field holding letters, nothing
// or a value beyond 32 bits is refused instead of silently becoming 0.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano {

// Optional surrounding blanks, an optional minus sign, then decimal digits only.
bool ParseWholeNumber(const std::string& text, std::int64_t& value);

// A number within first..last, or false.
bool ParseNumberInRange(const std::string& text, std::int64_t first, std::int64_t last, std::int64_t& value);

}  // namespace veltrano
