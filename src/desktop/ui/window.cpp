// Window base: one static procedure for every class registered through it.
#include "desktop/ui/window.h"

namespace veltrano::ui {

Window::~Window() {
  Destroy();
}

bool Window::RegisterWindowClass(HINSTANCE instance, const wchar_t* className, UINT style, HCURSOR cursor,
                                 HBRUSH background, HICON icon) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, className, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = style;
  windowClass.lpfnWndProc = &Window::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = cursor ? cursor : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = background;
  windowClass.hIcon = icon;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass) != 0;
}

HWND Window::Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                    const RECT& rect, HWND parent, UINT_PTR childId) {
  if (window_) return window_;
  return CreateWindowExW(exStyle, className, title, style, rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(childId), instance, this);
}

void Window::Destroy() {
  if (window_) DestroyWindow(window_);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window_, message, wParam, lParam);
}

// An exception thrown through a Windows frame ends the process on this toolchain, so none is
// let out of here: the message then gets its default answer.
LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    result = DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    self->OnFinalMessage();
  }
  return result;
}

}  // namespace veltrano::ui
