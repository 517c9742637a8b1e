// "Add Macro" on the editor's main road: the activation chosen, the macro handed to the direct
// text editor, the menu builder or the recording, and appended where the sub-form leaves it.
#include <gtest/gtest.h>

#include "editor/macros/add_macro.h"
#include "macros_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

using forms::user::Click;
using forms::user::EnterText;

constexpr int kCtrlAltH = 151;

class AddMacroTest : public MacrosFixture, public ::testing::Test {
 protected:
  void SetUp() override { StartWith({MakeRecord({"Global", 5}), MakeRecord({"Window", 6, scope::kWindow, "Calc"})}); }
  int Count() { return editor->Context().glob->MacroCount(); }
  // Add Macro, with the dialog played by `dialog` and the direct editor by `direct`.
  void Add(std::function<void(TAddNewHotKey&)> dialog, std::function<void(TModHotKeys&)> direct = nullptr) {
    Next<TAddNewHotKey>(std::move(dialog));
    if (direct) Next<TModHotKeys>(std::move(direct));
    Choose(0, "MenuAddHot");
  }
};

TEST_F(AddMacroTest, AHotKeyPressedIntoTheFieldThenTheTextEnteredDirectly) {
  const int before = Count();
  const TGlobData& glob = *editor->Context().glob;
  Add(
      [&](TAddNewHotKey& d) {
        EXPECT_EQ(d.caption(), "Add Macro");
        EXPECT_EQ(d.NewNumber, before + 1);
        // The field has the focus: the hook library sends the pressed keys here, and Alt with a
        // letter works no control meanwhile.
        EXPECT_EQ(d.activeControl(), &d.Keys.HotKeyEntry);
        EXPECT_TRUE(glob.SecondaryWindowOn());
        EXPECT_EQ(glob.SecondaryWindow(), d.Handle());
        EXPECT_EQ(d.EnterKeyButton.caption(), "Enter Directly");
        EXPECT_EQ(d.UseHotKey.caption(), "Hot Keys");
        EXPECT_EQ(d.Keys.KeyList.count(), kHotKeyCount);
        EXPECT_EQ(d.Keys.KeyList.item(5), std::string(HotKeyName(5)) + "  (1 macro in use)");
        EXPECT_TRUE(d.HandleMessage(UM_HOTKEYINDEX, kCtrlAltH, 0));
        EXPECT_EQ(d.Keys.HotKeyEntry.text(), HotKeyName(kCtrlAltH));
        EXPECT_EQ(d.Keys.Selected(), kCtrlAltH);
        d.HandleMessage(UM_HOTKEYINDEX, 9999, 0);  // no such row: nothing changes
        EXPECT_EQ(d.Keys.Selected(), kCtrlAltH);
        Click(d.EnterKeyButton);
        EXPECT_FALSE(glob.SecondaryWindowOn());
      },
      [](TModHotKeys& e) {
        EXPECT_EQ(e.caption(), "Modify Directly Editor  (Hot Key: Ctrl+Alt+H)");
        EXPECT_EQ(e.ExistingMacro, 0);
        EXPECT_EQ(e.HotKeyTaken, 0);
        forms::user::Select(e.MainPage, 1);
        EnterText(e.NickName, "Hello");
        forms::user::Select(e.MainPage, 0);
        EnterText(e.NewFormat, "typed text");
        Click(e.btnSaveClose);
      });
  ASSERT_EQ(Count(), before + 1);
  const TMacroRec added = Stored(before + 1);
  EXPECT_EQ(added.ActivationCode(), kCtrlAltH);
  EXPECT_EQ(added.Text(), "typed text");
  EXPECT_EQ(added.Nickname(), "Hello");
  EXPECT_EQ(added.ScopeKind(), scope::kGlobal);
  EXPECT_EQ(added.Active(), 1);
  EXPECT_EQ(Main().SelectedMacro(), before + 1);
  EXPECT_EQ(lock.taken, 1);
  EXPECT_EQ(lock.released, (std::vector<int>{1}));
  EXPECT_EQ(TakeNotices(), (Notices{{control::kDataGroup, data_group::kSecondaryWindow},
                                    {control::kDataGroup, data_group::kSecondaryWindow},
                                    {control::kDataGroup, data_group::kMacroCount},
                                    {control::kRecordRewritten, before + 1},
                                    {control::kDataGroup, data_group::kHotKeyMap},
                                    {control::kDataGroup, data_group::kHotKeyMap}}));
}

TEST_F(AddMacroTest, RefusalsKeepTheDialogOpenAndAbortChangesNothing) {
  const int before = Count();
  const std::vector<TMacroRec> library = ReadLibrary();
  mem.boxes.QueueAnswer(platform::mb::kOk);
  mem.boxes.QueueAnswer(platform::mb::kOk);
  mem.boxes.QueueAnswer(platform::mb::kIdNo);  // the reserved key declined
  mem.boxes.QueueAnswer(platform::mb::kOk);
  Add([](TAddNewHotKey& d) {
    Click(d.ScriptButton);  // no key chosen
    EXPECT_EQ(d.activeControl(), &d.Keys.HotKeyEntry);
    Click(d.UseAbbrekeys);
    EXPECT_EQ(d.activeControl(), &d.AbbrekeyName);
    EnterText(d.AbbrekeyName, "    ");
    Click(d.EnterKeyButton);
    EXPECT_EQ(d.activeControl(), &d.AbbrekeyName);
    Click(d.UseHotKey);
    d.HandleMessage(UM_HOTKEYINDEX, 557, 0);  // Win+D
    Click(d.EnterKeyButton);
    Click(d.UseMouse);
    EnterText(d.Mouse.MTop, "100");
    Click(d.ScriptButton);
    EXPECT_EQ(d.activeControl(), &d.Mouse.MLeft);
    EXPECT_TRUE(d.Showing());
    Click(d.AbortButton);
  });
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNoHotKeySelectedText, "No Abbrekey name entered.",
                                                  ReservedHotKeyQuestion(557),
                                                  "Invalid left position entered.  Please correct."}));
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(ReadLibrary().size(), library.size());
  EXPECT_EQ(lock.released, (std::vector<int>{0}));
  EXPECT_FALSE(editor->Context().glob->SecondaryWindowOn());
}

TEST_F(AddMacroTest, EveryKindReachesTheDirectEditorWithItsCode) {
  const struct {
    const char* kind;
    std::uint16_t code;
    const char* caption;
    std::vector<std::pair<int, std::int64_t>> told;  // after the new record, besides the key map
  } cases[] = {
      {"UseTitle", wdx::activation::kWindowTitle, "Modify Directly Editor  (Window Title Macro)", {}},
      {"UseMouse", wdx::activation::kMouseClick, "Modify Directly Editor  (Mouse Click)", {{control::kReloadMouse, 0}}},
      {"TimedMacro", wdx::activation::kTimed, "Modify Directly Editor  (Timed Macro)", {{control::kSchedulesChanged, 0}}},
      {"UseBuilding", wdx::activation::kNone, "Modify Directly Editor  (None)", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const int number = Count() + 1;
    Add(
        [&](TAddNewHotKey& d) {
          Click(*d.FindAs<forms::RadioButton>(c.kind));
          EXPECT_EQ(d.CaptureKeyButton.enabled(), c.code == wdx::activation::kWindowTitle ||
                                                       c.code == wdx::activation::kMouseClick);
          EnterText(d.AbbrekeyName, "  Untitled - Notepad ");
          for (forms::Edit* e : {&d.Mouse.MTop, &d.Mouse.MLeft, &d.Mouse.MBottom, &d.Mouse.MRight}) EnterText(*e, "9");
          EnterText(d.Mouse.MLeft, "300");
          EnterText(d.Mouse.MTop, "100");
          EnterText(d.Mouse.MBottom, "50");
          EnterText(d.Mouse.MRight, "20");
          Click(d.ScriptButton);  // the script editor's road is the direct editor's
        },
        [&](TModHotKeys& e) {
          EXPECT_EQ(e.caption(), c.caption);
          EnterText(e.NewFormat, "x");
          Click(e.btnSaveClose);
        });
    ASSERT_EQ(Count(), number);
    const TMacroRec r = Stored(number);
    EXPECT_EQ(r.ActivationCode(), c.code);
    if (c.code == wdx::activation::kWindowTitle) {
      EXPECT_EQ(r.ScopeText(), "Untitled - Notepad");
    }
    if (c.code == wdx::activation::kMouseClick) {
      EXPECT_EQ(std::vector<int>({r.MouseTop(), r.MouseLeft(), r.MouseBottom(), r.MouseRight(), r.MouseButton()}),
                std::vector<int>({50, 20, 100, 300, 1}));
    }
    std::vector<std::pair<int, std::int64_t>> told;
    for (const auto& n : TakeNotices()) {
      if (n.first == control::kSchedulesChanged || n.first == control::kReloadMouse) told.push_back(n);
    }
    EXPECT_EQ(told, c.told);
  }
}

TEST_F(AddMacroTest, AKeyOfAWindowMacroIsInUseButNotTaken) {
  for (const auto& [key, taken] : {std::pair{6, 0}, std::pair{5, 1}}) {
    Add(
        [key](TAddNewHotKey& d) {
          d.HandleMessage(UM_HOTKEYINDEX, static_cast<std::uint64_t>(key), 0);
          Click(d.EnterKeyButton);
        },
        [taken](TModHotKeys& e) {
          EXPECT_EQ(e.HotKeyTaken, taken);
          EXPECT_EQ(e.Global.enabled(), taken == 0);
          Click(e.CancelButton);
        });
  }
  EXPECT_EQ(lock.released, (std::vector<int>{0, 0}));
}

TEST_F(AddMacroTest, MenusGoToTheMenuBuilderAndAreAppendedWhenSaved) {
  // Without a menu builder in the build, the dialog says so and stays open.
  Add([](TAddNewHotKey& d) {
    Click(d.UseFloat);
    EXPECT_EQ(d.EnterKeyButton.caption(), "&Build Menu");
    EXPECT_FALSE(d.ScriptButton.enabled());
    EXPECT_FALSE(d.CaptureKeyButton.enabled());
    Click(d.EnterKeyButton);
    EXPECT_TRUE(d.Showing());
    Click(d.AbortButton);
  });
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kNotAvailableText}));

  BuildMenuRequest asked;
  ops->Editors().buildMenu = [&asked](TMainWin& main, EditorContext&, const BuildMenuRequest& order) {
    asked = order;
    main.CurMacro.SetNickname("My menu");
    main.CurMacro.SetScopeKind(order.floating ? scope::kFloatingMenu : scope::kPopupMenu);
    main.CurMacro.SetMenuItemCount(1);
    main.CurMacro.SetMenuItem(1, 1);
    main.CurMacro.SetActive(1);
    return BuildMenuResult{true, !order.floating};
  };
  // A popup menu on a key a global macro has is refused; without a key it is made.
  mem.boxes.QueueAnswer(platform::mb::kOk);
  TakeNotices();
  Add([](TAddNewHotKey& d) {
    Click(d.UsePopup);
    EXPECT_TRUE(d.SetNone.visible());
    d.HandleMessage(UM_HOTKEYINDEX, 5, 0);
    EXPECT_EQ(d.SelectedTaken, 1);
    Click(d.EnterKeyButton);
    EXPECT_TRUE(d.Showing());
    Click(d.SetNone);
    EXPECT_FALSE(d.Keys.KeyList.enabled());
    Click(d.EnterKeyButton);
  });
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kMenuKeyTakenText}));
  EXPECT_FALSE(asked.floating);
  EXPECT_FALSE(asked.modify);
  int n = Count();
  EXPECT_EQ(Stored(n).ActivationCode(), wdx::activation::kNone);
  EXPECT_EQ(Stored(n).ScopeKind(), scope::kPopupMenu);
  Notices notices = TakeNotices();
  EXPECT_EQ(notices.back(), (std::pair<int, std::int64_t>{control::kMenuIcons, 0}));

  Add([](TAddNewHotKey& d) {
    Click(d.UseFloat);
    Click(d.EnterKeyButton);
  });
  n = Count();
  EXPECT_EQ(Stored(n).ActivationCode(), wdx::activation::kFloatingMenu);
  notices = TakeNotices();
  EXPECT_EQ(notices.back(), (std::pair<int, std::int64_t>{control::kOpenFloater, n}));
  EXPECT_EQ(lock.released, (std::vector<int>{0, 1, 1}));
}

TEST(AddMacroOnlySystemMacrosTest, AMenuNeedsMacrosOfTheUsersOwn) {
  MacrosFixture f;
  f.StartWith({});
  f.ops->Editors().buildMenu = [](TMainWin&, EditorContext&, const BuildMenuRequest&) { return BuildMenuResult{}; };
  f.Next<TAddNewHotKey>([](TAddNewHotKey& d) {
    EXPECT_EQ(d.HasUserMacros, 0);
    Click(d.UseFloat);
    Click(d.EnterKeyButton);
    Click(d.AbortButton);
  });
  f.Choose(0, "MenuAddHot");
  EXPECT_EQ(f.BoxTexts(), (std::vector<std::string>{kNoMacrosForMenuText}));
}

TEST_F(AddMacroTest, ARecordingIsSetUpForTheNewMacro) {
  CaptureRequest asked;
  ops->Editors().capture = [&](TMainWin&, EditorContext& context, const CaptureRequest& order) {
    asked = order;
    // The capture dialog raises the count for the macro it records into; the lock is the
    // recording's now.
    context.glob->SetMacroCount(context.glob->MacroCount() + 1);
    return CaptureResult{true, true};
  };
  const int number = Count() + 1;
  Add([](TAddNewHotKey& d) {
    Click(d.UseAbbrekeys);
    EnterText(d.AbbrekeyName, " sig ");
    Click(d.CaptureKeyButton);
  });
  EXPECT_EQ(asked.macro, number);
  EXPECT_FALSE(asked.recapture);
  EXPECT_EQ(editor->Context().glob->ActivationCode(number), wdx::activation::kAbbrekey);
  // The player copies that one macro's entries, announced by its number.
  const Notices notices = TakeNotices();
  EXPECT_NE(std::find(notices.begin(), notices.end(), std::pair<int, std::int64_t>{control::kMacroEntries, number}),
            notices.end());
  ASSERT_EQ(Count(), number);
  EXPECT_EQ(Stored(number).Abbrekey(), "sig");
  EXPECT_TRUE(lock.released.empty());

  // A hot key a global macro holds: the recording can only be for one program.
  Add([](TAddNewHotKey& d) {
    d.HandleMessage(UM_HOTKEYINDEX, 5, 0);
    Click(d.CaptureKeyButton);
  });
  EXPECT_TRUE(asked.forceProgramScope);
  EXPECT_EQ(Stored(number + 1).ActivationCode(), 5);
}

}  // namespace
}  // namespace wdx::editor::testing

namespace wdx::editor::testing {
namespace {

// Wendforge's own sub-editors: the menu builder and the capture dialog open on the new macro, and
// closed without saving or starting they leave the library and the lock as they were.
TEST(AddMacroWithTheBuildersTest, TheMenuBuilderAndTheCaptureDialogOpenOnTheNewMacro) {
  MacrosFixture f;
  f.StartWith({MakeRecord({"Global", 5})});
  f.ops->Editors() = SubEditors::Builders();
  const int count = f.editor->Context().glob->MacroCount();
  f.Next<TAddNewHotKey>([](TAddNewHotKey& d) {
    Click(d.UseFloat);
    Click(d.EnterKeyButton);
  });
  f.runner.Then([](forms::Form& menu) {
    EXPECT_EQ(menu.caption(), "Build Macro Menu");
    menu.Close();
  });
  f.Choose(0, "MenuAddHot");
  f.Next<TAddNewHotKey>([](TAddNewHotKey& d) {
    d.HandleMessage(UM_HOTKEYINDEX, kCtrlAltH, 0);
    Click(d.CaptureKeyButton);
  });
  f.runner.Then([](forms::Form& capture) {
    EXPECT_EQ(capture.caption(), "Capture Macro");
    capture.Close();
  });
  f.Choose(0, "MenuAddHot");
  EXPECT_EQ(f.editor->Context().glob->MacroCount(), count);
  EXPECT_EQ(f.ReadLibrary().size(), static_cast<std::size_t>(count));
  // The menu's lock given back by Add Macro, the recording's by the capture dialog.
  EXPECT_EQ(f.lock.released, (std::vector<int>{0, 0}));
}

}  // namespace
}  // namespace wdx::editor::testing
