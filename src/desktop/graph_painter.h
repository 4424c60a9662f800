// Draws a pane's state into its off-screen surface, band by band, in the order that decides what
// lies on top of what.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/local_time.h"
#include "settings/binary_records.h"
#include "view/graph_model.h"
#include "view/graph_plot.h"
#include "view/graph_text.h"

namespace veltrano {

struct PaneTools {
  HFONT titleFont = nullptr;
  HFONT rateFont = nullptr;
  HFONT scaleFont = nullptr;
  HFONT timeFont = nullptr;
  HPEN border = nullptr;
  HPEN down = nullptr;
  HPEN up = nullptr;
  HPEN avgDown = nullptr;
  HPEN avgUp = nullptr;
  HPEN scaleGrid = nullptr;
  HPEN timeGrid = nullptr;
};

// A GDI font from a LOGFONTW record.
HFONT CreatePaneFont(const LogFont& font);

class GraphPainter {
 public:
  // title is the UTF-16 title text; now is the time the newest time label belongs to.
  void Draw(HDC dc, const GraphModel& model, const PaneTools& tools, const std::wstring& title, const LocalTime& now);

 private:
  void DrawTitle(HDC dc, const std::wstring& title);
  void DrawGraphBand(HDC dc);
  void DrawScaleLabels(HDC dc);
  void DrawScaleGrid(HDC dc);
  void DrawTimeGrid(HDC dc);
  void DrawGraph(HDC dc);
  void DrawAverageLines(HDC dc);
  void DrawTimeLabels(HDC dc, const LocalTime& now);
  void DrawRateText(HDC dc);
  void DrawColouredRateText(HDC dc, const RateTextPieces& pieces);
  void DrawLine(HDC dc, HPEN pen, LineValue value);
  PlotGeometry Geometry() const;

  const GraphModel* model_ = nullptr;
  const PaneTools* tools_ = nullptr;
  // Kept between redraws so that a redraw allocates nothing once the buffers have grown.
  std::vector<ColumnFill> fills_;
  std::vector<PlotPoint> points_;
  std::vector<POINT> polyline_;
  std::vector<int> lines_;
  std::vector<ScaleLabel> labels_;
};

}  // namespace veltrano
