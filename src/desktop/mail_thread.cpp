// Mail sessions of the desktop and their results as window messages.
#include "desktop/mail_thread.h"

#include <cstring>
#include <cwchar>

namespace veltrano {

const char* const kNotificationMailFailure =
    "Failed to send the notification email.\n\nError: %s\n\n"
    "Please check your email settings at Options -> Notification -> Email Settings.";

SmtpTimings DesktopSmtpTimings() {
  SmtpTimings timings;
  wchar_t text[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"VELTRANO_TEST_SMTP_PORT", text, 16);
  if (length > 0 && length < 16) {
    const unsigned long port = wcstoul(text, nullptr, 10);
    if (port > 0 && port < 65536) timings.port = static_cast<std::uint16_t>(port);
  }
  return timings;
}

std::string StartMailThread(MailJob job, Network& network, HWND resultWindow, const SmtpTimings& timings) {
  if (!resultWindow) return "Invalid parameters.";
  network.Startup();
  StartSmtpSession(
      std::move(job), network,
      [resultWindow](const std::string& error) {
        char* text = nullptr;
        if (!error.empty()) {
          text = new char[error.size() + 1];
          std::memcpy(text, error.c_str(), error.size() + 1);
        }
        // A window that is gone cannot take the text: it stays with this thread.
        if (!PostMessageW(resultWindow, WM_MAIL_RESULT, GetCurrentThreadId(), reinterpret_cast<LPARAM>(text)))
          delete[] text;
      },
      timings);
  return "";
}

std::string TakeMailResult(LPARAM lParam) {
  char* text = reinterpret_cast<char*>(lParam);
  if (!text) return "";
  std::string error(text);
  delete[] text;
  return error;
}

}  // namespace veltrano
