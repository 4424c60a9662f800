#include "view/graph_layout.h"

#include "view/dpi_scale.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

// The registry's default switches and fonts, and a scale column 60 pixels wide.
LayoutInput Pane(int width, int height) {
  LayoutInput input;
  input.width = width;
  input.height = height;
  input.titleFontHeight = 13;
  input.rateFontHeight = 13;
  input.scaleFontHeight = 12;
  input.scaleWidth = 60;
  return input;
}

void ExpectInside(const PaneRect& rect, int width, int height) {
  if (rect.Empty()) return;
  EXPECT_GE(rect.left, 0);
  EXPECT_GE(rect.top, 0);
  EXPECT_LE(rect.right, width);
  EXPECT_LE(rect.bottom, height);
}

TEST(PaneLayout, StacksTitleGraphAndTextWithSharedBorderLines) {
  const PaneLayout layout = Relayout(Pane(300, 140));
  EXPECT_EQ(layout.titleRect, (PaneRect{0, 0, 300, 17}));
  EXPECT_EQ(layout.titleTextRect, (PaneRect{3, 2, 297, 15}));
  EXPECT_EQ(layout.textRect, (PaneRect{0, 123, 300, 140}));
  EXPECT_EQ(layout.textInnerRect, (PaneRect{3, 125, 297, 138}));
  EXPECT_EQ(layout.graphRect, (PaneRect{0, 16, 300, 124}));
  EXPECT_EQ(layout.scaleRect, (PaneRect{1, 17, 61, 123}));
  EXPECT_EQ(layout.plotRect, (PaneRect{62, 17, 299, 123}));
  // 106 / 12 = 8 lines, thinned above six to (8 - 6) / 3 + 6.
  EXPECT_EQ(layout.scaleLineCount, 6);
  EXPECT_EQ(layout.scaleLineSpacing, (106 - 6) / 6);
  EXPECT_EQ(layout.maxBarHeight, 106 * 95 / 100);
  EXPECT_EQ(layout.columnCount, 60);  // 237 pixels: 59 whole columns and a partial one
}

TEST(PaneLayout, CountsColumnsOfThePlotIncludingAPartialOne) {
  LayoutInput input = Pane(202, 100);
  input.showScale = false;  // plot = W - 2 = 200 pixels
  EXPECT_EQ(ColumnCountFor(input), 50);
  input.width = 203;
  EXPECT_EQ(ColumnCountFor(input), 51);
  input.columnWidth = 1;
  input.columnSpace = 0;
  EXPECT_EQ(ColumnCountFor(input), 201);
  input.width = 2;
  EXPECT_EQ(ColumnCountFor(input), 0);
}

TEST(PaneLayout, CentresTheRateTextInATallBand) {
  LayoutInput input = Pane(300, 140);
  input.showGraph = false;
  input.showTitle = false;
  const PaneLayout layout = Relayout(input);
  EXPECT_EQ(layout.textRect, (PaneRect{0, 0, 300, 140}));
  // 136 inner pixels shrunk by (136 - 13) / 2 = 61 on each side.
  EXPECT_EQ(layout.textInnerRect, (PaneRect{3, 63, 297, 77}));
  EXPECT_TRUE(layout.graphRect.Empty());
  EXPECT_EQ(layout.maxBarHeight, 0);
}

TEST(PaneLayout, WithoutTitleAndTextTheGraphStartsAtTheTop) {
  LayoutInput input = Pane(300, 140);
  input.showTitle = false;
  input.showText = false;
  const PaneLayout layout = Relayout(input);
  EXPECT_TRUE(layout.titleRect.Empty());
  EXPECT_TRUE(layout.textRect.Empty());
  EXPECT_EQ(layout.graphRect, (PaneRect{0, 0, 300, 140}));
  EXPECT_EQ(layout.plotRect, (PaneRect{62, 1, 299, 139}));
}

TEST(PaneLayout, WithoutScaleThePlotIsTheGraphBandLessItsBorder) {
  LayoutInput input = Pane(300, 140);
  input.showScale = false;
  const PaneLayout layout = Relayout(input);
  EXPECT_TRUE(layout.scaleRect.Empty());
  EXPECT_EQ(layout.plotRect, (PaneRect{1, 17, 299, 123}));
  EXPECT_EQ(layout.columnCount, 75);
}

TEST(PaneLayout, ANarrowPaneDropsTheScaleButKeepsThePlot) {
  const PaneLayout layout = Relayout(Pane(63, 140));  // scaleWidth + 3 == W
  EXPECT_TRUE(layout.scaleRect.Empty());
  EXPECT_EQ(layout.plotRect, (PaneRect{1, 17, 62, 123}));
  EXPECT_EQ(layout.columnCount, 16);  // 61 pixels
}

TEST(PaneLayout, HalfHeightBarsReachHalfThePlot) {
  LayoutInput input = Pane(300, 140);
  input.heightPercent = 50;
  EXPECT_EQ(Relayout(input).maxBarHeight, 53);
}

TEST(PaneLayout, AFourPixelPaneShowsNoScaleAndNoPlot) {
  const PaneLayout layout = Relayout(Pane(300, 4));
  EXPECT_EQ(layout.titleRect, (PaneRect{0, 0, 300, 4}));
  EXPECT_TRUE(layout.titleTextRect.Empty());  // under 5 pixels high
  EXPECT_TRUE(layout.scaleRect.Empty());
  EXPECT_TRUE(layout.plotRect.Empty());
  EXPECT_TRUE(layout.textRect.Empty());
  EXPECT_EQ(layout.maxBarHeight, 0);

  LayoutInput noTitle = Pane(300, 4);
  noTitle.showTitle = false;
  const PaneLayout textOnly = Relayout(noTitle);
  EXPECT_EQ(textOnly.textRect, (PaneRect{0, 0, 300, 4}));
  EXPECT_TRUE(textOnly.textInnerRect.Empty());
  EXPECT_TRUE(textOnly.plotRect.Empty());
}

TEST(PaneLayout, ATitleFontTooSmallLeavesTheTitleBandWithoutText) {
  LayoutInput input = Pane(300, 140);
  input.titleFontHeight = 0;
  const PaneLayout layout = Relayout(input);
  EXPECT_EQ(layout.titleRect, (PaneRect{0, 0, 300, 4}));
  EXPECT_TRUE(layout.titleTextRect.Empty());
  EXPECT_EQ(layout.graphRect.top, 3);
}

TEST(PaneLayout, DegenerateSizesAndFontsStayInsideThePane) {
  const int sizes[][2] = {{0, 0}, {1, 1}, {5000, 3}, {3, 5000}, {2, 200}, {-5, 40}, {70, 20}};
  for (const auto& size : sizes) {
    for (int fontHeight : {0, 1, 13, 400}) {
      LayoutInput input = Pane(size[0], size[1]);
      input.scaleFontHeight = fontHeight;
      input.rateFontHeight = fontHeight;
      input.titleFontHeight = fontHeight;
      const PaneLayout layout = Relayout(input);
      SCOPED_TRACE(testing::Message() << size[0] << "x" << size[1] << " font " << fontHeight);
      for (const PaneRect* rect : {&layout.titleRect, &layout.titleTextRect, &layout.graphRect, &layout.scaleRect,
                                   &layout.plotRect, &layout.textRect, &layout.textInnerRect}) {
        ExpectInside(*rect, size[0], size[1]);
      }
      EXPECT_GE(layout.scaleLineSpacing, 0);
      EXPECT_LE(layout.maxBarHeight, std::max(0, layout.plotRect.Height()));
      if (size[0] <= 0 || size[1] <= 0) {
        EXPECT_TRUE(layout.plotRect.Empty());
      }
    }
  }
}

TEST(PaneLayout, NaturalHeightCountsTheShownBands) {
  EXPECT_EQ(NaturalPaneHeight(true, true, true, 13, 13), 132);
  EXPECT_EQ(NaturalPaneHeight(false, true, true, 13, 13), 116);
  EXPECT_EQ(NaturalPaneHeight(true, false, false, 20, 13), 23);
}

// Font heights come in at the pane's DPI; the bands and their paddings grow in step, so each
// band is within a pixel of its 96-DPI height scaled, and 96 DPI is exactly as before.
TEST(PaneLayout, BandsGrowWithTheDpi) {
  const PaneLayout base = Relayout(Pane(300, 140));
  for (int dpi : {120, 144, 192}) {
    LayoutInput input = Pane(ScaleToDpi(300, dpi), ScaleToDpi(140, dpi));
    input.titleFontHeight = ScaleToDpi(13, dpi);
    input.rateFontHeight = ScaleToDpi(13, dpi);
    input.scaleFontHeight = ScaleToDpi(12, dpi);
    input.scaleWidth = ScaleToDpi(60, dpi);
    input.dpi = dpi;
    const PaneLayout layout = Relayout(input);
    SCOPED_TRACE(dpi);
    EXPECT_NEAR(layout.titleRect.Height(), base.titleRect.Height() * dpi / 96.0, 1.0);
    EXPECT_NEAR(layout.textRect.Height(), base.textRect.Height() * dpi / 96.0, 1.0);
    EXPECT_NEAR(layout.titleTextRect.left, base.titleTextRect.left * dpi / 96.0, 1.0);
    EXPECT_NEAR(layout.textInnerRect.Height(), 13 * dpi / 96.0, 1.0);
    EXPECT_NEAR(layout.tickLength, 3 * dpi / 96.0, 1.0);
    // Two bands, each within a pixel.
    EXPECT_NEAR(NaturalPaneHeight(true, true, true, input.titleFontHeight, input.rateFontHeight, dpi),
                NaturalPaneHeight(true, true, true, 13, 13) * dpi / 96.0, 2.0);
  }
  // The rounding is MulDiv's, held within int whatever a hand-edited font height says.
  EXPECT_EQ(ScaleToDpi(13, 96), 13);
  EXPECT_EQ(ScaleToDpi(13, 144), 20);
  EXPECT_EQ(ScaleToDpi(-13, 144), -20);
  EXPECT_EQ(ScaleToDpi(13, 0), 13);
  EXPECT_EQ(ScaleToDpi(2147483647, 192), 2147483647);
}

}  // namespace
}  // namespace veltrano
