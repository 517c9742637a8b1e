#include "shared/tag_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shared/date_time_formats.h"
#include "shared/text_util.h"

namespace wdx {
namespace {

TEST(TagTable, HoldsEveryKeywordOnceInIdOrder) {
  std::set<std::string_view> keywords;
  std::size_t index = 0;
  for (const TagInfo& row : TagTable()) {
    EXPECT_EQ(static_cast<std::size_t>(row.id), index) << row.keyword;
    EXPECT_EQ(FindTagRow(row.id), &row);
    ASSERT_GE(row.keyword.size(), 3u);
    EXPECT_EQ(row.keyword[0], '<');
    keywords.insert(row.keyword);
    ++index;
  }
  EXPECT_EQ(keywords.size(), 323u);
  EXPECT_EQ(FindTagRow(TagId::kDateTag), nullptr);
}

// The dispatch's ">" tests: every tag that has one, with its offsets in test order.
TEST(TagTable, GreaterThanTestsStandWhereTheFieldsEnd) {
  const std::vector<std::pair<std::string_view, int>> expected = {
      {"<SCREEN:", 11}, {"<VARSR:", 9},   {"<KEYDEL:", 10}, {"<KEYDEL:", 9},  {"<KEYSPD:", 10}, {"<SSTIME:", 10}, {"<WBSIZE:", 10},
      {"<TDELAY:", 10}, {"<ITDELAY:", 11}, {"<DELAY:", 12},  {"<IDELAY:", 13}, {"<SPEED:", 12},  {"<MSD:", 9},
      {"<IMSD:", 10},   {"<ALT:", 8},      {"<ALT4:", 10},   {"<REPEAT:", 12}, {"<REP:", 23},    {"<SPKEY:", 11},
      {"<SPMSE:", 11},  {"<TOG:", 6},      {"<WFW:", 8},     {"<WBW:", 8},     {"<MMP:", 16},    {"<MMS:", 16},
      {"<MMW:", 16},    {"<CDGOTO:", 10},  {"<CDGOTO:", 12}, {"<CDSTEP:", 10}, {"<CDSTEP:", 12}, {"<CDBACK:", 10},
      {"<CDBACK:", 12}};
  std::vector<std::pair<std::string_view, int>> actual;
  for (const TagInfo& row : TagTable()) {
    if (row.gtOffset != 0) {
      actual.emplace_back(row.keyword, row.gtOffset);
      EXPECT_EQ(row.extent, TagExtent::kFixed) << row.keyword;
      EXPECT_EQ(row.fieldOffset, row.gtOffset + 1) << row.keyword;
    }
  }
  EXPECT_EQ(actual, expected);
}

// At most one keyword can match at a position; only the two layouts of a CD command or of the
// keyboard delay share one.
TEST(TagTable, NoKeywordIsAPrefixOfAnother) {
  std::vector<std::string> all;
  for (const TagInfo& row : TagTable()) all.emplace_back(row.keyword);
  for (int i = 1; i <= kDateFormatCount; ++i) all.push_back("<" + std::string(DateFormatName(i)) + "{");
  for (int i = 1; i <= kTimeFormatCount; ++i) all.push_back("<" + std::string(TimeFormatName(i)) + "{");
  all.insert(all.end(), {"%T", "%N", "%D"});
  for (std::size_t a = 0; a < all.size(); ++a) {
    for (std::size_t b = 0; b < all.size(); ++b) {
      if (a == b || all[a] == all[b]) continue;
      EXPECT_NE(all[b].rfind(all[a], 0), 0u) << all[a] << " is a prefix of " << all[b];
    }
  }
}

struct MatchCase {
  std::string text;
  const char* keyword;  // nullptr: no tag
  TagId id;
};

TEST(TagTable, MatchesKeywordsAndTheirGreaterThanTests) {
  const MatchCase cases[] = {
      {"<ENTER>", "<ENTER>", TagId::kEnter},
      {"<enter>", nullptr, TagId::kCount},
      {"<F1>", "<F1>", TagId::kF1},
      {"<F10>", "<F10>", TagId::kF10},
      {"<DELAY:00005>", "<DELAY:", TagId::kDelay},
      {"<DELAY:0005>", nullptr, TagId::kCount},
      {"<DELAY:00", nullptr, TagId::kCount},  // the ">" test reads NUL past the end
      {"<ALT:065>", "<ALT:", TagId::kAlt},
      {"<ALT:65>", nullptr, TagId::kCount},
      {"<TBOX:<HEAD:x>y>", "<TBOX:<HEAD:", TagId::kTboxHead},
      {"<CDGOTO:03>", "<CDGOTO:", TagId::kCdGoto},
      {"<CDGOTO:TE03>", "<CDGOTO:", TagId::kCdGotoDrive},
      {"<CDSTEP:10>", "<CDSTEP:", TagId::kCdStep},
      {"<CDSTEP:1>", nullptr, TagId::kCount},
      {"<NWCPS:<NAME:u><PASS:p>F:\\\\s\\x>", "<NWC", TagId::kNwc},
      {"<MM/DD/YY{Y}>", "<MM/DD/YY{", TagId::kDateTag},
      {"<hh:mm am{N}>", "<hh:mm am{", TagId::kTimeTag},
      {"<MM/DD/YY>", nullptr, TagId::kCount},
      {"<FOO>", nullptr, TagId::kCount},
      {"<", nullptr, TagId::kCount},
  };
  for (const MatchCase& c : cases) {
    const TagInfo* tag = MatchTag(c.text, 0);
    if (c.keyword == nullptr) {
      EXPECT_EQ(tag, nullptr) << c.text;
      continue;
    }
    ASSERT_NE(tag, nullptr) << c.text;
    EXPECT_EQ(tag->keyword, c.keyword) << c.text;
    EXPECT_EQ(tag->id, c.id) << c.text;
  }
  // Date and time tags carry their format number.
  EXPECT_EQ(MatchTag("<MM/DD/YY{Y}>", 0)->count, 1);
  EXPECT_EQ(MatchTag("<hh:mm am{N}>", 0)->count, 12);
  // Matching works at any position of a longer text.
  EXPECT_EQ(MatchTag("ab<TAB>", 2)->id, TagId::kTab);
}

struct EndCase {
  std::string text;
  std::size_t end;
};

TEST(TagTable, TagEndFollowsEachLayout) {
  const EndCase cases[] = {
      {"<ENTER>x", 7},
      {"<DELAY:00005>x", 13},
      {"<DMVAR:" + std::string(51, '0') + ">x", 59},
      {"<REM:a>b>", 7},
      {"<REM:no end", 11},
      {"<WSIZE:0100,0200Note>pad>x", 21},
      {"<DOFILE:01:YN:C:\\a>>x", 20},
      {"<NWC:<NAME:u><PASS:p>F:\\\\srv\\s>x", 31},
      {"<DIAL:<NAME:u><PASS:p>Entry>body<ENDIF>", 28},
      {"<TBOX2:Y:00010:00020:100:050:01:005:Head\x01" "Body > text\x01>x", 54},
      {"<MENU:01:05:Title\x01Msg\x01Item1\r\nItem2\x01>x", 36},
      {"<IFMESS:1:Cap\x01Q?\x01Yes\x01No\x01>x", 25},
      {"<DIS:<DELAY:00010>\x02x", 19},
      {"<DIS:<TAB>", 10},
      {"<CPRUN:main.cpl:1>x", 18},
      {"<EMAIL:RNR1TOa|b@c;\x01S1body\x01subj\x01" "A1>x", 35},
      {"<EMAIL:RNR2S2A2f;\x01>x", 19},
      {"<MM/DD/YY{Y}>x", 13},
      {"<MM/DD/YY{YP007}>x", 17},
      {"<MM/DD/YY{NF001}05>x", 19},
      {"<hh:mm am{Y}>x", 13},
      {"<hhmmss{N}12>x", 13},
      {"<WAITLM:", 8},  // clamped to the end of the text
  };
  for (const EndCase& c : cases) {
    const TagInfo* tag = MatchTag(c.text, 0);
    ASSERT_NE(tag, nullptr) << c.text;
    EXPECT_EQ(TagEnd(*tag, c.text, 0), c.end) << c.text;
  }
}

TEST(TagTable, WholeNumberConversion) {
  struct Case {
    const char* text;
    std::int32_t value;
    bool ok;
  };
  const Case cases[] = {
      {"00005", 5, true},   {"  12", 12, true},   {"-7", -7, true},    {"+3", 3, true},     {"$1F", 31, true},
      {"x10", 16, true},    {"0X10", 16, true},   {"12:", 12, false},  {"he end", 0, false}, {"", 0, false},
      {"-", 0, false},      {"1 ", 1, false},     {"2147483647", 2147483647, true},
      {"-2147483648", -2147483647 - 1, true},    {"99999999999", 999999999, false},
  };
  for (const Case& c : cases) {
    const WholeNumber n = ParseWholeNumber(c.text);
    EXPECT_EQ(n.value, c.value) << c.text;
    EXPECT_EQ(n.ok, c.ok) << c.text;
  }
}

TEST(TagTable, RealConversion) {
  struct Case {
    const char* text;
    double value;
    bool ok;
  };
  const Case cases[] = {
      {"05.00", 5.0, true}, {"00.50", 0.5, true}, {"00002", 2.0, true}, {" -1.5e2", -150.0, true},
      {".5", 0.5, true},    {"1E-1", 0.1, true},  {"1.2.3", 0.0, false}, {"abc", 0.0, false},
      {"", 0.0, false},     {"1e", 0.0, false},   {"5 ", 0.0, false},
  };
  for (const Case& c : cases) {
    const RealNumber n = ParseRealNumber(c.text);
    EXPECT_DOUBLE_EQ(n.value, c.value) << c.text;
    EXPECT_EQ(n.ok, c.ok) << c.text;
  }
}

}  // namespace
}  // namespace wdx
