// The editor's start: only the player starts it, one editor per desktop, the player's window from
// the command line, the library and its built-in macros, the recent files and the close.
#include <gtest/gtest.h>

#include <filesystem>

#include "editor_fixture.h"
#include "forms/user.h"
#include "shared/protocol_messages.h"
#include "shared/shared_blocks.h"
#include "shared/text_util.h"

namespace wdx::editor::testing {
namespace {

TEST(EditorStart, RefusesAStartWithoutTheTokenAndASecondEditor) {
  for (const char* args : {"", "-rxb /RH5", "RXB", "/RH5 -RXB", "-RXB2"}) {
    EditorFixture f;
    f.mem.processes.commandLine = std::string("C:\\WENDRIX\\WENDFORGE.EXE ") + args;
    EditorProcess editor(f.platform, f.hook, f.runner);
    EXPECT_EQ(editor.Start(), StartCheck::kNotStartedByPlayer) << args;
    ASSERT_EQ(f.mem.boxes.shown.size(), 1u) << args;
    EXPECT_EQ(f.mem.boxes.shown[0].text, "Wendrix Editor can only be invoked via Wendrix");
    EXPECT_EQ(f.mem.boxes.shown[0].caption, "");
    EXPECT_EQ(editor.Main(), nullptr);
    EXPECT_FALSE(InstanceMarkerExists(f.mem.kernel, kEditorInstanceMarkerName)) << args;
  }

  EditorFixture f;
  auto other = CreateInstanceMarker(f.mem.kernel, kEditorInstanceMarkerName);
  EXPECT_EQ(f.Start(), StartCheck::kAlreadyRunning);
  EXPECT_TRUE(f.mem.boxes.shown.empty()) << "a second editor ends silently";
  EXPECT_EQ(f.editor->Main(), nullptr);
  EXPECT_TRUE(f.runner.shown.empty());
}

TEST(EditorStart, StartsWithCaptionMenusAndPagesAndHoldsTheMarker) {
  EditorFixture f;
  f.WriteLibrary({{"Hello", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  EXPECT_TRUE(InstanceMarkerExists(f.mem.kernel, kEditorInstanceMarkerName));
  EXPECT_EQ(f.Main().caption(), "Wendrix Editor (ABC)");
  EXPECT_EQ(f.Main().PlayerWnd(), f.player);
  ASSERT_EQ(f.runner.shown.size(), 1u);
  EXPECT_FALSE(f.runner.shown[0].modal);
  std::vector<std::string> bar;
  for (const forms::MenuItem& m : f.Main().MacroMenu.items) bar.push_back(m.caption);
  EXPECT_EQ(bar, (std::vector<std::string>{"&File", "&Macros", "&Wizards", "&Remap", "&Options", "&Tools", "&Help"}));
  EXPECT_EQ(f.Main().MacroMenu.Find("MenuTerminate")->caption, "&Terminate Wendrix Editor");
  EXPECT_EQ(f.Main().MyPage.pages().size(), 2u);
  EXPECT_EQ(f.Main().MyPage.activePage(), &f.Main().PageMacro);
  EXPECT_EQ(f.Main().PageWiz.caption(), "&Quick Wizards");
  EXPECT_EQ(f.Main().WizardButtons.size(), 29u);
  // The player's window found in its own title: the player finds the editor so.
  EXPECT_NE(UpperAscii(f.mem.desktop.GetTitle(f.Main().Handle())).find("WENDRIX EDITOR"), std::string::npos);
}

TEST(EditorStart, ReadsThePlayersWindowFromTheSwitchInAnyCase) {
  struct Case {
    const char* arg;
    platform::WindowHandle expected;
  };
  const Case cases[] = {{"/RH123", 123}, {"/rh456", 456}, {"/RH", 9}, {"/RHabc", 9}, {"/RH12x", 9}, {"/X123", 9}};
  for (const Case& c : cases) {
    EditorFixture f;
    ASSERT_EQ(f.Start("-RXB"), StartCheck::kRun);
    f.editor->Context().link->SetPlayerWnd(9);
    f.Main().ProcessParam(c.arg);
    EXPECT_EQ(f.Main().PlayerWnd(), c.expected) << c.arg;
  }
}

TEST(EditorStart, AMissingLibraryGetsTheFiveBuiltInMacrosAndThePlayerHearsOfThem) {
  EditorFixture f;
  // A "Current File" that does not exist names the library beside the program.
  f.mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  EXPECT_EQ(f.Main().caption(), "Wendrix Editor (WENDX)");
  const std::vector<TMacroRec> records = f.ReadLibrary("C:\\WENDRIX\\WENDX.WDX");
  ASSERT_EQ(records.size(), 5u);
  const char* const digits[] = {"5", "1", "2", "3", "4"};
  const char* const names[] = {"Terminate Wendrix", "Run Wendrix Editor", "Start / Stop Capture", "Resume Pause",
                               "Menu of Macros for Topmost Window"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(records[i].ScopeText(), digits[i]);
    EXPECT_EQ(records[i].Nickname(), names[i]);
    EXPECT_EQ(records[i].ActivationCode(), 261 + i);
    EXPECT_EQ(records[i].ScopeKind(), scope::kSystem);
    EXPECT_EQ(records[i].Active(), 1);
  }
  // Each addition is told to the player, never to window 0.
  const auto notices = f.TakeNotices();
  int counts = 0, rewritten = 0;
  for (const auto& [code, arg] : notices) {
    counts += code == control::kDataGroup && arg == data_group::kMacroCount;
    rewritten += code == control::kRecordRewritten;
  }
  EXPECT_EQ(counts, 5);
  EXPECT_EQ(rewritten, 5);
  for (const platform::Message& m : f.mem.desktop.foreignMessages) EXPECT_NE(m.window, platform::kNoWindow);
  EXPECT_EQ(f.Row(1), "Ctrl+Alt+Shift+V | Terminate Wendrix | SYSTEM");
}

TEST(EditorStart, ARecentLibraryLackingBuiltInMacrosGetsThemItself) {
  EditorFixture f;
  f.WriteLibrary({{"Old", 0}});
  f.WriteLibrary({{"Other", 1}}, "C:\\LIBS\\OTHER.WDX");
  f.mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  ASSERT_EQ(f.ReadLibrary().size(), 6u);
  f.Main().OpenSaveFile("C:\\LIBS\\OTHER.WDX");
  EXPECT_EQ(f.ReadLibrary().size(), 6u) << "the library open before keeps its macros";
  EXPECT_EQ(f.ReadLibrary("C:\\LIBS\\OTHER.WDX").size(), 6u);
  EXPECT_EQ(f.Main().caption(), "Wendrix Editor (OTHER)");
  EXPECT_EQ(f.editor->Context().settings->lastFiles[0], kLibrary);

  f.Main().OpenSaveFile("C:\\LIBS\\NOPE.WDX");
  ASSERT_FALSE(f.mem.boxes.shown.empty());
  EXPECT_EQ(f.mem.boxes.shown.back().text, "File does not exist.");
  EXPECT_EQ(f.Main().caption(), "Wendrix Editor (OTHER)");
}

TEST(EditorStart, TheRecentFilesListKeepsEachFileOnceNewestFirst) {
  EditorFixture f;
  f.WriteLibrary({{"A", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  LibraryStore& store = *f.editor->Context().store;
  auto& last = f.editor->Context().settings->lastFiles;
  last = {"a", "b", "c", "d", "e"};
  store.DoLastFiles("x", "c");
  EXPECT_EQ(last, (std::array<std::string, 5>{"x", "a", "b", "d", "e"}));
  store.DoLastFiles("y", "z");
  EXPECT_EQ(last, (std::array<std::string, 5>{"y", "x", "a", "b", "d"}));
  store.DoLastFiles("a", "a");
  EXPECT_EQ(last, (std::array<std::string, 5>{"a", "y", "x", "b", "d"}));

  last = {};
  f.Main().SetMenuLastFiles();
  EXPECT_FALSE(f.Main().MacroMenu.Find("MenuLastSeparator")->visible);
  // Opening the current library puts it at the top of the list, once.
  f.runner.AnswerFile(std::string(kLibrary));
  f.Main().DoOpen();
  f.runner.AnswerFile(std::string(kLibrary));
  f.Main().DoOpen();
  EXPECT_EQ(last, (std::array<std::string, 5>{kLibrary, "", "", "", ""}));
  EXPECT_TRUE(f.Main().MacroMenu.Find("MenuLastSeparator")->visible);
  EXPECT_EQ(f.Main().MacroMenu.Find("MenuLastFile1")->caption, std::string("&1   ") + kLibrary);
  EXPECT_FALSE(f.Main().MacroMenu.Find("MenuLastFile2")->visible);
  ASSERT_FALSE(f.runner.dialogs.empty());
  EXPECT_EQ(f.runner.dialogs.back().title, "Open Wendrix File");
  EXPECT_EQ(f.runner.dialogs.back().filter, "Wendrix (*.WDX)|*.WDX");

  // A chosen name that is no library changes nothing.
  f.runner.AnswerFile(std::string("C:\\LIBS\\notes.txt"));
  f.Main().DoOpen();
  EXPECT_EQ(f.mem.boxes.shown.back().text, "Invalid file type selected.");
  EXPECT_EQ(store.CurrentFile(), kLibrary);
}

TEST(EditorStart, OpeningALibraryTellsThePlayerToSwitch) {
  EditorFixture f;
  f.WriteLibrary({{"A", 0}});
  f.WriteLibrary({{"B", 1}}, "C:\\LIBS\\B.WDX");
  f.mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  f.TakeNotices();
  f.runner.AnswerFile(std::string("C:\\LIBS\\B.WDX"));
  f.Main().DoOpen();
  const auto notices = f.TakeNotices();
  ASSERT_GE(notices.size(), 3u);
  const std::vector<std::pair<int, std::int64_t>> tail(notices.end() - 3, notices.end());
  EXPECT_EQ(tail, (std::vector<std::pair<int, std::int64_t>>{{2, 0}, {3, 0}, {15, 0}}));
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Misc", "Current File", "", 300), "C:\\LIBS\\B.WDX");
}

TEST(EditorStart, TerminateClosesTheWindowSavesTheSettingsAndTellsThePlayer) {
  EditorFixture f;
  f.WriteLibrary({{"A", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  f.Main().SetBounds(20, 30, 700, 500);
  f.TakeNotices();
  ASSERT_TRUE(forms::user::ChooseMenu(f.Main(), "MenuTerminate"));
  EXPECT_FALSE(f.Main().Showing());
  EXPECT_TRUE(f.mem.desktop.QuitRequested());
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Main Window", "Width", "", 20), "700");
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Main Window", "Maximized", "", 20), "No");
  EXPECT_EQ(f.editor->Run(), 0);
  EXPECT_EQ(f.TakeNotices(), (std::vector<std::pair<int, std::int64_t>>{{control::kEditorClosing, 0}}));
}

TEST(EditorStart, ClosingMaximizedKeepsTheLastNormalPlace) {
  EditorFixture f;
  f.WriteLibrary({{"A", 0}});
  f.mem.profile.WriteString("WENDX.INI", "Main Window", "Width", "640");
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  EXPECT_EQ(f.Main().width(), 640);
  f.Main().SetWindowState(forms::WindowState::kMaximized);
  f.Main().SetBounds(0, 0, 1024, 768);
  f.Main().Close();
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Main Window", "Width", "", 20), "640");
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Main Window", "Maximized", "", 20), "Yes");
}

TEST(EditorStart, ACommandNoFeatureFilledSaysSo) {
  EditorFixture f;
  f.WriteLibrary({{"A", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  ASSERT_TRUE(forms::user::ChooseMenu(f.Main(), "MenuAddHot"));
  ASSERT_EQ(f.mem.boxes.shown.size(), 1u);
  EXPECT_EQ(f.mem.boxes.shown[0].text, kNotAvailableText);
  int added = 0;
  f.Main().Bind("AddMacro", [&] { ++added; });
  forms::user::ChooseMenu(f.Main(), "MenuAddHot");
  forms::user::Click(f.Main().AddSpeed);
  EXPECT_EQ(added, 2) << "the menu item and the speed button run the bound handler";
}

TEST(EditorStart, DeletingARecordMovesTheLaterOnesDown) {
  EditorFixture f;
  f.WriteLibrary({{"one", 1}, {"two", 2}, {"three", 3}, {"four", 4}, {"five", 5}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  ASSERT_TRUE(f.editor->Context().store->Library().DeleteMacroRecord(3));
  std::vector<std::string> names;
  for (const TMacroRec& r : f.ReadLibrary()) names.push_back(r.Nickname());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
            (std::vector<std::string>{"one", "two", "four", "five"}));
  EXPECT_EQ(names.size(), 9u) << "four user macros and the five built-in ones";
}

}  // namespace
}  // namespace wdx::editor::testing
