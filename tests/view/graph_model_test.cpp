#include "view/graph_model.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(PaneValues, StoredValuesThatWouldStallTheGridAreReplaced) {
  EXPECT_EQ(ValidColumnWidth(0), 3);
  EXPECT_EQ(ValidColumnWidth(-7), 3);
  EXPECT_EQ(ValidColumnWidth(1), 1);
  EXPECT_EQ(ValidColumnSpace(-1), 0);
  EXPECT_EQ(ValidColumnSpace(0), 0);
  EXPECT_EQ(ValidTimeGridInterval(0), 30);
  EXPECT_EQ(ValidTimeGridInterval(-30), 30);
  EXPECT_EQ(ValidTimeGridInterval(1), 1);
  EXPECT_EQ(ValidPenStyle(-1), 2);
  EXPECT_EQ(ValidPenStyle(5), 2);
  EXPECT_EQ(ValidPenStyle(4), 4);
  EXPECT_EQ(ValidPenStyle(0), 0);
}

TEST(PaneValues, OnlyAWholeFontRecordReplacesTheDefault) {
  LogFont fallback;
  fallback.faceName = "Tahoma";
  fallback.height = 12;
  LogFont stored;
  stored.faceName = "Verdana";
  stored.height = -11;
  const Bytes record = EncodeLogFont(stored);
  EXPECT_EQ(PaneFontFromRecord(record, fallback), stored);
  EXPECT_EQ(PaneFontFromRecord(Bytes(record.begin(), record.end() - 1), fallback), fallback);
  Bytes longer = record;
  longer.push_back(0);
  EXPECT_EQ(PaneFontFromRecord(longer, fallback), fallback);
  EXPECT_EQ(PaneFontFromRecord({}, fallback), fallback);
}

TEST(GraphModel, SettersApplyTheirRules) {
  GraphModel model;
  EXPECT_FALSE(model.SetHeightPercent(49));
  EXPECT_FALSE(model.SetHeightPercent(101));
  EXPECT_EQ(model.HeightPercent(), 95);
  EXPECT_TRUE(model.SetHeightPercent(50));
  EXPECT_TRUE(model.SetHeightPercent(100));

  EXPECT_FALSE(model.SetColumns(3, 1));
  EXPECT_TRUE(model.SetColumns(0, -2));
  EXPECT_EQ(model.ColumnWidth(), 3);
  EXPECT_EQ(model.ColumnSpace(), 0);
  EXPECT_EQ(model.Grid().OffsetMax(), 30 * 3);

  EXPECT_TRUE(model.SetTimeGridInterval(10));
  EXPECT_TRUE(model.SetTimeGridInterval(0));
  EXPECT_EQ(model.TimeGridInterval(), 30);

  model.SetScaleFontHeight(-11);
  EXPECT_EQ(model.ScaleFontHeight(), 11);
}

TEST(GraphModel, ChangingColumnsOrIntervalResetsTheTimeGrid) {
  GraphModel model;
  model.AddSample({});
  model.AddSample({});
  EXPECT_EQ(model.Grid().Phase(), 1);
  model.SetColumns(3, 1);  // unchanged: the grid keeps scrolling where it is
  EXPECT_EQ(model.Grid().Phase(), 1);
  model.SetColumns(2, 1);
  EXPECT_EQ(model.Grid().Phase(), 29);
  EXPECT_EQ(model.Grid().Offset(), 30 * 3 - 1);
  model.AddSample({});
  model.SetTimeGridInterval(10);
  EXPECT_EQ(model.Grid().Phase(), 9);
}

TEST(GraphModel, LayoutRecomputesTheMaximaOverTheColumnsThatFit) {
  RateHistory history;
  GraphModel model;
  model.SetHistory(&history);
  model.SetScaleWidth(60);
  model.SetClientSize(300, 140);
  model.Relayout();
  for (std::uint32_t i = 0; i < 100; ++i) {
    history.push_back({i == 60 ? 9000u : 100u, 50, 0, 0});
    model.AddSample(history.back());
  }
  EXPECT_EQ(model.ScaleMax(), 9000u);  // 60 columns show the peak, 39 samples old
  model.SetClientSize(150, 140);       // 22 columns: the peak is out of view
  model.Relayout();
  EXPECT_EQ(model.ScaleMax(), 100u);
  EXPECT_EQ(model.VisibleMax(), 100u);
  model.SetScale(true, 0);
  EXPECT_EQ(model.ScaleMax(), 1u);
  model.SetScale(false, 0);
  EXPECT_EQ(model.ScaleMax(), 100u);
}

TEST(GraphModel, NaturalHeightFollowsSwitchesAndFonts) {
  GraphModel model;
  EXPECT_EQ(model.NaturalHeight(), 132);
  model.Switches().showText = false;
  model.SetTitleFontHeight(-20);
  EXPECT_EQ(model.NaturalHeight(), 123);
}

}  // namespace
}  // namespace veltrano
