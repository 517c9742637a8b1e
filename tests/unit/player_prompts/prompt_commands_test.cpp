// "<PASSP:", "<MENU:" and the variable sources "<TVAR:", "<IVAR:", "<DVAR:" played by the
// interpreter, with a scripted user answering their prompts and the stand-in as the world.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/prompts/choice_menu.h"
#include "player/prompts/password_prompt.h"
#include "player/prompts/value_prompt.h"
#include "prompt_host.h"
#include "shared/cipher.h"
#include "shared/date_time.h"

namespace wdx::player {
namespace {

using testing::Box;
using testing::PromptTest;
namespace user = forms::user;

std::string PasswordTag(const std::string& password) {
  return "<PASSP:" + EncipherText(password, kMacroTextKey, 0x5A) + ">";
}

class CommandTest : public PromptTest {
 protected:
  void MakeFile(const std::string& windowsPath, const std::string& bytes) {
    const std::filesystem::path p = mem.NativePath(windowsPath);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  void AnswerValue(const std::string& typed) {
    Then<TInputAValue>([typed](TInputAValue& form) {
      user::EnterText(form.Value, typed);
      user::Click(form.OkButton);
    });
  }
};

// --- "<PASSP:" --------------------------------------------------------------------------------

TEST_F(CommandTest, TheRightPasswordLetsTheMacroGoOn) {
  Then<TProcessPassword>([](TProcessPassword& form) {
    user::EnterText(form.Password, "Open Sesame");
    user::Click(form.OkButton);
  });
  EXPECT_EQ(Play("a" + PasswordTag("Open Sesame") + "b"), "ab");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(st.abortMacro);
}

TEST_F(CommandTest, AbortedPasswordEndsTheRunWithItsMessageOnly) {
  st.logErrors = true;
  Then<TProcessPassword>([](TProcessPassword& form) {
    user::EnterText(form.Password, "guess");
    user::Click(form.OkButton);
    user::Click(form.AbortButton);
  });
  EXPECT_EQ(Play("a" + PasswordTag("Open Sesame") + "b"), "a");
  EXPECT_TRUE(st.abortMacro);
  // At the top level no "Macro Abort" box follows.
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Password Protection",
                                           "Password input aborted. Macro will abort. (Macro Name: Prompted)"}}));
  EXPECT_EQ(host.log, (std::vector<std::string>{"Password attempt made with incorrect password.",
                                                "Password input aborted. Macro will abort."}));
}

TEST_F(CommandTest, AnUnreadablePasswordIsNoEmptyPassword) {
  // Empty text would match an empty entry; the run ends before any prompt.
  for (const std::string tag : {"<PASSP:>", "<PASSP:5A>", "<PASSP:5AZZ>"}) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(Play(tag + "b"), "");
    EXPECT_TRUE(st.abortMacro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "The password of this macro cannot be read. Macro will abort. (Macro Name: Prompted)");
  }
  EXPECT_TRUE(host.runner.shown.empty());
}

// --- "<MENU:" ---------------------------------------------------------------------------------

TEST_F(CommandTest, MenuKeepsTheChoiceInItsVariable) {
  st.vars.text[2] = "Colour";
  Then<TShowAMenu>([](TShowAMenu& form) {
    EXPECT_EQ(form.caption(), "Pick a Colour");
    EXPECT_EQ(form.TheMessage.caption(), "Choose one");
    EXPECT_EQ(form.Radio[2]->caption(), "Blue Colour");
    user::Click(*form.Radio[1]);
    user::Click(form.OkButton);
  });
  const std::string menu = "<MENU:01:05:Pick a %T2%\x01" "Choose one\x01Red\r\nGreen\r\nBlue %T2%\x01>";
  // The cursor goes past the ">" after the third 0x01.
  EXPECT_EQ(Play("a" + menu + "b"), "ab");
  EXPECT_EQ(st.vars.text[5], "B");

  st.vars.text[5].clear();
  Then<TShowAMenu>([](TShowAMenu& form) {
    user::Click(*form.Check[0]);
    user::Click(*form.Check[2]);
    user::Click(form.OkButton);
  });
  Play("<MENU:02:05:Pick\x01\x01Red\r\nGreen\r\nBlue\x01>");
  EXPECT_EQ(st.vars.text[5], "AC");

  Then<TShowAMenu>([](TShowAMenu& form) { user::CloseBox(form); });
  Play("<MENU:01:05:Pick\x01\x01Red\x01>");
  EXPECT_EQ(st.vars.text[5], "");
}

TEST_F(CommandTest, MenuForAVariableOutsideTheTableIsNotShown) {
  EXPECT_EQ(Play("<MENU:01:-1:Pick\x01\x01Red\x01>b"), "");
  EXPECT_TRUE(st.abortMacro);
  EXPECT_TRUE(host.runner.shown.empty());
}

// --- The variable number ----------------------------------------------------------------------

TEST_F(CommandTest, AVariableOutsideItsTableIsReportedByItsOwnName) {
  const std::pair<std::string, std::string> cases[] = {
      {"<TVAR:00:01:abc>", "T0 is not a valid variable name."},
      {"<IVAR:51:01:5>", "I51 is not a valid variable name."},
      // A decimal variable is named as one.
      {"<DVAR:51:01:5>", "D51 is not a valid variable name."},
      {"<DVAR:00:01:5>", "D0 is not a valid variable name."},
  };
  st.logErrors = true;
  for (const auto& [tag, message] : cases) {
    SCOPED_TRACE(tag);
    host.log.clear();
    Play(tag + "x");
    EXPECT_TRUE(st.abortMacro);
    // The box has no macro name; the "Macro Abort" report comes next, as for any failure.
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0], (Box{"Set Variable", message}));
    EXPECT_EQ(host.boxes[1].caption, "Macro Abort");
    EXPECT_EQ(host.log.front(), message);
  }
  Play("<IVAR:50:01:7><TVAR:99:01:z>");
  EXPECT_FALSE(st.abortMacro);
  EXPECT_EQ(st.vars.integer[50], 7);
  EXPECT_EQ(st.vars.text[99], "z");
}

// --- Every source -----------------------------------------------------------------------------

TEST_F(CommandTest, EverySourceGivesItsValue) {
  mem.clipboard.text = " 42\r\n";
  mem.input.SetCursorPos({123, 45});
  const platform::WindowHandle front = mem.desktop.AddForeignWindow("Letter - Editor", "Foreign", 7);
  mem.desktop.MoveWindow(front, {10, 20, 310, 220});
  mem.desktop.SetForeground(front);
  host.program = "EDITOR.EXE";
  mem.clock.SetNow(EncodeDateTime({2026, 12, 11, 14, 5, 9, 0}));  // a Friday
  mem.environment.SetVariable("PATH", "C:\\bin;C:\\tools");
  mem.folders.current = "C:\\";
  MakeFile("C:\\data\\text.txt", std::string("line one\r\nline two\x1A"));
  MakeFile("C:\\data\\zeroes.txt", std::string("before\0after", 12));
  MakeFile("C:\\windows\\app.ini", "[Main]\r\nName=Wendy\r\n");
  st.vars.text[2] = "two";
  st.vars.text[3] = "three";
  st.vars.text[5] = "abcdef";
  st.vars.text[99] = "ninety-nine";

  struct TextCase {
    std::string tag;
    std::string value;
  };
  const TextCase texts[] = {
      {"<TVAR:01:01:%T2% and %T3%>", "two and three"},
      {"<TVAR:01:03:>", " 42\r\n"},
      {"<TVAR:01:04:C:\\data\\text.txt>", "line one\r\nline two"},
      {"<TVAR:01:04:C:\\data\\zeroes.txt>", "before"},
      {"<TVAR:01:05:>", "EDITOR.EXE"},
      {"<TVAR:01:06:>", "Letter - Editor"},
      {"<TVAR:01:07:>", "C:"},
      {"<TVAR:01:08:app.ini\x01main\x01NAME>", "Wendy"},
      {"<TVAR:01:11:Temporary Path>", "C:\\windows\\temp\\"},
      {"<TVAR:01:11:System Path>", "C:\\windows\\system32"},
      {"<TVAR:01:11:Windows Path>", "C:\\windows"},
      {"<TVAR:01:11:PATH>", "C:\\bin;C:\\tools"},
  };
  for (const TextCase& c : texts) {
    SCOPED_TRACE(c.tag);
    st.vars.text[1] = "old";
    EXPECT_EQ(Play(c.tag + "."), ".");
    EXPECT_EQ(st.vars.text[1], c.value);
  }

  struct NumberCase {
    std::string tag;
    std::int32_t value;
  };
  const NumberCase numbers[] = {
      {"<IVAR:01:01:-12>", -12},
      {"<IVAR:01:01:%N2%>", 0},  // not expanded
      {"<IVAR:01:03:>", 123},
      {"<IVAR:01:04:>", 45},
      {"<IVAR:01:05:C:\\data\\text.txt>", 19},
      {"<IVAR:01:06:0>", 0},
      {"<IVAR:01:06:1>", 0},
      {"<IVAR:01:06:-5>", 0},
      {"<IVAR:01:07:>", 20},
      {"<IVAR:01:08:>", 10},
      {"<IVAR:01:09:>", 300},
      {"<IVAR:01:10:>", 200},
      {"<IVAR:01:11:>", 42},
      {"<IVAR:01:12:99>", 11},
      {"<IVAR:01:12:00>", 0},
      {"<IVAR:01:13:05:de>", 4},
      {"<IVAR:01:13:05:xy>", 0},
      {"<IVAR:01:13:05:>", 0},
      {"<IVAR:01:13:5>", 0},
      {"<IVAR:01:13:100:a>", 0},
      {"<IVAR:01:14:>", 800},
      {"<IVAR:01:15:>", 600},
      {"<IVAR:01:16:>", 11},
      {"<IVAR:01:17:>", 12},
      {"<IVAR:01:18:>", 2026},
      {"<IVAR:01:19:>", 6},
      {"<IVAR:01:20:>", 14},
      {"<IVAR:01:21:>", 5},
      {"<IVAR:01:22:>", 9},
  };
  for (const NumberCase& c : numbers) {
    SCOPED_TRACE(c.tag);
    st.vars.integer[1] = -999;
    EXPECT_EQ(Play(c.tag + "."), ".");
    EXPECT_EQ(st.vars.integer[1], c.value);
  }

  const std::pair<std::string, double> decimals[] = {
      {"<DVAR:01:01:2.75>", 2.75}, {"<DVAR:01:01:2,75>", 0.0}, {"<DVAR:01:03:>", 42.0}};
  for (const auto& [tag, value] : decimals) {
    SCOPED_TRACE(tag);
    st.vars.decimal[1] = -1.0;
    Play(tag);
    EXPECT_DOUBLE_EQ(st.vars.decimal[1], value);
  }
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CommandTest, RandomStaysInItsRange) {
  std::vector<int> seen(7, 0);
  for (int i = 0; i < 200; ++i) {
    Play("<IVAR:01:06:7>");
    ASSERT_GE(st.vars.integer[1], 0);
    ASSERT_LT(st.vars.integer[1], 7);
    ++seen[static_cast<std::size_t>(st.vars.integer[1])];
  }
  for (int count : seen) EXPECT_GT(count, 0);
}

// --- Bad input: the source's empty value, never a failure ----------------------------------

TEST_F(CommandTest, MissingSourcesGiveTheirEmptyValue) {
  const platform::WindowHandle gone = mem.desktop.AddForeignWindow("Gone", "Foreign", 9);
  mem.desktop.SetForeground(gone);
  mem.desktop.DestroyOwnWindow(gone);
  mem.desktop.SetForeground(platform::kNoWindow);
  mem.clipboard.text.reset();
  MakeFile("C:\\windows\\app.ini", "[Main]\r\nName=Wendy\r\n");
  MakeFile("C:\\data\\empty.txt", "");
  const std::string texts[] = {
      "<TVAR:01:03:>",                          // empty clipboard
      "<TVAR:01:04:C:\\data\\missing.txt>",     // missing file
      "<TVAR:01:04:>",                          // no file named
      "<TVAR:01:04:C:\\data\\empty.txt>",       // empty file
      "<TVAR:01:04:C:\\data>",                  // a folder
      "<TVAR:01:06:>",                          // no window in front
      "<TVAR:01:08:app.ini\x01Other\x01Name>",  // INI without the section
      "<TVAR:01:08:app.ini\x01Main\x01Age>",    // ... or the key
      "<TVAR:01:08:nothere.ini\x01Main\x01Name>",
      "<TVAR:01:08:app.ini>",                   // no separators
      "<TVAR:01:01:>",
  };
  for (const std::string& tag : texts) {
    SCOPED_TRACE(tag);
    st.vars.text[1] = "old";
    EXPECT_EQ(Play(tag + "."), ".");
    EXPECT_EQ(st.vars.text[1], "");
  }
  // An environment variable or folder that gives nothing leaves the variable as it was.
  st.vars.text[1] = "old";
  Play("<TVAR:01:11:NO_SUCH_VARIABLE><TVAR:01:11:system path>");
  EXPECT_EQ(st.vars.text[1], "old");

  const std::string numbers[] = {"<IVAR:01:05:C:\\data\\missing.txt>", "<IVAR:01:07:>", "<IVAR:01:10:>",
                                 "<IVAR:01:11:>", "<DVAR:01:03:>"};
  mem.clipboard.text = "no number";
  for (const std::string& tag : numbers) {
    SCOPED_TRACE(tag);
    st.vars.integer[1] = 5;
    st.vars.decimal[1] = 5;
    Play(tag);
    EXPECT_EQ(st.vars.integer[1], tag[1] == 'I' ? 0 : 5);
    EXPECT_EQ(st.vars.decimal[1], tag[1] == 'D' ? 0 : 5);
  }
  // A source code outside the table does nothing.
  st.vars.text[1] = "old";
  Play("<TVAR:01:12:x><TVAR:01:00:x>");
  EXPECT_EQ(st.vars.text[1], "old");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(st.abortMacro);
}

TEST_F(CommandTest, AReadOnlyFileIsReadAsASource) {
  MakeFile("C:\\data\\locked.txt", "kept");
  const std::filesystem::path p = mem.NativePath("C:\\data\\locked.txt");
  std::filesystem::permissions(p, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                      std::filesystem::perms::others_read);
  Play("<TVAR:01:04:C:\\data\\locked.txt><IVAR:01:05:C:\\data\\locked.txt>");
  EXPECT_EQ(st.vars.text[1], "kept");
  EXPECT_EQ(st.vars.integer[1], 4);
  std::filesystem::permissions(p, std::filesystem::perms::owner_all);
}

TEST_F(CommandTest, AFileLongerThanAVariableHoldsFailsTheRun) {
  MakeFile("C:\\data\\big.txt", std::string(VariableSet::kMaxTextLength + 1, 'x'));
  st.vars.text[1] = "old";
  Play("<TVAR:01:04:C:\\data\\big.txt>");
  EXPECT_TRUE(st.abortMacro);
  EXPECT_EQ(st.vars.text[1], "old");
  // Its text ends at a NUL within the limit: that much is taken.
  MakeFile("C:\\data\\big.txt", "short" + std::string(1, '\0') + std::string(VariableSet::kMaxTextLength, 'x'));
  Play("<TVAR:01:04:C:\\data\\big.txt>");
  EXPECT_FALSE(st.abortMacro);
  EXPECT_EQ(st.vars.text[1], "short");
}

// --- The value prompt and the dialogs ---------------------------------------------------------

TEST_F(CommandTest, ValuePromptAnswersGoIntoTheVariables) {
  AnswerValue("  typed  ");
  AnswerValue("12 ");
  AnswerValue("2.5");
  Play("<TVAR:01:02:Your name?><IVAR:01:02:How many?><DVAR:01:02:How much?>");
  EXPECT_EQ(st.vars.text[1], "  typed  ");
  EXPECT_EQ(st.vars.integer[1], 12);
  EXPECT_DOUBLE_EQ(st.vars.decimal[1], 2.5);
  ASSERT_EQ(host.runner.shown.size(), 3u);
  EXPECT_EQ(host.runner.shown[0].caption, "Input Text");
  EXPECT_EQ(host.runner.shown[1].caption, "Input Integer");
  EXPECT_EQ(host.runner.shown[2].caption, "Input Decimal");

  // Closed without Ok: an empty text and 0.
  for (int i = 0; i < 3; ++i) Then<TInputAValue>([](TInputAValue& form) { user::CloseBox(form); });
  st.vars.integer[1] = 5;
  st.vars.decimal[1] = 5;
  Play("<TVAR:01:02:x><IVAR:01:02:x><DVAR:01:02:x>");
  EXPECT_EQ(st.vars.text[1], "");
  EXPECT_EQ(st.vars.integer[1], 0);
  EXPECT_EQ(st.vars.decimal[1], 0.0);
}

TEST_F(CommandTest, ValuePromptTakesAShortMessage) {
  host.runner.Then([](forms::Form& form) {
    auto& prompt = dynamic_cast<TInputAValue&>(form);
    EXPECT_EQ(prompt.TheMessage.caption(), std::string(255, 'm'));
    user::CloseBox(form);
  });
  Play("<TVAR:01:02:" + std::string(300, 'm') + ">");
}

TEST_F(CommandTest, DialogsSetThePathOrLeaveTheVariable) {
  const platform::WindowHandle front = mem.desktop.AddForeignWindow("Letter - Editor", "Foreign", 7);
  mem.desktop.SetForeground(front);
  host.runner.AnswerFile("C:\\data\\chosen.txt");
  host.runner.AnswerFile("C:\\data");
  Play("<TVAR:01:09:start.txt><TVAR:02:10:Pick a folder>");
  EXPECT_EQ(st.vars.text[1], "C:\\data\\chosen.txt");
  EXPECT_EQ(st.vars.text[2], "C:\\data");
  ASSERT_EQ(host.runner.dialogs.size(), 2u);
  EXPECT_EQ(host.runner.dialogs[0].kind, "open");
  EXPECT_EQ(host.runner.dialogs[0].title, "All Files");
  EXPECT_EQ(host.runner.dialogs[0].filter, "All Files (*.*)|*.*");
  EXPECT_EQ(host.runner.dialogs[1].kind, "folder");
  EXPECT_EQ(host.runner.dialogs[1].title, "Pick a folder");
  // The window in front before each dialog is brought back.
  EXPECT_EQ(host.foreground, (std::vector<platform::WindowHandle>{front, front}));

  // Cancelled: the old values stay.
  Play("<TVAR:01:09:start.txt><TVAR:02:10:Pick>");
  EXPECT_EQ(st.vars.text[1], "C:\\data\\chosen.txt");
  EXPECT_EQ(st.vars.text[2], "C:\\data");
}

TEST_F(CommandTest, AfterAPromptTheMacroTypesOnWhereItTyped) {
  const platform::WindowHandle letter = mem.desktop.AddForeignWindow("Letter - Editor", "Foreign", 7);
  const platform::WindowHandle other = mem.desktop.AddForeignWindow("Other", "Foreign", 8);
  mem.desktop.SetForeground(letter);
  // While each prompt is up the system hands the front to another window.
  auto elsewhere = [&] { mem.desktop.SetForeground(other); };
  Then<TInputAValue>([&](TInputAValue& form) { elsewhere(); user::PressEnter(form); });
  Then<TShowAMenu>([&](TShowAMenu& form) { elsewhere(); user::Click(form.OkButton); });
  Then<TProcessPassword>([&](TProcessPassword& form) {
    elsewhere();
    user::EnterText(form.Password, "pw");
    user::Click(form.OkButton);
  });
  const std::string prompts[] = {"<TVAR:01:02:Name?>", "<MENU:01:02:Pick\x01\x01Red\x01>", PasswordTag("pw")};
  for (const std::string& tag : prompts) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(Play(tag + "a"), "a");
    EXPECT_EQ(mem.desktop.GetForegroundWindow(), letter);
    EXPECT_EQ(host.foreground.back(), letter);
  }
}

TEST_F(CommandTest, WithoutPromptWindowsThePromptingSourcesFailClearly) {
  host.withForms = false;
  for (const std::string tag : {"<TVAR:01:02:x>", "<IVAR:01:02:x>", "<TVAR:01:09:x>", "<TVAR:01:10:x>",
                                "<MENU:01:01:T\x01\x01Red\x01>"}) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(Play(tag + "b"), "");
    EXPECT_TRUE(st.abortMacro);
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_NE(host.boxes[0].text.find("Macro will abort."), std::string::npos);
  }
}

}  // namespace
}  // namespace wdx::player
