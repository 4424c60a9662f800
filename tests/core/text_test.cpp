#include "core/text.h"

#include <gtest/gtest.h>

namespace veltrano {
namespace {

TEST(TextConversion, RoundTripsEveryPlaneThroughUtf16) {
  const std::string text = "Veltrano \xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x93\xA1";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.size(), 17u);  // the last character takes a surrogate pair
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(TextConversion, ReplacesMalformedInputInsteadOfFailing) {
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");           // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");           // overlong encoding
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00), u'x'}), "\xEF\xBF\xBDx");
}

TEST(AsciiCase, ComparesNamesTheWayTheRegistryDoes) {
  EXPECT_TRUE(EqualsIgnoreAsciiCase("Veltrano", "VELTRANO"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("Veltrano", "Veltran"));
  EXPECT_LT(CompareIgnoreAsciiCase("100-", "200-"), 0);
  EXPECT_LT(CompareIgnoreAsciiCase("abc", "ABCD"), 0);
  EXPECT_EQ(AsciiUpper("{ab-c9}"), "{AB-C9}");
}

TEST(TrimBlanks, RemovesBlanksAtBothEndsOnly) {
  EXPECT_EQ(TrimBlanks(" \t Intel  NIC \r\n"), "Intel  NIC");
  EXPECT_EQ(TrimBlanks(" \t "), "");
  EXPECT_EQ(TrimBlanks(""), "");
}

}  // namespace
}  // namespace veltrano
