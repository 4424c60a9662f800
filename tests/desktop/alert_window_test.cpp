// The alert window under Wine: its texts, the running total that follows the row, the sound
// buttons and the refusal of Next 0 minute(s).
#include "desktop/alert_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>

#include "desktop/resources/notify_ids.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/scripted_prompter.h"
#include "fakes/test_folder.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

class SilentSpeaker : public Speaker {
 public:
  void Beep(unsigned, unsigned) override { ++tones; }
  std::atomic<int> tones{0};
};

std::string Text(HWND dialog, int id) {
  wchar_t text[512] = {};
  GetDlgItemTextW(dialog, id, text, 512);
  return Narrow(std::wstring(text));
}

int setTextCount = 0;
WNDPROC originalStaticProc = nullptr;

LRESULT CALLBACK CountingStaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) ++setTextCount;
  return CallWindowProcW(originalStaticProc, window, message, wParam, lParam);
}

class AlertWindowTest : public ::testing::Test {
 protected:
  AlertWindowTest() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    inputs_.rule.amount = "10";
    inputs_.rule.unit = 3;
    inputs_.rule.transferType = 0;
    inputs_.rule.periodKind = 0;
    inputs_.calendar = {0, 1, 17};
    inputs_.today.year = 2008, inputs_.today.month = 3, inputs_.today.day = 8, inputs_.today.dayOfWeek = 6;
    inputs_.displayName = "LAN";
    inputs_.watched = &watched_;
    inputs_.periodBase = 11LL << 30;
    inputs_.choice = {1, 5};
    watched_.todayIn = 200ull << 20;
  }
  ~AlertWindowTest() override {
    if (window_ && IsWindow(window_->Handle())) DestroyWindow(window_->Handle());
  }
  HWND Open() {
    window_ = std::make_unique<AlertWindow>(GetModuleHandleW(nullptr), inputs_, beeper_, prompter_);
    return window_->CreateModeless(nullptr);
  }
  void Click(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

  testing::TestFolder folder_;
  AlertInputs inputs_;
  AdapterEntry watched_;
  SilentSpeaker speaker_;
  Beeper beeper_{speaker_};
  ui::ScriptedPrompter prompter_;
  std::unique_ptr<AlertWindow> window_;
};

TEST_F(AlertWindowTest, ShowsTheMessageAndARunningTotalThatFollowsTheRowWithoutRewritingAnUnchangedLine) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  wchar_t caption[64] = {};
  GetWindowTextW(dialog, caption, 64);
  EXPECT_EQ(std::wstring(caption), L"Notification - Veltrano");
  EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_NE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(Text(dialog, IDC_ALERT_MESSAGE),
            "Dear user, more than 10 GB have been downloaded through \"LAN\" in last week (03/02/2008 -- 03/08/2008).");
  EXPECT_EQ(Text(dialog, IDC_ALERT_TOTAL), "Downloaded so far: 11.20 GB");

  HWND line = GetDlgItem(dialog, IDC_ALERT_TOTAL);
  originalStaticProc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(line, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingStaticProc)));
  setTextCount = 0;
  for (int tick = 0; tick < 3; ++tick) SendMessageW(dialog, WM_TIMER, 1, 0);
  EXPECT_EQ(setTextCount, 0);
  watched_.todayIn += 1ull << 30;
  SendMessageW(dialog, WM_TIMER, 1, 0);
  EXPECT_EQ(setTextCount, 1);
  EXPECT_EQ(Text(dialog, IDC_ALERT_TOTAL), "Downloaded so far: 12.20 GB");
  SetWindowLongPtrW(line, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(originalStaticProc));
}

TEST_F(AlertWindowTest, RefusesNextWithZeroMinutesAndClosesWithAValidChoice) {
  HWND dialog = Open();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_MINUTES)));
  SetDlgItemTextW(dialog, IDC_ALERT_MINUTES, L"0");
  Click(dialog, IDOK);
  ASSERT_TRUE(IsWindow(dialog));
  ASSERT_EQ(prompter_.Prompts().size(), 1u);
  EXPECT_EQ(prompter_.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kInform);
  EXPECT_EQ(prompter_.LastText(), "Minutes up to next alert should be greater than 0.");
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_ALERT_MINUTES));

  SendMessageW(dialog, WM_CLOSE, 0, 0);  // the window's own close box checks alike
  ui::PumpMessages();
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(prompter_.Prompts().size(), 2u);

  SetDlgItemTextW(dialog, IDC_ALERT_MINUTES, L"3");
  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(window_->Choice().type, 1u);
  EXPECT_EQ(window_->Choice().minutes, 3u);
}

TEST_F(AlertWindowTest, NoLongerAcceptsAnyMinutesAndDisablesThem) {
  HWND dialog = Open();
  CheckRadioButton(dialog, IDC_ALERT_NO_LONGER, IDC_ALERT_NEXT, IDC_ALERT_NO_LONGER);
  Click(dialog, IDC_ALERT_NO_LONGER);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_MINUTES)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_SPIN)));
  SetDlgItemTextW(dialog, IDC_ALERT_MINUTES, L"0");
  Click(dialog, IDOK);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(prompter_.Prompts().empty());
  EXPECT_EQ(window_->Choice().type, 0u);
}

TEST_F(AlertWindowTest, StopSoundIsDisabledWithNothingPlayingAndStopsTheBeeper) {
  HWND dialog = Open();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_STOP_SOUND)));
  DestroyWindow(dialog);

  inputs_.rule.playSound = 1;
  inputs_.rule.soundFile = "C:\\windows\\no such sound.wav";  // cannot be played: plays nothing
  dialog = Open();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_STOP_SOUND)));
  DestroyWindow(dialog);
  inputs_.rule.soundFile = folder_.Path("not a wave.wav");
  folder_.WriteAll("not a wave.wav", "ID3 this is an MP3 file under a .wav name");
  dialog = Open();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_STOP_SOUND)));
  DestroyWindow(dialog);

  inputs_.rule.playBeep = 1;
  inputs_.rule.beepPreset = 0;
  dialog = Open();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_STOP_SOUND)));
  EXPECT_TRUE(beeper_.IsRunning());
  Click(dialog, IDC_ALERT_STOP_SOUND);
  EXPECT_FALSE(beeper_.IsRunning());
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ALERT_STOP_SOUND)));

  Click(dialog, IDC_ALERT_NO_LONGER);
  DestroyWindow(dialog);
  dialog = Open();  // closing the window stops the beeps too
  EXPECT_TRUE(beeper_.IsRunning());
  CheckRadioButton(dialog, IDC_ALERT_NO_LONGER, IDC_ALERT_NEXT, IDC_ALERT_NO_LONGER);
  Click(dialog, IDOK);
  EXPECT_FALSE(beeper_.IsRunning());
}

}  // namespace
}  // namespace veltrano
