// Shows the traffic reports window or the stopwatch over a made-up log and adapter table whose
// counters move once a second, for screenshots and for a person to try them.
//   reports_viewer sheet <page 0-3> [adapter index]
//   reports_viewer stopwatch
//   reports_viewer time <log path> <interface id> <runs>: prints how long the sheet takes to open
//     on its summary page over that log (today 2 January 2026), in milliseconds, one line per run
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "desktop/resources/reports_ids.h"
#include "desktop/stopwatch_dlg.h"
#include "desktop/summary_sheet.h"
#include "desktop/ui/dialog.h"
#include "desktop/ui/prompter.h"
#include "engine/day_record.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"

namespace veltrano {
namespace {

AdapterList* liveRows = nullptr;

void AddRow(AdapterList& rows, std::int32_t kind, const std::string& id, const std::string& name) {
  AdapterEntry row;
  row.kind = kind;
  row.id = id;
  row.displayName = name;
  rows.push_back(row);
}

// About four months before today for "All Connections" and the network card.
std::string WriteLog(FileSystem& files, const LocalTime& today) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::string folder = Narrow(temp, wcslen(temp)) + "veltrano-viewer";
  files.MakeDirectory(folder);
  const std::string path = folder + "\\qxrsum_v2.log";
  std::string bytes(kLogHeaderSize, '\0');
  EncodeLogHeader(reinterpret_cast<std::uint8_t*>(&bytes[0]));
  const std::int64_t todayNumber = DaysFromCivil(today.year, today.month, today.day);
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (std::int64_t day = todayNumber - 120; day < todayNumber; ++day) {
    const CivilDate civil = CivilFromDays(day);
    LocalTime date;
    date.year = civil.year, date.month = civil.month, date.day = civil.day, date.dayOfWeek = DayOfWeekFromDays(day);
    const std::uint64_t down = 20000000ull + next() % 900000000u, up = 1000000ull + next() % 60000000u;
    std::uint8_t record[kDayRecordSize];
    EncodeDayRecord(record, date, kAllConnections, "", down + 123456, up + 4567);
    bytes.append(reinterpret_cast<char*>(record), kDayRecordSize);
    EncodeDayRecord(record, date, kInterfaceAdapter, "{NIC}", down, up);
    bytes.append(reinterpret_cast<char*>(record), kDayRecordSize);
  }
  auto file = files.Open(path, FileMode::kReplace);
  if (file) file->WriteAt(0, bytes.data(), bytes.size());
  return path;
}

// The sampler's part: today's totals grow and each row gets a sample.
void CALLBACK Sample(HWND, UINT, UINT_PTR, DWORD) {
  std::uint32_t second = GetTickCount() / 1000;
  for (auto& row : *liveRows) {
    if (row.kind == kDialUpConnections) continue;
    RateSample sample;
    sample.received = 150000 + (second * 7919) % 90000;
    sample.sent = 9000 + (second * 104729) % 5000;
    row.todayIn += sample.received;
    row.todayOut += sample.sent;
    row.history.push_back(sample);
    ++row.sampleCount;
  }
}

// Opening the sheet until its summary page is on the screen, over a log such as the benchmarks'.
int TimeOpening(HINSTANCE instance, const std::string& path, const std::string& id, int runs) {
  AdapterList rows;
  AddRow(rows, kAllConnections, "", "All Connections");
  AddRow(rows, kDialUpConnections, "", "Dial-Up Connections");
  AddRow(rows, kInterfaceAdapter, id, "Bench NIC");
  Win32FileSystem files;
  TrafficLog log(files);
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  if (!log.Open(path, options)) return 2;
  LocalTime today;
  today.year = 2026, today.month = 1, today.day = 2, today.dayOfWeek = 5;
  ui::MessageBoxPrompter prompter;
  CommonFileDialogs dialogs;
  ReportsContext context{rows, log, files, path, 0, 1, 17, [&today] { return today; }, [] {}, prompter, dialogs};
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  for (int run = 0; run < runs; ++run) {
    ReportsWindowState state;
    state.adapterKind = kInterfaceAdapter;
    state.adapterId = id;
    QueryPerformanceCounter(&start);
    {
      CSummarySheet sheet(instance, context, state);
      HWND window = sheet.Open(nullptr);
      ShowWindow(window, SW_SHOW);
      UpdateWindow(window);
      ui::PumpMessages();
      QueryPerformanceCounter(&end);
    }
    ui::PumpMessages();
    std::printf("%.3f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart);
    std::fflush(stdout);
  }
  return 0;
}

int Loop(const std::function<bool()>& done) {
  MSG message;
  while (!done() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (ui::IsModelessMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace
}  // namespace veltrano

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace veltrano;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const int argc = __argc;
  wchar_t** argv = __wargv;
  const std::wstring mode = argc > 1 ? argv[1] : L"sheet";

  AdapterList rows;
  AddRow(rows, kAllConnections, "", "All Connections");
  AddRow(rows, kDialUpConnections, "", "Dial-Up Connections");
  AddRow(rows, kInterfaceAdapter, "{NIC}", "Realtek PCIe GbE Family Controller");
  rows.front().todayIn = 73400320, rows.front().todayOut = 5242880;
  rows.back().todayIn = 73000000, rows.back().todayOut = 5200000;
  liveRows = &rows;
  SetTimer(nullptr, 0, 1000, &Sample);

  if (mode == L"time" && argc > 4) return TimeOpening(instance, Narrow(argv[2]), Narrow(argv[3]), _wtoi(argv[4]));

  ui::MessageBoxPrompter prompter;
  if (mode == L"stopwatch") {
    CStopwatchDlg dialog(
        instance, rows, {}, true, [](AdapterEntry&) {}, prompter);
    HWND window = dialog.CreateModeless(nullptr);
    ShowWindow(window, SW_SHOW);
    SendDlgItemMessageW(window, IDC_SW_ADAPTERS, LB_SETCURSEL, 2, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_SW_START, BN_CLICKED), 0);
    return Loop([&] { return !IsWindow(window); });
  }

  Win32FileSystem files;
  SystemClock clock;
  TrafficLog log(files);
  const std::string path = WriteLog(files, clock.Now());
  LogOpenOptions options;
  options.role = LogRole::kDesktopReader;
  log.Open(path, options);
  CommonFileDialogs dialogs;
  ReportsContext context{rows, log, files, path, 0, 1, 17, [&clock] { return clock.Now(); }, [] {}, prompter, dialogs};
  ReportsWindowState state;
  state.activePage = argc > 2 ? _wtoi(argv[2]) : 0;
  if (argc > 3 && _wtoi(argv[3]) == 2) state.adapterKind = kInterfaceAdapter, state.adapterId = "{NIC}";
  CSummarySheet sheet(instance, context, state);
  HWND window = sheet.Open(nullptr);
  ShowWindow(window, SW_SHOW);
  return Loop([&] { return sheet.Finished(); });
}
