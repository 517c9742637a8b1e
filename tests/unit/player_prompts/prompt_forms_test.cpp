// The prompt windows on their own: the message windows and the queue of messages that come
// while one is up, the password prompt, the value prompt and the choice menu, each driven by a
// scripted user through the prompts the interpreter asks for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/prompts/choice_menu.h"
#include "player/prompts/message_windows.h"
#include "player/prompts/password_prompt.h"
#include "player/prompts/pending_messages.h"
#include "player/prompts/value_prompt.h"
#include "prompt_host.h"

namespace wdx::player {
namespace {

using testing::Box;
using testing::PromptTest;
namespace user = forms::user;

// --- One message window at a time, none lost ------------------------------------------------

TEST(PendingMessages, AMessageThatComesWhileOneIsUpShowsAfterIt) {
  PendingMessages messages;
  std::vector<Box> shown;
  PendingMessages::ShowFn show = [&](const std::string& caption, const std::string& text) {
    shown.push_back({caption, text});
    // While the first is up, a timer raises two more, one of them twice.
    if (shown.size() == 1) {
      messages.Show("Timer", "second", show);
      messages.Show("Timer", "third", show);
      messages.Show("Timer", "second", show);
      EXPECT_EQ(shown.size(), 1u);
    }
  };
  messages.Show("Error", "first", show);
  EXPECT_EQ(shown, (std::vector<Box>{{"Error", "first"}, {"Timer", "second"}, {"Timer", "third"}}));
  EXPECT_FALSE(messages.Open());
}

TEST(PendingMessages, ABurstBeyondTheQueueIsCountedInTheLastMessage) {
  PendingMessages messages;
  std::vector<Box> shown;
  PendingMessages::ShowFn show = [&](const std::string& caption, const std::string& text) {
    shown.push_back({caption, text});
    if (shown.size() == 1) {
      for (std::size_t i = 0; i < PendingMessages::kMaxWaiting + 3; ++i) messages.Show("Timer", std::to_string(i), show);
    }
  };
  messages.Show("Error", "first", show);
  ASSERT_EQ(shown.size(), PendingMessages::kMaxWaiting + 1);
  EXPECT_EQ(shown.back().text, std::to_string(PendingMessages::kMaxWaiting - 1) +
                                   "\r\n\r\n(3 more messages came meanwhile and could not be shown.)");
}

// --- The message windows ----------------------------------------------------------------------

TEST_F(PromptTest, MessageWindowsShowTheirTextCentredAndCloseWithOk) {
  Then<TOnTopMessage>([](TOnTopMessage& form) {
    EXPECT_EQ(form.caption(), "Set Variable");
    EXPECT_EQ(form.TheMessage.caption(), "T0 is not a valid variable name.");
    EXPECT_TRUE(form.TheMessage.wordWrap());
    EXPECT_EQ(form.clientWidth(), 235);
    EXPECT_EQ(form.clientHeight(), 130);
    EXPECT_EQ(form.left(), (800 - form.width()) / 2);
    EXPECT_EQ(form.top(), (600 - form.height()) / 2);
    EXPECT_TRUE(form.stayOnTop());
    user::Click(form.OkButton);
  });
  EXPECT_TRUE(host.prompts.Message("Set Variable", "T0 is not a valid variable name."));
  Then<TDoMyMessage>([](TDoMyMessage& form) {
    EXPECT_EQ(form.caption(), "Report");
    // Line breaks of any kind show as lines.
    EXPECT_EQ(form.TheMessage.Lines(), (std::vector<std::string>{"one", "two", "three", "", "four"}));
    EXPECT_TRUE(form.TheMessage.readOnly());
    EXPECT_EQ(form.TheMessage.scrollBars(), forms::ScrollBars::kVertical);
    EXPECT_EQ(form.clientWidth(), 270);
    EXPECT_EQ(form.clientHeight(), 172);
    user::PressEnter(form);
  });
  EXPECT_TRUE(host.prompts.LongMessage("Report", "one\r\ntwo\nthree\r\rfour"));
  ASSERT_EQ(host.runner.shown.size(), 2u);
  EXPECT_EQ(host.runner.shown[0].result, forms::ModalResult::kOk);
  EXPECT_EQ(host.runner.shown[1].result, forms::ModalResult::kOk);
  EXPECT_FALSE(host.runner.shown[1].leftOpen);
  // Each prompt came to the front between the application window shown and hidden again.
  EXPECT_EQ(host.foreground.size(), 2u);
  EXPECT_EQ(host.application, (std::vector<bool>{true, false, true, false}));
}

TEST_F(PromptTest, WithoutAFormRunnerNoMessageWindowIsShown) {
  host.withForms = false;
  EXPECT_FALSE(host.prompts.Message("Caption", "Text"));
  EXPECT_FALSE(host.prompts.LongMessage("Caption", "Text"));
  EXPECT_FALSE(host.prompts.Password("x").has_value());
  EXPECT_FALSE(host.prompts.Value(ValueKind::kText, "x").has_value());
  EXPECT_FALSE(host.prompts.ChoiceMenu({}).has_value());
  EXPECT_FALSE(host.prompts.OpenFile("x").shown);
  EXPECT_FALSE(host.prompts.Folder("x").shown);
}

// --- The password prompt ----------------------------------------------------------------------

TEST(PasswordModel, MatchesAsTypedOrWithoutBlanksAround) {
  struct Case {
    std::string password, entry;
    bool matches;
  };
  const Case cases[] = {
      {"Secret", "Secret", true},   {"Secret", "  Secret \t", true}, {"Secret", "secret", false},
      {"Secret", "Secre", false},   {"Secret", "", false},           {"", "", true},
      // A password that ends in a blank can be entered as it is; without the blank it fails.
      {"pass ", "pass ", true},     {"pass ", "pass", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.password + "|" + c.entry);
    PasswordModel model{c.password, c.entry};
    EXPECT_EQ(model.Matches(), c.matches);
    const std::optional<forms::Fault> fault = model.Check();
    EXPECT_EQ(!fault, c.matches);
    if (fault) {
      EXPECT_EQ(fault->field, "Password");
      EXPECT_EQ(fault->message, "Incorrect password entered.");
      EXPECT_EQ(fault->caption, "Error");
    }
  }
}

TEST_F(PromptTest, PasswordPromptKeepsAskingUntilTheRightEntryOrAbort) {
  st.logErrors = true;
  Then<TProcessPassword>([&](TProcessPassword& form) {
    EXPECT_EQ(form.caption(), "Password Protection");
    EXPECT_EQ(form.TheMessage.caption(), "This macro is password protected.  Please enter the password below.");
    EXPECT_EQ(form.Password.passwordChar(), '*');
    EXPECT_EQ(form.clientWidth(), 204);
    EXPECT_EQ(form.clientHeight(), 94);
    user::EnterText(form.Password, "wrong");
    user::Click(form.OkButton);
    EXPECT_TRUE(form.Showing());
    EXPECT_TRUE(form.Password.Focused());
    user::EnterText(form.Password, "Open Sesame");
    user::PressEnter(form);
  });
  EXPECT_EQ(host.prompts.Password("Open Sesame"), true);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, "Incorrect password entered.");
  EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
  EXPECT_EQ(host.log, (std::vector<std::string>{"Password attempt made with incorrect password."}));
  EXPECT_EQ(host.runner.shown[0].focusAtShow, "Password");

  Then<TProcessPassword>([](TProcessPassword& form) { user::Click(form.AbortButton); });
  EXPECT_EQ(host.prompts.Password("Open Sesame"), false);
  Then<TProcessPassword>([](TProcessPassword& form) {
    user::EnterText(form.Password, "Open Sesame");
    user::CloseBox(form);
  });
  EXPECT_EQ(host.prompts.Password("Open Sesame"), false);
}

// --- The value prompt -------------------------------------------------------------------------

TEST(ValueModel, NumberKindsTakeOnlyANumberTrimmed) {
  struct Case {
    ValueKind kind;
    std::string typed;
    std::optional<std::string> answer;  // nullopt: refused
  };
  const Case cases[] = {
      {ValueKind::kText, "  x  ", "  x  "},   {ValueKind::kText, "", ""},
      {ValueKind::kInteger, "12 ", "12"},     {ValueKind::kInteger, " -7", "-7"},
      {ValueKind::kInteger, "$1F", "$1F"},    {ValueKind::kInteger, "12a", std::nullopt},
      {ValueKind::kInteger, "", std::nullopt}, {ValueKind::kInteger, "99999999999", std::nullopt},
      {ValueKind::kDecimal, "2.5", "2.5"},    {ValueKind::kDecimal, " 1e3 ", "1e3"},
      {ValueKind::kDecimal, "2,5", std::nullopt}, {ValueKind::kDecimal, "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ValueModel model;
    model.kind = c.kind;
    model.text = c.typed;
    const std::optional<forms::Fault> fault = model.Check();
    EXPECT_EQ(!fault, c.answer.has_value());
    if (c.answer) {
      EXPECT_EQ(model.answer, *c.answer);
    }
    if (fault) {
      EXPECT_EQ(fault->field, "Value");
      EXPECT_EQ(fault->message, c.kind == ValueKind::kInteger ? "Invalid integer value entered.  Please correct."
                                                             : "Invalid decimal value entered.  Please correct.");
    }
  }
}

TEST_F(PromptTest, ValuePromptSizesItselfByItsMessage) {
  // Ten pixels a character: 19 characters fit in the 196 of a line.
  host.runner.SetMeasure([](const forms::Font&, std::string_view text) { return static_cast<int>(text.size()) * 10; });
  struct Case {
    ValueKind kind;
    std::string message;
    std::string caption;
    int lines;
  };
  const Case cases[] = {
      {ValueKind::kText, "Three words fit", "Input Text", 1},
      {ValueKind::kInteger, "", "Input Integer", 0},
      // The blank left at the end of a line counts: "This message is too " is 200 pixels.
      {ValueKind::kDecimal, "This message is too long for one line", "Input Decimal", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Then<TInputAValue>([&](TInputAValue& form) {
      EXPECT_EQ(form.caption(), c.caption);
      EXPECT_EQ(form.lineCount, c.lines);
      EXPECT_EQ(form.TheMessage.height(), 16 * c.lines);
      EXPECT_EQ(form.Value.top(), 16 * c.lines + 8);
      EXPECT_EQ(form.OkButton.top(), form.Value.bottom() + 4);
      EXPECT_EQ(form.clientHeight(), form.OkButton.bottom() + 4);
      EXPECT_EQ(form.left(), (800 - form.width()) / 2);
      user::EnterText(form.Value, "1");
      user::PressEnter(form);
    });
    EXPECT_EQ(host.prompts.Value(c.kind, c.message), "1");
    EXPECT_EQ(host.runner.shown.back().focusAtShow, "Value");
  }
}

TEST_F(PromptTest, ValuePromptRefusesAWrongNumberAndGivesNothingWhenClosed) {
  Then<TInputAValue>([&](TInputAValue& form) {
    user::EnterText(form.Value, "2,5");
    user::Click(form.OkButton);
    EXPECT_TRUE(form.Showing());
    EXPECT_TRUE(form.Value.Focused());
    user::EnterText(form.Value, " 2.5 ");
    user::Click(form.OkButton);
  });
  EXPECT_EQ(host.prompts.Value(ValueKind::kDecimal, "How much?"), "2.5");
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, "Invalid decimal value entered.  Please correct.");
  EXPECT_EQ(mem.boxes.shown[0].caption, "Error");

  Then<TInputAValue>([&](TInputAValue& form) {
    user::EnterText(form.Value, "typed but not taken");
    user::CloseBox(form);
  });
  EXPECT_EQ(host.prompts.Value(ValueKind::kText, "Name?"), "");
}

// --- The choice menu ------------------------------------------------------------------------

TEST(ChoiceMenuItems, TakesTenNonBlankLinesTheLastTrimmed) {
  EXPECT_EQ(ChoiceMenuItems("Red\r\nGreen\r\nBlue"), (std::vector<std::string>{"Red", "Green", "Blue"}));
  EXPECT_EQ(ChoiceMenuItems(" Red \r\n\r\n   \r\n Blue "), (std::vector<std::string>{" Red ", "Blue"}));
  EXPECT_EQ(ChoiceMenuItems(""), std::vector<std::string>{});
  std::string eleven;
  for (char c = 'a'; c <= 'k'; ++c) eleven += std::string(1, c) + (c < 'k' ? "\r\n\r\n" : "");
  const std::vector<std::string> items = ChoiceMenuItems(eleven);
  ASSERT_EQ(items.size(), 10u);
  EXPECT_EQ(items.back(), "j");
  EXPECT_EQ(ChoiceMenuItems(std::string(300, 'x'))[0].size(), 255u);
}

TEST_F(PromptTest, ChoiceMenuGivesTheLettersOfWhatWasChosen) {
  host.runner.SetMeasure([](const forms::Font&, std::string_view text) { return static_cast<int>(text.size()) * 10; });
  const ChoiceMenuText radios{1, "Pick", "Choose one", "Red\r\nGreen\r\nBlue", "c"};
  Then<TShowAMenu>([](TShowAMenu& form) {
    EXPECT_EQ(form.caption(), "Pick");
    EXPECT_FALSE(form.CheckPanel.visible());
    EXPECT_TRUE(form.Radio[2]->checked());  // "c", upper-cased: the third item
    EXPECT_EQ(form.Radio[1]->caption(), "Green");
    EXPECT_FALSE(form.Radio[3]->visible());
    EXPECT_FALSE(form.Radio[3]->enabled());
    EXPECT_EQ(form.menuWidth, 200);
    EXPECT_EQ(form.clientWidth(), 200);
    EXPECT_EQ(form.lineCount, 1);
    EXPECT_EQ(form.RadioPanel.top(), 16 + 8);
    EXPECT_EQ(form.RadioPanel.height(), 3 * 20 + 12);
    EXPECT_EQ(form.clientHeight(), form.OkButton.bottom() + 4);
    user::Click(*form.Radio[1]);
    user::Click(form.OkButton);
  });
  EXPECT_EQ(host.prompts.ChoiceMenu(radios), "B");

  const ChoiceMenuText checks{2, "Pick", "", "Red\r\nGreen\r\nBlue", "b"};
  Then<TShowAMenu>([](TShowAMenu& form) {
    EXPECT_FALSE(form.RadioPanel.visible());
    EXPECT_TRUE(form.Check[1]->checked());
    EXPECT_EQ(form.lineCount, 0);
    user::Click(*form.Check[1]);  // untick Green
    user::Click(*form.Check[0]);
    user::Click(*form.Check[2]);
    user::Click(form.OkButton);
  });
  EXPECT_EQ(host.prompts.ChoiceMenu(checks), "AC");

  // A wide item widens the menu; the close box chooses nothing.
  const ChoiceMenuText wide{1, "Pick", "", std::string(25, 'w'), "A"};
  Then<TShowAMenu>([](TShowAMenu& form) {
    EXPECT_EQ(form.menuWidth, 25 * 10 + 30);
    EXPECT_TRUE(form.Radio[0]->checked());
    user::CloseBox(form);
  });
  EXPECT_EQ(host.prompts.ChoiceMenu(wide), "");
}

}  // namespace
}  // namespace wdx::player
