// The shared platform scenarios over the in-memory stand-in (the Windows tests run the same
// scenarios over the Win32 adapter).
#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "platform_scenarios.h"

namespace wdx::platform {
namespace {

class MemoryOtherProcess : public test::OtherProcess {
 public:
  MemoryOtherProcess(MemoryClock* clock, std::shared_ptr<KernelNamespace> ns)
      : kernel_(std::make_unique<MemoryKernelObjects>(clock, std::move(ns))) {}
  void Do(const std::function<void(KernelObjects&)>& work) override { work(*kernel_); }
  void End() override { kernel_.reset(); }

 private:
  std::unique_ptr<MemoryKernelObjects> kernel_;
};

class MemoryScenarios : public ::testing::Test {
 protected:
  MemoryPlatform mem;
  test::KernelWorld kernel{mem.kernel,
                           [this] { return std::make_unique<MemoryOtherProcess>(&mem.clock, mem.kernel.Namespace()); },
                           "Wdx"};
  test::DesktopWorld desktop{mem.desktop, mem.desktop, mem.clock,
                             [this](const std::string& title, MessageHandler h) {
                               return mem.desktop.CreateOwnWindow("WdxScenarioClass", title, std::move(h));
                             }};
};

TEST_F(MemoryScenarios, NamedMapping) { test::NamedMappingIsSharedAndGoesWithItsLastHandle(kernel); }
TEST_F(MemoryScenarios, Mutex) { test::MutexIsOwnedRecursivelyTimesOutForAnotherAndIsAbandonedByItsEnd(kernel); }
TEST_F(MemoryScenarios, Semaphore) { test::SemaphoreCountsUpToItsMaximum(kernel); }
TEST_F(MemoryScenarios, PumpingOrder) { test::TimerAndPostedMessageArriveOnlyWhileAHandlerPumpsAndInOrder(desktop); }
TEST_F(MemoryScenarios, TimerRestart) { test::SettingATimerAgainRestartsItsInterval(desktop); }
TEST_F(MemoryScenarios, QuitUnwinds) { test::RunEndsWithTheQuitCodeAndNestedPumpsUnwind(desktop); }
TEST_F(MemoryScenarios, Foreground) { test::BringToFrontMovesTheForegroundAndFindsWindowsWithoutCase(desktop); }
TEST_F(MemoryScenarios, SizeAndPosition) { test::SizeAndPositionEachKeepTheOtherHalfOfTheRectangle(desktop); }

}  // namespace
}  // namespace wdx::platform
