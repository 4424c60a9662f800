// Little-endian field access for the fixed-size binary records kept in files and the registry.
// Every accessor is bounds-safe: a record shorter than a field reads that field as zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veltrano {

using Bytes = std::vector<std::uint8_t>;

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
