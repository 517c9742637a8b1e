// The library's companion files both programs share: the sync stamp and the remap-keys file.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "platform/memory/memory_platform.h"
#include "shared/remap_keys.h"
#include "shared/sync_stamp.h"

namespace wdx {
namespace {

class CompanionFilesTest : public ::testing::Test {
 protected:
  std::filesystem::path File(const char* name) { return mem.NativePath(std::string("C:\\") + name); }
  std::string Bytes(const std::filesystem::path& f) {
    std::ifstream in(f, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  platform::MemoryPlatform mem;
};

TEST_F(CompanionFilesTest, SyncStampLayoutAndMissingFile) {
  const std::array<std::uint8_t, kSyncRecSize> fixture = {0x07, 0x01, 0, 0, 0x01, 0x00,
                                                          0, 0, 0, 0, 0x40, 0x41, 0xE1, 0x40};  // 1996-09-29 as a day count
  TSyncRec r;
  r.Decode(fixture);
  EXPECT_EQ(r.counter, 263);
  EXPECT_EQ(r.state, sync_state::kInUse);
  EXPECT_DOUBLE_EQ(r.heartbeat, 35338.0);
  std::array<std::uint8_t, kSyncRecSize> again{};
  r.Encode(again);
  EXPECT_EQ(again, fixture);

  // A missing stamp is created: counter 1, free.
  TSyncRec s;
  s.heartbeat = 2.5;
  ASSERT_TRUE(ReadSyncStamp(File("LIB.WDY"), s));
  EXPECT_EQ(s, (TSyncRec{1, sync_state::kFree, 2.5}));
  EXPECT_EQ(Bytes(File("LIB.WDY")).size(), kSyncRecSize);
  TSyncRec read;
  ASSERT_TRUE(ReadSyncStamp(File("LIB.WDY"), read));
  EXPECT_EQ(read, s);

  // A cut-off stamp is no stamp: what was known stays.
  std::ofstream(File("CUT.WDY"), std::ios::binary) << "abc";
  EXPECT_FALSE(ReadSyncStamp(File("CUT.WDY"), read));
  EXPECT_EQ(read, s);
  EXPECT_EQ(SyncStampFileName("C:\\Data\\Shared.wdx"), "C:\\Data\\Shared.WDY");
}

TEST_F(CompanionFilesTest, RemapTableNameRuleAndFile) {
  const SwapTable& n = NeutralSwapTable();
  EXPECT_EQ(n[0], 'A');
  EXPECT_EQ(n[26], 'a');
  EXPECT_EQ(n[52], '0');
  EXPECT_EQ(n[62], ' ');
  EXPECT_EQ(n[77], '/');
  EXPECT_EQ(n[78], ':');
  EXPECT_EQ(n[85], '[');
  EXPECT_EQ(n[91], '}');
  EXPECT_EQ(n[92], '~');
  EXPECT_FALSE(SwapsInUse(n));

  const struct {
    const char* library;
    const char* remap;
  } names[] = {{"C:\\W\\WENDX.WDX", "C:\\W\\WENDX.WDS"},
               {"C:\\W\\mine.wdx", "C:\\W\\mine.WDS"},
               {"C:\\W\\macros.lib", "C:\\W\\macros.WDS"},  // never the library itself
               {"C:\\W.D\\macros", "C:\\W.D\\macros.WDS"},
               {"C:\\W\\odd.wds", "C:\\W\\odd.wds.WDS"}};
  for (const auto& c : names) EXPECT_EQ(SwapFileName(c.library), c.remap) << c.library;

  // A library without its file gets a neutral one; a file where a types b is loaded and in use.
  const auto native = [this](const std::string& p) { return mem.NativePath(p); };
  SwapTable t{};
  GetSwapFile("C:\\LIB.WDX", native, t);
  EXPECT_EQ(t, n);
  EXPECT_EQ(Bytes(File("LIB.WDS")), std::string(n.begin(), n.end()));
  SwapTable remapped = n;
  remapped[26] = 'b';
  ASSERT_TRUE(SaveSwapKeys(File("LIB.WDS"), remapped));
  GetSwapFile("C:\\LIB.WDX", native, t);
  EXPECT_EQ(t, remapped);
  EXPECT_TRUE(SwapsInUse(t));

  // A short file leaves the table as it was.
  std::ofstream(File("SHORT.WDS"), std::ios::binary) << "ABC";
  EXPECT_FALSE(LoadSwapKeys(File("SHORT.WDS"), t));
  EXPECT_EQ(t, remapped);
}

}  // namespace
}  // namespace wdx
