// Modal scopes nest; only the outermost one moves the window between the bands.
#include "desktop/ui/modal_scope.h"

namespace veltrano::ui {
namespace {

int openScopes = 0;
bool topmostAfterwards = false;

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void SetTopmost(HWND window, bool topmost) {
  SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

ModalScope::ModalScope(HWND mainWindow) : mainWindow_(mainWindow) {
  if (openScopes++ == 0) {
    topmostAfterwards = mainWindow_ && IsTopmost(mainWindow_);
    if (topmostAfterwards) SetTopmost(mainWindow_, false);
  }
}

ModalScope::~ModalScope() {
  if (--openScopes > 0 || !IsWindow(mainWindow_)) return;
  if (IsTopmost(mainWindow_) != topmostAfterwards) SetTopmost(mainWindow_, topmostAfterwards);
}

void ModalScope::SetTopmostAfterwards(bool topmost) {
  topmostAfterwards = topmost;
}

bool ModalScope::Active() {
  return openScopes > 0;
}

}  // namespace veltrano::ui
