// "Capture Macro" over the editor on the in-memory desktop: what a start writes into the hook
// library's block and tells the player, the recording's end, and the library lock.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../editor_shell/editor_fixture.h"
#include "editor/builders/capture_keys.h"
#include "forms/user.h"
#include "shared/hot_keys.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

using Notices = std::vector<std::pair<int, std::int64_t>>;
using forms::user::Click;

struct CountingLock : SyncLock {
  bool FileInUse() override { return false; }
  void ReleaseSyncFile(int changed) override { released.push_back(changed); }
  std::vector<int> released;
};

constexpr char kWorkFile[] = "C:\\WENDRIX\\TempCap.Txt";
constexpr int kCtrlH = 7;

class CaptureDialogTest : public EditorFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    WriteLibrary({{"Greeting", kCtrlH}, {"Sig", activation::kAbbrekey, 1, "", "sig"}, {"Title", 25000, 2, "Note"}});
    ASSERT_EQ(Start(), StartCheck::kRun);
    editor->Context().lock = &lock;
    notepad = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 42);
    mem.processes.Add(42, "NOTEPAD.EXE");
    TakeNotices();
  }
  TGlobData& Glob() { return *editor->Context().glob; }
  // The hook library's own copy of the block.
  TGlobData Library() {
    std::vector<std::uint8_t> bytes(kGlobDataSize);
    hook.WdxGetGlob(bytes);
    return TGlobData(bytes);
  }
  // Recapture of macro n: CurMacro read as the opener does, the dialog played by `script`.
  CaptureResult Recapture(int n, std::function<void(TCaptureKeys&)> script) {
    EXPECT_TRUE(editor->Context().store->Library().ReadMacroRecord(n, Main().CurMacro));
    runner.Then([script](forms::Form& f) { script(static_cast<TCaptureKeys&>(f)); });
    return CaptureMacro(Main(), editor->Context(), {n, true, false, ""});
  }
  // What the hook library sends while the user types, and the stop key.
  void Record(const std::string& text, int macro) {
    for (char c : text) mem.desktop.PostMessage(Main().Handle(), UM_CAPTURECHAR, macro, static_cast<unsigned char>(c));
    mem.desktop.PostMessage(Main().Handle(), UM_CAPTUREDONE, macro, 0);
    mem.desktop.PumpPending();
  }
  std::string WorkFileText() {
    std::ifstream in(mem.NativePath(kWorkFile), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool WorkFileExists() { return std::filesystem::exists(mem.NativePath(kWorkFile)); }

  CountingLock lock;
  platform::WindowHandle notepad = platform::kNoWindow;
};

TEST_F(CaptureDialogTest, ARecaptureSetsUpTheHookLibraryAndItsEndStoresTheKeys) {
  const int stopMacro = StopKeyMacro(Glob());
  ASSERT_GT(stopMacro, 0);
  const std::uint16_t stopKey = Glob().ActivationCode(stopMacro);
  TCaptureKeys* shown = nullptr;
  const CaptureResult result = Recapture(1, [&](TCaptureKeys& d) {
    shown = &d;
    EXPECT_EQ(d.HotKeyLabel.caption(), "Ctrl+H");
    EXPECT_EQ(d.HotLabel2.caption(), "Press " + std::string(HotKeyName(stopKey)) + " to end capture");
    EXPECT_EQ(d.HotLabel3.caption(), "Or Press Ctrl+H to end capture");
    EXPECT_EQ(d.NickName.text(), "Greeting");
    EXPECT_EQ(d.ProgList.item(0), kLastActiveWindow);
    const int notepadRow = d.ProgList.IndexOf("Untitled - Notepad");
    ASSERT_GT(notepadRow, 0);
    forms::user::Select(d.ProgList, notepadRow);
    // The mouse is not recorded: its window size is not either, whatever the box shows.
    EXPECT_TRUE(d.DoSize.checked());
    Click(d.ToWindow);
    Click(d.DoTheMouse);
    Click(d.HalfSpeed);
    forms::user::EnterText(d.NickName, "Hello again");
    Click(d.StartButton);
  });
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(result.started);
  EXPECT_FALSE(result.macroAdded);
  EXPECT_EQ(runner.shown.back().caption, "Capture Macro");

  const TGlobData lib = Library();
  EXPECT_TRUE(lib.CaptureOn());
  EXPECT_EQ(lib.CaptureMacro(), 1);
  EXPECT_EQ(lib.CaptureWindow(), Main().Handle());
  EXPECT_TRUE(lib.CaptureWindowFlag());
  EXPECT_EQ(lib.ReadStopKey(1), StopKeyOf(stopKey));
  EXPECT_EQ(lib.ReadStopKey(2), StopKeyOf(kCtrlH));
  const std::span<const std::uint8_t> raw = lib.Raw();
  EXPECT_EQ(raw[glob::kSecondStopKeyOn], 1);
  EXPECT_EQ(raw[glob::kCaptureKeys], 1);
  EXPECT_EQ(raw[glob::kCaptureMouse], 0);
  EXPECT_EQ(raw[glob::kCaptureRelative], 2);
  EXPECT_EQ(raw[glob::kCaptureTime], 1);
  EXPECT_EQ(raw[glob::kWindowRelativeMouse], 0);
  EXPECT_EQ(raw[glob::kWindowRelativeMouse2], 0);
  EXPECT_EQ(raw[glob::kDoubleAlt], 1);
  EXPECT_EQ(raw[glob::kCaptureOptionsSet], 1);
  // The capture window, the options, then capture on; the macro count is not touched.
  EXPECT_EQ(TakeNotices(), (Notices{{control::kDataGroup, data_group::kSecondaryWindow},
                                    {control::kDataGroup, data_group::kCaptureSetUp},
                                    {control::kDataGroup, data_group::kCaptureOn}}));
  EXPECT_EQ(Glob().MacroCount(), editor->Context().store->Count());
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), notepad);
  EXPECT_EQ(WorkFileText(), "<SPEED:00002>");
  EXPECT_TRUE(lock.released.empty()) << "the recording holds the lock";

  Record("abc", 1);
  const TMacroRec stored = ReadLibrary()[0];
  EXPECT_EQ(stored.Text(), "<SPEED:00002>abc");
  EXPECT_EQ(stored.ActivationCode(), kCtrlH);
  EXPECT_FALSE(WorkFileExists());
  EXPECT_FALSE(Library().CaptureOn());
  EXPECT_FALSE(Library().CaptureWindowFlag());
  EXPECT_EQ(lock.released, (std::vector<int>{1}));
  ASSERT_FALSE(mem.boxes.shown.empty());
  EXPECT_EQ(mem.boxes.shown.back().text, "Wendrix 2000 capture is complete for Ctrl+H.");
}

TEST_F(CaptureDialogTest, ANewAbbrekeyMacroRaisesTheCountAndOnlyTheSystemKeyEndsIt) {
  TMacroRec& cur = Main().CurMacro;
  cur = TMacroRec();
  cur.SetActivationCode(activation::kAbbrekey);
  cur.SetAbbrekey("new");
  const int count = Glob().MacroCount();
  runner.Then([&](forms::Form& form) {
    auto& d = static_cast<TCaptureKeys&>(form);
    EXPECT_EQ(d.HotKeyLabel.caption(), "Abbrekey: new");
    EXPECT_EQ(d.HotLabel3.caption(), "");
    EXPECT_EQ(d.NickName.text(), "");
    forms::user::EnterText(d.NickName, std::string(60, 'n'));
    Click(d.DoTime);
    Click(d.StartButton);
  });
  const CaptureResult result = CaptureMacro(Main(), editor->Context(), {count + 1, false, false, ""});
  EXPECT_TRUE(result.started);
  EXPECT_TRUE(result.macroAdded);
  EXPECT_EQ(Glob().MacroCount(), count + 1);
  EXPECT_EQ(Library().MacroCount(), count + 1);
  EXPECT_EQ(cur.Active(), 1);
  EXPECT_EQ(cur.Nickname(), std::string(50, 'n'));
  EXPECT_EQ(Library().Raw()[glob::kSecondStopKeyOn], 0);
  EXPECT_EQ(Library().ReadStopKey(2), StopKey{});
  EXPECT_EQ(TakeNotices(), (Notices{{control::kDataGroup, data_group::kSecondaryWindow},
                                    {control::kDataGroup, data_group::kMacroCount},
                                    {control::kDataGroup, data_group::kCaptureSetUp},
                                    {control::kDataGroup, data_group::kCaptureOn}}));
  EXPECT_EQ(WorkFileText(), "") << "no speed tag without timing";
  // With the first entry of ProgList the editor steps aside.
  EXPECT_EQ(Main().windowState(), forms::WindowState::kMinimized);

  // The opener appends the macro; the recording then ends into it.
  ASSERT_TRUE(editor->Context().store->Library().WriteMacroRecord(-1, cur));
  Record("sig!", count + 1);
  EXPECT_EQ(ReadLibrary()[static_cast<std::size_t>(count)].Text(), "sig!");
  EXPECT_EQ(mem.boxes.shown.back().text, "Wendrix 2000 capture is complete for Abbrekey: new.");
  EXPECT_EQ(lock.released, (std::vector<int>{1}));
}

TEST_F(CaptureDialogTest, CancelChangesNothingAndGivesTheLockBackOnce) {
  const int count = Glob().MacroCount();
  for (const bool escape : {false, true}) {
    lock.released.clear();
    const CaptureResult result = Recapture(2, [escape](TCaptureKeys& d) {
      if (escape) {
        forms::user::PressEscape(d);
      } else {
        Click(d.CancelButton);
      }
    });
    EXPECT_FALSE(result.started);
    EXPECT_FALSE(WorkFileExists());
    EXPECT_EQ(Glob().MacroCount(), count);
    EXPECT_FALSE(Library().CaptureOn());
    EXPECT_TRUE(TakeNotices().empty());
    EXPECT_EQ(lock.released, (std::vector<int>{0}));
  }
  // Nothing of a recording awaits: a stray end changes no record.
  const std::vector<TMacroRec> before = ReadLibrary();
  Record("stray", 2);
  EXPECT_EQ(ReadLibrary(), before);
}

TEST_F(CaptureDialogTest, ARunningRecordingRefusesTheStart) {
  // The player records (its notice copied capture on into the editor's block).
  Glob().SetCaptureOn(true);
  const CaptureResult result = Recapture(1, [](TCaptureKeys& d) {
    Click(d.StartButton);
    EXPECT_TRUE(d.Showing()) << "the dialog stays open";
    Click(d.CancelButton);
  });
  EXPECT_FALSE(result.started);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, kCaptureRunningText);
  EXPECT_FALSE(WorkFileExists());
  EXPECT_EQ(lock.released, (std::vector<int>{0}));
}

TEST_F(CaptureDialogTest, ProgramScopeIsForcedAndTheRecordingTakesTheProgramInFront) {
  runner.Then([](forms::Form& form) {
    auto& d = static_cast<TCaptureKeys&>(form);
    EXPECT_TRUE(d.ProgramButton.checked());
    EXPECT_FALSE(d.GlobalButton.enabled());
    forms::user::Select(d.ProgList, d.ProgList.IndexOf("Untitled - Notepad"));
    Click(d.StartButton);
  });
  ASSERT_TRUE(editor->Context().store->Library().ReadMacroRecord(1, Main().CurMacro));
  ASSERT_TRUE(CaptureMacro(Main(), editor->Context(), {1, true, true, ""}).started);
  Record("x", 1);
  const TMacroRec stored = ReadLibrary()[0];
  EXPECT_EQ(stored.ScopeKind(), scope::kProgram);
  EXPECT_EQ(stored.ScopeText(), "NOTEPAD.EXE");
  EXPECT_EQ(stored.WindowMatch(), 1);
}

TEST_F(CaptureDialogTest, TheOptionsEnableOneAnother) {
  Recapture(1, [](TCaptureKeys& d) {
    auto states = [&d] {
      return std::vector<bool>{d.DoDouble.enabled(), d.ToScreen.enabled(), d.ClicksOnly.enabled(), d.DoSize.enabled(),
                               d.HalfSpeed.enabled()};
    };
    // Defaults: keys, mouse relative to the screen, timing.
    EXPECT_EQ(states(), (std::vector<bool>{true, true, true, false, true}));
    Click(d.ToWindow);
    EXPECT_EQ(states(), (std::vector<bool>{true, true, true, true, true}));
    Click(d.DoKey);
    Click(d.DoTime);
    EXPECT_EQ(states(), (std::vector<bool>{false, true, true, true, false}));
    Click(d.DoTheMouse);
    EXPECT_EQ(states(), (std::vector<bool>{false, false, false, false, false}));
    Click(d.CancelButton);
  });
}

TEST_F(CaptureDialogTest, ARecordingWhoseMacroIsGoneKeepsItsKeysAndGivesTheLockBackOnce) {
  TMacroRec& cur = Main().CurMacro;
  cur = TMacroRec();
  cur.SetActivationCode(kCtrlH);
  const int count = Glob().MacroCount();
  runner.Then([](forms::Form& form) { Click(*form.Find("StartButton")); });
  ASSERT_TRUE(CaptureMacro(Main(), editor->Context(), {count + 1, false, false, ""}).started);
  // The opener never appended the new macro.
  Record("kept", count + 1);
  EXPECT_EQ(WorkFileText(), "<SPEED:00001>kept");
  ASSERT_FALSE(mem.boxes.shown.empty());
  EXPECT_EQ(mem.boxes.shown.back().text,
            "The recorded macro is no longer in the library.  Its keystrokes are kept in C:\\WENDRIX\\TempCap.Txt.");
  EXPECT_EQ(lock.released, (std::vector<int>{0}));
  Record("more", count + 1);
  EXPECT_EQ(lock.released, (std::vector<int>{0}));
}

}  // namespace
}  // namespace wdx::editor::testing
