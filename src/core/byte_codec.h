// Little-endian field access for the fixed-size binary records kept in files and the registry.
// Every accessor is bounds-safe: a record shorter than a field reads that field as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrano {

using Bytes = std::vector<std::uint8_t>;

// Raw little-endian loads and stores, for callers that have already checked the bounds (the
// traffic log's block reader).
inline std::uint16_t LoadU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t LoadU64(const std::uint8_t* p) {
  return LoadU32(p) | (static_cast<std::uint64_t>(LoadU32(p + 4)) << 32);
}
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
inline void StoreU64(std::uint8_t* p, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const Bytes& bytes, size_t offset);
std::int32_t GetI32(const Bytes& bytes, size_t offset);
std::uint64_t GetU64(const Bytes& bytes, size_t offset);
float GetF32(const Bytes& bytes, size_t offset);
void PutU32(Bytes& bytes, size_t offset, std::uint32_t value);
void PutI32(Bytes& bytes, size_t offset, std::int32_t value);
void PutU64(Bytes& bytes, size_t offset, std::uint64_t value);
void PutF32(Bytes& bytes, size_t offset, float value);

// 8-bit text field of `size` bytes: read up to the first NUL inside the field (an unterminated
// field ends at its last byte); written truncated to size - 1 bytes and NUL-padded.
std::string GetCharField(const Bytes& bytes, size_t offset, size_t size);
void PutCharField(Bytes& bytes, size_t offset, size_t size, const std::string& text);

// UTF-16LE text field of `size` bytes, exchanged as UTF-8; the same termination rules.
std::string GetWideField(const Bytes& bytes, size_t offset, size_t size);
void PutWideField(Bytes& bytes, size_t offset, size_t size, const std::string& utf8);

// Whole UTF-16LE strings as the registry keeps REG_SZ data (the terminator is optional on read).
std::string DecodeUtf16Bytes(const Bytes& bytes);
Bytes EncodeUtf16Bytes(const std::string& utf8);  // with the terminating NUL

}  // namespace veltrano
