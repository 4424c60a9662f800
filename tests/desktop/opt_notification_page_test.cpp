// The notification page under Wine, hosted by a property sheet: its set-up, its checks with their
// focus, the e-mail settings question, and the apply message to the main window.
#include "desktop/opt_notification_page.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "desktop/options_controls.h"
#include "desktop/resources/notify_ids.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/dpi.h"
#include "desktop/ui/scripted_prompter.h"
#include "fakes/test_folder.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/winsock_network.h"

namespace veltrano {
namespace {

class SilentSpeaker : public Speaker {
 public:
  void Beep(unsigned, unsigned) override {}
};

// Stands in for the main window: remembers the options-applied messages it received.
struct AppliedLog {
  std::vector<WPARAM> codes;
  NotificationPageData copy;
};
AppliedLog* currentLog = nullptr;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_OPTIONS_APPLY && currentLog) {
    currentLog->codes.push_back(wParam);
    currentLog->copy = *reinterpret_cast<NotificationPageData*>(lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateMainWindow() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &MainWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"NotificationPageTestMain";
  RegisterClassW(&windowClass);
  return CreateWindowW(L"NotificationPageTestMain", L"main", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                       GetModuleHandleW(nullptr), nullptr);
}

class NotificationPageTest : public ::testing::Test {
 protected:
  NotificationPageTest() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    currentLog = &applied_;
    adapters_.resize(2);
    adapters_.front().kind = kAllConnections, adapters_.front().displayName = "All Connections";
    adapters_.back().kind = kInterfaceAdapter, adapters_.back().id = "{B2}", adapters_.back().displayName = "LAN";
    data_.enabled = true;
    data_.rule.adapterKind = kInterfaceAdapter;
    data_.rule.adapterId = "{B2}";
    data_.rule.amount = "10";
    data_.rule.unit = 3;
    data_.rule.periodKind = 2;
    data_.rule.days = 7;
    data_.rule.beepPreset = 4;
    main_ = CreateMainWindow();
  }
  ~NotificationPageTest() override {
    if (sheet_) sheet_->DestroyModeless();
    DestroyWindow(main_);
    currentLog = nullptr;
  }
  HWND Open() {
    page_ = std::make_unique<COptNotificationPage>(GetModuleHandleW(nullptr), data_, adapters_, folder_.Files(),
                                                   beeper_, network_, prompter_, main_);
    sheet_ = std::make_unique<ui::PropertySheetDialog>(GetModuleHandleW(nullptr), L"Options");
    sheet_->AddPage(*page_);
    sheet_->CreateModeless(nullptr);
    ui::PumpMessages();
    return page_->Handle();
  }
  void PressOk() {
    PostMessageW(sheet_->Handle(), PSM_PRESSBUTTON, PSBTN_OK, 0);
    ui::PumpMessages();
  }
  std::string Text(int id) {
    wchar_t text[300] = {};
    GetDlgItemTextW(page_->Handle(), id, text, 300);
    return Narrow(std::wstring(text));
  }
  void SetText(int id, const std::string& text) { SetDlgItemTextW(page_->Handle(), id, Widen(text).c_str()); }
  void Check(int id, bool on) { CheckDlgButton(page_->Handle(), id, on ? BST_CHECKED : BST_UNCHECKED); }

  testing::TestFolder folder_;
  AdapterList adapters_;
  NotificationPageData data_;
  SilentSpeaker speaker_;
  Beeper beeper_{speaker_};
  WinsockNetwork network_;
  ui::ScriptedPrompter prompter_;
  AppliedLog applied_;
  HWND main_ = nullptr;
  std::unique_ptr<COptNotificationPage> page_;
  std::unique_ptr<ui::PropertySheetDialog> sheet_;
};

TEST_F(NotificationPageTest, SetsUpTheListsFromTheRule) {
  HWND page = Open();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(SendDlgItemMessageW(page, IDC_NOTIFY_ADAPTER, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendDlgItemMessageW(page, IDC_NOTIFY_AMOUNT, WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(OptionsControlFont(ui::WindowDpi(page))))
      << "the font of the other pages";
  EXPECT_EQ(SendDlgItemMessageW(page, IDC_NOTIFY_UNIT, CB_GETCOUNT, 0, 0), 5);
  EXPECT_EQ(SendDlgItemMessageW(page, IDC_NOTIFY_BEEP_PRESET, CB_GETCOUNT, 0, 0), 9);
  EXPECT_EQ(Text(IDC_NOTIFY_DAYS), "7");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_NOTIFY_DAYS)));
  SendDlgItemMessageW(page, IDC_NOTIFY_PERIOD, CB_SETCURSEL, 0, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_NOTIFY_PERIOD, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_NOTIFY_PERIOD)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_NOTIFY_DAYS)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_NOTIFY_DAYS_LABEL)));
}

TEST_F(NotificationPageTest, ARefusedPageFocusesTheOffendingControlAndStaysOpen) {
  HWND page = Open();
  SetText(IDC_NOTIFY_AMOUNT, "1,5");
  PressOk();
  EXPECT_EQ(prompter_.LastText(), "Please enter a valid transfer number.");
  EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_NOTIFY_AMOUNT));
  EXPECT_FALSE(sheet_->Finished());
  EXPECT_TRUE(applied_.codes.empty());

  SetText(IDC_NOTIFY_AMOUNT, "10");
  folder_.WriteAll("tune.mp3", "ID3");
  Check(IDC_NOTIFY_PLAY_SOUND, true);
  SetText(IDC_NOTIFY_SOUND_FILE, folder_.Path("tune.mp3"));
  PressOk();
  EXPECT_EQ(prompter_.LastText(), "File '" + folder_.Path("tune.mp3") + "' isn't available or isn't a WAV file.");
  EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_NOTIFY_SOUND_FILE));

  Check(IDC_NOTIFY_PLAY_SOUND, false);
  Check(IDC_NOTIFY_RUN_PROGRAM, true);
  SetText(IDC_NOTIFY_PROGRAM, folder_.Path("no such tool.exe"));
  PressOk();
  EXPECT_EQ(prompter_.LastText(), "File '" + folder_.Path("no such tool.exe") + "' isn't available.");
  EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_NOTIFY_PROGRAM));
  EXPECT_FALSE(sheet_->Finished());
}

TEST_F(NotificationPageTest, AsksAboutIncompleteMailSettingsButAcceptsAndTellsTheMainWindow) {
  Open();
  folder_.WriteAll("warn me.exe", "MZ");
  Check(IDC_NOTIFY_SEND_EMAIL, true);
  SetText(IDC_NOTIFY_ADDRESSES, " me@example.org , you@example.org");
  Check(IDC_NOTIFY_RUN_PROGRAM, true);
  SetText(IDC_NOTIFY_PROGRAM, folder_.Path("warn me.exe"));
  SetText(IDC_NOTIFY_AMOUNT, "2147483647");
  SendDlgItemMessageW(page_->Handle(), IDC_NOTIFY_UNIT, CB_SETCURSEL, 4, 0);
  prompter_.Answer(false);
  PressOk();
  ASSERT_EQ(prompter_.Prompts().size(), 1u);
  EXPECT_EQ(prompter_.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kAsk);
  EXPECT_EQ(prompter_.LastText(), kIncompleteEmailQuestion);
  EXPECT_TRUE(sheet_->Finished());
  ASSERT_EQ(applied_.codes, std::vector<WPARAM>{204});
  EXPECT_TRUE(applied_.copy.enabled);
  EXPECT_EQ(applied_.copy.rule.amount, "2147483647");
  EXPECT_EQ(applied_.copy.rule.unit, 4u);
  EXPECT_EQ(applied_.copy.rule.adapterId, "{B2}");
  EXPECT_EQ(applied_.copy.rule.program, folder_.Path("warn me.exe"));
  EXPECT_EQ(applied_.copy.rule.emailAddresses, " me@example.org , you@example.org");
  EXPECT_EQ(applied_.copy.rule.version, 3u);
}

TEST_F(NotificationPageTest, ADisabledRuleIsAcceptedWithoutChecks) {
  Open();
  Check(IDC_NOTIFY_ENABLE, false);
  SetText(IDC_NOTIFY_AMOUNT, "");
  PressOk();
  EXPECT_TRUE(prompter_.Prompts().empty());
  EXPECT_TRUE(sheet_->Finished());
  ASSERT_EQ(applied_.codes.size(), 1u);
  EXPECT_FALSE(applied_.copy.enabled);
}

}  // namespace
}  // namespace veltrano
