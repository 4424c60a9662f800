// While one of the program's dialogs or message boxes is open, the main window leaves the topmost
// band (so the dialog is not hidden behind it) and its menu items that open dialogs are disabled;
// both come back when the last scope ends, the band as the window's owner last asked for it.
#pragma once

#include <windows.h>

namespace veltrano::ui {

class ModalScope {
 public:
  explicit ModalScope(HWND mainWindow);
  ~ModalScope();
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

  // True while any scope is open (the popup menu greys its dialog items then).
  static bool Active();
  // Called instead of moving the window while a scope is open: the band the window takes when the
  // last scope ends (an "always on top" switched while a dialog is open).
  static void SetTopmostAfterwards(bool topmost);

 private:
  HWND mainWindow_;
};

}  // namespace veltrano::ui
