// The DPI a window is drawn at, and what depends on it. The per-monitor functions are bound by
// name: without them (older systems) every window has the system's DPI.
#pragma once

#include <windows.h>

// Sent to a top-level window whose DPI changed (headers hide it below Windows 7).
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace veltrano::ui {

// The system's DPI (the primary monitor's scale), at least 72.
int SystemDpi();
// The DPI of the monitor the window is on when the program is per-monitor aware, else the
// system's; never 0, even for a window that is not shown yet.
int WindowDpi(HWND window);
// A system metric (SM_CXSMICON...) at dpi.
int SystemMetricForDpi(int index, int dpi);
// The new DPI of a WM_DPICHANGED message.
int DpiFromDpiChanged(WPARAM wParam);
// Moves the window to the rectangle a WM_DPICHANGED message suggests.
void TakeSuggestedRect(HWND window, LPARAM lParam);
// A Tahoma font whose character height is pixels at 96 DPI, made at dpi; the caller frees it.
HFONT CreateTahomaFont(int pixels, int weight, int dpi);
// Gives control the font fresh and frees owned, the control's previous one, which fresh replaces.
void ReplaceControlFont(HWND control, HFONT& owned, HFONT fresh);

}  // namespace veltrano::ui
