// Pane state and setter rules.
#include "view/graph_model.h"

#include <cstdlib>

namespace veltrano {
namespace {

const RateHistory kNoHistory;

int AbsoluteHeight(int height) {
  return height == INT32_MIN ? INT32_MAX : std::abs(height);
}

}  // namespace

int ValidColumnWidth(int width) {
  return width < 1 ? 3 : width;
}
int ValidColumnSpace(int space) {
  return space < 0 ? 0 : space;
}
int ValidTimeGridInterval(int seconds) {
  return seconds < 1 ? 30 : seconds;
}
int ValidPenStyle(int style) {
  return style < 0 || style > 4 ? 2 : style;
}

LogFont PaneFontFromRecord(const Bytes& record, const LogFont& fallback) {
  return record.size() == LogFont::kSize ? DecodeLogFont(record) : fallback;
}

GraphModel::GraphModel() {
  grid_.Reset(timeGridInterval_, columnWidth_, columnSpace_);
}

const RateHistory& GraphModel::History() const {
  return history_ ? *history_ : kNoHistory;
}

void GraphModel::SetTitleFontHeight(int height) {
  titleFontHeight_ = AbsoluteHeight(height);
}
void GraphModel::SetRateFontHeight(int height) {
  rateFontHeight_ = AbsoluteHeight(height);
}
void GraphModel::SetScaleFontHeight(int height) {
  scaleFontHeight_ = AbsoluteHeight(height);
}

bool GraphModel::SetHeightPercent(int percent) {
  if (percent < 50 || percent > 100) return false;
  heightPercent_ = percent;
  return true;
}

bool GraphModel::SetColumns(int width, int space) {
  width = ValidColumnWidth(width);
  space = ValidColumnSpace(space);
  if (width == columnWidth_ && space == columnSpace_) return false;
  columnWidth_ = width;
  columnSpace_ = space;
  ResetTimeGrid();
  return true;
}

bool GraphModel::SetTimeGridInterval(int seconds) {
  seconds = ValidTimeGridInterval(seconds);
  if (seconds == timeGridInterval_) return false;
  timeGridInterval_ = seconds;
  ResetTimeGrid();
  return true;
}

void GraphModel::ResetTimeGrid() {
  grid_.Reset(timeGridInterval_, columnWidth_, columnSpace_);
}

GraphScale::Options GraphModel::ScaleOptions() const {
  return {layout_.columnCount, switches_.showAvgDownLine, switches_.showAvgUpLine};
}

void GraphModel::SetScale(bool fixed, std::uint32_t bytesPerSecond) {
  scale_.Set(fixed, bytesPerSecond, History(), ScaleOptions());
}

void GraphModel::RecomputeMaxima() {
  scale_.Recompute(History(), ScaleOptions());
}

void GraphModel::SetClientSize(int width, int height) {
  width_ = width;
  height_ = height;
}

void GraphModel::Relayout() {
  LayoutInput input;
  input.width = width_;
  input.height = height_;
  input.showTitle = switches_.showTitle;
  input.showGraph = switches_.showGraph;
  input.showScale = switches_.showScale;
  input.showText = switches_.showText;
  input.titleFontHeight = TitleFontHeight();
  input.rateFontHeight = RateFontHeight();
  input.scaleFontHeight = ScaleFontHeight();
  input.dpi = dpi_;
  input.scaleWidth = scaleWidth_;
  input.columnWidth = columnWidth_;
  input.columnSpace = columnSpace_;
  input.heightPercent = heightPercent_;
  layout_ = veltrano::Relayout(input);
  RecomputeMaxima();
}

void GraphModel::AddSample(const RateSample& sample) {
  grid_.Advance(timeGridInterval_, columnWidth_, columnSpace_);
  scale_.Add(sample, History(), ScaleOptions());
}

int GraphModel::NaturalHeight() const {
  return NaturalPaneHeight(switches_.showTitle, switches_.showText, switches_.showGraph, TitleFontHeight(),
                           RateFontHeight(), dpi_);
}

}  // namespace veltrano
