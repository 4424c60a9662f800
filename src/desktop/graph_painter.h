// Draws a pane's state into its off-screen surface, band by band, in the order that decides what
// lies on top of what. Fills and lines go to the surface's memory and only text through GDI;
// bands whose look has not changed since the last redraw are put back from a copy.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/local_time.h"
#include "desktop/graph_glyph_source.h"
#include "settings/binary_records.h"
#include "view/graph_canvas.h"
#include "view/graph_glyphs.h"
#include "view/graph_model.h"
#include "view/graph_plot.h"
#include "view/graph_text.h"

namespace veltrano {

struct PaneTools {
  HFONT titleFont = nullptr;
  HFONT rateFont = nullptr;
  HFONT scaleFont = nullptr;
  HFONT timeFont = nullptr;
};

// A GDI font from a LOGFONTW record, whose sizes are for 96 DPI, at dpi.
HFONT CreatePaneFont(const LogFont& font, int dpi);

class GraphPainter {
 public:
  // dc has the surface selected whose pixels canvas addresses. title is the UTF-16 title text;
  // now is the time the newest time label belongs to.
  void Draw(HDC dc, PixelCanvas& canvas, const GraphModel& model, const PaneTools& tools, const std::wstring& title,
            const LocalTime& now);
  // Something other than the samples changed (a setting, the size, the surface): every band is
  // drawn afresh at the next redraw.
  void Invalidate();
  // The fonts were recreated: glyphs rendered from the old ones are dropped.
  void FontsChanged();
  // Frees the glyph sources' drawing objects.
  void Release();

 private:
  // Glyphs of one font, rendered once and reused every second.
  struct FastFont {
    GdiGlyphSource source;
    GlyphCache glyphs;
    HFONT font = nullptr;
  };

  struct BandCopy {
    bool valid = false;
    std::uint32_t scaleMax = 0;
    std::wstring text;
    PixelCanvas::Snapshot pixels;
  };

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
  void DrawLine(std::uint32_t colour, LineValue value);
  void UseFont(FastFont& fast, HFONT font);
  int MeasureText(HDC dc, FastFont& fast, const std::string& text);
  // Single-line text, left-aligned or centred (DT_CENTER), at the top or bottom (DT_BOTTOM) of
  // rect and clipped to it.
  void FastText(HDC dc, FastFont& fast, const std::string& text, const PaneRect& rect, UINT format, COLORREF colour);
  PlotGeometry Geometry() const;

  const GraphModel* model_ = nullptr;
  const PaneTools* tools_ = nullptr;
  PixelCanvas* canvas_ = nullptr;
  BandCopy title_, scale_, rate_;
  FastFont timeText_, rateText_;
  // Kept between redraws so that a redraw allocates nothing once the buffers have grown.
  std::vector<ColumnFill> fills_;
  std::vector<PlotPoint> points_;
  std::vector<int> lines_;
  std::vector<ScaleLabel> labels_;
};

}  // namespace veltrano
