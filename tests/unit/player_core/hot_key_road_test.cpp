// The hot-key road against the stand-in platform and hook: a key pressed as the hook library
// sees it, UM_HOTKEY, the choice of the macro, its run, and every refusal on the way.
#include <gtest/gtest.h>

#include <algorithm>

#include "forms/scripted_runner.h"
#include "forms/user.h"
#include "player/prompts/form_prompts.h"
#include "player/prompts/message_windows.h"
#include "player/prompts/pause_window.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"
#include "shared/sync_stamp.h"

namespace wdx::player::testing {
namespace {

class HotKeyRoadTest : public PlayerFixture {};

TEST_F(HotKeyRoadTest, KeyFromTheHookTypesTheMacroIntoTheWindowInFront) {
  AddMacros(SystemMacros());
  AddMacros({{"hello", kCtrlAltH, scope::kGlobal, "", "hi\r\nyo"}, {"off", kCtrlA, scope::kGlobal, "", "x", false}});
  Start();
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  // The map the hook library watches holds the active macros' keys only.
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlAltH));
  EXPECT_FALSE(hook->Block().HotKeyMapped(kCtrlA));
  EXPECT_TRUE(hook->Block().HotKeyMapped(261));

  Press('H', true, true);
  EXPECT_EQ(Typed(), "HI\nYO");
  EXPECT_EQ(main->State().targetWindow, notepad);
  EXPECT_EQ(main->State().currentMacroNumber, 6);
  EXPECT_EQ(RunEndMarkers(), 1);
  EXPECT_TRUE(block.InUse());
  EXPECT_TRUE(hook->Block().InUse());
  EXPECT_TRUE(mem.input.KeysDown().empty());

  Press('A', true, false);  // a disabled macro's key is not even reported
  EXPECT_EQ(Typed(), "HI\nYO");

  mem.clock.Advance(kClearTimerMs);
  Pump();
  EXPECT_FALSE(block.InUse());
  EXPECT_FALSE(hook->Block().InUse());
}

// A running editor hears that a run began and that it ended (the group of the in-use flag, told
// twice); the first notice goes through the player's queue, so looking for the editor never
// delays the first key, and it is not lost on the way.
TEST_F(HotKeyRoadTest, EditorHearsOfTheRunsBeginningAndEndInOrder) {
  AddMacros({{"hello", kCtrlAltH, scope::kGlobal, "", "hi"}});
  Start();
  const platform::WindowHandle editor = mem.desktop.AddForeignWindow("Wendrix Editor - WENDX.WDX", "TEditor", 0x400);
  Front("Untitled - Notepad");
  Press('H', true, true);
  mem.clock.Advance(kClearTimerMs);
  Pump();
  int notices = 0;
  for (const platform::Message& m : mem.desktop.foreignMessages) {
    notices += m.window == editor && m.message == UM_CONTROL && m.wparam == editor_notice::kDataGroup &&
               m.lparam == data_group::kInUse;
  }
  EXPECT_EQ(Typed(), "HI");
  EXPECT_EQ(notices, 2);
  EXPECT_FALSE(block.InUse());
}

// The user still holds the hot key's Ctrl and Alt when the message arrives: the macro waits until
// they are up (so its keys are not taken as shortcuts), but not for ever.
TEST_F(HotKeyRoadTest, RunWaitsForTheHotKeysModifiersToBeLetGo) {
  AddMacros({{"hello", kCtrlAltH, scope::kGlobal, "", "hi"}});
  Start();
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  mem.input.SetKeyDown(vk::kControl, true);
  mem.input.SetKeyDown(vk::kMenu, true);
  const std::uint64_t pressed = mem.clock.Monotonic();
  std::size_t keysWhenLetGo = 99;
  mem.clock.SetAdvanceHook([&](platform::MemoryClock& c) {
    if (c.Monotonic() - pressed >= 300 && keysWhenLetGo == 99) {
      keysWhenLetGo = mem.input.keys.size();
      mem.input.SetKeyDown(vk::kControl, false);
      mem.input.SetKeyDown(vk::kMenu, false);
    }
  });
  PostHotKey(kCtrlAltH, notepad);
  Pump();
  EXPECT_EQ(keysWhenLetGo, 0u);
  EXPECT_EQ(Typed(), "HI");
  mem.clock.SetAdvanceHook(nullptr);

  // A modifier that stays down holds the run back 2 seconds at most.
  mem.input.SetKeyDown(vk::kShift, true);
  const std::uint64_t before = mem.clock.Monotonic();
  PostHotKey(kCtrlAltH, notepad);
  Pump();
  EXPECT_EQ(Typed(), "HIHI");
  EXPECT_GE(mem.clock.Monotonic() - before, 2000u);
  EXPECT_LT(mem.clock.Monotonic() - before, 3000u);
}

struct ScopeCase {
  const char* name;
  std::vector<MacroSpec> macros;
  std::string frontTitle;
  std::string frontExe;
  std::string otherTitle;  // a window further back, of process 0x300
  std::string otherExe;
  std::string expected;       // what is typed
  bool otherComesUp = false;  // the other window was brought to the front and is the target
};

TEST_F(HotKeyRoadTest, ScopePassesChooseByWindowAndProgram) {
  const MacroSpec glob{"glob", kCtrlA, scope::kGlobal, "", "glob"};
  const std::vector<ScopeCase> cases = {
      {"the later of two global macros", {{"a", kCtrlA, 1, "", "one"}, {"b", kCtrlA, 1, "", "two"}}, "Calc", "", "", "",
       "TWO"},
      {"a window macro whose window is in front beats a global one",
       {glob, {"w", kCtrlA, scope::kWindow, "notepad", "win", true, 1}}, "Untitled - Notepad", "", "", "", "WIN"},
      {"a window macro that needs its window in front, elsewhere: the global one",
       {glob, {"w", kCtrlA, scope::kWindow, "notepad", "win", true, 1}}, "Calc", "", "Untitled - Notepad", "", "GLOB"},
      {"a window macro whose window merely runs: the window comes up",
       {glob, {"w", kCtrlA, scope::kWindow, "report", "win"}}, "Calc", "", "Report - Notepad", "", "WIN", true},
      {"a PAUSE window in front skips the first pass",
       {glob, {"w", kCtrlA, scope::kWindow, "pause", "win", true, 1}}, "PAUSE (macro one)", "", "", "", "GLOB"},
      {"a program macro of the program in front", {glob, {"p", kCtrlA, scope::kProgram, "calc", "prog", true, 1}},
       "Calculator", "CALC.EXE", "", "", "PROG"},
      {"a program macro whose program runs: its window comes up",
       {glob, {"p", kCtrlA, scope::kProgram, "wordpad", "prog"}}, "Calc", "", "Document - WordPad", "wordpad.exe",
       "PROG", true},
      {"a disabled window macro is never chosen, in front or not",
       {glob, {"w", kCtrlA, scope::kWindow, "report", "win", false}}, "Report - Notepad", "", "", "", "GLOB"},
      {"a disabled window macro whose window runs is not brought up",
       {glob, {"w", kCtrlA, scope::kWindow, "report", "win", false}}, "Calc", "", "Report - Notepad", "", "GLOB"},
      {"a disabled global macro is no candidate", {{"a", kCtrlA, 1, "", "one"}, {"b", kCtrlA, 1, "", "two", false}},
       "Calc", "", "", "", "ONE"},
  };
  for (const ScopeCase& c : cases) {
    SCOPED_TRACE(c.name);
    StandAlonePlayer pl(c.macros);
    pl.Start();
    platform::WindowHandle other = platform::kNoWindow;
    if (!c.otherTitle.empty()) {
      other = pl.Window(c.otherTitle, 0x300, true);
      if (!c.otherExe.empty()) {
        pl.mem.processes.Add(0x300, c.otherExe);
        pl.hook->FeedProgramsChanged();  // the hook library reports the program's start
      }
    }
    if (!c.frontExe.empty()) pl.mem.processes.Add(0x200, c.frontExe);
    const platform::WindowHandle front = pl.Window(c.frontTitle, 0x200);

    pl.hook->FeedKey(vk::kControl, false);
    pl.hook->FeedKeyPress('A');
    pl.hook->FeedKey(vk::kControl, true);
    pl.Pump();
    EXPECT_EQ(pl.Typed(), c.expected);
    if (c.otherComesUp) {
      EXPECT_EQ(pl.mem.desktop.GetForegroundWindow(), other);
      EXPECT_EQ(pl.main->State().targetWindow, other);
    } else {
      EXPECT_TRUE(pl.mem.desktop.bringToFrontCalls.empty());
      EXPECT_EQ(pl.main->State().targetWindow, front);
    }
  }
}

TEST_F(HotKeyRoadTest, PopupOrRecordingRefusesEveryKey) {
  AddMacros({{"a", kCtrlA, scope::kGlobal, "", "a"}});
  Start();
  Front("Calc");
  main->State().popupShowing = true;
  Press('A', true, false);
  block.SetCaptureOn(true);
  main->State().popupShowing = false;
  Press('A', true, false);
  EXPECT_EQ(Typed(), "");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{std::string("Warning: ") + kPopupShowingText,
                                                  std::string("Warning: ") + kRecordingText}));
  EXPECT_EQ(RunEndMarkers(), 0);
}

// While a PAUSE waits only the paused macro's own key or the resume key ends it; the key is
// compared without bringing any window up or changing the playing macro's target.
TEST_F(HotKeyRoadTest, PauseIsResumedByItsOwnKeyOrTheResumeKeyOnly) {
  AddMacros(SystemMacros());
  AddMacros({{"paused", kCtrlA, scope::kGlobal, "", "p"}, {"report", kCtrlB, scope::kWindow, "report", "r"}});
  Start();
  const platform::WindowHandle report = mem.desktop.AddForeignWindow("Report - Notepad", "Foreign", 0x300);
  const platform::WindowHandle pauseWindow = Front("PAUSE (paused)");
  RunState& s = main->State();
  s.macroPlaying = true;
  s.currentMacroNumber = 6;
  s.targetWindow = pauseWindow;
  // The paused macro's PAUSE window, up while the keys come.
  forms::ScriptedRunner runner(mem.desktop, mem.desktop);
  main->SetFormRunner(&runner);
  std::vector<std::string> messages;
  runner.Then([&](forms::Form& form) {
    auto& pause = dynamic_cast<TPauseMacro&>(form);
    mem.desktop.bringToFrontCalls.clear();
    // The refusal's message window, over the PAUSE window.
    ReadNextMessage(runner, messages);
    PostHotKey(kCtrlB, pauseWindow);  // another macro's key
    Pump();
    EXPECT_EQ(messages, std::vector<std::string>{std::string("Warning: ") + kPauseText});
    EXPECT_FALSE(pause.result);
    // Only the message came to the front; the other macro's window did not.
    EXPECT_EQ(mem.desktop.bringToFrontCalls.size(), 1u);
    EXPECT_EQ(std::count(mem.desktop.bringToFrontCalls.begin(), mem.desktop.bringToFrontCalls.end(), report), 0);
    EXPECT_NE(mem.desktop.GetForegroundWindow(), report);
    EXPECT_EQ(s.currentMacroNumber, 6);
    EXPECT_EQ(s.targetWindow, pauseWindow);

    PostHotKey(kCtrlA | kHotKeyCapsBit, pauseWindow);  // its own key, Caps Lock on
    Pump();
    EXPECT_TRUE(pause.result);
    ASSERT_EQ(mem.input.keys.size(), 2u);
    EXPECT_EQ(mem.input.keys[0].vk, vk::kCapital);
    EXPECT_EQ(mem.input.keys[1].flags & platform::keyflag::kKeyUp, platform::keyflag::kKeyUp);
  });
  EXPECT_EQ(main->Frame().PromptWindows().Pause(0, 0, ""), true);

  runner.Then([&](forms::Form&) {
    PostHotKey(264, pauseWindow);  // the resume key, Caps Lock off
    Pump();
  });
  EXPECT_EQ(main->Frame().PromptWindows().Pause(0, 0, ""), true);
  EXPECT_EQ(mem.input.keys.size(), 2u);
  EXPECT_EQ(s.currentMacroNumber, 6);
  EXPECT_EQ(Typed(), "");
  ASSERT_EQ(runner.shown.size(), 3u);
  EXPECT_EQ(std::count_if(runner.shown.begin(), runner.shown.end(), [](const auto& show) { return show.name == "OnTopMessage"; }), 1);
  for (const auto& shown : runner.shown) EXPECT_FALSE(shown.leftOpen);
}

// The resume key is any system macro "3" on the key, even when another system macro on the same
// key comes first in the library.
TEST_F(HotKeyRoadTest, PauseIsResumedByAResumeMacroBehindAnotherSystemMacroOnItsKey) {
  std::vector<MacroSpec> macros = SystemMacros();
  macros[3].code = macros[1].code;  // "3" on the key of "1", which comes first
  AddMacros(macros);
  AddMacros({{"paused", kCtrlA, scope::kGlobal, "", "p"}});
  Start();
  const platform::WindowHandle pauseWindow = Front("PAUSE (paused)");
  RunState& s = main->State();
  s.macroPlaying = true;
  s.currentMacroNumber = 6;
  forms::ScriptedRunner runner(mem.desktop, mem.desktop);
  main->SetFormRunner(&runner);
  runner.Then([&](forms::Form&) {
    PostHotKey(static_cast<std::uint32_t>(macros[1].code), pauseWindow);
    Pump();
  });
  EXPECT_EQ(main->Frame().PromptWindows().Pause(0, 0, ""), true);
  EXPECT_FALSE(runner.shown[0].leftOpen);
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_TRUE(mem.shell.calls.empty());  // the editor is not started
}

// The real pause window of a running macro, with the user's key pressed while it waits: the
// macro's own hot key resumes it and the rest of the macro plays.
TEST_F(HotKeyRoadTest, OwnHotKeyResumesTheMacrosPauseWindow) {
  AddMacros({{"paused", kCtrlA, scope::kGlobal, "", "a<PAUSE>b"}});
  Start();
  forms::ScriptedRunner runner(mem.desktop, mem.desktop);
  main->SetFormRunner(&runner);
  std::string caption;
  runner.Then([&](forms::Form& f) {
    caption = f.caption();
    Press('A', true, false);
  });
  Front("Untitled - Notepad");
  Press('A', true, false);
  EXPECT_EQ(caption, "Pause (Ctrl+A)");
  ASSERT_EQ(runner.shown.size(), 1u);
  EXPECT_FALSE(runner.shown[0].leftOpen);
  EXPECT_EQ(Typed(), "AB");
  EXPECT_TRUE(mem.boxes.shown.empty());
  EXPECT_FALSE(main->State().pauseShowing);

  // A close request while the PAUSE waits ends it (as its Abort) and the player closes.
  runner.Then([&](forms::Form&) {
    mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kClosePlayer, 0);
    Pump();
  });
  Press('A', true, false);
  ASSERT_EQ(runner.shown.size(), 2u);
  EXPECT_FALSE(runner.shown[1].leftOpen);
  EXPECT_EQ(Typed(), "ABA");
  EXPECT_TRUE(main->Closing());
  EXPECT_TRUE(mem.boxes.shown.empty());
}

// A key that arrives while a macro plays (handled between its steps) changes nothing of the
// run: not its macro, not its target, not its record, and no window comes to the front.
TEST_F(HotKeyRoadTest, KeysDuringARunChangeNothingOfIt) {
  AddMacros({{"long", kCtrlA, scope::kGlobal, "", "abcd"},
             {"report", kCtrlB, scope::kWindow, "report", "zz"},
             {"menu icon", 30000, scope::kGlobal, "", "yy"}});
  Start();
  mem.desktop.AddForeignWindow("Report - Notepad", "Foreign", 0x300);
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  PostHotKey(kCtrlA, notepad);
  PostHotKey(kCtrlB, notepad);
  PostHotKey(kHotKeyMacroBit | 3, notepad);
  Pump();
  EXPECT_EQ(Typed(), "ABCD");
  EXPECT_EQ(main->State().currentMacroNumber, 1);
  EXPECT_EQ(main->State().targetWindow, notepad);
  EXPECT_EQ(main->Runs().CurrentRecord().Nickname(), "long");
  EXPECT_TRUE(mem.desktop.bringToFrontCalls.empty());
  EXPECT_EQ(RunEndMarkers(), 1);
  EXPECT_TRUE(mem.boxes.shown.empty());
}

TEST_F(HotKeyRoadTest, SystemMacrosRunTheirBuiltInActions) {
  AddMacros(SystemMacros());
  AddMacros({{"a", kCtrlA, scope::kGlobal, "", "a"}});
  Start();
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  PostHotKey(264, notepad);  // "3": nothing outside a PAUSE
  PostHotKey(263, notepad);  // "2": recording
  PostHotKey(265, notepad);  // "4": menu of the top window's macros
  PostHotKey(262, notepad);  // "1": the editor, started since none runs
  Pump();
  EXPECT_EQ(recorder.startsOrStops, 1);
  EXPECT_EQ(menus.topWindowMenus, 1);
  ASSERT_EQ(mem.shell.calls.size(), 1u);
  EXPECT_EQ(mem.shell.calls[0].file, "C:\\WENDRIX\\wendforge.exe");
  EXPECT_EQ(mem.shell.calls[0].parameters, "-RXB /RH" + std::to_string(main->MainWindow()));
  EXPECT_EQ(mem.shell.calls[0].show, platform::ShowMode::kShowNormal);

  // An editor that runs is brought up instead.
  const platform::WindowHandle editor = mem.desktop.AddForeignWindow("Wendrix Editor - WENDX.WDX", "TEditor", 0x400);
  PostHotKey(262, notepad);
  Pump();
  EXPECT_EQ(mem.shell.calls.size(), 1u);
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), editor);
  EXPECT_EQ(Typed(), "");
  EXPECT_EQ(RunEndMarkers(), 0);

  PostHotKey(261, notepad);  // "5": the player closes
  Pump();
  EXPECT_TRUE(main->Closing());
  EXPECT_TRUE(mem.desktop.QuitRequested());
  EXPECT_FALSE(hook->KeyboardInstalled());
}

TEST_F(HotKeyRoadTest, TrayMenuIconNamesItsMacroDirectly) {
  AddMacros(SystemMacros());
  AddMacros({{"a", kCtrlA, scope::kGlobal, "", "a"}, {"b", 30000, scope::kGlobal, "", "bee"}});
  Start();
  PostHotKey(kHotKeyMacroBit | 7, Front("Calc"));
  Pump();
  EXPECT_EQ(Typed(), "BEE");
  EXPECT_EQ(main->State().currentMacroNumber, 7);
  PostHotKey(kHotKeyMacroBit | 40, Front("Calc"));  // no such macro
  Pump();
  EXPECT_EQ(Typed(), "BEE");
}

TEST_F(HotKeyRoadTest, PopupMenuRunsTheChosenMacro) {
  AddMacros({{"menu", kCtrlA, scope::kPopupMenu, "", ""}, {"chosen", 30000, scope::kGlobal, "", "ok"}});
  Start();
  const platform::WindowHandle notepad = Front("Untitled - Notepad");
  menus.popupChoice = 2;
  bool popupShowingDuringPopup = false;
  menus.duringPopup = [&] {
    popupShowingDuringPopup = main->State().popupShowing;
    PostHotKey(kCtrlA, notepad);  // a second key while the menu is open
    Pump();
  };
  PostHotKey(kCtrlA, notepad);
  Pump();
  EXPECT_EQ(menus.popupsShown, std::vector<int>{1});
  EXPECT_TRUE(popupShowingDuringPopup);
  EXPECT_FALSE(main->State().popupShowing);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Warning: ") + kPopupShowingText});
  EXPECT_EQ(Typed(), "OK");
  EXPECT_EQ(RunEndMarkers(), 1);

  menus.duringPopup = nullptr;  // nothing chosen: nothing runs
  PostHotKey(kCtrlA, notepad);
  Pump();
  EXPECT_EQ(Typed(), "OK");
  EXPECT_EQ(RunEndMarkers(), 1);
}

// Network mode: a key pressed after another user changed the library reloads it, rebuilds the
// map the hook library watches and sends the key again instead of running anything; the key
// that comes round runs the reloaded macro.
TEST_F(HotKeyRoadTest, NetworkReloadRebuildsTheMapBeforeTheKeyComesRound) {
  mem.profile.WriteString(kSettingsFileName, "Network", "Network Mode", "Yes");
  AddMacros(SystemMacros());
  AddMacros({{"a", kCtrlA, scope::kGlobal, "", "old"}});
  Start();
  main->Sync().ReadStamp();
  const std::int32_t counter = main->Sync().KnownCounter();
  EXPECT_EQ(counter, 1);  // a missing stamp file is created with counter 1
  EXPECT_FALSE(hook->Block().HotKeyMapped(kCtrlB));

  // Another user rewrites macro 6 and adds macro 7 on Ctrl+B.
  {
    std::fstream f(Native(kLibrary), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(5 * static_cast<std::streamoff>(kMacroRecSize));
    const TMacroRec r = MakeRecord({"a", kCtrlA, scope::kGlobal, "", "new"});
    f.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  AddMacros({{"b", kCtrlB, scope::kGlobal, "", "bee"}});
  TSyncRec stamp{counter + 2, sync_state::kFree, 0.0};
  ASSERT_TRUE(WriteSyncStamp(Native("C:\\WENDRIX\\WENDX.WDY"), stamp));

  Front("Calc");
  Press('A', true, false);
  EXPECT_EQ(main->Sync().KnownCounter(), counter + 2);
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlB));
  EXPECT_EQ(RunEndMarkers(), 0);
  using platform::keyflag::kKeyUp;
  const std::vector<platform::KeyEventRecord> resent(mem.input.keys.begin(), mem.input.keys.end());
  ASSERT_EQ(resent.size(), 4u);
  EXPECT_EQ(std::vector<std::uint8_t>({resent[0].vk, resent[1].vk, resent[2].vk, resent[3].vk}),
            std::vector<std::uint8_t>({vk::kControl, 'A', 'A', vk::kControl}));
  EXPECT_EQ(resent[2].flags & kKeyUp, kKeyUp);
  EXPECT_EQ(resent[3].flags & kKeyUp, kKeyUp);

  mem.input.keys.clear();
  Press('A', true, false);  // the key as it comes round
  EXPECT_EQ(Typed(), "NEW");

  // A mouse-button key (Ctrl + right button) comes round as the button itself.
  stamp.counter += 1;
  ASSERT_TRUE(WriteSyncStamp(Native("C:\\WENDRIX\\WENDX.WDY"), stamp));
  mem.input.keys.clear();
  PostHotKey(706 + 2, Front("Calc"));
  Pump();
  ASSERT_EQ(mem.input.mouse.size(), 2u);
  EXPECT_EQ(mem.input.mouse[0].flags, platform::mouseflag::kRightDown);
  EXPECT_EQ(mem.input.mouse[1].flags, platform::mouseflag::kRightUp);
  ASSERT_EQ(mem.input.keys.size(), 2u);
  EXPECT_EQ(mem.input.keys[0].vk, vk::kControl);
}

}  // namespace
}  // namespace wdx::player::testing
