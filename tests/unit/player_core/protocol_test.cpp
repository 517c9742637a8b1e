// The window-message protocol: text channels, run requests, a second player's command line,
// the test run and the UM_CONTROL codes of the editor.
#include <gtest/gtest.h>

#include <algorithm>

#include "forms/scripted_runner.h"
#include "player/core/startup.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"
#include "shared/remap_keys.h"

namespace wdx::player::testing {
namespace {

class ProtocolTest : public PlayerFixture {
 protected:
  void Send(std::uint32_t message, const std::string& text) {
    for (const char c : text) mem.desktop.PostMessage(main->MainWindow(), message, static_cast<std::uint8_t>(c), 0);
    mem.desktop.PostMessage(main->MainWindow(), message, 0, 0);
    Pump();
  }
  // A second player started with this command line while this one runs; its exit code.
  int RunSecondPlayer(const std::string& commandLine) {
    platform::MemoryProcesses second;
    second.executablePath = "C:\\WENDRIX\\WENDPLAY.EXE";
    second.commandLine = commandLine;
    platform::Platform p2 = p;
    p2.processes = &second;
    hook::InProcessHookLibrary hook2(mem.desktop, &mem.kernel);
    return RunPlayer(p2, hook2);
  }
  void WriteFile(const std::string& windowsPath, const std::string& bytes) {
    std::ofstream(Native(windowsPath), std::ios::binary) << bytes;
  }
};

TEST_F(ProtocolTest, NicknameChannelRunsTheMacroOfThatNameInAnyCase) {
  AddMacros({{"My Macro", 30000, scope::kGlobal, "", "abc"}});
  Start();
  Front("Untitled - Notepad");
  block.SetCaptureOn(true);
  Send(UM_NICKNAMECHAR, "mY mAcRo");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Warning: ") + kRecordingText});
  EXPECT_EQ(Typed(), "");
  block.SetCaptureOn(false);
  Send(UM_NICKNAMECHAR, "mY mAcRo");
  EXPECT_EQ(Typed(), "ABC");
  EXPECT_EQ(RunEndMarkers(), 1);
  EXPECT_TRUE(main->Runs().Buffers().nickname.empty());
  Send(UM_NICKNAMECHAR, "no such macro");
  EXPECT_EQ(Typed(), "ABC");
  // A text longer than a short string keeps its first 255 characters.
  for (int i = 0; i < 300; ++i) mem.desktop.PostMessage(main->MainWindow(), UM_NICKNAMECHAR, 'x', 0);
  Pump();
  EXPECT_EQ(main->Runs().Buffers().nickname.size(), kReceiveBufferMax);
}

TEST_F(ProtocolTest, FileChannelPlaysTheSingleMacroFile) {
  Start();
  Front("Untitled - Notepad");
  WriteFile("C:\\WENDRIX\\ONE.WRM", "ab\x1A");
  WriteFile("C:\\WENDRIX\\EMPTY.WRM", "");
  Send(UM_FILENAMECHAR, "c:\\wendrix\\one.wrm");
  EXPECT_EQ(Typed(), "AB");  // the Ctrl+Z at the end is not played
  EXPECT_EQ(main->State().currentMacroName, kSingleMacroName);
  EXPECT_EQ(RunEndMarkers(), 1);
  EXPECT_TRUE(block.InUse());
  Send(UM_FILENAMECHAR, "C:\\WENDRIX\\EMPTY.WRM");
  EXPECT_EQ(Typed(), "AB");
  Send(UM_FILENAMECHAR, "C:\\WENDRIX\\MISSING.WRM");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Error: ") + kSingleMacroOpenError});
  // A folder is no macro file: the same error, and the player plays on.
  Send(UM_FILENAMECHAR, "C:\\WENDRIX");
  EXPECT_EQ(BoxTexts().size(), 2u);
  EXPECT_EQ(BoxTexts().back(), std::string("Error: ") + kSingleMacroOpenError);
  Send(UM_FILENAMECHAR, "C:\\WENDRIX\\ONE.WRM");
  EXPECT_EQ(Typed(), "ABAB");
}

// Requests that arrive while a macro plays wait for it, sixteen at most; the rest are refused
// with a line in the error log.
TEST_F(ProtocolTest, RunRequestsDuringARunWaitSixteenAtMost) {
  AddMacros({{"long", kCtrlA, scope::kGlobal, "", "a<PAUSE>b"}, {"N", 30000, scope::kGlobal, "", "x"}});
  Start();
  settings.errorLogPath = "C:\\WENDRIX\\ERRORLOG.TXT";
  forms::ScriptedRunner runner(mem.desktop, mem.desktop);
  main->SetFormRunner(&runner);
  runner.Then([&](forms::Form& pause) {
    for (int i = 0; i < 20; ++i) Send(UM_NICKNAMECHAR, "n");  // while the macro waits in its PAUSE
    pause.Close();
  });
  Front("Untitled - Notepad");
  Press('A', true, false);
  EXPECT_EQ(Typed(), "A" + std::string(16, 'X'));
  std::ifstream log(Native("C:\\WENDRIX\\ERRORLOG.TXT"));
  int refused = 0;
  for (std::string line; std::getline(log, line);)
    refused += line.find("Run request refused: 16 requests already wait for the playing macro (N).") !=
               std::string::npos;
  EXPECT_EQ(refused, 4);
}

TEST_F(ProtocolTest, VariablesChannelUpperCasesItsPresets) {
  Start();
  Send(UM_VARIABLESCHAR, "/vt3:hello /VN4:7");
  EXPECT_EQ(main->State().saved.text[3], "HELLO");
  EXPECT_EQ(main->State().saved.integer[4], 7);
  EXPECT_TRUE(main->Runs().Buffers().variables.empty());
}

// A second player hands its whole command line over and ends; the first runs the nickname from
// the library that was current, then switches library, then plays the single-macro file.
TEST_F(ProtocolTest, SecondPlayerForwardsItsCommandLineAndTheFirstActsInOrder) {
  AddMacros({{"Hello", 30000, scope::kGlobal, "", "old"}});
  AppendRecords(Native("C:\\OTHER\\B.WDX"), {{"Hello", 30000, scope::kGlobal, "", "new"}});
  WriteFile("C:\\WENDRIX\\ONE.WRM", "file");
  InstanceManager first;
  ASSERT_TRUE(first.TakeFirstPlace(mem.kernel));
  Start();
  Front("Untitled - Notepad");

  const std::string line = "C:\\WENDRIX\\WENDPLAY.EXE /F c:\\other\\b.wdx /A hello /WRMC:\\WENDRIX\\ONE.WRM /VT2:x";
  EXPECT_EQ(RunSecondPlayer(line), 0);
  int mainWindows = 0;
  for (const platform::WindowHandle w : mem.desktop.EnumTopLevelWindows())
    mainWindows += mem.desktop.GetClassName(w) == kMainWindowClass;
  EXPECT_EQ(mainWindows, 1);  // no second main window
  EXPECT_EQ(mem.desktop.PendingCount(), line.size() + 1);

  Pump();
  EXPECT_EQ(Typed(), "OLDFILE");
  EXPECT_TRUE(mem.boxes.shown.empty());
  EXPECT_EQ(settings.currentLibrary, "C:\\OTHER\\B.WDX");
  EXPECT_EQ(settings.nicknames[1], "Hello");
  EXPECT_EQ(main->State().saved.text[2], "X");
  EXPECT_EQ(RunEndMarkers(), 2);
}

// A switch from a library of 30 macros (its built-in ones first, on Ctrl+Alt+Shift+V to Z) to a
// new one: the new library's built-in macros get those keys again, and nothing of the old
// library is left in the tables above the new count.
TEST_F(ProtocolTest, ANewLibraryAfterALongerOneGetsTheBuiltInMacrosOnTheirKeys) {
  AddMacros(SystemMacros());
  std::vector<MacroSpec> more;
  for (int i = 0; i < 25; ++i) more.push_back({"m" + std::to_string(i), 300 + i, scope::kGlobal, "", "x"});
  AddMacros(more);
  Start();
  ASSERT_EQ(block.MacroCount(), 30);

  std::ofstream(Native("C:\\WENDRIX\\NEW.WDX")).close();  // a request switches only to a library that exists
  main->Runs().Buffers().libraryPath = "C:\\WENDRIX\\NEW.WDX";
  mem.desktop.PostMessage(main->MainWindow(), UM_RUNREQUEST, 0, run_request::kSwitchLibrary);
  Pump();
  ASSERT_EQ(settings.currentLibrary, "C:\\WENDRIX\\NEW.WDX");
  ASSERT_EQ(block.MacroCount(), 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(block.ActivationCode(i), 260 + i) << i;  // Ctrl+Alt+Shift+V .. Z
    EXPECT_EQ(hook->Block().ActivationCode(i), 260 + i) << i;
  }
  for (int i = 6; i <= 30; ++i) {
    EXPECT_EQ(block.ActivationCode(i), activation::kNone) << i;
    EXPECT_EQ(settings.nicknames[static_cast<std::size_t>(i)], "") << i;
  }
  EXPECT_FALSE(hook->Block().HotKeyMapped(300));
}

// A library load tells the editor of every macro; when no editor runs it is looked for once, not
// once per macro.
TEST_F(ProtocolTest, ALibraryLoadLooksForTheEditorOnce) {
  AddMacros(SystemMacros());
  std::vector<MacroSpec> more;
  for (int i = 0; i < 40; ++i) more.push_back({"m" + std::to_string(i), 300 + i, scope::kGlobal, "", "x"});
  AddMacros(more);
  CountingDesktop desktop(mem.clock);
  p.windows = &desktop;
  p.loop = &desktop;
  Start();
  desktop.walks = 0;
  desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReload, 0);
  desktop.PumpPending();
  EXPECT_EQ(desktop.walks, 2);  // the load's notices, then the new hot-key map's
  main->DestroyWindow();
  main.reset();
}

// A second player's command line of 40000 characters: the first player keeps its first 255,
// so no more than those and the end are posted (the rest could only overflow its queue).
TEST_F(ProtocolTest, HugeForwardedCommandLinePostsOnlyWhatTheFirstKeeps) {
  AddMacros({{"Hello", 30000, scope::kGlobal, "", "hi"}});
  InstanceManager first;
  ASSERT_TRUE(first.TakeFirstPlace(mem.kernel));
  Start();
  Front("Untitled - Notepad");

  EXPECT_EQ(RunSecondPlayer("C:\\WENDRIX\\WENDPLAY.EXE /A hello /VT1:" + std::string(40000, 'y')), 0);
  EXPECT_EQ(mem.desktop.PendingCount(), kReceiveBufferMax + 1);

  Pump();
  EXPECT_EQ(Typed(), "HI");
  const std::size_t prefix = std::string("C:\\WENDRIX\\WENDPLAY.EXE /A hello /VT1:").size();
  EXPECT_EQ(main->State().saved.text[1], std::string(kReceiveBufferMax - prefix, 'Y'));
}

// Only lParam 0 ends a forwarded line; any other lParam appends its byte, even one whose low
// byte is 0.
TEST_F(ProtocolTest, CommandLineEndsOnlyOnLParamZero) {
  AddMacros({{"Hel", 30000, scope::kGlobal, "", "x"}});
  Start();
  Front("Untitled - Notepad");
  const auto post = [&](std::int64_t l) { mem.desktop.PostMessage(main->MainWindow(), UM_COMMANDLINECHAR, 0, l); };
  for (const char c : std::string("P.EXE /A HEL")) post(static_cast<std::uint8_t>(c));
  post(0x100);
  Pump();
  post('L');
  post(0);
  Pump();
  EXPECT_EQ(Typed(), "");  // the nickname was "HEL", a NUL and "L": no macro has it
  EXPECT_TRUE(main->Runs().Buffers().nickname.empty());
}

TEST_F(ProtocolTest, SecondPlayerGivesUpAfterTwelveTries) {
  InstanceManager first;
  ASSERT_TRUE(first.TakeFirstPlace(mem.kernel));
  const std::uint64_t before = mem.clock.Monotonic();
  EXPECT_EQ(RunPlayer(p, *hook), 0);
  EXPECT_EQ(mem.clock.Monotonic() - before, 11000u);
  EXPECT_TRUE(mem.desktop.EnumTopLevelWindows().empty());
  EXPECT_FALSE(mem.kernel.Exists(kGlobBlockName));
}

TEST_F(ProtocolTest, TestRunPlaysTheEditorsFileWithoutTheInUseFlag) {
  Start();
  Front("Untitled - Notepad");
  mem.desktop.PostMessage(main->MainWindow(), UM_TESTRUN, 0, 0);
  Pump();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Error: ") + kTestRunOpenError});
  WriteFile("C:\\WENDRIX\\WENDTEMP.WRM", "test");
  mem.desktop.PostMessage(main->MainWindow(), UM_TESTRUN, 0, 0);
  Pump();
  EXPECT_EQ(Typed(), "TEST");
  EXPECT_EQ(main->State().currentMacroName, kTestRunName);
  EXPECT_EQ(RunEndMarkers(), 0);
  EXPECT_FALSE(block.InUse());
  EXPECT_FALSE(mem.desktop.HasTimer(main->MainWindow(), kClearTimerId));

  main->State().macroPlaying = true;  // as if a run were in progress
  mem.desktop.PostMessage(main->MainWindow(), UM_TESTRUN, 0, 0);
  Pump();
  EXPECT_EQ(BoxTexts().back(), std::string("Error: ") + kTestRunBusyText);
  EXPECT_EQ(Typed(), "TEST");
}

TEST_F(ProtocolTest, ControlCodesOfTheEditor) {
  AddMacros(SystemMacros());
  AddMacros({{"a", kCtrlA, scope::kGlobal, "", "a"}});
  Start();
  const platform::WindowHandle self = main->MainWindow();
  const auto control = [&](std::uint32_t code, std::int64_t arg) {
    mem.desktop.PostMessage(self, UM_CONTROL, code, arg);
    Pump();
  };

  // 7: the hooks one by one; an unknown argument does nothing.
  control(control::kHooks, 2);
  control(control::kHooks, 4);
  EXPECT_FALSE(hook->KeyboardInstalled());
  EXPECT_FALSE(hook->MouseInstalled());
  control(control::kHooks, 5);
  control(control::kHooks, 1);
  control(control::kHooks, 3);
  EXPECT_TRUE(hook->KeyboardInstalled());
  EXPECT_TRUE(hook->MouseInstalled());
  EXPECT_EQ(hook->Block().KeyboardHook(), block.KeyboardHook());

  // 20: the editor rewrote record 6; the tables take it, nothing is pushed.
  {
    std::fstream f(Native(kLibrary), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(5 * static_cast<std::streamoff>(kMacroRecSize));
    const TMacroRec r = MakeRecord({"renamed", kCtrlB, scope::kWindow, "report", "a", false, 1});
    f.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  control(control::kRecordRewritten, 6);
  control(control::kRecordRewritten, 9999);
  EXPECT_EQ(settings.nicknames[6], "renamed");
  EXPECT_EQ(block.ActivationCode(6), kCtrlB);
  EXPECT_EQ(block.ScopeKind(6), scope::kWindow);
  EXPECT_EQ(block.ScopeText(6), "report");
  EXPECT_FALSE(block.MacroActive(6));
  EXPECT_EQ(block.WindowMatch(6), 1);
  EXPECT_EQ(hook->Block().ActivationCode(6), kCtrlA);

  // 6: a data group from the hook library's copy (the editor pushed it there).
  TGlobData editorView = hook->Block();
  editorView.SetHotKeyMapped(kCtrlB, true);
  hook->WdxUpKeys(editorView);
  control(control::kDataGroup, 14);
  EXPECT_TRUE(block.HotKeyMapped(kCtrlB));

  // 1: a remap table that differs from the neutral one installs the remap hook; neutral again
  // removes it.
  SwapTable remapped = NeutralSwapTable();
  remapped[26] = 'b';  // the key a types b
  ASSERT_TRUE(SaveSwapKeys(Native("C:\\WENDRIX\\WENDX.WDS"), remapped));
  control(control::kRemapChanged, 0);
  EXPECT_TRUE(main->RemapHookInstalled());
  EXPECT_TRUE(hook->SwapInstalled());
  EXPECT_EQ(main->Blocks().Swap().Table(), remapped);
  ASSERT_TRUE(SaveSwapKeys(Native("C:\\WENDRIX\\WENDX.WDS"), NeutralSwapTable()));
  control(control::kRemapChanged, 0);
  EXPECT_FALSE(main->RemapHookInstalled());
  EXPECT_FALSE(hook->SwapInstalled());

  // 2: the editor switched library; 4: the editor closes; 30: the player closes.
  AppendRecords(Native("C:\\OTHER\\B.WDX"), {{"b1", kCtrlB, scope::kGlobal, "", "b"}});
  mem.profile.WriteString(kSettingsFileName, "Misc", "Current File", "C:\\OTHER\\B.WDX");
  control(control::kLibraryReplaced, 0);
  EXPECT_EQ(settings.currentLibrary, "C:\\OTHER\\B.WDX");
  EXPECT_EQ(block.MacroCount(), 6);  // its macro and the five system macros added to it
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlB));
  EXPECT_FALSE(hook->Block().HotKeyMapped(kCtrlA));

  // The editor is remembered once found (a reload tells it of the new hot-key map); after it
  // said it is closing it is searched for again, and a newer one in front is found.
  const auto notices = [&](platform::WindowHandle w) {
    return std::count_if(mem.desktop.foreignMessages.begin(), mem.desktop.foreignMessages.end(),
                         [w](const platform::Message& m) { return m.window == w && m.message == UM_CONTROL; });
  };
  const platform::WindowHandle first = mem.desktop.AddForeignWindow("Wendrix Editor", "TEditor", 0x400);
  control(control::kReload, 0);
  const auto toFirst = notices(first);
  EXPECT_GT(toFirst, 0);
  const platform::WindowHandle second = mem.desktop.AddForeignWindow("Wendrix Editor", "TEditor", 0x401);
  control(control::kReload, 0);
  EXPECT_GT(notices(first), toFirst);
  EXPECT_EQ(notices(second), 0);
  control(control::kEditorClosing, 0);
  control(control::kReload, 0);
  EXPECT_GT(notices(second), 0);

  control(control::kClosePlayer, 0);
  EXPECT_TRUE(main->Closing());
  control(control::kHooks, 1);  // ignored once closing
  EXPECT_FALSE(hook->KeyboardInstalled());
}

}  // namespace
}  // namespace wdx::player::testing
