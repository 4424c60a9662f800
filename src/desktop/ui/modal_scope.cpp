// Modal scopes nest; only the outermost one moves the window between the bands.
#include "desktop/ui/modal_scope.h"

namespace veltrano::ui {
namespace {

int openScopes = 0;
bool wasTopmost = false;

void SetTopmost(HWND window, bool topmost) {
  SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

ModalScope::ModalScope(HWND mainWindow) : mainWindow_(mainWindow) {
  if (openScopes++ == 0) {
    wasTopmost = mainWindow_ && (GetWindowLongPtrW(mainWindow_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (wasTopmost) SetTopmost(mainWindow_, false);
  }
}

ModalScope::~ModalScope() {
  if (--openScopes == 0 && wasTopmost && IsWindow(mainWindow_)) SetTopmost(mainWindow_, true);
}

bool ModalScope::Active() {
  return openScopes > 0;
}

}  // namespace veltrano::ui
