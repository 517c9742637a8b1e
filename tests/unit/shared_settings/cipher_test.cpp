#include "shared/cipher.h"

#include <gtest/gtest.h>

#include <string>

namespace wdx {
namespace {

TEST(Cipher, EnciphersHandWorkedExamples) {
  // 'A': ((0x10 + 65) mod 255) xor 'M' = 0x1C; 'B': ((0x1C + 66) mod 255) xor 'Q' = 0x0F.
  EXPECT_EQ(EncipherText("AB", kMacroTextKey, 0x10), "101C0F");
  // The key runs 1, 2, 1, ...; the third sum passes 255.
  EXPECT_EQ(EncipherText("xyz", "ab", 0x00), "0019F00A");
  EXPECT_EQ(DecipherText("101C0F", kMacroTextKey), "AB");
  EXPECT_EQ(DecipherText("0019f00a", "ab"), "xyz");  // lower-case digits are read too
}

TEST(Cipher, OddLengthsAndBadDigits) {
  // A last lone digit is not read...
  EXPECT_EQ(DecipherText("101CZ", kMacroTextKey), "A");
  // ...except in a cipher text of three, whose third digit is read alone as the first pair.
  EXPECT_EQ(DecipherText("10C", kMacroTextKey), "1");
  for (const char* bad : {"", "1", "12", "1G1C", "G01C", "101G0F"}) {
    EXPECT_EQ(DecipherText(bad, kMacroTextKey), std::nullopt) << bad;
  }
}

TEST(Cipher, LongTextsLoseWhatPassesTheShortStringLimit) {
  const std::string t126(126, 'k'), t127 = std::string(126, 'k') + "Q";
  const std::string c126 = EncipherText(t126, kMacroTextKey, 7);
  EXPECT_EQ(c126.size(), 254u);
  EXPECT_EQ(DecipherText(c126, kMacroTextKey), t126);
  const std::string c127 = EncipherText(t127, kMacroTextKey, 7);
  EXPECT_EQ(c127.size(), 255u);
  EXPECT_EQ(DecipherText(c127, kMacroTextKey), t126);  // the last character is gone
}

// The format's sums run modulo 255, so the codes 0 and 255 can change on the way; every other
// code comes back whatever byte precedes it.
TEST(Cipher, WhichCodesSurviveARoundTrip) {
  for (int start = 0; start < 256; ++start) {
    for (int code = 0; code < 256; ++code) {
      const std::string plain(1, static_cast<char>(code));
      const auto back = DecipherText(EncipherText(plain, kMacroTextKey, static_cast<std::uint8_t>(start)), kMacroTextKey);
      ASSERT_TRUE(back.has_value());
      const int got = static_cast<unsigned char>((*back)[0]);
      if (code >= 1 && code <= 254) {
        ASSERT_EQ(got, code) << "start " << start;
      } else {
        // 0 and 255 both come back as 255, or both as 0 after a byte 255.
        ASSERT_EQ(got, start == 255 ? 0 : 255) << "code " << code << " start " << start;
      }
    }
  }
}

TEST(Cipher, ComponentDrawsAStartByteOnlyForText) {
  int draws = 0;
  TKestEncryption c([&] {
    ++draws;
    return std::uint8_t{0x10};
  });
  EXPECT_EQ(c.Action(), TActionType::atEncryption);
  c.SetOutput("stale");
  c.SetInput("");
  EXPECT_TRUE(c.Execute());
  EXPECT_EQ(c.Output(), "");
  EXPECT_EQ(draws, 0);

  c.SetKey(kMacroTextKey);
  c.SetInput("AB");
  EXPECT_TRUE(c.Execute());
  EXPECT_EQ(c.Output(), "101C0F");
  EXPECT_EQ(draws, 1);

  c.SetAction(TActionType::atDecryption);
  c.SetInput(c.Output());
  EXPECT_TRUE(c.Execute());
  EXPECT_EQ(c.Output(), "AB");
  c.SetInput("1");
  EXPECT_FALSE(c.Execute());
  EXPECT_EQ(c.Output(), "AB");  // a failed read leaves the last result

  // An empty key means the built-in one.
  TKestEncryption d([] { return std::uint8_t{3}; });
  d.SetInput("secret");
  d.Execute();
  EXPECT_EQ(d.Output(), EncipherText("secret", kDefaultCipherKey, 3));
}

TEST(Cipher, SameTextTwiceGivesDifferentCipherTexts) {
  TKestEncryption c;
  c.SetKey(kMacroTextKey);
  c.SetInput("password");
  c.Execute();
  const std::string first = c.Output();
  std::string other = first;
  for (int tries = 0; tries < 64 && other == first; ++tries) {
    c.Execute();
    other = c.Output();
  }
  EXPECT_NE(other, first);
  EXPECT_EQ(DecipherText(first, kMacroTextKey), "password");
  EXPECT_EQ(DecipherText(other, kMacroTextKey), "password");
}

TEST(ShiftText, BandsOfTwentyFiveSwap) {
  EXPECT_EQ(ShiftText("Aa5"), "ZHN");
  struct Case {
    int in, out;
  } cases[] = {{0, 0},     {1, 26},    {25, 50},   {26, 1},    {50, 25},   {51, 76},   {100, 75},
               {101, 126}, {150, 125}, {151, 176}, {175, 200}, {176, 151}, {200, 175}, {201, 201},
               {255, 255}};
  for (const Case& c : cases) {
    const std::string shifted = ShiftText(std::string(1, static_cast<char>(c.in)));
    EXPECT_EQ(static_cast<unsigned char>(shifted[0]), c.out) << c.in;
  }
  std::string all;
  for (int code = 0; code < 256; ++code) all.push_back(static_cast<char>(code));
  EXPECT_EQ(ShiftText(ShiftText(all)), all);
  EXPECT_EQ(ShiftText(all).size(), 256u);
}

}  // namespace
}  // namespace wdx
