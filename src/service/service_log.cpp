// The service's text log.
#include "service/service_log.h"

#include <cstdarg>

#include "core/text.h"

namespace veltrano {

const char* const kServiceLogFileName = "pellacorservice.log";
const char* const kServiceDisplayName = "Veltrano Service";

std::string CtimeText(const LocalTime& time) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const int weekday = time.dayOfWeek >= 0 && time.dayOfWeek < 7 ? time.dayOfWeek : 0;
  const int month = time.month >= 1 && time.month <= 12 ? time.month - 1 : 0;
  char text[64];
  std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d", kWeekdays[weekday], kMonths[month], time.day,
                time.hour, time.minute, time.second, time.year);
  return text;
}

bool ServiceLog::Open(const std::string& path) {
  std::lock_guard<std::mutex> guard(lock_);
  CloseLocked();
#ifdef _WIN32
  const std::u16string wide = Utf8ToUtf16(path);
  file_ = _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"a");
#else
  file_ = std::fopen(path.c_str(), "a");
#endif
  return file_ != nullptr;
}

void ServiceLog::Close() {
  std::lock_guard<std::mutex> guard(lock_);
  CloseLocked();
}

void ServiceLog::CloseLocked() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

void ServiceLog::Write(const char* format, ...) {
  char message[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(message, sizeof message, format, arguments);
  va_end(arguments);
  const std::string stamp = CtimeText(clock_.Now());
  std::lock_guard<std::mutex> guard(lock_);
  if (!file_) return;
  std::fprintf(file_, "[%s]: %s\n", stamp.c_str(), message);
  std::fflush(file_);
}

}  // namespace veltrano
