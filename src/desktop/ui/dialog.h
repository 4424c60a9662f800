// Base of the program's dialogs: one template and one set of handlers, run modal or created
// modeless; the object is kept in DWLP_USER. Modeless dialogs are listed for the message loop.
#pragma once

#include <windows.h>

namespace veltrano::ui {

class Dialog {
 public:
  Dialog(HINSTANCE instance, int templateId) : instance_(instance), templateId_(templateId) {}
  // A template built in memory (tests); it must outlive the dialog.
  Dialog(HINSTANCE instance, const DLGTEMPLATE* memoryTemplate)
      : instance_(instance), memoryTemplate_(memoryTemplate) {}
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog();

  // Runs the dialog's own modal loop; answers the code given to End, or -1 when it could not
  // be created.
  INT_PTR RunModal(HWND owner);
  // Creates the dialog and returns at once; End destroys it.
  HWND CreateModeless(HWND owner);
  // Ends a modal dialog with the code, or destroys a modeless one (keeping the code).
  void End(INT_PTR code);

  HWND Handle() const { return window_; }
  bool IsModal() const { return modal_; }
  INT_PTR EndCode() const { return endCode_; }
  HINSTANCE Instance() const { return instance_; }
  // The help file's topic that F1 opens, or none.
  virtual const wchar_t* HelpTopic() const { return nullptr; }

 protected:
  // The dialog procedure's answer for one message (FALSE: not handled). The default dispatches
  // to the OnXxx handlers below; derived classes answer their own messages and call it for the rest.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Answers TRUE to let the system focus the first control.
  virtual BOOL OnInitDialog() { return TRUE; }
  // Returns whether the command was handled; IDOK and IDCANCEL come here after OnOK/OnCancel.
  virtual bool OnCommand(WORD id, WORD notifyCode, HWND control);
  virtual void OnOK() { End(IDOK); }
  virtual void OnCancel() { End(IDCANCEL); }
  // Returns whether the notification was handled; a result goes through SetResult.
  virtual bool OnNotify(NMHDR& header);
  virtual void OnTimer(UINT_PTR) {}
  virtual void OnDestroy() {}
  // The window moved to a screen of another scale: fonts the dialog made itself are made again
  // at dpi and given to their controls. The template's own font and layout follow by themselves.
  virtual void OnDpiChanged(int) {}

  // The value a handled message returns to its sender (DWLP_MSGRESULT).
  void SetResult(LRESULT result);
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  void SetItemText(int id, const wchar_t* text) { SetDlgItemTextW(window_, id, text); }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  int templateId_ = 0;
  const DLGTEMPLATE* memoryTemplate_ = nullptr;
  HWND window_ = nullptr;
  bool modal_ = false;
  INT_PTR endCode_ = 0;
};

// Modeless windows that want keyboard navigation (Tab, Enter, Esc) from the program's loop.
void RegisterModeless(HWND window);
void UnregisterModeless(HWND window);
// Hands a message to the modeless window it belongs to; true when that window consumed it.
bool IsModelessMessage(MSG& message);

// The program's message loop: accelerators for the window (and its children), then the
// modeless windows, then ordinary dispatch. Answers the quit code.
int RunMessageLoop(HWND acceleratorWindow, HACCEL accelerators);

// Pumps pending messages without blocking (tests, and waits that must keep windows alive).
void PumpMessages();

}  // namespace veltrano::ui
