#include "view/options_apply.h"

#include <gtest/gtest.h>

#include "fakes/test_hive.h"
#include "settings/standalone_values.h"

namespace veltrano {
namespace {

class RecordingHost : public OptionsApplyHost {
 public:
  void RetitlePanes() override { steps.push_back("retitle"); }
  void RecomputeUsage() override { steps.push_back("usage"); }
  void SetHotkey(HotkeyAction, std::uint32_t oldLetter, std::uint32_t newLetter) override {
    steps.push_back("hotkey " + std::string(1, char(oldLetter)) + "->" + std::string(1, char(newLetter)));
  }
  void ApplyAlwaysOnTop(bool) override { steps.push_back("topmost"); }
  void ApplyShowCaption(bool) override { steps.push_back("caption"); }
  void ApplyWindowStyle(std::uint32_t percent, bool) override { steps.push_back("style " + std::to_string(percent)); }
  void RefreshPanes() override { steps.push_back("panes"); }
  void RestackPanes() override { steps.push_back("restack"); }
  void RecreateTrayPens() override { steps.push_back("pens"); }
  void SetPaneScale(AdapterEntry& row, std::uint32_t scale) override {
    steps.push_back("scale " + row.displayName + " " + std::to_string(scale));
  }
  void RetitlePane(AdapterEntry& row) override { steps.push_back("title " + row.displayName); }
  void ShowAndHidePanes(const std::vector<AdapterEntry*>& show, const std::vector<AdapterEntry*>& hide) override {
    steps.push_back("batch " + std::to_string(show.size()) + "+" + std::to_string(hide.size()));
  }
  void DeleteTrayIcon() override { steps.push_back("tray off"); }
  std::string ExecutablePath() override { return "C:\\Veltrano\\Pellacor.exe"; }
  std::vector<std::string> steps;
};

bool HasValue(RegistryHive& hive, const std::string& key, const std::string& name) {
  RegValue value;
  return hive.QueryValue(key, name, value);
}

class OptionsApplyTest : public ::testing::Test {
 protected:
  OptionsApplyTest() {
    rows_.resize(2);
    rows_.front().kind = kAllConnections, rows_.front().displayName = "All Connections", rows_.front().monitored = true;
    rows_.back().id = "{NIC}", rows_.back().displayName = "nic";
  }
  testing::TestHive hives_;
  SettingsStore store_{hives_.Hive(), hives_.OtherHive()};
  Settings settings_;
  AdapterList rows_;
  RecordingHost host_;
  OptionsApplier applier_{settings_, rows_, store_, host_};
};

TEST_F(OptionsApplyTest, GeneralRunsItsStepsInOrderAndSavesForUserAndMachine) {
  settings_.service.serviceEnabled = 1;
  Options page = settings_.options;
  page.showIpInTitle = 0, page.hotkeyChar = 'K', page.alwaysOnTop = 0, page.rateViewMargins = 5;
  page.startWithWindows = 1, page.displayScale = 0;
  applier_.ApplyGeneral(page, true);
  EXPECT_EQ(host_.steps,
            (std::vector<std::string>{"retitle", "hotkey B->K", "topmost", "style 10", "panes", "restack"}));
  EXPECT_TRUE(IsStartWithWindows(hives_.Hive()));
  EXPECT_TRUE(HasValue(hives_.Hive(), "Software\\Veltrano\\Options", "HotkeyChar"));
  EXPECT_TRUE(HasValue(hives_.Hive(), "Software\\Veltrano\\Options", "DisplayScale"));
  EXPECT_TRUE(HasValue(hives_.OtherHive(), "Software\\Veltrano\\Options", "ShowIPInTitle"));
  EXPECT_FALSE(HasValue(hives_.OtherHive(), "Software\\Veltrano\\Options", "DisplayScale"));

  host_.steps.clear();
  page.startWithWindows = 0;
  applier_.ApplyGeneral(page, true);
  EXPECT_FALSE(IsStartWithWindows(hives_.Hive()));
  EXPECT_EQ(host_.steps, (std::vector<std::string>{"style 10", "panes"}));
}

TEST_F(OptionsApplyTest, GraphAndTextStaysWithTheUser) {
  settings_.service.serviceEnabled = 1;
  Options page = settings_.options;
  page.pulseWidth = 7, page.gridColor = 0x010203;
  applier_.ApplyGraphText(page);
  EXPECT_EQ(settings_.options.pulseWidth, 7u);
  EXPECT_EQ(host_.steps, (std::vector<std::string>{"pens", "panes"}));
  EXPECT_TRUE(HasValue(hives_.Hive(), "Software\\Veltrano\\Options", "PulseWidth"));
  EXPECT_TRUE(HasValue(hives_.Hive(), "Software\\Veltrano\\Options", "GridColor"));
  EXPECT_FALSE(HasValue(hives_.OtherHive(), "Software\\Veltrano\\Options", "PulseWidth"));
}

TEST_F(OptionsApplyTest, AdaptersScaleShowAndTray) {
  std::vector<AdapterPageRow> rows = AdapterPageRows(rows_);
  rows[0].connRateBps = 100000000;
  rows[1].monitored = true;
  Options tray = settings_.options;
  tray.dispIconSystray = 0;
  applier_.ApplyAdapters(rows, tray);
  EXPECT_EQ(host_.steps, (std::vector<std::string>{"scale All Connections 12500000", "title All Connections",
                                                   "batch 1+0", "tray off"}));
  EXPECT_TRUE(HasValue(hives_.Hive(), "Software\\Veltrano\\AdaptersEx\\300-{NIC}", "Monitored"));
  EXPECT_TRUE(HasValue(hives_.Hive(), "Software\\Veltrano\\Options", "DispIconSystray"));
  EXPECT_FALSE(hives_.OtherHive().KeyExists("Software\\Veltrano\\AdaptersEx"));
}

}  // namespace
}  // namespace veltrano
