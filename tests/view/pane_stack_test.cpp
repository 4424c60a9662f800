// Stacking arithmetic of the panes in the main window.
#include "view/pane_stack.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(PaneStackLayout, OnePaneFillsTheClientAreaInsideTheMargins) {
  PaneStack stack = CreatePaneStack({0.9f}, 300, 200, 2);
  ASSERT_EQ(stack.panes.size(), 1u);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 298, 198}));
  EXPECT_TRUE(stack.splitters.empty());

  LayoutPaneStack(stack, 250, 150, 2, false);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 248, 148}));
  EXPECT_EQ(stack.panes[0].rect.Width(), 250 - 4);
  EXPECT_EQ(stack.panes[0].rect.Height(), 150 - 4);
}

TEST(PaneStackLayout, PanesFollowTheirSharesWithATwoPixelSplitterBetween) {
  PaneStack stack = CreatePaneStack({0.5f, 0.5f}, 200, 200, 2);
  ASSERT_EQ(stack.panes.size(), 2u);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 198, 102}));
  EXPECT_EQ(stack.panes[1].rect, (StackRect{2, 104, 198, 198})) << "the last pane ends at the bottom margin";
  ASSERT_EQ(stack.splitters.size(), 1u);
  EXPECT_EQ(stack.splitters[0], (StackRect{2, 102, 198, 104}));

  LayoutPaneStack(stack, 200, 400, 2, false);
  EXPECT_EQ(stack.panes[0].rect.bottom, 2 + static_cast<int>(stack.panes[0].share * 400));
  EXPECT_EQ(stack.panes[1].rect.bottom, 398);
  EXPECT_EQ(stack.splitters[0].top, stack.panes[0].rect.bottom);
  EXPECT_EQ(stack.splitters[0].bottom, stack.panes[1].rect.top);
}

TEST(PaneStackLayout, AWidthChangeKeepsEveryPanesVerticalExtent) {
  PaneStack stack = CreatePaneStack({0.3f, 0.7f}, 200, 200, 2);
  const PaneStack before = stack;
  LayoutPaneStack(stack, 320, 200, 2, true);
  for (size_t i = 0; i < stack.panes.size(); ++i) {
    EXPECT_EQ(stack.panes[i].rect.top, before.panes[i].rect.top);
    EXPECT_EQ(stack.panes[i].rect.bottom, before.panes[i].rect.bottom);
    EXPECT_EQ(stack.panes[i].rect.right, 318);
  }
  EXPECT_EQ(stack.splitters[0].right, 318);
}

TEST(PaneStackLayout, MarginsThatLeaveNoRoomEmptyEveryPane) {
  PaneStack stack = CreatePaneStack({0.5f, 0.5f}, 200, 200, 2);
  LayoutPaneStack(stack, 200, 4, 2, false);
  EXPECT_EQ(stack.panes[0].rect, StackRect{});
  EXPECT_EQ(stack.panes[1].rect, StackRect{});
  LayoutPaneStack(stack, 4, 200, 2, false);
  EXPECT_EQ(stack.panes[1].rect, StackRect{});
  // Only the width comes back: the emptied stack is laid out in full, not kept empty.
  LayoutPaneStack(stack, 200, 200, 2, true);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 198, 102}));
  EXPECT_EQ(stack.panes[1].rect, (StackRect{2, 104, 198, 198}));
}

TEST(PaneStackLayout, PanesThatWouldPassTheBottomAreCutThere) {
  // 0.905 of 100 is 90.5 pixels: no rounding question between x87 and SSE arithmetic.
  PaneStack stack = CreatePaneStack({0.905f, 0.905f, 0.905f}, 100, 100, 2);
  for (const auto& pane : stack.panes) {
    EXPECT_LE(pane.rect.bottom, 98);
    EXPECT_GE(pane.rect.Height(), 0);
  }
  EXPECT_EQ(stack.panes[0].rect.bottom, 92);
  EXPECT_EQ(stack.panes[2].rect.bottom, 98);
}

TEST(PaneStackStartup, NewRowsWithoutAShareGrowTheWindowThreePixelsEachWhenSeveralAreShown) {
  EXPECT_EQ(StartupGrowth({0.0f, 0.0f, 0.5f}, 200), 6);
  EXPECT_EQ(StartupGrowth({0.0f}, 200), 0) << "a single pane takes the whole client area anyway";
  EXPECT_EQ(StartupGrowth({0.004f, 0.5f}, 200), 3) << "a share that truncates to no pixel counts as none";

  PaneStack stack = CreatePaneStack({0.0f, 0.0f}, 200, 206, 2);
  EXPECT_EQ(stack.panes[0].rect.Height(), 1) << "at least one pixel";
  EXPECT_EQ(stack.panes[1].rect, (StackRect{2, 5, 198, 204}));
  EXPECT_GT(stack.panes[0].share, 0.0f) << "shares follow what was placed";
}

TEST(PaneStackShowHide, ShowingASecondPaneGrowsTheWindowByItsNaturalHeightPlusThree) {
  // Title and rate fonts of the default 13 pixels: 16 + 16 + 100.
  const int natural = NaturalHeight(true, true, true, 13, 13);
  EXPECT_EQ(natural, 132);
  EXPECT_EQ(NaturalHeight(false, true, false, 16, 13), 16);
  const StackRect window{900, 500, 1100, 640};
  const StackRect grown = GrowForShownPane(window, natural);
  EXPECT_EQ(grown, (StackRect{900, 500 - 135, 1100, 640}));

  const StackRect nearTop{900, 100, 1100, 240};
  EXPECT_EQ(GrowForShownPane(nearTop, natural), (StackRect{900, 100, 1100, 240 + 135})) << "grows downwards instead";
}

TEST(PaneStackShowHide, TheNewPaneGetsItsNaturalHeightAndTheOldOneKeepsItsOwn) {
  // Client 200 x 136 with one pane, then the window grew by 135.
  PaneStack stack = CreatePaneStack({1.0f}, 200, 136, 2);
  const int firstHeight = stack.panes[0].rect.Height();
  stack.panes.push_back({});
  RestackKeepingHeights(stack, 200, 136 + 135, 2, 1, 132 + 1);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 198, 2 + firstHeight}));
  EXPECT_EQ(stack.panes[1].rect, (StackRect{2, 4 + firstHeight, 198, 4 + firstHeight + 133}));
  EXPECT_EQ(stack.panes[1].rect.bottom, 136 + 135 - 2) << "fills exactly to the bottom margin";
  ASSERT_EQ(stack.splitters.size(), 1u);
  EXPECT_FLOAT_EQ(stack.panes[1].share, 133.0f / 271.0f);
}

TEST(PaneStackShowHide, HidingOneOfTwoPanesShrinksFromTheTopByItsHeightPlusTwo) {
  PaneStack stack = CreatePaneStack({0.5f, 0.5f}, 200, 271, 2);
  const int hiddenHeight = stack.panes[0].rect.Height();
  const int keptHeight = stack.panes[1].rect.Height();
  const StackRect window{900, 365, 1100, 640};
  const StackRect shrunk = ShrinkForHiddenPane(window, hiddenHeight);
  EXPECT_EQ(shrunk, (StackRect{900, 365 + hiddenHeight + 2, 1100, 640}));

  stack.panes.erase(stack.panes.begin());
  RestackKeepingHeights(stack, 200, 271 - hiddenHeight - 2, 2);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 198, 2 + keptHeight}));
  EXPECT_TRUE(stack.splitters.empty());
}

TEST(PaneStackShowHide, RestackedPanesAreClippedAtTheBottomMargin) {
  PaneStack stack;
  stack.panes = {{{2, 2, 198, 150}, 0.5f}, {{2, 152, 198, 300}, 0.5f}};
  RestackKeepingHeights(stack, 200, 200, 2);
  EXPECT_EQ(stack.panes[0].rect, (StackRect{2, 2, 198, 150}));
  EXPECT_EQ(stack.panes[1].rect, (StackRect{2, 152, 198, 198}));
}

TEST(PaneStackSplitter, FoundUnderThePointerOnly) {
  PaneStack stack = CreatePaneStack({0.5f, 0.5f}, 200, 200, 2);
  EXPECT_EQ(SplitterAt(stack, 50, 102), 0);
  EXPECT_EQ(SplitterAt(stack, 50, 103), 0);
  EXPECT_EQ(SplitterAt(stack, 50, 104), -1);
  EXPECT_EQ(SplitterAt(stack, 50, 101), -1);
  EXPECT_EQ(SplitterAt(stack, 1, 102), -1) << "in the margin";
}

TEST(PaneStackSplitter, DraggingIsClampedSoNeitherPaneVanishes) {
  PaneStack stack = CreatePaneStack({0.5f, 0.5f}, 200, 200, 2);
  DragSplitter(stack, 0, 60, 200);
  EXPECT_EQ(stack.panes[0].rect.bottom, 60);
  EXPECT_EQ(stack.panes[1].rect.top, 62);
  EXPECT_EQ(stack.splitters[0], (StackRect{2, 60, 198, 62}));
  EXPECT_FLOAT_EQ(stack.panes[0].share, 58.0f / 200.0f);
  EXPECT_FLOAT_EQ(stack.panes[1].share, 136.0f / 200.0f);

  DragSplitter(stack, 0, -50, 200);
  EXPECT_EQ(stack.panes[0].rect.Height(), 1);
  DragSplitter(stack, 0, 1000, 200);
  EXPECT_EQ(stack.splitters[0].top, 198 - 3);
  EXPECT_EQ(stack.panes[1].rect.Height(), 1);
  DragSplitter(stack, 5, 100, 200);  // no such splitter: nothing happens
  EXPECT_EQ(stack.splitters[0].top, 195);
}

TEST(PaneStackMargins, HandEditedHugeMarginsAreCappedForTheArithmetic) {
  EXPECT_EQ(EffectiveMargin(2), 2);
  EXPECT_EQ(EffectiveMargin(1000), 1000);
  EXPECT_EQ(EffectiveMargin(0x7FFFFFFF), 1000);
  EXPECT_EQ(EffectiveMargin(0xFFFFFFFF), 1000);
}

}  // namespace
}  // namespace veltrano
