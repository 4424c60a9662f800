// The pane's off-screen pixels as plain memory: fills, outlines and straight pen lines are
// written here directly (a GDI call per column costs more than the whole pane's copy), clipped to
// the buffer so that no size of pane writes outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/graph_layout.h"
#include "view/graph_plot.h"

namespace veltrano {

class PixelCanvas {
 public:
  // Top-down rows of 32-bit pixels 0x00RRGGBB, as a 32-bit DIB holds them.
  void Attach(std::uint32_t* pixels, int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Colours are COLORREF values (0x00BBGGRR); pen styles 0 solid, 1 dash, 2 dot, 3 dash-dot,
  // 4 dash-dot-dot, with the gaps left untouched as a pen on a transparent background does.
  void Fill(const PaneRect& rect, std::uint32_t colour);
  // A 1-pixel border just inside rect.
  void Outline(const PaneRect& rect, std::uint32_t colour);
  // From (x1, y) to (x2, y) or (x, y1) to (x, y2), the end point excluded, either direction.
  void HorizontalLine(int x1, int x2, int y, std::uint32_t colour, int style = 0);
  void VerticalLine(int x, int y1, int y2, std::uint32_t colour, int style = 0);

  // Joined 1-pixel segments through the points, each without its end point, so that every point
  // but the last is drawn, as a platform polyline does.
  void Polyline(const std::vector<PlotPoint>& points, std::uint32_t colour);

  // Shades the pixels at (x, y) towards colour by a coverage mask of 3 bytes (red, green, blue)
  // per pixel, each the shade white text on black has there, only inside clip.
  void Blend(const std::uint8_t* coverage, int x, int y, int width, int height, std::uint32_t colour,
             const PaneRect& clip);

  std::uint32_t At(int x, int y) const;  // COLORREF; 0 outside

  // The pixels of a rectangle (clipped to the canvas), to be put back later unchanged.
  struct Snapshot {
    PaneRect rect;
    std::vector<std::uint32_t> pixels;
  };
  void Save(const PaneRect& rect, Snapshot& snapshot) const;
  void Restore(const Snapshot& snapshot);

 private:
  PaneRect Clip(const PaneRect& rect) const;
  void Plot(int x, int y, std::uint32_t pixel) { pixels_[static_cast<size_t>(y) * width_ + x] = pixel; }

  std::uint32_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace veltrano
