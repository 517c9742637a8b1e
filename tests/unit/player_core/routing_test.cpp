// The main window as a router: each message, timer and start-up step reaches the collaborator
// it belongs to, which tests replace.
#include <gtest/gtest.h>

#include <algorithm>

#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

using Log = std::vector<std::string>;

// Every collaborator at once, each call logged.
class LoggingParts : public EditorPeer,
                     public TrayIcons,
                     public MacroMenus,
                     public Recorder,
                     public Scheduler,
                     public WindowWatcher,
                     public ProgramWatcher,
                     public MouseAreas,
                     public Abbrekeys {
 public:
  Log log;
  Collaborators All() {
    Collaborators c;
    c.editor = this;
    c.tray = this;
    c.menus = this;
    c.recorder = this;
    c.scheduler = this;
    c.windows = this;
    c.programs = this;
    c.mouse = this;
    c.abbrekeys = this;
    return c;
  }

  void Tell(std::uint32_t code, std::int64_t argument) override {
    log.push_back("editor tell " + std::to_string(code) + " " + std::to_string(argument));
  }
  void Forget() override { log.push_back("editor forget"); }
  void BringUpOrStart(bool minimized) override { log.push_back(minimized ? "editor up minimized" : "editor up"); }
  void Quit() override { log.push_back("editor quit"); }
  void BeginNotices() override { log.push_back("editor notices"); }
  void EndNotices() override { log.push_back("editor notices end"); }
  void SetRunningImage(bool running) override { log.push_back(running ? "tray running" : "tray idle"); }
  void SetTip(const std::string&) override {}
  void SetActive(bool active) override { log.push_back(active ? "tray on" : "tray off"); }
  void Create() override { log.push_back("tray create"); }
  void LoadMenuIcons() override { log.push_back("tray menu icons"); }
  void ClearMenuIcons() override { log.push_back("tray menu icons gone"); }
  int ShowPopup(int macro) override {
    log.push_back("popup " + std::to_string(macro));
    return -1;
  }
  void ShowTopWindowMenu() override { log.push_back("top window menu"); }
  void OpenFloaters() override { log.push_back("floaters open"); }
  void CloseFloaters() override { log.push_back("floaters closed"); }
  void OpenFloater(int macro) override { log.push_back("floater open " + std::to_string(macro)); }
  void CloseFloater(int macro) override { log.push_back("floater closed " + std::to_string(macro)); }
  void StartOrStop() override { log.push_back("record"); }
  void Captured(std::uint8_t c) override { log.push_back(std::string("captured ") + static_cast<char>(c)); }
  void Done(int macro) override { log.push_back("recorded " + std::to_string(macro)); }
  void CheckAndSetTime() override { log.push_back("schedules"); }
  void Tick() override { log.push_back("schedule tick"); }
  void RunStartupMacros(const CommandLineOptions& o) override {
    log.push_back("start-up macros " + o.startupNickname.value_or("-") + " " + o.startupFile.value_or("-"));
  }
  void IdleEnded() override { log.push_back("idle ended"); }
  void ForegroundChanged(platform::WindowHandle w) override { log.push_back("foreground " + std::to_string(w)); }
  void TakeForegroundProgram(platform::WindowHandle w) override { log.push_back("front program " + std::to_string(w)); }
  void ProgramsChanged() override { log.push_back("programs"); }
  void Load() override { log.push_back("mouse areas"); }
  void Clear() override { log.push_back("mouse areas gone"); }
  void Clicked(int button, std::uint64_t hit, std::int64_t point) override {
    log.push_back("click " + std::to_string(button) + " " + std::to_string(hit) + " " + std::to_string(point));
  }
  void Typed(std::uint64_t flags, std::uint8_t c) override {
    log.push_back("abbrekey " + std::to_string(flags) + " " + static_cast<char>(c));
  }
};

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
  AddMacros({{"menu", kCtrlA, scope::kPopupMenu, "", ""}});
  LoggingParts parts;
  StartWith(parts);
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 263, notepad), Log{"record"});
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 265, notepad), Log{"top window menu"});
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, 262, notepad), Log{"editor up"});
  // A key that runs a macro: the program in front is taken as it is now.
  EXPECT_EQ(Deliver(parts, UM_HOTKEY, kCtrlA, notepad),
            (Log{"front program " + std::to_string(notepad), "popup 6"}));
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
