#include <gtest/gtest.h>

#include <filesystem>

#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "player/core/main_win.h"
#include "player/core/startup.h"

namespace wdx::player {
namespace {

using platform::Message;
using platform::msg::kClose;

// The whole player on the stand-in: its main window exists, hidden, under the names other
// programs look for while the loop runs, keeps serving other messages, and a close ends the
// loop with code 0 and removes the window.
TEST(MainWindowTest, RunsHiddenUntilClosed) {
  platform::MemoryPlatform mem;
  mem.processes.executablePath = "C:\\WENDRIX\\WENDPLAY.EXE";
  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /NSE";
  platform::Platform p = mem.Get();
  hook::InProcessHookLibrary hook(mem.desktop, &mem.kernel);
  platform::WindowHandle seen = platform::kNoWindow;
  bool visible = true;
  bool existedAfterUserMessage = false;

  // A foreign program's timeline, played from a timer of its own window inside our loop: first
  // it looks for the main window and posts it a message of no interest, then it closes it.
  platform::WindowHandle driver = mem.desktop.CreateOwnWindow("Driver", "", [&](const Message& m) -> std::int64_t {
    if (m.message != platform::msg::kTimer) return 0;
    if (seen == platform::kNoWindow) {
      seen = mem.desktop.FindWindow(kMainWindowClass, kMainWindowTitle);
      visible = mem.desktop.IsVisible(seen);
      mem.desktop.PostMessage(seen, platform::msg::kUser + 19, 0, 0);
    } else if (!existedAfterUserMessage) {
      existedAfterUserMessage = mem.desktop.IsWindow(seen);
      mem.desktop.PostMessage(seen, kClose, 0, 0);
    }
    return 0;
  });
  mem.desktop.SetTimer(driver, 1, 100);

  EXPECT_EQ(RunPlayer(p, hook), 0);
  ASSERT_NE(seen, platform::kNoWindow);
  EXPECT_FALSE(visible);
  EXPECT_TRUE(existedAfterUserMessage);
  EXPECT_FALSE(mem.desktop.IsWindow(seen));
  EXPECT_EQ(mem.desktop.FindWindow(kMainWindowClass, ""), platform::kNoWindow);
}

// Without its hook library the player says so, with the library's path, and runs on.
TEST(MainWindowTest, MissingHookLibraryIsSaidAndThePlayerRunsOn) {
  platform::MemoryPlatform mem;
  std::filesystem::create_directories(mem.NativePath("C:\\WENDRIX"));
  mem.processes.executablePath = "C:\\WENDRIX\\WENDPLAY.EXE";
  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /NSE";
  platform::Platform p = mem.Get();
  hook::InProcessHookLibrary hook(mem.desktop, &mem.kernel);
  bool ranAfterTheBox = false;
  platform::WindowHandle driver = mem.desktop.CreateOwnWindow("Driver", "", [&](const Message& m) -> std::int64_t {
    if (m.message != platform::msg::kTimer) return 0;
    const platform::WindowHandle player = mem.desktop.FindWindow(kMainWindowClass, kMainWindowTitle);
    ranAfterTheBox = !mem.boxes.shown.empty() && player != platform::kNoWindow;
    mem.desktop.PostMessage(player, kClose, 0, 0);
    return 0;
  });
  mem.desktop.SetTimer(driver, 1, 100);

  EXPECT_EQ(RunPlayer(p, hook, nullptr, false), 0);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].caption, kSystemErrorCaption);
  EXPECT_EQ(mem.boxes.shown[0].text, HookLibraryMissingText("C:\\WENDRIX\\WDXHOOK.dll"));
  EXPECT_NE(mem.boxes.shown[0].text.find("C:\\WENDRIX\\WDXHOOK.dll"), std::string::npos);
  EXPECT_TRUE(ranAfterTheBox);
}

}  // namespace
}  // namespace wdx::player
