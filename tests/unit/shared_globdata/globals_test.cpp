#include "shared/globals.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "platform/memory/memory_input.h"
#include "platform/memory/memory_platform.h"

namespace wdx {
namespace {

TEST(Globals, FormatNumber) {
  struct Case {
    int width, decimals;
    double x;
    const char* text;
  } cases[] = {
      {5, 2, 3.14159, " 3.14"},
      {1, 0, 123456.5, "123457"},  // rounded, no separators
      {1, 0, -123456.5, "-123457"},
      {1, 0, 7, "7"},
      {1, 0, -12, "-12"},
      {1, 0, 1250, "1250"},
      {6, 0, 42, "    42"},
      {2, 3, 1.5, "1.500"},        // longer than the width: not cut
      {1, 1, 0.05, "0.1"},
      {1, 2, -0.001, "0.00"},      // rounds to zero: no minus sign
      {0, 0, 3, "3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatNumber(static_cast<std::uint8_t>(c.width), static_cast<std::uint8_t>(c.decimals), c.x), c.text)
        << c.width << ":" << c.decimals << " " << c.x;
  }
  EXPECT_LE(FormatNumber(1, 255, 1e300).size(), 255u);
  EXPECT_EQ(FormatNumber(1, 0, std::nan("")), "Nan");
}

TEST(Globals, FormatThousands) {
  struct Case {
    int width, decimals;
    double x;
    const char* text;
  } cases[] = {
      {1, 0, 1234567, "1,234,567"},
      {1, 0, -123456, "-123,456"},  // no separator straight after the minus sign
      {1, 0, -1234, "-1,234"},
      {1, 0, 999, "999"},
      {1, 0, 1000, "1,000"},
      {5, 0, 12, "   12"},
      {12, 2, 1234567.891, "1,234,567.89"},  // twelve characters, no blanks
      {14, 2, 1234567.891, "  1,234,567.89"},
      {1, 2, -1234.5, "-1,234.50"},
      {1, 1, 123.45, "123.5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatThousands(static_cast<std::uint8_t>(c.width), static_cast<std::uint8_t>(c.decimals), c.x), c.text)
        << c.width << ":" << c.decimals << " " << c.x;
  }
}

TEST(Globals, PadLeftAndReplaceExtension) {
  EXPECT_EQ(PadLeft("ab", 5), "   ab");
  EXPECT_EQ(PadLeft("abcdef", 3), "abcdef");
  EXPECT_EQ(ReplaceExtension("C:\\LIB\\MACROS.WDX", "WDY"), "C:\\LIB\\MACROS.WDY");
  EXPECT_EQ(ReplaceExtension("ab", "WDY"), "abWDY");   // fewer than three characters: nothing lost
  EXPECT_EQ(ReplaceExtension("abc", "WDY"), "WDY");
  EXPECT_EQ(ReplaceExtension("MACROS", "WDS"), "MACWDS");  // no point looked for
}

TEST(Globals, BytesOfCdPositions) {
  std::int32_t t = -1, m = -1, s = -1, f = -1;
  SplitTmsfPosition(0x04030201, t, m, s, f);
  EXPECT_EQ((std::array{t, m, s, f}), (std::array{1, 2, 3, 4}));
  SplitTmsfPosition(static_cast<std::int32_t>(0xFFFEFDFC), t, m, s, f);
  EXPECT_EQ((std::array{t, m, s, f}), (std::array{0xFC, 0xFD, 0xFE, 0xFF}));
  EXPECT_EQ(MakeTmsfPosition(1, 2, 3, 99), 0x00030201);
  SplitMsfLength(11013, m, s);
  EXPECT_EQ(m, 5);
  EXPECT_EQ(s, 43);
  SplitMsfLength(static_cast<std::int16_t>(0xFF80), m, s);  // negative 16-bit value: still bytes
  EXPECT_EQ(m, 0x80);
  EXPECT_EQ(s, 0xFF);
}

TEST(Globals, ScreenFactors) {
  platform::MemoryInput input;
  input.SetScreenSize({1024, 768});
  ScreenFactors f;
  GetScreenFactors(input, f);
  EXPECT_EQ(f.ScreenWidth, 1024);
  EXPECT_EQ(f.ScreenHeight, 768);
  EXPECT_EQ(std::trunc(1024 * f.MouseXFactor), 65535);
  EXPECT_EQ(std::trunc(768 * f.MouseYFactor), 65535);
  input.SetScreenSize({0, 0});
  GetScreenFactors(input, f);
  EXPECT_EQ(f.MouseXFactor, 0.0);
  EXPECT_EQ(f.MouseYFactor, 0.0);
}

TEST(Globals, FolderExists) {
  namespace fs = std::filesystem;
  // A folder of this run's own (the stand-in makes a unique one and removes it).
  const platform::MemoryPlatform mem;
  const fs::path dir = mem.Root();
  fs::create_directories(dir / "sub");
  std::ofstream(dir / "file.txt") << "x";
  const fs::path before = fs::current_path();

  EXPECT_TRUE(FolderExists((dir / "sub").string()));
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_FALSE(FolderExists((dir / "file.txt").string()));  // a file is no folder
  EXPECT_EQ(fs::current_path(), before);
  EXPECT_FALSE(FolderExists((dir / "missing").string()));
  EXPECT_FALSE(FolderExists(""));
  EXPECT_EQ(fs::current_path(), before);
}

}  // namespace
}  // namespace wdx
