// Finding and bringing up windows and programs, and finding the editor.
#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "player/core/editor_link.h"
#include "player/core/window_activation.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player {
namespace {

class WindowActivationTest : public ::testing::Test {
 protected:
  WindowActivationTest() : p(mem.Get()), activation(p, true) {}
  platform::MemoryPlatform mem;
  platform::Platform p;
  WindowActivation activation;
};

TEST_F(WindowActivationTest, TitleExactlyElsePartOfItWithoutCase) {
  const auto report = mem.desktop.AddForeignWindow("Report - Notepad", "Notepad", 0x10);
  const auto untitled = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 0x11);  // in front of it
  mem.desktop.AddForeignWindow("", "NoTitle", 0x12);
  EXPECT_EQ(activation.GetWinHandle("report - notepad"), report);  // exact, without case
  EXPECT_EQ(activation.GetWinHandle("NOTEPAD"), untitled);         // the first containing it, front first
  EXPECT_EQ(activation.GetWinHandle("Calculator"), platform::kNoWindow);

  mem.desktop.ShowWindow(report, platform::ShowMode::kMinimize);
  platform::WindowHandle target = platform::kNoWindow;
  ASSERT_TRUE(activation.ActivateIt("REPORT", target));
  EXPECT_EQ(target, report);
  EXPECT_FALSE(mem.desktop.IsMinimized(report));
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), report);
  EXPECT_EQ(mem.system.lockTimeoutsSet, (std::vector<std::uint32_t>{0, 200000}));
  EXPECT_FALSE(activation.ActivateIt("Calculator", target));
  EXPECT_EQ(target, report);
}

TEST_F(WindowActivationTest, ProgramByItsExecutable) {
  mem.processes.Bind();
  mem.processes.Add(0x20, "explorer.exe");
  mem.processes.Add(0x21, "WordPad.exe");
  mem.desktop.AddForeignWindow("", "Hidden", 0x21);
  const auto doc = mem.desktop.AddForeignWindow("Doc - WordPad", "WordPad", 0x21);
  const auto calc = mem.desktop.AddForeignWindow("Calculator", "Calc", 0x22);
  mem.processes.Add(0x22, "calc.exe");
  mem.desktop.SetForeground(calc);
  EXPECT_EQ(activation.GetTopProgram(), "calc.exe");

  platform::WindowHandle target = platform::kNoWindow;
  ASSERT_TRUE(activation.ActivateProg("WORDPAD", target));  // its first titled window
  EXPECT_EQ(target, doc);
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), doc);
  EXPECT_FALSE(activation.ActivateProg("NOTEPAD", target));

  // The 95 family only looks at the program in front.
  mem.desktop.SetForeground(calc);
  activation.SetNt(false);
  EXPECT_FALSE(activation.ActivateProg("WORDPAD", target));
  EXPECT_TRUE(activation.ActivateProg("CALC", target));
  EXPECT_EQ(target, calc);
}

TEST_F(WindowActivationTest, EditorLinkFindsTheEditorByItsTitleRemembersAndForgetsIt) {
  testing::CountingDesktop walks(mem.clock);
  EditorLink link(mem.desktop, &mem.shell, activation, "C:\\WENDRIX");
  link.Tell(3, 0);  // no editor: nothing sent, searched again next time
  EXPECT_FALSE(link.Searched());
  EXPECT_TRUE(mem.desktop.foreignMessages.empty());

  const auto editor = mem.desktop.AddForeignWindow("Wendrix Editor - C:\\WENDX.WDX", "TEditor", 0x30);
  link.Tell(6, 14);
  ASSERT_EQ(mem.desktop.foreignMessages.size(), 1u);
  EXPECT_EQ(mem.desktop.foreignMessages[0].window, editor);
  EXPECT_EQ(mem.desktop.foreignMessages[0].message, UM_CONTROL);
  EXPECT_EQ(mem.desktop.foreignMessages[0].wparam, 6u);
  EXPECT_EQ(mem.desktop.foreignMessages[0].lparam, 14);

  // A newer editor window is not looked for while the first is remembered...
  mem.desktop.RemoveWindow(editor);
  const auto second = mem.desktop.AddForeignWindow("WENDRIX EDITOR", "TEditor", 0x31);
  // ...but a remembered window that is gone is searched for again.
  link.Tell(1, 0);
  EXPECT_EQ(mem.desktop.foreignMessages.back().window, second);
  link.Forget();
  EXPECT_FALSE(link.Searched());

  // In a run of notices a search that found nothing is not repeated; after it, it is.
  mem.desktop.RemoveWindow(second);
  EditorLink counted(walks, &mem.shell, activation, "C:\\WENDRIX");
  {
    EditorNotices notices(counted);
    for (int i = 1; i <= 500; ++i) counted.Tell(8, i);
  }
  EXPECT_EQ(walks.walks, 1);
  counted.Tell(8, 1);
  EXPECT_EQ(walks.walks, 2);
  EXPECT_EQ(EditorStartParameters(1234), "-RXB /RH1234");
}

}  // namespace
}  // namespace wdx::player
