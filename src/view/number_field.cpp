// Strict reading of typed numbers.
#include "view/number_field.h"

namespace veltrano {

bool ParseWholeNumber(const std::string& text, std::int64_t& value) {
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return false;
  const size_t end = text.find_last_not_of(" \t") + 1;
  const bool negative = text[at] == '-';
  if (negative) ++at;
  if (at == end) return false;
  // Eleven digits already exceed every 32-bit field; stopping there keeps the sum far from overflow.
  if (end - at > 11) return false;
  std::int64_t number = 0;
  for (; at < end; ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    number = number * 10 + (text[at] - '0');
  }
  value = negative ? -number : number;
  return true;
}

bool ParseNumberInRange(const std::string& text, std::int64_t first, std::int64_t last, std::int64_t& value) {
  std::int64_t number = 0;
  if (!ParseWholeNumber(text, number) || number < first || number > last) return false;
  value = number;
  return true;
}

}  // namespace veltrano
