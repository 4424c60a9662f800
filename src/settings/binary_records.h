// The small fixed-size binary records of the settings store: LOGFONTW (92 bytes), the main
// window rectangle (16) and the service options (12). Decoding reads a zero-padded copy of the
// first kSize bytes; whether a stored value of the wrong size is used at all is the reader's rule.
#pragma once

#include <cstdint>
#include <string>

#include "core/byte_codec.h"

namespace veltrano {

struct LogFont {
  static constexpr size_t kSize = 92;
  static constexpr size_t kFaceNameChars = 32;

  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;  // at most 31 UTF-16 code units

  bool operator==(const LogFont& other) const;
};

Bytes EncodeLogFont(const LogFont& font);
LogFont DecodeLogFont(const Bytes& bytes);

// Main window rectangle in screen coordinates.
struct WndPosition {
  static constexpr size_t kSize = 16;
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool operator==(const WndPosition& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

Bytes EncodeWndPosition(const WndPosition& position);
WndPosition DecodeWndPosition(const Bytes& bytes);

struct ServiceOptions {
  static constexpr size_t kSize = 12;
  std::uint32_t marker = 0;  // written as 1, never checked
  std::uint32_t notifyInService = 0;
  std::uint32_t recorderInService = 0;

  bool operator==(const ServiceOptions& other) const {
    return marker == other.marker && notifyInService == other.notifyInService &&
           recorderInService == other.recorderInService;
  }
};

Bytes EncodeServiceOptions(const ServiceOptions& options);
ServiceOptions DecodeServiceOptions(const Bytes& bytes);

}  // namespace veltrano
