// The dialog base under Wine: one template and one set of handlers run modal and modeless,
// End in both modes, keyboard navigation of modeless dialogs through the program's loop.
#include <gtest/gtest.h>

#include <stdexcept>

#include "desktop/dialog_template.h"
#include "desktop/ui/dialog.h"

namespace veltrano::ui {
namespace {

constexpr int kEdit = 1001;
constexpr int kThrowButton = 1002;
constexpr UINT_PTR kEndTimer = 5;

testing::DialogTemplate SmallTemplate() {
  testing::DialogTemplate dialog(L"Small", 160, 60);
  dialog.Control(0x81, kEdit, L"", 5, 5, 100, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);
  dialog.Control(0x80, kThrowButton, L"Throw", 5, 22, 40, 14);
  dialog.Control(0x80, IDOK, L"OK", 60, 40, 40, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON);
  dialog.Control(0x80, IDCANCEL, L"Cancel", 110, 40, 40, 14);
  return dialog;
}

class TestDialog : public Dialog {
 public:
  using Dialog::Dialog;
  int inits = 0;
  int oks = 0;
  int cancels = 0;
  bool endFromTimer = false;

 protected:
  BOOL OnInitDialog() override {
    ++inits;
    SetItemText(kEdit, L"filled");
    if (endFromTimer) SetTimer(Handle(), kEndTimer, 10, nullptr);
    return TRUE;
  }
  void OnTimer(UINT_PTR id) override {
    if (id == kEndTimer) End(42);
  }
  bool OnCommand(WORD id, WORD, HWND) override {
    if (id == kThrowButton) throw std::runtime_error("boom");
    return false;
  }
  void OnOK() override {
    ++oks;
    Dialog::OnOK();
  }
  void OnCancel() override {
    ++cancels;
    Dialog::OnCancel();
  }
};

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[64] = {};
  GetDlgItemTextW(dialog, id, text, 64);
  return text;
}

TEST(DialogBase, ModelessDialogRunsTheSameHandlersAndEndDestroysIt) {
  const auto dialogTemplate = SmallTemplate();
  TestDialog dialog(GetModuleHandleW(nullptr), dialogTemplate.Get());
  HWND handle = dialog.CreateModeless(nullptr);
  ASSERT_NE(handle, nullptr);
  EXPECT_FALSE(dialog.IsModal());
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(ItemText(handle, kEdit), L"filled");
  EXPECT_EQ(GetWindowLongPtrW(handle, DWLP_USER), reinterpret_cast<LONG_PTR>(&dialog));

  SendMessageW(handle, WM_COMMAND, MAKEWPARAM(kThrowButton, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(handle)) << "an exception in a handler stays inside the dialog";

  SendMessageW(handle, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(dialog.oks, 1);
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_EQ(dialog.Handle(), nullptr);
  EXPECT_EQ(dialog.EndCode(), IDOK);
}

TEST(DialogBase, EscapeInAModelessDialogReachesCancelThroughTheLoop) {
  const auto dialogTemplate = SmallTemplate();
  TestDialog dialog(GetModuleHandleW(nullptr), dialogTemplate.Get());
  HWND handle = dialog.CreateModeless(nullptr);
  ASSERT_NE(handle, nullptr);
  HWND edit = GetDlgItem(handle, kEdit);
  MSG message{};
  message.hwnd = edit;
  message.message = WM_KEYDOWN;
  message.wParam = VK_ESCAPE;
  EXPECT_TRUE(IsModelessMessage(message));
  PumpMessages();
  EXPECT_EQ(dialog.cancels, 1);
  EXPECT_FALSE(IsWindow(handle));

  message.hwnd = edit;
  EXPECT_FALSE(IsModelessMessage(message)) << "a destroyed dialog is no longer listed";
}

TEST(DialogBase, ModalDialogAnswersTheCodeGivenToEnd) {
  const auto dialogTemplate = SmallTemplate();
  TestDialog dialog(GetModuleHandleW(nullptr), dialogTemplate.Get());
  dialog.endFromTimer = true;
  EXPECT_EQ(dialog.RunModal(nullptr), 42);
  EXPECT_TRUE(dialog.IsModal());
  EXPECT_EQ(dialog.inits, 1);
  EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(DialogBase, AMissingTemplateFailsWithoutCallingHandlers) {
  TestDialog dialog(GetModuleHandleW(nullptr), 31999);
  EXPECT_EQ(dialog.RunModal(nullptr), -1);
  EXPECT_EQ(dialog.CreateModeless(nullptr), nullptr);
  EXPECT_EQ(dialog.inits, 0);
}

}  // namespace
}  // namespace veltrano::ui
