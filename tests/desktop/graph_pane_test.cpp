// Real panes in the test process: samples go in, pixels of the off-screen surface and of the
// window come out.
#include "desktop/graph_pane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fakes/fake_clock.h"
#include "view/graph_plot.h"

namespace veltrano {
namespace {

constexpr COLORREF kBackground = 0xDEDBAD;
constexpr COLORREF kDown = 0x0000FF;
constexpr COLORREF kUp = 0x00CC00;
constexpr COLORREF kBoth = 0x00FFFF;
constexpr COLORREF kBorder = 0x333333;
constexpr COLORREF kTitleBackground = 0x9E9E9E;
constexpr COLORREF kRateBackground = 0xFFFFFF;
constexpr COLORREF kScaleGrid = 0x9E9E9E;
constexpr COLORREF kTimeGrid = 0x6E6E6E;

LogFont Tahoma(int height, int weight) {
  LogFont font;
  font.height = height;
  font.weight = weight;
  font.faceName = "Tahoma";
  return font;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A copy of a device context's pixels in a 32-bit top-down DIB.
class Pixels {
 public:
  Pixels(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~Pixels() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;

  HDC Dc() const { return dc_; }
  void CopyFrom(HDC source) {
    BitBlt(dc_, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    GdiFlush();
  }
  COLORREF At(int x, int y) const {
    const std::uint32_t pixel = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  int CountInRect(const PaneRect& rect, COLORREF colour) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x) count += At(x, y) == colour;
    return count;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// What the owner last received as a press on its caption. It is not passed on: the move loop
// it would start waits for the real mouse.
struct CaptionPress {
  int count = 0;
  WPARAM hit = 0;
  POINT point{};
} captionPress;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCLBUTTONDOWN) {
    ++captionPress.count;
    captionPress.hit = wParam;
    captionPress.point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateOwner() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &OwnerProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"GraphPaneTestOwner";
  RegisterClassW(&windowClass);
  const HWND owner = CreateWindowExW(0, L"GraphPaneTestOwner", L"pane test", WS_POPUP | WS_VISIBLE, 20, 20, 420, 220,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  PumpMessages();
  return owner;
}

class GraphPaneTest : public ::testing::Test {
 protected:
  // One owner for the whole suite: under Wine each new top-level window costs seconds.
  static void SetUpTestSuite() { owner_ = CreateOwner(); }
  static void TearDownTestSuite() {
    DestroyWindow(owner_);
    PumpMessages();
  }

  void SetUp() override {
    ASSERT_TRUE(owner_);
    clock_.now.year = 2026;
    clock_.now.month = 3;
    clock_.now.day = 14;
    clock_.now.hour = 13;
    clock_.now.minute = 5;
    pane_ = std::make_unique<GraphPane>(&clock_);
    pane_->SetTitleFont(Tahoma(13, 700), false);
    pane_->SetRateFont(Tahoma(13, 0), false);
    pane_->SetScaleFont(Tahoma(12, 0), false);
    pane_->SetTimeFont(Tahoma(12, 700), false);
    pane_->SetTitle("Test adapter", false);
    ASSERT_TRUE(pane_->Create(owner_, &history_, {0, 0, 300, 140}, 1000));
    pane_->RelayoutAndRedraw();
    PumpMessages();
  }
  void TearDown() override {
    pane_.reset();
    PumpMessages();
  }

  // Only the columns or lines: no grids, no time labels.
  void PlainPlot() {
    pane_->SetShowScaleGrid(false, false);
    pane_->SetShowTimeGrid(false, false);
    pane_->SetShowTimeText(false, false);
    pane_->RelayoutAndRedraw();
  }

  void Add(std::uint32_t down, std::uint32_t up, std::uint32_t avgDown = 0, std::uint32_t avgUp = 0) {
    history_.push_back({down, up, avgDown, avgUp});
    pane_->AddSample(history_.back());
  }

  std::unique_ptr<Pixels> Surface() {
    auto pixels = std::make_unique<Pixels>(pane_->Model().ClientWidth(), pane_->Model().ClientHeight());
    pixels->CopyFrom(pane_->SurfaceDc());
    return pixels;
  }

  const PaneLayout& Layout() const { return pane_->Model().Layout(); }

  static HWND owner_;
  veltrano::testing::FakeClock clock_;
  RateHistory history_;
  std::unique_ptr<GraphPane> pane_;
};

HWND GraphPaneTest::owner_ = nullptr;

TEST_F(GraphPaneTest, BandsLieWhereTheLayoutPutsThem) {
  const PaneLayout& layout = Layout();
  EXPECT_EQ(layout.titleRect, (PaneRect{0, 0, 300, 17}));
  EXPECT_EQ(layout.textRect, (PaneRect{0, 123, 300, 140}));
  EXPECT_EQ(layout.graphRect, (PaneRect{0, 16, 300, 124}));
  EXPECT_GT(layout.scaleRect.right, 30);
  Add(0, 0);
  const auto pixels = Surface();
  EXPECT_EQ(pixels->At(0, 0), kBorder);
  EXPECT_EQ(pixels->At(295, 5), kTitleBackground);  // right of the short title
  EXPECT_EQ(pixels->At(150, 16), kBorder);          // shared line of title and graph
  EXPECT_EQ(pixels->At(1, 130), kRateBackground);   // left of the centred rate text
  EXPECT_EQ(pixels->At(150, 123), kBorder);         // shared line of graph and text
  EXPECT_EQ(pixels->At(299, 70), kBorder);
  EXPECT_EQ(pixels->At(layout.scaleRect.right, 60), kBorder);
  EXPECT_EQ(pixels->At(layout.scaleRect.right - 20, 120), kBackground);  // below the lowest label
}

TEST_F(GraphPaneTest, ColumnsShowTheOverlapInTheBothColourAndTheExcessInItsOwn) {
  PlainPlot();
  pane_->SetScale(true, 1000, false);
  Add(500, 200);  // oldest: download exceeds
  Add(200, 500);  // upload exceeds
  Add(300, 300);  // equal
  Add(0, 0);      // newest: nothing
  const PaneRect plot = Layout().plotRect;
  const int bar = Layout().maxBarHeight;
  const int b = plot.bottom;
  const auto pixels = Surface();
  const auto column = [&](int age) { return PaneRect{plot.right - 4 * age - 3, 0, plot.right - 4 * age, 0}; };
  const auto h = [&](std::uint32_t rate) { return BarHeight(rate, 1000, bar); };

  EXPECT_EQ(pixels->CountInRect({column(0).left, plot.top, column(0).right, b}, kBackground), 3 * plot.Height());
  const PaneRect equal = column(1);
  EXPECT_EQ(pixels->CountInRect({equal.left, b - h(300), equal.right, b}, kBoth), 3 * h(300));
  EXPECT_EQ(pixels->At(equal.left, b - h(300) - 1), kBackground);
  EXPECT_EQ(pixels->At(equal.right, b - 1), kBackground);  // the space between columns

  const PaneRect upper = column(2);
  EXPECT_EQ(pixels->CountInRect({upper.left, b - h(200), upper.right, b}, kBoth), 3 * h(200));
  EXPECT_EQ(pixels->CountInRect({upper.left, b - h(500), upper.right, b - h(200)}, kUp), 3 * (h(500) - h(200)));
  EXPECT_EQ(pixels->At(upper.left, b - h(500) - 1), kBackground);

  const PaneRect lower = column(3);
  EXPECT_EQ(pixels->CountInRect({lower.left, b - h(200), lower.right, b}, kBoth), 3 * h(200));
  EXPECT_EQ(pixels->CountInRect({lower.left, b - h(500), lower.right, b - h(200)}, kDown), 3 * (h(500) - h(200)));
  EXPECT_EQ(pixels->CountInRect({plot.left, plot.top, lower.left - 1, b}, kBackground),
            (lower.left - 1 - plot.left) * plot.Height());
}

TEST_F(GraphPaneTest, ACappedSampleFillsTheBarHeightAndNoMore) {
  PlainPlot();
  pane_->SetScaleFromConnRate(1000000);
  EXPECT_EQ(pane_->ScaleMax(), 125000u);
  Add(250000, 0);
  const PaneRect plot = Layout().plotRect;
  const int bar = Layout().maxBarHeight;
  const auto pixels = Surface();
  EXPECT_EQ(pixels->CountInRect({plot.right - 3, plot.top, plot.right, plot.bottom}, kDown), 3 * bar);
  EXPECT_EQ(pixels->At(plot.right - 1, plot.bottom - bar - 1), kBackground);
}

TEST_F(GraphPaneTest, WithoutTrafficTheAutomaticScaleDrawsNothing) {
  PlainPlot();
  for (int i = 0; i < 80; ++i) Add(0, 0, 0, 0);
  pane_->SetShowAvgDownLine(true);
  pane_->SetShowAvgUpLine(true);
  for (int style : {0, 1}) {
    pane_->SetGraphStyle(style);
    const PaneRect plot = Layout().plotRect;
    EXPECT_EQ(pane_->ScaleMax(), 0u);
    EXPECT_EQ(Surface()->CountInRect(plot, kBackground), plot.Width() * plot.Height()) << "style " << style;
  }
}

TEST_F(GraphPaneTest, LineGraphPassesThroughEverySamplesPoint) {
  PlainPlot();
  pane_->SetGraphStyle(0);
  pane_->SetScale(true, 1000);
  const std::uint32_t downs[] = {100, 900, 400, 400, 0, 1000};
  for (std::uint32_t down : downs) Add(down, 50);
  std::vector<PlotPoint> points;
  PlotGeometry geometry{Layout().plotRect, Layout().maxBarHeight, 1000, 3, 1};
  LinePoints(history_, geometry, LineValue::kDown, points);
  ASSERT_EQ(points.size(), 6u);
  const auto pixels = Surface();
  // The download line is drawn last, so every joint of it shows its colour; the last point of a
  // polyline is left out by GDI.
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    EXPECT_EQ(pixels->At(points[i].x, points[i].y), kDown) << "point " << i;
  }
  EXPECT_EQ(points[0].x, Layout().plotRect.right - 1);
  EXPECT_EQ(pixels->At(points[0].x - 2, Layout().plotRect.bottom - 1 - BarHeight(50, 1000, geometry.maxBarHeight - 1)),
            kUp);
}

TEST_F(GraphPaneTest, ScaleTicksAndGridRowsLineUp) {
  pane_->SetShowTimeGrid(false, false);
  pane_->SetShowTimeText(false, false);
  pane_->SetScaleGrid(kScaleGrid, 0, false);  // solid, so that every pixel of a row shows
  pane_->RelayoutAndRedraw();
  const PaneLayout& layout = Layout();
  std::vector<int> rows;
  ScaleGridRows(layout, 12, rows);
  ASSERT_GE(rows.size(), 3u);
  const auto pixels = Surface();
  for (int y : rows) {
    EXPECT_EQ(pixels->At(layout.scaleRect.right - 3, y), kBorder) << "tick " << y;
    EXPECT_EQ(pixels->At(layout.scaleRect.right - 1, y), kBorder) << "tick " << y;
    EXPECT_EQ(pixels->At(layout.scaleRect.right - 4, y), kBackground) << "tick " << y;
    EXPECT_EQ(pixels->CountInRect({layout.plotRect.left, y, layout.plotRect.right, y + 1}, kScaleGrid),
              layout.plotRect.Width())
        << "row " << y;
    EXPECT_EQ(pixels->At(layout.plotRect.left + 5, y + 1), kBackground);
  }
}

TEST_F(GraphPaneTest, TimeGridLinesScrollOneColumnPerSample) {
  pane_->SetShowScaleGrid(false, false);
  pane_->SetShowTimeText(false, false);
  pane_->SetTimeGrid(kTimeGrid, 0, false);
  pane_->SetTimeGridInterval(10, false);
  pane_->RelayoutAndRedraw();
  const PaneRect plot = Layout().plotRect;
  const int y = plot.top + 30;
  const auto lineColumns = [&] {
    std::vector<int> xs;
    const auto pixels = Surface();
    for (int x = plot.left; x < plot.right; ++x)
      if (pixels->At(x, y) == kTimeGrid) xs.push_back(x);
    return xs;
  };
  Add(0, 0);
  std::vector<int> before = lineColumns();
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(before.back(), plot.right - 3);  // on the left edge of the newest column
  for (int sample = 0; sample < 25; ++sample) {
    Add(0, 0);
    const std::vector<int> after = lineColumns();
    ASSERT_FALSE(after.empty());
    // Every line moved one column to the left; a new line enters at the right every 10 samples.
    EXPECT_EQ(after.front(), before.front() - 4 < plot.left + 1 ? before[1] - 4 : before.front() - 4);
    for (size_t k = 1; k < after.size(); ++k) EXPECT_EQ(after[k] - after[k - 1], 40);
    before = after;
  }
}

TEST_F(GraphPaneTest, TimeLabelsNameTheTimeOfTheirLine) {
  pane_->SetShowScaleGrid(false, false);
  pane_->SetTimeFormat(1, false);
  pane_->RelayoutAndRedraw();
  for (int i = 0; i < 40; ++i) Add(0, 0);
  const PaneRect plot = Layout().plotRect;
  const auto pixels = Surface();
  std::vector<int> lines;
  pane_->Model().Grid().Lines(plot.left, plot.right, 30, 3, 1, lines);
  ASSERT_FALSE(lines.empty());
  // Some text pixel lies right of the line at the top; nothing at the plot's bottom row.
  int text = 0;
  for (int y = plot.top; y < plot.top + 14; ++y)
    for (int x = lines[0] + 4; x < std::min(lines[0] + 40, plot.right); ++x) text += pixels->At(x, y) == 0x3C3C3C;
  EXPECT_GT(text, 10);
}

// The rate text and time labels are composed from cached glyphs; they must look exactly as the
// platform's own text output of the same string.
TEST_F(GraphPaneTest, CachedGlyphTextMatchesThePlatformsTextOutput) {
  PlainPlot();
  pane_->SetTextColourAsGraph(false);
  pane_->SetRateColours(kRateBackground, 0x000000);
  Add(123456, 7890);
  const PaneLayout layout = Layout();
  const auto surface = Surface();

  Pixels expected(300, 140);
  const HFONT font = CreatePaneFont(Tahoma(13, 0), pane_->Dpi());
  SelectObject(expected.Dc(), font);
  SetBkMode(expected.Dc(), TRANSPARENT);
  const RECT band{layout.textRect.left, layout.textRect.top, layout.textRect.right, layout.textRect.bottom};
  SetDCBrushColor(expected.Dc(), kRateBackground);
  FillRect(expected.Dc(), &band, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const std::wstring text = L"(Max: 987.6 kbps)  Down: 987.6 kbps  Up: 63.1 kbps";
  RECT inner{layout.textInnerRect.left, layout.textInnerRect.top, layout.textInnerRect.right,
             layout.textInnerRect.bottom};
  DrawTextW(expected.Dc(), text.c_str(), static_cast<int>(text.size()), &inner,
            DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();
  SelectObject(expected.Dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(font);

  // The same pixels, in the same shades (a little leeway for a platform whose edge shades follow
  // another ramp).
  int textPixels = 0, misplaced = 0, largestShadeDifference = 0;
  for (int y = layout.textInnerRect.top; y < layout.textInnerRect.bottom; ++y) {
    for (int x = layout.textInnerRect.left; x < layout.textInnerRect.right; ++x) {
      const COLORREF want = expected.At(x, y), got = surface->At(x, y);
      textPixels += want != kRateBackground;
      misplaced += (want == kRateBackground) != (got == kRateBackground);
      for (int shift : {0, 8, 16}) {
        largestShadeDifference = std::max(largestShadeDifference, std::abs(static_cast<int>((want >> shift) & 0xFF) -
                                                                           static_cast<int>((got >> shift) & 0xFF)));
      }
    }
  }
  EXPECT_GT(textPixels, 100);
  EXPECT_EQ(misplaced, 0);
  EXPECT_LE(largestShadeDifference, 8);
  RecordProperty("largest_shade_difference", largestShadeDifference);
}

TEST_F(GraphPaneTest, NothingIsDrawnWhileTheMainWindowIsHiddenAndAllAtTheNextPaint) {
  PlainPlot();
  pane_->SetScale(true, 1000);
  pane_->SetOwnerShown(false);
  Add(1000, 1000);
  const PaneRect plot = Layout().plotRect;
  EXPECT_EQ(Surface()->At(plot.right - 1, plot.bottom - 1), kBackground);
  pane_->SetOwnerShown(true);
  UpdateWindow(pane_->Window());
  EXPECT_EQ(Surface()->At(plot.right - 1, plot.bottom - 1), kBoth);
}

TEST_F(GraphPaneTest, PrintClientCopiesTheWholeSurface) {
  PlainPlot();
  pane_->SetScale(true, 1000);
  Add(1000, 0);
  Pixels printed(300, 140);
  SendMessageW(pane_->Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_CLIENT);
  GdiFlush();
  const PaneRect plot = Layout().plotRect;
  EXPECT_EQ(printed.At(plot.right - 1, plot.bottom - 1), kDown);
  EXPECT_EQ(printed.At(0, 0), kBorder);
  EXPECT_EQ(SendMessageW(pane_->Window(), WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(GraphPaneTest, DraggingThePaneDragsTheMainWindowByItsCaption) {
  captionPress = {};
  SendMessageW(pane_->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 20));
  EXPECT_EQ(captionPress.count, 0);
  SendMessageW(pane_->Window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20));
  ASSERT_EQ(captionPress.count, 1);
  EXPECT_EQ(captionPress.hit, static_cast<WPARAM>(HTCAPTION));
  POINT expected{10, 20};
  ClientToScreen(pane_->Window(), &expected);
  EXPECT_EQ(captionPress.point.x, expected.x);
  EXPECT_EQ(captionPress.point.y, expected.y);
}

TEST_F(GraphPaneTest, StoredValuesThatWouldHangTheGridAreReplaced) {
  pane_->SetColumns(0, -1, false);
  pane_->SetTimeGridInterval(0, false);
  pane_->SetScaleGrid(kScaleGrid, 9, false);
  pane_->RelayoutAndRedraw();
  EXPECT_EQ(pane_->Model().ColumnWidth(), 3);
  EXPECT_EQ(pane_->Model().ColumnSpace(), 0);
  EXPECT_EQ(pane_->Model().TimeGridInterval(), 30);
  EXPECT_EQ(pane_->Model().Colours().scaleGridStyle, 2);
  EXPECT_FALSE(pane_->SetHeightPercent(49));
  EXPECT_FALSE(pane_->SetHeightPercent(101));
  for (int i = 0; i < 5; ++i) Add(100, 100);
}

TEST_F(GraphPaneTest, DegenerateSizesDrawWithoutHarm) {
  pane_->SetScale(true, 10);
  for (const auto& size : std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {5000, 3}, {3, 5000}, {2, 2}, {300, 140}}) {
    MoveWindow(pane_->Window(), 0, 0, size.first, size.second, TRUE);
    for (int i = 0; i < 3; ++i) Add(1000, 5);
    PumpMessages();
    EXPECT_EQ(pane_->Model().ClientWidth(), size.first);
  }
  pane_->SetTitleFont(Bytes(91, 0));
  EXPECT_EQ(pane_->Model().TitleFontHeight(), 13);
  LogFont zero = Tahoma(0, 0);
  pane_->SetScaleFont(zero);
  Add(1, 1);
}

// The process's GDI objects. Wine answers GetGuiResources with 0; there a handle's low word
// alone names its table slot, so the live slots are counted instead.
DWORD LiveGdiObjects() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported) return reported;
  DWORD live = 0;
  for (ULONG_PTR slot = 1; slot < 0x10000; ++slot) live += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
  return live;
}

TEST_F(GraphPaneTest, ThousandsOfRelayoutsLeakNoDrawingObjects) {
  const auto gdiObjects = &LiveGdiObjects;
  {
    // The count must see one more pen, or this test would prove nothing.
    const DWORD base = gdiObjects();
    const HPEN pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_EQ(gdiObjects(), base + 1);
    DeleteObject(pen);
    EXPECT_EQ(gdiObjects(), base);
  }
  for (int i = 0; i < 20; ++i) Add(i * 10, i * 5);
  const DWORD before = gdiObjects();
  for (int i = 0; i < 1000; ++i) {
    MoveWindow(pane_->Window(), 0, 0, 200 + i % 7, 100 + i % 5, TRUE);
    pane_->SetScaleFont(Tahoma(12 + i % 2, 0), false);
    pane_->SetGraphColours(kUp, kDown, kBoth, false);
    pane_->SetUnitBytes(i % 2, false);
    pane_->RelayoutAndRedraw();
    Add(i, i);
  }
  for (int i = 0; i < 50; ++i) {
    GraphPane extra(&clock_);
    ASSERT_TRUE(extra.Create(owner_, &history_, {0, 0, 100, 60}, 2000 + i));
    extra.RelayoutAndRedraw();
  }
  PumpMessages();
  const DWORD after = gdiObjects();
  RecordProperty("gdi_objects_before", static_cast<int>(before));
  RecordProperty("gdi_objects_after", static_cast<int>(after));
  EXPECT_LE(after, before + 2) << before << " -> " << after;
}

}  // namespace
}  // namespace veltrano
