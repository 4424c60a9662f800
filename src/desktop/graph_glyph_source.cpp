// Glyph rendering with GDI.
#include "desktop/graph_glyph_source.h"

#include <algorithm>
#include <cstring>

namespace veltrano {

void GdiGlyphSource::SetFont(HFONT font) {
  font_ = font;
  lineHeight_ = -1;
}

bool GdiGlyphSource::EnsureScratch() {
  if (dc_) return true;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kScratch;
  info.bmiHeader.biHeight = -kScratch;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = dc_ ? CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!bitmap_ || !bits) {
    Release();
    return false;
  }
  bits_ = static_cast<std::uint32_t*>(bits);
  initialBitmap_ = SelectObject(dc_, bitmap_);
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, RGB(255, 255, 255));
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  return true;
}

int GdiGlyphSource::LineHeight() {
  if (lineHeight_ >= 0) return lineHeight_;
  if (!font_ || !EnsureScratch()) return -1;
  SelectObject(dc_, font_);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc_, &metrics)) lineHeight_ = metrics.tmHeight;
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  return lineHeight_;
}

bool GdiGlyphSource::Render(char character, GlyphMask& mask) {
  const int height = LineHeight();
  if (height <= 0 || height > kScratch) return false;
  SelectObject(dc_, font_);
  const wchar_t wide = static_cast<wchar_t>(static_cast<unsigned char>(character));
  SIZE size{};
  const bool measured = GetTextExtentPoint32W(dc_, &wide, 1, &size);
  // Room on both sides for parts of the glyph that lie outside its advance.
  const int pad = (kScratch - size.cx) / 2;
  if (!measured || pad < 0) {
    SelectObject(dc_, GetStockObject(SYSTEM_FONT));
    return false;
  }
  std::memset(bits_, 0, sizeof(std::uint32_t) * kScratch * kScratch);
  ExtTextOutW(dc_, pad, 0, 0, nullptr, &wide, 1, nullptr);
  GdiFlush();
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));

  int left = kScratch, right = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < kScratch; ++x) {
      if (bits_[y * kScratch + x] & 0xFFFFFF) left = std::min(left, x), right = std::max(right, x + 1);
    }
  }
  mask.advance = size.cx;
  mask.height = height;
  mask.left = left < right ? left - pad : 0;
  mask.width = left < right ? right - left : 0;
  mask.coverage.assign(static_cast<size_t>(mask.width) * height * 3, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      const std::uint32_t pixel = bits_[y * kScratch + left + x];
      std::uint8_t* cover = &mask.coverage[(static_cast<size_t>(y) * mask.width + x) * 3];
      cover[0] = static_cast<std::uint8_t>(pixel >> 16);
      cover[1] = static_cast<std::uint8_t>(pixel >> 8);
      cover[2] = static_cast<std::uint8_t>(pixel);
    }
  }
  return true;
}

void GdiGlyphSource::Release() {
  if (dc_) {
    if (initialBitmap_) SelectObject(dc_, initialBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  initialBitmap_ = nullptr;
  bits_ = nullptr;
  lineHeight_ = -1;
}

}  // namespace veltrano
