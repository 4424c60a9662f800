// The notification-area icon of the main window: add, modify and delete through one call, the
// tip and picture of the chosen adapter each second (static activity icons or a live miniature of
// its graph, at the system's small icon size), and the re-add after a failed modify.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdint>
#include <string>

#include "engine/adapter_entry.h"
#include "view/tray_tip.h"

namespace veltrano {

constexpr UINT kTrayIconId = 104;
constexpr UINT kTrayCallbackMessage = WM_APP + 10;

struct TrayLook {
  bool graphStyleColumns = true;
  COLORREF background = 0xDEDBAD;
  COLORREF up = 0x00CC00;
  COLORREF down = 0x0000FF;
  COLORREF both = 0x00FFFF;
};

class TrayIcon {
 public:
  // dpi: the notification area's (the system's), which sets the icon's size.
  TrayIcon(HWND owner, HINSTANCE instance, int dpi);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The platform calls; each answers whether the shell accepted it. flags as NIF_* bits.
  bool Add(HICON icon, const std::u16string& tip, UINT flags = NIF_MESSAGE | NIF_ICON | NIF_TIP);
  bool Modify(UINT flags, HICON icon, const std::u16string& tip);
  bool Delete();
  bool Shown() const { return shown_; }

  // Adds the plain icon (no traffic) with the tip "Veltrano".
  bool AddPlain();
  // One second of the chosen row. scaleMax is its pane's scale; withMiniature when the graph
  // is to be drawn (graph capable, switched on, and the row has a pane).
  void Update(const AdapterEntry& row, const TrayTipSwitches& switches, bool withMiniature, std::uint32_t scaleMax);
  // New graph colours and style for the miniature's pens.
  void SetLook(const TrayLook& look);
  // After the taskbar was recreated: the icon is added again with its last picture.
  void Readd();
  // The display scale changed: pictures at the new small icon size.
  void SetDpi(int dpi);
  int IconSize() const { return size_; }

  // The last miniature drawn (tests and screenshots read its pixels); null before one.
  HBITMAP MiniatureBitmap() const { return colour_; }
  HICON CurrentStaticIcon() const { return currentIcon_; }
  const std::u16string& Tip() const { return tip_; }

 private:
  bool Call(DWORD operation, UINT flags, HICON icon, const std::u16string& tip);
  void ShowMiniature(const AdapterEntry& row, std::uint32_t scaleMax);
  void ShowStatic(const AdapterEntry& row);
  void Recover(HICON icon);
  void CreatePictures();
  void FreePictures();
  void CreatePens();
  void FreePens();

  HWND owner_;
  HINSTANCE instance_;
  int size_;
  bool shown_ = false;
  std::u16string tip_;
  HICON icons_[4] = {};
  HICON currentIcon_ = nullptr;
  TrayLook look_;
  HDC surface_ = nullptr;
  HBITMAP colour_ = nullptr;
  std::uint32_t* colourBits_ = nullptr;  // its pixels, top row first
  HBITMAP mask_ = nullptr;
  HGDIOBJ initialBitmap_ = nullptr;
  HPEN upPen_ = nullptr;
  HPEN downPen_ = nullptr;
  HPEN bothPen_ = nullptr;
  HPEN shadowPen_ = nullptr;
  HPEN lightPen_ = nullptr;
  HBRUSH background_ = nullptr;
};

// Whether the system can draw the miniature: above version 5, or 5 with a minor version.
bool TrayGraphCapable();

}  // namespace veltrano
