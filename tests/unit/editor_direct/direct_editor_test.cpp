// The direct text editor on the editor's main road: a macro opened by "Modify Directly", edited,
// saved and the player told; the Properties page of every activation; the save's checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "direct_fixture.h"
#include "editor/direct/direct_text.h"
#include "shared/hot_keys.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

using Notices = std::vector<std::pair<int, std::int64_t>>;

class DirectEditorTest : public DirectFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    TMacroRec hotKey = MakeRecord({"Greeting", 65});
    hotKey.SetText("old text");
    TMacroRec timed = MakeRecord({"Timer", activation::kTimedCode});
    TMacroRec abbrekey = MakeRecord({"Sig", activation::kAbbrekeyCode, 1, "", "sig"});
    TMacroRec title = MakeRecord({"Title", activation::kWindowTitleCode, 3, "Untitled - Notepad"});
    TMacroRec mouse = MakeRecord({"Mouse", activation::kMouseCode});
    mouse.SetMouseTop(10);
    mouse.SetMouseLeft(20);
    mouse.SetMouseBottom(300);
    mouse.SetMouseRight(400);
    mouse.SetMouseButton(1);
    TMacroRec none = MakeRecord({"Plain", activation::kNoneCode, 2, "Calculator"});
    WriteRecords({hotKey, timed, abbrekey, title, mouse, none});
    Start();
    InstallDirectEditor(Main(), editor->Context());
    editor->Context().lock = &lock;
    TakeNotices();
  }
  void WriteRecords(const std::vector<TMacroRec>& records) {
    const std::filesystem::path native = mem.NativePath(kLibrary);
    std::filesystem::create_directories(native.parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    for (const TMacroRec& r : records) out.write(reinterpret_cast<const char*>(r.data()), kMacroRecSize);
    mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
  }
  // The macro's record as the library file holds it.
  TMacroRec Stored(int n) { return ReadLibrary().at(static_cast<std::size_t>(n - 1)); }

  CountingLock lock;
};

TEST_F(DirectEditorTest, OkStoresTheTextWithItsTabsAndTellsThePlayer) {
  Modify(1, [](TModHotKeys& e) {
    EXPECT_EQ(e.caption(), "Modify Directly Editor  (Hot Key: " + std::string(HotKeyName(65)) + ")");
    EXPECT_EQ(e.NewFormat.text(), "old text");
    EXPECT_EQ(e.activeControl(), &e.NewFormat);
    Type(e.NewFormat, "a\tb\r\nc");
    Click(e.btnSaveClose);
  });
  EXPECT_EQ(Stored(1).Text(), "a<TAB>b\r\nc");
  EXPECT_EQ(Stored(1).Nickname(), "Greeting");
  // The record rewritten, then (on closing) the hot-key map.
  EXPECT_EQ(TakeNotices(), (Notices{{control::kRecordRewritten, 1}, {control::kDataGroup, 14}}));
  EXPECT_EQ(lock.taken, 1);
  EXPECT_EQ(lock.released, (std::vector<int>{1}));
  EXPECT_EQ(runner.shown.back().name, "ModHotKeys");
}

TEST_F(DirectEditorTest, ClosingWaysAndTheQuestionAboutChanges) {
  // Cancel with changes asks; No closes without saving. The lock goes back unchanged.
  mem.boxes.QueueAnswer(platform::mb::kIdNo);
  Modify(1, [](TModHotKeys& e) {
    Type(e.NewFormat, "new");
    Click(e.CancelButton);
  });
  EXPECT_EQ(mem.boxes.shown.back().text, kModifiedQuestion);
  EXPECT_EQ(mem.boxes.shown.back().caption, "Wendrix 2000");
  EXPECT_EQ(Stored(1).Text(), "old text");
  EXPECT_EQ(lock.released, (std::vector<int>{0}));

  // Esc typed in the memo leaves at once, even with changes.
  mem.boxes.shown.clear();
  Modify(1, [](TModHotKeys& e) {
    Type(e.NewFormat, "new");
    forms::user::KeyPress(e, '\x1b');
  });
  EXPECT_TRUE(mem.boxes.shown.empty());
  EXPECT_EQ(Stored(1).Text(), "old text");

  // Apply, then Cancel without further changes: no question; the one release is a change.
  lock.released.clear();
  Modify(1, [](TModHotKeys& e) {
    Type(e.NewFormat, "applied");
    Click(e.SaveButton);
    EXPECT_TRUE(e.Showing());
    Click(e.CancelButton);
  });
  EXPECT_TRUE(mem.boxes.shown.empty());
  EXPECT_EQ(Stored(1).Text(), "applied");
  EXPECT_EQ(lock.released, (std::vector<int>{1}));

  // A failed save keeps the changes marked: Cancel still asks.
  mem.boxes.QueueAnswer(platform::mb::kOk);
  mem.boxes.QueueAnswer(platform::mb::kIdNo);
  Modify(3, [](TModHotKeys& e) {
    Type(e.NewFormat, "edited");
    forms::user::Select(e.MainPage, 1);
    Type(e.AbbrekeyName, "  ");
    forms::user::Select(e.MainPage, 0);
    Click(e.btnSaveClose);
    EXPECT_TRUE(e.Showing());
    EXPECT_EQ(e.MainPage.activePage(), &e.ScriptProperties);
    EXPECT_EQ(e.activeControl(), &e.AbbrekeyName);
    Click(e.CancelButton);
  });
  ASSERT_EQ(mem.boxes.shown.size(), 2u);
  EXPECT_EQ(mem.boxes.shown[0].text, "No Abbrekey name was entered.");
  EXPECT_EQ(mem.boxes.shown[1].text, kModifiedQuestion);
}

TEST_F(DirectEditorTest, ALockHeldElsewhereOpensNothing) {
  lock.busy = true;
  const std::size_t before = runner.shown.size();
  Main().SelectMacro(1);
  forms::user::ChooseMenu(Main(), "MenuEnterKey");
  EXPECT_EQ(runner.shown.size(), before);
  EXPECT_TRUE(lock.released.empty());
}

TEST_F(DirectEditorTest, EveryActivationShowsItsOwnProperties) {
  struct Case {
    int macro;
    const char* type;
    const char* act;
    const char* caption;
    bool label, edit, schedule, abbrekeyPanel, mousePanel;
  } cases[] = {
      {2, "Timed Macro", "Schedule:", "Timed Macro", true, false, true, false, false},
      {3, "Abbrekey", "Activation:", "Abbrekey: sig", false, true, false, true, false},
      {4, "Window Title", "Activation:", "Window Title Macro", false, true, false, false, false},
      {5, "Mouse Click", "Activation:", "Mouse Click", false, false, false, false, true},
      {6, "None", "Activation:", "None", true, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    Modify(c.macro, [&](TModHotKeys& e) {
      forms::user::Select(e.MainPage, 1);
      EXPECT_EQ(e.TypeLabel.caption(), c.type);
      EXPECT_EQ(e.ActLabel.caption(), c.act);
      EXPECT_EQ(e.caption(), std::string("Modify Directly Editor  (") + c.caption + ")");
      EXPECT_EQ(e.HotKeyLabel.visible(), c.label);
      EXPECT_EQ(e.AbbrekeyName.visible(), c.edit);
      EXPECT_EQ(e.SetSchedule.visible(), c.schedule);
      EXPECT_EQ(e.ShortPanel.visible(), c.abbrekeyPanel);
      EXPECT_EQ(e.MousePanel.visible(), c.mousePanel);
      // The menus of the text tools go with the Editor page.
      EXPECT_FALSE(e.MainMenu.CanChoose("MenuFind"));
      Click(e.CancelButton);
    });
  }
}

TEST_F(DirectEditorTest, TheScheduleAndTheNoneLabel) {
  Modify(
      2,
      [](TModHotKeys& e) {
        EXPECT_EQ(e.HotKeyLabel.caption(), "At Startup");
        forms::user::Select(e.MainPage, 1);
        Click(e.SetSchedule);
        // The label keeps its description until the editor opens again.
        EXPECT_EQ(e.HotKeyLabel.caption(), "At Startup");
        Click(e.btnSaveClose);
      },
      {[](forms::Form& f) {
        EXPECT_EQ(f.caption(), "Set Schedule");
        forms::user::Click(*f.Find("Other"));
        forms::user::EnterText(*f.Find("OtherMinutes"), "30");
        forms::user::Click(*f.Find("UpdateButton"));
      }});
  EXPECT_EQ(Stored(2).ScheduleKind(), 6);
  EXPECT_EQ(Stored(2).EveryMinutes(), 30);
  Modify(6, [](TModHotKeys& e) {
    EXPECT_EQ(e.HotKeyLabel.caption(), "None");
    EXPECT_EQ(e.WinProgSelect.caption(), "Window Title: Calculator");
    Click(e.CancelButton);
  });
}

TEST_F(DirectEditorTest, AWindowTitleMacroKeepsALongProgramNameWhole) {
  Modify(
      4,
      [](TModHotKeys& e) {
        forms::user::Select(e.MainPage, 1);
        EXPECT_FALSE(e.Specific.enabled());
        EXPECT_TRUE(e.ProgExe.checked());
        Click(e.ChooseWinProg);
        EXPECT_EQ(e.WinProgSelect.caption(), "Program Name: NOTEPADPLUS.EXE");
        Click(e.btnSaveClose);
      },
      {[](forms::Form& picker) {
        EXPECT_EQ(picker.caption(), "Set Program");
        forms::user::EnterText(*picker.Find("TheTitle"), "NOTEPADPLUS.EXE");
        forms::user::Click(*picker.Find("OkButton"));
      }});
  const TMacroRec r = Stored(4);
  EXPECT_EQ(r.Abbrekey(), "NOTEPADPLU");
  EXPECT_EQ(r.ProgramName(), "NOTEPADPLUS.EXE");
  EXPECT_EQ(r.ScopeText(), "Untitled - Notepad");
}

TEST_F(DirectEditorTest, TheSaveChecksTheAbbrekeyTheTitleAndTheMouseArea) {
  struct Case {
    int macro;
    std::function<void(TModHotKeys&)> fill;
    const char* message;  // nullptr: saved
    const char* focus;
  } cases[] = {
      {3, [](TModHotKeys& e) { Type(e.AbbrekeyName, "ab(c"); }, kInvalidAbbrekeyText, "AbbrekeyName"},
      {3, [](TModHotKeys& e) { Type(e.AbbrekeyName, "a b"); }, kInvalidAbbrekeyText, "AbbrekeyName"},
      {3, [](TModHotKeys& e) { Type(e.AbbrekeyName, "ab'c"); }, nullptr, ""},
      {3, [](TModHotKeys& e) { Type(e.AbbrekeyName, "a\\b"); }, nullptr, ""},
      {3, [](TModHotKeys& e) { Type(e.AbbrekeyName, "  abc "); }, nullptr, ""},
      {4, [](TModHotKeys& e) { Type(e.AbbrekeyName, "   "); }, "No Window title has been entered.", "AbbrekeyName"},
      {5, [](TModHotKeys& e) { Type(e.MTop, "12abc"); }, "Invalid top position entered.  Please correct.", "MTop"},
      {5, [](TModHotKeys& e) { Type(e.MRight, ""); }, "Invalid right position entered.  Please correct.", "MRight"},
      {5,
       [](TModHotKeys& e) {
         Type(e.MTop, "10");
         Type(e.MLeft, "300");
         Type(e.MBottom, "5");
         Type(e.MRight, "100");
       },
       nullptr, ""},
  };
  for (const Case& c : cases) {
    mem.boxes.shown.clear();
    std::string focus;
    Modify(c.macro, [&](TModHotKeys& e) {
      forms::user::Select(e.MainPage, 1);
      c.fill(e);
      Click(e.btnSaveClose);
      if (e.Showing()) {
        focus = e.activeControl()->name();
        forms::user::CloseBox(e);
      }
    });
    if (c.message == nullptr) {
      EXPECT_TRUE(mem.boxes.shown.empty()) << mem.boxes.shown.front().text;
    } else {
      ASSERT_EQ(mem.boxes.shown.size(), 1u);
      EXPECT_EQ(mem.boxes.shown[0].text, c.message);
      EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
      EXPECT_EQ(focus, c.focus);
    }
  }
  EXPECT_EQ(Stored(3).Abbrekey(), "abc");
  const TMacroRec mouse = Stored(5);
  EXPECT_EQ(mouse.MouseTop(), 5);
  EXPECT_EQ(mouse.MouseLeft(), 100);
  EXPECT_EQ(mouse.MouseBottom(), 10);
  EXPECT_EQ(mouse.MouseRight(), 300);
}

TEST_F(DirectEditorTest, TheLengthQuestionAtTheLimit) {
  struct Case {
    std::string text;
    int answer;
    std::size_t stored;  // 0: not saved
    bool asked;
  } cases[] = {
      {std::string(5000, 'x'), 0, 5000, false},
      {std::string(5001, 'x'), platform::mb::kIdYes, 5000, true},
      {std::string(4998, 'x') + "\t", platform::mb::kIdYes, 5000, true},  // the tab becomes 5 characters
      {std::string(5001, 'x'), platform::mb::kIdNo, 0, true},
  };
  for (const Case& c : cases) {
    mem.boxes.shown.clear();
    if (c.answer != 0) mem.boxes.QueueAnswer(c.answer);
    Modify(1, [&](TModHotKeys& e) {
      forms::user::TextChanged(e.NewFormat, c.text);
      Click(e.btnSaveClose);
      if (e.Showing()) forms::user::CloseBox(e);
    });
    EXPECT_EQ(!mem.boxes.shown.empty() && mem.boxes.shown[0].text == kTooLongQuestion, c.asked);
    // Refused: the text of the case before stays.
    EXPECT_EQ(Stored(1).Text().size(), c.stored != 0 ? c.stored : 5000u);
  }
}

TEST_F(DirectEditorTest, MouseWindowPartRules) {
  Modify(5, [this](TModHotKeys& e) {
    forms::user::Select(e.MainPage, 1);
    EXPECT_TRUE(e.ClickPanel2.visible());
    EXPECT_EQ(e.MTop.text(), "10");
    Click(e.RightMButton);
    Click(e.WindowPart);
    EXPECT_TRUE(e.ClickPanel3.visible());
    EXPECT_FALSE(e.TitleButt.enabled());
    Click(e.MaxButt);
    EXPECT_TRUE(mem.boxes.shown.empty());
    Click(e.LeftMButton);
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown[0].text, "Minimize and maximize buttons are unavailable with the left mouse click.");
    EXPECT_FALSE(e.MaxButt.enabled());
    EXPECT_FALSE(e.MinButt.enabled());
    EXPECT_EQ(e.activeControl(), &e.TitleButt);
    Click(e.btnSaveClose);
  });
  const TMacroRec r = Stored(5);
  EXPECT_EQ(r.WindowPartFlag(), 1);
  EXPECT_EQ(r.WindowPart(), 1);
  EXPECT_EQ(r.MouseButton(), 1);
}

TEST_F(DirectEditorTest, TheIconIsPickedIntoTheIconsFolderAndReset) {
  const std::string icons = "C:\\WENDRIX\\Icons";
  std::filesystem::create_directories(mem.NativePath(icons));
  std::filesystem::create_directories(mem.NativePath("C:\\X"));
  std::ofstream(mem.NativePath("C:\\X\\ABC.ICO")) << "icon";
  std::ofstream(mem.NativePath("C:\\X\\notes.txt")) << "text";
  runner.AnswerFile("C:\\X\\notes.txt");
  runner.AnswerFile("C:\\X\\ABC.ICO");
  runner.AnswerFile("C:\\X\\ABC.ICO");  // a second time: the copy in the folder is taken
  Modify(1, [this, icons](TModHotKeys& e) {
    forms::user::Select(e.MainPage, 1);
    Click(e.MySpeed);
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown.back().text, kInvalidFileTypeText);
    Click(e.MySpeed);
    EXPECT_EQ(e.IconName, "ABC.ICO");
    EXPECT_EQ(e.MySpeed3.picture().file, icons + "\\ABC.ICO");
    Click(e.MySpeed);
    EXPECT_EQ(mem.boxes.shown.back().caption, "Error");
    EXPECT_EQ(e.IconName, "ABC.ICO");
    mem.boxes.QueueAnswer(platform::mb::kIdNo);
    forms::user::RightClick(e.MySpeed3);
    EXPECT_EQ(mem.boxes.shown.back().text, "Reset icon to program default?");
    EXPECT_EQ(e.IconName, "ABC.ICO");
    Click(e.btnSaveClose);
  });
  EXPECT_TRUE(std::filesystem::exists(mem.NativePath(icons + "\\ABC.ICO")));
  EXPECT_EQ(Stored(1).IconName(), "ABC.ICO");
  Modify(1, [this](TModHotKeys& e) {
    EXPECT_EQ(e.IconName, "ABC.ICO");
    mem.boxes.QueueAnswer(platform::mb::kIdYes);
    forms::user::Select(e.MainPage, 1);
    forms::user::RightClick(e.MySpeed);
    EXPECT_EQ(e.IconName, "MAIN");
    EXPECT_EQ(e.MySpeed.picture().kind, forms::Picture::Kind::kMacro);
    Click(e.btnSaveClose);
  });
  EXPECT_EQ(Stored(1).IconName(), "MAIN");
}

// A new macro (as the Add Macro dialog opens it): Apply twice appends once.
TEST_F(DirectEditorTest, ANewMacroIsAppendedOnceAndRewrittenAfter) {
  TMainWin& main = Main();
  main.CurMacro = TMacroRec{};
  main.CurMacro.SetActivationCode(activation::kTimedCode);
  DirectEditorServices services;
  services.dialogs = DialogServices::Of(editor->Context().platform, "C:\\WENDRIX");
  TModHotKeys e(main, editor->Context(), services);
  e.ActivationType = activation::kTimed;
  e.ExistingMacro = 0;
  const int before = editor->Context().glob->MacroCount();
  runner.Then([](forms::Form& f) {
    auto& ed = static_cast<TModHotKeys&>(f);
    Type(ed.NickName, "Fresh");
    Type(ed.NewFormat, "first");
    Click(ed.SaveButton);
    Type(ed.NewFormat, "second");
    Click(ed.SaveButton);
    Click(ed.CancelButton);
  });
  runner.ShowModal(e);
  const int n = before + 1;
  EXPECT_EQ(editor->Context().glob->MacroCount(), n);
  const std::vector<TMacroRec> records = ReadLibrary();
  ASSERT_EQ(static_cast<int>(records.size()), n);
  EXPECT_EQ(records.back().Text(), "second");
  EXPECT_EQ(records.back().Active(), 1);
  EXPECT_EQ(records.back().ScheduleKind(), 3);  // the default schedule of a new timed macro
  EXPECT_EQ(TakeNotices(), (Notices{{control::kDataGroup, 8},
                                    {control::kRecordRewritten, n},
                                    {control::kDataGroup, 14},
                                    {control::kSchedulesChanged, 0},
                                    {control::kRecordRewritten, n},
                                    {control::kDataGroup, 14}}));
  EXPECT_EQ(Main().SelectedMacro(), n);
}

}  // namespace
}  // namespace wdx::editor::testing
