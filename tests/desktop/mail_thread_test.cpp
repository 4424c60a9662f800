// Mail sessions of the desktop report to a window; without one a job is refused.
#include "desktop/mail_thread.h"

#include <gtest/gtest.h>

#include <chrono>

#include "desktop/ui/dialog.h"
#include "platform/win32/winsock_network.h"

namespace veltrano {
namespace {

struct Received {
  int count = 0;
  std::string error;
};
Received* received = nullptr;

LRESULT CALLBACK ResultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MAIL_RESULT && received) {
    ++received->count;
    received->error = TakeMailResult(lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MailThread, AJobWithoutAResultWindowIsRefusedAndOneWithAWindowReportsItsErrorThere) {
  WinsockNetwork network;
  MailJob job = MakeMailJob("127.0.0.1", "meter@example.org", "me@example.org", false, "", "", "Subject: x\r\n\r\nx");
  EXPECT_EQ(StartMailThread(job, network, nullptr), "Invalid parameters.");

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &ResultWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"MailThreadTestWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"MailThreadTestWindow", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  Received result;
  received = &result;
  SmtpTimings timings;
  timings.port = 1;  // nothing listens there
  timings.retryDelayMs = 10;
  EXPECT_EQ(StartMailThread(job, network, window, timings), "");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (result.count == 0 && std::chrono::steady_clock::now() < deadline) {
    ui::PumpMessages();
    Sleep(10);
  }
  EXPECT_EQ(result.count, 1);
  EXPECT_EQ(result.error, "Failed to connect to SMTP server.");
  received = nullptr;
  DestroyWindow(window);
}

}  // namespace
}  // namespace veltrano
