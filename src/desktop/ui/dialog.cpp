// Dialog base, the list of modeless windows and the program's message loop.
#include "desktop/ui/dialog.h"

#include <algorithm>
#include <vector>

#include "desktop/ui/dpi.h"
#include "desktop/ui/shell.h"

namespace veltrano::ui {
namespace {

std::vector<HWND>& ModelessWindows() {
  static std::vector<HWND> windows;
  return windows;
}

}  // namespace

Dialog::~Dialog() {
  if (window_ && !modal_) DestroyWindow(window_);
}

INT_PTR Dialog::RunModal(HWND owner) {
  if (window_) return -1;
  modal_ = true;
  endCode_ = 0;
  const auto self = reinterpret_cast<LPARAM>(this);
  if (memoryTemplate_) return DialogBoxIndirectParamW(instance_, memoryTemplate_, owner, &Dialog::DialogProc, self);
  return DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId_), owner, &Dialog::DialogProc, self);
}

HWND Dialog::CreateModeless(HWND owner) {
  if (window_) return window_;
  modal_ = false;
  endCode_ = 0;
  const auto self = reinterpret_cast<LPARAM>(this);
  HWND window = memoryTemplate_
                    ? CreateDialogIndirectParamW(instance_, memoryTemplate_, owner, &Dialog::DialogProc, self)
                    : CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId_), owner, &Dialog::DialogProc, self);
  if (window) RegisterModeless(window);
  return window;
}

void Dialog::End(INT_PTR code) {
  endCode_ = code;
  if (!window_) return;
  if (modal_) {
    EndDialog(window_, code);
  } else {
    DestroyWindow(window_);
  }
}

void Dialog::SetResult(LRESULT result) {
  SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
}

bool Dialog::OnCommand(WORD, WORD, HWND) {
  return false;
}

bool Dialog::OnNotify(NMHDR&) {
  return false;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      const WORD code = HIWORD(wParam);
      if (id == IDOK && code == BN_CLICKED) {
        OnOK();
        return TRUE;
      }
      if (id == IDCANCEL && code == BN_CLICKED) {
        OnCancel();
        return TRUE;
      }
      return OnCommand(id, code, reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    }
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam)) ? TRUE : FALSE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return TRUE;
    case WM_DPICHANGED:
      OnDpiChanged(DpiFromDpiChanged(wParam));
      TakeSuggestedRect(window_, lParam);
      RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      // Not answered: where the dialog manager scales a template's layout itself, it still does.
      return FALSE;
    case WM_HELP:
      if (!HelpTopic()) return FALSE;
      OpenHelpTopic(window_, HelpTopic());
      return TRUE;
  }
  return FALSE;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleMessage(message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

// Exceptions stay inside: one crossing this frame would end the process (DWARF-2 unwinding).
INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* created = reinterpret_cast<Dialog*>(lParam);
    created->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, lParam);
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    UnregisterModeless(window);
    self->window_ = nullptr;
  }
  return result;
}

void RegisterModeless(HWND window) {
  auto& windows = ModelessWindows();
  if (std::find(windows.begin(), windows.end(), window) == windows.end()) windows.push_back(window);
}

void UnregisterModeless(HWND window) {
  auto& windows = ModelessWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

bool IsModelessMessage(MSG& message) {
  // A copy: a window may unregister itself while handling the message.
  const std::vector<HWND> windows = ModelessWindows();
  for (HWND window : windows) {
    if (!IsWindow(window)) continue;
    if (message.hwnd != window && !IsChild(window, message.hwnd)) continue;
    return IsDialogMessageW(window, &message) != FALSE;
  }
  return false;
}

int RunMessageLoop(HWND acceleratorWindow, HACCEL accelerators) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const bool forAcceleratorWindow =
        acceleratorWindow && (message.hwnd == acceleratorWindow || IsChild(acceleratorWindow, message.hwnd));
    if (accelerators && forAcceleratorWindow && TranslateAcceleratorW(acceleratorWindow, accelerators, &message)) {
      continue;
    }
    if (IsModelessMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (IsModelessMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace veltrano::ui
