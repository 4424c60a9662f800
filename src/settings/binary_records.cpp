// Codecs of LOGFONTW, the window rectangle and the service options.
#include "settings/binary_records.h"

namespace veltrano {
namespace {

// LOGFONTW: five LONGs, eight BYTEs, then WCHAR lfFaceName[32].
constexpr size_t kFontHeight = 0, kFontWidth = 4, kFontEscapement = 8, kFontOrientation = 12, kFontWeight = 16;
constexpr size_t kFontBytes = 20;
constexpr size_t kFontFaceName = 28;
static_assert(kFontFaceName + 2 * LogFont::kFaceNameChars == LogFont::kSize, "LOGFONTW is 92 bytes");
static_assert(4 * 4 == WndPosition::kSize, "RECT is 16 bytes");
static_assert(3 * 4 == ServiceOptions::kSize, "service options are three 32-bit fields");

std::uint8_t GetU8(const Bytes& bytes, size_t offset) { return offset < bytes.size() ? bytes[offset] : 0; }

}  // namespace

bool LogFont::operator==(const LogFont& other) const { return EncodeLogFont(*this) == EncodeLogFont(other); }

Bytes EncodeLogFont(const LogFont& font) {
  Bytes bytes(LogFont::kSize, 0);
  PutI32(bytes, kFontHeight, font.height);
  PutI32(bytes, kFontWidth, font.width);
  PutI32(bytes, kFontEscapement, font.escapement);
  PutI32(bytes, kFontOrientation, font.orientation);
  PutI32(bytes, kFontWeight, font.weight);
  const std::uint8_t small[8] = {font.italic,       font.underline,     font.strikeOut, font.charSet,
                                 font.outPrecision, font.clipPrecision, font.quality,   font.pitchAndFamily};
  for (size_t i = 0; i < 8; ++i) bytes[kFontBytes + i] = small[i];
  PutWideField(bytes, kFontFaceName, 2 * LogFont::kFaceNameChars, font.faceName);
  return bytes;
}

LogFont DecodeLogFont(const Bytes& bytes) {
  LogFont font;
  font.height = GetI32(bytes, kFontHeight);
  font.width = GetI32(bytes, kFontWidth);
  font.escapement = GetI32(bytes, kFontEscapement);
  font.orientation = GetI32(bytes, kFontOrientation);
  font.weight = GetI32(bytes, kFontWeight);
  font.italic = GetU8(bytes, kFontBytes + 0);
  font.underline = GetU8(bytes, kFontBytes + 1);
  font.strikeOut = GetU8(bytes, kFontBytes + 2);
  font.charSet = GetU8(bytes, kFontBytes + 3);
  font.outPrecision = GetU8(bytes, kFontBytes + 4);
  font.clipPrecision = GetU8(bytes, kFontBytes + 5);
  font.quality = GetU8(bytes, kFontBytes + 6);
  font.pitchAndFamily = GetU8(bytes, kFontBytes + 7);
  // A face name without its terminator ends at the last code unit of the field.
  font.faceName = GetWideField(bytes, kFontFaceName, 2 * (LogFont::kFaceNameChars - 1));
  return font;
}

Bytes EncodeWndPosition(const WndPosition& position) {
  Bytes bytes(WndPosition::kSize, 0);
  PutI32(bytes, 0, position.left);
  PutI32(bytes, 4, position.top);
  PutI32(bytes, 8, position.right);
  PutI32(bytes, 12, position.bottom);
  return bytes;
}

WndPosition DecodeWndPosition(const Bytes& bytes) {
  return {GetI32(bytes, 0), GetI32(bytes, 4), GetI32(bytes, 8), GetI32(bytes, 12)};
}

Bytes EncodeServiceOptions(const ServiceOptions& options) {
  Bytes bytes(ServiceOptions::kSize, 0);
  PutU32(bytes, 0, options.marker);
  PutU32(bytes, 4, options.notifyInService);
  PutU32(bytes, 8, options.recorderInService);
  return bytes;
}

ServiceOptions DecodeServiceOptions(const Bytes& bytes) { return {GetU32(bytes, 0), GetU32(bytes, 4), GetU32(bytes, 8)}; }

}  // namespace veltrano
