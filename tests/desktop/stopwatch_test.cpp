// The stopwatch dialog under Wine, modeless in the test process, over a scripted adapter table
// whose histories the test extends as the sampler would.
#include <gtest/gtest.h>

#include "desktop/resources/reports_ids.h"
#include "desktop/stopwatch_dlg.h"
#include "desktop/ui/scripted_prompter.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

class StopwatchDlgTest : public ::testing::Test {
 protected:
  StopwatchDlgTest() {
    for (const char* name : {"All Connections", "Dial-Up Connections", "Test NIC"}) {
      AdapterEntry row;
      row.displayName = name;
      rows_.push_back(row);
    }
    AddSample(rows_.back(), 999999, 999999);  // before the start
  }

  ~StopwatchDlgTest() override {
    dialog_.reset();
    ui::PumpMessages();
  }

  static void AddSample(AdapterEntry& row, std::uint32_t down, std::uint32_t up) {
    RateSample sample;
    sample.received = down;
    sample.sent = up;
    row.history.push_back(sample);
    ++row.sampleCount;
  }

  HWND Open(StopwatchSwitches switches = {}, bool unitBytes = true) {
    dialog_ = std::make_unique<CStopwatchDlg>(
        GetModuleHandleW(nullptr), rows_, switches, unitBytes,
        [this](AdapterEntry& row) {
          resets_.push_back(&row);
          row.history.clear();
          row.sampleCount = 0;
        },
        prompter_);
    HWND window = dialog_->CreateModeless(nullptr);
    ui::PumpMessages();
    return window;
  }

  std::string Text(int id) const {
    wchar_t text[256] = {};
    const int length = GetDlgItemTextW(dialog_->Handle(), id, text, 256);
    return Narrow(text, static_cast<size_t>(length));
  }
  void Click(int id) {
    SendMessageW(dialog_->Handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_->Handle(), id)));
  }
  void Pick(int index) { SendDlgItemMessageW(dialog_->Handle(), IDC_SW_ADAPTERS, LB_SETCURSEL, index, 0); }
  void Second() { SendMessageW(dialog_->Handle(), WM_TIMER, CStopwatchDlg::kClockTimer, 0); }

  AdapterList rows_;
  ui::ScriptedPrompter prompter_;
  std::vector<AdapterEntry*> resets_;
  std::unique_ptr<CStopwatchDlg> dialog_;
};

TEST_F(StopwatchDlgTest, MeasuresTheSamplesAddedSinceStart) {
  HWND window = Open();
  ASSERT_TRUE(window);
  EXPECT_EQ(Text(IDC_SW_TOTAL_DOWN), "0 B");
  EXPECT_EQ(Text(IDC_SW_BITS_UP), "0 b");
  EXPECT_EQ(Text(IDC_SW_MIN_DOWN), "0 B/s");
  EXPECT_EQ(SendDlgItemMessageW(window, IDC_SW_ADAPTERS, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendDlgItemMessageW(window, IDC_SW_ADAPTERS, LB_GETCURSEL, 0, 0), 0);
  Pick(2);
  Click(IDC_SW_START);
  EXPECT_EQ(Text(IDC_SW_START), "&Stop");
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_SW_ADAPTERS)));
  AdapterEntry& nic = rows_.back();
  AddSample(nic, 100, 5);
  Second();
  AddSample(nic, 50, 10);
  AddSample(nic, 80, 1);
  Second();
  EXPECT_EQ(dialog_->Measurement().ClockText(), "00 : 00 : 02");
  EXPECT_EQ(Text(IDC_SW_TOTAL_DOWN), "230 B");
  EXPECT_EQ(Text(IDC_SW_TOTAL_UP), "16 B");
  EXPECT_EQ(Text(IDC_SW_BITS_DOWN), "1.8 kb");
  EXPECT_EQ(Text(IDC_SW_MAX_DOWN), "100 B/s");
  EXPECT_EQ(Text(IDC_SW_MAX_UP), "10 B/s");
  EXPECT_EQ(Text(IDC_SW_MIN_DOWN), "50 B/s");
  EXPECT_EQ(Text(IDC_SW_MIN_UP), "1 B/s");
  EXPECT_EQ(Text(IDC_SW_AVG_DOWN), "76 B/s");
  EXPECT_EQ(Text(IDC_SW_AVG_UP), "5 B/s");
  Click(IDC_SW_START);
  EXPECT_EQ(Text(IDC_SW_START), "&Start");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SW_ADAPTERS)));
  AddSample(nic, 1000, 1000);
  Second();
  EXPECT_EQ(Text(IDC_SW_TOTAL_DOWN), "230 B");  // the figures stay after Stop
  EXPECT_TRUE(resets_.empty());
}

TEST_F(StopwatchDlgTest, RatesAreShownInTheUnitOfTheOpening) {
  Open({}, false);
  Pick(2);
  Click(IDC_SW_START);
  AddSample(rows_.back(), 125, 0);
  Second();
  EXPECT_EQ(Text(IDC_SW_MAX_DOWN), "1.00 kbps");
  EXPECT_EQ(Text(IDC_SW_TOTAL_DOWN), "125 B");
}

TEST_F(StopwatchDlgTest, StartingWithoutAnAdapterWarnsAndStaysIdle) {
  HWND window = Open();
  Pick(-1);
  Click(IDC_SW_START);
  ASSERT_EQ(prompter_.Prompts().size(), 1u);
  EXPECT_EQ(prompter_.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kWarn);
  EXPECT_EQ(prompter_.LastText(), "Please select an adapter.");
  EXPECT_EQ(Text(IDC_SW_START), "&Start");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_SW_ADAPTERS)));
}

TEST_F(StopwatchDlgTest, TheSwitchesResetTheGraphPlaceTheDialogOnTopAndAreHandedBack) {
  HWND window = Open({true, true});
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(IsDlgButtonChecked(window, IDC_SW_RESET_GRAPH), BST_CHECKED);
  Pick(2);
  Click(IDC_SW_START);
  ASSERT_EQ(resets_.size(), 1u);
  EXPECT_EQ(resets_[0], &rows_.back());
  EXPECT_TRUE(rows_.back().history.empty());
  AddSample(rows_.back(), 7, 0);
  Second();
  EXPECT_EQ(Text(IDC_SW_TOTAL_DOWN), "7 B");

  CheckDlgButton(window, IDC_SW_ALWAYS_ON_TOP, BST_UNCHECKED);
  Click(IDC_SW_ALWAYS_ON_TOP);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  CheckDlgButton(window, IDC_SW_RESET_GRAPH, BST_UNCHECKED);
  Click(IDCANCEL);
  ui::PumpMessages();
  EXPECT_FALSE(dialog_->Switches().alwaysOnTop);
  EXPECT_FALSE(dialog_->Switches().resetGraph);
  EXPECT_FALSE(dialog_->Measurement().Running());
}

}  // namespace
}  // namespace veltrano
