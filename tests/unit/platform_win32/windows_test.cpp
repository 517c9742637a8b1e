// The adapter's windows, messages and timers against the real user32 (under Wine in CI).
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace wdx::platform
