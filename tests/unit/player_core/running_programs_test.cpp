// The running programs and the program in front, as the hook library reports program starts,
// program ends and foreground changes.
#include <gtest/gtest.h>

#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

class RunningProgramsTest : public PlayerFixture {};

TEST_F(RunningProgramsTest, ProgramStartsAndEndsListTheRunningExecutables) {
  Start();
  mem.processes.Add(0x10, "explorer.exe");
  mem.processes.Add(0x11, "System");                             // no ".EXE": never listed
  mem.processes.Add(0x12, "A Very Long Program Name Indeed.exe");  // 25 characters kept
  hook->FeedProgramsChanged();
  Pump();
  ASSERT_EQ(hook->Block().RunningCount(), 2);
  EXPECT_EQ(hook->Block().RunningProgram(1), "EXPLORER.EXE");
  EXPECT_EQ(hook->Block().RunningProgram(2), "A VERY LONG PROGRAM NAME ");

  mem.processes.Remove(0x10);
  hook->FeedProgramsChanged();
  Pump();
  ASSERT_EQ(hook->Block().RunningCount(), 1);
  EXPECT_EQ(hook->Block().RunningProgram(1), "A VERY LONG PROGRAM NAME ");
  EXPECT_EQ(hook->Block().RunningProgram(2), "");

  // The 201st is not listed.
  for (std::uint32_t i = 0; i < 210; ++i) mem.processes.Add(0x100 + i, "P" + std::to_string(i) + ".EXE");
  hook->FeedProgramsChanged();
  Pump();
  EXPECT_EQ(hook->Block().RunningCount(), kGlobMaxRunningPrograms);
  EXPECT_EQ(hook->Block().RunningProgram(200), "P198.EXE");
}

TEST_F(RunningProgramsTest, ForegroundChangeTakesItsProgramAndListsThePrograms) {
  Start();
  const platform::WindowHandle calc = Front("Calculator", 0x22, "calc.exe");
  hook->FeedForeground(calc);
  Pump();
  EXPECT_EQ(block.ForegroundProgram(), "CALC.EXE");
  EXPECT_EQ(hook->Block().ForegroundProgram(), "CALC.EXE");
  EXPECT_EQ(hook->Block().RunningCount(), 1);

  // Once the player closes, reports change nothing.
  main->RequestClose();
  mem.processes.Add(0x23, "notepad.exe");
  mem.desktop.PostMessage(main->MainWindow(), UM_PROGRAMSCHANGED, 0, 0);
  Pump();
  EXPECT_EQ(block.RunningCount(), 1);
}

// With "Auto Hooks" on, a program that starts or ends installs the hooks again at once and once
// more five seconds later; a report that changes nothing, or "Auto Hooks" off, leaves them.
TEST_F(RunningProgramsTest, AutoHooksInstallTheHooksAgainWhenProgramsComeAndGo) {
  mem.profile.WriteString(kSettingsFileName, "Misc", "Auto Hooks", "Yes");
  Start();
  const auto programsChanged = [&] {
    hook->FeedProgramsChanged();
    Pump();
    return block.KeyboardHook();
  };
  const std::uint32_t first = block.KeyboardHook();
  mem.processes.Add(0x30, "notepad.exe");
  const std::uint32_t second = programsChanged();
  EXPECT_NE(second, first);
  EXPECT_EQ(hook->Block().KeyboardHook(), second);
  EXPECT_TRUE(hook->KeyboardInstalled());
  EXPECT_TRUE(mem.desktop.HasTimer(main->MainWindow(), kHookTimerId));
  EXPECT_EQ(programsChanged(), second);  // the same programs: nothing
  mem.clock.Advance(kHookTimerMs);
  Pump();
  EXPECT_NE(block.KeyboardHook(), second);
  EXPECT_FALSE(mem.desktop.HasTimer(main->MainWindow(), kHookTimerId));

  settings.autoHooks = false;
  const std::uint32_t now = block.KeyboardHook();
  mem.processes.Add(0x31, "calc.exe");
  EXPECT_EQ(programsChanged(), now);
}

}  // namespace
}  // namespace wdx::player::testing
