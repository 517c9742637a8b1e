// The adapter's windows, messages and timers against the real user32 (under Wine in CI).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "platform/win32/windows_api.h"

namespace wdx::platform {
namespace {

class Win32WindowsTest : public ::testing::Test {
 protected:
  WindowHandle Own(const std::string& title, MessageHandler h = nullptr) {
    WindowHandle w = real.windows.CreateOwnWindow("WdxPlatformTestClass", title,
                                                  h ? h : [this](const Message& m) -> std::int64_t {
                                                    if (m.message != msg::kDestroy) log.push_back(m);
                                                    return 0;
                                                  });
    created.push_back(w);
    return w;
  }
  void TearDown() override {
    for (WindowHandle w : created) real.windows.DestroyOwnWindow(w);
    real.loop.PumpPending();
  }
  // Pumps until `done` or the time runs out.
  bool PumpUntil(const std::function<bool()>& done, std::uint32_t ms = 3000) {
    const std::uint32_t start = real.clock.TickCount();
    while (!done()) {
      if (real.clock.TickCount() - start > ms) return false;
      real.loop.WaitAndPump(20);
    }
    return true;
  }

  Win32Platform real;
  std::vector<WindowHandle> created;
  std::vector<Message> log;
};

TEST_F(Win32WindowsTest, OwnHiddenWindowIsFoundByClassOrTitleWithoutCase) {
  WindowSystem& ws = real.windows;
  WindowHandle w = Own("Wdx Platform Test Window");
  ASSERT_NE(w, kNoWindow);
  EXPECT_TRUE(ws.IsWindow(w));
  EXPECT_FALSE(ws.IsVisible(w));
  EXPECT_EQ(ws.FindWindow("WdxPlatformTestClass", ""), w);
  EXPECT_EQ(ws.FindWindow("wdxplatformtestclass", ""), w);
  EXPECT_EQ(ws.FindWindow("", "WDX PLATFORM TEST WINDOW"), w);
  EXPECT_EQ(ws.FindWindow("", "Wdx Platform Test"), kNoWindow);
  EXPECT_EQ(ws.GetTitle(w), "Wdx Platform Test Window");
  EXPECT_EQ(ws.GetClassName(w), "WdxPlatformTestClass");
  EXPECT_EQ(ws.GetWindowProcessId(w), GetCurrentProcessId());
  auto all = ws.EnumTopLevelWindows();
  EXPECT_NE(std::find(all.begin(), all.end(), w), all.end());

  EXPECT_TRUE(ws.SetTitle(w, "Renamed \xE9t\xE9"));
  EXPECT_EQ(ws.GetTitle(w), "Renamed \xE9t\xE9");
  EXPECT_TRUE(ws.MoveWindow(w, {10, 20, 310, 220}));
  EXPECT_EQ(ws.GetWindowRect(w), (Rect{10, 20, 310, 220}));
  EXPECT_TRUE(ws.ShowWindow(w, ShowMode::kShowNoActivate));
  EXPECT_TRUE(ws.IsVisible(w));
  EXPECT_TRUE(ws.ShowWindow(w, ShowMode::kMinimize));
  EXPECT_TRUE(ws.IsMinimized(w));
  EXPECT_TRUE(ws.ShowWindow(w, ShowMode::kHide));
  EXPECT_FALSE(ws.IsVisible(w));

  ws.DestroyOwnWindow(w);
  EXPECT_FALSE(ws.IsWindow(w));
  EXPECT_FALSE(ws.PostMessage(w, msg::kUser, 0, 0));
  created.clear();
}

TEST_F(Win32WindowsTest, BringToFrontMovesTheForeground) {
  WindowSystem& ws = real.windows;
  WindowHandle a = Own("Wdx Front A");
  WindowHandle b = Own("Wdx Front B");
  ws.ShowWindow(a, ShowMode::kShowNormal);
  ws.ShowWindow(b, ShowMode::kShowNormal);
  real.loop.PumpPending();
  EXPECT_TRUE(ws.BringToFront(a));
  EXPECT_EQ(ws.GetForegroundWindow(), a);
  EXPECT_TRUE(ws.BringToFront(b));
  EXPECT_EQ(ws.GetForegroundWindow(), b);
}

TEST_F(Win32WindowsTest, PostedMessageAndTimerArriveOnlyWhileAHandlerPumpsAndInOrder) {
  std::vector<std::string> events;
  WindowHandle w = kNoWindow;
  w = Own("Wdx Pump", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kUser + 1) {
      events.push_back("run start");
      real.windows.PostMessage(w, msg::kUser + 2, 7, 0);
      real.loop.SetTimer(w, 3, 50);
      real.clock.Sleep(200);  // the timer is due, the message queued: neither arrives yet
      events.push_back("slept");
      real.loop.PumpPending();
      events.push_back("run end");
      real.loop.KillTimer(w, 3);
    } else if (m.message == msg::kUser + 2) {
      events.push_back("posted " + std::to_string(m.wparam));
    } else if (m.message == msg::kTimer) {
      events.push_back("timer " + std::to_string(m.wparam));
    }
    return m.message == msg::kUser + 9 ? 1234 : 0;
  });
  EXPECT_EQ(real.windows.SendMessage(w, msg::kUser + 9, 0, 0), 1234);
  ASSERT_TRUE(real.windows.PostMessage(w, msg::kUser + 1, 0, 0));
  EXPECT_TRUE(events.empty());
  real.loop.PumpPending();
  EXPECT_EQ(events, (std::vector<std::string>{"run start", "slept", "posted 7", "timer 3", "run end"}));
}

TEST_F(Win32WindowsTest, SettingATimerAgainRestartsItsInterval) {
  WindowHandle w = Own("Wdx Timer");
  auto ticks = [this] {
    return std::count_if(log.begin(), log.end(), [](const Message& m) { return m.message == msg::kTimer; });
  };
  ASSERT_TRUE(real.loop.SetTimer(w, 1, 400));
  real.clock.Sleep(250);
  real.loop.PumpPending();
  ASSERT_TRUE(real.loop.SetTimer(w, 1, 400));  // re-enabled: 400 ms from now
  const std::uint32_t reset = real.clock.TickCount();
  real.clock.Sleep(250);
  real.loop.PumpPending();
  EXPECT_EQ(ticks(), 0);  // 500 ms after the first start, but only 250 after the restart
  ASSERT_TRUE(PumpUntil([&] { return ticks() > 0; }));
  EXPECT_GE(real.clock.TickCount() - reset, 350u);
  ASSERT_EQ(log.back().wparam, 1u);
  real.loop.KillTimer(w, 1);
  log.clear();
  real.clock.Sleep(500);
  real.loop.PumpPending();
  EXPECT_EQ(ticks(), 0);
}

TEST_F(Win32WindowsTest, RunEndsWithTheQuitCodeAndNestedPumpsUnwind) {
  WindowHandle w = kNoWindow;
  bool nestedSawQuit = false;
  w = Own("Wdx Run", [&](const Message& m) -> std::int64_t {
    if (m.message == msg::kClose) {
      real.loop.Quit(3);
      nestedSawQuit = !real.loop.PumpPending();
    }
    return 0;
  });
  real.windows.PostMessage(w, msg::kClose, 0, 0);
  EXPECT_EQ(real.loop.Run(), 3);
  EXPECT_TRUE(nestedSawQuit);
  EXPECT_FALSE(real.loop.QuitRequested());
  EXPECT_TRUE(real.windows.IsWindow(w));  // closing is the handler's decision
}

}  // namespace
}  // namespace wdx::platform
