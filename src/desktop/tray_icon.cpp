// Tray icon: Shell_NotifyIconW with the 152-byte record, and the miniature drawn into a memory
// surface that lives as long as the icon object.
#include "desktop/tray_icon.h"

#include <shellapi.h>

#include "desktop/resources/main_window_ids.h"
#include "desktop/ui/dpi.h"
#include "view/tray_miniature.h"

namespace veltrano {
namespace {

// The record without the later extensions: size, owner, id, flags, message, icon, 64-char tip.
constexpr DWORD kRecordSize = 152;

HPEN PenFor(MiniPen pen, HPEN up, HPEN down, HPEN both) {
  return pen == MiniPen::kUp ? up : pen == MiniPen::kDown ? down : both;
}

}  // namespace

bool TrayGraphCapable() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&version)) return true;
#pragma GCC diagnostic pop
  return version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion != 0);
}

TrayIcon::TrayIcon(HWND owner, HINSTANCE instance, int dpi)
    : owner_(owner), instance_(instance), size_(ui::SystemMetricForDpi(SM_CXSMICON, dpi)) {
  CreatePictures();
  CreatePens();
}

TrayIcon::~TrayIcon() {
  if (shown_) Delete();
  FreePictures();
  FreePens();
}

// The activity icons and the miniature's surface, at the small icon size.
void TrayIcon::CreatePictures() {
  for (int i = 0; i < 4; ++i) {
    icons_[i] =
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TRAY_IDLE + i), IMAGE_ICON, size_, size_, 0));
  }
  // 32 bits with an opaque alpha channel, so that the picture is drawn by its alpha and the mask
  // does not count: Wine passes a mask whose width is not a multiple of 16 (20 or 24 pixels at
  // 125 or 150 %) to its tray with the last rows missing.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size_;
  info.bmiHeader.biHeight = -size_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  surface_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  colour_ = CreateDIBSection(surface_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  colourBits_ = colour_ ? static_cast<std::uint32_t*>(bits) : nullptr;
  mask_ = CreateBitmap(size_, size_, 1, 1, nullptr);
  // The mask stays all zero, so the miniature is fully opaque.
  const HDC maskDc = CreateCompatibleDC(nullptr);
  const HGDIOBJ before = SelectObject(maskDc, mask_);
  PatBlt(maskDc, 0, 0, size_, size_, BLACKNESS);
  SelectObject(maskDc, before);
  DeleteDC(maskDc);
  initialBitmap_ = SelectObject(surface_, colour_);
}

void TrayIcon::FreePictures() {
  SelectObject(surface_, initialBitmap_);
  DeleteObject(colour_);
  DeleteObject(mask_);
  DeleteDC(surface_);
  for (HICON& icon : icons_) {
    DestroyIcon(icon);
    icon = nullptr;
  }
}

void TrayIcon::SetDpi(int dpi) {
  const int size = ui::SystemMetricForDpi(SM_CXSMICON, dpi);
  if (size == size_) return;
  int current = -1;
  for (int i = 0; i < 4; ++i) {
    if (currentIcon_ && currentIcon_ == icons_[i]) current = i;
  }
  FreePictures();
  size_ = size;
  CreatePictures();
  // A miniature is drawn afresh by the next second's update; a static icon is put back now.
  currentIcon_ = current >= 0 ? icons_[current] : nullptr;
  if (shown_ && currentIcon_ && !Modify(NIF_ICON | NIF_TIP, currentIcon_, tip_)) Recover(currentIcon_);
}

bool TrayIcon::Call(DWORD operation, UINT flags, HICON icon, const std::u16string& tip) {
  NOTIFYICONDATAW record{};
  record.cbSize = kRecordSize;
  record.hWnd = owner_;
  record.uID = kTrayIconId;
  record.uFlags = flags;
  record.uCallbackMessage = kTrayCallbackMessage;
  record.hIcon = icon;
  // Cut to 63 characters and terminated.
  const size_t length = std::min<size_t>(tip.size(), kTrayTipLimit);
  for (size_t i = 0; i < length; ++i) record.szTip[i] = static_cast<wchar_t>(tip[i]);
  record.szTip[length] = L'\0';
  return Shell_NotifyIconW(operation, &record) != FALSE;
}

bool TrayIcon::Add(HICON icon, const std::u16string& tip, UINT flags) {
  tip_ = tip;
  if (!Call(NIM_ADD, flags, icon, tip)) return false;
  shown_ = true;
  return true;
}

bool TrayIcon::Modify(UINT flags, HICON icon, const std::u16string& tip) {
  tip_ = tip;
  return Call(NIM_MODIFY, flags, icon, tip);
}

bool TrayIcon::Delete() {
  const bool deleted = Call(NIM_DELETE, NIF_MESSAGE, nullptr, u"");
  if (deleted) shown_ = false;
  return deleted;
}

bool TrayIcon::AddPlain() {
  currentIcon_ = icons_[0];
  return Add(currentIcon_, u"Veltrano");
}

void TrayIcon::Recover(HICON icon) {
  Delete();
  shown_ = false;
  Add(icon, tip_);
}

void TrayIcon::Update(const AdapterEntry& row, const TrayTipSwitches& switches, bool withMiniature,
                      std::uint32_t scaleMax) {
  tip_ = TrayTipFor(row, switches);
  if (!shown_) {
    // The first update adds the icon; a failure is tried again next second.
    if (withMiniature) {
      ShowMiniature(row, scaleMax);
    } else {
      const RateSample newest = row.history.empty() ? RateSample{} : row.history.back();
      currentIcon_ = icons_[TrayActivityIcon(newest.received, newest.sent) - IDI_TRAY_IDLE];
      Add(currentIcon_, tip_);
    }
    return;
  }
  if (withMiniature) {
    ShowMiniature(row, scaleMax);
  } else {
    ShowStatic(row);
  }
}

void TrayIcon::ShowMiniature(const AdapterEntry& row, std::uint32_t scaleMax) {
  RECT all{0, 0, size_, size_};
  FillRect(surface_, &all, background_);
  const HGDIOBJ before = SelectObject(surface_, shadowPen_);
  MoveToEx(surface_, 0, size_ - 1, nullptr);
  LineTo(surface_, 0, 0);
  LineTo(surface_, size_ - 1, 0);
  SelectObject(surface_, lightPen_);
  LineTo(surface_, size_ - 1, size_ - 1);
  LineTo(surface_, 0, size_ - 1);

  const MiniatureDrawing drawing = DrawMiniature(row.history, scaleMax, look_.graphStyleColumns ? 1 : 0, size_);
  for (const MiniLine& line : drawing.lines) {
    SelectObject(surface_, PenFor(line.pen, upPen_, downPen_, bothPen_));
    MoveToEx(surface_, line.from.x, line.from.y, nullptr);
    LineTo(surface_, line.to.x, line.to.y);
  }
  auto polyline = [&](const std::vector<MiniPoint>& points, HPEN pen) {
    if (points.size() < 2) return;
    SelectObject(surface_, pen);
    std::vector<POINT> native;
    for (const MiniPoint& point : points) native.push_back({point.x, point.y});
    Polyline(surface_, native.data(), static_cast<int>(native.size()));
  };
  polyline(drawing.upPolyline, upPen_);
  polyline(drawing.downPolyline, downPen_);
  SelectObject(surface_, before);

  // GDI leaves the alpha byte at zero.
  GdiFlush();
  if (colourBits_) {
    for (int i = 0; i < size_ * size_; ++i) colourBits_[i] |= 0xFF000000u;
  }
  // The bitmap must not be selected into a surface while the icon is built from it.
  SelectObject(surface_, initialBitmap_);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask_;
  info.hbmColor = colour_;
  const HICON icon = CreateIconIndirect(&info);
  SelectObject(surface_, colour_);
  if (!shown_) {
    Add(icon, tip_);
  } else if (!Modify(NIF_ICON | NIF_TIP, icon, tip_)) {
    Recover(icon);
  }
  if (icon) DestroyIcon(icon);
  currentIcon_ = nullptr;
}

void TrayIcon::ShowStatic(const AdapterEntry& row) {
  const RateSample newest = row.history.empty() ? RateSample{} : row.history.back();
  const HICON icon = icons_[TrayActivityIcon(newest.received, newest.sent) - IDI_TRAY_IDLE];
  bool sent;
  if (icon != currentIcon_) {
    currentIcon_ = icon;
    sent = Modify(NIF_ICON | NIF_TIP, icon, tip_);
  } else {
    sent = Modify(NIF_TIP, nullptr, tip_);
  }
  if (!sent) Recover(currentIcon_);
}

void TrayIcon::Readd() {
  shown_ = false;
  Add(currentIcon_ ? currentIcon_ : icons_[0], tip_.empty() ? u"Veltrano" : tip_);
}

void TrayIcon::SetLook(const TrayLook& look) {
  look_ = look;
  FreePens();
  CreatePens();
}

void TrayIcon::CreatePens() {
  upPen_ = CreatePen(PS_SOLID, 1, look_.up);
  downPen_ = CreatePen(PS_SOLID, 1, look_.down);
  bothPen_ = CreatePen(PS_SOLID, 1, look_.both);
  shadowPen_ = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  lightPen_ = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
  background_ = CreateSolidBrush(look_.background);
}

void TrayIcon::FreePens() {
  DeleteObject(upPen_);
  DeleteObject(downPen_);
  DeleteObject(bothPen_);
  DeleteObject(shadowPen_);
  DeleteObject(lightPen_);
  DeleteObject(background_);
  upPen_ = downPen_ = bothPen_ = shadowPen_ = lightPen_ = nullptr;
  background_ = nullptr;
}

}  // namespace veltrano
