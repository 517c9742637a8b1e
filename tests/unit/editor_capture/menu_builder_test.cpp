// "Build Macro Menu": the two lists as a model (what a record's items become, what is offered,
// add, insert, remove, move, the 36 limit), the options and icons per row, and the dialog over
// the editor: what Save writes, read back as the player reads a menu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../editor_shell/editor_fixture.h"
#include "editor/builders/build_menu.h"
#include "forms/user.h"
#include "shared/hot_keys.h"
#include "player/prompts/menu_layout.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

using Notices = std::vector<std::pair<int, std::int64_t>>;
using forms::user::Click;
using Mode = MenuItemsModel::AddMode;

struct CountingLock : SyncLock {
  bool FileInUse() override { return false; }
  void ReleaseSyncFile(int changed) override { released.push_back(changed); }
  std::vector<int> released;
};

// A library of `n` macros for the model alone: hot keys 1..n (named "Ctrl+A" ...), global.
MenuLibraryView View(int n) {
  MenuLibraryView v;
  v.count = n;
  const auto slots = static_cast<std::size_t>(n) + 1;
  v.codes.assign(slots, 0);
  v.scopes.assign(slots, scope::kGlobal);
  v.nicknames.assign(slots, "");
  v.abbrekeys.assign(slots, "");
  v.scopeTexts.assign(slots, "");
  v.popupItems.assign(slots, {});
  for (int i = 1; i <= n; ++i) v.codes[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(i);
  return v;
}

TMacroRec MenuRecord(std::vector<int> items, std::optional<int> count = std::nullopt) {
  TMacroRec r;
  r.SetScopeKind(scope::kPopupMenu);
  r.SetMenuItemCount(static_cast<std::int16_t>(count.value_or(static_cast<int>(items.size()))));
  for (std::size_t k = 0; k < items.size(); ++k) r.SetMenuItem(static_cast<int>(k) + 1, static_cast<std::int16_t>(items[k]));
  return r;
}

TEST(MenuItemsModel, TheRecordsItemsKeepToMacrosThatExistAndNeverToTheMenuItself) {
  MenuLibraryView v = View(8);
  // 7 is a popup menu that lists 8, which is a popup menu listing the menu being edited (6).
  v.scopes[7] = v.scopes[8] = scope::kPopupMenu;
  v.popupItems[7] = {1, 8};
  v.popupItems[8] = {6};
  v.scopes[2] = scope::kSystem;
  v.scopes[3] = scope::kFloatingMenu;
  const MenuItemsModel m(v, MenuRecord({4, 0, -3, 9, 6, 7, 1, 500}), 6);
  EXPECT_EQ(m.items(), (std::vector<int>{4, 1}));
  EXPECT_EQ(m.dropped(), 6);
  // Offered: neither system macros, floating menus, the menu, nor popups that show it.
  EXPECT_EQ(m.available(), (std::vector<int>{5}));

  // A popup menu that does not show this menu is offered like any macro.
  v.popupItems[8] = {1};
  EXPECT_EQ(MenuItemsModel(v, MenuRecord({}), 6).available(), (std::vector<int>{1, 4, 5, 7, 8}));
  // Menus that list each other do not keep the search going.
  v.popupItems[8] = {7};
  EXPECT_EQ(MenuItemsModel(v, MenuRecord({}), 6).available(), (std::vector<int>{1, 4, 5, 7, 8}));
}

TEST(MenuItemsModel, TheStoredCountIsKeptTo0To36) {
  const MenuLibraryView v = View(50);
  std::vector<int> forty;
  for (int i = 1; i <= 40; ++i) forty.push_back(i);
  const MenuItemsModel full(v, MenuRecord(forty), 51);
  EXPECT_EQ(full.items().size(), 36u);
  EXPECT_EQ(full.dropped(), 4);
  const MenuItemsModel negative(v, MenuRecord({1, 2}, -5), 51);
  EXPECT_TRUE(negative.items().empty());
  EXPECT_EQ(negative.dropped(), 0);
  EXPECT_EQ(negative.available().size(), 50u);
}

TEST(MenuItemsModel, AvailableMacrosSortByTheirActivationNames) {
  MenuLibraryView v = View(4);
  v.codes[1] = activation::kNone;  // "None"
  v.codes[2] = activation::kTimed;  // "Timed Macro"
  v.codes[3] = activation::kAbbrekey;
  v.abbrekeys[3] = "abc";
  v.codes[4] = activation::kNone;
  EXPECT_EQ(MenuItemsModel(v, MenuRecord({}), 5).available(), (std::vector<int>{3, 1, 4, 2}));
}

TEST(MenuItemsModel, AddInsertRemoveAndMove) {
  const MenuLibraryView v = View(6);
  struct Case {
    std::vector<int> items;
    int itemRow;
    Mode mode;
    std::vector<int> after;
  };
  const Case cases[] = {
      {{}, -1, Mode::kAdd, {1}},
      {{}, -1, Mode::kInsertBefore, {1}},
      {{}, -1, Mode::kInsertAfter, {1}},
      {{2, 3, 4}, -1, Mode::kAdd, {2, 3, 4, 1}},
      {{2, 3, 4}, 1, Mode::kAdd, {2, 3, 4, 1}},
      {{2, 3, 4}, 1, Mode::kInsertBefore, {2, 1, 3, 4}},
      {{2, 3, 4}, 1, Mode::kInsertAfter, {2, 3, 1, 4}},
      // Nothing chosen in the menu: after the first entry, before it.
      {{2, 3, 4}, -1, Mode::kInsertAfter, {2, 1, 3, 4}},
      {{2, 3, 4}, -1, Mode::kInsertBefore, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    MenuItemsModel m(v, MenuRecord(c.items), 7);
    m.itemRow = c.itemRow;
    m.availableRow = 0;
    ASSERT_TRUE(m.Add(c.mode));
    EXPECT_EQ(m.items(), c.after);
    EXPECT_EQ(m.items()[static_cast<std::size_t>(m.itemRow)], 1) << "the new entry is chosen";
    EXPECT_EQ(m.availableRow, 0);
  }

  MenuItemsModel m(v, MenuRecord({6, 2}), 7);
  EXPECT_EQ(m.available(), (std::vector<int>{1, 3, 4, 5}));
  // The last available entry goes: the one before it is chosen.
  m.availableRow = 3;
  ASSERT_TRUE(m.Add(Mode::kAdd));
  EXPECT_EQ(m.availableRow, 2);
  EXPECT_EQ(m.items(), (std::vector<int>{6, 2, 5}));
  // Nothing chosen in the available list: nothing added.
  m.availableRow = -1;
  EXPECT_FALSE(m.Add(Mode::kAdd));

  // Removing puts the entry back before the first larger macro number; the largest at the end.
  m.itemRow = 1;
  ASSERT_TRUE(m.Remove());
  EXPECT_EQ(m.available(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(m.availableRow, 1);
  EXPECT_EQ(m.itemRow, 1);
  m.itemRow = 0;
  ASSERT_TRUE(m.Remove());
  EXPECT_EQ(m.available(), (std::vector<int>{1, 2, 3, 4, 6}));
  EXPECT_EQ(m.availableRow, 4);
  m.itemRow = -1;
  EXPECT_FALSE(m.Remove());

  MenuItemsModel moves(v, MenuRecord({1, 2, 3}), 7);
  EXPECT_FALSE(moves.CanUp());
  EXPECT_FALSE(moves.CanDown());
  moves.itemRow = 0;
  EXPECT_FALSE(moves.CanUp());
  moves.Down();
  moves.Down();
  EXPECT_EQ(moves.items(), (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(moves.itemRow, 2);
  EXPECT_FALSE(moves.CanDown());
  moves.Up();
  EXPECT_EQ(moves.items(), (std::vector<int>{2, 1, 3}));
}

TEST(MenuItemsModel, AMenuHoldsAtMost36Items) {
  const MenuLibraryView v = View(40);
  MenuItemsModel m(v, MenuRecord({}), 41);
  m.availableRow = 0;
  for (int i = 0; i < 36; ++i) ASSERT_TRUE(m.Add(Mode::kAdd));
  EXPECT_FALSE(m.CanAdd());
  EXPECT_FALSE(m.Add(Mode::kAdd)) << "a double click cannot pass the limit either";
  EXPECT_EQ(m.items().size(), 36u);
  m.itemRow = 35;
  ASSERT_TRUE(m.Remove());
  EXPECT_TRUE(m.CanAdd());
}

TEST(MenuOptions, TheOptionsTextAndIconsPerRow) {
  EXPECT_EQ(MenuOptionsText(true, '2', 3), "Y23 ");
  EXPECT_EQ(MenuOptionsText(false, '3', 0), "N30 ");
  const std::pair<const char*, std::optional<std::uint16_t>> rows[] = {
      {"1", 1}, {" 5 ", 5}, {"20", 20}, {"0", std::nullopt}, {"21", std::nullopt}, {"x", std::nullopt},
      {"", std::nullopt}, {"-1", std::nullopt}, {"5x", std::nullopt}};
  for (const auto& [text, want] : rows) EXPECT_EQ(IconsPerRow(text), want) << '"' << text << '"';
}

// The dialog over the editor.
class MenuBuilderTest : public EditorFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    TMacroRec hello = MakeRecord({"Hello", 1});
    hello.SetText("hello");
    TMacroRec bye = MakeRecord({"Bye", 2});
    bye.SetText("bye");
    TMacroRec menu = MakeRecord({"Tools", 3, scope::kPopupMenu});
    menu.SetMenuOptions("Y14 ");
    menu.SetMenuItemCount(3);
    menu.SetMenuItem(1, 2);
    menu.SetMenuItem(2, 99);
    menu.SetMenuItem(3, 1);
    menu.SetMenuIconsPerRow(7);
    menu.SetMenuVertical(1);
    menu.SetIconName("MENU");
    TMacroRec floater = MakeRecord({"Float", activation::kFloatingMenu, scope::kFloatingMenu});
    floater.SetMenuOptions("N30 ");
    const std::filesystem::path native = mem.NativePath(kLibrary);
    std::filesystem::create_directories(native.parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    for (const TMacroRec& r : {hello, bye, menu, floater}) out.write(reinterpret_cast<const char*>(r.data()), kMacroRecSize);
    out.close();
    mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
    ASSERT_EQ(Start(), StartCheck::kRun);
    editor->Context().lock = &lock;
    TakeNotices();
  }
  TGlobData& Glob() { return *editor->Context().glob; }
  BuildMenuResult Show(BuildMenuRequest request, std::function<void(TDoBuildMenu&)> script) {
    runner.Then([script](forms::Form& f) { script(static_cast<TDoBuildMenu&>(f)); });
    return BuildMenu(Main(), editor->Context(), request);
  }
  // The existing menu `n` as its opener hands it over (CurMacro read, the lock held).
  BuildMenuResult Modify(int n) {
    EXPECT_TRUE(editor->Context().store->Library().ReadMacroRecord(n, Main().CurMacro));
    return BuildMenu(Main(), editor->Context(), {Main().CurMacro.ScopeKind() == scope::kFloatingMenu, true, n});
  }
  // Chooses the available row that shows macro `macro`.
  static void PickAvailable(TDoBuildMenu& d, int macro) {
    const auto& a = d.model().available();
    const auto it = std::find(a.begin(), a.end(), macro);
    ASSERT_NE(it, a.end());
    forms::user::Select(d.OptionBox, static_cast<int>(it - a.begin()));
  }
  CountingLock lock;
};

TEST_F(MenuBuilderTest, ANewPopupMenuIsSavedAsThePlayerReadsIt) {
  TMacroRec& cur = Main().CurMacro;
  cur = TMacroRec();
  cur.SetActivationCode(10);
  const int count = Glob().MacroCount();
  const BuildMenuResult result = Show({false, false, count + 1}, [&](TDoBuildMenu& d) {
    EXPECT_EQ(d.MenuType.caption(), "Popup Menu");
    EXPECT_TRUE(d.ShowNick.checked());
    EXPECT_FALSE(d.IconPanel.visible());
    EXPECT_EQ(d.NumPerRow.text(), "9");
    // The floating menu and the system macros are not offered; the popup menu is.
    EXPECT_EQ(d.model().available(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(forms::ItemText(d.OptionBox, 0), std::string(HotKeyName(1)) + " Hello GLOBAL");
    EXPECT_FALSE(d.AddButton.enabled());
    PickAvailable(d, 2);
    EXPECT_TRUE(d.AddButton.enabled());
    Click(d.AddButton);
    PickAvailable(d, 1);
    forms::user::DoubleClick(d.OptionBox);
    EXPECT_EQ(d.Script.count(), 2);
    EXPECT_EQ(forms::ItemText(d.Script, 1), std::string(HotKeyName(1)) + " Hello GLOBAL");
    forms::user::Select(d.MainPage, 1);
    forms::user::EnterText(d.NickName, "Quick");
    Click(d.ShowIcon);
    EXPECT_TRUE(d.IconPanel.visible());
    forms::user::Select(d.IconSize, 2);
    forms::user::EnterText(d.NumPerRow, " 4");
    Click(d.Vert);
    Click(d.SysTray);
    Click(d.OkButton);
  });
  EXPECT_TRUE(result.saved);
  EXPECT_TRUE(result.trayChanged);
  EXPECT_EQ(Glob().MacroCount(), count + 1);
  EXPECT_EQ(TakeNotices(), (Notices{{control::kDataGroup, data_group::kMacroCount}}));
  EXPECT_EQ(cur.Nickname(), "Quick");
  EXPECT_EQ(cur.ScopeKind(), scope::kPopupMenu);
  EXPECT_EQ(cur.MenuOptions(), "Y22 ");
  EXPECT_EQ(cur.Active(), 1);
  EXPECT_EQ(cur.IconName(), "MENU");
  EXPECT_EQ(cur.ActivationCode(), 10) << "the opener's";

  // Appended by the opener, the record reads back in the player as built.
  ASSERT_TRUE(editor->Context().store->Library().WriteMacroRecord(-1, cur));
  const TMacroRec stored = ReadLibrary().back();
  const player::MenuSpec spec = player::MenuSpecOf(stored, count + 1, count + 1);
  EXPECT_EQ(spec.entries, (std::vector<int>{2, 1}));
  EXPECT_EQ(spec.style, player::MenuStyle::kIcons);
  EXPECT_EQ(spec.iconSize, 32);
  EXPECT_EQ(spec.perRow, 4);
  EXPECT_TRUE(spec.vertical);
  EXPECT_TRUE(lock.released.empty()) << "the lock is the opener's";
}

TEST_F(MenuBuilderTest, ModifyingAMenuShowsItsRecordAndWritesTheShortenedList) {
  int shown = 0;
  runner.Then([&](forms::Form& f) {
    auto& d = static_cast<TDoBuildMenu&>(f);
    ++shown;
    EXPECT_EQ(d.NickName.text(), "Tools");
    EXPECT_TRUE(d.SysTray.checked());
    EXPECT_TRUE(d.ShowText.checked());
    EXPECT_EQ(d.IconSize.itemIndex(), 4);
    EXPECT_EQ(d.NumPerRow.text(), "7");
    EXPECT_TRUE(d.Vert.checked());
    // Item 99 names no macro; the menu itself is never offered.
    EXPECT_EQ(d.model().items(), (std::vector<int>{2, 1}));
    EXPECT_TRUE(d.model().available().empty());
    forms::user::Select(d.Script, 1);
    Click(d.DoUp);
    Click(d.OkButton);
  });
  const BuildMenuResult result = Modify(3);
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(result.saved);
  EXPECT_FALSE(result.trayChanged);
  ASSERT_FALSE(mem.boxes.shown.empty());
  EXPECT_EQ(mem.boxes.shown[0].caption, "Notice");
  const TMacroRec& stored = Main().CurMacro;
  EXPECT_EQ(stored.MenuItemCount(), 2);
  EXPECT_EQ(stored.MenuItem(1), 1);
  EXPECT_EQ(stored.MenuItem(2), 2);
  // Not shown as icons: the per-row field was not checked and the record keeps its values.
  EXPECT_EQ(stored.MenuIconsPerRow(), 7);
  EXPECT_EQ(stored.MenuOptions(), "Y14 ");
  EXPECT_EQ(Glob().MacroCount(), static_cast<int>(ReadLibrary().size())) << "an existing menu adds nothing";
  EXPECT_TRUE(lock.released.empty());
  EXPECT_TRUE(TakeNotices().empty()) << "the opener writes";
}

TEST_F(MenuBuilderTest, IconsPerRowOutsideItsRangeIsRefusedOnThePropertiesPage) {
  runner.Then([](forms::Form& f) {
    auto& d = static_cast<TDoBuildMenu&>(f);
    forms::user::Select(d.MainPage, 1);
    Click(d.ShowIcon);
    for (const char* bad : {"0", "21", "ab"}) {
      forms::user::Select(d.MainPage, 1);
      forms::user::EnterText(d.NumPerRow, bad);
      forms::user::Select(d.MainPage, 0);
      Click(d.OkButton);
      EXPECT_TRUE(d.Showing());
      EXPECT_EQ(d.MainPage.activePage(), &d.MenuProperties);
      EXPECT_EQ(d.activeControl(), &d.NumPerRow);
      EXPECT_FALSE(d.MenuSaved);
    }
    Click(d.CancelButton);
  });
  EXPECT_FALSE(Modify(3).saved);
  EXPECT_EQ(mem.boxes.shown.back().text, kPerRowText);
}

TEST_F(MenuBuilderTest, AFloatingMenuHasNoTrayOption) {
  runner.Then([](forms::Form& f) {
    auto& d = static_cast<TDoBuildMenu&>(f);
    EXPECT_EQ(d.MenuType.caption(), "Floating Menu");
    PickAvailable(d, 3);
    Click(d.AddButton);
    forms::user::Select(d.MainPage, 1);
    EXPECT_FALSE(d.SysTray.visible());
    Click(d.OkButton);
  });
  ASSERT_TRUE(Modify(4).saved);
  const TMacroRec& stored = Main().CurMacro;
  EXPECT_EQ(stored.MenuOptions(), "N30 ");
  EXPECT_EQ(stored.ScopeKind(), scope::kFloatingMenu);
  EXPECT_EQ(stored.MenuItemCount(), 1);
  EXPECT_EQ(stored.MenuItem(1), 3);
}

TEST_F(MenuBuilderTest, ARightClickOnARowShowsQuickInfo) {
  runner.Then([](forms::Form& f) {
    auto& d = static_cast<TDoBuildMenu&>(f);
    EXPECT_TRUE(forms::user::RightClickRow(d.Script, 0));
    EXPECT_EQ(d.Script.itemIndex(), -1) << "the row is not chosen";
    Click(d.CancelButton);
  });
  Modify(3);
  ASSERT_FALSE(mem.boxes.shown.empty());
  EXPECT_EQ(mem.boxes.shown.back().caption, "Quick Info");
  EXPECT_EQ(mem.boxes.shown.back().text, "Hot Key: " + std::string(HotKeyName(2)) +
                                             "\r\n\r\nName: Bye\r\n\r\nScope: GLOBAL\r\n\r\nActive: Yes\r\n\r\nMacro: bye");
}

TEST(MenuQuickInfo, WindowScopesAndTimedMacros) {
  TMacroRec r = MakeRecord({"Edit", activation::kTimed, scope::kWindow, "Notepad"});
  r.SetWindowMatch(1);
  r.SetText(std::string(120, 'x'));
  const std::string info = MenuQuickInfo(r);
  EXPECT_EQ(info.substr(0, info.find("Schdedule: ")),
            "Timed Macro\r\n\r\nName: Edit\r\n\r\nScope: Notepad \"Window\" (Topmost Only)\r\n\r\nActive: Yes\r\n\r\n");
  EXPECT_EQ(info.substr(info.find("Macro: ")), "Macro: " + std::string(100, 'x'));
  r.SetWindowMatch(0);
  r.SetActivationCode(activation::kAbbrekey);
  r.SetAbbrekey("sig");
  r.SetActive(0);
  EXPECT_EQ(MenuQuickInfo(r).substr(0, 93),
            "Abbrekey: sig\r\n\r\nName: Edit\r\n\r\nScope: Notepad \"Window\" (If Active)\r\n\r\nActive: No\r\n\r\nMacro: xx");
}

}  // namespace
}  // namespace wdx::editor::testing
