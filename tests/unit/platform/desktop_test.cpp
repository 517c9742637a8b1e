#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"

namespace wdx::platform {
namespace {

class DesktopTest : public ::testing::Test {
 protected:
  WindowHandle Own(const std::string& title, MessageHandler h = nullptr) {
    return mem.desktop.CreateOwnWindow("WdxTestClass", title, h ? h : [this](const Message& m) {
      log.push_back(m);
      return std::int64_t{0};
    });
  }
  MemoryPlatform mem;
  std::vector<Message> log;
};

TEST_F(DesktopTest, TimerAndPostedMessageArriveOnlyWhileAHandlerPumpsAndInOrder) {
  MessageLoop& loop = mem.desktop;
  std::vector<std::string> events;
  WindowHandle w = kNoWindow;
  w = Own("Runner", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kUser + 1) {
      // A "macro" running inside a handler: it posts, lets time pass, and only sees the
      // messages once it pumps.
      events.push_back("run start");
      mem.desktop.PostMessage(w, msg::kUser + 2, 7, 0);
      mem.clock.Sleep(150);
      events.push_back("slept");
      loop.PumpPending();
      events.push_back("run end");
    } else if (m.message == msg::kUser + 2) {
      events.push_back("posted " + std::to_string(m.wparam));
    } else if (m.message == msg::kTimer) {
      events.push_back("timer " + std::to_string(m.wparam));
    }
    return 0;
  });
  loop.SetTimer(w, 3, 100);
  mem.desktop.PostMessage(w, msg::kUser + 1, 0, 0);
  loop.PumpPending();
  EXPECT_EQ(events, (std::vector<std::string>{"run start", "slept", "posted 7", "timer 3", "run end"}));
  // Nothing more is due: the timer restarted its interval when it fired.
  events.clear();
  loop.PumpPending();
  EXPECT_TRUE(events.empty());
  mem.clock.Advance(100);
  loop.PumpPending();
  EXPECT_EQ(events, (std::vector<std::string>{"timer 3"}));
}

TEST_F(DesktopTest, SettingATimerAgainRestartsItsInterval) {
  WindowHandle w = Own("T");
  MessageLoop& loop = mem.desktop;
  loop.SetTimer(w, 1, 1000);
  mem.clock.Advance(900);
  loop.SetTimer(w, 1, 1000);  // re-enabled: the next tick is 1000 ms from now
  mem.clock.Advance(900);
  loop.PumpPending();
  EXPECT_TRUE(log.empty());
  mem.clock.Advance(100);
  loop.PumpPending();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].message, msg::kTimer);
  EXPECT_EQ(log[0].wparam, 1u);
  // A killed timer stays silent, and missed intervals are not caught up.
  loop.SetTimer(w, 2, 50);
  loop.KillTimer(w, 1);
  mem.clock.Advance(5000);
  loop.PumpPending();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].wparam, 2u);
}

TEST_F(DesktopTest, RunDeliversUntilQuitAndMovesTheClockToTheNextTimer) {
  WindowHandle w = kNoWindow;
  int ticks = 0;
  w = Own("Main", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kTimer && ++ticks == 3) mem.desktop.PostMessage(w, msg::kClose, 0, 0);
    if (m.message == msg::kClose) mem.desktop.Quit(5);
    return 0;
  });
  mem.desktop.SetTimer(w, 1, 60000);
  const std::uint32_t before = mem.clock.TickCount();
  EXPECT_EQ(mem.desktop.Run(), 5);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(mem.clock.TickCount() - before, 180000u);
  EXPECT_FALSE(mem.desktop.QuitRequested());  // Run consumed the quit
  // With no timer and nothing queued, Run reports that it would wait for ever.
  mem.desktop.KillTimer(w, 1);
  EXPECT_EQ(mem.desktop.Run(), MemoryDesktop::kRunIdle);
}

TEST_F(DesktopTest, NestedPumpStopsOnQuitAndWaitAndPumpWaitsForTheTimer) {
  WindowHandle w = Own("W");
  mem.desktop.SetTimer(w, 9, 250);
  EXPECT_TRUE(mem.desktop.WaitAndPump(1000));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].wparam, 9u);
  EXPECT_TRUE(mem.desktop.WaitAndPump(100));  // times out: nothing due within 100 ms
  EXPECT_EQ(log.size(), 1u);
  mem.desktop.PostMessage(w, msg::kUser, 0, 0);
  mem.desktop.Quit(0);
  EXPECT_FALSE(mem.desktop.PumpPending());
  EXPECT_EQ(log.size(), 1u);  // nothing is delivered once a quit is requested
}

TEST_F(DesktopTest, SendCallsTheHandlerAtOnceAndDestroyDropsQueueAndTimers) {
  WindowHandle w = Own("W", [&](const Message& m) -> std::int64_t {
    log.push_back(m);
    return m.message == msg::kUser ? 42 : 0;
  });
  EXPECT_EQ(mem.desktop.SendMessage(w, msg::kUser, 1, 2), 42);
  ASSERT_EQ(log.size(), 1u);
  mem.desktop.PostMessage(w, msg::kUser + 5, 0, 0);
  mem.desktop.SetTimer(w, 1, 10);
  mem.desktop.DestroyOwnWindow(w);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].message, msg::kDestroy);
  mem.clock.Advance(100);
  mem.desktop.PumpPending();
  EXPECT_EQ(log.size(), 2u);
  EXPECT_FALSE(mem.desktop.IsWindow(w));
  EXPECT_FALSE(mem.desktop.PostMessage(w, msg::kUser, 0, 0));
}

TEST_F(DesktopTest, WindowsAreFoundWithoutCaseAndKeepTheirZOrderAndForeground) {
  WindowSystem& ws = mem.desktop;
  WindowHandle own = Own("Wendrix Player");
  WindowHandle pad = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 77);
  WindowHandle calc = mem.desktop.AddForeignWindow("Calculator", "SciCalc", 78);
  mem.desktop.SetForeground(pad);
  EXPECT_EQ(ws.EnumTopLevelWindows(), (std::vector<WindowHandle>{pad, calc, own}));
  EXPECT_EQ(ws.FindWindow("", "UNTITLED - NOTEPAD"), pad);
  EXPECT_EQ(ws.FindWindow("notepad", ""), pad);
  EXPECT_EQ(ws.FindWindow("wdxtestclass", "wendrix player"), own);
  EXPECT_EQ(ws.FindWindow("", "Untitled"), kNoWindow);  // exact titles only
  EXPECT_FALSE(ws.IsVisible(own));
  EXPECT_EQ(ws.GetWindowProcessId(calc), 78u);

  EXPECT_TRUE(ws.BringToFront(calc));
  EXPECT_EQ(ws.GetForegroundWindow(), calc);
  EXPECT_EQ(ws.EnumTopLevelWindows().front(), calc);
  mem.desktop.SetRefuseBringToFront(true);
  EXPECT_FALSE(ws.BringToFront(pad));
  EXPECT_EQ(ws.GetForegroundWindow(), calc);
  EXPECT_EQ(mem.desktop.bringToFrontCalls, (std::vector<WindowHandle>{calc, pad}));

  // Minimising the foreground window hands the front to the next one.
  EXPECT_TRUE(ws.ShowWindow(calc, ShowMode::kMinimize));
  EXPECT_TRUE(ws.IsMinimized(calc));
  EXPECT_EQ(ws.GetForegroundWindow(), pad);

  // Messages to another program's window are recorded, not delivered.
  EXPECT_TRUE(ws.PostMessage(pad, msg::kUser + 11, 6, 2));
  ASSERT_EQ(mem.desktop.foreignMessages.size(), 1u);
  EXPECT_EQ(mem.desktop.foreignMessages[0].wparam, 6u);
  EXPECT_EQ(mem.desktop.PendingCount(), 0u);
}

TEST(MemoryClockTest, SleepMovesBothClocksAndTheTickCountWraps) {
  MemoryClock clock;
  clock.SetNow(36526.0);  // 2000-01-01
  clock.SetTickCount(0xFFFFFF00u);
  clock.Sleep(0x200);
  EXPECT_EQ(clock.TickCount(), 0x100u);
  EXPECT_DOUBLE_EQ(clock.Now(), 36526.0 + 512.0 / 86400000.0);
  int woken = 0;
  clock.SetAdvanceHook([&](MemoryClock&) { ++woken; });
  clock.Advance(5);
  EXPECT_EQ(woken, 1);
}

}  // namespace
}  // namespace wdx::platform
