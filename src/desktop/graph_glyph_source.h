// Renders single characters of a GDI font in white on black into a small scratch surface, for
// the pane's glyph caches.
#pragma once

#include <windows.h>

#include <cstdint>

#include "view/graph_glyphs.h"

namespace veltrano {

class GdiGlyphSource : public GlyphSource {
 public:
  GdiGlyphSource() = default;
  ~GdiGlyphSource() override { Release(); }
  GdiGlyphSource(const GdiGlyphSource&) = delete;
  GdiGlyphSource& operator=(const GdiGlyphSource&) = delete;

  // The font is borrowed; the caller clears its glyph cache when it changes.
  void SetFont(HFONT font);
  HFONT Font() const { return font_; }
  // Height of a line of text in the font, or -1 if it cannot be measured.
  int LineHeight();
  bool Render(char character, GlyphMask& mask) override;
  // Frees the scratch surface.
  void Release();

 private:
  static constexpr int kScratch = 128;
  bool EnsureScratch();

  HFONT font_ = nullptr;
  int lineHeight_ = -1;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ initialBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace veltrano
