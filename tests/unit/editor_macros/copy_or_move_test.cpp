// Duplicate and change of activation through TCopyOrMove: the refusals, a timed copy with the
// default schedule, a popup menu made floating and back, a macro moved to another key.
#include <gtest/gtest.h>

#include "editor/dialogs/sched.h"
#include "editor/macros/copy_or_move.h"
#include "macros_fixture.h"
#include "shared/date_time.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

using forms::user::Click;
using Notice = std::pair<int, std::int64_t>;

class CopyOrMoveTest : public MacrosFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    TMacroRec text = MakeRecord({"Global", 5});
    text.SetText("keep me");
    StartWith({text, MakeRecord({"Window", 6, scope::kWindow, "Calc"}),
               MenuRecord("Popup", 7, scope::kPopupMenu, {1}),
               MenuRecord("Float", wdx::activation::kFloatingMenu, scope::kFloatingMenu, {1})});
  }
  int Count() { return editor->Context().glob->MacroCount(); }
  void Dialog(int macro, const char* item, std::function<void(TCopyOrMove&)> script) {
    Next<TCopyOrMove>(std::move(script));
    Choose(macro, item);
  }
  static void Press(TCopyOrMove& d, int key) { d.HandleMessage(UM_HOTKEYINDEX, static_cast<std::uint64_t>(key), 0); }
};

TEST_F(CopyOrMoveTest, CopyingToATakenKeyIsRefusedForGlobalMacrosOnly) {
  const int before = Count();
  mem.boxes.QueueAnswer(platform::mb::kOk);
  Dialog(1, "MenuCopyHot", [](TCopyOrMove& d) {
    EXPECT_EQ(d.caption(), "Copy Hot Key");
    EXPECT_EQ(d.HotKeyLabel.caption(), "COPY Ctrl+F TO");
    Press(d, 7);  // the popup menu's key
    Click(d.OkButton);
    EXPECT_TRUE(d.Showing());
    EXPECT_EQ(d.activeControl(), &d.Keys.HotKeyEntry);
    Click(d.CancelButton);
  });
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this "
                                                  "selection. The \"COPY\" did not take place."}));
  EXPECT_EQ(Count(), before);

  // The window macro may have the key; the copy is the same macro under it.
  Dialog(2, "MenuCopyHot", [](TCopyOrMove& d) {
    Press(d, 7);
    Click(d.OkButton);
  });
  ASSERT_EQ(Count(), before + 1);
  EXPECT_EQ(Stored(before + 1).ActivationCode(), 7);
  EXPECT_EQ(Stored(before + 1).ScopeText(), "Calc");
  EXPECT_EQ(Main().SelectedMacro(), before + 1);
  EXPECT_EQ(lock.released, (std::vector<int>{0, 1}));
}

TEST_F(CopyOrMoveTest, MovingOnItsOwnKeyOrToAFreeOneAndTheMoveRefusal) {
  mem.boxes.QueueAnswer(platform::mb::kOk);
  Dialog(1, "MenuMoveHot", [](TCopyOrMove& d) {
    EXPECT_EQ(d.caption(), "Change Macro Activation");
    EXPECT_EQ(d.HotKeyLabel.caption(), "MOVE Ctrl+F TO");
    Press(d, 7);
    Click(d.OkButton);
    Press(d, 5);  // its own key stands in no one's way
    Click(d.OkButton);
  });
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this "
                                                  "selection. The \"MOVE\" did not take place."}));
  Dialog(1, "MenuMoveHot", [](TCopyOrMove& d) {
    Press(d, 9);
    Click(d.OkButton);
  });
  EXPECT_EQ(Stored(1).ActivationCode(), 9);
  EXPECT_EQ(Stored(1).Text(), "keep me");
  EXPECT_TRUE(editor->Context().glob->HotKeyMapped(9));
  EXPECT_FALSE(editor->Context().glob->HotKeyMapped(5));
  EXPECT_EQ(lock.released, (std::vector<int>{1, 1}));
}

TEST_F(CopyOrMoveTest, ATimedCopyKeepsTheDefaultScheduleWhenTheScheduleDialogIsCancelled) {
  const int before = Count();
  Next<TCopyOrMove>([](TCopyOrMove& d) {
    Click(d.TimedMacro);
    Click(d.OkButton);
  });
  Next<TDoSchedule>([](TDoSchedule& s) { s.Close(); });
  Choose(1, "MenuCopyHot");
  ASSERT_EQ(Count(), before + 1);
  const TMacroRec copy = Stored(before + 1);
  EXPECT_EQ(copy.ActivationCode(), wdx::activation::kTimed);
  TMacroRec expected;
  DefaultTimer(expected, DecodeDateTime(mem.clock.Now()));
  EXPECT_EQ(ScheduleDescription(copy), ScheduleDescription(expected));
  const Notices notices = TakeNotices();
  EXPECT_NE(std::find(notices.begin(), notices.end(), Notice{control::kSchedulesChanged, 0}), notices.end());
}

TEST_F(CopyOrMoveTest, APopupMenuMadeFloatingAndBackTellsThePlayer) {
  Dialog(3, "MenuMoveHot", [](TCopyOrMove& d) {
    EXPECT_EQ(d.UseHotKey.caption(), "&Popup Menu");
    EXPECT_EQ(d.UseNone.caption(), "&Floating Menu");
    EXPECT_FALSE(d.UseAbbrekey.visible());
    EXPECT_FALSE(d.UseMouse.visible());
    EXPECT_TRUE(d.SetNone.visible());
    Click(d.UseNone);
    Click(d.OkButton);
  });
  EXPECT_EQ(Stored(3).ScopeKind(), scope::kFloatingMenu);
  EXPECT_EQ(Stored(3).ActivationCode(), wdx::activation::kFloatingMenu);
  Notices notices = TakeNotices();
  ASSERT_GE(notices.size(), 2u);
  EXPECT_EQ(Notices(notices.end() - 2, notices.end()), (Notices{{control::kMenuIcons, 0}, {control::kOpenFloater, 3}}));

  Dialog(3, "MenuMoveHot", [](TCopyOrMove& d) {
    Click(d.SetNone);
    EXPECT_FALSE(d.Keys.KeyList.enabled());
    Click(d.OkButton);
  });
  EXPECT_EQ(Stored(3).ScopeKind(), scope::kPopupMenu);
  EXPECT_EQ(Stored(3).ActivationCode(), wdx::activation::kNone);
  notices = TakeNotices();
  EXPECT_EQ(Notices(notices.end() - 2, notices.end()), (Notices{{control::kMenuIcons, 0}, {control::kCloseFloater, 3}}));
}

TEST_F(CopyOrMoveTest, AnAbbrekeyAndAMouseAreaWithTheirRefusals) {
  mem.boxes.QueueAnswer(platform::mb::kOk);
  mem.boxes.QueueAnswer(platform::mb::kOk);
  Dialog(2, "MenuMoveHot", [](TCopyOrMove& d) {
    Click(d.UseAbbrekey);
    EXPECT_EQ(d.activeControl(), &d.AbbrekeyEntry);
    forms::user::EnterText(d.AbbrekeyEntry, "bad name");
    Click(d.OkButton);
    Click(d.UseMouse);
    forms::user::EnterText(d.Mouse.MTop, "100");
    forms::user::EnterText(d.Mouse.MLeft, "300");
    forms::user::EnterText(d.Mouse.MBottom, "50");
    Click(d.OkButton);
    EXPECT_EQ(d.activeControl(), &d.Mouse.MRight);
    forms::user::EnterText(d.Mouse.MRight, "20");
    Click(d.Mouse.RightMButton);
    Click(d.OkButton);
  });
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{kInvalidAbbrekeyText, "Invalid right position entered.  Please correct."}));
  const TMacroRec r = Stored(2);
  EXPECT_EQ(r.ActivationCode(), wdx::activation::kMouseClick);
  EXPECT_EQ(std::vector<int>({r.MouseTop(), r.MouseLeft(), r.MouseBottom(), r.MouseRight(), r.MouseButton()}),
            std::vector<int>({50, 20, 100, 300, 3}));
  const Notices notices = TakeNotices();
  EXPECT_NE(std::find(notices.begin(), notices.end(), Notice{control::kRecordRewritten, 2}), notices.end());
}

}  // namespace
}  // namespace wdx::editor::testing
