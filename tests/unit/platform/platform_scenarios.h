// Scenarios that hold for the in-memory stand-in and for the real Win32 adapter alike: named
// kernel objects, timers and posted messages under nested pumping, the foreground. The native
// tests run them over the stand-in, the Windows tests over the adapter under Wine, so the two
// cannot drift apart through hand-copied expectations.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/kernel_objects.h"
#include "platform/message_loop.h"
#include "platform/window_system.h"

namespace wdx::platform::test {

// Another process on the same desktop. Work handed to Do runs there (the stand-in: a second set
// of kernel objects over the same namespace; Windows: a thread of its own, since mutexes are
// owned by threads). End makes it end with whatever it still holds.
class OtherProcess {
 public:
  virtual ~OtherProcess() = default;
  virtual void Do(const std::function<void(KernelObjects&)>& work) = 0;
  virtual void End() = 0;
};

// The world a kernel scenario runs in. Names are made unique by the caller's prefix, so runs of
// the Windows tests never meet objects of another run.
struct KernelWorld {
  KernelObjects& kernel;
  std::function<std::unique_ptr<OtherProcess>()> startOther;
  std::string prefix;
};

inline void NamedMappingIsSharedAndGoesWithItsLastHandle(KernelWorld& w) {
  const std::string name = w.prefix + "Map";
  bool existed = true;
  auto a = w.kernel.CreateSharedMemory(name, 4096, &existed);
  ASSERT_TRUE(a);
  EXPECT_FALSE(existed);
  EXPECT_EQ(a->Data()[100], 0);  // a new mapping starts zeroed
  std::memcpy(a->Data(), "shared", 6);

  auto other = w.startOther();
  std::unique_ptr<SharedMemory> theirs;
  other->Do([&](KernelObjects& k) {
    theirs = k.OpenSharedMemory(name, 4096);
    ASSERT_TRUE(theirs);
    EXPECT_EQ(theirs->Size(), 4096u);
    EXPECT_EQ(std::memcmp(theirs->Data(), "shared", 6), 0);
    theirs->Data()[6] = '!';
    auto again = k.CreateSharedMemory(name, 4096, &existed);
    ASSERT_TRUE(again);
    EXPECT_TRUE(existed);
  });
  EXPECT_EQ(a->Data()[6], '!');
  EXPECT_FALSE(w.kernel.OpenMutex(name));  // the name belongs to a mapping

  other->Do([&](KernelObjects&) { theirs.reset(); });
  other->End();
  EXPECT_TRUE(w.kernel.OpenSharedMemory(name, 4096));  // still held here
  a.reset();
  EXPECT_FALSE(w.kernel.OpenSharedMemory(name, 4096));  // gone with its last handle
  EXPECT_FALSE(w.kernel.OpenSharedMemory(w.prefix + "NoSuchMap", 16));
}

inline void MutexIsOwnedRecursivelyTimesOutForAnotherAndIsAbandonedByItsEnd(KernelWorld& w) {
  const std::string name = w.prefix + "Mutex";
  auto mine = w.kernel.CreateMutex(name, true);
  ASSERT_TRUE(mine);
  EXPECT_EQ(mine->Wait(0), WaitResult::kSignaled);  // recursion: owned twice now

  auto other = w.startOther();
  std::unique_ptr<NamedMutex> theirs;
  other->Do([&](KernelObjects& k) {
    bool existed = false;
    theirs = k.CreateMutex(name, true, &existed);  // initial ownership of an existing one: ignored
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(existed);
    EXPECT_EQ(theirs->Wait(50), WaitResult::kTimeout);
    EXPECT_FALSE(theirs->Release());  // not the owner
  });
  EXPECT_TRUE(mine->Release());
  other->Do([&](KernelObjects&) { EXPECT_EQ(theirs->Wait(0), WaitResult::kTimeout); });  // still held once
  EXPECT_TRUE(mine->Release());
  EXPECT_FALSE(mine->Release());
  other->Do([&](KernelObjects&) { EXPECT_EQ(theirs->Wait(0), WaitResult::kSignaled); });

  // The other side ends holding it: the next waiter gets it, abandoned.
  other->Do([&](KernelObjects&) { theirs.reset(); });
  other->End();
  EXPECT_EQ(mine->Wait(1000), WaitResult::kAbandoned);
  EXPECT_TRUE(mine->Release());
  EXPECT_EQ(mine->Wait(0), WaitResult::kSignaled);
  EXPECT_TRUE(mine->Release());
  EXPECT_FALSE(w.kernel.OpenMutex(w.prefix + "NoSuchMutex"));
}

inline void SemaphoreCountsUpToItsMaximum(KernelWorld& w) {
  const std::string name = w.prefix + "Sem";
  EXPECT_FALSE(w.kernel.CreateSemaphore(w.prefix + "BadSem", 3, 2));  // initial above maximum
  auto sem = w.kernel.CreateSemaphore(name, 1, 2);
  ASSERT_TRUE(sem);
  EXPECT_EQ(sem->Wait(0), WaitResult::kSignaled);
  EXPECT_EQ(sem->Wait(10), WaitResult::kTimeout);
  auto other = w.startOther();
  std::unique_ptr<NamedSemaphore> theirs;
  other->Do([&](KernelObjects& k) {
    theirs = k.OpenSemaphore(name);
    ASSERT_TRUE(theirs);
    EXPECT_TRUE(theirs->Release(2));
    EXPECT_FALSE(theirs->Release(1));  // beyond the maximum
    theirs.reset();
  });
  other->End();
  EXPECT_EQ(sem->Wait(0), WaitResult::kSignaled);
  EXPECT_EQ(sem->Wait(0), WaitResult::kSignaled);
  EXPECT_EQ(sem->Wait(0), WaitResult::kTimeout);
  EXPECT_FALSE(w.kernel.OpenMutex(name));  // the name belongs to a semaphore
  EXPECT_FALSE(w.kernel.OpenSemaphore(w.prefix + "NoSuchSem"));
}

// The desktop a window scenario runs on: the program's own windows, its loop and clock.
struct DesktopWorld {
  WindowSystem& windows;
  MessageLoop& loop;
  Clock& clock;
  // Makes a window of the program's own with the handler; it is destroyed with the world.
  std::function<WindowHandle(const std::string& title, MessageHandler handler)> own;

  // Pumps until `done` or `ms` have passed on the world's clock.
  bool PumpUntil(const std::function<bool()>& done, std::uint32_t ms = 3000) {
    const std::uint32_t start = clock.TickCount();
    while (!done()) {
      if (clock.TickCount() - start > ms) return false;
      loop.WaitAndPump(20);
    }
    return true;
  }
};

inline void TimerAndPostedMessageArriveOnlyWhileAHandlerPumpsAndInOrder(DesktopWorld& d) {
  std::vector<std::string> events;
  WindowHandle w = kNoWindow;
  w = d.own("Wdx Pump", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kUser + 1) {
      // A "macro" running inside a handler: it posts and lets time pass, and sees the message
      // and the due timer only once it pumps.
      events.push_back("run start");
      d.windows.PostMessage(w, msg::kUser + 2, 7, 0);
      d.loop.SetTimer(w, 3, 50);
      d.clock.Sleep(200);
      events.push_back("slept");
      d.loop.PumpPending();
      events.push_back("run end");
      d.loop.KillTimer(w, 3);
    } else if (m.message == msg::kUser + 2) {
      events.push_back("posted " + std::to_string(m.wparam));
    } else if (m.message == msg::kTimer) {
      events.push_back("timer " + std::to_string(m.wparam));
    }
    return m.message == msg::kUser + 9 ? 1234 : 0;
  });
  EXPECT_EQ(d.windows.SendMessage(w, msg::kUser + 9, 0, 0), 1234);  // at once, not queued
  ASSERT_TRUE(d.windows.PostMessage(w, msg::kUser + 1, 0, 0));
  EXPECT_TRUE(events.empty());
  d.loop.PumpPending();
  EXPECT_EQ(events, (std::vector<std::string>{"run start", "slept", "posted 7", "timer 3", "run end"}));
  events.clear();
  d.clock.Sleep(100);
  d.loop.PumpPending();
  EXPECT_TRUE(events.empty());  // killed: nothing more
}

inline void SettingATimerAgainRestartsItsInterval(DesktopWorld& d) {
  std::vector<Message> log;
  WindowHandle w = d.own("Wdx Timer", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kTimer) log.push_back(m);
    return 0;
  });
  ASSERT_TRUE(d.loop.SetTimer(w, 1, 400));
  d.clock.Sleep(250);
  d.loop.PumpPending();
  ASSERT_TRUE(d.loop.SetTimer(w, 1, 400));  // re-enabled: 400 ms from now
  const std::uint32_t reset = d.clock.TickCount();
  d.clock.Sleep(250);
  d.loop.PumpPending();
  EXPECT_TRUE(log.empty());  // 500 ms after the first start, but only 250 after the restart
  ASSERT_TRUE(d.PumpUntil([&] { return !log.empty(); }));
  EXPECT_GE(d.clock.TickCount() - reset, 350u);
  EXPECT_EQ(log.back().wparam, 1u);
  d.loop.KillTimer(w, 1);
  log.clear();
  d.clock.Sleep(500);
  d.loop.PumpPending();
  EXPECT_TRUE(log.empty());
}

inline void RunEndsWithTheQuitCodeAndNestedPumpsUnwind(DesktopWorld& d) {
  bool nestedSawQuit = false;
  WindowHandle w = d.own("Wdx Run", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kClose) {
      d.loop.Quit(3);
      nestedSawQuit = !d.loop.PumpPending();
    }
    return 0;
  });
  d.windows.PostMessage(w, msg::kClose, 0, 0);
  EXPECT_EQ(d.loop.Run(), 3);
  EXPECT_TRUE(nestedSawQuit);
  EXPECT_FALSE(d.loop.QuitRequested());
  EXPECT_TRUE(d.windows.IsWindow(w));  // closing is the handler's decision
}

inline void BringToFrontMovesTheForegroundAndFindsWindowsWithoutCase(DesktopWorld& d) {
  const auto quiet = [](const Message&) -> std::int64_t { return 0; };
  WindowHandle a = d.own("Wdx Front A", quiet);
  WindowHandle b = d.own("Wdx Front B", quiet);
  d.windows.ShowWindow(a, ShowMode::kShowNormal);
  d.windows.ShowWindow(b, ShowMode::kShowNormal);
  d.loop.PumpPending();
  EXPECT_TRUE(d.windows.BringToFront(a));
  EXPECT_EQ(d.windows.GetForegroundWindow(), a);
  EXPECT_TRUE(d.windows.BringToFront(b));
  EXPECT_EQ(d.windows.GetForegroundWindow(), b);
  EXPECT_EQ(d.windows.FindWindow("", "WDX FRONT A"), a);
  EXPECT_EQ(d.windows.GetTitle(b), "Wdx Front B");
  EXPECT_EQ(d.windows.FindWindow("", "Wdx Front Nobody"), kNoWindow);
}

inline void SizeAndPositionEachKeepTheOtherHalfOfTheRectangle(DesktopWorld& d) {
  WindowHandle w = d.own("Wdx Sized", [](const Message&) -> std::int64_t { return 0; });
  ASSERT_TRUE(d.windows.MoveWindow(w, Rect{10, 20, 310, 220}));
  EXPECT_TRUE(d.windows.SetWindowSize(w, 400, 300));
  EXPECT_EQ(d.windows.GetWindowRect(w), (Rect{10, 20, 410, 320}));
  EXPECT_TRUE(d.windows.SetWindowPosition(w, -30, 60));
  EXPECT_EQ(d.windows.GetWindowRect(w), (Rect{-30, 60, 370, 360}));
  EXPECT_FALSE(d.windows.SetWindowSize(kNoWindow, 1, 1));
  EXPECT_FALSE(d.windows.SetWindowPosition(kNoWindow, 1, 1));
}

}  // namespace wdx::platform::test
