// The program's dialogs at the screen's scale: every caption fits its control in the control's own
// font, fonts are their 96-DPI sizes scaled, and a move to a screen of another scale rebuilds them.
// Also run in prefixes of 120, 144 and 192 DPI, with VELTRANO_EXPECTED_DPI naming the scale.
#include <winsock2.h>
// before windows.h, which the dialogs' headers bring
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "desktop/alert_window.h"
#include "desktop/email_settings_dlg.h"
#include "desktop/opt_notification_page.h"
#include "desktop/options_sheet.h"
#include "desktop/rates_recorder_dlg.h"
#include "desktop/report_dlg.h"
#include "desktop/resources/notify_ids.h"
#include "desktop/resources/options_ids.h"
#include "desktop/resources/reports_ids.h"
#include "desktop/stopwatch_dlg.h"
#include "desktop/summary_sheet.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/dpi.h"
#include "desktop/ui/scripted_prompter.h"
#include "fakes/test_folder.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/winsock_network.h"
#include "view/crafted_log.h"
#include "view/dpi_scale.h"

namespace veltrano {
namespace {

class SilentSpeaker : public Speaker {
 public:
  void Beep(unsigned, unsigned) override {}
};

class NoFileDialogs : public ReportsFileDialogs {
 public:
  bool ChooseSaveFile(HWND, const std::string&, const char*, const std::string&, int&, std::string&) override {
    return false;
  }
  bool ChooseExistingFile(HWND, const char*, const std::string&, std::string&) override { return false; }
  void OpenWithShell(HWND, const std::string&) override {}
};

int FontHeight(HWND control) {
  auto* font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW record{};
  if (!font || !GetObjectW(font, sizeof record, &record)) return 0;
  return record.lfHeight < 0 ? -record.lfHeight : record.lfHeight;
}

// The caption as drawn: "&&" shows one ampersand, a lone "&" underlines the next letter.
std::wstring DrawnCaption(const std::wstring& text, bool prefixes) {
  if (!prefixes) return text;
  std::wstring shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

// Why the control's caption does not fit its control, or nothing. Only captions a user reads are
// judged: statics and buttons; ellipsis statics shorten their text on purpose.
std::string CaptionMisfit(HWND control, int dpi) {
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const bool isStatic = lstrcmpiW(className, L"Static") == 0, isButton = lstrcmpiW(className, L"Button") == 0;
  if (!isStatic && !isButton) return {};
  const int type = style & (isStatic ? SS_TYPEMASK : BS_TYPEMASK);
  if (isStatic && (type > SS_SIMPLE && type != SS_LEFTNOWORDWRAP)) return {};
  if (isStatic && (style & SS_ELLIPSISMASK)) return {};
  if (isButton && (type == BS_OWNERDRAW || (style & (BS_ICON | BS_BITMAP)))) return {};
  wchar_t text[512] = {};
  const std::wstring caption = DrawnCaption(std::wstring(text, static_cast<size_t>(GetWindowTextW(control, text, 512))),
                                            !(isStatic && (style & SS_NOPREFIX)));
  if (caption.empty()) return {};

  RECT client;
  GetClientRect(control, &client);
  int room = client.right;
  const bool box = isButton && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                                type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE);
  if (box) room -= ui::SystemMetricForDpi(SM_CXMENUCHECK, dpi) + ScaleToDpi(3, dpi);
  if (isButton && type == BS_GROUPBOX) room -= ScaleToDpi(10, dpi);
  if (isButton && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) room -= 2 * GetSystemMetrics(SM_CXEDGE);

  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const bool wraps = (isStatic && type <= SS_RIGHT) || (isButton && (style & BS_MULTILINE));
  std::string misfit;
  if (wraps && client.bottom >= 2 * metrics.tmHeight) {
    // Several lines: the text must wrap into the control's height.
    RECT needed{0, 0, room, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    if (needed.right > room || needed.bottom > client.bottom)
      misfit = "needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + ", has " +
               std::to_string(room) + "x" + std::to_string(client.bottom);
  } else {
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    if (size.cx > room) misfit = "needs " + std::to_string(size.cx) + " px, has " + std::to_string(room);
  }
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return misfit.empty() ? misfit
                        : "\"" + Narrow(caption) + "\" (id " + std::to_string(GetDlgCtrlID(control)) + ") " + misfit;
}

struct Inspection {
  HWND root = nullptr;
  std::map<int, int> heightsAt96;  // control id -> font height at 96 DPI, where it is not 11
  int dpi = 96;
  std::vector<std::string> failures;
  int checked = 0;
};

BOOL CALLBACK InspectControl(HWND control, LPARAM context) {
  auto& inspection = *reinterpret_cast<Inspection*>(context);
  // Shown once the window is: a page in front, not one behind it (showing costs Wine seconds).
  for (HWND window = control; window && window != inspection.root; window = GetParent(window))
    if (!(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE)) return TRUE;
  const std::string misfit = CaptionMisfit(control, inspection.dpi);
  if (!misfit.empty()) inspection.failures.push_back(misfit);
  wchar_t text[8] = {};
  if (!GetWindowTextW(control, text, 8)) return TRUE;
  const auto known = inspection.heightsAt96.find(GetDlgCtrlID(control));
  const int expected = ScaleToDpi(known == inspection.heightsAt96.end() ? 11 : known->second, inspection.dpi);
  const int height = FontHeight(control);
  ++inspection.checked;
  if (height < expected - 1 || height > expected + 1)
    inspection.failures.push_back("id " + std::to_string(GetDlgCtrlID(control)) + ": font height " +
                                  std::to_string(height) + ", expected " + std::to_string(expected));
  return TRUE;
}

// Every visible captioned control under the window fits its caption, in a font of the right size.
void ExpectReadable(HWND window, const std::string& where, std::map<int, int> heightsAt96 = {}) {
  ASSERT_NE(window, nullptr) << where;
  ui::PumpMessages();
  Inspection inspection;
  inspection.root = window;
  inspection.heightsAt96 = std::move(heightsAt96);
  inspection.dpi = ui::WindowDpi(window);
  EnumChildWindows(window, &InspectControl, reinterpret_cast<LPARAM>(&inspection));
  EXPECT_GT(inspection.checked, 0) << where;
  for (const std::string& failure : inspection.failures)
    ADD_FAILURE() << where << " at " << inspection.dpi << " DPI: " << failure;
}

// Wine answers GetGuiResources with 0; there a GDI handle's low word names its table slot.
DWORD LiveGdiObjects() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported) return reported;
  DWORD live = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
  return live;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Sends what the system sends when the window lands on a screen of dpi; answers the rectangle.
RECT MoveToScreenOf(HWND window, int dpi) {
  const RECT now = WindowRect(window);
  RECT suggested{40, 30, 40 + (now.right - now.left) * 3 / 2, 30 + (now.bottom - now.top) * 3 / 2};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  ui::PumpMessages();
  return suggested;
}

void ExpectRect(HWND window, const RECT& expected, const char* what) {
  const RECT rect = WindowRect(window);
  EXPECT_TRUE(EqualRect(&rect, &expected))
      << what << " is at " << rect.left << "," << rect.top << " " << rect.right << "x" << rect.bottom;
}

class DpiDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    // A prefix that did not take its scale fails here rather than passing at 96.
    if (const char* expected = std::getenv("VELTRANO_EXPECTED_DPI")) {
      ASSERT_EQ(ui::SystemDpi(), std::atoi(expected)) << "the prefix's LogPixels";
    }
    for (const char* name : {"All Connections", "Dial-Up Connections", "Intel(R) PRO/1000 MT Network Connection"}) {
      AdapterEntry row;
      row.displayName = name;
      row.kind = rows_.empty() ? kAllConnections : rows_.size() == 1 ? kDialUpConnections : kInterfaceAdapter;
      row.id = row.kind == kInterfaceAdapter ? "{NIC}" : "";
      row.todayIn = 123456789;
      rows_.push_back(row);
    }
    today_.year = 2026, today_.month = 12, today_.day = 9, today_.dayOfWeek = 3;
    log_.Add({2026, 12, 8}, 1536000, 100);
  }
  void TearDown() override {
    options_.reset();
    notification_.reset();
    reports_.reset();
    ui::PumpMessages();
  }

  HWND OpenOptions() {
    options_.reset();
    data_ = OptionsSheetData::From(Options{}, true, rows_, ServiceSettings{});
    notificationData_.rule.amount = "10";
    notification_ = std::make_unique<COptNotificationPage>(GetModuleHandleW(nullptr), notificationData_, rows_,
                                                           folder_.Files(), beeper_, network_, prompter_, nullptr);
    options_ = std::make_unique<COptionsSheet>(GetModuleHandleW(nullptr), data_, nullptr, prompter_, folder_.Files());
    options_->SetNotificationPage(*notification_);
    options_->AddPages();
    HWND sheet = options_->CreateModeless(nullptr);
    ui::PumpMessages();
    return sheet;
  }
  HWND OpenReports() {
    log_.Open();
    context_ =
        std::make_unique<ReportsContext>(ReportsContext{rows_, log_.Log(), log_.Folder().Files(), log_.Path(), 0, 1, 17,
                                                        [this] { return today_; }, [] {}, prompter_, dialogs_});
    reports_ = std::make_unique<CSummarySheet>(GetModuleHandleW(nullptr), *context_, state_);
    HWND sheet = reports_->Open(nullptr);
    ui::PumpMessages();
    return sheet;
  }
  std::unique_ptr<AlertWindow> NewAlert() {
    alertInputs_.rule.amount = "10";
    alertInputs_.rule.unit = 3;
    alertInputs_.displayName = "Intel(R) PRO/1000 MT Network Connection";
    alertInputs_.today = today_;
    alertInputs_.watched = &rows_.back();
    alertInputs_.choice = {1, 5};
    return std::make_unique<AlertWindow>(GetModuleHandleW(nullptr), alertInputs_, beeper_, prompter_);
  }
  std::unique_ptr<CStopwatchDlg> NewStopwatch() {
    return std::make_unique<CStopwatchDlg>(GetModuleHandleW(nullptr), rows_, StopwatchSwitches{}, true, nullptr,
                                           prompter_);
  }
  static HWND ShowPage(HWND sheet, int index) {
    SendMessageW(sheet, PSM_SETCURSEL, index, 0);
    ui::PumpMessages();
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  }

  testing::TestFolder folder_;
  testing::CraftedLog log_;
  AdapterList rows_;
  LocalTime today_;
  SilentSpeaker speaker_;
  Beeper beeper_{speaker_};
  WinsockNetwork network_;
  ui::ScriptedPrompter prompter_;
  NoFileDialogs dialogs_;
  OptionsSheetData data_;
  NotificationPageData notificationData_;
  std::unique_ptr<COptNotificationPage> notification_;
  std::unique_ptr<COptionsSheet> options_;
  ReportsWindowState state_;
  std::unique_ptr<ReportsContext> context_;
  std::unique_ptr<CSummarySheet> reports_;
  AlertInputs alertInputs_;
};

TEST_F(DpiDialogs, EveryOptionsPageFitsItsCaptionsInTheScreensFont) {
  HWND sheet = OpenOptions();
  ASSERT_NE(sheet, nullptr);
  const char* pages[] = {"General", "Graph & Text", "Adapters", "Notification", "Service"};
  for (int index = 0; index < 5; ++index) {
    ASSERT_NE(ShowPage(sheet, index), nullptr) << pages[index];
    ExpectReadable(sheet, std::string("options, ") + pages[index]);
  }
  ScheduledReport report;
  CReportDlg reportDialog(GetModuleHandleW(nullptr), report, rows_, folder_.Files(), prompter_);
  ExpectReadable(reportDialog.CreateModeless(nullptr), "report dialog");
}

TEST_F(DpiDialogs, EveryReportsPageFitsItsCaptionsInTheScreensFont) {
  HWND sheet = OpenReports();
  ASSERT_NE(sheet, nullptr);
  const char* pages[] = {"Summary", "Daily", "Weekly", "Monthly"};
  for (int index = 0; index < kReportsPages; ++index) {
    ASSERT_NE(ShowPage(sheet, index), nullptr) << pages[index];
    ExpectReadable(sheet, std::string("reports, ") + pages[index], {{IDC_SUM_HEADING, 16}});
  }
}

TEST_F(DpiDialogs, TheSmallerDialogsFitTheirCaptionsInTheScreensFont) {
  auto stopwatch = NewStopwatch();
  HWND window = stopwatch->CreateModeless(nullptr);
  ExpectReadable(window, "stopwatch");
  EXPECT_EQ(FontHeight(GetDlgItem(window, IDC_SW_CLOCK)), ScaleToDpi(20, ui::WindowDpi(window))) << "the clock";
  auto alert = NewAlert();
  ExpectReadable(alert->CreateModeless(nullptr), "alert window", {{IDC_ALERT_MESSAGE, 14}, {IDC_ALERT_TOTAL, 12}});
  EmailSettingsDialog email(GetModuleHandleW(nullptr), EmailSettings{}, network_, prompter_);
  ExpectReadable(email.CreateModeless(nullptr), "e-mail settings");
  RatesRecorderDialog recorder(GetModuleHandleW(nullptr), rows_, folder_.Files(), prompter_);
  ExpectReadable(recorder.CreateModeless(nullptr), "rates recorder");
}

TEST_F(DpiDialogs, AWindowMovedToAScreenOfAnotherScaleRemakesItsFontsAndTakesTheSuggestedRectangle) {
  const int dpi = ui::SystemDpi() == 144 ? 192 : 144;
  const auto at = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };

  HWND sheet = OpenOptions();
  HWND general = ShowPage(sheet, 0);
  RECT suggested = MoveToScreenOf(sheet, dpi);
  ExpectRect(sheet, suggested, "options sheet");
  // The options' font is the pages' 8 points: within a pixel of 11 pixels scaled.
  EXPECT_NEAR(FontHeight(GetDlgItem(general, IDC_GEN_ALWAYS_ON_TOP)), at(11), 1) << "a page's control";
  EXPECT_NEAR(FontHeight(GetDlgItem(sheet, IDOK)), at(11), 1) << "the sheet's own button";

  HWND reports = OpenReports();
  HWND daily = ShowPage(reports, kDailyPage);
  HWND list = GetDlgItem(daily, IDC_SUM_LIST);
  const int dateColumn = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  HWND summary = ShowPage(reports, kSummaryPage);
  suggested = MoveToScreenOf(reports, dpi);
  ExpectRect(reports, suggested, "reports window");
  EXPECT_EQ(FontHeight(GetDlgItem(summary, IDC_SUM_HEADING)), at(16)) << "the summary's heading";
  EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), MulDiv(dateColumn, dpi, ui::WindowDpi(list)))
      << "a list column of a page not in front";

  auto stopwatch = NewStopwatch();
  HWND window = stopwatch->CreateModeless(nullptr);
  suggested = MoveToScreenOf(window, dpi);
  ExpectRect(window, suggested, "stopwatch");
  EXPECT_EQ(FontHeight(GetDlgItem(window, IDC_SW_CLOCK)), at(20)) << "the clock";

  auto alert = NewAlert();
  window = alert->CreateModeless(nullptr);
  suggested = MoveToScreenOf(window, dpi);
  ExpectRect(window, suggested, "alert window");
  EXPECT_EQ(FontHeight(GetDlgItem(window, IDC_ALERT_MESSAGE)), at(14)) << "the message";
  EXPECT_EQ(FontHeight(GetDlgItem(window, IDC_ALERT_TOTAL)), at(12)) << "the running total";
}

// The options' fonts are made once per scale; the windows that make their own free them. Each
// opening of a sheet costs Wine two seconds, and a leak shows on every round: two rounds do.
TEST_F(DpiDialogs, OpeningAndClosingTheWindowsAcrossScalesLeavesNoGdiObjectsBehind) {
  const auto cycle = [this] {
    HWND sheet = OpenOptions();
    for (int index = 0; index < 5; ++index) ShowPage(sheet, index);
    MoveToScreenOf(sheet, 144);
    MoveToScreenOf(sheet, 96);
    options_.reset();
    auto alert = NewAlert();
    MoveToScreenOf(alert->CreateModeless(nullptr), 144);
    auto stopwatch = NewStopwatch();
    MoveToScreenOf(stopwatch->CreateModeless(nullptr), 144);
    HWND reports = OpenReports();
    MoveToScreenOf(reports, 144);
    reports_.reset();
    ui::PumpMessages();
  };
  cycle();
  const DWORD before = LiveGdiObjects();
  for (int round = 0; round < 2; ++round) cycle();
  const DWORD after = LiveGdiObjects();
  std::printf("GDI objects %lu -> %lu\n", static_cast<unsigned long>(before), static_cast<unsigned long>(after));
  EXPECT_LE(after, before);
}

}  // namespace
}  // namespace veltrano
