// The portable part of a pane's second: one sample's scale upkeep, and the redraw of a 300 x 140
// pane over a full history into its pixels (text from cached glyphs of a stand-in font), against
// the reference of copying that pane's 32-bit surface.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "view/graph_canvas.h"
#include "view/graph_glyphs.h"
#include "view/graph_model.h"
#include "view/graph_plot.h"
#include "view/graph_text.h"

namespace veltrano {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 140;
constexpr size_t kHistoryCap = 2048;

RateSample RandomSample(std::mt19937& random) {
  return {static_cast<std::uint32_t>(random() % 200000), static_cast<std::uint32_t>(random() % 50000),
          static_cast<std::uint32_t>(random() % 100000), static_cast<std::uint32_t>(random() % 20000)};
}

struct BenchPane {
  RateHistory history;
  GraphModel model;
  std::mt19937 random{7};

  BenchPane() {
    for (size_t i = 0; i < kHistoryCap; ++i) history.push_back(RandomSample(random));
    model.SetHistory(&history);
    model.SetScaleWidth(63);
    model.SetScaleFontHeight(12);
    model.SetClientSize(kWidth, kHeight);
    model.Switches().showAvgDownLine = true;
    model.Switches().showAvgUpLine = true;
    model.Relayout();
  }

  void AddSample() {
    history.push_back(RandomSample(random));
    history.pop_front();
    model.AddSample(history.back());
  }
};

void BM_AddSample(benchmark::State& state) {
  BenchPane pane;
  for (auto _ : state) {
    pane.AddSample();
    benchmark::DoNotOptimize(pane.model.ScaleMax());
  }
}
BENCHMARK(BM_AddSample);

// Everything a redraw computes before it touches GDI: columns, both lines and averages, scale
// labels and grid rows, time grid, rate text.
void BM_AddSampleAndRedrawGeometry(benchmark::State& state) {
  BenchPane pane;
  std::vector<ColumnFill> fills;
  std::vector<PlotPoint> points;
  std::vector<ScaleLabel> labels;
  std::vector<int> lines;
  for (auto _ : state) {
    pane.AddSample();
    const GraphModel& model = pane.model;
    const PaneLayout& layout = model.Layout();
    const PlotGeometry geometry{layout.plotRect, layout.maxBarHeight, model.ScaleMax(), 3, 1};
    ColumnFills(pane.history, geometry, fills);
    for (LineValue value : {LineValue::kUp, LineValue::kDown, LineValue::kAvgUp, LineValue::kAvgDown}) {
      LinePoints(pane.history, geometry, value, points);
    }
    ScaleLabels(layout, 12, model.ScaleMax(), labels);
    ScaleGridRows(layout, 12, lines);
    model.Grid().Lines(layout.plotRect.left, layout.plotRect.right, 30, 3, 1, lines);
    benchmark::DoNotOptimize(PlainRateText(RateTextParts(pane.history.back(), model.VisibleMax(), {})));
    benchmark::DoNotOptimize(fills.data());
  }
}
BENCHMARK(BM_AddSampleAndRedrawGeometry);

// Every printable character a solid 6 x 13 block advancing by 7.
class BlockGlyphs : public GlyphSource {
 public:
  bool Render(char, GlyphMask& mask) override {
    mask = {7, 0, 6, 13, std::vector<std::uint8_t>(6 * 13 * 3, 0xFF)};
    return true;
  }
};

// The pixel work of a redraw as the pane does it, but for the title and scale bands, which are
// put back from a copy while unchanged.
void BM_AddSampleAndDraw(benchmark::State& state) {
  BenchPane pane;
  std::vector<std::uint32_t> pixels(kWidth * kHeight);
  PixelCanvas canvas;
  canvas.Attach(pixels.data(), kWidth, kHeight);
  BlockGlyphs source;
  GlyphCache glyphs;
  glyphs.SetSource(&source);
  std::vector<ColumnFill> fills;
  std::vector<PlotPoint> points;
  std::vector<int> lines;
  for (auto _ : state) {
    pane.AddSample();
    const GraphModel& model = pane.model;
    const PaneLayout& layout = model.Layout();
    const PaneColours& colours = model.Colours();
    canvas.Fill(layout.graphRect, colours.graphBackground);
    canvas.Outline(layout.graphRect, colours.border);
    const PlotGeometry geometry{layout.plotRect, layout.maxBarHeight, model.ScaleMax(), 3, 1};
    ColumnFills(pane.history, geometry, fills);
    for (const ColumnFill& fill : fills) canvas.Fill(fill.rect, colours.down);
    for (LineValue value : {LineValue::kAvgUp, LineValue::kAvgDown}) {
      LinePoints(pane.history, geometry, value, points);
      canvas.Polyline(points, colours.avgUp);
    }
    ScaleGridRows(layout, 12, lines);
    for (int y : lines) canvas.HorizontalLine(layout.plotRect.left, layout.plotRect.right, y, colours.scaleGrid, 2);
    model.Grid().Lines(layout.plotRect.left, layout.plotRect.right, 30, 3, 1, lines);
    for (int x : lines) {
      canvas.VerticalLine(x, layout.plotRect.top, layout.plotRect.bottom, colours.timeGrid, 2);
      glyphs.Draw(canvas, "1:05:13", x + 4, layout.plotRect.top, colours.timeText, layout.plotRect);
    }
    canvas.Fill(layout.textRect, colours.rateBackground);
    canvas.Outline(layout.textRect, colours.border);
    const RateTextPieces text = RateTextParts(pane.history.back(), model.VisibleMax(), {});
    int x = layout.textInnerRect.left;
    for (const std::string* piece : {&text.max, &text.down, &text.up}) {
      glyphs.Draw(canvas, *piece, x, layout.textInnerRect.top, colours.rateText, layout.textInnerRect);
      int width = 0;
      glyphs.Measure(*piece + "  ", width);
      x += width;
    }
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_AddSampleAndDraw);

void BM_Relayout(benchmark::State& state) {
  BenchPane pane;
  for (auto _ : state) {
    pane.model.Relayout();
    benchmark::DoNotOptimize(pane.model.ScaleMax());
  }
}
BENCHMARK(BM_Relayout);

void BM_Reference_CopySurface(benchmark::State& state) {
  std::vector<std::uint32_t> surface(kWidth * kHeight, 0xDEDBAD), screen(kWidth * kHeight);
  for (auto _ : state) {
    std::memcpy(screen.data(), surface.data(), surface.size() * sizeof surface[0]);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Reference_CopySurface);

}  // namespace
}  // namespace veltrano
