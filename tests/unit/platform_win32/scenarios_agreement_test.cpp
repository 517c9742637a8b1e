// The shared platform scenarios over the real Win32 adapter (under Wine in CI): what the
// native tests expect of the stand-in, Windows does too.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"
#include "platform_scenarios.h"

namespace wdx::platform {
namespace {

// Mutexes belong to threads on Windows: the other side is a thread of its own that runs the
// work it is handed, and ends (abandoning what it holds) on End.
class ThreadOtherProcess : public test::OtherProcess {
 public:
  ThreadOtherProcess() : thread_([this] { Serve(); }) {}
  ~ThreadOtherProcess() override { End(); }
  void Do(const std::function<void(KernelObjects&)>& work) override {
    std::unique_lock<std::mutex> lock(m_);
    work_.push_back(work);
    cv_.notify_all();
    cv_.wait(lock, [this] { return work_.empty() && !busy_; });
  }
  void End() override {
    {
      std::lock_guard<std::mutex> lock(m_);
      ending_ = true;
      cv_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Serve() {
    Win32KernelObjects kernel;
    std::unique_lock<std::mutex> lock(m_);
    for (;;) {
      cv_.wait(lock, [this] { return ending_ || !work_.empty(); });
      if (work_.empty()) return;
      auto work = work_.front();
      work_.pop_front();
      busy_ = true;
      lock.unlock();
      work(kernel);
      lock.lock();
      busy_ = false;
      cv_.notify_all();
    }
  }
  std::mutex m_;
  std::condition_variable cv_;
  std::deque<std::function<void(KernelObjects&)>> work_;
  bool busy_ = false;
  bool ending_ = false;
  std::thread thread_;
};

class Win32Scenarios : public ::testing::Test {
 protected:
  void TearDown() override {
    for (WindowHandle w : created_) real.windows.DestroyOwnWindow(w);
    real.loop.PumpPending();
  }
  Win32Platform real;
  std::vector<WindowHandle> created_;
  test::KernelWorld kernel{real.kernel, [] { return std::make_unique<ThreadOtherProcess>(); },
                           "WdxScenario" + std::to_string(GetCurrentProcessId())};
  test::DesktopWorld desktop{real.windows, real.loop, real.clock,
                             [this](const std::string& title, MessageHandler h) {
                               WindowHandle w = real.windows.CreateOwnWindow("WdxScenarioClass", title, std::move(h));
                               created_.push_back(w);
                               return w;
                             }};
};

TEST_F(Win32Scenarios, NamedMapping) { test::NamedMappingIsSharedAndGoesWithItsLastHandle(kernel); }
TEST_F(Win32Scenarios, Mutex) { test::MutexIsOwnedRecursivelyTimesOutForAnotherAndIsAbandonedByItsEnd(kernel); }
TEST_F(Win32Scenarios, Semaphore) { test::SemaphoreCountsUpToItsMaximum(kernel); }
TEST_F(Win32Scenarios, PumpingOrder) { test::TimerAndPostedMessageArriveOnlyWhileAHandlerPumpsAndInOrder(desktop); }
TEST_F(Win32Scenarios, TimerRestart) { test::SettingATimerAgainRestartsItsInterval(desktop); }
TEST_F(Win32Scenarios, QuitUnwinds) { test::RunEndsWithTheQuitCodeAndNestedPumpsUnwind(desktop); }
TEST_F(Win32Scenarios, Foreground) { test::BringToFrontMovesTheForegroundAndFindsWindowsWithoutCase(desktop); }
TEST_F(Win32Scenarios, SizeAndPosition) { test::SizeAndPositionEachKeepTheOtherHalfOfTheRectangle(desktop); }

}  // namespace
}  // namespace wdx::platform
