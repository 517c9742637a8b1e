// The frame every command dialog shares, shown on a small dialog of the test's own with two
// number fields over the codec's "<PAUSE:" layout.
#include "editor/dialogs/command_dialog.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/openers.h"
#include "shared/command_fields.h"

namespace wdx::editor {
namespace {

struct PlaceModel {
  std::string top = "0";
  std::string left = "0";
  std::optional<forms::Fault> Check() const {
    if (auto t = CheckNumber({"Top", top, 0, 999, "Invalid top specified."}); t.fault) return t.fault;
    if (auto l = CheckNumber({"Left", left, 0, 999, "Invalid left specified."}); l.fault) return l.fault;
    return std::nullopt;
  }
  std::optional<std::string> Tag() const {
    return EncodeCommand(Command{TagId::kPauseAt,
                                 {FieldValue::Number(WholeNumber(top).value_or(-1)),
                                  FieldValue::Number(WholeNumber(left).value_or(-1)), FieldValue::Text("")}});
  }
};

class TDoPlace : public CommandDialogOf<PlaceModel> {
 public:
  explicit TDoPlace(const DialogServices& s) : CommandDialogOf("DoPlace", "Place", "Place Test", s) {
    SetBounds(0, 0, 533, 200);
    UseButtons(OkButton, CancelButton, &HelpButton);
  }
  forms::Edit Top{this, "Top"};
  forms::Edit Left{this, "Left"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};
  forms::Button HelpButton{this, "HelpButton", "&Help"};

 private:
  void ShowModel(const PlaceModel& m) override {
    Top.SetText(m.top);
    Left.SetText(m.left);
    if (NewCommand == 1) Top.SetFocus();
  }
  PlaceModel ReadModel() const override { return {FieldText(Top.text()), FieldText(Left.text())}; }
};

class CommandDialogTest : public testing::DialogTest, public ::testing::Test {};

TEST_F(CommandDialogTest, OkWritesTheTagFromTrimmedFieldsAndCentresTheForm) {
  TDoPlace d(services);
  runner.Then([](forms::Form& f) {
    Type(f, "Top", "  12 ");
    Type(f, "Left", "7");
    Click(f, "OkButton");
  });
  EXPECT_TRUE(ShowCommandDialog(runner, d));
  EXPECT_EQ(d.ResultText, "<PAUSE:012,007>");
  EXPECT_EQ(d.model.top, "12");
  // (800 - 533) div 2 and (600 - 200) div 2.
  EXPECT_EQ(d.left(), 133);
  EXPECT_EQ(d.top(), 200);
  EXPECT_EQ(runner.shown.back().focusAtShow, "Top");
}

TEST_F(CommandDialogTest, AFormLargerThanTheScreenStandsAtANegativePlace) {
  services.screen = {500, 100};
  TDoPlace d(services);
  runner.Then([](forms::Form& f) { Click(f, "CancelButton"); });
  runner.ShowModal(d);
  EXPECT_EQ(d.left(), -16);  // (500 - 533) / 2 truncates toward zero
  EXPECT_EQ(d.top(), -50);
}

// Each refused value: the first failing field's message under "Error" with only an OK button,
// the focus on that field, the dialog still open, nothing written.
TEST_F(CommandDialogTest, RefusedNumbersShowTheFirstFailureAndFocusItsField) {
  struct Case {
    const char* top;
    const char* left;
    const char* message;
    const char* focus;
  } cases[] = {
      {"", "1", "Invalid top specified.", "Top"},        // blank
      {"   ", "1", "Invalid top specified.", "Top"},     // blanks only
      {"12abc", "1", "Invalid top specified.", "Top"},   // not a whole number
      {"-1", "1", "Invalid top specified.", "Top"},      // negative
      {"1000", "1", "Invalid top specified.", "Top"},    // wider than the field
      {"5", "x", "Invalid left specified.", "Left"},     // the lower field
      {"abc", "", "Invalid top specified.", "Top"},      // two failures: the upper one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.top) + " / " + c.left);
    mem.boxes.shown.clear();
    TDoPlace d(services);
    bool stillOpen = false;
    std::string focus;
    runner.Then([&](forms::Form& f) {
      Type(f, "Top", c.top);
      Type(f, "Left", c.left);
      Click(f, "OkButton");
      stillOpen = f.AcceptsInput();
      focus = f.activeControl()->name();
      forms::user::PressEscape(f);
    });
    EXPECT_FALSE(ShowCommandDialog(runner, d));
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown[0].text, c.message);
    EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
    EXPECT_EQ(mem.boxes.shown[0].flags, platform::mb::kOk);
    EXPECT_EQ(focus, c.focus);
    EXPECT_EQ(d.ResultText, "");
  }
}

// The opener preset a command; the user changes one field, Ok is refused by the other, then
// Cancel: the opener finds the command it preset, not half of the refused entry.
TEST_F(CommandDialogTest, CancelAfterARefusedOkLeavesThePresetCommand) {
  TDoPlace d(services);
  d.NewCommand = 0;
  d.model = {"5", "6"};
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(Get<forms::Edit>(f, "Top").text(), "5");
    Type(f, "Top", "7");
    Type(f, "Left", "12abc");
    Click(f, "OkButton");
    forms::user::PressEscape(f);
  });
  EXPECT_FALSE(ShowCommandDialog(runner, d));
  EXPECT_EQ(d.model.top, "5");
  EXPECT_EQ(d.model.left, "6");
  EXPECT_EQ(runner.shown.back().result, forms::ModalResult::kCancel);
}

TEST_F(CommandDialogTest, EnterPressesOkAndTheCloseBoxCancels) {
  TDoPlace ok(services);
  runner.Then([](forms::Form& f) { forms::user::PressEnter(f); });
  EXPECT_TRUE(ShowCommandDialog(runner, ok));
  EXPECT_EQ(ok.ResultText, "<PAUSE:000,000>");

  TDoPlace closed(services);
  runner.Then([](forms::Form& f) { forms::user::CloseBox(f); });
  EXPECT_FALSE(ShowCommandDialog(runner, closed));
}

TEST_F(CommandDialogTest, HelpOpensTheHelpFileOfTheProgramFolderAtTheKeyword) {
  TDoPlace d(services);
  runner.Then([](forms::Form& f) {
    Click(f, "HelpButton");
    Click(f, "CancelButton");
  });
  runner.ShowModal(d);
  ASSERT_EQ(mem.help.asked.size(), 1u);
  EXPECT_EQ(mem.help.asked[0].file, "C:\\WENDRIX\\WENDRIX.HLP");
  EXPECT_EQ(mem.help.asked[0].keyword, "Place Test");
  EXPECT_EQ(mem.help.asked[0].owner, runner.shown.back().handle);
}

TEST(DialogFields, WholeNumbersAndSpinSteps) {
  EXPECT_EQ(WholeNumber(" 42 "), 42);
  EXPECT_EQ(WholeNumber("-7"), -7);
  for (const char* refused : {"", " ", "12abc", "1 2", "$10", "+", "-", "1234567890"}) {
    EXPECT_EQ(WholeNumber(refused), std::nullopt) << refused;
  }
  // Each direction stops at its own bound only: a value beyond a bound is not moved toward it.
  EXPECT_EQ(SpinStep("30", 1, 1, 31), "31");
  EXPECT_EQ(SpinStep("31", 1, 1, 31), "31");
  EXPECT_EQ(SpinStep("40", 1, 1, 31), "40");
  EXPECT_EQ(SpinStep("40", -1, 1, 31), "39");
  EXPECT_EQ(SpinStep("1", -1, 1, 31), "1");
  EXPECT_EQ(SpinStep("7x", 1, 0, 59), "8");
  EXPECT_EQ(SpinStep("", 1, 0, 59), "1");
}

}  // namespace
}  // namespace wdx::editor
