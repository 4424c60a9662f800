#include "core/byte_codec.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(ByteCodec, WritesLittleEndianAndReadsBeyondTheEndAsZero) {
  Bytes bytes(8, 0);
  PutU32(bytes, 0, 0x11223344);
  PutI32(bytes, 4, -2);
  EXPECT_EQ(bytes, (Bytes{0x44, 0x33, 0x22, 0x11, 0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(GetI32(bytes, 4), -2);
  EXPECT_EQ(GetU32(bytes, 6), 0xFFFFu);  // half of it lies past the end
  EXPECT_EQ(GetU32(bytes, 100), 0u);
  PutU32(bytes, 6, 0xAABBCCDD);          // writes only what fits
  EXPECT_EQ(bytes.size(), 8u);
  EXPECT_EQ(bytes[7], 0xCC);
}

TEST(ByteCodec, KeepsFloatsBitExact) {
  Bytes bytes(4, 0);
  PutF32(bytes, 0, 0.25f);
  EXPECT_EQ(bytes, (Bytes{0x00, 0x00, 0x80, 0x3E}));
  EXPECT_EQ(GetF32(bytes, 0), 0.25f);
}

TEST(CharField, NeverReadsPastTheFieldWhenTheTerminatorIsMissing) {
  Bytes bytes(8, 'A');
  EXPECT_EQ(GetCharField(bytes, 2, 4), "AAAA");
  PutCharField(bytes, 0, 4, "WXYZ");  // one byte is kept for the terminator
  EXPECT_EQ(GetCharField(bytes, 0, 8), "WXY");
}

TEST(WideField, TruncatesWithoutSplittingASurrogatePair) {
  Bytes bytes(8, 0xEE);
  PutWideField(bytes, 0, 8, "ab\xF0\x9F\x93\xA1");  // a, b, high, low: four units, room for three
  EXPECT_EQ(GetWideField(bytes, 0, 8), "ab");
  EXPECT_EQ(bytes[6], 0);
  EXPECT_EQ(bytes[7], 0);
}

TEST(Utf16Bytes, DecodesRegistryTextWithOrWithoutTerminator) {
  EXPECT_EQ(DecodeUtf16Bytes(EncodeUtf16Bytes("Tahoma")), "Tahoma");
  EXPECT_EQ(DecodeUtf16Bytes(Bytes{'H', 0, 'i', 0}), "Hi");
  EXPECT_EQ(DecodeUtf16Bytes(Bytes{'H', 0, 'i'}), "H");  // odd length: the stray byte is dropped
  EXPECT_EQ(EncodeUtf16Bytes(""), (Bytes{0, 0}));
}

}  // namespace
}  // namespace veltrano
