// The macro control commands in a whole player over the stand-in: other macros run as nested
// levels, the library changed by deletion and activation (file, tables, hot keys, menus, the
// editor told), library switches, and the run stopped or the player ended after it.
#include <gtest/gtest.h>

#include "player/core/library_commands.h"
#include "player/interpreter/macro_control.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

class MacroControlTest : public PlayerFixture {
 protected:
  // Runs `text` as the macro on Ctrl+Alt+H, after the given macros.
  void Run(const std::string& text, std::vector<MacroSpec> before = {}) {
    before.push_back({"go", kCtrlAltH, scope::kGlobal, "", text});
    AddMacros(before);
    Start();
    editor = mem.desktop.AddForeignWindow("Wendrix Editor - WENDX.WDX", "TEditor", 0x400);
    Front("Untitled - Notepad");
    Press('H', true, true);
  }
  // The UM_CONTROL codes and arguments the editor was told, in order, leaving out the in-use
  // flag's notices.
  std::vector<std::pair<int, int>> Told() const {
    std::vector<std::pair<int, int>> told;
    for (const platform::Message& m : mem.desktop.foreignMessages) {
      if (m.window != editor || m.message != UM_CONTROL) continue;
      if (m.wparam == editor_notice::kDataGroup && m.lparam == data_group::kInUse) continue;
      told.emplace_back(static_cast<int>(m.wparam), static_cast<int>(m.lparam));
    }
    return told;
  }
  bool WasTold(int code, int argument) const {
    const auto t = Told();
    return std::find(t.begin(), t.end(), std::make_pair(code, argument)) != t.end();
  }
  int Number(const std::string& nickname) const {
    for (int i = 1; i <= block.MacroCount(); ++i)
      if (settings.nicknames[static_cast<std::size_t>(i)] == nickname) return i;
    return 0;
  }
  // Record n of the current library file as stored.
  TMacroRec Record(int n) const {
    TMacroRec r;
    std::ifstream in(Native(settings.currentLibrary), std::ios::binary);
    in.seekg(static_cast<std::streamoff>((n - 1) * static_cast<std::streamoff>(kMacroRecSize)));
    in.read(reinterpret_cast<char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
    return r;
  }
  platform::WindowHandle editor = platform::kNoWindow;
};

TEST_F(MacroControlTest, RunPlaysAnotherMacroActiveOrNotAndReportsTheOnesItCannotRun) {
  Run("a<MACRUN:Inner>b<MACRUN:inner>c<MACRUN:Menu>d",
      {{"Inner", 30000, scope::kGlobal, "", "x", false}, {"Menu", 30000, scope::kPopupMenu, "", ""}});
  // The nickname is matched with its case; a menu is no macro to run; the run goes on.
  EXPECT_EQ(Typed(), "AXBCD");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "Macro Run Error: Cannot run macro \"inner\" because macro does not exist.",
                            "Macro Run Error: Cannot run macro \"Menu\" because macro does not exist."}));
}

// A macro that runs itself stops with one message at a generous depth instead of exhausting
// the stack; the player goes on serving hot keys.
TEST_F(MacroControlTest, MacrosRunningEachOtherWithoutEndStopWithAMessage) {
  Run("<MACRUN:ping>", {{"ping", 30000, scope::kGlobal, "", "p<MACRUN:pong>"},
                        {"pong", 30000, scope::kGlobal, "", "<MACRUN:ping>"}});
  EXPECT_EQ(Typed(), std::string(kMacroRunDepthMax / 2, 'P'));
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].caption, "Macro Run Error");
  EXPECT_NE(mem.boxes.shown[0].text.find("more than 100 levels deep. Macro will abort."), std::string::npos);
  EXPECT_FALSE(main->State().macroPlaying);
}

// The close macro run from a macro lets the run end first; the editor's system macro brings
// the editor up.
TEST_F(MacroControlTest, SystemMacrosRunFromAMacro) {
  const auto system = SystemMacros();
  Run("a<MACRUN:Run Wendrix Editor>b<MACRUN:Terminate Wendrix>after", system);
  EXPECT_EQ(Typed(), "ABAFTER");
  EXPECT_TRUE(main->Closing());
  EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(MacroControlTest, StopEndsTheWholeRunSilentlyAndTerminateEndsThePlayerAfterIt) {
  Run("a<REPEAT:0003>b<MSTOP>c<ENDREP>d");
  EXPECT_EQ(Typed(), "AB");
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_FALSE(main->Closing());
  // The next hot key runs normally.
  Press('H', true, true);
  EXPECT_EQ(Typed(), "ABAB");
}

TEST_F(MacroControlTest, TerminateEndsThePlayerOnceTheRunIsOver) {
  Run("a<MACRUN:inner>z", {{"inner", 30000, scope::kGlobal, "", "b<TERME>c"}});
  Pump();
  EXPECT_EQ(Typed(), "AB");
  EXPECT_TRUE(main->Closing());
  // The calling macro had text left: it says it was aborted, as after any abort.
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].caption, "Macro Abort");
}

// Deleting macro 3 of five with a menu listing 5, 3, 1 (and 3 once more): every entry of the
// deleted macro goes, later macros are renumbered, the editor reloads everything.
TEST_F(MacroControlTest, DeleteRenumbersTheMenusAndTellsTheEditor) {
  AddMacros({{"one", 30000}, {"two", 30000}, {"three", 30000}, {"four", 30000}, {"five", kCtrlB}});
  TMacroRec menu = MakeRecord({"menu", 30000, scope::kPopupMenu, "", ""});
  menu.SetMenuOptions("NNN");
  const std::vector<std::int16_t> items{5, 3, 1, 3};
  for (std::size_t i = 0; i < items.size(); ++i) menu.SetMenuItem(static_cast<int>(i + 1), items[i]);
  menu.SetMenuItemCount(static_cast<std::int16_t>(items.size()));
  {
    std::ofstream out(Native(kLibrary), std::ios::binary | std::ios::app);
    out.write(reinterpret_cast<const char*>(menu.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  Run("<MACDEL:three><MACDEL:nobody>x");
  EXPECT_EQ(Typed(), "X");
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_EQ(Number("three"), 0);
  EXPECT_EQ(Number("four"), 3);
  ASSERT_EQ(Number("menu"), 5);
  const TMacroRec r = Record(5);
  EXPECT_EQ(r.MenuItemCount(), 2);
  EXPECT_EQ(r.MenuItem(1), 4);
  EXPECT_EQ(r.MenuItem(2), 1);
  // The hot key of "five" now belongs to macro 4.
  EXPECT_EQ(block.ActivationCode(4), kCtrlB);
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlB));
  EXPECT_TRUE(WasTold(editor_notice::kReloadAll, 0));
}

TEST(RemoveFromMenuTest, EveryEntryOfTheDeletedMacroGoesAndLaterOnesMoveDown) {
  const struct {
    std::vector<int> items;
    int deleted;
    bool changed;
    std::vector<int> after;
  } cases[] = {
      {{5, 3, 1}, 3, true, {4, 1}},
      {{3, 3, 3}, 3, true, {}},
      {{1, 2}, 3, false, {1, 2}},
      {{}, 1, false, {}},
  };
  for (const auto& c : cases) {
    TMacroRec r;
    for (std::size_t i = 0; i < c.items.size(); ++i) r.SetMenuItem(static_cast<int>(i + 1), static_cast<std::int16_t>(c.items[i]));
    r.SetMenuItemCount(static_cast<std::int16_t>(c.items.size()));
    EXPECT_EQ(RemoveFromMenu(r, c.deleted), c.changed);
    std::vector<int> after;
    for (int i = 1; i <= r.MenuItemCount(); ++i) after.push_back(r.MenuItem(i));
    EXPECT_EQ(after, c.after);
    // Slots left free hold no stale macro number.
    if (c.changed) {
      EXPECT_EQ(r.MenuItem(static_cast<int>(c.items.size())), 0);
    }
  }
}

TEST_F(MacroControlTest, ActivateAndDeactivateChangeTheRecordTheHotKeyMapAndTellTheEditor) {
  Run("<MACACT:sleeper>", {{"sleeper", kCtrlB, scope::kGlobal, "", "zz", false}});
  const int n = Number("sleeper");
  EXPECT_TRUE(block.MacroActive(n));
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlB));
  EXPECT_EQ(Record(n).Active(), 1);
  EXPECT_EQ(Told(), (std::vector<std::pair<int, int>>{
                     {editor_notice::kMacroEntries, n}, {editor_notice::kDataGroup, data_group::kHotKeyMap}, {editor_notice::kRepaint, 0}}));
  Press('B', true, false);
  EXPECT_EQ(Typed(), "ZZ");
}

TEST_F(MacroControlTest, ActivatingAnActiveMacroSendsNothingAndDeactivateUnmapsIt) {
  Run("<MACACT:awake><MACDEACT:awake>", {{"awake", kCtrlB, scope::kGlobal, "", "zz"}});
  EXPECT_FALSE(block.MacroActive(Number("awake")));
  EXPECT_FALSE(hook->Block().HotKeyMapped(kCtrlB));
  EXPECT_EQ(Told(), (std::vector<std::pair<int, int>>{{editor_notice::kMacroEntries, Number("awake")},
                                                      {editor_notice::kDataGroup, data_group::kHotKeyMap},
                                                      {editor_notice::kRepaint, 0}}));
  Press('B', true, false);
  EXPECT_EQ(Typed(), "");
}

TEST_F(MacroControlTest, SwapSwitchesTheLibraryForLaterRunsAndKeepsTheCurrentOneWhenItCannotBeOpened) {
  AppendRecords(Native("C:\\OTHER\\B.WDX"), {{"bee", kCtrlB, scope::kGlobal, "", "bee"}});
  std::filesystem::create_directories(Native("C:\\FOLDER.WDX"));
  Run("<SWAP:C:\\FOLDER.WDX>a<SWAP:C:\\OTHER\\B.WDX>b", {{"old", kCtrlB, scope::kGlobal, "", "old"}});
  EXPECT_EQ(Typed(), "AB");
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_EQ(BoxTexts()[0],
            "Macro Swap Error: Cannot switch to macro file C:\\FOLDER.WDX because the file cannot be opened.");
  EXPECT_EQ(settings.currentLibrary, "C:\\OTHER\\B.WDX");
  EXPECT_TRUE(WasTold(editor_notice::kLibrarySwitched, 0));
  Press('B', true, false);
  EXPECT_EQ(Typed(), "ABBEE");
}

// A library that cannot be opened (here a folder) leaves the player with the library it had:
// its macros still play and the settings still name it.
TEST_F(MacroControlTest, SwapToALibraryThatCannotBeOpenedKeepsTheCurrentOne) {
  std::filesystem::create_directories(Native("C:\\FOLDER.WDX"));
  Run("<SWAP:C:\\FOLDER.WDX>a", {{"old", kCtrlB, scope::kGlobal, "", "old"}});
  EXPECT_EQ(settings.currentLibrary, kLibrary);
  EXPECT_EQ(mem.profile.GetString(kSettingsFileName, "Misc", "Current File", ""), kLibrary);
  EXPECT_FALSE(WasTold(editor_notice::kLibrarySwitched, 0));
  Press('B', true, false);
  EXPECT_EQ(Typed(), "AOLD");
}

TEST_F(MacroControlTest, SwapToAMissingFileMakesANewLibrary) {
  Run("<SWAP:C:\\WENDRIX\\NEW.WDX>");
  EXPECT_EQ(settings.currentLibrary, "C:\\WENDRIX\\NEW.WDX");
  EXPECT_TRUE(std::filesystem::exists(Native("C:\\WENDRIX\\NEW.WDX")));
  EXPECT_EQ(Number("go"), 0);
  EXPECT_GT(Number("Terminate Wendrix"), 0);  // a new library has the system macros
}

}  // namespace
}  // namespace wdx::player::testing
