// Start-up placement of the main window and its alpha.
#include "view/window_placement.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

PlacementInput Screen() {
  PlacementInput input;
  input.templateRect = {0, 0, 220, 170};
  input.workArea = {0, 0, 1280, 770};
  input.monitors = {{0, 0, 1280, 800}};
  input.verticalScrollWidth = 16;
  input.horizontalScrollHeight = 16;
  input.frameWidth = 8;
  input.frameHeight = 30;
  return input;
}

TEST(MainWindowPlacement, WithoutASavedPositionGoesToTheBottomRightOfTheWorkArea) {
  const StackRect rect = PlaceMainWindow(Screen());
  EXPECT_EQ(rect, (StackRect{1264 - 220, 754 - 170, 1264, 754}));
}

TEST(MainWindowPlacement, KeepsASavedPositionOnAnyMonitor) {
  PlacementInput input = Screen();
  input.saved = {100, 50, 320, 220};
  EXPECT_EQ(PlaceMainWindow(input), (StackRect{100, 50, 320, 220}));
  input.monitors.push_back({1280, 0, 2560, 1024});
  input.saved = {1500, 300, 1700, 500};
  EXPECT_EQ(PlaceMainWindow(input), (StackRect{1500, 300, 1700, 500}));
  input.saved = {1270, 300, 1470, 500};
  EXPECT_EQ(PlaceMainWindow(input), (StackRect{1270, 300, 1470, 500})) << "partly visible is reachable";
}

TEST(MainWindowPlacement, ASavedPositionOffEveryMonitorIsNotUsed) {
  PlacementInput input = Screen();
  input.saved = {5000, 5000, 5200, 5170};
  EXPECT_EQ(PlaceMainWindow(input), PlaceMainWindow(Screen()));
  input.saved = {-400, 10, -10, 100};
  EXPECT_EQ(PlaceMainWindow(input), PlaceMainWindow(Screen()));
  input.saved = {300, 300, 300, 400};  // empty: nothing was saved
  EXPECT_EQ(PlaceMainWindow(input), PlaceMainWindow(Screen()));
}

TEST(MainWindowPlacement, GrowsUntilTheClientAreaHoldsTwiceTheMarginsPlusOne) {
  PlacementInput input = Screen();
  input.saved = {100, 100, 120, 140};  // client 12 x 10
  input.margin = 20;
  const StackRect rect = PlaceMainWindow(input);
  EXPECT_EQ(rect.Width() - input.frameWidth, 41);
  EXPECT_EQ(rect.Height() - input.frameHeight, 41);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 100);
}

TEST(MainWindowPlacement, NeverGrowsBeyondTheWorkArea) {
  PlacementInput input = Screen();
  input.margin = 1000;
  const StackRect rect = PlaceMainWindow(input);
  EXPECT_EQ(rect, (StackRect{0, 0, 1280, 770})) << "and is kept inside it";
}

TEST(WindowAlpha, FollowsTheTransparencyPercent) {
  EXPECT_EQ(WindowAlpha(10), 229);
  EXPECT_EQ(WindowAlpha(90), 25);
  EXPECT_EQ(WindowAlpha(0), 255);
  EXPECT_EQ(WindowAlpha(-5), 255);
  EXPECT_EQ(WindowAlpha(150), 0);
  EXPECT_EQ(TransparencyPercent(true, 10), 10);
  EXPECT_EQ(TransparencyPercent(false, 10), 0);
}

}  // namespace
}  // namespace veltrano
