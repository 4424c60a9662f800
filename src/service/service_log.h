// The service's own text log, "pellacorservice.log" beside its executable: one line per event,
// stamped with the local time in the ctime form and flushed at once, so that the last line before
// a crash is on disk.
#pragma once

#include <cstdio>
#include <string>

#include "platform/clock.h"

namespace veltrano {

extern const char* const kServiceLogFileName;  // "pellacorservice.log"
extern const char* const kServiceDisplayName;  // "Veltrano Service"

// "Tue Dec  8 15:00:03 2026": the 24 characters of ctime without its newline.
std::string CtimeText(const LocalTime& time);

class ServiceLog {
 public:
  explicit ServiceLog(Clock& clock) : clock_(clock) {}
  ~ServiceLog() { Close(); }
  ServiceLog(const ServiceLog&) = delete;
  ServiceLog& operator=(const ServiceLog&) = delete;

  // Opens for appending in text mode. When it cannot be opened, lines are dropped.
  bool Open(const std::string& path);
  void Close();

  // "[<ctime>]: <message>\n", the message formatted into at most 1024 bytes.
  void Write(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

 private:
  Clock& clock_;
  std::FILE* file_ = nullptr;
};

}  // namespace veltrano
