// Stopwatch dialog: moves the measurement's figures into its labels and paints its clock.
#include "desktop/stopwatch_dlg.h"

#include "desktop/resources/reports_ids.h"
#include "desktop/ui/dpi.h"
#include "platform/win32/wide_text.h"

namespace veltrano {
namespace {

constexpr COLORREF kClockColour = 0xBB0000;
constexpr int kIconResource = 128;
constexpr int kClockFontHeight = 20;  // pixels at 96 DPI

}  // namespace

CStopwatchDlg::CStopwatchDlg(HINSTANCE instance, AdapterList& rows, StopwatchSwitches switches, bool unitBytes,
                             std::function<void(AdapterEntry&)> resetRates, ui::Prompter& prompter)
    : ui::Dialog(instance, IDD_STOPWATCH),
      rows_(rows),
      switches_(switches),
      unitBytes_(unitBytes),
      resetRates_(std::move(resetRates)),
      prompter_(prompter) {}

CStopwatchDlg::~CStopwatchDlg() {
  // A modeless dialog closes while its clock font is still there.
  if (Handle() && !IsModal()) DestroyWindow(Handle());
  if (clockFont_) DeleteObject(clockFont_);
  if (icon_) DestroyIcon(icon_);
}

INT_PTR CStopwatchDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM && wParam == IDC_SW_CLOCK) {
    DrawClock(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
  }
  return ui::Dialog::HandleMessage(message, wParam, lParam);
}

BOOL CStopwatchDlg::OnInitDialog() {
  const int dpi = ui::WindowDpi(Handle());
  SetIcon(dpi);
  SetClockFont(dpi);
  HWND list = Item(IDC_SW_ADAPTERS);
  for (auto& row : rows_) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(row.displayName).c_str()));
    listed_.push_back(&row);
  }
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  CheckDlgButton(Handle(), IDC_SW_ALWAYS_ON_TOP, switches_.alwaysOnTop ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(Handle(), IDC_SW_RESET_GRAPH, switches_.resetGraph ? BST_CHECKED : BST_UNCHECKED);
  Display();
  if (switches_.alwaysOnTop) PlaceInTopmostBand(true);
  return TRUE;
}

bool CStopwatchDlg::OnCommand(WORD id, WORD notifyCode, HWND) {
  if (notifyCode != BN_CLICKED) return false;
  switch (id) {
    case IDC_SW_START:
      OnStartStop();
      return true;
    case IDC_SW_ALWAYS_ON_TOP:
      switches_.alwaysOnTop = IsDlgButtonChecked(Handle(), IDC_SW_ALWAYS_ON_TOP) == BST_CHECKED;
      PlaceInTopmostBand(switches_.alwaysOnTop);
      return true;
  }
  return false;
}

void CStopwatchDlg::OnDpiChanged(int dpi) {
  SetIcon(dpi);
  SetClockFont(dpi);
}

// One icon at the caption's large size serves both slots, as the system's default size did.
void CStopwatchDlg::SetIcon(int dpi) {
  const int size = ui::SystemMetricForDpi(SM_CXICON, dpi);
  auto* icon = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, 0));
  if (!icon) return;
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  if (icon_) DestroyIcon(icon_);
  icon_ = icon;
}

// The clock is drawn by the dialog; the font is also the clock control's, where it can be asked for.
void CStopwatchDlg::SetClockFont(int dpi) {
  ui::ReplaceControlFont(Item(IDC_SW_CLOCK), clockFont_, ui::CreateTahomaFont(kClockFontHeight, FW_BOLD, dpi));
  InvalidateRect(Item(IDC_SW_CLOCK), nullptr, FALSE);
}

void CStopwatchDlg::OnStartStop() {
  if (watch_.Running()) {
    Stop();
  } else {
    Start();
  }
}

void CStopwatchDlg::Start() {
  const LRESULT selected = SendMessageW(Item(IDC_SW_ADAPTERS), LB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<size_t>(selected) >= listed_.size()) {
    prompter_.Warn(Handle(), "Please select an adapter.");
    SetFocus(Item(IDC_SW_ADAPTERS));
    return;
  }
  measured_ = listed_[static_cast<size_t>(selected)];
  switches_.resetGraph = IsDlgButtonChecked(Handle(), IDC_SW_RESET_GRAPH) == BST_CHECKED;
  if (switches_.resetGraph && resetRates_) resetRates_(*measured_);
  watch_.Start(measured_->sampleCount);
  Display();
  SetTimer(Handle(), kClockTimer, 1000, nullptr);
  EnableWindow(Item(IDC_SW_ADAPTERS), FALSE);
  SetDlgItemTextW(Handle(), IDC_SW_START, L"&Stop");
}

void CStopwatchDlg::Stop() {
  KillTimer(Handle(), kClockTimer);
  watch_.Stop();
  measured_ = nullptr;
  EnableWindow(Item(IDC_SW_ADAPTERS), TRUE);
  SetDlgItemTextW(Handle(), IDC_SW_START, L"&Start");
}

void CStopwatchDlg::OnTimer(UINT_PTR id) {
  if (id != kClockTimer || !watch_.Running()) return;
  watch_.Tick();
  InvalidateRect(Item(IDC_SW_CLOCK), nullptr, FALSE);
  Update();
}

void CStopwatchDlg::Update() {
  if (measured_) watch_.Update(measured_->history, measured_->sampleCount);
  Display();
}

void CStopwatchDlg::Display() {
  const StopwatchTexts texts = watch_.Display(unitBytes_);
  SetTextIfChanged(IDC_SW_TOTAL_DOWN, texts.totalDown);
  SetTextIfChanged(IDC_SW_TOTAL_UP, texts.totalUp);
  SetTextIfChanged(IDC_SW_BITS_DOWN, texts.bitsDown);
  SetTextIfChanged(IDC_SW_BITS_UP, texts.bitsUp);
  SetTextIfChanged(IDC_SW_MAX_DOWN, texts.maxDown);
  SetTextIfChanged(IDC_SW_MAX_UP, texts.maxUp);
  SetTextIfChanged(IDC_SW_MIN_DOWN, texts.minDown);
  SetTextIfChanged(IDC_SW_MIN_UP, texts.minUp);
  SetTextIfChanged(IDC_SW_AVG_DOWN, texts.avgDown);
  SetTextIfChanged(IDC_SW_AVG_UP, texts.avgUp);
}

// Rewriting a label with its own text would still repaint it: only changes are written.
void CStopwatchDlg::SetTextIfChanged(int id, const std::string& text) {
  wchar_t shown[128];
  const int length = GetDlgItemTextW(Handle(), id, shown, 128);
  const std::wstring wanted = Widen(text);
  if (wanted.compare(0, std::wstring::npos, shown, static_cast<size_t>(length)) != 0)
    SetDlgItemTextW(Handle(), id, wanted.c_str());
}

void CStopwatchDlg::PlaceInTopmostBand(bool topmost) {
  SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Drawn off-screen and copied in one block, so that the clock never flickers.
void CStopwatchDlg::DrawClock(const DRAWITEMSTRUCT& item) {
  const RECT& area = item.rcItem;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC memory = CreateCompatibleDC(item.hDC);
  HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, width, height);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  RECT local{0, 0, width, height};
  FillRect(memory, &local, GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ oldFont = SelectObject(memory, clockFont_ ? clockFont_ : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, kClockColour);
  const std::wstring text = Widen(watch_.ClockText());
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &local, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  BitBlt(item.hDC, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void CStopwatchDlg::OnCancel() {
  switches_.alwaysOnTop = IsDlgButtonChecked(Handle(), IDC_SW_ALWAYS_ON_TOP) == BST_CHECKED;
  switches_.resetGraph = IsDlgButtonChecked(Handle(), IDC_SW_RESET_GRAPH) == BST_CHECKED;
  if (watch_.Running()) Stop();
  End(IDCANCEL);
}

void CStopwatchDlg::OnDestroy() {
  KillTimer(Handle(), kClockTimer);
}

}  // namespace veltrano
