// The options sheet under Wine, opened in the test process and driven by messages as a user would
// drive it; accepted pages reach the real registry through the same apply code as the main window.
#include "desktop/options_sheet.h"

#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

#include <functional>

#include "desktop/opt_service_page.h"
#include "desktop/resources/options_ids.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/scripted_prompter.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_service_manager.h"
#include "fakes/test_folder.h"
#include "fakes/test_hive.h"
#include "platform/win32/wide_text.h"
#include "settings/standalone_values.h"
#include "view/options_apply.h"
#include "view/service_handover.h"

namespace veltrano {
namespace {

constexpr int kApplyNow = 0x3021;
const char* const kOptionsKey = "Software\\Veltrano\\Options";
const char* const kServiceKey = "Software\\Veltrano\\Service";

// A window standing in for the main window: it receives the hand-off of each accepted page.
class ApplyTarget {
 public:
  ApplyTarget() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ApplyTarget::Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VeltranoOptionsTestTarget";
    RegisterClassW(&windowClass);
    window_ = CreateWindowW(L"VeltranoOptionsTestTarget", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ApplyTarget() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }
  std::function<void(WPARAM, LPARAM)> onApply;
  std::vector<WPARAM> codes;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ApplyTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_OPTIONS_APPLY) {
      self->codes.push_back(wParam);
      if (self->onApply) self->onApply(wParam, lParam);
      return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_;
};

class NoWindows : public OptionsApplyHost {
 public:
  void RetitlePanes() override {}
  void RecomputeUsage() override {}
  void SetHotkey(HotkeyAction, std::uint32_t, std::uint32_t) override {}
  void ApplyAlwaysOnTop(bool) override {}
  void ApplyShowCaption(bool) override {}
  void ApplyWindowStyle(std::uint32_t, bool) override {}
  void RefreshPanes() override {}
  void RestackPanes() override {}
  void RecreateTrayPens() override {}
  void SetPaneScale(AdapterEntry&, std::uint32_t scale) override { scales.push_back(scale); }
  void RetitlePane(AdapterEntry&) override {}
  void ShowAndHidePanes(const std::vector<AdapterEntry*>&, const std::vector<AdapterEntry*>&) override {}
  void DeleteTrayIcon() override {}
  std::string ExecutablePath() override { return "C:\\Program Files\\Veltrano\\Pellacor.exe"; }
  std::vector<std::uint32_t> scales;
};

std::uint32_t Dword(RegistryHive& hive, const std::string& key, const std::string& name) {
  RegValue value;
  if (!hive.QueryValue(key, name, value) || value.type != kRegDword || value.data.size() != 4) return 0xDEADBEEF;
  return value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<std::uint32_t>(value.data[3]) << 24;
}

class OptionsSheetTest : public ::testing::Test {
 protected:
  OptionsSheetTest() {
    rows_.resize(3);
    auto row = rows_.begin();
    row->kind = kAllConnections, row->displayName = "All Connections", row->monitored = true;
    (++row)->kind = kDialUpConnections, row->displayName = "Dial-Up Connections";
    (++row)->id = "{NIC}", row->displayName = "Ethernet", row->ipAddress = "10.0.0.2";
    clock_.Set(2026, 12, 8, 12, 0, 0);
    LogOpenOptions options;
    options.customPath = true;
    log_.Open(folder_.Path("qxrsum_v2.log"), options);
    settings_.trafficLogFile = log_.Path();
    target_.onApply = [this](WPARAM code, LPARAM data) { OnApply(code, data); };
  }
  ~OptionsSheetTest() override {
    if (sheet_) sheet_->DestroyModeless();
  }

  void OnApply(WPARAM code, LPARAM data) {
    OptionsApplier applier(settings_, rows_, store_, windows_);
    if (code == kGeneralPageCode) {
      const auto& page = *reinterpret_cast<GeneralPageData*>(data);
      applier.ApplyGeneral(page.options, page.layeredWindows);
    } else if (code == kGraphTextPageCode) {
      applier.ApplyGraphText(*reinterpret_cast<Options*>(data));
    } else if (code == kAdaptersPageCode) {
      const auto& page = *reinterpret_cast<AdaptersPageData*>(data);
      applier.ApplyAdapters(page.rows, page.tray);
    } else if (code == kServicePageCode) {
      HandoverActions actions;
      actions.pause = [this](unsigned ms) { paused_ += ms; };
      ServiceHandover handover(services_, store_, log_, clock_.now, folder_.Files(), actions);
      folder_.WriteAll("PellacorService.exe", "MZ");
      handover.Apply(*reinterpret_cast<ServiceSettings*>(data), settings_, rows_, folder_.Path("PellacorService.exe"));
    }
  }

  HWND Open(int startPage = 0) {
    data_ = OptionsSheetData::From(settings_.options, true, rows_, settings_.service);
    sheet_ =
        std::make_unique<COptionsSheet>(GetModuleHandleW(nullptr), data_, target_.Handle(), prompter_, folder_.Files());
    sheet_->AddPages();
    HWND sheet = sheet_->CreateModeless(nullptr, startPage);
    ui::PumpMessages();
    return sheet;
  }
  HWND Page() const { return reinterpret_cast<HWND>(SendMessageW(sheet_->Handle(), PSM_GETCURRENTPAGEHWND, 0, 0)); }
  void ShowPage(int index) {
    SendMessageW(sheet_->Handle(), PSM_SETCURSEL, index, 0);
    ui::PumpMessages();
  }
  void Press(int button) {
    SendMessageW(sheet_->Handle(), PSM_PRESSBUTTON, button, 0);
    ui::PumpMessages();
  }
  void Click(int id) {
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Page(), id)));
    ui::PumpMessages();
  }
  void SetCheck(int id, bool on) {
    SendDlgItemMessageW(Page(), id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
  }
  void Type(int id, const wchar_t* text) {
    SetDlgItemTextW(Page(), id, text);
    ui::PumpMessages();
  }
  void Choose(int id, int index) {
    SendDlgItemMessageW(Page(), id, CB_SETCURSEL, index, 0);
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(Page(), id)));
    ui::PumpMessages();
  }
  int Selection(int id) { return static_cast<int>(SendDlgItemMessageW(Page(), id, CB_GETCURSEL, 0, 0)); }
  int FocusedId() { return GetDlgCtrlID(GetFocus()); }
  bool Finished() const { return sheet_->Finished(); }

  testing::TestHive hives_;
  testing::TestFolder folder_;
  testing::FakeClock clock_;
  testing::FakeServiceManager services_;
  SettingsStore store_{hives_.Hive(), hives_.OtherHive()};
  TrafficLog log_{folder_.Files()};
  Settings settings_;
  AdapterList rows_;
  NoWindows windows_;
  unsigned paused_ = 0;
  ui::ScriptedPrompter prompter_;
  ApplyTarget target_;
  OptionsSheetData data_;
  std::unique_ptr<COptionsSheet> sheet_;
};

TEST_F(OptionsSheetTest, HasItsCaptionPagesAndButtons) {
  HWND sheet = Open();
  ASSERT_NE(sheet, nullptr);
  wchar_t text[64];
  GetWindowTextW(sheet, text, 64);
  EXPECT_STREQ(text, L"Veltrano Options");
  HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 4);
  // The tab shows "&&" as one ampersand rather than underlining the space after it.
  const wchar_t* titles[] = {L"General", L"Graph && Text", L"Adapters", L"Service"};
  for (int index = 0; index < 4; ++index) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, titles[index]);
  }
  const std::pair<int, const wchar_t*> buttons[] = {
      {IDOK, L"OK"}, {IDCANCEL, L"Cancel"}, {kApplyNow, L"&Apply"}, {IDHELP, L"Help"}};
  for (const auto& [id, title] : buttons) {
    GetDlgItemTextW(sheet, id, text, 64);
    EXPECT_STREQ(text, title);
  }
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(sheet, kApplyNow)));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(Page(), IDC_GEN_ALWAYS_ON_TOP, WM_GETFONT, 0, 0)), sizeof font,
             &font);
  EXPECT_STREQ(font.lfFaceName, L"Tahoma");
  EXPECT_EQ(font.lfHeight, -11);

  SetCheck(IDC_GEN_START_MINIMIZED, true);  // an edit marks the page modified
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(sheet, kApplyNow)));
}

TEST_F(OptionsSheetTest, BothGraphAndTextOffIsRefusedOnTheGeneralPageWithGraphFocused) {
  settings_.options.transparentPercent = 12;
  Open();
  EXPECT_EQ(Selection(IDC_GEN_TRANSPARENCY), 1);  // 85% visible
  SetCheck(IDC_GEN_DISPLAY_GRAPH, false);
  SetCheck(IDC_GEN_DISPLAY_TEXT, false);
  ShowPage(1);
  Press(PSBTN_OK);
  ASSERT_EQ(prompter_.Prompts().size(), 1u);
  EXPECT_EQ(prompter_.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kWarn);
  EXPECT_EQ(prompter_.LastText(), "At least either graph or text should be displayed.");
  EXPECT_FALSE(Finished());
  EXPECT_EQ(SendMessageW(sheet_->Handle(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page()), 0), 0);
  EXPECT_EQ(FocusedId(), IDC_GEN_DISPLAY_GRAPH);
  EXPECT_TRUE(target_.codes.empty());
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "DisplayGraph"), 0xDEADBEEFu);  // nothing stored
}

TEST_F(OptionsSheetTest, TheGeneralPageReachesTheUserAndTheMachine) {
  settings_.service.serviceEnabled = 1;
  Open();
  Choose(IDC_GEN_HOTKEY_CHAR, 'K' - 'A');
  SetCheck(IDC_GEN_START_WITH_WINDOWS, true);
  Choose(IDC_GEN_WEEK_START, 1);
  Type(IDC_GEN_MARGINS, L"abc");
  Press(PSBTN_APPLYNOW);
  EXPECT_EQ(prompter_.LastText(), "The margins for rate view must be a number from 0 to 1000.");
  EXPECT_EQ(FocusedId(), IDC_GEN_MARGINS);
  Type(IDC_GEN_MARGINS, L"6");
  Press(PSBTN_OK);
  EXPECT_TRUE(Finished());
  EXPECT_EQ(target_.codes, std::vector<WPARAM>{kGeneralPageCode});
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "HotkeyChar"), 0x4Bu);
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "RateViewMargins"), 6u);
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "WeekStartDay"), 1u);
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "DisplayTitle"), 1u);
  EXPECT_TRUE(IsStartWithWindows(hives_.Hive()));
  EXPECT_EQ(Dword(hives_.OtherHive(), kOptionsKey, "WeekStartDay"), 1u);
  EXPECT_EQ(Dword(hives_.OtherHive(), kOptionsKey, "DisplayTitle"), 0xDEADBEEFu);  // the user's only
}

TEST_F(OptionsSheetTest, OnlyShownPagesAreCheckedInOrderAndCancelKeepsWhatApplyApplied) {
  Open(1);
  Type(IDC_GT_PULSE_WIDTH, L"0");
  Type(IDC_GT_PULSE_SPACE, L"0");
  ShowPage(0);
  Press(PSBTN_OK);
  EXPECT_EQ(prompter_.LastText(), "The pulse width must be greater than 0.");
  EXPECT_EQ(SendMessageW(sheet_->Handle(), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page()), 0), 1);
  EXPECT_EQ(FocusedId(), IDC_GT_PULSE_WIDTH);
  EXPECT_EQ(target_.codes, std::vector<WPARAM>{kGeneralPageCode});  // the General page came first

  Type(IDC_GT_PULSE_WIDTH, L"4");
  Click(IDC_GT_COLOURS_DEFAULT);
  Press(PSBTN_APPLYNOW);
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "PulseWidth"), 4u);
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "PulseSpace"), 0u);
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "GraphBkgColor"), 0xDEDBADu);
  EXPECT_EQ(Dword(hives_.OtherHive(), kOptionsKey, "PulseWidth"), 0xDEADBEEFu);
  Press(PSBTN_CANCEL);
  EXPECT_TRUE(Finished());
  EXPECT_EQ(settings_.options.pulseWidth, 4u);
}

TEST_F(OptionsSheetTest, TheAdaptersPageChecksAndSavesTheAdapters) {
  Open(2);
  HWND list = GetDlgItem(Page(), IDC_AD_LIST);
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_AD_NAME)));
  ListView_SetCheckState(list, 0, FALSE);
  ui::PumpMessages();
  Press(PSBTN_APPLYNOW);
  EXPECT_EQ(prompter_.LastText(), "At least one adapter should be monitored.");
  EXPECT_EQ(FocusedId(), IDC_AD_LIST);

  ListView_SetCheckState(list, 2, TRUE);
  ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ui::PumpMessages();
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Page(), IDC_AD_NAME)));
  Choose(IDC_AD_CONNECTION, 14);  // "100 mbps (LAN)"
  Type(IDC_AD_NAME, L"");
  Press(PSBTN_APPLYNOW);
  EXPECT_EQ(prompter_.LastText(), "The adapter name must not be empty.");
  Type(IDC_AD_NAME, L"Uplink");
  Choose(IDC_AD_CONNECTION, kSpecifySpeedIndex);
  Type(IDC_AD_CUSTOM_SPEED, L"2147483648");
  Press(PSBTN_APPLYNOW);
  EXPECT_EQ(prompter_.LastText(), "The custom speed must be a number from 0 to 2147483647.");
  EXPECT_EQ(FocusedId(), IDC_AD_CUSTOM_SPEED);
  Choose(IDC_AD_CONNECTION, 14);
  Choose(IDC_AD_TRAY_ADAPTER, 2);
  Press(PSBTN_OK);
  ASSERT_TRUE(Finished());

  const std::string nic = "Software\\Veltrano\\AdaptersEx\\300-{NIC}";
  EXPECT_EQ(Dword(hives_.Hive(), nic, "ConnRatebps"), 100000000u);
  EXPECT_EQ(Dword(hives_.Hive(), nic, "Monitored"), 1u);
  EXPECT_EQ(Dword(hives_.Hive(), "Software\\Veltrano\\AdaptersEx\\100-", "Monitored"), 0u);
  EXPECT_EQ(rows_.back().displayName, "Uplink");
  EXPECT_EQ(Dword(hives_.Hive(), kOptionsKey, "STIfType"), 300u);
  EXPECT_FALSE(hives_.OtherHive().KeyExists("Software\\Veltrano\\AdaptersEx"));
}

TEST_F(OptionsSheetTest, EnablingTheServiceCopiesItsSettingsToTheMachine) {
  Open(3);
  auto& page =
      *static_cast<COptServicePage*>(reinterpret_cast<ui::PropertyPage*>(GetWindowLongPtrW(Page(), DWLP_USER)));
  page.SetReportEditor([](ScheduledReport& report) {
    report.reportType = kMonthlyReport;
    report.interval = 120;
    report.filePath = "C:\\reports\\month.html";
    return true;
  });
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_SV_ADD)));
  SetCheck(IDC_SV_ENABLE, true);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Page(), IDC_SV_ADD)));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_SV_EDIT)));
  Click(IDC_SV_ADD);
  HWND list = GetDlgItem(Page(), IDC_SV_LIST);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  wchar_t text[64];
  ListView_GetItemText(list, 0, 2, text, 64);
  EXPECT_STREQ(text, L"120 sec.");
  ListView_GetItemText(list, 0, 0, text, 64);
  EXPECT_STREQ(text, L"Monthly Report");
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Page(), IDC_SV_EDIT)));  // the new row is selected
  SetCheck(IDC_SV_RECORDER, true);
  Press(PSBTN_OK);
  ASSERT_TRUE(Finished());

  EXPECT_EQ(Dword(hives_.Hive(), kServiceKey, "ServiceEnabled"), 1u);
  EXPECT_EQ(Dword(hives_.OtherHive(), kServiceKey, "ServiceEnabled"), 1u);
  RegValue report;
  ASSERT_TRUE(hives_.OtherHive().QueryValue("Software\\Veltrano\\Service\\Reports", "Report1", report));
  EXPECT_EQ(report.data.size(), 796u);
  EXPECT_EQ(report.data[0], kMonthlyReport);
  RegValue options;
  ASSERT_TRUE(hives_.OtherHive().QueryValue(kServiceKey, "ServiceOptions", options));
  EXPECT_EQ(options.data, (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
  std::string path;
  ASSERT_TRUE(ReadTrafficLogPath(hives_.OtherHive(), path));
  EXPECT_EQ(path, log_.Path());
  EXPECT_EQ(Dword(hives_.OtherHive(), kOptionsKey, "MonthStartDay"), 1u);
  EXPECT_EQ(Dword(hives_.OtherHive(), "Software\\Veltrano\\AdaptersEx\\300-{NIC}", "RecordInterval"), 1u);
  EXPECT_EQ(services_.installedName, "VeltranoService");
  EXPECT_GE(paused_, 3000u);
  EXPECT_FALSE(log_.IsWriter());
}

// The main window turns the switch back off when the service does not stay up; the page then shows
// that, so a second "Apply" does not claim the service is on.
TEST_F(OptionsSheetTest, TheServiceSwitchShowsWhatTheMainWindowCouldApply) {
  Open(3);
  target_.onApply = [](WPARAM code, LPARAM data) {
    if (code == kServicePageCode) reinterpret_cast<ServiceSettings*>(data)->serviceEnabled = 0;
  };
  SetCheck(IDC_SV_ENABLE, true);
  Press(PSBTN_APPLYNOW);
  EXPECT_EQ(IsDlgButtonChecked(Page(), IDC_SV_ENABLE), static_cast<UINT>(BST_UNCHECKED));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_SV_ADD)));
  Press(PSBTN_CANCEL);
}

}  // namespace
}  // namespace veltrano

