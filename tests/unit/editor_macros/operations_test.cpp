// The per-macro commands: remove with the menus renumbered, activate and deactivate, modify's
// roads, the guards and the commands' state for the chosen row.
#include <gtest/gtest.h>

#include "editor/macros/add_macro.h"
#include "macros_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

using forms::user::Click;
using Notice = std::pair<int, std::int64_t>;

class OperationsTest : public MacrosFixture, public ::testing::Test {
 protected:
  int Count() { return editor->Context().glob->MacroCount(); }
  bool Told(const Notices& notices, Notice n) { return std::find(notices.begin(), notices.end(), n) != notices.end(); }
  // The library file goes while a box is up: what the command writes next fails.
  void LoseTheFileAtTheNextBox() {
    mem.boxes.SetOnShow([this](const platform::ShownBox&) {
      std::filesystem::remove(mem.NativePath(kLibrary));
      mem.boxes.SetOnShow(nullptr);
    });
  }
};

TEST_F(OperationsTest, RemovingRenumbersEveryMenuAndDropsEveryEntryOfTheMacro) {
  StartWith({MakeRecord({"One", 1}), MakeRecord({"Two", 2}), MakeRecord({"Three", 3}), MakeRecord({"Four", 4}),
             MenuRecord("Menu", 30000, scope::kPopupMenu, {2, 3, 4}),
             MenuRecord("Float", wdx::activation::kFloatingMenu, scope::kFloatingMenu, {3, 1, 3, 5})});
  const int before = Count();
  Choose(3, "MenuClearHot");
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"Are you sure you want to remove \"Ctrl+D\"?",
                                      "This macro is contained in a \"Popup or Floating Menu\".  It will be removed from "
                                      "the \"Popup or Floating Menu\".  Are you sure you want to remove \"Ctrl+D\"?"}));
  ASSERT_EQ(Count(), before - 1);
  EXPECT_EQ(Stored(3).Nickname(), "Four");
  EXPECT_EQ(Stored(4).Nickname(), "Menu");
  EXPECT_EQ(MenuItems(Stored(4)), (std::vector<int>{2, 3}));
  EXPECT_EQ(MenuItems(Stored(5)), (std::vector<int>{1, 4}));
  EXPECT_EQ(editor->Context().settings->nicknames[3], "Four");
  EXPECT_EQ(lock.released, (std::vector<int>{1}));
  const Notices notices = TakeNotices();
  EXPECT_EQ(notices.back(), (Notice{control::kReload, 0}));
  EXPECT_TRUE(Told(notices, {control::kDataGroup, data_group::kHotKeyMap}));

  // Removing a menu reloads the tray icons too; No to the question changes nothing.
  mem.boxes.QueueAnswer(platform::mb::kIdNo);
  Choose(4, "MenuClearHot");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Are you sure you want to remove this macro?"}));
  EXPECT_EQ(Count(), before - 1);
  Choose(4, "MenuClearHot");
  EXPECT_EQ(Count(), before - 2);
  EXPECT_EQ(TakeNotices().back(), (Notice{control::kReload, 1}));
  EXPECT_EQ(lock.released, (std::vector<int>{1, 0, 1}));
}

TEST_F(OperationsTest, AFailedRemoveLeavesTheListTheCountAndThePlayerAsTheyWere) {
  StartWith({MakeRecord({"One", 1}), MakeRecord({"Two", 2}), MenuRecord("Menu", 30000, scope::kPopupMenu, {1, 2})});
  const int before = Count();
  const int rows = Main().List().count();
  LoseTheFileAtTheNextBox();
  Choose(1, "MenuClearHot");
  EXPECT_EQ(BoxTexts().back(), "The macro could not be removed.  The macro file was not changed.");
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(Main().List().count(), rows);
  EXPECT_EQ(editor->Context().settings->nicknames[1], "One");
  EXPECT_TRUE(TakeNotices().empty());
  EXPECT_EQ(lock.released, (std::vector<int>{0}));
}

TEST_F(OperationsTest, DeactivatingAndActivatingTellThePlayerWhatToRebuild) {
  TMacroRec popup = MenuRecord("Tray menu", 7, scope::kPopupMenu, {1});
  popup.SetMenuOptions("Y3  ");
  StartWith({MakeRecord({"Timer", wdx::activation::kTimed}), MenuRecord("Float", wdx::activation::kFloatingMenu,
                                                                       scope::kFloatingMenu, {1}),
             popup, MakeRecord({"Key", 8})});
  const TGlobData& glob = *editor->Context().glob;
  const struct {
    int macro;
    Notices told;
  } cases[] = {
      {1, {{control::kMacroEntries, 1}, {control::kSchedulesChanged, 0}}},
      {2, {{control::kMacroEntries, 2}, {control::kReopenFloaters, 0}}},
      {3, {{control::kMacroEntries, 3}, {control::kMenuIcons, 0}}},
      {4, {{control::kMacroEntries, 4}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.macro);
    Choose(c.macro, "MenuActivate");
    EXPECT_FALSE(glob.MacroActive(c.macro));
    EXPECT_EQ(Stored(c.macro).Active(), 0);
    EXPECT_EQ(Main().ButtonActivate.caption(), "Acti&vate Macro");
    Notices expected = c.told;
    expected.push_back({control::kDataGroup, data_group::kHotKeyMap});
    EXPECT_EQ(TakeNotices(), expected);
    Choose(c.macro, "MenuActivate");
    EXPECT_TRUE(glob.MacroActive(c.macro));
    EXPECT_EQ(Stored(c.macro).Active(), 1);
    EXPECT_EQ(Main().MacroMenu.Find("MenuActivate")->caption, "Deacti&vate Macro");
    TakeNotices();
  }
  EXPECT_TRUE(glob.HotKeyMapped(8));
  EXPECT_EQ(lock.released, std::vector<int>(8, 1));
}

TEST_F(OperationsTest, AFailedActivateChangesNothingInMemory) {
  StartWith({MakeRecord({"Key", 8})});
  std::filesystem::remove(mem.NativePath(kLibrary));
  Choose(1, "MenuActivate");
  EXPECT_TRUE(editor->Context().glob->MacroActive(1));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The macro file could not be changed.  The macro was not activated or "
                                                  "deactivated."}));
  EXPECT_TRUE(TakeNotices().empty());
  EXPECT_EQ(lock.released, (std::vector<int>{0}));
}

TEST_F(OperationsTest, GuardsAndTheLock) {
  StartWith({MakeRecord({"Key", 8})});
  // The lock held elsewhere: nothing opens, nothing is given back.
  lock.busy = true;
  const std::size_t forms = runner.shown.size();
  for (const char* item : {"MenuAddHot", "MenuClearHot", "MenuActivate", "MenuCopyHot", "MenuMoveHot"}) Choose(1, item);
  EXPECT_EQ(runner.shown.size(), forms);
  EXPECT_TRUE(lock.released.empty());
  EXPECT_TRUE(editor->Context().glob->MacroActive(1));
  // 500 macros: no add, no duplicate.
  lock.busy = false;
  editor->Context().glob->SetMacroCount(kMaxMacros);
  Choose(1, "MenuAddHot");
  Choose(1, "MenuCopyHot");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, kMacroLimitText));
}

TEST_F(OperationsTest, ModifyOpensTheMenuBuilderForMenusAndTellsFloatingMenusOfADirectEdit) {
  StartWith({MakeRecord({"Timer", wdx::activation::kTimed}),
             MenuRecord("Float", wdx::activation::kFloatingMenu, scope::kFloatingMenu, {1})});
  // Without a menu builder in the build.
  Choose(2, "MenuEnterKey");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNotAvailableText}));
  EXPECT_EQ(lock.released, (std::vector<int>{0}));

  ops->Editors().buildMenu = [](TMainWin& main, EditorContext&, const BuildMenuRequest& order) {
    EXPECT_TRUE(order.modify);
    EXPECT_TRUE(order.floating);
    EXPECT_EQ(order.macro, 2);
    main.CurMacro.SetNickname("Renamed");
    return BuildMenuResult{true, false};
  };
  Choose(2, "MenuEnterKey");
  EXPECT_EQ(Stored(2).Nickname(), "Renamed");
  EXPECT_EQ(TakeNotices(), (Notices{{control::kRecordRewritten, 2}, {control::kReopenFloaters, 2}}));

  // "Scripting Editor" takes the direct editor's road; the timed macro's schedule and the
  // floating menu listing it are rebuilt after the save.
  Next<TModHotKeys>([](TModHotKeys& e) {
    forms::user::EnterText(e.NewFormat, "new");
    Click(e.btnSaveClose);
  });
  Choose(1, "MenuScripting");
  EXPECT_EQ(Stored(1).Text(), "new");
  const Notices notices = TakeNotices();
  EXPECT_TRUE(Told(notices, {control::kSchedulesChanged, 0}));
  EXPECT_TRUE(Told(notices, {control::kReopenFloaters, 2}));
  EXPECT_EQ(lock.released, (std::vector<int>{0, 1, 1}));
}

TEST_F(OperationsTest, TheCommandsFollowTheChosenMacro) {
  StartWith({MakeRecord({"Timer", wdx::activation::kTimed}), MakeRecord({"Key", 8}),
             MenuRecord("Menu", 30000, scope::kPopupMenu, {1})});
  TMainWin& main = Main();
  auto state = [&](int macro) {
    ops->CheckTimeItem(main.List().RowOf(macro));
    return std::vector<bool>{main.CaptureKeyButton.enabled(), main.DoScript.enabled(), main.CopyHotKey.enabled(),
                             main.EnterKeyButton.enabled(),   main.ClearHotKey.enabled(), main.ButtonActivate.enabled(),
                             main.MacroMenu.Find("MenuCaptureKey")->enabled, main.RecaptureSpeed.enabled()};
  };
  EXPECT_EQ(state(1), (std::vector<bool>{false, true, true, true, true, true, false, false}));
  EXPECT_EQ(main.EnterKeyButton.caption(), "Modif&y Directly");
  EXPECT_EQ(state(2), (std::vector<bool>{true, true, true, true, true, true, true, true}));
  EXPECT_EQ(state(3), (std::vector<bool>{false, false, true, true, true, true, false, false}));
  EXPECT_EQ(main.EnterKeyButton.caption(), "Modif&y Popup Menu");
  EXPECT_EQ(main.EditSpeed.hint(), "Modify Macro Popup Menu");
  // A built-in macro: none of the commands that would change it.
  int system = 0;
  for (int m = 1; m <= Count(); ++m) {
    if (editor->Context().glob->ScopeKind(m) == scope::kSystem) system = m;
  }
  ASSERT_GT(system, 0);
  EXPECT_EQ(state(system), std::vector<bool>(8, false));
  // A click on a row sets them for its macro.
  forms::user::ClickCell(main.MyGrid, forms::MouseButton::kLeft, 2, main.List().RowOf(2));
  EXPECT_TRUE(main.CaptureKeyButton.enabled());
}

}  // namespace
}  // namespace wdx::editor::testing
