// Quick Info, the password prompt and the output to a text file.
#include <gtest/gtest.h>

#include <fstream>

#include "direct_fixture.h"
#include "editor/direct/direct_text.h"
#include "shared/hot_keys.h"
#include "editor/direct/macro_info.h"

namespace wdx::editor::testing {
namespace {

TEST(QuickInfoText, ActivationScopeAndTextByKind) {
  TMacroRec mouse = MakeRecord({"Click", activation::kMouseCode, 2, "Notepad"});
  mouse.SetWindowPartFlag(1);
  mouse.SetWindowPart(1);
  mouse.SetMouseButton(3);
  mouse.SetWindowMatch(1);
  QuickInfoText q = QuickInfoOf(mouse);
  EXPECT_EQ(q.activationCaption, "Mouse Click:");
  EXPECT_EQ(q.activation, "Window Part: Maximize Button (Right Button)");
  EXPECT_EQ(q.scope, "Notepad \"Window\" (Topmost Only)");

  TMacroRec area = MakeRecord({"Area", activation::kMouseCode, 3, "CALC.EXE"});
  area.SetMouseTop(10);
  area.SetMouseLeft(20);
  area.SetMouseBottom(300);
  area.SetMouseRight(400);
  area.SetMouseButton(1);
  q = QuickInfoOf(area);
  EXPECT_EQ(q.activation, "Top: 10 Left: 20 Bottom: 300 Right: 400 (Left Button)");
  EXPECT_EQ(q.scope, "CALC.EXE \"Program\" (If Running)");

  TMacroRec menu = MakeRecord({"Menu", 70, 4});
  q = QuickInfoOf(menu);
  EXPECT_FALSE(q.showText);
  EXPECT_EQ(q.scope, "Popup Menu");
  TMacroRec system = MakeRecord({"Sys", 80, 5});
  EXPECT_EQ(QuickInfoOf(system).scope, "SYSTEM");
  EXPECT_FALSE(QuickInfoOf(system).showText);

  // A protected macro's text, and its enciphered password, stay behind the password.
  TMacroRec secret = MakeRecord({"Secret", 66});
  secret.SetText("<PASSP:xyz>typed");
  EXPECT_EQ(QuickInfoOf(secret).text, kProtectedText);
  EXPECT_EQ(QuickInfoOf(secret).active, "Yes");
}

TEST(OutputFile, ATimedMacroWithEveryBoxTicked) {
  TMacroRec r = MakeRecord({"Backup", activation::kTimedCode, 2, "Explorer"});
  r.SetText("line 1\r\nline 2");
  r.SetScheduleKind(6);
  r.SetEveryMinutes(15);
  EXPECT_EQ(OutputBlock(r, {}, r.Text()),
            "Icon: (Default Icon)\r\n"
            "Timed Macro\r\n"
            "Name: Backup\r\n"
            "Window: Explorer, If Active\r\n"
            "Schedule: every 15 minutes\r\n"
            "Text: line 1\r\nline 2\r\n"
            "\r\n");
  TMacroRec system = MakeRecord({"Sys", 80, 5});
  EXPECT_EQ(OutputBlock(system, {}, "x"),
            "Icon: (None)\r\nHot Key: " + std::string(HotKeyName(80)) + "\r\nName: Sys\r\nScope: SYSTEM\r\n\r\n");
}

class MacroInfoTest : public DirectFixture, public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<MacroSpec> specs = {{"Open", 65}, {"Secret", 66}};
    WriteLibrary(specs);
    // The second macro is protected by the password "Pw" (enciphered as the editor does).
    Start();
    InstallDirectEditor(Main(), editor->Context());
    TMacroRec secret;
    editor->Context().store->Library().ReadMacroRecord(2, secret);
    secret.SetText("<PASSP:" + Main().EncryptIt("Pw") + ">secret text");
    editor->Context().store->Library().WriteMacroRecord(2, secret, false);
    TakeNotices();
  }
  static forms::ScriptedRunner::Script Password(std::string typed, bool thenCancel = false) {
    return [typed, thenCancel](forms::Form& f) {
      forms::user::EnterText(*f.Find("Password"), typed);
      forms::user::Click(*f.Find("OkButton"));
      if (thenCancel) forms::user::Click(*f.Find("CancelButton"));
    };
  }
};

TEST_F(MacroInfoTest, TheEditorOpensAProtectedMacroOnlyWithItsPassword) {
  bool opened = false;
  Main().SelectMacro(2);
  runner.Then([&](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Security Alert");
    EXPECT_EQ(f.Find("Label1")->caption(),
              "This macro contains Password Protection.  You can ONLY edit the macro if you know the password.  "
              "Please enter it below.");
    Password("pw", true)(f);  // case counts
  });
  forms::user::ChooseMenu(Main(), "MenuEnterKey");
  EXPECT_EQ(mem.boxes.shown.back().text, "Incorrect Password Entered.");
  EXPECT_EQ(runner.shown.back().name, "DoPassSecurity");

  runner.Then(Password("  Pw "));  // blanks around it match
  runner.Then([&](forms::Form& f) {
    opened = true;
    forms::user::CloseBox(f);
  });
  forms::user::ChooseMenu(Main(), "MenuEnterKey");
  EXPECT_TRUE(opened);
}

TEST_F(MacroInfoTest, ThePromptSaysWhatThePasswordIsFor) {
  const DialogServices services = DialogServices::Of(platform, "C:\\WENDRIX");
  struct Case {
    PasswordMode mode;
    const char* verb;
    const char* caption;
  } cases[] = {{PasswordMode::kEdit, "edit", "Security Alert"},
               {PasswordMode::kExport, "export", "Security Alert"},
               {PasswordMode::kOutput, "output", "Macro: Secret"}};
  for (const Case& c : cases) {
    TDoPassSecurity prompt(services);
    prompt.Mode = c.mode;
    prompt.MacroNickname = "Secret";
    runner.Then([](forms::Form& f) { forms::user::PressEscape(f); });
    runner.ShowModal(prompt);
    EXPECT_EQ(prompt.Label1.caption(), std::string("This macro contains Password Protection.  You can ONLY ") + c.verb +
                                           " the macro if you know the password.  Please enter it below.");
    EXPECT_EQ(prompt.caption(), c.caption);
    EXPECT_EQ(prompt.PasswordOk, 0);
  }
  EXPECT_EQ(EncipheredPassword("ab<PASSP:xyz>cd<PASSP:no>"), "xyz");
  EXPECT_EQ(EncipheredPassword("<PASSP:open"), "open");
  EXPECT_EQ(EncipheredPassword("plain"), std::nullopt);
}

TEST_F(MacroInfoTest, OutputWritesEveryListedMacroAndHidesProtectedText) {
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Output Macros To File");
    for (const char* box : {"MacroKeys", "MacroName", "MacroWindow", "MacroText"}) forms::user::Click(*f.Find(box));
    forms::user::Click(*f.Find("OkButton"));
    EXPECT_EQ(f.activeControl()->name(), "MacroKeys");
    forms::user::Click(*f.Find("MacroName"));
    forms::user::Click(*f.Find("MacroText"));
    forms::user::Click(*f.Find("OkButton"));
  });
  runner.AnswerFile("C:\\out.txt");
  mem.boxes.QueueAnswer(platform::mb::kOk);
  mem.boxes.QueueAnswer(platform::mb::kIdNo);  // the protected macro's text: not output
  forms::user::ChooseMenu(Main(), "MenuOutputInfo");
  ASSERT_GE(mem.boxes.shown.size(), 2u);
  EXPECT_EQ(mem.boxes.shown[0].text, "Nothing has been checked for printing.  Please Correct.");
  std::ifstream in(mem.NativePath("C:\\out.txt"), std::ios::binary);
  const std::string out(std::istreambuf_iterator<char>(in), {});
  EXPECT_NE(out.find("Icon: (Default Icon)\r\nName: Open\r\nText: \r\n\r\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Name: Secret\r\nText: " + std::string(kProtectedText) + "\r\n\r\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("PASSP"), std::string::npos);
}

}  // namespace
}  // namespace wdx::editor::testing
