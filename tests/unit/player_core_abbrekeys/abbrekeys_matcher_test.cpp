// The Abbrekey matcher on its own: which words match which Abbrekeys under each option, the
// typed word's life, the choice among scopes and the text an Abbrekey run types.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/core/abbrekeys_matcher.h"
#include "shared/macro_record.h"
#include "shared/protocol_messages.h"

namespace wdx::player {
namespace {

AbbrekeyOptions Options(bool suffix, bool punctuation, bool solitary, std::string prefix = "") {
  AbbrekeyOptions o;
  o.useSuffix = suffix;
  o.usePunctuation = punctuation;
  o.solitary = solitary;
  o.prefix = std::move(prefix);
  return o;
}

// The macro numbers a word matches.
std::vector<int> Matches(const AbbrekeyIndex& index, std::string_view word, const AbbrekeyOptions& o) {
  const AbbrekeyCandidates c = index.Find(word, o);
  std::vector<int> numbers;
  for (int k = 0; k < c.count; ++k) numbers.push_back(index.Macro(c.items[static_cast<std::size_t>(k)]).number);
  return numbers;
}

TEST(AbbrekeyMatcherTest, WordsMatchTheAbbrekeysTheyEndWithUnderEachOption) {
  AbbrekeyIndex index;
  index.Build({{1, "sig", kCaseIgnore, scope::kGlobal, ""},
               {2, "Sig", kCaseExact, scope::kGlobal, ""},
               {3, "ig", kCaseIgnore, scope::kGlobal, ""},
               {4, "e.g.", kCaseIgnore, scope::kGlobal, ""},
               {5, "", kCaseIgnore, scope::kGlobal, ""},      // empty: would match every key
               {6, "a b", kCaseIgnore, scope::kGlobal, ""}});  // a blank never joins a word
  const AbbrekeyOptions anywhere = Options(false, false, false);
  const AbbrekeyOptions solitary = Options(false, false, true);
  const AbbrekeyOptions suffix = Options(true, true, false, ";;");  // the prefix counts only without suffix
  const AbbrekeyOptions prefixed = Options(false, false, false, ";;");
  struct Row {
    const char* word;
    const AbbrekeyOptions* o;
    std::vector<int> expected;
  } rows[] = {
      {"mysig", &anywhere, {1, 3}},
      {"MYSIG", &anywhere, {1, 3}},
      {"mySig", &anywhere, {1, 2, 3}},
      {"sigx", &anywhere, {}},  // the Abbrekey must end at the caret
      {"si", &anywhere, {}},
      {"mysig", &solitary, {}},
      {"sig", &solitary, {1}},
      {"ig", &solitary, {3}},
      {"Sig", &suffix, {1, 2}},
      {"e.g", &suffix, {}},
      {"e.g.", &suffix, {4}},
      {";;sig", &prefixed, {1}},
      {"x;;sig", &prefixed, {1}},
      {"sig", &prefixed, {}},
      {";sig", &prefixed, {}},
      {"a", &anywhere, {}},
      {"", &anywhere, {}},
  };
  for (const Row& r : rows) EXPECT_EQ(Matches(index, r.word, *r.o), r.expected) << r.word;
}

// Many Abbrekeys sharing their beginnings and ends (as a large library has them): each word finds
// exactly its own, by macro number, at most 50 of them.
TEST(AbbrekeyMatcherTest, FiveHundredAbbrekeysSharingPrefixesAndTheFiftyCandidateLimit) {
  std::vector<AbbrekeyMacro> macros;
  for (int i = 1; i <= 440; ++i) macros.push_back({i, "ab" + std::to_string(i), kCaseIgnore, scope::kGlobal, ""});
  for (int i = 441; i <= 500; ++i) macros.push_back({i, "zz", kCaseIgnore, scope::kWindow, "NOTEPAD"});
  macros.push_back({501, "ab1", kCaseIgnore, scope::kGlobal, ""});
  AbbrekeyIndex index;
  index.Build(macros);
  const AbbrekeyOptions o = Options(false, false, false);
  EXPECT_EQ(Matches(index, "xab12", o), (std::vector<int>{12}));
  EXPECT_EQ(Matches(index, "ab1", o), (std::vector<int>{1, 501}));
  EXPECT_EQ(Matches(index, "ab440", o), (std::vector<int>{440}));  // "ab44" and "ab4" do not end it
  EXPECT_EQ(Matches(index, "ab441", o), (std::vector<int>{}));
  const AbbrekeyCandidates zz = index.Find("zz", o);
  ASSERT_EQ(zz.count, kAbbrekeyCandidatesMax);
  EXPECT_EQ(index.Macro(zz.items[0]).number, 441);
  EXPECT_EQ(index.Macro(zz.items[49]).number, 490);
  EXPECT_TRUE(zz.window);
  EXPECT_FALSE(zz.global);
}

TEST(AbbrekeyMatcherTest, ScopesChooseWindowThenProgramThenGlobalEachByMacroNumber) {
  AbbrekeyIndex index;
  index.Build({{1, "sig", kCaseIgnore, scope::kGlobal, ""},
               {2, "sig", kCaseIgnore, scope::kGlobal, ""},
               {3, "sig", kCaseIgnore, scope::kWindow, "notepad"},
               {4, "sig", kCaseIgnore, scope::kProgram, "winword"},
               {5, "sig", kCaseIgnore, scope::kPopupMenu, ""}});
  const AbbrekeyCandidates c = index.Find("sig", Options(false, false, false));
  int titleAsked = 0;
  const auto choose = [&](bool hasWindow, std::string title, std::string program) {
    return ChooseAbbrekeyCandidate(
        index, c, hasWindow,
        [&] {
          ++titleAsked;
          return title;
        },
        [&] { return program; });
  };
  EXPECT_EQ(choose(true, "UNTITLED - NOTEPAD", "NOTEPAD.EXE"), 3);
  EXPECT_EQ(choose(true, "DOC1 - WORD", "WINWORD.EXE"), 4);
  EXPECT_EQ(choose(true, "", "CALC.EXE"), 1);       // a window without title text
  EXPECT_EQ(choose(false, "NOTEPAD", "CALC.EXE"), 1);  // no window in front: its pass is skipped
  EXPECT_EQ(titleAsked, 3);

  AbbrekeyIndex menusOnly;
  menusOnly.Build({{5, "sig", kCaseIgnore, scope::kPopupMenu, ""}});
  const AbbrekeyCandidates m = menusOnly.Find("sig", Options(false, false, false));
  EXPECT_EQ(m.count, 1);  // counted, never run
  EXPECT_EQ(ChooseAbbrekeyCandidate(menusOnly, m, true, [] { return std::string(); }, [] { return std::string(); }), -1);
}

// The typed word: which characters join it, which test it and which empty it. Each row types a
// sequence (\b is a Backspace, | marks a test with the word as it stood).
TEST(AbbrekeyMatcherTest, TypedWordTestsAndBreaksAsTheOptionsSay) {
  struct Row {
    AbbrekeyOptions o;
    std::string typed;
    std::string tests;  // the word at each test, "|" after each
    std::string left;   // the word afterwards
  } rows[] = {
      {Options(false, false, false), "ab c", "a|ab|c|", "c"},
      {Options(false, false, false), "ab\bc", "a|ab|ac|", "ac"},
      {Options(false, false, false), "\b\ba", "a|", "a"},
      {Options(true, false, false), "ab c\rd:", "ab|c|", ""},
      {Options(true, true, false), "e.g. ", "e|e.g|e.g.|", ""},
      {Options(true, true, false), "a:b\tc", "a|", "c"},
      {Options(true, false, false), "a.b ", "a.b|", ""},
      {Options(false, false, false), "abcdefghijklm", "a|ab|abc|abcd|abcde|abcdef|abcdefg|abcdefgh|abcdefghi|abcdefghij|"
                                                      "bcdefghijk|cdefghijkl|defghijklm|", "defghijklm"},
      {Options(false, false, false, ";;"), "abcdefghijklm", "", "bcdefghijklm"},  // prefix + 10 kept
  };
  for (Row& r : rows) {
    AbbrekeyWord word;
    std::string tests;
    for (const char c : r.typed) {
      word.Typed(0, static_cast<std::uint8_t>(c), r.o, [&] {
        tests += word.Buffer() + "|";
        return false;
      });
    }
    if (r.o.prefix.empty()) {
      EXPECT_EQ(tests, r.tests) << r.typed;
    }
    EXPECT_EQ(word.Buffer(), r.left) << r.typed;
  }
  AbbrekeyWord word;
  word.Typed(0, 'a', Options(false, false, false), [] { return false; });
  word.Typed(kAbbrekeyReset, 0, Options(false, false, false), [] { return false; });
  EXPECT_EQ(word.Buffer(), "");
  // A trigger that ran its macro does not join the word; the trigger is kept for retyping.
  word.Typed(0, 'e', Options(true, true, false), [] { return false; });
  word.Typed(0, '.', Options(true, true, false), [] { return true; });
  EXPECT_EQ(word.Buffer(), "e");
  EXPECT_EQ(word.Trigger(), '.');
}

TEST(AbbrekeyMatcherTest, WordCharactersAreLettersDigitsAndTwentyFivePunctuationMarks) {
  std::string word;
  for (int c = 0; c < 256; ++c)
    if (IsAbbrekeyWordChar(static_cast<std::uint8_t>(c))) word.push_back(static_cast<char>(c));
  EXPECT_EQ(word, "!\"#$%&')*+,-./0123456789;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ\\]^_`abcdefghijklmnopqrstuvwxyz");
}

TEST(AbbrekeyMatcherTest, RunTextCapitalisesTheFirstLetterAndRetypesTheSuffix) {
  struct Row {
    std::string text;
    bool capitalise, retype;
    char trigger;
    std::string expected;
  } rows[] = {
      {"best regards", true, false, ' ', "Best regards"},
      {"best regards", false, true, ' ', "best regards "},
      {"\xE9lan", true, true, '.', "\xC9lan."},
      {"\xF7x", true, false, ' ', "\xF7x"},  // the division sign is no letter
      {"1st", true, false, ' ', "1st"},
      {"", true, true, '\r', "\r"},
  };
  for (const Row& r : rows) EXPECT_EQ(AbbrekeyRunText(r.text, r.capitalise, r.retype, r.trigger), r.expected) << r.text;
}

}  // namespace
}  // namespace wdx::player
