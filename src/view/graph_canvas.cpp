// Direct pixel drawing for the pane. The pen patterns are those of the platform's cosmetic pens.
#include "view/graph_canvas.h"

#include <algorithm>
#include <cstdlib>

namespace veltrano {
namespace {

struct DashPattern {
  int count;
  int lengths[6];  // on, off, on, off...
  int period;
};

const DashPattern kPatterns[5] = {
    {1, {1}, 1},                  // solid
    {2, {18, 6}, 24},             // dash
    {2, {3, 3}, 6},               // dot
    {4, {9, 6, 3, 6}, 24},        // dash-dot
    {6, {9, 3, 3, 3, 3, 3}, 24},  // dash-dot-dot
};

bool PenOn(int style, int step) {
  if (style <= 0 || style > 4) return true;
  const DashPattern& pattern = kPatterns[style];
  int position = step % pattern.period;
  for (int i = 0; i < pattern.count; ++i) {
    if (position < pattern.lengths[i]) return i % 2 == 0;
    position -= pattern.lengths[i];
  }
  return false;
}

std::uint32_t ToPixel(std::uint32_t colour) {
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Antialiased text edges come in 17 levels; a level's shade is a fraction of the way from the
// background to the text colour, read off the ramp below (white text on black at level i shows
// kRamp[i], which is how a mask's coverage byte maps back to its level).
const std::uint8_t kRamp[17] = {0,    0x4d, 0x68, 0x7c, 0x8c, 0x9a, 0xa7, 0xb2, 0xbd,
                                0xc7, 0xd0, 0xd9, 0xe1, 0xe9, 0xf0, 0xf8, 0xff};

struct RampLevels {
  std::uint8_t level[256];
  RampLevels() {
    int current = 0;
    for (int coverage = 0; coverage < 256; ++coverage) {
      while (current < 16 && coverage > (kRamp[current] + kRamp[current + 1]) / 2) ++current;
      level[coverage] = static_cast<std::uint8_t>(current);
    }
  }
};

int RampLevel(int coverage) {
  static const RampLevels levels;
  return levels.level[coverage];
}

int ShadeChannel(int under, int text, int level) {
  if (under == text) return under;
  if (under > text) {
    const int upper = kRamp[16 - level] + (255 - kRamp[16 - level]) * text / 255;
    return text + (under - text) * (upper - text) / (255 - text);
  }
  const int lower = kRamp[level] * text / 255;
  return text - (text - under) * (text - lower) / text;
}

}  // namespace

void PixelCanvas::Attach(std::uint32_t* pixels, int width, int height) {
  pixels_ = pixels;
  width_ = pixels ? std::max(0, width) : 0;
  height_ = pixels ? std::max(0, height) : 0;
}

PaneRect PixelCanvas::Clip(const PaneRect& rect) const {
  PaneRect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width_),
                   std::min(rect.bottom, height_)};
  if (clipped.Empty()) return {};
  return clipped;
}

void PixelCanvas::Fill(const PaneRect& rect, std::uint32_t colour) {
  const PaneRect area = Clip(rect);
  const std::uint32_t pixel = ToPixel(colour);
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = pixels_ + static_cast<size_t>(y) * width_;
    std::fill(row + area.left, row + area.right, pixel);
  }
}

void PixelCanvas::Outline(const PaneRect& rect, std::uint32_t colour) {
  if (rect.Empty()) return;
  Fill({rect.left, rect.top, rect.right, rect.top + 1}, colour);
  Fill({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
  Fill({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
  Fill({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void PixelCanvas::HorizontalLine(int x1, int x2, int y, std::uint32_t colour, int style) {
  if (y < 0 || y >= height_ || x1 == x2) return;
  const std::uint32_t pixel = ToPixel(colour);
  const int direction = x2 > x1 ? 1 : -1;
  for (int x = x1, step = 0; x != x2; x += direction, ++step) {
    if (x >= 0 && x < width_ && PenOn(style, step)) Plot(x, y, pixel);
  }
}

void PixelCanvas::VerticalLine(int x, int y1, int y2, std::uint32_t colour, int style) {
  if (x < 0 || x >= width_ || y1 == y2) return;
  const std::uint32_t pixel = ToPixel(colour);
  const int direction = y2 > y1 ? 1 : -1;
  for (int y = y1, step = 0; y != y2; y += direction, ++step) {
    if (y >= 0 && y < height_ && PenOn(style, step)) Plot(x, y, pixel);
  }
}

void PixelCanvas::Polyline(const std::vector<PlotPoint>& points, std::uint32_t colour) {
  const std::uint32_t pixel = ToPixel(colour);
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    // Bresenham from the start point towards the end point, which the next segment begins with.
    int x = points[i].x, y = points[i].y;
    const int dx = std::abs(points[i + 1].x - x), dy = -std::abs(points[i + 1].y - y);
    const int sx = points[i + 1].x > x ? 1 : -1, sy = points[i + 1].y > y ? 1 : -1;
    int error = dx + dy;
    while (x != points[i + 1].x || y != points[i + 1].y) {
      if (x >= 0 && x < width_ && y >= 0 && y < height_) Plot(x, y, pixel);
      const int twice = 2 * error;
      if (twice >= dy) error += dy, x += sx;
      if (twice <= dx) error += dx, y += sy;
    }
  }
}

void PixelCanvas::Blend(const std::uint8_t* coverage, int x, int y, int width, int height, std::uint32_t colour,
                        const PaneRect& clip) {
  const PaneRect area = Clip({std::max(x, clip.left), std::max(y, clip.top), std::min(x + width, clip.right),
                              std::min(y + height, clip.bottom)});
  const int red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
  for (int row = area.top; row < area.bottom; ++row) {
    const std::uint8_t* cover = coverage + (static_cast<size_t>(row - y) * width + (area.left - x)) * 3;
    std::uint32_t* pixel = pixels_ + static_cast<size_t>(row) * width_ + area.left;
    for (int column = area.left; column < area.right; ++column, cover += 3, ++pixel) {
      if (!(cover[0] | cover[1] | cover[2])) continue;
      if ((cover[0] & cover[1] & cover[2]) == 0xFF) {
        *pixel = ToPixel(colour);
        continue;
      }
      const int r = ShadeChannel((*pixel >> 16) & 0xFF, red, RampLevel(cover[0]));
      const int g = ShadeChannel((*pixel >> 8) & 0xFF, green, RampLevel(cover[1]));
      const int b = ShadeChannel(*pixel & 0xFF, blue, RampLevel(cover[2]));
      *pixel = static_cast<std::uint32_t>(r << 16 | g << 8 | b);
    }
  }
}

std::uint32_t PixelCanvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return ToPixel(pixels_[static_cast<size_t>(y) * width_ + x]);
}

void PixelCanvas::Save(const PaneRect& rect, Snapshot& snapshot) const {
  snapshot.rect = Clip(rect);
  snapshot.pixels.clear();
  for (int y = snapshot.rect.top; y < snapshot.rect.bottom; ++y) {
    const std::uint32_t* row = pixels_ + static_cast<size_t>(y) * width_;
    snapshot.pixels.insert(snapshot.pixels.end(), row + snapshot.rect.left, row + snapshot.rect.right);
  }
}

void PixelCanvas::Restore(const Snapshot& snapshot) {
  const PaneRect& area = snapshot.rect;
  if (area.Empty() || area.right > width_ || area.bottom > height_ ||
      snapshot.pixels.size() != static_cast<size_t>(area.Width()) * area.Height()) {
    return;
  }
  const std::uint32_t* source = snapshot.pixels.data();
  for (int y = area.top; y < area.bottom; ++y, source += area.Width()) {
    std::copy(source, source + area.Width(), pixels_ + static_cast<size_t>(y) * width_ + area.left);
  }
}

}  // namespace veltrano
