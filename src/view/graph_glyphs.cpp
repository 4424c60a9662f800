// Glyph cache and text composition: glyphs are placed at their advances, as the platform's text
// output places them without kerning, and blended one after the other.
#include "view/graph_glyphs.h"

namespace veltrano {

void GlyphCache::SetSource(GlyphSource* source) {
  source_ = source;
  Clear();
}

void GlyphCache::Clear() {
  for (auto& glyph : glyphs_) glyph.reset();
  missing_.fill(false);
}

const GlyphMask* GlyphCache::Glyph(char character) {
  const auto code = static_cast<unsigned char>(character);
  if (code < 0x20 || code >= 0x7F || !source_ || missing_[code]) return nullptr;
  if (!glyphs_[code]) {
    auto mask = std::make_unique<GlyphMask>();
    if (!source_->Render(character, *mask) ||
        mask->coverage.size() != static_cast<size_t>(mask->width) * mask->height * 3 || mask->width < 0 ||
        mask->height < 0) {
      missing_[code] = true;
      return nullptr;
    }
    glyphs_[code] = std::move(mask);
  }
  return glyphs_[code].get();
}

bool GlyphCache::Measure(const std::string& text, int& width) {
  width = 0;
  for (char character : text) {
    const GlyphMask* glyph = Glyph(character);
    if (!glyph) return false;
    width += glyph->advance;
  }
  return true;
}

bool GlyphCache::Draw(PixelCanvas& canvas, const std::string& text, int x, int y, std::uint32_t colour,
                      const PaneRect& clip) {
  for (char character : text) {
    if (!Glyph(character)) return false;
  }
  for (char character : text) {
    const GlyphMask& glyph = *Glyph(character);
    canvas.Blend(glyph.coverage.data(), x + glyph.left, y, glyph.width, glyph.height, colour, clip);
    x += glyph.advance;
  }
  return true;
}

}  // namespace veltrano
