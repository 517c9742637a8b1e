// Recording a macro through the whole player: the system macro "2" starts it, the in-process
// hook library records the keys pressed, the stop key ends it, "Capture Complete" names it and
// gives it a hot key, and the key then plays what was recorded.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "forms/scripted_runner.h"
#include "forms/user.h"
#include "player/core/macro_recorder.h"
#include "player/prompts/cap_complete.h"
#include "player_fixture.h"
#include "shared/capture_file.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

constexpr int kStopKey = 263;  // Ctrl+Alt+Shift+X, the system macro "2"
constexpr int kCtrlAltK = 154;
constexpr char kWorkFile[] = "C:\\WENDRIX\\TempCap.Txt";

class RecordingTest : public PlayerFixture {
 protected:
  void SetUp() override {
    realRecorder = true;
    AddMacros(SystemMacros());
    AddMacros({{"first", kCtrlA, scope::kGlobal, "", "1"}, {"menu", kCtrlB, scope::kPopupMenu, "", ""}});
    Options("Prompt", "No");
    Options("Time", "No");
    Options("Mouse", "No");
  }
  void Options(const char* key, const char* value) { mem.profile.WriteString(kSettingsFileName, "Capture", key, value); }
  void StartPlayer() {
    Start();
    main->SetFormRunner(&runner);
    Front("Target", 0x300, "TARGET.EXE");
  }
  // The stop key (the system macro's hot key) as the user presses it.
  void PressStopKey() { Press('X', true, true, true); }
  void TypeKeys(const std::string& keys) {
    for (const char c : keys) hook->FeedKeyPress(static_cast<std::uint8_t>(c));
    Pump();
  }
  std::string FileText(const std::string& windowsPath) {
    std::ifstream in(Native(windowsPath), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& windowsPath) { return std::filesystem::exists(Native(windowsPath)); }
  TMacroRec Record(int n) {
    TMacroRec r;
    EXPECT_TRUE(ReadMacroRecordFrom(n, r));
    return r;
  }
  bool ReadMacroRecordFrom(int n, TMacroRec& r) {
    std::ifstream in(Native(kLibrary), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(n - 1) * static_cast<std::streamoff>(kMacroRecSize));
    in.read(reinterpret_cast<char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
    return static_cast<bool>(in);
  }
  // The dialog's answer: the key pressed while its entry field has the focus (the hook library
  // sends its index to the dialog), a name, then Ok.
  void AnswerWithHotKey(std::uint8_t key, const std::string& name) {
    runner.Then([this, key, name](forms::Form& f) {
      auto& dialog = dynamic_cast<TCapComplete&>(f);
      EXPECT_EQ(dialog.activeControl(), &dialog.HotKeyEntry);
      EXPECT_TRUE(block.SecondaryWindowOn());
      Press(key, true, true);
      EXPECT_EQ(dialog.HotKeyEntry.text(), "Ctrl+Alt+K");
      forms::user::EnterText(dialog.NickName, name);
      forms::user::Click(dialog.OkButton);
    });
  }

  forms::ScriptedRunner runner{mem.desktop, mem.desktop};
};

TEST_F(RecordingTest, RecordedKeysBecomeAMacroOnTheChosenHotKey) {
  StartPlayer();
  const int count = block.MacroCount();
  PressStopKey();  // the same key starts it
  ASSERT_TRUE(block.CaptureOn());
  EXPECT_EQ(block.MacroCount(), count + 1);
  EXPECT_EQ(block.CaptureMacro(), count + 1);
  EXPECT_EQ(block.ReadStopKey(1), (wdx::StopKey{0, 'X', true, true, true, false}));
  EXPECT_EQ(block.CaptureWindow(), main->MainWindow());
  const TMacroRec placeholder = Record(count + 1);
  EXPECT_EQ(placeholder.Nickname(), "Capture");
  EXPECT_EQ(placeholder.Abbrekey(), "capture");
  EXPECT_EQ(placeholder.ActivationCode(), activation::kAbbrekey);

  hook->FeedKey(vk::kLShift, false);
  TypeKeys("H");
  hook->FeedKey(vk::kLShift, true);
  TypeKeys("I");
  hook->FeedKeyPress(vk::kReturn);
  hook->FeedKey(vk::kLControl, false);
  TypeKeys("A");  // a hot key is recorded, not run
  hook->FeedKey(vk::kLControl, true);
  EXPECT_EQ(FileText(kWorkFile), "Hi<ENTER><CTRL>a");
  EXPECT_EQ(Typed(), "");

  AnswerWithHotKey('K', "  Greeting  ");
  PressStopKey();
  ASSERT_EQ(runner.shown.size(), 1u);
  EXPECT_EQ(runner.shown[0].caption, "Capture Complete");
  EXPECT_FALSE(runner.shown[0].leftOpen);
  EXPECT_FALSE(block.CaptureOn());
  EXPECT_FALSE(block.SecondaryWindowOn());
  EXPECT_FALSE(Exists(kWorkFile));
  const TMacroRec stored = Record(count + 1);
  EXPECT_EQ(stored.Text(), "Hi<ENTER><CTRL>a");
  EXPECT_EQ(stored.ActivationCode(), kCtrlAltK);
  EXPECT_EQ(stored.Nickname(), "Greeting");
  EXPECT_EQ(stored.ScopeKind(), scope::kGlobal);
  EXPECT_TRUE(BoxTexts().empty());

  // The key plays the recording.
  Press('K', true, true);
  EXPECT_EQ(Typed(), "HI\nA");
}

TEST_F(RecordingTest, BrowseModeRefusesToRecord) {
  mem.processes.commandLine += " /B";
  StartPlayer();
  const int count = block.MacroCount();
  std::vector<std::string> messages;
  ReadNextMessage(runner, messages);
  PressStopKey();
  EXPECT_EQ(messages, std::vector<std::string>{"Error: Capture not allowed in Browse Mode."});
  EXPECT_EQ(block.MacroCount(), count);
  EXPECT_FALSE(block.CaptureOn());
  EXPECT_FALSE(Exists(kWorkFile));
}

TEST_F(RecordingTest, AFullLibraryRefusesToRecord) {
  std::vector<MacroSpec> more(kMaxMacros - 7, MacroSpec{"filler", activation::kNone, scope::kGlobal, "", "f"});
  AddMacros(more);
  StartPlayer();
  ASSERT_EQ(block.MacroCount(), kMaxMacros);
  std::vector<std::string> messages;
  ReadNextMessage(runner, messages);
  PressStopKey();
  EXPECT_EQ(messages,
            std::vector<std::string>{"Error: Maximum number of macros has been reached.  Capture not allowed."});
  EXPECT_EQ(block.MacroCount(), kMaxMacros);
  EXPECT_FALSE(block.CaptureOn());
}

// While the dialog is up the recording is not over yet: the system macro is refused, and
// further end messages and characters change nothing.
TEST_F(RecordingTest, DuringTheDialogASecondStartAndLateMessagesAreRefused) {
  StartPlayer();
  const int count = block.MacroCount();
  PressStopKey();
  TypeKeys("AB");
  std::vector<std::string> messages;
  runner.Then([&](forms::Form& f) {
    auto& dialog = dynamic_cast<TCapComplete&>(f);
    ReadNextMessage(runner, messages);
    forms::user::Focus(dialog.NickName);  // the hot key entry field gives up the keys
    EXPECT_FALSE(block.SecondaryWindowOn());
    PostHotKey(kStopKey, main->MainWindow());
    mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, count + 1, 'Z');
    mem.desktop.PostMessage(main->MainWindow(), UM_CAPTUREDONE, count + 1, 0);
    Pump();
    EXPECT_EQ(messages, std::vector<std::string>{"Error: A capture is currently in progress.  Capture not allowed."});
    forms::user::CloseBox(dialog);
  });
  PressStopKey();
  // The dialog and the refusal's message window.
  ASSERT_EQ(runner.shown.size(), 2u);
  // Closed without Ok: the placeholder's name and Abbrekey stay, with the recorded text.
  const TMacroRec stored = Record(count + 1);
  EXPECT_EQ(stored.Text(), "ab");
  EXPECT_EQ(stored.Nickname(), "Capture");
  EXPECT_EQ(stored.Abbrekey(), "capture");
  EXPECT_EQ(stored.ActivationCode(), activation::kAbbrekey);
  EXPECT_EQ(block.MacroCount(), count + 1);

  // Once it is over, a stray end message rewrites nothing and a stray character goes nowhere.
  mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, count + 1, 'Q');
  mem.desktop.PostMessage(main->MainWindow(), UM_CAPTUREDONE, 2, 0);
  Pump();
  EXPECT_EQ(Record(count + 1), stored);
  EXPECT_EQ(Record(2).Nickname(), "Run Wendrix Editor");
  EXPECT_FALSE(Exists(kWorkFile));
  EXPECT_EQ(runner.shown.size(), 2u);
}

TEST_F(RecordingTest, NulCharactersAreNotRecordedAndTimeStartsWithTheSpeed) {
  Options("Time", "Yes");
  Options("Speed", "3");
  StartPlayer();
  const int macro = block.MacroCount() + 1;
  PressStopKey();
  mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, macro, 'x');
  mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, macro, 0);
  mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, macro, 0xE9);  // above 127: kept as it is
  Pump();
  EXPECT_EQ(FileText(kWorkFile), "<SPEED:00.50>x\xE9");
  runner.Then([](forms::Form& f) { forms::user::CloseBox(f); });
  PressStopKey();
  EXPECT_EQ(Record(macro).Text(), "<SPEED:00.50>x\xE9");
}

// The record written at the end is the one reserved at the start, wherever the library moved
// it; when it is gone the recording becomes a new macro and overwrites nothing.
TEST_F(RecordingTest, TheEndFindsThePlaceholderAfterTheLibraryChanged) {
  StartPlayer();
  const int placeholder = block.MacroCount() + 1;  // 8
  PressStopKey();
  TypeKeys("A");
  // Another program removes macro 6 and reloads: the placeholder is number 7 now.
  {
    std::string bytes = FileText(kLibrary);
    bytes.erase(static_cast<std::size_t>(5) * kMacroRecSize, kMacroRecSize);
    std::ofstream(Native(kLibrary), std::ios::binary | std::ios::trunc) << bytes;
  }
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReload, 0);
  Pump();
  ASSERT_EQ(block.MacroCount(), placeholder - 1);
  AnswerWithHotKey('K', "moved");
  PressStopKey();
  EXPECT_EQ(Record(placeholder - 1).Nickname(), "moved");
  EXPECT_EQ(Record(placeholder - 2).Nickname(), "menu");
  EXPECT_EQ(block.MacroCount(), placeholder - 1);

  // Now the placeholder is replaced by another macro meanwhile.
  const int second = block.MacroCount() + 1;
  PressStopKey();
  TypeKeys("B");
  {
    std::fstream lib(Native(kLibrary), std::ios::in | std::ios::out | std::ios::binary);
    lib.seekp(static_cast<std::streamoff>(second - 1) * static_cast<std::streamoff>(kMacroRecSize));
    const TMacroRec other = MakeRecord({"other", kCtrlA, scope::kWindow, "Notes", "other text"});
    lib.write(reinterpret_cast<const char*>(other.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  runner.Then([](forms::Form& f) { forms::user::CloseBox(f); });
  PressStopKey();
  EXPECT_EQ(Record(second).Nickname(), "other");
  EXPECT_EQ(Record(second).Text(), "other text");
  EXPECT_EQ(Record(second + 1).Text(), "b");
  EXPECT_EQ(block.MacroCount(), second + 1);
}

TEST_F(RecordingTest, ALeftoverWorkFileIsKeptBeforeANewRecording) {
  std::ofstream(Native(kWorkFile), std::ios::binary) << "left from a crash";
  std::ofstream(Native("C:\\WENDRIX\\WD0.TXT"), std::ios::binary) << "older";
  StartPlayer();
  std::vector<std::string> messages;
  ReadNextMessage(runner, messages);
  PressStopKey();
  EXPECT_EQ(messages, std::vector<std::string>{"Capture: The keystrokes of an earlier recording that did not end "
                                               "were kept in C:\\WENDRIX\\WD1.TXT."});
  EXPECT_EQ(FileText("C:\\WENDRIX\\WD1.TXT"), "left from a crash");
  EXPECT_EQ(FileText("C:\\WENDRIX\\WD0.TXT"), "older");
  EXPECT_TRUE(block.CaptureOn());
  EXPECT_EQ(FileText(kWorkFile), "");
}

TEST_F(RecordingTest, ALongRecordingGoesToItsOwnFile) {
  StartPlayer();
  const int macro = block.MacroCount() + 1;
  PressStopKey();
  for (int i = 0; i < 5001; ++i) mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, macro, 'a' + i % 26);
  Pump();
  runner.Then([](forms::Form& f) { forms::user::CloseBox(f); });
  PressStopKey();
  EXPECT_EQ(Record(macro).Text(), "<TFILE:C:\\WENDRIX\\WD0.TXT>");
  EXPECT_EQ(FileText("C:\\WENDRIX\\WD0.TXT").size(), 5001u);
  EXPECT_FALSE(Exists(kWorkFile));
}

// --- The dialog's choices and checks

struct DialogCase {
  const char* what;
  std::function<void(TCapComplete&, StandAlonePlayer&)> play;
  std::vector<std::string> boxes;
  std::uint16_t activation;
  std::int16_t scopeKind;
  std::string scopeText;
  std::string abbrekey;
  std::string nickname;
};

TEST_F(RecordingTest, DialogChecksAndChoices) {
  using forms::user::Click;
  using forms::user::EnterText;
  using forms::user::Select;
  const DialogCase cases[] = {
      {"no hot key chosen, then one",
       [](TCapComplete& d, StandAlonePlayer&) {
         Click(d.OkButton);
         EXPECT_TRUE(d.Showing());
         EXPECT_EQ(d.activeControl(), &d.HotKeyEntry);
         Select(d.KeyList, 300);
         Click(d.OkButton);
       },
       {"Error: No hot key selected.  Please select one."},
       300,
       scope::kGlobal,
       "",
       "capture",
       ""},
      {"a popup menu's key is refused for Global, taken for Program",
       [](TCapComplete& d, StandAlonePlayer&) {
         Select(d.KeyList, kCtrlB);
         EXPECT_EQ(d.HotKeyEntry.text(), "Ctrl+B");
         Click(d.OkButton);
         EXPECT_TRUE(d.Showing());
         Click(d.ProgramButton);
         Click(d.OkButton);
       },
       {"Error: A Global Hot Key is already in use for the selected hot key.  Please select a different one or "
        "choose the Program specific option."},
       kCtrlB,
       scope::kProgram,
       "TARGET.EXE",
       "capture",
       ""},
      {"Alt+F6 is asked about: No keeps the dialog, Yes takes it",
       [](TCapComplete& d, StandAlonePlayer& player) {
         Select(d.KeyList, 89);
         player.mem.boxes.QueueAnswer(platform::mb::kIdNo);
         Click(d.OkButton);
         EXPECT_TRUE(d.Showing());
         player.mem.boxes.QueueAnswer(platform::mb::kIdYes);
         Click(d.OkButton);
       },
       {"Warning: Alt+F6 may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to "
        "function correctly. Would you still like to use Alt+F6?",
        "Warning: Alt+F6 may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to "
        "function correctly. Would you still like to use Alt+F6?"},
       89,
       scope::kGlobal,
       "",
       "capture",
       ""},
      {"an Abbrekey needs a name",
       [](TCapComplete& d, StandAlonePlayer&) {
         Click(d.UseAbbrekeys);
         EXPECT_FALSE(d.KeyList.visible());
         EXPECT_TRUE(d.AbbrekeyName.visible());
         EXPECT_EQ(d.clientHeight(), 204);
         EnterText(d.AbbrekeyName, "   ");
         Click(d.OkButton);
         EXPECT_EQ(d.activeControl(), &d.AbbrekeyName);
         EnterText(d.AbbrekeyName, " sig ");
         EnterText(d.NickName, "Signature");
         Click(d.OkButton);
       },
       {"Error: No Abbrekey name entered."},
       activation::kAbbrekey,
       scope::kGlobal,
       "",
       "sig",
       "Signature"},
      {"none, for later",
       [](TCapComplete& d, StandAlonePlayer&) {
         Click(d.UseNone);
         EXPECT_FALSE(d.AbbrekeyName.visible());
         EXPECT_EQ(d.clientHeight(), 178);
         Click(d.OkButton);
       },
       {},
       activation::kNone,
       scope::kGlobal,
       "",
       "capture",
       ""},
  };
  StartPlayer();
  for (const DialogCase& c : cases) {
    SCOPED_TRACE(c.what);
    mem.boxes.shown.clear();
    const int macro = block.MacroCount() + 1;
    PressStopKey();
    TypeKeys("Q");
    runner.Then([&](forms::Form& f) { c.play(dynamic_cast<TCapComplete&>(f), *this); });
    PressStopKey();
    EXPECT_EQ(BoxTexts(), c.boxes);
    const TMacroRec r = Record(macro);
    EXPECT_EQ(r.Text(), "q");
    EXPECT_EQ(r.ActivationCode(), c.activation);
    EXPECT_EQ(r.ScopeKind(), c.scopeKind);
    EXPECT_EQ(r.ScopeText(), c.scopeText);
    EXPECT_EQ(r.Abbrekey(), c.abbrekey);
    EXPECT_EQ(r.Nickname(), c.nickname);
  }
}

TEST_F(RecordingTest, TheListCountsEveryMacroOnEachKey) {
  AddMacros({{"second on Ctrl+A", kCtrlA, scope::kWindow, "Notes", "2"}});
  StartPlayer();
  PressStopKey();
  runner.Then([](forms::Form& f) {
    auto& d = dynamic_cast<TCapComplete&>(f);
    EXPECT_EQ(d.KeyList.count(), kHotKeyCount);
    EXPECT_EQ(forms::ItemText(d.KeyList, kCtrlA), "Ctrl+A 2 macros in use");
    EXPECT_EQ(forms::ItemText(d.KeyList, kCtrlB), "Ctrl+B 1 macro in use");
    EXPECT_EQ(forms::ItemText(d.KeyList, 2), "Ctrl+C Not in Use");
    EXPECT_EQ(d.KeyList.itemHeight(), 18);
    forms::user::CloseBox(d);
  });
  PressStopKey();
  EXPECT_EQ(runner.shown.size(), 1u);
}

// --- The work file and what a finished recording becomes

// Long-macro files land in a folder that cannot be made: none can be written.
class NoLongMacroFiles : public platform::Files {
 public:
  explicit NoLongMacroFiles(platform::Files& inner) : inner_(inner) {}
  std::string NativePath(const std::string& path) override {
    if (path.find("\\WD") != std::string::npos && path.find(".TXT") != std::string::npos)
      return "/proc/wdx-no-such-folder/" + path.substr(path.rfind('\\') + 1);
    return inner_.NativePath(path);
  }

 private:
  platform::Files& inner_;
};

TEST(CaptureWorkFileTest, FiveThousandCharactersStayInTheRecordOneMoreGoesToAFile) {
  platform::MemoryPlatform mem;
  std::filesystem::create_directories(mem.NativePath(kFolder));
  CaptureWorkFile work(mem.files, kFolder);
  const struct {
    std::size_t length;
    CaptureWorkFile::Result::Kind kind;
    std::string text;
  } cases[] = {
      {0, CaptureWorkFile::Result::Kind::kText, ""},
      {5000, CaptureWorkFile::Result::Kind::kText, std::string(5000, 'k')},
      {5001, CaptureWorkFile::Result::Kind::kLongFile, "<TFILE:C:\\WENDRIX\\WD0.TXT>"},
      {9000, CaptureWorkFile::Result::Kind::kLongFile, "<TFILE:C:\\WENDRIX\\WD1.TXT>"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(work.Create());
    for (std::size_t i = 0; i < c.length; ++i) ASSERT_TRUE(work.Append('k'));
    const CaptureWorkFile::Result r = work.Finish(macro_rec::kMaxTextLength);
    EXPECT_EQ(r.kind, c.kind) << c.length;
    EXPECT_EQ(r.text, c.text) << c.length;
    EXPECT_EQ(work.Problem(r), "");
    if (r.kind == CaptureWorkFile::Result::Kind::kLongFile) {
      EXPECT_EQ(std::filesystem::file_size(mem.NativePath(r.file)), c.length);
      EXPECT_FALSE(std::filesystem::exists(mem.NativePath(work.Path())));
    } else {
      work.Remove();
    }
  }
  EXPECT_FALSE(work.HasLeftover());
}

TEST(CaptureWorkFileTest, ALongMacroFileThatCannotBeWrittenLosesNothing) {
  platform::MemoryPlatform mem;
  std::filesystem::create_directories(mem.NativePath(kFolder));
  NoLongMacroFiles files(mem.files);
  CaptureWorkFile work(files, kFolder);
  ASSERT_TRUE(work.Create());
  for (int i = 0; i < 5001; ++i) work.Append('z');
  const CaptureWorkFile::Result r = work.Finish(macro_rec::kMaxTextLength);
  EXPECT_EQ(r.kind, CaptureWorkFile::Result::Kind::kFileNotWritten);
  EXPECT_FALSE(r.Kept());
  EXPECT_EQ(work.Problem(r),
            "The recorded keystrokes are too long for a macro and could not be saved to a file of their own in "
            "C:\\WENDRIX.  They are kept in C:\\WENDRIX\\TempCap.Txt.");
  EXPECT_EQ(std::filesystem::file_size(mem.NativePath(work.Path())), 5001u);
  // The next recording cannot keep it elsewhere either, so it does not start over it.
  EXPECT_TRUE(work.HasLeftover());
  EXPECT_EQ(work.KeepLeftover(), std::nullopt);
  EXPECT_EQ(std::filesystem::file_size(mem.NativePath(work.Path())), 5001u);
}

// Through the player: the user is told, the text stays in the work file, the placeholder
// goes, and the next start refuses rather than start over it.
TEST_F(RecordingTest, ARecordingThatCannotBeKeptIsSaidAndStaysInTheWorkFile) {
  NoLongMacroFiles files(mem.files);
  p.files = &files;
  StartPlayer();
  const int count = block.MacroCount();
  PressStopKey();
  for (int i = 0; i < 5001; ++i) mem.desktop.PostMessage(main->MainWindow(), UM_CAPTURECHAR, count + 1, 'w');
  Pump();
  std::vector<std::string> messages;
  ReadNextMessage(runner, messages);
  PressStopKey();
  // No capture dialog: only the message window.
  ASSERT_EQ(runner.shown.size(), 1u);
  EXPECT_EQ(runner.shown[0].name, "OnTopMessage");
  EXPECT_EQ(messages, std::vector<std::string>{
                            "Error: The recorded keystrokes are too long for a macro and could not be saved to a file "
                            "of their own in C:\\WENDRIX.  They are kept in C:\\WENDRIX\\TempCap.Txt."});
  EXPECT_EQ(block.MacroCount(), count);
  EXPECT_FALSE(block.CaptureOn());
  EXPECT_EQ(FileText(kWorkFile), std::string(5001, 'w'));

  messages.clear();
  ReadNextMessage(runner, messages);
  PressStopKey();
  EXPECT_EQ(messages, std::vector<std::string>{
                            "Error: C:\\WENDRIX\\TempCap.Txt holds the keystrokes of an earlier recording that could "
                            "not be kept elsewhere.  Capture not allowed."});
  EXPECT_EQ(block.MacroCount(), count);
  EXPECT_EQ(FileText(kWorkFile), std::string(5001, 'w'));
}

}  // namespace
}  // namespace wdx::player::testing
