// Text of the pane's per-second bands (time labels, rate text) drawn from glyphs rendered once per
// font: a platform text call costs more than all the rest of a redraw.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "view/graph_canvas.h"

namespace veltrano {

// One character's coverage, 0..255 per colour channel (red, green, blue), as the platform draws
// it in white on black; left is the mask's x relative to the pen position.
struct GlyphMask {
  int advance = 0;
  int left = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // 3 bytes per pixel, row by row
};

class GlyphSource {
 public:
  virtual ~GlyphSource() = default;
  virtual bool Render(char character, GlyphMask& mask) = 0;
};

// Masks of printable ASCII characters, rendered on first use.
class GlyphCache {
 public:
  void SetSource(GlyphSource* source);
  void Clear();

  // False when some character has no glyph: the caller draws the text another way.
  bool Measure(const std::string& text, int& width);
  // Draws text with its pen starting at (x, y) (y is the top of the line), clipped to clip.
  bool Draw(PixelCanvas& canvas, const std::string& text, int x, int y, std::uint32_t colour, const PaneRect& clip);

 private:
  const GlyphMask* Glyph(char character);

  GlyphSource* source_ = nullptr;
  std::array<std::unique_ptr<GlyphMask>, 128> glyphs_;
  std::array<bool, 128> missing_{};
};

}  // namespace veltrano
