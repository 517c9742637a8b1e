#include <gtest/gtest.h>

#include <cstring>

#include "platform/memory/memory_platform.h"

namespace wdx::platform {
namespace {

TEST(KernelObjectsTest, NamedMappingIsSharedAndGoesWithItsLastHandle) {
  MemoryClock clock;
  MemoryKernelObjects player(&clock);
  MemoryKernelObjects editor(&clock, player.Namespace());
  bool existed = true;
  auto block = player.CreateSharedMemory("WDTT1KGR", 93, &existed);
  ASSERT_TRUE(block);
  EXPECT_FALSE(existed);
  EXPECT_EQ(block->Data()[0], 0);  // a new mapping starts zeroed
  std::memcpy(block->Data(), "abc", 3);

  auto view = editor.OpenSharedMemory("WDTT1KGR", 93);
  ASSERT_TRUE(view);
  EXPECT_EQ(std::memcmp(view->Data(), "abc", 3), 0);
  EXPECT_FALSE(editor.OpenSharedMemory("WDTT1KGR", 94));  // larger than the mapping
  EXPECT_FALSE(editor.OpenSharedMemory("wdtt1kgr", 93));  // kernel names keep their case
  auto again = editor.CreateSharedMemory("WDTT1KGR", 93, &existed);
  ASSERT_TRUE(again);
  EXPECT_TRUE(existed);
  EXPECT_FALSE(editor.CreateMutex("WDTT1KGR", false));  // the name is taken by another kind

  // Closing every handle destroys the object: nothing stale blocks a new start.
  block.reset();
  view.reset();
  EXPECT_TRUE(player.Exists("WDTT1KGR"));
  again.reset();
  EXPECT_FALSE(player.Exists("WDTT1KGR"));
  EXPECT_FALSE(editor.OpenSharedMemory("WDTT1KGR", 93));
}

TEST(KernelObjectsTest, MutexIsOwnedRecursivelyAndTimesOutForAnotherProcess) {
  MemoryClock clock;
  MemoryKernelObjects player(&clock);
  auto mine = player.CreateMutex("WendLock", true);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->Wait(0), WaitResult::kSignaled);  // recursion: owned twice now

  auto other = std::make_unique<MemoryKernelObjects>(&clock, player.Namespace());
  bool existed = false;
  auto theirs = other->CreateMutex("WendLock", true, &existed);  // initial ownership ignored
  ASSERT_TRUE(theirs);
  EXPECT_TRUE(existed);
  const std::uint32_t t0 = clock.TickCount();
  EXPECT_EQ(theirs->Wait(500), WaitResult::kTimeout);
  EXPECT_EQ(clock.TickCount() - t0, 500u);  // the time-out passed on the clock
  EXPECT_EQ(theirs->Wait(kInfinite), WaitResult::kFailed);  // would hang: reported, not hung
  EXPECT_FALSE(theirs->Release());  // not the owner

  EXPECT_TRUE(mine->Release());
  EXPECT_EQ(theirs->Wait(0), WaitResult::kTimeout);  // still held once
  EXPECT_TRUE(mine->Release());
  EXPECT_FALSE(mine->Release());
  EXPECT_EQ(theirs->Wait(0), WaitResult::kSignaled);

  // The other process ends holding it: the next waiter gets it, abandoned.
  theirs.reset();
  other.reset();
  EXPECT_EQ(mine->Wait(0), WaitResult::kAbandoned);
  EXPECT_TRUE(mine->Release());
}

TEST(KernelObjectsTest, SemaphoreCountsAndTheWaitHookPlaysTheOtherSide) {
  MemoryClock clock;
  MemoryKernelObjects kernel(&clock);
  EXPECT_FALSE(kernel.CreateSemaphore("S", 3, 2));  // initial above maximum
  auto sem = kernel.CreateSemaphore("WendWait", 1, 2);
  ASSERT_TRUE(sem);
  EXPECT_EQ(sem->Wait(0), WaitResult::kSignaled);
  EXPECT_EQ(sem->Wait(10), WaitResult::kTimeout);
  EXPECT_TRUE(sem->Release(2));
  EXPECT_FALSE(sem->Release(1));  // beyond the maximum
  EXPECT_EQ(sem->Wait(0), WaitResult::kSignaled);
  EXPECT_EQ(sem->Wait(0), WaitResult::kSignaled);

  auto other = kernel.OpenSemaphore("WendWait");
  ASSERT_TRUE(other);
  kernel.SetWaitHook([&](const std::string& name) {
    EXPECT_EQ(name, "WendWait");
    other->Release(1);
  });
  EXPECT_EQ(sem->Wait(kInfinite), WaitResult::kSignaled);
  EXPECT_FALSE(kernel.OpenMutex("WendWait"));
  EXPECT_FALSE(kernel.OpenSemaphore("Missing"));
}

}  // namespace
}  // namespace wdx::platform
