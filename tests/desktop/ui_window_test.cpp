// The window base under Wine: the object behind the window, exceptions kept inside, the end of
// the window's life.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "desktop/ui/window.h"

namespace veltrano::ui {
namespace {

const wchar_t* const kClass = L"VeltranoWindowTest";

class RecordingWindow : public Window {
 public:
  std::vector<UINT> seen;
  HWND handleAtCreate = nullptr;
  bool finished = false;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    switch (message) {
      case WM_CREATE:
        handleAtCreate = Handle();
        return 0;
      case WM_APP + 1:
        throw std::runtime_error("handler failed");
      case WM_APP + 2:
        return 77;
    }
    return Default(message, wParam, lParam);
  }
  void OnFinalMessage() override { finished = true; }
};

HWND CreateTestWindow(RecordingWindow& window) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  EXPECT_TRUE(Window::RegisterWindowClass(instance, kClass));
  return window.Create(instance, kClass, L"test", WS_OVERLAPPEDWINDOW, 0, RECT{0, 0, 200, 100}, nullptr);
}

TEST(WindowBase, BindsTheObjectBeforeCreateAndDispatchesToIt) {
  RecordingWindow window;
  HWND handle = CreateTestWindow(window);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(window.Handle(), handle);
  EXPECT_EQ(window.handleAtCreate, handle);
  EXPECT_EQ(SendMessageW(handle, WM_APP + 2, 0, 0), 77);
  EXPECT_TRUE(Window::RegisterWindowClass(GetModuleHandleW(nullptr), kClass)) << "a second registration succeeds";
}

TEST(WindowBase, AnExceptionInAHandlerGetsTheDefaultAnswerAndTheProcessLivesOn) {
  RecordingWindow window;
  HWND handle = CreateTestWindow(window);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(SendMessageW(handle, WM_APP + 1, 0, 0), 0);
  EXPECT_TRUE(IsWindow(handle));
  EXPECT_EQ(SendMessageW(handle, WM_APP + 2, 0, 0), 77);
}

TEST(WindowBase, ForgetsTheWindowWhenItIsDestroyed) {
  RecordingWindow window;
  HWND handle = CreateTestWindow(window);
  ASSERT_NE(handle, nullptr);
  DestroyWindow(handle);
  EXPECT_EQ(window.Handle(), nullptr);
  EXPECT_TRUE(window.finished);
  EXPECT_EQ(GetWindowLongPtrW(handle, GWLP_USERDATA), 0);
  window.Destroy();  // nothing left to destroy
}

}  // namespace
}  // namespace veltrano::ui
