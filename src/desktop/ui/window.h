// Base of the program's own window classes: the object is found from the creation parameters,
// kept in GWLP_USERDATA, and every message goes to one HandleMessage that dispatches.
#pragma once

#include <windows.h>

namespace veltrano::ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  // Registers a window class whose procedure forwards to Window objects; a class that is
  // registered already counts as success.
  static bool RegisterWindowClass(HINSTANCE instance, const wchar_t* className, UINT style = CS_DBLCLKS,
                                  HCURSOR cursor = nullptr, HBRUSH background = nullptr, HICON icon = nullptr);

  // Creates the window of a class registered with RegisterWindowClass, with this object behind it.
  HWND Create(HINSTANCE instance, const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
              const RECT& rect, HWND parent, UINT_PTR childId = 0);
  void Destroy();

  HWND Handle() const { return window_; }

 protected:
  // Answers one message; the default answers through DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
  // Called at WM_NCDESTROY, after which the object no longer has a window.
  virtual void OnFinalMessage() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
};

}  // namespace veltrano::ui
