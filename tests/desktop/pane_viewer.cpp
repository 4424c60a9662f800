// Shows four rate graph panes fed with the same recorded minute of traffic, in column and line
// style, for screenshots and for looking at by hand. Runs until its window is closed.
#include <windows.h>

#include <vector>

#include "desktop/graph_pane.h"

namespace veltrano {
namespace {

// One minute of an adapter's traffic, bytes per second received and sent: a page load, a quiet
// stretch, a download with its acknowledgements, an upload, and some equal-rate chatter.
const std::uint32_t kRecordedMinute[][2] = {
    {1200, 800},      {45000, 6100},    {182000, 9800},  {96000, 7400},   {12000, 3100},   {0, 0},
    {0, 0},           {640, 640},       {3200, 3200},    {0, 0},          {52000, 2900},   {148000, 4400},
    {151000, 4600},   {149500, 4500},   {150800, 4700},  {152300, 4400},  {147900, 4300},  {150100, 4800},
    {93000, 3500},    {8800, 1900},     {300, 120},      {0, 0},          {2100, 24000},   {3400, 61000},
    {3900, 63500},    {3700, 62800},    {4100, 64900},   {2200, 31000},   {900, 900},      {15000, 15000},
    {22000, 9000},    {9000, 22000},    {0, 0},          {0, 0},          {480, 75},       {230000, 12000},
    {241000, 11800},  {12000, 245000},  {7000, 8000},    {61000, 59000},  {1024, 512},     {0, 0},
    {33000, 1300},    {81000, 2500},    {120000, 3800},  {98000, 3000},   {40000, 2000},   {7000, 700},
    {0, 0},           {0, 0},           {150, 150},      {5200, 300},     {26000, 900},    {74000, 2100},
    {110000, 3300},   {134000, 4100},   {88000, 2600},   {21000, 1700},   {4000, 4400},    {1800, 900},
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

int RunViewer(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &ViewerProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VeltranoPaneViewer";
  RegisterClassW(&windowClass);
  RECT frame{0, 0, 2 + 300 + 2 + 300 + 2, 2 + 140 + 2 + 140 + 2 + 60 + 2};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  const HWND window = CreateWindowW(L"VeltranoPaneViewer", L"Pane viewer", WS_OVERLAPPEDWINDOW, 40, 40,
                                    frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                    nullptr);
  if (!window) return 1;

  RateHistory history;
  ViewerClock clock;
  GraphPane panes[5] = {GraphPane(&clock), GraphPane(&clock), GraphPane(&clock), GraphPane(&clock),
                        GraphPane(&clock)};
  const RECT places[5] = {{2, 2, 302, 142}, {304, 2, 604, 142}, {2, 144, 302, 284}, {304, 144, 604, 284},
                          {2, 286, 604, 346}};
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
  for (const auto& second : kRecordedMinute) {
    sumDown += second[0];
    sumUp += second[1];
    ++count;
    history.push_back({second[0], second[1], static_cast<std::uint32_t>(sumDown / count),
                       static_cast<std::uint32_t>(sumUp / count)});
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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return veltrano::RunViewer(instance); }
