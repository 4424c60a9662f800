// Property sheet and page bases over PropertySheetW. A page answers apply, kill-active and
// set-active through hooks; a page that was never shown gets neither init nor apply.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <vector>

namespace veltrano::ui {

class PropertySheetDialog;

class PropertyPage {
 public:
  PropertyPage(HINSTANCE instance, int templateId) : instance_(instance), templateId_(templateId) {}
  // A template built in memory (tests); it must outlive the page.
  PropertyPage(HINSTANCE instance, const DLGTEMPLATE* memoryTemplate)
      : instance_(instance), memoryTemplate_(memoryTemplate) {}
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;
  virtual ~PropertyPage() = default;

  HWND Handle() const { return window_; }
  // True once the page was created (shown at least once).
  bool WasInitialized() const { return initialized_; }
  PROPSHEETPAGEW Record();
  // The help file's topic that F1 and the sheet's "Help" button open while this page is in front.
  virtual const wchar_t* HelpTopic() const { return nullptr; }
  // The sheet moved to a screen of another scale (a page that was never created ignores it).
  void DpiChanged(int dpi) {
    if (window_) OnDpiChanged(dpi);
  }

 protected:
  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Fill the controls here; "changed" is muted meanwhile.
  virtual void OnInitDialog() {}
  // Returns false to refuse (the sheet stays open on this page); the page then focuses the
  // offending control itself.
  virtual bool OnApply() { return true; }
  // Returns false to keep the page active (validation failed).
  virtual bool OnKillActive() { return true; }
  virtual void OnSetActive() {}
  virtual void OnReset() {}
  virtual bool OnCommand(WORD id, WORD notifyCode, HWND control);
  virtual bool OnNotify(NMHDR& header);
  // Fonts the page made itself are made again at dpi and given to their controls.
  virtual void OnDpiChanged(int) {}

  // Enables the sheet's Apply button, unless the page is filling its controls.
  void SetModified();
  void SetResult(LRESULT result) { SetWindowLongPtrW(window_, DWLP_MSGRESULT, result); }
  HWND Item(int id) const { return GetDlgItem(window_, id); }
  bool Filling() const { return filling_; }

  // Mutes "changed" for its lifetime: control notifications caused by filling are not edits.
  class FillingGuard {
   public:
    explicit FillingGuard(PropertyPage& page) : page_(page), was_(page.filling_) { page_.filling_ = true; }
    ~FillingGuard() { page_.filling_ = was_; }
    FillingGuard(const FillingGuard&) = delete;
    FillingGuard& operator=(const FillingGuard&) = delete;

   private:
    PropertyPage& page_;
    bool was_;
  };

 private:
  friend class PropertySheetDialog;
  static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  int templateId_ = 0;
  const DLGTEMPLATE* memoryTemplate_ = nullptr;
  PropertySheetDialog* sheet_ = nullptr;
  HWND window_ = nullptr;
  bool initialized_ = false;
  bool filling_ = false;
};

class PropertySheetDialog {
 public:
  PropertySheetDialog(HINSTANCE instance, std::wstring caption) : instance_(instance), caption_(std::move(caption)) {}
  PropertySheetDialog(const PropertySheetDialog&) = delete;
  PropertySheetDialog& operator=(const PropertySheetDialog&) = delete;
  virtual ~PropertySheetDialog();

  void AddPage(PropertyPage& page) {
    pages_.push_back(&page);
    page.sheet_ = this;
  }

  // Runs the sheet modally; true when it ended with OK (or after an Apply that succeeded).
  bool RunModal(HWND owner, int startPage = 0);
  // Creates the sheet modeless (tests, and windows that stay open); Finished tells when OK or
  // Cancel was pressed, after which DestroyModeless releases it.
  HWND CreateModeless(HWND owner, int startPage = 0);
  bool Finished() const;
  void DestroyModeless();

  HWND Handle() const { return window_; }
  HINSTANCE Instance() const { return instance_; }

 protected:
  // Chance to change the header before the sheet is created (flags, icon).
  virtual void OnPrepare(PROPSHEETHEADERW&) {}
  // The sheet moved to a screen of another scale; its pages are told after it, then it takes the
  // suggested rectangle. Fonts the sheet set on its own controls are made again here.
  virtual void OnDpiChanged(HWND, int) {}

 private:
  friend class PropertyPage;
  INT_PTR Show(HWND owner, int startPage, bool modeless);
  // Watches the sheet's window (made by the system, modal or not) for its DPI changes.
  void Watch(HWND sheet);
  void Unwatch();
  static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  HINSTANCE instance_;
  std::wstring caption_;
  std::vector<PropertyPage*> pages_;
  HWND window_ = nullptr;
  HWND watched_ = nullptr;
};

}  // namespace veltrano::ui
