// One adapter's rate graph: a child window of the main window that draws the adapter's rate
// history (title band, column or line graph with scale, grids, time labels and averages, rate
// text band) into an off-screen surface and copies it to the screen in one block.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/byte_codec.h"
#include "desktop/graph_painter.h"
#include "engine/adapter_entry.h"
#include "platform/clock.h"
#include "settings/binary_records.h"
#include "view/graph_model.h"

namespace veltrano {

class GraphPane {
 public:
  // clock gives the time labels their time; nullptr means the system's local time.
  explicit GraphPane(Clock* clock = nullptr);
  ~GraphPane();
  GraphPane(const GraphPane&) = delete;
  GraphPane& operator=(const GraphPane&) = delete;

  // Creates the pane as a visible child of owner at rect (client coordinates of owner). The
  // history is read, never written, and must outlive the pane. Returns false if the window could
  // not be created.
  bool Create(HWND owner, const RateHistory* history, const RECT& rect, int id);
  // Destroys the window and frees every drawing object; the pane can be created again.
  void Destroy();
  HWND Window() const { return window_; }

  // Setters. With redraw set, a setter that changes the layout recomputes it and every setter
  // redraws; with redraw clear they only store, and the caller ends the batch with
  // RelayoutAndRedraw().
  void SetTitle(const std::string& text, bool redraw = true);
  void SetShowTitle(bool on, bool redraw = true);
  void SetShowGraph(bool on, bool redraw = true);
  void SetShowScale(bool on, bool redraw = true);
  void SetShowText(bool on, bool redraw = true);
  void SetShowAvgDownLine(bool on, bool redraw = true);
  void SetShowAvgUpLine(bool on, bool redraw = true);
  void SetShowScaleGrid(bool on, bool redraw = true);
  void SetShowMaxInText(bool on, bool redraw = true);
  void SetTextColourAsGraph(bool on, bool redraw = true);
  void SetAvgInText(bool on, bool redraw = true);
  void SetShowTimeGrid(bool on, bool redraw = true);
  void SetShowTimeText(bool on, bool redraw = true);
  void SetScaleGridOnTop(bool on, bool redraw = true);
  void SetTimeGridOnTop(bool on, bool redraw = true);
  void SetTimeTextOnTop(bool on, bool redraw = true);
  void SetUnitBytes(bool on, bool redraw = true);
  // 0 line graph, 1 column graph.
  void SetGraphStyle(int style, bool redraw = true);
  // 0 h:mm:ss, 1 h:mm, 2 mm:ss.
  void SetTimeFormat(int format, bool redraw = true);

  void SetGraphBackground(COLORREF colour, bool redraw = true);
  void SetGraphColours(COLORREF up, COLORREF down, COLORREF both, bool redraw = true);
  void SetAverageColours(COLORREF avgUp, COLORREF avgDown, bool redraw = true);
  // style: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot; anything else draws dotted.
  void SetScaleGrid(COLORREF colour, int style, bool redraw = true);
  void SetTimeGrid(COLORREF colour, int style, bool redraw = true);
  void SetTitleColours(COLORREF background, COLORREF text, bool redraw = true);
  void SetRateColours(COLORREF background, COLORREF text, bool redraw = true);
  void SetScaleTextColour(COLORREF colour, bool redraw = true);
  void SetTimeTextColour(COLORREF colour, bool redraw = true);
  void SetBorderColour(COLORREF colour, bool redraw = true);

  void SetTitleFont(const LogFont& font, bool redraw = true);
  void SetRateFont(const LogFont& font, bool redraw = true);
  void SetScaleFont(const LogFont& font, bool redraw = true);
  void SetTimeFont(const LogFont& font, bool redraw = true);
  // The same from a stored LOGFONTW record; anything but 92 bytes gives the default font.
  void SetTitleFont(const Bytes& record, bool redraw = true);
  void SetRateFont(const Bytes& record, bool redraw = true);
  void SetScaleFont(const Bytes& record, bool redraw = true);
  void SetTimeFont(const Bytes& record, bool redraw = true);

  // The DPI the pane is drawn at (its window's at creation): fonts, bands and paddings are
  // scaled to it, column widths and the grid interval are not.
  void SetDpi(int dpi, bool redraw = true);
  int Dpi() const { return model_.Dpi(); }

  // Refused (false, nothing changes) outside 50..100.
  bool SetHeightPercent(int percent, bool redraw = true);
  // A width below 1 becomes 3 and a negative space 0.
  void SetColumns(int width, int space, bool redraw = true);
  // An interval below 1 becomes 30.
  void SetTimeGridInterval(int seconds, bool redraw = true);
  // Fixed: scaleMax = bytesPerSecond (at least 1); automatic: the maxima come from the history.
  void SetScale(bool fixed, std::uint32_t bytesPerSecond, bool redraw = true);
  // An adapter's ConnRatebps: 0 is the automatic scale, n fixes it at n / 8 bytes per second.
  void SetScaleFromConnRate(std::uint32_t connRateBps, bool redraw = true);
  void ResetTimeGrid(bool redraw = true);

  // The sampler has just put sample at the newest end of the history.
  void AddSample(const RateSample& sample);
  // The history was emptied or replaced: recompute the maxima and redraw.
  void HistoryChanged();
  void RelayoutAndRedraw();

  // The owner reports whether the main window is shown; while it is hidden nothing is drawn, and
  // the first paint after it is shown again redraws everything.
  void SetOwnerShown(bool shown);

  // Draws the current surface into dc (the pane's client area at 0, 0).
  void Paint(HDC dc);

  // What pane stacking and the tray icon read.
  int NaturalHeight() const { return model_.NaturalHeight(); }
  int TitleFontHeight() const { return model_.TitleFontHeight(); }
  int RateFontHeight() const { return model_.RateFontHeight(); }
  std::uint32_t ScaleMax() const { return model_.ScaleMax(); }
  std::uint32_t VisibleMax() const { return model_.VisibleMax(); }
  const GraphModel& Model() const { return model_; }

  // The off-screen surface (tests read its pixels); null before creation.
  HDC SurfaceDc() const { return surface_; }
  HBITMAP SurfaceBitmap() const { return bitmap_; }

 private:
  enum FontSlot { kTitleFont, kRateFont, kScaleFont, kTimeFont, kFontCount };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnSize(int width, int height);
  void OnPaint();
  void OnMouseMove(WPARAM keys, LPARAM point);

  void Changed(bool relayout, bool redraw);
  void Relayout();
  bool CreateSurfaceBitmap(int width, int height);
  void Draw();
  void Redraw();
  void CopyToScreen(HDC target, const RECT& area);
  bool Drawable() const;

  void SetFont(FontSlot slot, const LogFont& font, bool redraw);
  void RebuildFont(FontSlot slot);
  void MeasureScaleWidth();
  void FreeDrawingObjects();

  Clock* clock_;
  GraphModel model_;
  GraphPainter painter_;
  std::wstring title_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  bool ownerShown_ = true;
  bool stale_ = false;

  LogFont fonts_[kFontCount];
  HFONT fontHandles_[kFontCount] = {};
  HDC surface_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ initialBitmap_ = nullptr;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;

  // The surface's pixels: everything but text is written there directly, so the pane needs no
  // pens or brushes of its own.
  PixelCanvas canvas_;
};

}  // namespace veltrano
