// The property sheet and page bases under Wine, driven modeless as a user would: pages are
// applied only when they were shown, a refusing page keeps the sheet open, filling is no edit.
#include <gtest/gtest.h>

#include "desktop/dialog_template.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/property_sheet.h"

namespace veltrano::ui {
namespace {

constexpr int kEdit = 1101;
constexpr int kApplyNow = 0x3021;

testing::DialogTemplate PageTemplate(const wchar_t* title) {
  testing::DialogTemplate page(title, 200, 80, DS_SETFONT | WS_CHILD | WS_CAPTION);
  page.Control(0x81, kEdit, L"", 5, 5, 100, 12, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);
  return page;
}

class TestPage : public PropertyPage {
 public:
  using PropertyPage::PropertyPage;
  int inits = 0;
  int applies = 0;
  int activations = 0;
  bool acceptApply = true;
  bool acceptLeave = true;

  void TypeText(const wchar_t* text) { SetDlgItemTextW(Handle(), kEdit, text); }

 protected:
  void OnInitDialog() override {
    ++inits;
    SetDlgItemTextW(Handle(), kEdit, L"stored value");
  }
  bool OnApply() override {
    ++applies;
    return acceptApply;
  }
  bool OnKillActive() override { return acceptLeave; }
  void OnSetActive() override { ++activations; }
  bool OnCommand(WORD id, WORD code, HWND) override {
    if (id == kEdit && code == EN_CHANGE) SetModified();
    return false;
  }
};

struct Fixture {
  testing::DialogTemplate firstTemplate = PageTemplate(L"First");
  testing::DialogTemplate secondTemplate = PageTemplate(L"Second");
  TestPage first{GetModuleHandleW(nullptr), firstTemplate.Get()};
  TestPage second{GetModuleHandleW(nullptr), secondTemplate.Get()};
  PropertySheetDialog sheet{GetModuleHandleW(nullptr), L"Sheet"};

  HWND Open() {
    sheet.AddPage(first);
    sheet.AddPage(second);
    HWND handle = sheet.CreateModeless(nullptr);
    PumpMessages();
    return handle;
  }
  void Press(int button) {
    PostMessageW(sheet.Handle(), PSM_PRESSBUTTON, button, 0);
    PumpMessages();
  }
};

bool ApplyEnabled(HWND sheet) {
  return IsWindowEnabled(GetDlgItem(sheet, kApplyNow)) != FALSE;
}

TEST(PropertySheetBase, OkAppliesOnlyThePagesThatWereShown) {
  Fixture fixture;
  HWND sheet = fixture.Open();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(fixture.first.inits, 1);
  EXPECT_EQ(fixture.first.activations, 1);
  EXPECT_FALSE(fixture.second.WasInitialized());

  fixture.Press(PSBTN_OK);
  EXPECT_EQ(fixture.first.applies, 1);
  EXPECT_EQ(fixture.second.inits, 0);
  EXPECT_EQ(fixture.second.applies, 0);
  EXPECT_TRUE(fixture.sheet.Finished());
  fixture.sheet.DestroyModeless();
  EXPECT_FALSE(IsWindow(sheet));
}

TEST(PropertySheetBase, ARefusingPageKeepsTheSheetOpenUntilItAccepts) {
  Fixture fixture;
  HWND sheet = fixture.Open();
  ASSERT_NE(sheet, nullptr);
  fixture.first.acceptApply = false;
  fixture.Press(PSBTN_OK);
  EXPECT_EQ(fixture.first.applies, 1);
  EXPECT_FALSE(fixture.sheet.Finished());

  fixture.first.acceptApply = true;
  fixture.Press(PSBTN_OK);
  EXPECT_EQ(fixture.first.applies, 2);
  EXPECT_TRUE(fixture.sheet.Finished());
}

TEST(PropertySheetBase, APageThatRefusesToBeLeftStaysCurrent) {
  Fixture fixture;
  HWND sheet = fixture.Open();
  ASSERT_NE(sheet, nullptr);
  fixture.first.acceptLeave = false;
  SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
  PumpMessages();
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)), fixture.first.Handle());

  fixture.first.acceptLeave = true;
  SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
  PumpMessages();
  EXPECT_EQ(fixture.second.inits, 1);
  fixture.Press(PSBTN_OK);
  EXPECT_EQ(fixture.first.applies, 1);
  EXPECT_EQ(fixture.second.applies, 1) << "a page shown once is applied";
}

TEST(PropertySheetBase, FillingTheControlsIsNoChangeButTypingIs) {
  Fixture fixture;
  HWND sheet = fixture.Open();
  ASSERT_NE(sheet, nullptr);
  EXPECT_FALSE(ApplyEnabled(sheet));
  fixture.first.TypeText(L"typed");
  PumpMessages();
  EXPECT_TRUE(ApplyEnabled(sheet));
}

TEST(PropertySheetBase, CancelAppliesNothing) {
  Fixture fixture;
  HWND sheet = fixture.Open();
  ASSERT_NE(sheet, nullptr);
  fixture.Press(PSBTN_CANCEL);
  EXPECT_EQ(fixture.first.applies, 0);
  EXPECT_TRUE(fixture.sheet.Finished());
}

}  // namespace
}  // namespace veltrano::ui
