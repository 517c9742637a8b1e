// The main window as a router: each message, timer and start-up step reaches the collaborator
// it belongs to, which tests replace.
#include <gtest/gtest.h>

#include <algorithm>

#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

class RoutingTest : public PlayerFixture {
 protected:
  void StartWith(LoggingParts& parts) {
    configs->LoadAllSettings();
    main = std::make_unique<TMainWin>(p, *hook, block, settings, *configs, kFolder, parts.All());
    ASSERT_TRUE(main->Create());
  }
  Log Deliver(LoggingParts& parts, std::uint32_t message, std::uint64_t w, std::int64_t l) {
    parts.log.clear();
    mem.desktop.PostMessage(main->MainWindow(), message, w, l);
    Pump();
    return parts.log;
  }
};

TEST_F(RoutingTest, StartAndCloseReachTheCollaborators) {
  mem.profile.WriteString(kSettingsFileName, "Misc", "Start Editor", "Yes");
  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /A hello /WRMC:\\X.WRM";
  LoggingParts parts;
  StartWith(parts);
  // (The new library's system macros and the hot-key map were told to the editor before.)
  const auto tray = std::find(parts.log.begin(), parts.log.end(), "tray create");
  EXPECT_EQ(Log(tray, parts.log.end()), (Log{"tray create", "tray on", "tray menu icons", "schedules", "editor up",
                                             "floaters open", "mouse areas"}));

  parts.log.clear();
  mem.clock.Advance(kStartupTimerMs);
  Pump();
  mem.clock.Advance(kStartupTimerMs);  // once only
  Pump();
  EXPECT_EQ(std::count(parts.log.begin(), parts.log.end(), "start-up macros HELLO C:\\X.WRM"), 1);
  EXPECT_GE(std::count(parts.log.begin(), parts.log.end(), "schedule tick"), 1);

  parts.log.clear();
  main->RequestClose();
  EXPECT_EQ(parts.log, (Log{"editor quit", "floaters closed"}));
}

TEST_F(RoutingTest, MessagesReachTheCollaborators) {
  LoggingParts parts;
  StartWith(parts);
  const struct {
    std::uint32_t message;
    std::uint64_t w;
    std::int64_t l;
    Log expected;
  } cases[] = {
      {UM_FOREGROUND, 77, 0, {"foreground 77", "foreground 77"}},
      {UM_PROGRAMSCHANGED, 0, 0, {"programs"}},
      {UM_MOUSELEFT, 1, 0x00200010, {"click 1 1 2097168"}},
      {UM_MOUSEMIDDLE, 2, 5, {"click 3 2 5"}},
      {UM_CAPTURECHAR, 0, 'q', {"captured q"}},
      {UM_CAPTUREDONE, 12, 0, {"recorded 12"}},
      {UM_ABBREKEYCHAR, kAbbrekeyCapsOn, 'w', {"abbrekey 2 w"}},
      {UM_IDLEENDED, 0, 0, {"idle ended"}},
      {UM_CONTROL, control::kSchedulesChanged, 0, {"schedules"}},
      {UM_CONTROL, control::kEditorClosing, 0, {"editor forget"}},
      {UM_CONTROL, control::kMenuIcons, 0, {"tray menu icons gone", "tray menu icons"}},
      {UM_CONTROL, control::kMainIcon, 1, {"tray on"}},
      {UM_CONTROL, control::kMainIcon, 2, {}},
      {UM_CONTROL, control::kOpenFloater, 4, {"floater open 4"}},
      {UM_CONTROL, control::kReopenFloaters, 0, {"floaters closed", "floaters open"}},
      {UM_CONTROL, control::kCloseFloater, 4, {"floater closed 4"}},
      {UM_CONTROL, control::kReloadMouse, 0, {"mouse areas gone", "mouse areas"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.message) + " " + std::to_string(c.w));
    EXPECT_EQ(Deliver(parts, c.message, c.w, c.l), c.expected);
  }
}

TEST_F(RoutingTest, SystemMacrosReachTheRecorderTheMenusAndTheEditor) {
  AddMacros(SystemMacros());
  AddMacros({{"menu", kCtrlA, scope::kPopupMenu, "", ""},
             {"menu b", kCtrlA + 1, scope::kPopupMenu, "", ""},
             {"calc only", kCtrlA + 1, scope::kProgram, "CALC.EXE", ""}});
  LoggingParts parts;
  StartWith(parts);
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 263, notepad), Log{"record"});
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 265, notepad), Log{"top window menu"});
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 262, notepad), Log{"editor up"});
  // Asking another process for its name is slow: the program in front is taken, as it is
  // now, only when a program-scoped macro has the key.
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, kCtrlA, notepad), Log{"popup 6"});
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, kCtrlA + 1, notepad),
            (Log{"front program " + std::to_string(notepad), "popup 7"}));
}

TEST_F(RoutingTest, BrowseModeKeepsTheEditorClosed) {
  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /B";
  AddMacros(SystemMacros());
  LoggingParts parts;
  StartWith(parts);
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 262, Front("Calc")), Log{});
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kNoticeCaption) + ": " + kBrowseModeEditorText});
}

}  // namespace
}  // namespace wdx::player::testing
