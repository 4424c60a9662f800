// Shows rate graph panes fed with the same recorded minute of traffic, in column and line style,
// for screenshots and for looking at by hand; runs until its window is closed. With "--bench FILE"
// it writes the cost of a pane's second against a bare block copy of its surface, and with
// "--cpu SECONDS FILE" the CPU time of four panes fed once a second for that long.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/graph_pane.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

// One minute of an adapter's traffic, bytes per second received and sent: a page load, a quiet
// stretch, a download with its acknowledgements, an upload, and some equal-rate chatter.
const std::uint32_t kRecordedMinute[][2] = {
    {1200, 800},     {45000, 6100},   {182000, 9800},  {96000, 7400},  {12000, 3100},  {0, 0},         {0, 0},
    {640, 640},      {3200, 3200},    {0, 0},          {52000, 2900},  {148000, 4400}, {151000, 4600}, {149500, 4500},
    {150800, 4700},  {152300, 4400},  {147900, 4300},  {150100, 4800}, {93000, 3500},  {8800, 1900},   {300, 120},
    {0, 0},          {2100, 24000},   {3400, 61000},   {3900, 63500},  {3700, 62800},  {4100, 64900},  {2200, 31000},
    {900, 900},      {15000, 15000},  {22000, 9000},   {9000, 22000},  {0, 0},         {0, 0},         {480, 75},
    {230000, 12000}, {241000, 11800}, {12000, 245000}, {7000, 8000},   {61000, 59000}, {1024, 512},    {0, 0},
    {33000, 1300},   {81000, 2500},   {120000, 3800},  {98000, 3000},  {40000, 2000},  {7000, 700},    {0, 0},
    {0, 0},          {150, 150},      {5200, 300},     {26000, 900},   {74000, 2100},  {110000, 3300}, {134000, 4100},
    {88000, 2600},   {21000, 1700},   {4000, 4400},    {1800, 900},
};

class ViewerClock : public Clock {
 public:
  LocalTime Now() override {
    LocalTime time;
    time.year = 2026;
    time.month = 3;
    time.day = 14;
    time.hour = 13;
    time.minute = 5;
    time.second = 42;
    return time;
  }
};

LogFont Tahoma(int height, int weight) {
  LogFont font;
  font.height = height;
  font.weight = weight;
  font.faceName = "Tahoma";
  return font;
}

// The stored defaults: Options' fonts and colours as a fresh installation reads them.
void ApplyDefaults(GraphPane& pane) {
  pane.SetTitleFont(Tahoma(13, 700), false);
  pane.SetRateFont(Tahoma(13, 0), false);
  pane.SetScaleFont(Tahoma(12, 0), false);
  pane.SetTimeFont(Tahoma(12, 700), false);
}

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterViewerClass(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &ViewerProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VeltranoPaneViewer";
  RegisterClassW(&windowClass);
}

HWND CreateViewerWindow(HINSTANCE instance, int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  return CreateWindowW(L"VeltranoPaneViewer", L"Pane viewer", WS_OVERLAPPEDWINDOW, 40, 40, frame.right - frame.left,
                       frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
}

RateSample RecordedSample(size_t second, std::uint64_t& sumDown, std::uint64_t& sumUp, std::uint64_t& count) {
  const auto& rates = kRecordedMinute[second % (sizeof kRecordedMinute / sizeof kRecordedMinute[0])];
  sumDown += rates[0];
  sumUp += rates[1];
  ++count;
  return {rates[0], rates[1], static_cast<std::uint32_t>(sumDown / count), static_cast<std::uint32_t>(sumUp / count)};
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& time) {
    return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// One sample and redraw of a 300 x 140 pane with a full history, against copying its surface.
int RunBench(HINSTANCE instance, const std::wstring& outPath) {
  const HWND window = CreateViewerWindow(instance, 304, 144);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  PumpMessages();
  ViewerClock clock;
  RateHistory history;
  std::uint64_t sumDown = 0, sumUp = 0, count = 0;
  for (size_t i = 0; i < 2048; ++i) history.push_back(RecordedSample(i, sumDown, sumUp, count));
  std::string report;
  for (int style : {1, 0}) {
    GraphPane pane(&clock);
    ApplyDefaults(pane);
    pane.SetTitle("All Connections", false);
    pane.SetGraphStyle(style, false);
    pane.SetShowAvgDownLine(true, false);
    pane.SetShowAvgUpLine(true, false);
    pane.Create(window, &history, {2, 2, 302, 142}, 100);
    PumpMessages();
    // The fastest of several blocks, for each side: other work on the machine only slows down.
    const int rounds = 300;
    double sample = 1e9, copy = 1e9;
    size_t second = 0;
    const HDC dc = GetDC(pane.Window());
    for (int block = 0; block < 8; ++block) {
      LARGE_INTEGER start, middle, end;
      QueryPerformanceCounter(&start);
      for (int i = 0; i < rounds; ++i) {
        history.pop_front();
        history.push_back(RecordedSample(second++, sumDown, sumUp, count));
        pane.AddSample(history.back());
      }
      GdiFlush();
      QueryPerformanceCounter(&middle);
      for (int i = 0; i < rounds; ++i) BitBlt(dc, 0, 0, 300, 140, pane.SurfaceDc(), 0, 0, SRCCOPY);
      GdiFlush();
      QueryPerformanceCounter(&end);
      sample = std::min(sample, Seconds(start, middle) / rounds);
      copy = std::min(copy, Seconds(middle, end) / rounds);
    }
    ReleaseDC(pane.Window(), dc);
    char line[200];
    std::snprintf(line, sizeof line, "%s graph: AddSample + redraw %.1f us, block copy %.1f us, ratio %.1fx\n",
                  style ? "column" : "line", sample * 1e6, copy * 1e6, sample / copy);
    report += line;
    PumpMessages();
  }
  DestroyWindow(window);
  FILE* out = _wfopen(outPath.c_str(), L"w");
  if (!out) return 1;
  std::fputs(report.c_str(), out);
  std::fclose(out);
  return 0;
}

// Four panes fed once a second, as the main window's timer does, for the given time.
int RunCpu(HINSTANCE instance, int seconds, const std::wstring& outPath) {
  const HWND window = CreateViewerWindow(instance, 606, 288);
  if (!window) return 1;
  RateHistory histories[4];
  GraphPane panes[4] = {GraphPane(nullptr), GraphPane(nullptr), GraphPane(nullptr), GraphPane(nullptr)};
  const RECT places[4] = {{2, 2, 302, 142}, {304, 2, 604, 142}, {2, 144, 302, 284}, {304, 144, 604, 284}};
  for (int i = 0; i < 4; ++i) {
    ApplyDefaults(panes[i]);
    panes[i].SetTitle("Adapter " + std::to_string(i + 1), false);
    panes[i].SetGraphStyle(i % 2, false);
    panes[i].Create(window, &histories[i], places[i], 100 + i);
  }
  ShowWindow(window, SW_SHOWNORMAL);
  PumpMessages();
  const double cpuStart = ProcessCpuSeconds();
  std::uint64_t sums[4][3] = {};
  SetTimer(window, 101, 1000, nullptr);
  for (int tick = 0; tick < seconds;) {
    MSG message;
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
    if (message.message == WM_TIMER && message.hwnd == window) {
      ++tick;
      for (int i = 0; i < 4; ++i) {
        histories[i].push_back(RecordedSample(static_cast<size_t>(tick * (i + 1)), sums[i][0], sums[i][1], sums[i][2]));
        if (histories[i].size() > 2048) histories[i].pop_front();
        panes[i].AddSample(histories[i].back());
      }
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  const double cpu = ProcessCpuSeconds() - cpuStart;
  DestroyWindow(window);
  FILE* out = _wfopen(outPath.c_str(), L"w");
  if (!out) return 1;
  std::fprintf(out, "4 panes, %d s: %.2f CPU seconds (%.3f%% of one core)\n", seconds, cpu, 100.0 * cpu / seconds);
  std::fclose(out);
  return 0;
}

int RunViewer(HINSTANCE instance) {
  const HWND window = CreateViewerWindow(instance, 2 + 300 + 2 + 300 + 2, 2 + 140 + 2 + 140 + 2 + 60 + 2);
  if (!window) return 1;

  RateHistory history;
  ViewerClock clock;
  GraphPane panes[5] = {GraphPane(&clock), GraphPane(&clock), GraphPane(&clock), GraphPane(&clock), GraphPane(&clock)};
  const RECT places[5] = {
      {2, 2, 302, 142}, {304, 2, 604, 142}, {2, 144, 302, 284}, {304, 144, 604, 284}, {2, 286, 604, 346}};
  const char* titles[5] = {"All Connections - column graph", "All Connections - line graph",
                           "Ethernet 192.168.1.20 - 1 Mbps, averages", "Wireless - averages in text, mm:ss",
                           "Narrow pane without title"};
  for (int i = 0; i < 5; ++i) {
    ApplyDefaults(panes[i]);
    panes[i].SetTitle(titles[i], false);
  }
  panes[1].SetGraphStyle(0, false);
  panes[2].SetScaleFromConnRate(1000000, false);
  panes[2].SetShowAvgDownLine(true, false);
  panes[2].SetShowAvgUpLine(true, false);
  panes[2].SetUnitBytes(true, false);
  panes[2].SetTextColourAsGraph(false, false);
  panes[2].SetScaleGridOnTop(true, false);
  panes[3].SetGraphStyle(0, false);
  panes[3].SetShowAvgDownLine(true, false);
  panes[3].SetAvgInText(true, false);
  panes[3].SetTimeFormat(2, false);
  panes[3].SetTimeGridInterval(15, false);
  panes[3].SetColumns(2, 2, false);
  panes[4].SetShowTitle(false, false);
  panes[4].SetColumns(1, 0, false);
  panes[4].SetTimeGridInterval(10, false);
  for (int i = 0; i < 5; ++i) panes[i].Create(window, &history, places[i], 100 + i);

  std::uint64_t sumDown = 0, sumUp = 0, count = 0;
  for (size_t second = 0; second < sizeof kRecordedMinute / sizeof kRecordedMinute[0]; ++second) {
    history.push_back(RecordedSample(second, sumDown, sumUp, count));
    for (GraphPane& pane : panes) pane.AddSample(history.back());
  }
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace
}  // namespace veltrano

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  veltrano::RegisterViewerClass(instance);
  const std::vector<std::string> arguments(__argv, __argv + __argc);
  const auto path = [](const std::string& text) { return veltrano::Widen(text); };
  if (arguments.size() == 3 && arguments[1] == "--bench") return veltrano::RunBench(instance, path(arguments[2]));
  if (arguments.size() == 4 && arguments[1] == "--cpu") {
    return veltrano::RunCpu(instance, std::atoi(arguments[2].c_str()), path(arguments[3]));
  }
  return veltrano::RunViewer(instance);
}
