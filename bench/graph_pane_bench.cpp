// The portable part of a pane's second: one sample's scale upkeep and the geometry of a 300 x 140
// pane's redraw over a full history, against the reference of copying that pane's 32-bit surface.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

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
