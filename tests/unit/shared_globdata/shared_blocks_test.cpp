#include "shared/shared_blocks.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/memory/memory_kernel_objects.h"
#include "shared/glob_data.h"

namespace wdx {
namespace {

TEST(SharedBlocks, SwapBlockRoundTripsTheHandMadeFixture) {
  std::vector<std::uint8_t> fixture(104, 0);
  fixture[0] = 0x78, fixture[1] = 0x56, fixture[2] = 0x34, fixture[3] = 0x12;  // player window
  fixture[4] = 0x01, fixture[5] = 0x00, fixture[6] = 0x00, fixture[7] = 0xC0;  // remap hook
  for (int k = 0; k < 93; ++k) fixture[8 + k] = static_cast<std::uint8_t>(k + 32);
  fixture[103] = 9;

  std::vector<std::uint8_t> bytes = fixture;
  TSwapKeysShare view(bytes);
  EXPECT_EQ(view.PlayerWindow(), 0x12345678u);
  EXPECT_EQ(view.RemapHook(), 0xC0000001u);
  EXPECT_EQ(view.Table()[0], 32);
  EXPECT_EQ(view.Table()[92], 124);
  EXPECT_EQ(view.ClearedAtStart(), 9);

  std::vector<std::uint8_t> written(104, 0);
  TSwapKeysShare out(written);
  out.SetPlayerWindow(0x12345678);
  out.SetRemapHook(0xC0000001);
  out.SetTable(view.Table());
  out.SetClearedAtStart(9);
  EXPECT_EQ(written, fixture);
}

TEST(SharedBlocks, CbtBlockRoundTripsTheHandMadeFixture) {
  const std::vector<std::uint8_t> fixture = {0x10, 0x00, 0x01, 0x00,  0x22, 0x11, 0x00, 0x80, 0x10,
                                             0x00, 0x01, 0x00, 0x10, 0x00, 0x01, 0x00, 0x01};
  std::vector<std::uint8_t> written(17, 0);
  TCbtShare out(written);
  out.SetPlayerWindow(0x00010010);
  out.SetCbtHook(0x80001122);
  out.SetNtFlag(true);
  EXPECT_EQ(written, fixture);
  std::vector<std::uint8_t> bytes = fixture;
  TCbtShare in(bytes);
  EXPECT_EQ(in.PlayerWindow(), 0x00010010u);
  EXPECT_EQ(in.CbtHook(), 0x80001122u);
  EXPECT_TRUE(in.NtFlag());
}

TEST(SharedBlocks, ViewsRefuseAShortBuffer) {
  std::vector<std::uint8_t> tooSmall(16);
  EXPECT_THROW(TCbtShare{tooSmall}, std::out_of_range);
  EXPECT_THROW(TSwapKeysShare{tooSmall}, std::out_of_range);
}

TEST(SharedBlocks, PlayerCreatesEverythingTheEditorOpens) {
  platform::MemoryKernelObjects player;
  platform::MemoryKernelObjects editor(nullptr, player.Namespace());

  EXPECT_FALSE(InstanceMarkerExists(player));
  auto marker = CreateInstanceMarker(player);
  ASSERT_TRUE(marker);
  EXPECT_TRUE(InstanceMarkerExists(editor));  // a second player sees the first

  ProgramBlockObjects program;
  ASSERT_EQ(program.Create(player), ProgramBlockObjects::Result::kOk);
  EXPECT_TRUE(player.Exists(kGlobBlockName));
  EXPECT_TRUE(player.Exists(kGlobMutexName));
  EXPECT_TRUE(player.Exists(kSecondMutexName));
  EXPECT_TRUE(player.Exists(kSwapMutexName));

  MainWindowBlocks blocks;
  ASSERT_TRUE(blocks.CreateSwapBlock(player, 0x4242));
  ASSERT_TRUE(blocks.CreateCbtBlock(player, 0x4242, true));
  SwapTable table{};
  table[26] = 'b';
  blocks.Swap().SetTable(table);

  // The editor's side: open the remap block and its mutex, copy the table under the mutex.
  auto mutex = editor.OpenMutex(kSwapMutexName);
  ASSERT_TRUE(mutex);
  EXPECT_EQ(mutex->Wait(500), platform::WaitResult::kSignaled);
  auto swap = editor.OpenSharedMemory(kSwapBlockName, kSwapBlockSize);
  ASSERT_TRUE(swap);
  TSwapKeysShare seen(Bytes(swap->Data(), swap->Size()));
  EXPECT_EQ(seen.PlayerWindow(), 0x4242u);
  EXPECT_EQ(seen.Table()[26], 'b');
  mutex->Release();

  auto cbt = editor.OpenSharedMemory(kCbtBlockName, kCbtBlockSize);
  ASSERT_TRUE(cbt);
  TCbtShare cbtView(Bytes(cbt->Data(), cbt->Size()));
  EXPECT_EQ(ReadU32(ConstBytes(cbt->Data(), 17), 8), 0x4242u);
  EXPECT_TRUE(cbtView.NtFlag());

  // FormClose closes the main window's blocks; the program block's live on.
  swap.reset();
  cbt.reset();
  blocks.Close();
  EXPECT_FALSE(player.Exists(kSwapBlockName));
  EXPECT_FALSE(player.Exists(kCbtBlockName));
  EXPECT_TRUE(player.Exists(kGlobBlockName));
  mutex.reset();
  program.Close();
  EXPECT_FALSE(player.Exists(kGlobBlockName));
  EXPECT_FALSE(player.Exists(kSwapMutexName));
  marker.reset();
  EXPECT_FALSE(InstanceMarkerExists(player));
}

}  // namespace
}  // namespace wdx
