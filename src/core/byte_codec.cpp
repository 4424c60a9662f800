// Little-endian field access for fixed-size binary records.
#include "core/byte_codec.h"

#include <cstring>

#include "core/text.h"

namespace veltrano {
namespace {

std::uint8_t ByteAt(const Bytes& bytes, size_t offset) { return offset < bytes.size() ? bytes[offset] : 0; }

void PutByte(Bytes& bytes, size_t offset, std::uint8_t value) {
  if (offset < bytes.size()) bytes[offset] = value;
}

}  // namespace

std::uint32_t GetU32(const Bytes& bytes, size_t offset) {
  std::uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(ByteAt(bytes, offset + i)) << (8 * i);
  return value;
}

std::int32_t GetI32(const Bytes& bytes, size_t offset) { return static_cast<std::int32_t>(GetU32(bytes, offset)); }

std::uint64_t GetU64(const Bytes& bytes, size_t offset) {
  return GetU32(bytes, offset) | (static_cast<std::uint64_t>(GetU32(bytes, offset + 4)) << 32);
}

float GetF32(const Bytes& bytes, size_t offset) {
  const std::uint32_t raw = GetU32(bytes, offset);
  float value;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

void PutU32(Bytes& bytes, size_t offset, std::uint32_t value) {
  for (size_t i = 0; i < 4; ++i) PutByte(bytes, offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutI32(Bytes& bytes, size_t offset, std::int32_t value) { PutU32(bytes, offset, static_cast<std::uint32_t>(value)); }

void PutU64(Bytes& bytes, size_t offset, std::uint64_t value) {
  PutU32(bytes, offset, static_cast<std::uint32_t>(value));
  PutU32(bytes, offset + 4, static_cast<std::uint32_t>(value >> 32));
}

void PutF32(Bytes& bytes, size_t offset, float value) {
  std::uint32_t raw;
  std::memcpy(&raw, &value, sizeof raw);
  PutU32(bytes, offset, raw);
}

std::string GetCharField(const Bytes& bytes, size_t offset, size_t size) {
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    const std::uint8_t c = ByteAt(bytes, offset + i);
    if (c == 0) break;
    text += static_cast<char>(c);
  }
  return text;
}

void PutCharField(Bytes& bytes, size_t offset, size_t size, const std::string& text) {
  if (size == 0) return;
  for (size_t i = 0; i < size; ++i) {
    PutByte(bytes, offset + i, i < text.size() && i + 1 < size ? static_cast<std::uint8_t>(text[i]) : 0);
  }
}

std::string GetWideField(const Bytes& bytes, size_t offset, size_t size) {
  std::u16string text;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const auto unit = static_cast<char16_t>(ByteAt(bytes, offset + i) | (ByteAt(bytes, offset + i + 1) << 8));
    if (unit == 0) break;
    text += unit;
  }
  return Utf16ToUtf8(text);
}

void PutWideField(Bytes& bytes, size_t offset, size_t size, const std::string& utf8) {
  std::u16string text = Utf8ToUtf16(utf8);
  const size_t capacity = size / 2;
  if (capacity == 0) return;
  if (text.size() > capacity - 1) {
    text.resize(capacity - 1);
    // Never leave half of a surrogate pair at the cut.
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) text.pop_back();
  }
  for (size_t i = 0; i < capacity; ++i) {
    const char16_t unit = i < text.size() ? text[i] : 0;
    PutByte(bytes, offset + 2 * i, static_cast<std::uint8_t>(unit & 0xFF));
    PutByte(bytes, offset + 2 * i + 1, static_cast<std::uint8_t>(unit >> 8));
  }
}

std::string DecodeUtf16Bytes(const Bytes& bytes) { return GetWideField(bytes, 0, bytes.size()); }

Bytes EncodeUtf16Bytes(const std::string& utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  Bytes bytes;
  bytes.reserve(2 * text.size() + 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

}  // namespace veltrano
