// The modal scope under Wine: nested scopes take a topmost window out of the band once and put
// it back when the last one ends; a window that was not topmost stays so.
#include <gtest/gtest.h>

#include "desktop/ui/modal_scope.h"
#include "desktop/ui/window.h"

namespace veltrano::ui {
namespace {

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

struct PlainWindow : Window {};

HWND CreateMain(PlainWindow& window, DWORD exStyle) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  Window::RegisterWindowClass(instance, L"VeltranoModalScopeTest");
  return window.Create(instance, L"VeltranoModalScopeTest", L"main", WS_POPUP, exStyle, RECT{0, 0, 50, 50}, nullptr);
}

TEST(ModalScope, NestedScopesLeaveTheTopmostBandOnceAndComeBack) {
  PlainWindow main;
  HWND window = CreateMain(main, WS_EX_TOPMOST);
  ASSERT_TRUE(IsTopmost(window));
  EXPECT_FALSE(ModalScope::Active());
  {
    ModalScope outer(window);
    EXPECT_FALSE(IsTopmost(window));
    {
      ModalScope inner(window);
      EXPECT_TRUE(ModalScope::Active());
    }
    EXPECT_FALSE(IsTopmost(window)) << "the outer dialog is still open";
  }
  EXPECT_TRUE(IsTopmost(window));
  EXPECT_FALSE(ModalScope::Active());
}

TEST(ModalScope, AWindowOutsideTheBandStaysOutside) {
  PlainWindow main;
  HWND window = CreateMain(main, 0);
  { ModalScope scope(window); }
  EXPECT_FALSE(IsTopmost(window));
}

}  // namespace
}  // namespace veltrano::ui
