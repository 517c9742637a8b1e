// The macro list: what each cell shows, the three-part sort, the category filter, the type-ahead
// search, the empty list, the column widths and the title click.
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "forms/canvas.h"
#include "forms/user.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

std::vector<std::string> Nicknames(EditorFixture& f) {
  std::vector<std::string> out;
  for (int r = 1; r <= f.Main().List().count(); ++r) out.push_back(forms::CellText(f.Main().MyGrid, 3, r));
  return out;
}

// Only user macros: the built-in ones would sort among them.
std::vector<std::string> UserNicknames(EditorFixture& f) {
  std::vector<std::string> out;
  for (const std::string& n : Nicknames(f)) {
    if (n.find("Wendrix") == std::string::npos && n != "Start / Stop Capture" && n != "Resume Pause" &&
        n != "Menu of Macros for Topmost Window")
      out.push_back(n);
  }
  return out;
}

TEST(MacroList, CellsShowEveryKindOfActivationAndScope) {
  EditorFixture f;
  f.WriteLibrary({{"hot", 0, scope::kGlobal},
                  {"abbrev", activation::kAbbrekey, scope::kWindow, "Untitled - Notepad", "sig"},
                  {"timed", activation::kTimed, scope::kProgram, "NOTEPAD.EXE"},
                  {"none", activation::kNone, scope::kPopupMenu},
                  {"title", activation::kWindowTitle, scope::kGlobal},
                  {"click", activation::kMouseClick, scope::kGlobal},
                  {"floater", activation::kFloatingMenu, scope::kFloatingMenu},
                  {"stray", 5000, scope::kGlobal},
                  {"long", 1, scope::kProgram, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}});
  f.mem.profile.WriteString("WENDX.INI", "Misc", "Primary Sort", "213");
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  const std::vector<std::string> expected = {
      "sig | abbrev | Window: Untitled - Notepad",
      "Mouse Click | click | GLOBAL",
      "Floating Menu | floater | Floating Menu",
      "Ctrl+A | hot | GLOBAL",
      "Ctrl+B | long | Program: ABCDEFGHIJKLMNOPQRST",
      "None | none | Popup Menu",
      " | stray | GLOBAL",
      "Timed Macro | timed | Program: NOTEPAD.EXE",
      "Window Title | title | GLOBAL",
  };
  // The window text shows as the hook-globals table keeps it (its first 20 characters).
  for (int c = 2; c <= 4; ++c) f.Main().MyGrid.SetColWidth(c, 400);
  std::vector<std::string> rows;
  for (int r = 1; r <= f.Main().List().count(); ++r) {
    const std::string row = f.Row(r);
    if (row.find("SYSTEM") == std::string::npos) rows.push_back(row);
  }
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(forms::CellText(f.Main().MyGrid, 0, 3), "3");
  EXPECT_EQ(forms::CellText(f.Main().MyGrid, 2, 0), "Activation");
  EXPECT_EQ(forms::CellText(f.Main().MyGrid, 4, 0), "Scope");
}

TEST(MacroList, SortsByTheThreeKeysTheSettingsChoose) {
  const std::vector<MacroSpec> macros = {
      {"beta", 1, scope::kWindow, "Zed"},         // Ctrl+B
      {"Alpha", activation::kAbbrekey, scope::kGlobal, "", "zz"},
      {"alpha", activation::kAbbrekey, scope::kGlobal, "", "AA"},
      {"gamma", 0, scope::kProgram, "app.exe"},  // Ctrl+A
      {"delta", activation::kNone, scope::kWindow, "abc"},
      {"alphabet", activation::kTimed, scope::kGlobal},
  };
  struct Case {
    const char* primary;
    const char* activationOrder;
    const char* scopeOrder;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      // Activation first: hot keys by name as stored, then Abbrekeys without case, timed, none.
      {"123", "1234567", "123456", {"gamma", "beta", "alpha", "Alpha", "alphabet", "delta"}},
      // Abbrekeys before hot keys.
      {"123", "2134567", "123456", {"alpha", "Alpha", "gamma", "beta", "alphabet", "delta"}},
      // Nickname first: case does not count; a nickname that begins another sorts by what follows
      // (the activation part: an Abbrekey's "AAAAAAz..." before a timed macro's "AAAAAz").
      {"213", "1234567", "123456", {"alpha", "Alpha", "alphabet", "beta", "delta", "gamma"}},
      // Scope first: global, window (by window), program; then the nickname, then the activation.
      {"321", "1234567", "123456", {"alpha", "Alpha", "alphabet", "delta", "beta", "gamma"}},
      // Scope first with program scopes before windows, then the activation.
      {"312", "1234567", "132456", {"alpha", "Alpha", "alphabet", "gamma", "delta", "beta"}},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    f.WriteLibrary(macros);
    f.mem.profile.WriteString("WENDX.INI", "Misc", "Primary Sort", c.primary);
    f.mem.profile.WriteString("WENDX.INI", "Misc", "Activation Sort", c.activationOrder);
    f.mem.profile.WriteString("WENDX.INI", "Misc", "Scope Sort", c.scopeOrder);
    ASSERT_EQ(f.Start(), StartCheck::kRun);
    EXPECT_EQ(UserNicknames(f), c.expected) << c.primary << " " << c.activationOrder << " " << c.scopeOrder;
  }
}

TEST(MacroList, FiltersByCategoryAndAnEmptyListShowsOneEmptyRow) {
  EditorFixture f;
  f.WriteLibrary({{"one", 1, 1, "", "", 1, 7}, {"two", 2, 1, "", "", 1, 8}, {"three", 3, 1, "", "", 1, 7}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  TMainWin& main = f.Main();
  main.SetCategoryFilter(7);
  main.FillList();
  EXPECT_EQ(Nicknames(f), (std::vector<std::string>{"one", "three"}));
  EXPECT_TRUE(main.EditSpeed.enabled());

  main.SetCategoryFilter(9);
  main.FillList();
  EXPECT_TRUE(main.ListEmpty());
  EXPECT_EQ(main.MyGrid.rowCount(), 2);
  EXPECT_EQ(f.Row(1), " |  | ") << "the empty row reads no macro";
  EXPECT_FALSE(main.EditSpeed.enabled());
  EXPECT_FALSE(main.ClearHotKey.enabled());
  EXPECT_FALSE(main.MacroMenu.Find("MenuClearHot")->enabled);
  EXPECT_TRUE(main.AddSpeed.enabled());

  main.SetCategoryFilter(kAllCategories);
  main.FillList();
  EXPECT_EQ(main.List().count(), 8);
  EXPECT_TRUE(main.MacroMenu.Find("MenuClearHot")->enabled);
}

TEST(MacroList, TypingSelectsTheFirstRowWhoseActivationBeginsWithTheText) {
  EditorFixture f;
  f.WriteLibrary({{"a", activation::kNone}, {"b", activation::kAbbrekey, 1, "", "nap"},
                  {"c", activation::kAbbrekey, 1, "", "mop"}, {"d", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  TMainWin& main = f.Main();
  forms::DrawGrid& grid = main.MyGrid;
  ASSERT_TRUE(forms::user::Focus(grid));
  const auto typed = [&](char ch) {
    forms::user::KeyPress(grid, ch);
    return forms::CellText(grid, 2, grid.row());
  };
  EXPECT_EQ(typed('n'), "nap");
  EXPECT_EQ(typed('o'), "None");
  EXPECT_EQ(typed('\b'), "nap") << "Backspace searches with the first letter again";
  EXPECT_EQ(typed('m'), "nap") << "no row begins with NM: the choice stays";
  EXPECT_EQ(main.List().searchText(), "NM");
  forms::user::KeyDown(grid, 40);  // an arrow key starts the search afresh
  EXPECT_EQ(main.List().searchText(), "");
  typed('\r');
  EXPECT_EQ(main.List().searchText(), "");
  EXPECT_EQ(typed('c'), "Ctrl+A");
}

TEST(MacroList, SizingAColumnStoresItsWidthAndTellsThePlayer) {
  EditorFixture f;
  f.WriteLibrary({{"a", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  f.TakeNotices();
  struct Case {
    int col;
    const char* key;
  };
  for (const Case c : {Case{2, "Col 1 Width"}, Case{3, "Col 2 Width"}, Case{4, "Col 3 Width"}}) {
    ASSERT_TRUE(forms::user::SizeColumn(f.Main().MyGrid, c.col, 111 + c.col));
    EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Main Window", c.key, "", 20), std::to_string(111 + c.col));
  }
  forms::user::SizeColumn(f.Main().MyGrid, 0, 50);
  const auto notices = f.TakeNotices();
  EXPECT_EQ(notices, (std::vector<std::pair<int, std::int64_t>>(4, {control::kReadMainWindow, 0})))
      << "every sizing writes the section and tells the player, a column without a setting too";
}

TEST(MacroList, ARightClickOnATitleChangesThePrimarySortOnce) {
  EditorFixture f;
  f.WriteLibrary({{"b", 0}, {"a", 1}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  TMainWin& main = f.Main();
  main.SelectMacro(1);
  f.TakeNotices();
  ASSERT_TRUE(forms::user::ClickCell(main.MyGrid, forms::MouseButton::kRight, 3, 0));
  EXPECT_EQ(f.editor->Context().settings->primarySort, "213");
  EXPECT_EQ(UserNicknames(f), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(main.SelectedMacro(), 1) << "the chosen macro stays chosen";
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Misc", "Primary Sort", "", 20), "213");
  forms::user::ClickCell(main.MyGrid, forms::MouseButton::kRight, 3, 0);
  forms::user::ClickCell(main.MyGrid, forms::MouseButton::kRight, 1, 0);
  EXPECT_EQ(f.TakeNotices(), (std::vector<std::pair<int, std::int64_t>>{{control::kReadMisc, 0}}));
}

TEST(MacroList, TheChosenRowsNumberStaysReadableOnItsFaceColour) {
  EditorFixture f;
  f.WriteLibrary({{"a", 0}, {"b", 1, 1, "", "", 0}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  forms::DrawGrid& grid = f.Main().MyGrid;
  const auto drawn = [&](int col, int row) {
    forms::RecordingCanvas canvas;
    grid.DrawCell(col, row, {0, 0, 200, 20}, canvas);
    return canvas.texts.empty() ? forms::Font{} : canvas.texts[0].font;
  };
  grid.SetRow(f.Main().List().RowOf(1));
  EXPECT_EQ(drawn(column::kNumber, grid.row()).color, forms::kColorWindowText) << "a fixed cell is never highlighted";
  EXPECT_EQ(drawn(column::kNickname, grid.row()).color, forms::kColorHighlightText);
  const forms::Font inactive = drawn(column::kNickname, f.Main().List().RowOf(2));
  EXPECT_TRUE(inactive.italic);
  EXPECT_EQ(inactive.color, forms::kColorGrayText);
}

TEST(MacroList, AHandEditedLibraryNeverReachesPastATable) {
  std::vector<MacroSpec> macros(505, MacroSpec{"m", 9999, 7, "", "", 3});
  EditorFixture f;
  f.WriteLibrary(macros);
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  EXPECT_EQ(f.Main().List().count(), 500);
  EXPECT_EQ(f.Row(500), " | m | Window: ");
  f.editor->Context().link->SetHotKeys();
  for (int k = 0; k < kGlobHotKeyCount; ++k) EXPECT_FALSE(f.editor->Context().glob->HotKeyMapped(k));
  EXPECT_FALSE(f.editor->Context().glob->CaptureOn()) << "the byte after the map stays untouched";
}

}  // namespace
}  // namespace wdx::editor::testing
