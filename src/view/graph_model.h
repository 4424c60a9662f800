// Everything a rate graph pane knows apart from its window and drawing objects: switches,
// colours, sizes, scale, time grid and layout, with the rules of its setters.
#pragma once

#include <cstdint>

#include "core/byte_codec.h"
#include "engine/adapter_entry.h"
#include "settings/binary_records.h"
#include "view/dpi_scale.h"
#include "view/graph_layout.h"
#include "view/graph_scale.h"
#include "view/graph_time.h"

namespace veltrano {

struct PaneSwitches {
  bool showTitle = true;
  bool showGraph = true;
  bool showScaleGrid = true;
  bool showScale = true;
  bool showText = true;
  bool showMaxInText = true;
  bool textColourAsGraph = true;
  bool avgInText = false;
  bool unitBytes = false;
  bool showAvgDownLine = false;
  bool showAvgUpLine = false;
  bool showTimeGrid = true;
  bool showTimeText = true;
  bool scaleGridOnTop = false;
  bool timeGridOnTop = true;
  bool timeTextOnTop = true;
};

// COLORREF values (0x00BBGGRR) and pen styles, as stored.
struct PaneColours {
  std::uint32_t graphBackground = 0xDEDBAD;
  std::uint32_t down = 0x0000FF;
  std::uint32_t up = 0x00CC00;
  std::uint32_t both = 0x00FFFF;
  std::uint32_t titleBackground = 0x9E9E9E;
  std::uint32_t titleText = 0xFFFFFF;
  std::uint32_t scaleText = 0x000000;
  std::uint32_t rateText = 0x000000;
  std::uint32_t rateBackground = 0xFFFFFF;
  std::uint32_t timeText = 0x3C3C3C;
  std::uint32_t border = 0x333333;
  std::uint32_t avgDown = 0x000080;
  std::uint32_t avgUp = 0x006400;
  std::uint32_t scaleGrid = 0x9E9E9E;
  std::uint32_t timeGrid = 0x6E6E6E;
  int scaleGridStyle = 2;
  int timeGridStyle = 2;
};

// Stored pane values that would make the grid and label loops stand still are replaced: a column
// width below 1 by 3, a negative space by 0, an interval below 1 by 30, an unknown pen style by 2.
int ValidColumnWidth(int width);
int ValidColumnSpace(int space);
int ValidTimeGridInterval(int seconds);
int ValidPenStyle(int style);
// A stored LOGFONTW record, or fallback when it is not exactly 92 bytes.
LogFont PaneFontFromRecord(const Bytes& record, const LogFont& fallback);

class GraphModel {
 public:
  GraphModel();

  void SetHistory(const RateHistory* history) { history_ = history; }
  const RateHistory& History() const;

  PaneSwitches& Switches() { return switches_; }
  const PaneSwitches& Switches() const { return switches_; }
  PaneColours& Colours() { return colours_; }
  const PaneColours& Colours() const { return colours_; }

  int GraphStyle() const { return graphStyle_; }
  void SetGraphStyle(int style) { graphStyle_ = style; }
  int TimeFormat() const { return timeFormat_; }
  void SetTimeFormat(int format) { timeFormat_ = format; }
  bool Use12Hour() const { return use12Hour_; }
  void SetUse12Hour(bool on) { use12Hour_ = on; }

  // The pane's DPI. Stored sizes (font heights, paddings) are 96-DPI pixels, scaled to it where
  // used; the column pitch and grid interval stay as set, so the history shown keeps its length.
  void SetDpi(int dpi) { dpi_ = dpi > 0 ? dpi : kBaseDpi; }
  int Dpi() const { return dpi_; }
  int Scaled(int pixels) const { return ScaleToDpi(pixels, dpi_); }

  // Font heights are set as absolute values of the stored lfHeight (96 DPI) and read at the
  // pane's DPI.
  void SetTitleFontHeight(int height);
  void SetRateFontHeight(int height);
  void SetScaleFontHeight(int height);
  int TitleFontHeight() const { return Scaled(titleFontHeight_); }
  int RateFontHeight() const { return Scaled(rateFontHeight_); }
  int ScaleFontHeight() const { return Scaled(scaleFontHeight_); }
  // The scale's width, measured in the pane's own font (so at its DPI already).
  void SetScaleWidth(int width) { scaleWidth_ = width; }
  int ScaleWidth() const { return scaleWidth_; }

  // Refused (false) outside 50..100.
  bool SetHeightPercent(int percent);
  int HeightPercent() const { return heightPercent_; }
  // Returns whether anything changed; a change resets the time grid.
  bool SetColumns(int width, int space);
  int ColumnWidth() const { return columnWidth_; }
  int ColumnSpace() const { return columnSpace_; }
  bool SetTimeGridInterval(int seconds);
  int TimeGridInterval() const { return timeGridInterval_; }
  void ResetTimeGrid();
  const TimeGrid& Grid() const { return grid_; }

  void SetScale(bool fixed, std::uint32_t bytesPerSecond);
  bool FixedScale() const { return scale_.Fixed(); }
  std::uint32_t ScaleMax() const { return scale_.ScaleMax(); }
  std::uint32_t VisibleMax() const { return scale_.VisibleMax(); }
  // Rescan after the history was emptied or replaced.
  void RecomputeMaxima();

  void SetClientSize(int width, int height);
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  // Recomputes the geometry and then the maxima over the columns that now fit.
  void Relayout();
  const PaneLayout& Layout() const { return layout_; }

  // sample has just been put at the newest end of the history: the grid scrolls one column and
  // the maxima are brought up to date.
  void AddSample(const RateSample& sample);

  int NaturalHeight() const;

 private:
  GraphScale::Options ScaleOptions() const;

  const RateHistory* history_ = nullptr;
  PaneSwitches switches_;
  PaneColours colours_;
  int graphStyle_ = 1;
  int timeFormat_ = 0;
  bool use12Hour_ = true;
  int dpi_ = kBaseDpi;
  int titleFontHeight_ = 13;
  int rateFontHeight_ = 13;
  int scaleFontHeight_ = 13;
  int scaleWidth_ = 0;
  int heightPercent_ = 95;
  int columnWidth_ = 3;
  int columnSpace_ = 1;
  int timeGridInterval_ = 30;
  TimeGrid grid_;
  GraphScale scale_;
  int width_ = 0;
  int height_ = 0;
  PaneLayout layout_;
};

}  // namespace veltrano
