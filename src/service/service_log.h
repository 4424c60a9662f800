// The service's own text log, "pellacorservice.log" beside its executable: one line per event,
// stamped with the local time in the ctime form and flushed at once, so that the last line before
// a crash is on disk. Messages are 8-bit text in the system code page, as the file is.
#pragma once

#include <cstdio>
#include <mutex>
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
  // Lines written after this are dropped. Writes and closing may come from any thread: a mail
  // session that ends during shutdown reports into a log that may already be closed.
  void Close();

  // "[<ctime>]: <message>\n", the message formatted into at most 1024 bytes.
  void Write(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

 private:
  void CloseLocked();

  Clock& clock_;
  std::mutex lock_;
  std::FILE* file_ = nullptr;
};

}  // namespace veltrano
