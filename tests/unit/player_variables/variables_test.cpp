// The variable commands: save and restore across runs, the integer, decimal and text modify
// commands, and the text operations that reach the clipboard, files, INI files and the
// environment.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using testing::ClockHost;
using testing::TypedText;

std::string Nm(int op, int v, char flagA, int a, char flagB, int b) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "<NMVAR:%02d:%02d:%c:%07d:%c:%07d>", op, v, flagA, a, flagB, b);
  return buf;
}

std::string Dm(int op, int v, char flagA, const char* a, char flagB, const char* b) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "<DMVAR:%02d:%02d:%c:%20s:%c:%20s>", op, v, flagA, a, flagB, b);
  return buf;
}

std::string Tm(int op, int v, int w, const char* p, const char* q, const std::string& text = "") {
  char buf[64];
  std::snprintf(buf, sizeof buf, "<TMVAR:%02d:%02d:%02d:%s:%s:", op, v, w, p, q);
  return buf + text + ">";
}

class VariablesTest : public ::testing::Test {
 protected:
  void Play(const std::string& text) { interpreter.DoMacro(text, 1, 1, 1, false, false, 0); }
  // What the frame of a top-level run does to the variables: the live set is emptied, the
  // saved set stays.
  void NewRun() {
    host.state.vars = VariableSet{};
    host.state.abortMacro = false;
    host.boxes.clear();
    mem.input.keys.clear();
  }
  std::string ReadFile(const std::string& windowsPath) {
    std::ifstream in(mem.NativePath(windowsPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

// The examples of the commands, each from a fresh live set.
TEST_F(VariablesTest, ModifyCommandExamples) {
  struct Case {
    std::string text;
    std::function<void(VariableSet&)> before;
    std::function<void(const VariableSet&)> check;
  };
  auto none = [](VariableSet&) {};
  const Case cases[] = {
      {"<NMVAR:04:01:0:0000010:0:0000000>", none, [](const VariableSet& v) { EXPECT_EQ(v.integer[1], 0); }},
      {"<NMVAR:02:01:0:0000003:0:0000005>", none, [](const VariableSet& v) { EXPECT_EQ(v.integer[1], -2); }},
      {Nm(1, 4, '1', 2, '0', 40), [](VariableSet& v) { v.integer[2] = 2; },
       [](const VariableSet& v) { EXPECT_EQ(v.integer[4], 42); }},
      {Nm(3, 4, '1', 2, '1', 3), [](VariableSet& v) { v.integer[2] = -6, v.integer[3] = 7; },
       [](const VariableSet& v) { EXPECT_EQ(v.integer[4], -42); }},
      {Nm(4, 4, '0', -7, '0', 2), none, [](const VariableSet& v) { EXPECT_EQ(v.integer[4], -3); }},  // toward zero
      {"<NMVAR:05:03:0:0000007:0:0000000>", [](VariableSet& v) { v.integer[3] = -12; },
       [](const VariableSet& v) { EXPECT_EQ(v.text[7], "-12"); }},
      {Nm(6, 3, '0', 9, '0', 0), [](VariableSet& v) { v.integer[3] = 5; },
       [](const VariableSet& v) { EXPECT_EQ(v.decimal[9], 5.0); }},
      {Nm(7, 3, '1', 9, '1', 0), [](VariableSet& v) { v.integer[3] = 5; },  // flags ignored
       [](const VariableSet& v) { EXPECT_EQ(v.integer[9], 5); }},
      {Nm(8, 3, '0', 9, '0', 0), [](VariableSet& v) { v.integer[3] = 5; },
       [](const VariableSet& v) { EXPECT_EQ(v.integer[9], 0); }},
      {"<DMVAR:05:02:0:                   4:0:                   2>", [](VariableSet& v) { v.decimal[2] = 2.5; },
       [](const VariableSet& v) { EXPECT_EQ(v.text[4], "2.50"); }},
      {"<DMVAR:06:02:0:00000000000000000009:0:00000000000000000000>", [](VariableSet& v) { v.decimal[2] = -2.7; },
       [](const VariableSet& v) { EXPECT_EQ(v.integer[9], -2); }},
      {Dm(1, 1, '0', "1.25", '0', "00000000000000002.5"), none,
       [](const VariableSet& v) { EXPECT_EQ(v.decimal[1], 3.75); }},
      {Dm(2, 1, '1', "2.9", '0', "0.5"), [](VariableSet& v) { v.decimal[2] = 10; },  // D[Trunc(2.9)]
       [](const VariableSet& v) { EXPECT_EQ(v.decimal[1], 9.5); }},
      {Dm(3, 1, '1', "2", '1', "3"), [](VariableSet& v) { v.decimal[2] = 1.5, v.decimal[3] = -4; },
       [](const VariableSet& v) { EXPECT_EQ(v.decimal[1], -6.0); }},
      {Dm(4, 1, '0', "1", '0', "4"), none, [](const VariableSet& v) { EXPECT_EQ(v.decimal[1], 0.25); }},
      {Dm(4, 1, '0', "1", '0', "0"), [](VariableSet& v) { v.decimal[1] = 7; },
       [](const VariableSet& v) { EXPECT_EQ(v.decimal[1], 0.0); }},
      {Dm(7, 1, '0', "5", '0', "0"), [](VariableSet& v) { v.decimal[1] = 0.125; },
       [](const VariableSet& v) { EXPECT_EQ(v.decimal[5], 0.125); }},
      {Dm(1, 1, '0', "1x", '0', "2"), none, [](const VariableSet& v) { EXPECT_EQ(v.decimal[1], 2.0); }},  // not a number: 0
      {"<TMVAR:10:01:02:N05:003:>", [](VariableSet& v) { v.text[2] = "abcdef", v.integer[5] = 2; },
       [](const VariableSet& v) { EXPECT_EQ(v.text[1], "bcd"); }},
      {"<TMVAR:14:01:00:010:000:>", [](VariableSet& v) { v.text[1] = "abc"; },
       [](const VariableSet& v) { EXPECT_EQ(v.text[1], "       abc"); }},
      {"<TMVAR:14:01:00:010:000:>", [](VariableSet& v) { v.text[1] = "0123456789AB"; },
       [](const VariableSet& v) { EXPECT_EQ(v.text[1], "0123456789AB"); }},
      {Tm(7, 1, 0, "000", "000", "%T2%"), [](VariableSet& v) { v.text[1] = "a", v.text[2] = "b"; },
       [](const VariableSet& v) { EXPECT_EQ(v.text[1], "a%T2%"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NewRun();
    c.before(host.state.vars);
    Play(c.text);
    c.check(host.state.vars);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(mem.input.keys.empty());
  }
}

TEST_F(VariablesTest, TextOperations) {
  struct Case {
    std::string text;
    const char* t1;  // T1 before
    const char* t2;  // T2 before
    const char* want;
  };
  const Case cases[] = {
      {Tm(1, 1, 0, "000", "000"), " \t ab c\r\n", "", "ab c"},
      {Tm(2, 1, 0, "000", "000"), " \t ab c\r\n", "", "ab c\r\n"},
      {Tm(3, 1, 0, "000", "000"), " \t ab c\r\n", "", " \t ab c"},
      {Tm(4, 1, 0, "000", "000"), "a\r\nb\nc\rd", "", "abcd"},
      {Tm(7, 1, 0, "000", "000", "xyz"), "ab", "", "abxyz"},
      {Tm(8, 1, 2, "000", "000"), "ab", "cd", "abcd"},
      {Tm(8, 1, 1, "000", "000"), "ab", "", "abab"},
      {Tm(9, 1, 2, "000", "000"), "ab", "cd", "cd"},
      {Tm(10, 1, 2, "003", "010"), "", "abcdef", "cdef"},  // a count beyond the end stops there
      {Tm(10, 1, 2, "007", "002"), "x", "abcdef", ""},     // a start beyond the end
      {Tm(10, 1, 2, "000", "002"), "x", "abcdef", "ab"},
      {Tm(11, 1, 0, "002", "002"), "abcdef", "", "adef"},
      {Tm(11, 1, 0, "005", "009"), "abcdef", "", "abcd"},
      {Tm(11, 1, 0, "000", "002"), "abcdef", "", "abcdef"},
      {Tm(11, 1, 0, "007", "002"), "abcdef", "", "abcdef"},
      {Tm(12, 1, 0, "000", "000"), "Ab1\xE9z", "", "AB1\xE9Z"},
      {Tm(13, 1, 0, "000", "000"), "Ab1\xC9Z", "", "ab1\xC9z"},
      {Tm(15, 1, 0, "005", "000"), "ab", "", "ab   "},
      {Tm(15, 1, 0, "N05", "000"), "ab", "", "ab"},  // the variable form pads nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NewRun();
    host.state.vars.text[1] = c.t1;
    host.state.vars.text[2] = c.t2;
    Play(c.text);
    EXPECT_EQ(host.state.vars.text[1], c.want);
    EXPECT_TRUE(host.boxes.empty());
  }
  // Conversions: the value read so far; no real number gives 0.
  NewRun();
  host.state.vars.text[1] = "  -42xyz";
  host.state.vars.text[2] = "2.5e1";
  Play(Tm(5, 1, 3, "000", "000") + Tm(6, 2, 4, "000", "000") + Tm(6, 1, 5, "000", "000"));
  EXPECT_EQ(host.state.vars.integer[3], -42);
  EXPECT_EQ(host.state.vars.decimal[4], 25.0);
  EXPECT_EQ(host.state.vars.decimal[5], 0.0);
  // The text field holds 255 characters at most.
  NewRun();
  Play(Tm(7, 1, 0, "000", "000", std::string(300, 'k')));
  EXPECT_EQ(host.state.vars.text[1], std::string(255, 'k'));
}

TEST_F(VariablesTest, SavedSetsCarryValuesFromOneRunToTheNext) {
  // First run: compute some values and save them all.
  host.state.vars.text[1] = "kept";
  Play(Nm(1, 2, '0', 40, '0', 2) + Dm(1, 3, '0', "0.5", '0', "0") + "<VARSR:01>");
  // Second run: the live set starts empty; restoring brings the values back.
  NewRun();
  Play("<VARSR:05>%T1% %N2% %D3%");
  EXPECT_EQ(TypedText(mem.input.keys), "kept 42 0.5000");
  // Restoring one kind leaves the others as they are.
  NewRun();
  host.state.vars.integer[2] = 7;
  Play("<VARSR:06>");
  EXPECT_EQ(host.state.vars.text[1], "kept");
  EXPECT_EQ(host.state.vars.integer[2], 7);
  // Saving one kind keeps the other saved kinds.
  NewRun();
  host.state.vars.integer[2] = 9;
  Play("<VARSR:03><VARSR:05>");
  EXPECT_EQ(host.state.vars.text[1], "kept");
  EXPECT_EQ(host.state.vars.integer[2], 9);
  // Codes other than 01..08 do nothing; a one-digit code is no tag.
  NewRun();
  Play("<VARSR:09><VARSR:1>");
  EXPECT_EQ(host.state.vars.text[1], "");
  EXPECT_EQ(TypedText(mem.input.keys), "<VARSR:1>");
}

TEST_F(VariablesTest, RestoringWithoutASaveEmptiesTheLiveSet) {
  host.state.vars.text[5] = "x";
  host.state.vars.integer[50] = 3;
  host.state.vars.decimal[1] = 2;
  host.state.vars.text[0] = "slot 0";
  Play("<VARSR:05>");
  EXPECT_EQ(host.state.vars.text[5], "");
  EXPECT_EQ(host.state.vars.integer[50], 0);
  EXPECT_EQ(host.state.vars.decimal[1], 0.0);
  // Slot 0 belongs to no set.
  EXPECT_EQ(host.state.vars.text[0], "slot 0");
}

TEST_F(VariablesTest, IntegerArithmeticWrapsAt32Bits) {
  struct Case {
    int op;
    int a, b;
    std::int32_t want;
  };
  const Case cases[] = {
      {1, INT_MAX, 1, INT_MIN},
      {2, INT_MIN, 1, INT_MAX},
      {3, 65536, 65536, 0},
      {3, INT_MAX, 2, -2},
      {4, INT_MIN, -1, INT_MIN},
      {4, INT_MIN, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.op) + ": " + std::to_string(c.a) + ", " + std::to_string(c.b));
    NewRun();
    host.state.vars.integer[1] = c.a;
    host.state.vars.integer[2] = c.b;
    Play(Nm(c.op, 3, '1', 1, '1', 2));
    EXPECT_EQ(host.state.vars.integer[3], c.want);
    EXPECT_TRUE(host.boxes.empty());
  }
}

// Numbers beyond a table fail the run with a clear message and change nothing.
TEST_F(VariablesTest, VariablesOutsideTheTablesFailWithoutWriting) {
  struct Case {
    std::string text;
    const char* names;  // the variable the message names
  };
  const Case cases[] = {
      {Nm(1, 51, '0', 1, '0', 1), "N51"},
      {Nm(1, 1, '1', 60, '0', 1), "N60"},
      {Nm(5, 1, '0', 100, '0', 0), "T100"},
      {Nm(7, 1, '0', -1, '0', 0), "N-1"},
      {Nm(6, 1, '0', 1000000, '0', 0), "D1000000"},
      {Dm(1, 60, '0', "1", '0', "1"), "D60"},
      {Dm(1, 1, '1', "1e300", '0', "1"), "D1000000000"},
      {Dm(5, 1, '0', "150", '0', "2"), "T150"},
      {Tm(9, 1, 99, "000", "000"), ""},  // T99 exists: no failure
      {Tm(5, 1, 51, "000", "000"), "N51"},
      {Tm(10, 1, 2, "N60", "001"), "N60"},
      {"<TMVAR:01:-1:00:000:000:>", "T-1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    NewRun();
    const VariableSet before = host.state.vars;
    Play(c.text + "x");
    if (std::string(c.names).empty()) {
      EXPECT_TRUE(host.boxes.empty());
      continue;
    }
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].caption, "Variable Error");
    EXPECT_NE(host.boxes[0].text.find(std::string(" ") + c.names + " "), std::string::npos) << host.boxes[0].text;
    EXPECT_EQ(host.boxes[1].caption, "Macro Abort");
    EXPECT_TRUE(mem.input.keys.empty());
    EXPECT_EQ(host.state.vars.text, before.text);
    EXPECT_EQ(host.state.vars.integer, before.integer);
    EXPECT_EQ(host.state.vars.decimal, before.decimal);
  }
}

TEST_F(VariablesTest, DecimalsThatDoNotFitAnIntegerFailAndDecimalsOfTextAreClamped) {
  host.state.vars.decimal[2] = 3e9;
  Play(Dm(6, 2, '0', "9", '0', "0"));
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Variable Error");
  EXPECT_EQ(host.state.vars.integer[9], 0);

  NewRun();
  host.state.vars.decimal[2] = 2.5;
  Play(Dm(5, 2, '0', "4", '0', "-3") + Dm(5, 2, '0', "5", '0', "300"));
  EXPECT_EQ(host.state.vars.text[4], "3");  // no decimals; rounded half away from zero
  EXPECT_EQ(host.state.vars.text[5].substr(0, 6), "2.5000");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(VariablesTest, ClipboardFilesIniAndEnvironment) {
  host.state.vars.text[1] = "line one";
  const std::string file = "C:\\DATA\\OUT.TXT";
  std::filesystem::create_directories(std::filesystem::path(mem.NativePath(file)).parent_path());
  Play(Tm(16, 1, 0, "000", "000") + Tm(17, 1, 0, "000", "000", file) + Tm(17, 1, 0, "000", "000", file) +
       Tm(20, 1, 0, "000", "000", file) + Tm(18, 1, 0, "000", "000", "MY.INI\x01Sect\x01Key") +
       Tm(19, 1, 0, "000", "000", "WDX_TEST_VAR"));
  EXPECT_EQ(mem.clipboard.text, "line one");
  // Writing replaces the file; appending adds a line.
  EXPECT_EQ(ReadFile(file), "line one\r\nline one\r\n");
  EXPECT_EQ(mem.profile.GetString("MY.INI", "Sect", "Key", ""), "line one");
  EXPECT_EQ(mem.environment.GetVariable("wdx_test_var"), "line one");
  EXPECT_TRUE(host.boxes.empty());

  // Appending to a file that does not exist creates nothing; a missing folder, a busy
  // clipboard and an INI text without its separators are ignored.
  mem.clipboard.SetBusy(true);
  Play(Tm(20, 1, 0, "000", "000", "C:\\DATA\\NEW.TXT") + Tm(17, 1, 0, "000", "000", "C:\\NONE\\X.TXT") +
       Tm(16, 1, 0, "000", "000") + Tm(18, 1, 0, "000", "000", "MY.INI\x01Only"));
  EXPECT_FALSE(std::filesystem::exists(mem.NativePath("C:\\DATA\\NEW.TXT")));
  EXPECT_FALSE(std::filesystem::exists(mem.NativePath("C:\\NONE\\X.TXT")));
  EXPECT_EQ(mem.profile.GetString("MY.INI", "Only", "", "none"), "none");
  EXPECT_TRUE(host.boxes.empty());
}

// T9 is "x"; T1 holds an unended "append T9 to T9"; T2 to T6 each play the one before twice,
// so "%T6%" would double T9 32 times (4 GB).
TEST_F(VariablesTest, DoublingATextVariableStopsAtItsLimit) {
  Play("<TMVAR:07:09:00:000:000:x><TMVAR:07:01:00:000:000:<TMVAR:08:09:09:000:000:>"
       "<TMVAR:07:02:00:000:000:%T1%%T1%><TMVAR:07:03:00:000:000:%T2%%T2%><TMVAR:07:04:00:000:000:%T3%%T3%>"
       "<TMVAR:07:05:00:000:000:%T4%%T4%><TMVAR:07:06:00:000:000:%T5%%T5%>%T6%");
  ASSERT_FALSE(host.boxes.empty());
  EXPECT_EQ(host.boxes[0].caption, "Variable Error");
  EXPECT_NE(host.boxes[0].text.find("T9 would grow to 2097152 characters"), std::string::npos) << host.boxes[0].text;
  EXPECT_TRUE(host.state.abortMacro);
  // Twenty doublings fit; the failed one left the value alone.
  EXPECT_EQ(host.state.vars.text[9], std::string(VariableSet::kMaxTextLength, 'x'));
}

TEST_F(VariablesTest, AppendingStopsAtTheLimit) {
  const std::size_t full = VariableSet::kMaxTextLength;
  struct Case {
    std::size_t before;
    std::string command;
    bool fits;
  } cases[] = {
      {full - 2, Tm(7, 1, 0, "000", "000", "ab"), true},
      {full - 1, Tm(7, 1, 0, "000", "000", "ab"), false},
      {full - 1, Tm(8, 1, 2, "000", "000"), true},  // T2 is "z"
      {full, Tm(8, 1, 2, "000", "000"), false},
      {full, Tm(8, 1, 3, "000", "000"), true},  // appending an empty text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.before) + " " + c.command);
    NewRun();
    host.state.vars.text[1] = std::string(c.before, 'y');
    host.state.vars.text[2] = "z";
    Play(c.command);
    EXPECT_EQ(host.boxes.empty(), c.fits);
    EXPECT_EQ(host.state.vars.text[1].size() > c.before, c.fits && c.command.find("TMVAR:08:01:03") == std::string::npos);
    EXPECT_LE(host.state.vars.text[1].size(), full);
  }
}

TEST_F(VariablesTest, ReferencesTypeWhatTheCommandsComputed) {
  // A small macro: count to three and type the running total with a label.
  Play(Tm(7, 1, 0, "000", "000", "Total") + Nm(1, 1, '1', 1, '0', 1) + Nm(1, 1, '1', 1, '0', 2) +
       Nm(5, 1, '0', 2, '0', 0) + Tm(8, 1, 2, "000", "000") + "%T1%");
  EXPECT_EQ(TypedText(mem.input.keys), "Total3");
}

}  // namespace
}  // namespace wdx::player
