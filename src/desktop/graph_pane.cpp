// Rate graph pane window: setters, window messages and the pane's own drawing objects.
#include "desktop/graph_pane.h"

#include <algorithm>
#include <cwchar>

#include "desktop/ui/dpi.h"
#include "platform/win32/system_clock.h"
#include "platform/win32/wide_text.h"
#include "view/graph_scale.h"
#include "view/graph_time.h"

namespace veltrano {
namespace {

const wchar_t* const kPaneClass = L"VeltranoGraphPane";

LogFont Tahoma(int height, int weight) {
  LogFont font;
  font.height = height;
  font.weight = weight;
  font.faceName = "Tahoma";
  return font;
}

// The locale's "time format" indicator: "0" is the 12-hour clock.
bool LocaleUses12Hour() {
  wchar_t indicator[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ITIME, indicator, 8) <= 0) return Use12HourClock(nullptr);
  const std::string text = Narrow(indicator, wcslen(indicator));
  return Use12HourClock(&text);
}

void RegisterPaneClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(instance, kPaneClass, &windowClass)) return;
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kPaneClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

GraphPane::GraphPane(Clock* clock) : clock_(clock) {
  fonts_[kTitleFont] = Tahoma(13, 700);
  for (int slot = kRateFont; slot < kFontCount; ++slot) fonts_[slot] = Tahoma(13, 0);
  model_.SetUse12Hour(LocaleUses12Hour());
}

GraphPane::~GraphPane() {
  Destroy();
}

bool GraphPane::Create(HWND owner, const RateHistory* history, const RECT& rect, int id) {
  if (window_) return false;
  owner_ = owner;
  model_.SetHistory(history);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterPaneClass(instance, &GraphPane::WindowProc);
  CreateWindowExW(0, kPaneClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, owner,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return window_ != nullptr;
}

void GraphPane::Destroy() {
  if (window_) DestroyWindow(window_);
  FreeDrawingObjects();
}

LRESULT CALLBACK GraphPane::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* pane = static_cast<GraphPane*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    pane->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pane));
  }
  auto* pane = reinterpret_cast<GraphPane*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!pane) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    pane->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return pane->HandleMessage(message, wParam, lParam);
}

LRESULT GraphPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, lParam);
      return 0;
    case WM_DESTROY:
      FreeDrawingObjects();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void GraphPane::OnCreate() {
  model_.SetDpi(ui::WindowDpi(window_));
  for (int slot = 0; slot < kFontCount; ++slot) fontHandles_[slot] = CreatePaneFont(fonts_[slot], model_.Dpi());
  surface_ = CreateCompatibleDC(nullptr);
  RECT client{};
  GetClientRect(window_, &client);
  CreateSurfaceBitmap(client.right, client.bottom);
  MeasureScaleWidth();
}

// A 32-bit top-down DIB, so that the painter can write fills and lines to its memory.
bool GraphPane::CreateSurfaceBitmap(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = std::max(1, width);
  info.bmiHeader.biHeight = -std::max(1, height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP fresh = CreateDIBSection(surface_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!fresh || !bits) return false;
  const HGDIOBJ previous = SelectObject(surface_, fresh);
  if (bitmap_) {
    DeleteObject(bitmap_);
  } else {
    initialBitmap_ = previous;
  }
  bitmap_ = fresh;
  surfaceWidth_ = std::max(1, width);
  surfaceHeight_ = std::max(1, height);
  canvas_.Attach(static_cast<std::uint32_t*>(bits), surfaceWidth_, surfaceHeight_);
  painter_.Invalidate();
  return true;
}

void GraphPane::OnSize(int width, int height) {
  model_.SetClientSize(width, height);
  Relayout();
  Redraw();
}

void GraphPane::OnPaint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window_, &paint);
  if (stale_ && Drawable()) {
    Draw();
    stale_ = false;
  }
  CopyToScreen(dc, paint.rcPaint);
  EndPaint(window_, &paint);
}

void GraphPane::Paint(HDC dc) {
  if (stale_ && Drawable()) {
    Draw();
    stale_ = false;
  }
  CopyToScreen(dc, {0, 0, model_.ClientWidth(), model_.ClientHeight()});
}

void GraphPane::OnMouseMove(WPARAM keys, LPARAM point) {
  if (!(keys & MK_LBUTTON) || !owner_) return;
  POINT screen{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  ClientToScreen(window_, &screen);
  ReleaseCapture();
  SendMessageW(owner_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

void GraphPane::Changed(bool relayout, bool redraw) {
  painter_.Invalidate();
  if (!redraw) return;
  if (relayout) Relayout();
  Redraw();
}

void GraphPane::Relayout() {
  model_.Relayout();
  painter_.Invalidate();
  const int width = model_.ClientWidth();
  const int height = model_.ClientHeight();
  if (!surface_ || width <= 0 || height <= 0 || (width == surfaceWidth_ && height == surfaceHeight_)) return;
  CreateSurfaceBitmap(width, height);
}

bool GraphPane::Drawable() const {
  return window_ && surface_ && ownerShown_;
}

void GraphPane::Draw() {
  const PaneTools tools{fontHandles_[kTitleFont], fontHandles_[kRateFont], fontHandles_[kScaleFont],
                        fontHandles_[kTimeFont]};
  const LocalTime now = clock_ ? clock_->Now() : SystemClock().Now();
  painter_.Draw(surface_, canvas_, model_, tools, title_, now);
}

void GraphPane::Redraw() {
  if (!Drawable()) {
    stale_ = true;
    return;
  }
  Draw();
  stale_ = false;
  const HDC dc = GetDC(window_);
  CopyToScreen(dc, {0, 0, model_.ClientWidth(), model_.ClientHeight()});
  ReleaseDC(window_, dc);
}

void GraphPane::CopyToScreen(HDC target, const RECT& area) {
  if (!surface_ || area.right <= area.left || area.bottom <= area.top) return;
  BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, surface_, area.left, area.top,
         SRCCOPY);
}

void GraphPane::SetOwnerShown(bool shown) {
  ownerShown_ = shown;
  if (shown && stale_ && window_) InvalidateRect(window_, nullptr, FALSE);
}

void GraphPane::MeasureScaleWidth() {
  if (!surface_) return;
  const wchar_t* widest = model_.Switches().unitBytes ? L"999.9 MB/s" : L"999.9 mbps";
  const HGDIOBJ previous = SelectObject(surface_, fontHandles_[kScaleFont]);
  SIZE size{};
  GetTextExtentPoint32W(surface_, widest, static_cast<int>(wcslen(widest)), &size);
  SelectObject(surface_, previous);
  model_.SetScaleWidth(size.cx + model_.Scaled(5));
}

void GraphPane::FreeDrawingObjects() {
  if (surface_) {
    // Put the surface's own objects back before deleting ours.
    SelectObject(surface_, initialBitmap_);
    SelectObject(surface_, GetStockObject(SYSTEM_FONT));
    DeleteDC(surface_);
    surface_ = nullptr;
  }
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  canvas_.Attach(nullptr, 0, 0);
  painter_.Release();
  initialBitmap_ = nullptr;
  surfaceWidth_ = surfaceHeight_ = 0;
  for (HFONT& font : fontHandles_) {
    if (font) DeleteObject(font);
    font = nullptr;
  }
}

}  // namespace veltrano
