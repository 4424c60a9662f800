// Local time from GetLocalTime, or, for the end-to-end tests, from the system's UTC moved by an
// offset that a test can change while the programs run.
#include "platform/win32/system_clock.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace veltrano {
namespace {

constexpr std::int64_t kTicksPerSecond = 10000000;  // FILETIME counts 100 ns
constexpr ULONGLONG kOffsetRereadMs = 1000;

std::int64_t Ticks(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME FromTicks(std::int64_t ticks) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(ticks) & 0xFFFFFFFFu);
  time.dwHighDateTime = static_cast<DWORD>(static_cast<ULONGLONG>(ticks) >> 32);
  return time;
}

LocalTime FromSystemTime(const SYSTEMTIME& now, int utcOffsetMinutes) {
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.dayOfWeek = now.wDayOfWeek;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  time.milliseconds = now.wMilliseconds;
  time.utcOffsetMinutes = utcOffsetMinutes;
  return time;
}

// Test seam, never set on a user's machine: VELTRANO_TEST_CLOCK_FILE names a file holding a
// signed number of seconds that is added to the system's UTC before it becomes local time, with
// the zone's rules for the moved date (so a daylight-saving change falls where it would). The
// file is read again when its write time changes, looked at no more than once a second, so that
// a driver can set the clock forward or back while the programs run. A service does not get the
// variable (the service manager gives it an environment of its own), so without it the path is
// taken from the value "TestClockFile" of the service's own key, which only the tests write.
class TestClockOffset {
 public:
  TestClockOffset() : path_(ClockFilePath()) {}

  bool Active() const { return !path_.empty(); }

  std::int64_t Seconds() {
    const ULONGLONG tick = GetTickCount64();
    ULONGLONG due = nextLook_.load();
    if (tick >= due && nextLook_.compare_exchange_strong(due, tick + kOffsetRereadMs)) Reread();
    return seconds_.load();
  }

 private:
  static std::wstring ClockFilePath() {
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VELTRANO_TEST_CLOCK_FILE", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) return std::wstring(buffer, length);
    DWORD size = sizeof(buffer) - sizeof(wchar_t), type = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\VeltranoService", L"TestClockFile",
                     RRF_RT_REG_SZ, &type, buffer, &size) == ERROR_SUCCESS &&
        size > sizeof(wchar_t))
      return std::wstring(buffer);
    return {};
  }

  void Reread() {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &attributes)) return;
    const std::int64_t written = Ticks(attributes.ftLastWriteTime);
    if (written == written_.load()) return;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char text[32] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    if (!ok || read == 0) return;  // caught between truncation and write: try again later
    char* end = nullptr;
    const long long seconds = std::strtoll(text, &end, 10);
    if (end == text) return;
    seconds_.store(seconds);
    written_.store(written);
  }

  std::wstring path_;
  std::atomic<ULONGLONG> nextLook_{0};
  std::atomic<std::int64_t> written_{-1};
  std::atomic<std::int64_t> seconds_{0};
};

TestClockOffset& TestOffset() {
  static TestClockOffset offset;
  return offset;
}

LocalTime ShiftedNow(std::int64_t offsetSeconds) {
  FILETIME utcNow;
  GetSystemTimeAsFileTime(&utcNow);
  const std::int64_t utcTicks = Ticks(utcNow) + offsetSeconds * kTicksPerSecond;
  SYSTEMTIME utc{}, local{};
  const FILETIME shifted = FromTicks(utcTicks);
  FileTimeToSystemTime(&shifted, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  FILETIME localFile;
  SystemTimeToFileTime(&local, &localFile);
  const std::int64_t offsetTicks = Ticks(localFile) - (utcTicks - utcTicks % 10000);
  return FromSystemTime(local, static_cast<int>(offsetTicks / (60 * kTicksPerSecond)));
}

}  // namespace

LocalTime SystemClock::Now() {
  TestClockOffset& testOffset = TestOffset();
  if (testOffset.Active()) return ShiftedNow(testOffset.Seconds());
  SYSTEMTIME now{};
  GetLocalTime(&now);
  // The zone's current distance from UTC, so that a daylight-saving change is not taken for a
  // jump of the clock.
  FILETIME utc, local;
  GetSystemTimeAsFileTime(&utc);
  FileTimeToLocalFileTime(&utc, &local);
  return FromSystemTime(now, static_cast<int>((Ticks(local) - Ticks(utc)) / (60 * kTicksPerSecond)));
}

}  // namespace veltrano
