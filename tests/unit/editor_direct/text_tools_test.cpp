// The direct text editor's text tools: find, find again, replace all, the clipboard commands and
// the memo loaded from and saved to a text file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "direct_fixture.h"
#include "editor/direct/direct_text.h"

namespace wdx::editor::testing {
namespace {

class TextToolsTest : public DirectFixture, public ::testing::Test {
 protected:
  void SetUp() override { StartWith({{"Greeting", 65}}); }
  // The find prompt's answer.
  static forms::ScriptedRunner::Script Prompt(std::string find, std::string replace = {}) {
    return [find, replace](forms::Form& f) {
      forms::user::EnterText(*f.Find("FindEdit"), find);
      if (!replace.empty()) forms::user::EnterText(*f.Find("ReplaceEdit"), replace);
      forms::user::Click(*f.Find("OkButton"));
    };
  }
};

TEST_F(TextToolsTest, FindAgainAndReplaceAll) {
  std::vector<forms::TextSelection> found;
  Modify(
      1,
      [&](TModHotKeys& e) {
        forms::user::TextChanged(e.NewFormat, "abab");
        forms::user::ChooseMenu(e, "MenuFind");
        found.push_back(e.NewFormat.selection());
        for (int i = 0; i < 3; ++i) {
          forms::user::PressShortcut(e, {static_cast<std::uint8_t>(0x72), false, false, false});  // F3
          found.push_back(e.NewFormat.selection());
        }
        forms::user::TextChanged(e.NewFormat, "banana");
        forms::user::ChooseMenu(e, "SearchandReplace1");
        EXPECT_EQ(e.NewFormat.text(), "baanaanaa");
        forms::user::ChooseMenu(e, "SearchandReplace1");
        EXPECT_EQ(e.NewFormat.text(), "baanaanaa");
        e.Modified = 0;
        Click(e.CancelButton);
      },
      {Prompt("AB"), Prompt("a", "aa"), Prompt("zz", "y")});
  EXPECT_EQ(found, (std::vector<forms::TextSelection>{{0, 2}, {2, 2}, {2, 2}, {0, 2}}));
  ASSERT_EQ(mem.boxes.shown.size(), 3u);
  EXPECT_EQ(mem.boxes.shown[0].text, "\"AB\" was not found.");
  EXPECT_EQ(mem.boxes.shown[1].text, "\"a\" was replaced 3 times.");
  EXPECT_EQ(mem.boxes.shown[1].caption, "Replaced");
  EXPECT_EQ(mem.boxes.shown[2].text, "\"zz\" was not found.");
  EXPECT_EQ(mem.boxes.shown[2].caption, "Warning");
}

TEST_F(TextToolsTest, ClipboardCommandsWorkOnTheFocusedField) {
  Modify(1, [this](TModHotKeys& e) {
    forms::user::TextChanged(e.NewFormat, "hello world");
    e.NewFormat.SetSelection(0, 6);
    forms::user::ChooseMenu(e, "MenuCut");
    EXPECT_EQ(e.NewFormat.text(), "world");
    EXPECT_EQ(mem.clipboard.GetText(), "hello ");
    e.NewFormat.SetSelection(5, 0);
    forms::user::ChooseMenu(e, "MenuPaste");
    EXPECT_EQ(e.NewFormat.text(), "worldhello ");
    // Ctrl+V typed: one paste, through the menu's Paste.
    mem.input.SetKeyDown(0x11, true);
    EXPECT_EQ(forms::user::KeyDown(e, 'V'), 0);
    mem.input.SetKeyDown(0x11, false);
    EXPECT_EQ(e.NewFormat.text(), "worldhello hello ");
    forms::user::Select(e.MainPage, 1);
    forms::user::Focus(e.NickName);
    e.NickName.SetSelection(0, 3);
    forms::user::ChooseMenu(e, "MenuCopy");
    EXPECT_EQ(mem.clipboard.GetText(), "Gre");
    forms::user::ChooseMenu(e, "MenuDelete");
    EXPECT_EQ(e.NickName.text(), "eting");
    forms::user::CloseBox(e);
  });
}

TEST_F(TextToolsTest, ImportAndExportOfTheMemo) {
  const auto write = [this](const char* path, const std::string& bytes) {
    std::ofstream(mem.NativePath(path), std::ios::binary) << bytes;
  };
  std::filesystem::create_directories(mem.NativePath("C:\\T"));
  write("C:\\T\\big.txt", std::string(6000, 'b'));
  write("C:\\T\\exact.txt", std::string(5000, 'e'));
  write("C:\\T\\eof.txt", std::string("dos\x1a", 4));
  runner.AnswerFile("C:\\T\\big.txt");
  runner.AnswerFile("C:\\T\\big.txt");
  runner.AnswerFile("C:\\T\\exact.txt");
  runner.AnswerFile("C:\\T\\eof.txt");
  runner.AnswerFile("C:\\T\\new.txt");  // the export may name a new file
  mem.boxes.QueueAnswer(platform::mb::kIdNo);
  mem.boxes.QueueAnswer(platform::mb::kIdYes);
  Modify(1, [this](TModHotKeys& e) {
    forms::user::ChooseMenu(e, "MenuImport");
    EXPECT_EQ(e.NewFormat.text(), "");
    forms::user::ChooseMenu(e, "MenuImport");
    EXPECT_EQ(e.NewFormat.text(), std::string(5000, 'b'));
    forms::user::ChooseMenu(e, "MenuImport");
    EXPECT_EQ(e.NewFormat.text(), std::string(5000, 'e'));
    forms::user::ChooseMenu(e, "MenuImport");
    EXPECT_EQ(e.NewFormat.text(), "dos");
    EXPECT_EQ(e.Modified, 1);
    forms::user::ChooseMenu(e, "MenuExport");
    forms::user::CloseBox(e);
  });
  EXPECT_EQ(mem.boxes.shown.size(), 2u);  // only the two over-long files asked
  std::ifstream in(mem.NativePath("C:\\T\\new.txt"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "dos\r\n");
}

}  // namespace
}  // namespace wdx::editor::testing
