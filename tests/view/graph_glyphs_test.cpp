#include "view/graph_glyphs.h"

#include <gtest/gtest.h>

#include <vector>

namespace veltrano {
namespace {

// Digits are 2-pixel bars of full coverage one pixel right of the pen, advancing by 4; 'x'
// overhangs one pixel to the left; anything else has no glyph.
class BarGlyphs : public GlyphSource {
 public:
  bool Render(char character, GlyphMask& mask) override {
    ++rendered;
    if (character == 'x') {
      mask = {3, -1, 1, 2, std::vector<std::uint8_t>(6, 255)};
      return true;
    }
    if (character < '0' || character > '9') return false;
    mask = {4, 1, 2, 3, std::vector<std::uint8_t>(18, 255)};
    return true;
  }
  int rendered = 0;
};

class GlyphCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    canvas.Attach(pixels.data(), 20, 6);
    canvas.Fill({0, 0, 20, 6}, 0xFFFFFF);
    cache.SetSource(&source);
  }
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(20 * 6);
  PixelCanvas canvas;
  BarGlyphs source;
  GlyphCache cache;
};

TEST_F(GlyphCacheTest, PlacesGlyphsAtTheirAdvancesAndRendersEachOnce) {
  int width = 0;
  ASSERT_TRUE(cache.Measure("123", width));
  EXPECT_EQ(width, 12);
  ASSERT_TRUE(cache.Draw(canvas, "121", 2, 1, 0x0000FF, {0, 0, 20, 6}));
  EXPECT_EQ(source.rendered, 3);  // once each, for measuring and drawing alike
  for (int pen : {2, 6, 10}) {
    EXPECT_EQ(canvas.At(pen, 1), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(pen + 1, 1), 0x0000FFu);
    EXPECT_EQ(canvas.At(pen + 2, 3), 0x0000FFu);
    EXPECT_EQ(canvas.At(pen + 2, 4), 0xFFFFFFu);
  }
  ASSERT_TRUE(cache.Draw(canvas, "x", 1, 0, 0x00FF00, {0, 0, 20, 6}));
  EXPECT_EQ(canvas.At(0, 0), 0x00FF00u);  // the overhang lies left of the pen
}

TEST_F(GlyphCacheTest, ClipsToTheGivenRectangleAndTheCanvas) {
  ASSERT_TRUE(cache.Draw(canvas, "11111", 14, 4, 0x000000, {0, 0, 16, 5}));
  EXPECT_EQ(canvas.At(15, 4), 0x000000u);
  EXPECT_EQ(canvas.At(16, 4), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(15, 5), 0xFFFFFFu);
  ASSERT_TRUE(cache.Draw(canvas, "1", -2, -2, 0x000000, {-10, -10, 30, 30}));
  EXPECT_EQ(canvas.At(0, 0), 0x000000u);
}

TEST_F(GlyphCacheTest, RefusesTextWithACharacterItCannotRenderAndDrawsNothingOfIt) {
  int width = 0;
  EXPECT_FALSE(cache.Measure("1a", width));
  EXPECT_FALSE(cache.Draw(canvas, "1a", 0, 0, 0x000000, {0, 0, 20, 6}));
  EXPECT_EQ(canvas.At(1, 0), 0xFFFFFFu);
  EXPECT_FALSE(cache.Draw(canvas, "\xC3\xA9", 0, 0, 0x000000, {0, 0, 20, 6}));
  GlyphCache empty;
  EXPECT_FALSE(empty.Measure("1", width));
}

TEST(PixelCanvasBlend, ShadesEachChannelByTheLevelOfItsCoverage) {
  std::vector<std::uint32_t> pixels(3);
  PixelCanvas canvas;
  canvas.Attach(pixels.data(), 3, 1);
  // White on black gives back the shades of the mask itself: full, a level-3 edge (0x7c), none.
  canvas.Fill({0, 0, 3, 1}, 0x000000);
  const std::uint8_t coverage[] = {255, 0x7c, 0, 0x7c, 0x7c, 0x7c, 0, 0, 0};
  canvas.Blend(coverage, 0, 0, 3, 1, 0xFFFFFF, {0, 0, 3, 1});
  EXPECT_EQ(canvas.At(0, 0), 0x007CFFu);
  EXPECT_EQ(canvas.At(1, 0), 0x7C7C7Cu);
  EXPECT_EQ(canvas.At(2, 0), 0x000000u);
  // Dark text on a light background keeps more of the background at the same level.
  canvas.Fill({0, 0, 3, 1}, 0xFFFFFF);
  canvas.Blend(coverage, 0, 0, 3, 1, 0x000000, {0, 0, 3, 1});
  EXPECT_EQ(canvas.At(1, 0), 0xE9E9E9u);
  EXPECT_EQ(canvas.At(2, 0), 0xFFFFFFu);
}

}  // namespace
}  // namespace veltrano
