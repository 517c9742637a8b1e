// The library's companion files both programs share: the sync stamp and the remap-keys file.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "platform/memory/memory_platform.h"
#include "shared/remap_keys.h"
#include "shared/shared_blocks.h"
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

  // A file that is not one record leaves the table as it was when loaded on its own.
  std::ofstream(File("SHORT.WDS"), std::ios::binary) << "ABC";
  EXPECT_EQ(LoadSwapKeys(File("SHORT.WDS"), t), SwapFileState::kWrongSize);
  EXPECT_EQ(t, remapped);
}

TEST_F(CompanionFilesTest, RemapFileThatIsNoTableIsKeptAndNotUsed) {
  const auto native = [this](const std::string& p) { return mem.NativePath(p); };
  SwapTable remapped = NeutralSwapTable();
  remapped[26] = 'b';
  const std::string garbage(200, '\x07');
  const struct {
    std::string bytes;
    SwapFileState state;
    const char* message;
  } cases[] = {
      {std::string(92, 'x'), SwapFileState::kWrongSize,
       "The remap-keys file C:\\LIB.WDS is damaged (92 bytes instead of 93).  Keys are not remapped; the file was "
       "left as it is."},
      {garbage, SwapFileState::kWrongSize,
       "The remap-keys file C:\\LIB.WDS is damaged (200 bytes instead of 93).  Keys are not remapped; the file was "
       "left as it is."},
      {std::string(), SwapFileState::kWrongSize,
       "The remap-keys file C:\\LIB.WDS is damaged (0 bytes instead of 93).  Keys are not remapped; the file was "
       "left as it is."},
  };
  for (const auto& c : cases) {
    std::ofstream(File("LIB.WDS"), std::ios::binary | std::ios::trunc) << c.bytes;
    // The table of the library loaded before does not stay in force for this one.
    SwapTable t = remapped;
    const SwapFileResult r = GetSwapFile("C:\\LIB.WDX", native, t);
    EXPECT_EQ(r.state, c.state) << c.bytes.size();
    EXPECT_EQ(t, NeutralSwapTable());
    EXPECT_EQ(r.Problem(), c.message);
    EXPECT_EQ(Bytes(File("LIB.WDS")), c.bytes) << "nothing overwritten";
  }

  // A name that is a folder cannot be read: neutral, said, the folder left alone.
  std::filesystem::create_directories(File("DIR.WDS"));
  SwapTable t = remapped;
  const SwapFileResult r = GetSwapFile("C:\\DIR.WDX", native, t);
  EXPECT_EQ(r.state, SwapFileState::kUnreadable);
  EXPECT_EQ(t, NeutralSwapTable());
  EXPECT_EQ(r.Problem(), "The remap-keys file C:\\DIR.WDS could not be read.  Keys are not remapped.");
  EXPECT_TRUE(std::filesystem::is_directory(File("DIR.WDS")));

  // The missing file and a good one say nothing.
  EXPECT_EQ(GetSwapFile("C:\\NEW.WDX", native, t).Problem(), "");
  EXPECT_EQ(GetSwapFile("C:\\NEW.WDX", native, t).Problem(), "");
}

TEST_F(CompanionFilesTest, SharedTableIsReachedOnlyUnderItsMutex) {
  SharedSwapTable shared(mem.kernel);
  // No player: no mutex, no block; every access is skipped.
  EXPECT_EQ(shared.Read(0), std::nullopt);
  EXPECT_FALSE(shared.Write(0, 'Q'));

  ProgramBlockObjects objects;
  ASSERT_EQ(objects.Create(mem.kernel), ProgramBlockObjects::Result::kOk);
  EXPECT_EQ(shared.Read(0), std::nullopt) << "the mutex alone is no table";
  MainWindowBlocks blocks;
  ASSERT_TRUE(blocks.CreateSwapBlock(mem.kernel, 1));
  blocks.Swap().SetTable(NeutralSwapTable());
  EXPECT_EQ(shared.Read(26), 'a');
  EXPECT_TRUE(shared.Write(26, 'b'));
  EXPECT_EQ(blocks.Swap().Table()[26], 'b');
  EXPECT_TRUE(SwapsInUse(*shared.ReadTable()));
  EXPECT_EQ(shared.Read(93), std::nullopt);
  EXPECT_FALSE(shared.Write(-1, 'x'));
  EXPECT_EQ(SwapSlot('a'), 26);
  EXPECT_EQ(SwapSlot('{'), -1);
  EXPECT_EQ(SwapSlot(200), -1);
}

}  // namespace
}  // namespace wdx
