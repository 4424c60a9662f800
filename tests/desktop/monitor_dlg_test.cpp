// The real main window under Wine, created in the test process with scripted interfaces, a
// scripted prompter and shell, the real registry and a log in a temporary folder; driven by
// messages as the menu, the keys, the tray and the system would send them.
#include "desktop/monitor_dlg.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "desktop/resources/main_window_ids.h"
#include "desktop/ui/dpi.h"
#include "desktop/ui/modal_scope.h"
#include "desktop/ui/scripted_prompter.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_interface_source.h"
#include "fakes/registry_planting.h"
#include "fakes/test_folder.h"
#include "fakes/test_hive.h"
#include "settings/settings_store.h"
#include "view/dpi_scale.h"
#include "view/tray_tip.h"

namespace veltrano {
namespace {

const std::string kOptions = "Software\\Veltrano\\Options";

class NoServices : public ServiceManager {
 public:
  ServiceState QueryState(const std::string&) override { return ServiceState::kUnknown; }
  bool Stop(const std::string&) override { return true; }
};

class RecordingShell : public ui::Shell {
 public:
  std::vector<std::wstring> opened;
  bool Open(HWND, const std::wstring& verb, const std::wstring& target, int) override {
    opened.push_back(verb + L" " + target);
    return true;
  }
};

void Pump() {
  for (int i = 0; i < 3; ++i) {
    ui::PumpMessages();
    Sleep(5);
  }
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::uint32_t StoredDword(RegistryHive& hive, const std::string& name) {
  const RegValue value = testing::Stored(hive, kOptions, name);
  return value.data.size() == 4 ? GetU32(value.data, 0) : 0xFFFFFFFF;
}

struct MainWindow {
  testing::TestHive hives;
  testing::TestFolder folder;
  testing::FakeInterfaceSource interfaces;
  testing::FakeClock clock;
  NoServices services;
  ui::ScriptedPrompter prompter;
  RecordingShell shell;
  SettingsStore store{hives.Hive(), hives.OtherHive()};
  AdapterTable adapters{interfaces};
  std::unique_ptr<CMonitorDlg> monitor;

  explicit MainWindow(bool tray = false) {
    clock.Set(2026, 3, 14, 10, 0, 0);
    testing::FakeInterfaceSource::Interface lan;
    lan.record.name = "{LAN}";
    lan.record.index = 3;
    lan.record.firstIpAddress = "10.0.0.5";
    lan.row.type = 6;
    lan.row.description = "Test Ethernet";
    interfaces.interfaces.push_back(lan);
    testing::PlantString(hives.Hive(), kOptions, "TrafficLogFile", folder.Path("traffic.log"));
    testing::PlantDword(hives.Hive(), kOptions, "FirstRun", 0);
    testing::PlantDword(hives.Hive(), kOptions, "DispIconSystray", tray ? 1 : 0);
    testing::PlantDword(hives.Hive(), kOptions, "SemiTransparent", 0);
    monitor = std::make_unique<CMonitorDlg>(
        CMonitorDlg::Dependencies{store, adapters, folder.Files(), clock, services, prompter, shell},
        GetModuleHandleW(nullptr));
  }
  ~MainWindow() { monitor.reset(); }

  HWND Create() {
    HWND window = monitor->Create();
    Pump();
    return window;
  }
  void Command(int id) {
    SendMessageW(monitor->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
  }
  AdapterEntry& Row(int index) { return *std::next(adapters.Rows().begin(), index); }
};

TEST(MainWindowStart, StartsWithOnePaneForAllConnectionsAndStoresItsHandle) {
  MainWindow main;
  HWND window = main.Create();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  wchar_t title[32] = {};
  GetWindowTextW(window, title, 32);
  EXPECT_STREQ(title, L"Veltrano");
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no task bar button";
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(StoredDword(main.hives.Hive(), "HWND"), static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(window)));
  ASSERT_EQ(main.monitor->Stack().panes.size(), 1u);
  EXPECT_NE(main.Row(0).pane, nullptr);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(main.monitor->Stack().panes[0].rect, (StackRect{2, 2, client.right - 2, client.bottom - 2}));
  EXPECT_TRUE(main.shell.opened.empty()) << "not the first run";
  EXPECT_EQ(main.adapters.Rows().size(), 3u);
  EXPECT_EQ(main.Row(2).adaptersMenuId, 9002);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(main.monitor->PopupMenu(), 8)), 3) << "the placeholder is gone";
}

TEST(MainWindowStart, FirstRunOpensTheHelpOnceAndStartMinimizedStaysHidden) {
  MainWindow main;
  main.hives.Hive().DeleteValue(kOptions, "FirstRun");
  testing::PlantDword(main.hives.Hive(), kOptions, "StartMinimized", 1);
  HWND window = main.Create();
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(main.shell.opened.size(), 1u);
  EXPECT_NE(main.shell.opened[0].find(L"open "), std::wstring::npos);
  EXPECT_NE(main.shell.opened[0].find(L"Pellacor.chm"), std::wstring::npos);
  EXPECT_EQ(StoredDword(main.hives.Hive(), "FirstRun"), 0u);
  EXPECT_FALSE(IsWindowVisible(window));
  ShowWindow(window, SW_SHOW);  // anything but Show keeps it hidden until then
  EXPECT_FALSE(IsWindowVisible(window));
  SendMessageW(window, WM_HOTKEY, kHotkeyId, 0);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST(MainWindowShowHide, EscapeCloseButtonAndHideHideHotKeyAndTrayShow) {
  MainWindow main;
  HWND window = main.Create();
  main.Command(ID_HIDE);
  EXPECT_FALSE(IsWindowVisible(window));
  SendMessageW(window, WM_HOTKEY, kHotkeyId, 0);
  EXPECT_TRUE(IsWindowVisible(window));

  SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(IsWindow(window)) << "the close button never ends the program";
  SendMessageW(window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(window));
  SendMessageW(window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(window));
  main.Command(ID_SHOW);
  EXPECT_TRUE(main.monitor->Visible());

  MSG escape{};
  escape.hwnd = window;
  escape.message = WM_KEYDOWN;
  escape.wParam = VK_ESCAPE;
  EXPECT_TRUE(ui::IsModelessMessage(escape));
  Pump();
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST(MainWindowShowHide, ResetWindowPositionMovesToTheCornerAndShows) {
  MainWindow main;
  HWND window = main.Create();
  const RECT before = WindowRect(window);
  main.Command(ID_HIDE);
  main.Command(ID_RESET_POSITION);
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.left, 0);
  EXPECT_EQ(after.top, 0);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST(MainWindowPanes, TheOnlyPaneIsNotHiddenAndTheUserIsTold) {
  MainWindow main;
  main.Create();
  main.Command(9000);
  ASSERT_EQ(main.prompter.Prompts().size(), 1u);
  EXPECT_EQ(main.prompter.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kWarn);
  EXPECT_EQ(main.prompter.LastText(), "At least one adapter should be monitored.");
  EXPECT_NE(main.Row(0).pane, nullptr);
}

TEST(MainWindowPanes, ShowingAPaneGrowsUpwardsAndHidingItShrinksFromTheTop) {
  MainWindow main;
  HWND window = main.Create();
  SetWindowPos(window, nullptr, 600, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  const RECT before = WindowRect(window);
  const int firstHeight = main.monitor->Stack().panes[0].rect.Height();

  main.Command(9002);
  ASSERT_NE(main.Row(2).pane, nullptr);
  const int natural = main.Row(2).pane->NaturalHeight();
  const RECT grown = WindowRect(window);
  EXPECT_EQ(grown.top, before.top - natural - 3);
  EXPECT_EQ(grown.bottom, before.bottom);
  const PaneStack& stack = main.monitor->Stack();
  ASSERT_EQ(stack.panes.size(), 2u);
  EXPECT_EQ(stack.panes[0].rect.Height(), firstHeight) << "the first pane keeps its height";
  EXPECT_EQ(stack.panes[1].rect.Height(), natural + 1);
  RECT paneRect{};
  GetWindowRect(main.Row(2).pane->Window(), &paneRect);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&paneRect), 2);
  EXPECT_EQ(paneRect.top, stack.panes[1].rect.top) << "the pane window is where the stack says";

  const int hiddenHeight = stack.panes[0].rect.Height();
  main.Command(9000);
  EXPECT_EQ(main.Row(0).pane, nullptr);
  const RECT shrunk = WindowRect(window);
  EXPECT_EQ(shrunk.top, grown.top + hiddenHeight + 2);
  EXPECT_EQ(shrunk.bottom, grown.bottom);
  EXPECT_TRUE(main.prompter.Prompts().empty());
}

TEST(MainWindowPanes, ASplitterDragMovesTheBoundaryWithinItsClamp) {
  MainWindow main;
  HWND window = main.Create();
  main.Command(9001);
  const StackRect splitter = main.monitor->Stack().splitters.at(0);
  const int upperTop = main.monitor->Stack().panes[0].rect.top;
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, splitter.top));
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 0));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 0));
  EXPECT_EQ(main.monitor->Stack().splitters.at(0).top, upperTop + 1);
  EXPECT_EQ(main.monitor->Stack().panes[0].rect.Height(), 1);

  // A drag ends when another window takes the mouse, or when the button is found up.
  const int dragged = main.monitor->Stack().splitters.at(0).top;
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, dragged));
  SetCapture(other);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 60));
  EXPECT_EQ(main.monitor->Stack().splitters.at(0).top, dragged) << "capture lost";
  ReleaseCapture();
  DestroyWindow(other);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, dragged));
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 60));
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 60));
  EXPECT_EQ(main.monitor->Stack().splitters.at(0).top, dragged) << "button up unseen";
}

TEST(MainWindowView, ToggleCommandsAreStoredAtOnce) {
  MainWindow main;
  main.Create();
  RegistryHive& hive = main.hives.Hive();
  main.Command(ID_TITLE);
  EXPECT_EQ(StoredDword(hive, "DisplayTitle"), 0u);
  main.Command(ID_LINE_GRAPH);
  EXPECT_EQ(StoredDword(hive, "GraphStyle"), 0u);
  main.Command(ID_UNIT_BYTES);
  EXPECT_EQ(StoredDword(hive, "DisplayUnitByte"), 1u);
  main.Command(ID_IP_ADDRESS);
  EXPECT_EQ(StoredDword(hive, "ShowIPInTitle"), 0u);
  EXPECT_FALSE(main.monitor->Recorder().Format().showIpInTitle) << "recording files opened later";
  main.Command(ID_ALWAYS_ON_TOP);
  EXPECT_EQ(StoredDword(hive, "AlwaysOnTop"), 0u);
  EXPECT_FALSE(GetWindowLongPtrW(main.monitor->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  main.Command(ID_CAPTION);
  EXPECT_EQ(StoredDword(hive, "ShowCaption"), 0u);
  EXPECT_FALSE(GetWindowLongPtrW(main.monitor->Handle(), GWL_STYLE) & WS_CAPTION);
  main.Command(ID_SEMI_TRANSPARENT);
  EXPECT_EQ(StoredDword(hive, "SemiTransparent"), 1u);
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(main.monitor->Handle(), nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 229);
  EXPECT_TRUE(main.prompter.Prompts().empty());
}

// The stopwatch, the reports window, the alert or the options sheet is open meanwhile.
TEST(MainWindowView, AlwaysOnTopSwitchedWhileADialogIsOpenHoldsWhenItCloses) {
  MainWindow main;
  HWND window = main.Create();
  auto topmost = [&] { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(topmost());
  {
    ui::ModalScope dialog(window);
    main.Command(ID_ALWAYS_ON_TOP);
  }
  EXPECT_FALSE(topmost());
  {
    ui::ModalScope dialog(window);
    main.Command(ID_ALWAYS_ON_TOP);
    EXPECT_FALSE(topmost()) << "the dialog stays above the window while open";
  }
  EXPECT_TRUE(topmost());
  EXPECT_EQ(StoredDword(main.hives.Hive(), "AlwaysOnTop"), 1u);
}

TEST(MainWindowView, TheMenuShowsEverySettingAsItIsNow) {
  MainWindow main;
  main.Create();
  const HMENU menu = main.monitor->PopupMenu();
  auto checked = [&](int id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
  main.monitor->UpdateMenuStates();
  for (int id : {ID_TITLE, ID_IP_ADDRESS, ID_GRAPH, ID_COLUMN_GRAPH, ID_TEXT, ID_UNIT_BITS, ID_ALWAYS_ON_TOP, 9000}) {
    EXPECT_TRUE(checked(id)) << id;
  }
  for (int id : {ID_LINE_GRAPH, ID_UNIT_BYTES, ID_AVG_DOWN_LINE, ID_SEMI_TRANSPARENT, 9001, 9002}) {
    EXPECT_FALSE(checked(id)) << id;
  }
  main.Command(ID_TITLE);
  main.Command(ID_LINE_GRAPH);
  main.Command(9002);
  main.monitor->UpdateMenuStates();
  EXPECT_FALSE(checked(ID_TITLE));
  EXPECT_TRUE(checked(ID_IP_ADDRESS));
  EXPECT_TRUE(checked(ID_LINE_GRAPH));
  EXPECT_FALSE(checked(ID_COLUMN_GRAPH));
  EXPECT_TRUE(checked(9002));
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(menu, ID_LINE_GRAPH, FALSE, &info);
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK) << "a bullet for the radio pair";
}

TEST(MainWindowView, SwitchingOffTheGraphWithoutTextIsRefusedAndNothingIsStored) {
  MainWindow main;
  main.Create();
  RegistryHive& hive = main.hives.Hive();
  main.Command(ID_TEXT);
  ASSERT_EQ(StoredDword(hive, "DisplayText"), 0u);
  main.Command(ID_GRAPH);
  EXPECT_EQ(main.prompter.LastText(), "At least either graph or text should be displayed.");
  EXPECT_EQ(StoredDword(hive, "DisplayGraph"), 1u);
  EXPECT_EQ(main.monitor->CurrentSettings().options.displayGraph, 1u);
}

TEST(MainWindowConnections, AMissingViewerIsOfferedThroughTheFolder) {
  MainWindow main;
  main.Create();
  main.prompter.Answer(false);
  main.Command(ID_TCP_CONNECTIONS);
  ASSERT_EQ(main.prompter.Prompts().size(), 1u);
  EXPECT_EQ(main.prompter.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kAsk);
  EXPECT_TRUE(main.shell.opened.empty());
  main.prompter.Answer(true);
  main.Command(ID_TCP_CONNECTIONS);
  ASSERT_EQ(main.shell.opened.size(), 2u);
  EXPECT_EQ(main.shell.opened[0].rfind(L"explore ", 0), 0u);
}

TEST(MainWindowEnd, EndOfSessionWritesTheDayAndTheWindowGroup) {
  MainWindow main;
  main.interfaces.interfaces[0].row.inOctets = 1000;
  main.interfaces.interfaces[0].row.outOctets = 500;
  HWND window = main.Create();
  main.clock.Set(2026, 3, 14, 10, 0, 1);
  main.interfaces.interfaces[0].row.inOctets = 71000;
  main.interfaces.interfaces[0].row.outOctets = 3500;
  main.monitor->Sampler().Tick();
  ASSERT_EQ(main.Row(2).todayIn, 70000u);

  SendMessageW(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_FALSE(main.monitor->Log().IsOpen());
  const RegValue position = testing::Stored(main.hives.Hive(), kOptions, "WndPosition");
  EXPECT_EQ(position.data.size(), 16u);

  testing::FakeInterfaceSource sameInterfaces = main.interfaces;
  AdapterTable readBack(sameInterfaces);
  readBack.LoadAdapterSettings({}, ProgramRole::kDesktop);
  TrafficLog log(main.folder.Files());
  LogOpenOptions options;
  options.customPath = true;
  ASSERT_TRUE(log.Open(main.folder.Path("traffic.log"), options));
  log.LoadToday(readBack.Rows(), main.clock.Now());
  EXPECT_EQ(std::next(readBack.Rows().begin(), 2)->todayIn, 70000u);
  EXPECT_EQ(std::next(readBack.Rows().begin(), 2)->todayOut, 3000u);
  EXPECT_EQ(readBack.Rows().front().todayIn, 70000u);
}

TEST(MainWindowLog, ALogThatCannotBeCreatedAsksForAnotherAndRunsOnWithoutOne) {
  MainWindow main;
  testing::PlantString(main.hives.Hive(), kOptions, "TrafficLogFile", main.folder.Path("missing\\folder\\x.log"));
  main.prompter.Answer(false);
  main.Create();
  ASSERT_EQ(main.prompter.Prompts().size(), 2u);
  EXPECT_EQ(main.prompter.Prompts()[0].kind, ui::ScriptedPrompter::Kind::kAsk);
  EXPECT_EQ(main.prompter.Prompts()[0].text.rfind("Failed to create traffic log file \"", 0), 0u);
  EXPECT_NE(main.prompter.Prompts()[0].text.find("Do you want to choose a custom log file?"), std::string::npos);
  EXPECT_EQ(main.prompter.Prompts()[1].kind, ui::ScriptedPrompter::Kind::kInform);
  EXPECT_EQ(main.prompter.LastText().rfind("Dear user, you've given up", 0), 0u);
  EXPECT_FALSE(main.monitor->Log().IsOpen());
  main.monitor->Sampler().Tick();  // counting goes on in memory
  EXPECT_TRUE(IsWindow(main.monitor->Handle()));
}

TEST(MainWindowEnd, CloseMessageEndsTheWindowAndAHiddenWindowStaysUntilThen) {
  MainWindow main;
  HWND window = main.Create();
  main.Command(ID_HIDE);
  EXPECT_TRUE(IsWindow(window));
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
}

TEST(MainWindowTray, TipAndMiniatureFollowTheChosenAdapter) {
  MainWindow main(true);
  main.interfaces.interfaces[0].row.inOctets = 1000;
  main.Create();
  TrayIcon* tray = main.monitor->Tray();
  ASSERT_NE(tray, nullptr);
  EXPECT_FALSE(tray->Shown()) << "the first update adds it, with the miniature";
  main.clock.Set(2026, 3, 14, 10, 0, 1);
  main.interfaces.interfaces[0].row.inOctets = 3000;
  main.monitor->Sampler().Tick();
  EXPECT_TRUE(tray->Shown());
  EXPECT_EQ(tray->Tip(), TrayTip("All Connections", "", 2000, 0, {}));
  EXPECT_NE(tray->MiniatureBitmap(), nullptr);
  EXPECT_EQ(tray->CurrentStaticIcon(), nullptr) << "a miniature replaces the static icon";
}

// The main window at the display's scale. The driver that runs these suites in prefixes at
// 120, 144 and 192 DPI names the scale it set, so a prefix that did not take it fails here.
int ExpectedDpi() {
  const char* expected = std::getenv("VELTRANO_EXPECTED_DPI");
  return expected ? std::atoi(expected) : 0;
}

// Rows of the pane's surface inside rect that hold anything but rect's own fill and border.
int InkRows(GraphPane& pane, const PaneRect& rect) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pane.Model().ClientWidth();
  info.bmiHeader.biHeight = -pane.Model().ClientHeight();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(pane.Model().ClientWidth()) * pane.Model().ClientHeight());
  GetDIBits(pane.SurfaceDc(), pane.SurfaceBitmap(), 0, pane.Model().ClientHeight(), pixels.data(), &info,
            DIB_RGB_COLORS);
  const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * pane.Model().ClientWidth() + x]; };
  const std::uint32_t fill = at(rect.left + 1, rect.top + 1);
  const std::uint32_t border = at(rect.left, rect.top);
  int rows = 0;
  for (int y = rect.top + 1; y < rect.bottom - 1; ++y) {
    bool ink = false;
    for (int x = rect.left + 1; x < rect.right - 1 && !ink; ++x) ink = at(x, y) != fill && at(x, y) != border;
    rows += ink;
  }
  return rows;
}

void ExpectPaneAt(GraphPane& pane, int dpi) {
  SCOPED_TRACE(dpi);
  EXPECT_EQ(pane.Dpi(), dpi);
  const PaneLayout& layout = pane.Model().Layout();
  EXPECT_NEAR(layout.titleRect.Height(), 17 * dpi / 96.0, 1.0);
  EXPECT_NEAR(layout.textRect.Height(), 17 * dpi / 96.0, 1.0);
  // The text itself, in pixels: a font left at its 96-DPI size would stay 13 pixels tall.
  EXPECT_GE(InkRows(pane, layout.titleRect), ScaleToDpi(13, dpi) * 6 / 10);
  EXPECT_GE(InkRows(pane, layout.textRect), ScaleToDpi(13, dpi) * 7 / 10);
  EXPECT_LE(InkRows(pane, layout.textRect), layout.textRect.Height() - 2);
}

TEST(DpiMainWindow, PanesMarginsAndTrayAreDrawnAtTheSystemScale) {
  const int dpi = ui::SystemDpi();
  if (ExpectedDpi()) {
    ASSERT_EQ(dpi, ExpectedDpi()) << "the prefix's LogPixels did not take";
  }
  MainWindow main(true);
  main.interfaces.interfaces[0].row.inOctets = 1000;
  HWND window = main.Create();
  main.clock.Set(2026, 3, 14, 10, 0, 1);
  main.interfaces.interfaces[0].row.inOctets = 3000;
  main.monitor->Sampler().Tick();
  Pump();
  ASSERT_NE(main.Row(0).pane, nullptr);
  ExpectPaneAt(*main.Row(0).pane, dpi);
  RECT client{};
  GetClientRect(window, &client);
  const int margin = ScaleToDpi(2, dpi);
  EXPECT_EQ(main.monitor->Stack().panes[0].rect, (StackRect{margin, margin, client.right - margin, client.bottom - margin}));
  TrayIcon* tray = main.monitor->Tray();
  ASSERT_NE(tray, nullptr);
  EXPECT_EQ(tray->IconSize(), ui::SystemMetricForDpi(SM_CXSMICON, dpi));
  // The whole miniature is drawn at that size: its frame's light bottom edge is the last row.
  const int size = tray->IconSize();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(size) * size);
  const HDC screen = GetDC(nullptr);
  ASSERT_EQ(GetDIBits(screen, tray->MiniatureBitmap(), 0, size, pixels.data(), &info, DIB_RGB_COLORS), size);
  ReleaseDC(nullptr, screen);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const std::uint32_t lightPixel = (GetRValue(light) << 16) | (GetGValue(light) << 8) | GetBValue(light);
  for (int x = 1; x < size; ++x) EXPECT_EQ(pixels[static_cast<size_t>(size - 1) * size + x] & 0xFFFFFF, lightPixel) << x;
}

// A move to a monitor of another scale: new fonts and bands, the suggested rectangle, and the
// panes' shares of the height kept.
TEST(DpiMainWindow, ADpiChangeRebuildsThePanesAndTakesTheSuggestedRectangle) {
  MainWindow main;
  HWND window = main.Create();
  main.Command(9001);
  main.clock.Set(2026, 3, 14, 10, 0, 1);
  main.monitor->Sampler().Tick();
  const float topShare = main.monitor->Stack().panes[0].share;
  const int dpi = ui::WindowDpi(window);
  const int other = dpi == 144 ? 192 : 144;
  const RECT before = WindowRect(window);
  RECT suggested{40, 30, 40 + MulDiv(before.right - before.left, other, dpi),
                 30 + MulDiv(before.bottom - before.top, other, dpi)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
  Pump();
  const RECT after = WindowRect(window);
  EXPECT_EQ(after.left, suggested.left);
  EXPECT_EQ(after.top, suggested.top);
  EXPECT_EQ(after.right, suggested.right);
  EXPECT_EQ(after.bottom, suggested.bottom);
  for (int row : {0, 1}) ExpectPaneAt(*main.Row(row).pane, other);
  EXPECT_NEAR(main.monitor->Stack().panes[0].share, topShare, 0.02f);
  EXPECT_EQ(main.monitor->Stack().panes[0].rect.left, ScaleToDpi(2, other));
}

}  // namespace
}  // namespace veltrano

namespace veltrano {
namespace {

// Wine answers GetGuiResources with 0; there a GDI handle's low word names its table slot, so the
// live slots are counted instead. Windows of the thread stand for the USER objects.
DWORD LiveGdiObjects() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported) return reported;
  DWORD live = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
  return live;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, &CountWindow, count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(MainWindowSoak, FiveMinutesOfTicksWithTwoPanesAndTheMiniatureLeakNothing) {
  MainWindow main(true);
  HWND window = main.Create();
  main.Command(9002);
  ASSERT_EQ(main.monitor->Stack().panes.size(), 2u);
  auto second = [&](int s) {
    main.clock.Set(2026, 3, 14, 10, s / 60, s % 60);
    main.interfaces.interfaces[0].row.inOctets += 1000 + 997 * (s % 17);
    main.interfaces.interfaces[0].row.outOctets += 300 * (s % 5);
    main.monitor->Sampler().Tick();
    UpdateWindow(window);
    ui::PumpMessages();
  };
  for (int s = 1; s <= 20; ++s) second(s);  // surfaces and icons reach their working sizes
  const DWORD gdiBefore = LiveGdiObjects();
  const int windowsBefore = ThreadWindows();
  for (int s = 21; s <= 320; ++s) second(s);
  const DWORD gdiAfter = LiveGdiObjects();
  const int windowsAfter = ThreadWindows();
  std::printf("GDI objects %lu -> %lu, windows %d -> %d\n", static_cast<unsigned long>(gdiBefore),
              static_cast<unsigned long>(gdiAfter), windowsBefore, windowsAfter);
  EXPECT_EQ(gdiAfter, gdiBefore);
  EXPECT_EQ(windowsAfter, windowsBefore);
  EXPECT_GT(main.Row(2).todayIn, 0u);
}

}  // namespace
}  // namespace veltrano
