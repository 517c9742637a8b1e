// The shared text helpers: ASCII case rules (accented letters stay as they are), trimming of
// blanks and control characters, hexadecimal digits, short strings.
#include <gtest/gtest.h>

#include "shared/text_util.h"

namespace wdx {
namespace {

TEST(TextUtilTest, CaseTouchesTheAsciiLettersOnly) {
  EXPECT_EQ(UpperAscii("abc xyz 09 @[`{ \xE4\xF6"), "ABC XYZ 09 @[`{ \xE4\xF6");
  EXPECT_EQ(LowerAscii("ABC XYZ 09 @[`{ \xC4\xD6"), "abc xyz 09 @[`{ \xC4\xD6");
  EXPECT_TRUE(EqualsNoCase("Content-Type", "CONTENT-type"));
  EXPECT_FALSE(EqualsNoCase("\xE4", "\xC4"));
  EXPECT_FALSE(EqualsNoCase("ab", "abc"));
  EXPECT_TRUE(StartsWithNoCase("Subject: x", "SUBJECT:"));
  EXPECT_FALSE(StartsWithNoCase("Sub", "SUBJECT"));
  EXPECT_EQ(FindNoCase("a name=NAME", "name"), 2u);
  EXPECT_EQ(FindNoCase("a name=NAME", "name", 3), 7u);
  EXPECT_EQ(FindNoCase("a name", "names"), std::string_view::npos);
  EXPECT_EQ(FindNoCase("", ""), 0u);
}

TEST(TextUtilTest, TrimRemovesBlanksAndControlsAtBothEnds) {
  EXPECT_EQ(TrimView(" \t\r\n x y \x01"), "x y");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // a no-break space is a character
}

TEST(TextUtilTest, HexDigitsBothWays) {
  const std::string digits = "0123456789abcdefABCDEF";
  const int values[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 10, 11, 12, 13, 14, 15};
  for (std::size_t i = 0; i < digits.size(); ++i) EXPECT_EQ(HexDigitValue(digits[i]), values[i]) << digits[i];
  for (char c : std::string("gG/:@`x \xC4")) EXPECT_EQ(HexDigitValue(c), -1) << c;
  std::string out;
  for (unsigned char b : {0x00, 0x0F, 0xA5, 0xFF}) AppendHexPair(out, b);
  EXPECT_EQ(out, "000FA5FF");
}

TEST(TextUtilTest, ShortStringsHoldAtMost255Characters) {
  EXPECT_EQ(CutShort(std::string(300, 'x')), std::string(255, 'x'));
  EXPECT_EQ(CutShort("short"), "short");
}

}  // namespace
}  // namespace wdx
