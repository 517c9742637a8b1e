// The key, lock-key, block-case and remark dialogs: each tag they write equals its documented
// example, reads back through the codec as the same command, and plays in the interpreter as
// that command.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "../player_interpreter/test_host.h"
#include "dialog_fixture.h"
#include "editor/dialogs/block.h"
#include "editor/dialogs/key_down.h"
#include "editor/dialogs/openers.h"
#include "editor/dialogs/remark.h"
#include "platform/virtual_keys.h"
#include "player/interpreter/interpreter.h"
#include "shared/command_fields.h"
#include "shared/command_layouts.h"

namespace wdx::editor {
namespace {

using V = FieldValue;

// The key events a macro text plays, as "+vk" (down) and "-vk" (up) in hexadecimal, and the
// lock keys' states afterwards.
struct Played {
  std::string keys;
  bool caps = false, num = false, scroll = false;
};
Played Play(const std::string& text) {
  platform::MemoryInput input;
  player::testing::TestHost host(input);
  player::Interpreter interpreter(host);
  interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
  std::ostringstream out;
  for (const auto& e : input.keys) {
    out << ((e.flags & platform::keyflag::kKeyUp) ? "-" : "+") << std::hex << int{e.vk} << " ";
  }
  return {out.str(), (input.GetKeyState(vk::kCapital) & 1) != 0, (input.GetKeyState(vk::kNumLock) & 1) != 0,
          (input.GetKeyState(vk::kScroll) & 1) != 0};
}

class KeyDialogsTest : public testing::DialogTest, public ::testing::Test {
 protected:
  // Shows the dialog, runs the user's script, gives ResultText when confirmed.
  std::string Confirmed(CommandDialog& d, std::function<void(forms::Form&)> script) {
    runner.Then(std::move(script));
    return ShowCommandDialog(runner, d) ? d.ResultText : std::string("(cancelled)");
  }
};

// One table: the user's choice, the tag it writes, the command the codec reads back from the
// tag, and the start of what the interpreter plays for the tag followed by "x".
TEST_F(KeyDialogsTest, EveryTagWrittenReadsBackAndPlaysAsTheSameCommand) {
  struct Case {
    enum { kKey, kToggle, kRemark } dialog;
    const char* choice;  // a radio button, or the comment typed
    std::int32_t typed;  // KeyAction or ToggleKind (remark: unused)
    std::string tag;
    Command command;
    std::string playedStart;
  } cases[] = {
      {Case::kKey, "CtrlDown", 1, "<CTRLD>", {TagId::kCtrld, {}}, "+11 +58 -58"},
      {Case::kKey, "CtrlUp", 2, "<CTRLU>", {TagId::kCtrlu, {}}, "-11 +58 -58"},
      {Case::kKey, "AltDown", 3, "<ALTD>", {TagId::kAltd, {}}, "+12 +58 -58"},
      {Case::kKey, "AltUp", 4, "<ALTU>", {TagId::kAltu, {}}, "-12 +58 -58"},
      {Case::kKey, "ShiftDown", 5, "<SHIFTD>", {TagId::kShiftd, {}}, "+10 +58 -58"},
      {Case::kKey, "ShiftUp", 6, "<SHIFTU>", {TagId::kShiftu, {}}, "-10 +58 -58"},
      {Case::kKey, "WinDown", 7, "<WIND>", {TagId::kWind, {}}, "+5b +58 -58"},
      {Case::kKey, "WinUp", 8, "<WINU>", {TagId::kWinu, {}}, "-5b +58 -58"},
      {Case::kToggle, "CapsOn", 1, "<TOG:1>", {TagId::kTog, {V::Number(1)}}, "+14 -14 +58 -58"},
      {Case::kToggle, "CapsOff", 2, "<TOG:2>", {TagId::kTog, {V::Number(2)}}, "+58 -58"},
      {Case::kToggle, "NumOn", 3, "<TOG:3>", {TagId::kTog, {V::Number(3)}}, "+90 -90 +58 -58"},
      {Case::kToggle, "NumOff", 4, "<TOG:4>", {TagId::kTog, {V::Number(4)}}, "+58 -58"},
      {Case::kToggle, "ScrollOn", 5, "<TOG:5>", {TagId::kTog, {V::Number(5)}}, "+91 -91 +58 -58"},
      {Case::kToggle, "ScrollOff", 6, "<TOG:6>", {TagId::kTog, {V::Number(6)}}, "+58 -58"},
      {Case::kRemark, "  check totals ", 0, "<REM:check totals>", {TagId::kRem, {V::Text("check totals")}}, "+58 -58"},
      {Case::kRemark, "", 0, "<REM:>", {TagId::kRem, {V::Text("")}}, "+58 -58"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    std::string written;
    if (c.dialog == Case::kKey) {
      TDoKeyUpDown d(services);
      written = Confirmed(d, [&](forms::Form& f) { Click(f, c.choice); Click(f, "OkButton"); });
      EXPECT_EQ(d.model.KeyAction, c.typed);
      EXPECT_EQ(cmd::key_action::Of(c.command.id), c.typed);
    } else if (c.dialog == Case::kToggle) {
      TDoToggleKeys d(services);
      written = Confirmed(d, [&](forms::Form& f) { Click(f, c.choice); Click(f, "OkButton"); });
      EXPECT_EQ(d.model.ToggleKind, static_cast<std::uint32_t>(c.typed));
    } else {
      TDoRemark d(services);
      written = Confirmed(d, [&](forms::Form& f) { Type(f, "Comments", c.choice); Click(f, "OkButton"); });
      EXPECT_EQ(d.model.Comments, c.command.values[0].text);
    }
    EXPECT_EQ(written, c.tag);
    std::size_t end = 0;
    EXPECT_EQ(DecodeCommand(written + "x", 0, &end), c.command);
    EXPECT_EQ(end, c.tag.size());
    EXPECT_EQ(EncodeCommand(c.command), c.tag);
    // What the interpreter does with it, up to the "x" typed after it.
    EXPECT_EQ(Play(written + "x").keys.substr(0, c.playedStart.size() + 1), c.playedStart + " ");
  }
}

TEST_F(KeyDialogsTest, LockKeysEndInTheStateTheTagAsks) {
  EXPECT_TRUE(Play("<TOG:1>").caps);
  EXPECT_TRUE(Play("<TOG:3>").num);
  EXPECT_FALSE(Play("<TOG:3><TOG:4>").num);
  EXPECT_TRUE(Play("<TOG:5>").scroll);
}

TEST_F(KeyDialogsTest, FreshDialogsFocusTheirFirstChoiceAndPresetOnesShowTheLine) {
  TDoKeyUpDown fresh(services);
  Confirmed(fresh, [](forms::Form& f) { Click(f, "CancelButton"); });
  EXPECT_EQ(runner.shown.back().focusAtShow, "CtrlDown");
  EXPECT_EQ(fresh.ResultText, "");

  TDoToggleKeys toggles(services);
  Confirmed(toggles, [](forms::Form& f) { Click(f, "CancelButton"); });
  EXPECT_EQ(runner.shown.back().focusAtShow, "CapsOn");

  // The script editor edits a line of key action 6: its button is checked, Ok keeps it.
  TDoKeyUpDown edited(services);
  edited.NewCommand = 0;
  edited.model.KeyAction = 6;
  EXPECT_EQ(Confirmed(edited, [](forms::Form& f) { Click(f, "OkButton"); }), "<SHIFTU>");

  TDoRemark remark(services);
  remark.NewCommand = 0;
  remark.model.Comments = "old note";
  EXPECT_EQ(Confirmed(remark, [](forms::Form& f) { Click(f, "OkButton"); }), "<REM:old note>");
  EXPECT_EQ(runner.shown.back().name, "DoRemark");
}

// A remark the player would end early, or whose tag would lose its ">", is refused and the
// comment stays as typed.
TEST_F(KeyDialogsTest, RemarksThePlayerCouldNotKeepAreRefused) {
  for (const std::string& comment : {std::string("a>b"), std::string(cmd::kRemarkMaxLength + 1, 'r')}) {
    mem.boxes.shown.clear();
    TDoRemark d(services);
    std::string left, focus;
    EXPECT_EQ(Confirmed(d,
                        [&](forms::Form& f) {
                          forms::user::TextChanged(Get<forms::Edit>(f, "Comments"), comment);
                          Click(f, "OkButton");
                          left = Get<forms::Edit>(f, "Comments").text();
                          focus = f.activeControl()->name();
                          forms::user::PressEscape(f);
                        }),
              "(cancelled)");
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
    EXPECT_EQ(left, comment);
    EXPECT_EQ(focus, "Comments");
  }
  // The longest comment that fits still makes a whole tag.
  TDoRemark longest(services);
  const std::string comment(cmd::kRemarkMaxLength, 'r');
  EXPECT_EQ(Confirmed(longest, [&](forms::Form& f) { Type(f, "Comments", comment); Click(f, "OkButton"); }),
            "<REM:" + comment + ">");
  EXPECT_EQ(longest.ResultText.size(), 255u);
}

TEST_F(KeyDialogsTest, BlockCaseGivesItsTagOnlyWhenConfirmed) {
  struct Case {
    const char* button;
    const char* tag;
  } cases[] = {{"rbtnLowercase", "<LOWBLOCK>"}, {"rbtnUppercase", "<UPPBLOCK>"}, {"rbtnToggle", "<TOGBLOCK>"}};
  for (const Case& c : cases) {
    TfrmBlock d(services);
    runner.Then([&](forms::Form& f) { Click(f, c.button); Click(f, "btnOk"); });
    EXPECT_EQ(runner.ShowModal(d), forms::ModalResult::kOk);
    EXPECT_EQ(d.ResultText, c.tag);
    const TagInfo* read = MatchTag(d.ResultText, 0);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->id, DecodeCommand(d.ResultText)->id);
    EXPECT_EQ(d.caption(), "Manipulate Block");
  }
  // Cancelled: nothing for the direct text editor to append.
  TfrmBlock cancelled(services);
  runner.Then([](forms::Form& f) { Click(f, "rbtnUppercase"); forms::user::PressEscape(f); });
  EXPECT_EQ(runner.ShowModal(cancelled), forms::ModalResult::kCancel);
  EXPECT_EQ(cancelled.ResultText, "");
}

}  // namespace
}  // namespace wdx::editor
