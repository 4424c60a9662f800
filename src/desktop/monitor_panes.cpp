// Main window panes: creation at start-up, showing and hiding from the "Adapters" menu, layout on
// every size change, splitter dragging and dragging the window by any point. The arithmetic is
// in view/pane_stack.
#include "desktop/monitor_dlg.h"

#include "desktop/ui/dpi.h"
#include "view/dpi_scale.h"

namespace veltrano {
namespace {

constexpr int kFirstPaneId = 2000;

RECT ToRect(const StackRect& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

std::vector<AdapterEntry*> CMonitorDlg::PaneRows() {
  std::vector<AdapterEntry*> rows;
  for (auto& row : adapters_.Rows()) {
    if (row.pane) rows.push_back(&row);
  }
  return rows;
}

int CMonitorDlg::PaneIndexOf(const AdapterEntry& row) {
  const auto rows = PaneRows();
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i] == &row) return static_cast<int>(i);
  }
  return -1;
}

void CMonitorDlg::ApplyPaneSettings(GraphPane& pane, const AdapterEntry& row) {
  const Options& o = settings_.options;
  pane.SetShowTitle(o.displayTitle != 0, false);
  pane.SetShowGraph(o.displayGraph != 0, false);
  pane.SetShowScale(o.displayScale != 0, false);
  pane.SetShowText(o.displayText != 0, false);
  pane.SetShowAvgDownLine(o.dispAvgDownLine != 0, false);
  pane.SetShowAvgUpLine(o.dispAvgUpLine != 0, false);
  pane.SetShowScaleGrid(o.displayScaleGrid != 0, false);
  pane.SetShowMaxInText(o.displayMaxRateInText != 0, false);
  pane.SetTextColourAsGraph(o.textCrSameAsGraphCr != 0, false);
  pane.SetAvgInText(o.dispAvgValuesInText != 0, false);
  pane.SetShowTimeGrid(o.displayTimeGrid != 0, false);
  pane.SetShowTimeText(o.displayTimeText != 0, false);
  pane.SetScaleGridOnTop(o.scaleGridOnTop != 0, false);
  pane.SetTimeGridOnTop(o.timeGridOnTop != 0, false);
  pane.SetTimeTextOnTop(o.timeTextOnTop != 0, false);
  pane.SetUnitBytes(o.displayUnitByte != 0, false);
  pane.SetGraphStyle(static_cast<int>(o.graphStyle), false);
  pane.SetTimeFormat(static_cast<int>(o.timeFormat), false);
  pane.SetGraphBackground(o.graphBkgColor, false);
  pane.SetGraphColours(o.upColor, o.downColor, o.bothDownUpColor, false);
  pane.SetAverageColours(o.avgUpLineColor, o.avgDownLineColor, false);
  pane.SetScaleGrid(o.gridColor, static_cast<int>(o.scaleGridLineStyle), false);
  pane.SetTimeGrid(o.timeGridColor, static_cast<int>(o.timeGridLineStyle), false);
  pane.SetTitleColours(o.titleBkgColor, o.titleTextColor, false);
  pane.SetRateColours(o.rateBkgColor, o.rateTextColor, false);
  pane.SetScaleTextColour(o.scaleTextColor, false);
  pane.SetTimeTextColour(o.timeTextColor, false);
  pane.SetBorderColour(o.borderColor, false);
  pane.SetTitleFont(o.titleFont, false);
  pane.SetRateFont(o.rateFont, false);
  pane.SetScaleFont(o.scaleFont, false);
  pane.SetTimeFont(o.timeTextFont, false);
  pane.SetHeightPercent(static_cast<int>(o.rateHeightPercent), false);
  pane.SetColumns(static_cast<int>(o.pulseWidth), static_cast<int>(o.pulseSpace), false);
  pane.SetTimeGridInterval(static_cast<int>(o.timeGridIntervalSec), false);
  pane.SetScaleFromConnRate(row.connRateBps, false);
  pane.SetTitle(AdapterTitle(row, o.showIpInTitle != 0), false);
  pane.SetOwnerShown(visible_);
  pane.RelayoutAndRedraw();
}

void CMonitorDlg::ApplyPaneSettingsToAll() {
  for (AdapterEntry* row : PaneRows()) ApplyPaneSettings(*row->pane, *row);
}

void CMonitorDlg::RetitlePanes() {
  for (AdapterEntry* row : PaneRows()) row->pane->SetTitle(AdapterTitle(*row, settings_.options.showIpInTitle != 0));
}

void CMonitorDlg::StoreShares() {
  const auto rows = PaneRows();
  for (size_t i = 0; i < rows.size() && i < stack_.panes.size(); ++i) rows[i]->size = stack_.panes[i].share;
}

void CMonitorDlg::CreatePanes() {
  std::vector<AdapterEntry*> rows;
  std::vector<float> shares;
  for (auto& row : adapters_.Rows()) {
    if (!row.monitored) continue;
    rows.push_back(&row);
    shares.push_back(row.size);
  }
  RECT client{};
  GetClientRect(Handle(), &client);
  const int growth = StartupGrowth(shares, client.bottom);
  if (growth > 0) {
    RECT window{};
    GetWindowRect(Handle(), &window);
    SetWindowRect({window.left, window.top, window.right, window.bottom + growth});
    GetClientRect(Handle(), &client);
  }
  lastClientWidth_ = client.right;
  lastClientHeight_ = client.bottom;
  stack_ = CreatePaneStack(shares, client.right, client.bottom, margin_);
  for (size_t i = 0; i < rows.size(); ++i) {
    auto pane = std::make_unique<GraphPane>(&clock_);
    if (!pane->Create(Handle(), &rows[i]->history, ToRect(stack_.panes[i].rect), kFirstPaneId + static_cast<int>(i))) {
      continue;
    }
    rows[i]->pane = pane.get();
    ApplyPaneSettings(*pane, *rows[i]);
    panes_.push_back(std::move(pane));
  }
  // A pane that could not be created leaves the stack as the panes that exist.
  if (panes_.size() != rows.size()) {
    std::vector<float> kept;
    for (AdapterEntry* row : PaneRows()) kept.push_back(row->size);
    stack_ = CreatePaneStack(kept, client.right, client.bottom, margin_);
    MovePanes();
  }
}

void CMonitorDlg::MovePanes() {
  const auto rows = PaneRows();
  for (size_t i = 0; i < rows.size() && i < stack_.panes.size(); ++i) {
    const StackRect& rect = stack_.panes[i].rect;
    MoveWindow(rows[i]->pane->Window(), rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
  }
  InvalidateRect(Handle(), nullptr, TRUE);
}

void CMonitorDlg::ShowPane(AdapterEntry& row) {
  auto pane = std::make_unique<GraphPane>(&clock_);
  if (!pane->Create(Handle(), &row.history, RECT{0, 0, 0, 0}, kFirstPaneId + static_cast<int>(panes_.size()))) return;
  row.pane = pane.get();
  row.monitored = true;
  ApplyPaneSettings(*pane, row);
  const int natural = pane->NaturalHeight();
  panes_.push_back(std::move(pane));

  RECT window{};
  GetWindowRect(Handle(), &window);
  programmaticMove_ = true;
  SetWindowRect(GrowForShownPane({window.left, window.top, window.right, window.bottom}, natural));
  programmaticMove_ = false;
  RECT client{};
  GetClientRect(Handle(), &client);

  const int index = PaneIndexOf(row);
  stack_.panes.insert(stack_.panes.begin() + index, StackedPane{});
  RestackKeepingHeights(stack_, client.right, client.bottom, margin_, index, natural + 1);
  lastClientWidth_ = client.right;
  lastClientHeight_ = client.bottom;
  MovePanes();
  for (AdapterEntry* shown : PaneRows()) shown->pane->ResetTimeGrid();
  StoreShares();
}

void CMonitorDlg::HidePane(AdapterEntry& row) {
  const int index = PaneIndexOf(row);
  if (index < 0) return;
  const int height = stack_.panes[index].rect.Height();
  GraphPane* pane = row.pane;
  row.pane = nullptr;
  row.monitored = false;
  panes_.erase(std::remove_if(panes_.begin(), panes_.end(), [&](const auto& owned) { return owned.get() == pane; }),
               panes_.end());
  stack_.panes.erase(stack_.panes.begin() + index);

  RECT window{};
  GetWindowRect(Handle(), &window);
  programmaticMove_ = true;
  SetWindowRect(ShrinkForHiddenPane({window.left, window.top, window.right, window.bottom}, height));
  programmaticMove_ = false;
  RECT client{};
  GetClientRect(Handle(), &client);
  RestackKeepingHeights(stack_, client.right, client.bottom, margin_);
  lastClientWidth_ = client.right;
  lastClientHeight_ = client.bottom;
  MovePanes();
  StoreShares();
}

void CMonitorDlg::UpdateMargin() {
  margin_ = ScaleToDpi(EffectiveMargin(settings_.options.rateViewMargins), dpi_);
}

// Moved to a monitor of another scale, or the scale changed: the panes draw at the new DPI, the
// window takes the size the system suggests and the panes keep their shares of its height.
void CMonitorDlg::OnDpiChanged(int dpi, LPARAM suggestedRect) {
  dpi_ = dpi;
  UpdateMargin();
  LoadWindowIcons();
  for (auto& pane : panes_) pane->SetDpi(dpi, false);
  lastClientWidth_ = lastClientHeight_ = -1;
  ui::TakeSuggestedRect(Handle(), suggestedRect);
  RECT client{};
  GetClientRect(Handle(), &client);
  LayoutPanes(client.right, client.bottom);
  for (auto& pane : panes_) pane->RelayoutAndRedraw();
  // The notification area is the primary monitor's, at the system's scale.
  if (tray_) tray_->SetDpi(ui::SystemDpi());
}

void CMonitorDlg::OnSize(int width, int height) {
  if (programmaticMove_) return;
  LayoutPanes(width, height);
}

void CMonitorDlg::LayoutPanes(int width, int height) {
  if (stack_.panes.empty() || (width == lastClientWidth_ && height == lastClientHeight_)) return;
  const bool widthOnly = height == lastClientHeight_;
  LayoutPaneStack(stack_, width, height, margin_, widthOnly);
  lastClientWidth_ = width;
  lastClientHeight_ = height;
  MovePanes();
}

bool CMonitorDlg::OnSetCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(Handle(), &cursor);
  if (SplitterAt(stack_, cursor.x, cursor.y) < 0 && draggedSplitter_ < 0) return false;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32645)));  // vertical resize
  return true;
}

// A press outside the splitters drags the window, caption or not.
bool CMonitorDlg::OnNcHitTest(LPARAM point, LRESULT& result) {
  // The key state is the physical button's: with swapped buttons the right one is primary.
  const int primaryButton = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  if (!(GetAsyncKeyState(primaryButton) & 0x8000)) return false;
  POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  ScreenToClient(Handle(), &at);
  RECT client{};
  GetClientRect(Handle(), &client);
  if (!PtInRect(&client, at) || SplitterAt(stack_, at.x, at.y) >= 0 || draggedSplitter_ >= 0) return false;
  result = HTCAPTION;
  return true;
}

void CMonitorDlg::OnLeftButtonDown(int x, int y) {
  draggedSplitter_ = SplitterAt(stack_, x, y);
  if (draggedSplitter_ >= 0) SetCapture(Handle());
}

void CMonitorDlg::OnMouseMove(int y, bool leftButtonDown) {
  if (draggedSplitter_ < 0) return;
  // The button came up where we could not see it (capture taken by another window).
  if (!leftButtonDown) {
    EndSplitterDrag();
    return;
  }
  RECT client{};
  GetClientRect(Handle(), &client);
  DragSplitter(stack_, draggedSplitter_, y, client.bottom);
  MovePanes();
}

// The button's release, or the capture lost to another window mid-drag (Alt+Tab, an alert):
// the boundary stays where it was dragged to.
void CMonitorDlg::EndSplitterDrag() {
  if (draggedSplitter_ < 0) return;
  draggedSplitter_ = -1;
  if (GetCapture() == Handle()) ReleaseCapture();
  StoreShares();
}

}  // namespace veltrano
