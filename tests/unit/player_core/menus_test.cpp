// Popup and floating menus of macros: the menu window's geometry and keys, and the whole player
// with its own menu windows shown through the scripted runner.
#include <gtest/gtest.h>

#include "forms/scripted_runner.h"
#include "forms/user.h"
#include "player/core/menu_windows.h"
#include "player/prompts/do_a_menu.h"
#include "player/prompts/menu_layout.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

// ---------------------------------------------------------------------------------------------
// Geometry and keys

TEST(MenuLayout, TwentyEntriesFillTheLeftListAndTwoRowsOfTheRight) {
  const ListLayout popup = LayOutLists(20, true);
  EXPECT_EQ(popup.clientWidth, 604);
  EXPECT_EQ(popup.scriptHeight, 18 * 17 + 8);
  EXPECT_EQ(popup.script2Height, 2 * 17 + 8);
  EXPECT_EQ(popup.clientHeight, popup.scriptHeight + 42);
  const ListLayout floating = LayOutLists(5, false);
  EXPECT_EQ(floating.clientWidth, 300);
  EXPECT_EQ(floating.script2Height, 0);
  EXPECT_EQ(floating.clientHeight, 5 * 17 + 8 + 20);
  // More than 36 stored is laid out as 36.
  EXPECT_EQ(LayOutLists(500, true).script2Height, 18 * 17 + 8);
}

TEST(MenuLayout, SpeedKeysRunFromDigitsToLetters) {
  const std::string keys = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int p = 0; p < 36; ++p) {
    EXPECT_EQ(SpeedKey(p), keys[static_cast<std::size_t>(p)]);
    EXPECT_EQ(PositionOfKey(keys[static_cast<std::size_t>(p)]), p);
  }
  EXPECT_EQ(SpeedKey(36), '\0');
  EXPECT_EQ(SpeedKey(-1), '\0');
  EXPECT_EQ(PositionOfKey('j'), 19);
  for (const char other : {' ', '!', '\r', '\x1b', '\0'}) EXPECT_EQ(PositionOfKey(other), -1);
}

TEST(MenuLayout, IconCellsGoInRowsOrColumnsOfTheirCount) {
  // Nine per row, ten entries: two rows nine cells wide, the tenth at the start of row 2.
  const IconLayout ten = LayOutIcons(10, 9, false, 32, true);
  EXPECT_EQ(ten.cell, 36);
  EXPECT_EQ(ten.clientWidth, 9 * 36);
  EXPECT_EQ(ten.clientHeight, 2 * 36 + 22);
  ASSERT_EQ(ten.cells.size(), 10u);
  EXPECT_EQ(ten.cells[9].x, 0);
  EXPECT_EQ(ten.cells[9].y, 36);
  EXPECT_EQ(ten.cells[8].x, 8 * 36);
  // Two entries: a popup keeps four cells for its Cancel button, a floating menu two.
  EXPECT_EQ(LayOutIcons(2, 9, false, 16, true).clientWidth, 4 * 20);
  EXPECT_EQ(LayOutIcons(2, 9, false, 16, false).clientWidth, 2 * 20);
  EXPECT_EQ(LayOutIcons(2, 9, false, 16, false).clientHeight, 20);
  EXPECT_EQ(LayOutIcons(0, 9, false, 16, false).clientWidth, 20);
  // Vertical: the same in columns.
  const IconLayout down = LayOutIcons(10, 9, true, 16, false);
  EXPECT_EQ(down.clientWidth, 2 * 20);
  EXPECT_EQ(down.clientHeight, 9 * 20);
  EXPECT_EQ(down.cells[9].x, 20);
  EXPECT_EQ(down.cells[9].y, 0);
  // A count per row of 0 or above 20 reads as 9.
  for (const int perRow : {0, 21, -3}) EXPECT_EQ(LayOutIcons(10, perRow, false, 16, false).clientWidth, 9 * 20);
}

TEST(MenuLayout, PlacesCentredStoredOrOnTheBottomEdgeAtTheTray) {
  const platform::Rect screen{0, 0, 1024, 768};
  struct Case {
    int position;
    platform::Point place, expected;
  };
  const std::vector<Case> cases = {
      {kMenuCentred, {}, {(1024 - 300) / 2, (768 - 200) / 2}},
      {kMenuAtPlace, {40, 50}, {40, 50}},
      {600, {}, {600, 568}},   // left edge at the tray icon
      {900, {}, {600, 568}},   // would not fit: right edge there
      {100, {}, {100, 568}},
  };
  for (const Case& c : cases) {
    const platform::Point at = PlaceMenu(c.position, c.place, 300, 200, screen);
    EXPECT_EQ(at.x, c.expected.x) << c.position;
    EXPECT_EQ(at.y, c.expected.y) << c.position;
  }
  // Wider than the screen from the tray: never left of 0.
  EXPECT_EQ(PlaceMenu(200, {}, 1100, 200, screen).x, 0);
}

TEST(MenuLayout, ARecordsEntriesAreClampedToMacrosThatExistOnceEach) {
  TMacroRec menu;
  menu.SetScopeKind(scope::kPopupMenu);
  menu.SetMenuOptions("N23 ");
  const std::vector<int> stored = {3, 0, 99, 3, 7, -1, 5};  // 7: the menu itself
  for (std::size_t i = 0; i < stored.size(); ++i)
    menu.SetMenuItem(static_cast<int>(i) + 1, static_cast<std::int16_t>(stored[i]));
  menu.SetMenuItemCount(500);  // more than a menu holds
  MenuSpec spec = MenuSpecOf(menu, 7, 10);
  EXPECT_EQ(spec.entries, (std::vector<int>{3, 5}));
  EXPECT_EQ(spec.style, MenuStyle::kIcons);
  EXPECT_EQ(spec.iconSize, 48);
  menu.SetMenuItemCount(-4);
  EXPECT_TRUE(MenuSpecOf(menu, 7, 10).entries.empty());
  menu.SetMenuItemCount(2);  // only the first two stored count
  EXPECT_EQ(MenuSpecOf(menu, 7, 10).entries, (std::vector<int>{3}));
}

// ---------------------------------------------------------------------------------------------
// The player's menus

// A menu macro that lists `items`; `options` as the editor writes them (tray, style, size).
MacroSpec MenuMacro(const std::string& nickname, int code, std::int16_t kind) {
  return {nickname, code, kind, "", ""};
}

void AppendMenu(StandAlonePlayer& p, const MacroSpec& spec, const std::vector<int>& items,
                const std::string& options = "N30 ", bool active = true) {
  MacroSpec s = spec;
  s.active = active;
  TMacroRec r = MakeRecord(s);
  r.SetMenuOptions(options);
  r.SetMenuItemCount(static_cast<std::int16_t>(items.size()));
  for (std::size_t i = 0; i < items.size(); ++i)
    r.SetMenuItem(static_cast<int>(i) + 1, static_cast<std::int16_t>(items[i]));
  std::ofstream out(p.Native(kLibrary), std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
}

bool ActiveInFile(StandAlonePlayer& p, int n) {
  std::ifstream in(p.Native(kLibrary), std::ios::binary);
  in.seekg(static_cast<std::streamoff>((n - 1) * kMacroRecSize));
  TMacroRec r;
  in.read(reinterpret_cast<char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  return r.Active() != 0;
}

class MenusTest : public PlayerFixture {
 protected:
  MenusTest() {
    realMenus = true;
    forms = &runner;
  }
  ~MenusTest() override {
    if (main) main->DestroyWindow();
    main.reset();
  }
  // Macros 1..count typing the letters A.. (no hot key of their own).
  void AddLetterMacros(int count) {
    std::vector<MacroSpec> macros;
    for (int i = 0; i < count; ++i) {
      const std::string letter(1, static_cast<char>('A' + i));
      macros.push_back({"letter " + letter, activation::kNone, scope::kGlobal, "", letter});
    }
    AddMacros(macros);
  }
  std::vector<TDoAMenu*> OpenMenus() {
    std::vector<TDoAMenu*> open;
    for (forms::Form* f : runner.OpenForms())
      if (auto* m = dynamic_cast<TDoAMenu*>(f)) open.push_back(m);
    return open;
  }
  TDoAMenu* OpenMenu(const std::string& caption) { return dynamic_cast<TDoAMenu*>(runner.FindOpen(caption)); }
  void PlaceInSettings(int k, int left, int top, bool minimised = false) {
    const std::string n = std::to_string(k);
    mem.profile.WriteString(kSettingsFileName, "Floating Menu", "Left " + n, std::to_string(left));
    mem.profile.WriteString(kSettingsFileName, "Floating Menu", "Top " + n, std::to_string(top));
    mem.profile.WriteString(kSettingsFileName, "Floating Menu", "Min " + n, minimised ? "1" : "0");
  }
  void StartWithPlaces() {
    configs->SetScreenSize({1024, 768});
    configs->LoadAllSettings();
    configs->ReadFloatingMenuPlaces();
    Start();
  }

  forms::ScriptedRunner runner{mem.desktop, mem.desktop};
};

TEST_F(MenusTest, APopupsHotKeyShowsItsEntriesAndAKeyChoosesTheMacroThatPlays) {
  AddLetterMacros(20);
  AppendMenu(*this, MenuMacro("twenty", kCtrlAltH, scope::kPopupMenu), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                                        14, 15, 16, 17, 18, 19, 20});
  AppendMenu(*this, MenuMacro("five", kCtrlA, scope::kPopupMenu), {1, 2, 3, 4, 5});
  Start();
  const platform::WindowHandle notepad = Front("Untitled - Notepad", 0x300, "notepad.exe");

  std::size_t left = 0, right = 0;
  std::string rowJ;
  runner.Then([&](forms::Form& f) {
    auto& menu = dynamic_cast<TDoAMenu&>(f);
    EXPECT_TRUE(main->State().popupShowing);
    left = menu.Script.items().size();
    right = menu.Script2.items().size();
    rowJ = forms::ItemText(menu.Script2, 1);
    forms::user::KeyPress(f, 'j');
  });
  Press('H', true, true);
  EXPECT_EQ(left, 18u);
  EXPECT_EQ(right, 2u);
  EXPECT_EQ(rowJ.substr(0, 1), "J");
  EXPECT_EQ(Typed(), "T");
  EXPECT_FALSE(main->State().popupShowing);
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), notepad);

  // Five entries: "7" chooses nothing and the menu stays; Esc cancels it.
  bool stayed = false;
  runner.Then([&](forms::Form& f) {
    forms::user::KeyPress(f, '7');
    stayed = f.Showing() && f.modalResult() == forms::ModalResult::kNone;
    forms::user::PressEscape(f);
  });
  Press('A', true, false);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(Typed(), "T");
  ASSERT_EQ(runner.shown.size(), 2u);
  EXPECT_EQ(runner.shown[1].caption, "Choose A Macro");
  EXPECT_FALSE(runner.shown[1].leftOpen);
}

// Menus that list themselves or each other open one after the other as the user chooses; none
// opens itself and nothing nests.
TEST_F(MenusTest, MenusThatListEachOtherOpenInTurnWithoutNesting) {
  AddLetterMacros(1);                                                                  // 1: A
  AppendMenu(*this, MenuMacro("first", kCtrlAltH, scope::kPopupMenu), {2, 3, 1});      // 2: lists itself
  AppendMenu(*this, MenuMacro("second", activation::kNone, scope::kPopupMenu), {2, 1});  // 3
  Start();
  Front("Untitled - Notepad", 0x300, "notepad.exe");
  std::vector<std::vector<int>> seen;
  const auto choose = [&](char key) {
    runner.Then([&, key](forms::Form& f) {
      EXPECT_EQ(runner.OpenForms().size(), 1u);  // one menu at a time
      std::vector<int> entries;
      for (int row = 0; row < static_cast<int>(dynamic_cast<TDoAMenu&>(f).Script.items().size()); ++row)
        entries.push_back(row);
      seen.push_back(entries);
      forms::user::KeyPress(f, key);
    });
  };
  choose('0');  // first: 3 (itself left out), 1 -> "second"
  choose('0');  // second: 2, 1 -> "first"
  choose('0');  // "second" again
  choose('1');  // A
  Press('H', true, true);
  EXPECT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].size(), 2u);
  EXPECT_EQ(Typed(), "A");
}

TEST_F(MenusTest, FloatingMenusOpenAtTheirPlacesAndAnEntryPlaysIntoTheWindowTheUserWasIn) {
  AddLetterMacros(3);
  AppendMenu(*this, MenuMacro("Tools", activation::kFloatingMenu, scope::kFloatingMenu), {1, 2});   // 4
  AppendMenu(*this, MenuMacro("Off", activation::kFloatingMenu, scope::kFloatingMenu), {1}, "N30 ",
             false);                                                                                // 5
  AppendMenu(*this, MenuMacro("Icons", activation::kFloatingMenu, scope::kFloatingMenu), {3, 1}, "N22 ");  // 6
  PlaceInSettings(1, 100, 200);
  PlaceInSettings(2, 5, 5);
  PlaceInSettings(3, 300, 50);
  StartWithPlaces();
  ASSERT_EQ(OpenMenus().size(), 2u);
  TDoAMenu* tools = OpenMenu("Tools");
  TDoAMenu* icons = OpenMenu("Icons");
  ASSERT_TRUE(tools && icons);
  EXPECT_EQ(tools->left(), 100);
  EXPECT_EQ(tools->top(), 200);
  // The third floating-menu macro has the third place, though the second is inactive.
  EXPECT_EQ(icons->left(), 300);
  EXPECT_EQ(icons->top(), 50);
  EXPECT_TRUE(tools->stayOnTop());
  EXPECT_FALSE(tools->AbortButton.visible());
  ASSERT_EQ(icons->speedButtons.size(), 2u);
  EXPECT_EQ(icons->speedButtons[0]->hint(), "letter C");

  // The user works in Notepad, clicks an entry: the menu stays and the macro types there.
  const platform::WindowHandle notepad = Front("Untitled - Notepad", 0x300, "notepad.exe");
  hook->FeedForeground(notepad);
  Pump();
  mem.desktop.SetForeground(tools->Handle());
  forms::user::Select(tools->Script, 1);
  forms::user::DoubleClick(tools->Script);
  EXPECT_EQ(Typed(), "B");
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), notepad);
  forms::user::Click(*icons->speedButtons[0]);
  forms::user::KeyPress(*icons, '1');
  EXPECT_EQ(Typed(), "BCA");
  EXPECT_EQ(OpenMenus().size(), 2u);

  // Moved, then all closed and opened again (the editor's code 26): the places are kept and
  // written.
  tools->SetBounds(150, 250, tools->width(), tools->height());
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReopenFloaters, 0);
  Pump();
  tools = OpenMenu("Tools");
  ASSERT_TRUE(tools);
  EXPECT_EQ(tools->left(), 150);
  EXPECT_EQ(tools->top(), 250);
  EXPECT_EQ(mem.profile.GetString(kSettingsFileName, "Floating Menu", "Left 1", ""), "150");
  EXPECT_EQ(mem.profile.GetString(kSettingsFileName, "Floating Menu", "Top 1", ""), "250");

  // Code 27 closes one; the other stays.
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kCloseFloater, 4);
  Pump();
  ASSERT_EQ(OpenMenus().size(), 1u);
  EXPECT_EQ(OpenMenus()[0]->caption(), "Icons");
}

TEST_F(MenusTest, TheCloseBoxDeactivatesTheMenusMacroAndTheOthersReopenAtTheirPlaces) {
  AddLetterMacros(1);
  AppendMenu(*this, MenuMacro("Tools", activation::kFloatingMenu, scope::kFloatingMenu), {1});  // 2
  AppendMenu(*this, MenuMacro("More", activation::kFloatingMenu, scope::kFloatingMenu), {1});   // 3
  PlaceInSettings(1, 10, 20);
  PlaceInSettings(2, 400, 300);
  StartWithPlaces();
  TDoAMenu* tools = OpenMenu("Tools");
  ASSERT_TRUE(tools);
  EXPECT_TRUE(forms::user::CloseBox(*tools));
  // The menu stays until the macro is off; then the menus are opened again.
  Pump();
  EXPECT_FALSE(block.MacroActive(2));
  EXPECT_FALSE(ActiveInFile(*this, 2));
  EXPECT_TRUE(ActiveInFile(*this, 3));
  ASSERT_EQ(OpenMenus().size(), 1u);
  TDoAMenu* more = OpenMenu("More");
  ASSERT_TRUE(more);
  EXPECT_EQ(more->left(), 400);
  EXPECT_EQ(more->top(), 300);
  EXPECT_TRUE(BoxTexts().empty());
}

// A floating menu's entry that opens a popup: while the popup waits, the editor has every
// floating menu closed and opened again. The menu whose handler is still running is hidden, not
// freed under it (the sanitizer build would see it), and the new one takes its place.
TEST_F(MenusTest, AMenuClosedWhileItsOwnEntryRunsIsFreedOnlyAfterwards) {
  AddLetterMacros(1);
  AppendMenu(*this, MenuMacro("inner", activation::kNone, scope::kPopupMenu), {1});               // 2
  AppendMenu(*this, MenuMacro("Tools", activation::kFloatingMenu, scope::kFloatingMenu), {2, 1});  // 3
  Start();
  TDoAMenu* tools = OpenMenu("Tools");
  ASSERT_TRUE(tools);
  runner.Then([&](forms::Form& f) {
    mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReopenFloaters, 0);
    Pump();
    EXPECT_FALSE(tools->Showing());
    forms::user::KeyPress(f, '0');
  });
  forms::user::KeyPress(*tools, '0');
  EXPECT_EQ(Typed(), "A");
  ASSERT_EQ(OpenMenus().size(), 1u);
  EXPECT_NE(OpenMenus()[0], tools);
  // The next change frees the hidden one.
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReopenFloaters, 0);
  Pump();
  EXPECT_EQ(OpenMenus().size(), 1u);
}

// After the editor inserts a macro in front, a floating menu lists the macros by their new
// numbers: its entries play what they played before.
TEST_F(MenusTest, AReloadBuildsTheFloatingMenusFromTheNewNumbers) {
  AddLetterMacros(2);
  AppendMenu(*this, MenuMacro("Tools", activation::kFloatingMenu, scope::kFloatingMenu), {2});  // 3
  Start();
  Front("Untitled - Notepad", 0x300, "notepad.exe");
  std::filesystem::remove(Native(kLibrary));
  AddMacros({{"new", activation::kNone, scope::kGlobal, "", "n"}});
  AddLetterMacros(2);
  AppendMenu(*this, MenuMacro("Tools", activation::kFloatingMenu, scope::kFloatingMenu), {3});  // 4
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kLibraryReplaced, 0);
  Pump();
  ASSERT_EQ(OpenMenus().size(), 1u);
  forms::user::KeyPress(*OpenMenus()[0], '0');
  EXPECT_EQ(Typed(), "B");
}

TEST_F(MenusTest, TheTopWindowMenuListsTheMacrosOfTheWindowInFront) {
  AddMacros(SystemMacros());
  AddMacros({{"pad", activation::kNone, scope::kWindow, "notepad", "p"},
             {"calc", activation::kNone, scope::kWindow, "calc", "c"},
             {"prog", activation::kNone, scope::kProgram, "NOTEPAD.EXE", "x", false}});
  Start();
  const platform::WindowHandle notepad = Front("Untitled - Notepad", 0x300, "notepad.exe");
  std::size_t rows = 0;
  runner.Then([&](forms::Form& f) {
    rows = dynamic_cast<TDoAMenu&>(f).Script.items().size();
    forms::user::KeyPress(f, '1');
  });
  PostHotKey(265, notepad);
  Pump();
  // The inactive program-scoped macro is listed too.
  EXPECT_EQ(rows, 2u);
  EXPECT_EQ(Typed(), "X");

  Front("Paint", 0x301, "paint.exe");
  std::vector<std::string> messages;
  ReadNextMessage(runner, messages);
  PostHotKey(265, mem.desktop.GetForegroundWindow());
  Pump();
  EXPECT_EQ(messages, std::vector<std::string>{std::string("Warning: ") + kNoTopWindowMacrosText});
}

}  // namespace
}  // namespace wdx::player::testing
