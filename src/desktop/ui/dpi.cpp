// DPI lookups through the per-monitor functions where the system has them.
#include "desktop/ui/dpi.h"

#include "view/dpi_scale.h"

namespace veltrano::ui {
namespace {

// Below this a screen reports nonsense (some remote sessions report 0).
constexpr int kLowestDpi = 72;

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

// Through void*, as a FARPROC does not convert to another function type without a warning.
void* User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : nullptr;
}

int Sane(int dpi) {
  return dpi < kLowestDpi ? 0 : dpi;
}

}  // namespace

int SystemDpi() {
  int dpi = 0;
  if (const HDC screen = GetDC(nullptr)) {
    dpi = Sane(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
  }
  return dpi ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(User32Function("GetDpiForWindow"));
  // A window not yet shown may answer 0 (Wine does): its monitor is then the system's.
  const int dpi = window && getDpiForWindow ? Sane(static_cast<int>(getDpiForWindow(window))) : 0;
  return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto getSystemMetricsForDpi =
      reinterpret_cast<GetSystemMetricsForDpiFn>(User32Function("GetSystemMetricsForDpi"));
  if (getSystemMetricsForDpi && dpi > 0) return getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
  // Without the function the system's own metric is at the system's DPI.
  return MulDiv(GetSystemMetrics(index), dpi > 0 ? dpi : SystemDpi(), SystemDpi());
}

int DpiFromDpiChanged(WPARAM wParam) {
  const int dpi = Sane(HIWORD(wParam));
  return dpi ? dpi : SystemDpi();
}

void TakeSuggestedRect(HWND window, LPARAM lParam) {
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (!suggested) return;
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateTahomaFont(int pixels, int weight, int dpi) {
  return CreateFontW(-ScaleToDpi(pixels, dpi), 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

void ReplaceControlFont(HWND control, HFONT& owned, HFONT fresh) {
  if (!fresh) return;
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fresh), FALSE);
  if (owned) DeleteObject(owned);
  owned = fresh;
}

}  // namespace veltrano::ui
