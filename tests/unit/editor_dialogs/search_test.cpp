// Find, find again and replace all, and the prompt that asks for their texts.
#include "editor/dialogs/search.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"

namespace wdx::editor {
namespace {

TEST(TextSearchRules, ReplaceAllWalksTheOldTextOnly) {
  struct Case {
    const char* text;
    const char* find;
    const char* replace;
    const char* result;
    int count;
  } cases[] = {
      {"banana", "a", "aa", "baanaanaa", 3},
      {"aaaa", "aa", "a", "aa", 2},                  // no overlaps
      {"<TAB>x<tab>", "Tab", "T", "<T>x<T>", 2},     // a..z without case
      {"\xe4\xc4", "\xe4", "e", "e\xc4", 1},        // no folding beyond a..z
      {"abc", "z", "y", "abc", 0},
      {"abc", "", "y", "abc", 0},
  };
  for (const Case& c : cases) {
    const Replacement r = ReplaceAllInText(c.text, c.find, c.replace);
    EXPECT_EQ(r.text, c.result) << c.text;
    EXPECT_EQ(r.count, c.count) << c.text;
  }
  EXPECT_EQ(ReplacedText("a", 3), "\"a\" was replaced 3 times.");
}

class SearchTest : public testing::DialogTest, public ::testing::Test {
 protected:
  forms::Form form{"F", "F"};
  forms::Memo memo{&form, "Memo"};
};

TEST_F(SearchTest, FindAgainWalksOnAndStartsAtTheTopAfterNotFound) {
  memo.SetText("abab");
  TextSearch s;
  std::vector<forms::TextSelection> seen;
  for (int i = 0; i < 4; ++i) {
    s.DoSearchFor(memo, "AB", mem.boxes, 0);
    seen.push_back(memo.selection());
  }
  EXPECT_EQ(seen, (std::vector<forms::TextSelection>{{0, 2}, {2, 2}, {2, 2}, {0, 2}}));
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, "\"AB\" was not found.");
  EXPECT_EQ(mem.boxes.shown[0].caption, "Warning");
  // Find Again before any Find looks for nothing.
  TextSearch fresh;
  fresh.DoSearchFor(memo, fresh.LastFind, mem.boxes, 0);
  EXPECT_EQ(mem.boxes.shown.back().text, "\"\" was not found.");
}

TEST_F(SearchTest, ThePromptGivesItsTextsUntrimmedAndOkOnlyWithAFindText) {
  TDoSearch find(services);
  find.FindOnly = 1;
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Find");
    EXPECT_FALSE(Get<forms::Edit>(f, "ReplaceEdit").enabled());
    Type(f, "FindEdit", " ab ");
    Click(f, "OkButton");
  });
  runner.ShowModal(find);
  EXPECT_EQ(find.SearchOk, 1);
  EXPECT_EQ(find.FindText, " ab ");

  TDoSearch empty(services);
  runner.Then([](forms::Form& f) {
    EXPECT_EQ(f.caption(), "Search and Replace");
    Type(f, "ReplaceEdit", "x");
    Click(f, "OkButton");
  });
  runner.ShowModal(empty);
  EXPECT_EQ(empty.SearchOk, 0);
  EXPECT_FALSE(empty.Showing());
}

}  // namespace
}  // namespace wdx::editor
