// Repeat and if blocks: what they type, their counters, the block scans, the folder walk, every
// variable comparison and world test, the two prompts, and bad input that must end clearly.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "clock_host.h"
#include "forms/user.h"
#include "player/interpreter/block_scan.h"
#include "player/interpreter/interpreter.h"
#include "player/prompts/block_prompts.h"
#include "player/prompts/message_lines.h"

namespace wdx::player {
namespace {

using testing::ClockHost;
using testing::TypedText;

// The test host with a library of macros by nickname.
class BlockHost : public ClockHost {
 public:
  using ClockHost::ClockHost;
  std::optional<bool> MacroActiveByNickname(const std::string& nickname) override {
    const auto it = macros.find(nickname);
    if (it == macros.end()) return std::nullopt;
    return it->second;
  }
  std::map<std::string, bool> macros;
};

class BlocksTest : public ::testing::Test {
 protected:
  BlocksTest() {
    mem.input.SetScreenSize({800, 600});
    mem.processes.Bind();
  }

  std::string Play(const std::string& text) {
    mem.input.keys.clear();
    host.boxes.clear();
    host.state.abortMacro = false;
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    return TypedText(mem.input.keys);
  }
  void MakeFile(const std::string& windowsPath) {
    const std::filesystem::path p = mem.NativePath(windowsPath);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p) << "x";
  }
  void MakeFolder(const std::string& windowsPath) { std::filesystem::create_directories(mem.NativePath(windowsPath)); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const auto& b : host.boxes) out.push_back(b.caption);
    return out;
  }

  platform::MemoryPlatform mem;
  BlockHost host{mem};
  Interpreter interpreter{host};
  RunState& st = host.state;
};

// --- Examples: what a block types -----------------------------------------------------------

TEST_F(BlocksTest, RepeatsAndCountersTypeTheirText) {
  struct Case {
    std::string text;
    std::string typed;
  };
  const Case cases[] = {
      {"<REPEAT:0003>ab<ENDREP>", "ababab"},
      {"<REP:0003:000010:000005><II> <ENDREP>", "10 15 20 "},
      {"<REP3:01:000005:000002:0002:0:00:><III><ENDREP>", "005007"},
      {"<REPEAT:0002><REPEAT:0002>a<ENDREP>b<ENDREP>", "aabaab"},
      {"<REP3:01:-00005:000001:0001:0:00:><IIII><ENDREP>", "00-5"},
      // A descending counter.
      {"<REP3:01:000010:-00003:0003:0:00:><II>,<ENDREP>", "10,07,04,"},
      // A negative start and step of the older form count below zero, not from 65531.
      {"<REP:0003:-00005:-00002><IIII>,<ENDREP>", "00-5,00-7,00-9,"},
      // Four nested repeats, each typing its own counter with another width.
      {"<REP:0002:000001:000001><I>[<REP:0002:000002:000002><II>[<REP:0002:000003:000003><III>["
       "<REP:0002:000004:000004><IIII> <ENDREP>]<ENDREP>]<ENDREP>]<ENDREP>",
       [] {
         std::string out;
         for (int a = 1; a <= 2; ++a) {
           out += std::to_string(a) + "[";
           for (int b = 2; b <= 4; b += 2) {
             out += "0" + std::to_string(b) + "[";
             for (int c = 3; c <= 6; c += 3) {
               out += "00" + std::to_string(c) + "[";
               for (int d = 4; d <= 8; d += 4) out += "000" + std::to_string(d) + " ";
               out += "]";
             }
             out += "]";
           }
           out += "]";
         }
         return out;
       }()},
      // An if block and a variable's value play at a level of their own: the counter is 1.
      {"<REPEAT:0002><IFVAR:2:01:1:0><II><ENDIF>-<ENDREP>", "01-01-"},
      // A count of 0 or below, from the tag or from a variable, plays nothing.
      {"a<REPEAT:0000>b<ENDREP>c", "ac"},
      {"a<REPEAT:-001>b<ENDREP>c", "ac"},
      // A block end met on its own is passed over.
      {"a<ENDREP>b<ELSE>c<ENDIF>d", "abcd"},
      // A disabled block end, one inside another command's text, and one inside a variable
      // reference do not end the block.
      {"<REPEAT:0002>a<DIS:<ENDREP>\x02" "b<ENDREP>", "abab"},
      {"<REPEAT:0002>a<REM:<ENDREP>b<ENDREP>", "abab"},
      {"<REPEAT:0002>a%T9<ENDREP>%b<ENDREP>", "abab"},
      // "<REPEAT:20>" is no opener (its ">" is not where the tag has it): typed as text.
      {"<REPEAT:0002>a<REPEAT:20>b<ENDREP>", "a<REPEAT:20>ba<REPEAT:20>b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Play(c.text), c.typed);
    EXPECT_TRUE(host.boxes.empty());
  }
  // A counter in a variable's value plays at the value's own level: it types 1.
  st.vars.text[1] = "<II>";
  EXPECT_EQ(Play("<REPEAT:0002>%T1%<ENDREP>"), "0101");
}

TEST_F(BlocksTest, PassNumberVariableAndRepeatUntil) {
  EXPECT_EQ(Play("<REP3:01:000001:000001:0003:1:07:>x<ENDREP>"), "xxx");
  EXPECT_EQ(st.vars.integer[7], 3);
  // The pass number, not the counter, goes to the variable.
  EXPECT_EQ(Play("<REP3:01:000010:000005:0002:1:08:>%N8%<ENDREP>"), "12");
  // Count from N4.
  st.vars.integer[4] = 3;
  EXPECT_EQ(Play("<REP3:05:000001:000001:0004:0:00:>y<I><ENDREP>"), "y1y2y3");
  // Until N1 >= 5, adding 1 each pass: five passes, the test after each.
  st.vars.integer[1] = 0;
  EXPECT_EQ(Play("<REP3:06:000005:000002:0001:0:00:5><NMVAR:01:01:1:0000001:0:0000001>x<ENDREP>"), "xxxxx");
  EXPECT_EQ(st.vars.integer[1], 5);
  // The condition already holds: the body still runs once.
  EXPECT_EQ(Play("<REP3:06:000005:000002:0001:0:00:5>z<ENDREP>"), "z");
  // Until T2 = "abc", the value with a text variable in it.
  st.vars.text[2] = "";
  st.vars.text[3] = "abc";
  host.expand = [&](std::string& text, std::size_t) { text = "abc"; };
  EXPECT_EQ(Play("<REP3:06:000001:000001:0002:0:00:%T3%><TMVAR:07:02:00:000:000:a>.<REP3:06:000001:000001:0002:0:00:"
                 "%T3%><TMVAR:07:02:00:000:000:b><REP3:06:000001:000001:0002:0:00:%T3%><TMVAR:07:02:00:000:000:c>"
                 "<ENDREP><ENDREP><ENDREP>"),
            ".");
  EXPECT_EQ(st.vars.text[2], "abc");
  // Until D1 < 0.5, halving.
  st.vars.decimal[1] = 4.0;
  EXPECT_EQ(Play("<REP3:06:000003:000003:0001:0:00:0.5><DMVAR:04:01:1:0000000000001.000000:0:0000000000002.000000>d"
                 "<ENDREP>"),
            "dddd");
  EXPECT_DOUBLE_EQ(st.vars.decimal[1], 0.25);
}

TEST_F(BlocksTest, IfBlocksChooseTheirPart) {
  struct Case {
    std::function<void()> set;
    std::string text;
    std::string typed;
  };
  const Case cases[] = {
      {[&] { st.vars.integer[1] = 5; }, "<IFVAR:2:01:1:5>yes<ELSE>no<ENDIF>!", "yes!"},
      {[&] { st.vars.integer[1] = 4; }, "<IFVAR:2:01:1:5>yes<ELSE>no<ENDIF>!", "no!"},
      {[&] { st.vars.integer[1] = 4; }, "<IFVAR:2:01:1:5>yes<ENDIF>!", "!"},
      // The last "<ELSE>" of the block divides it; the first then plays as a skipped tag.
      {[&] { st.vars.text[1] = "x"; }, "<IFVAR:1:01:1:x>A<ELSE>B<ELSE>C<ENDIF>", "AB"},
      {[&] { st.vars.text[1] = "y"; }, "<IFVAR:1:01:1:x>A<ELSE>B<ELSE>C<ENDIF>", "C"},
      // Nested: the inner block's "<ELSE>" and "<ENDIF>" belong to it.
      {[&] { st.vars.integer[1] = 1; st.vars.integer[2] = 0; },
       "<IFVAR:2:01:1:1>a<IFVAR:2:02:1:1>b<ELSE>c<ENDIF>d<ELSE>e<ENDIF>", "acd"},
      {[&] { st.vars.integer[1] = 0; st.vars.integer[2] = 0; },
       "<IFVAR:2:01:1:1>a<IFVAR:2:02:1:1>b<ELSE>c<ENDIF>d<ELSE>e<IFVAR:2:02:1:0>f<ELSE>g<ENDIF>h<ENDIF>", "efh"},
      // An if block inside a repeat, and a repeat inside an if block.
      {[&] { st.vars.integer[1] = 1; }, "<REPEAT:0003><IFVAR:2:01:1:1>a<ELSE>b<ENDIF><ENDREP>", "aaa"},
      {[&] { st.vars.integer[1] = 2; }, "<IFVAR:2:01:1:1><REPEAT:0002>a<ENDREP><ELSE><REPEAT:0002>b<ENDREP><ENDIF>",
       "bb"},
      // A disabled "<ENDIF>" or "<ELSE>" does not count.
      {[&] { st.vars.integer[1] = 0; }, "<IFVAR:2:01:1:1>a<DIS:<ELSE>\x02<DIS:<ENDIF>\x02" "b<ELSE>c<ENDIF>", "c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    c.set();
    EXPECT_EQ(Play(c.text), c.typed);
    EXPECT_TRUE(host.boxes.empty());
  }
}

TEST_F(BlocksTest, ScanCountsDialUpBlocksAsIfOpeners) {
  const std::string text = "a<DIAL2:<NAME:Office><USER:u><PASS:p>b<ENDIF>c<ENDIF>d";
  const BlockEnd end = ScanBlock(text, 0, BlockKind::kIf);
  ASSERT_TRUE(end.found());
  EXPECT_EQ(end.end, text.rfind("<ENDIF>"));
}

// --- Every comparison of "<IFVAR:" for every kind of variable ---------------------------------

TEST_F(BlocksTest, EveryVariableComparison) {
  // Left and right side of each kind, and the outcome of comparisons 1..7 as "T"/"F".
  struct Case {
    int type;
    std::string value;  // the tag's value field
    std::string outcomes;
  };
  st.vars.text[1] = "abc";
  st.vars.text[2] = "abd";
  st.vars.text[3] = "ab";
  st.vars.text[4] = "xAbCx";
  st.vars.integer[1] = 5;
  st.vars.integer[2] = 7;
  st.vars.integer[3] = -5;
  st.vars.decimal[1] = 2.5;
  st.vars.decimal[2] = 2.25;
  const Case cases[] = {
      // T1 "abc" against a text: equal, smaller, a proper prefix (smaller), and "contains".
      {1, "abc", "TFFFTTT"},   // = <> < > >= <= contains: equal texts
      {1, "abd", "FTTFFTF"},
      {1, "ab", "FTFTTFT"},
      {1, "ABC", "FTFTTFT"},   // case counts in comparisons, not in "contains"
      {1, "", "FTFTTFF"},      // an empty text is never contained
      {4, "T02", "FTTFFTF"},   // T1 against T2 "abd"
      {4, "T03", "FTFTTFT"},   // against T3 "ab"
      {2, "5", "TFFFTTF"},     // N1 5; comparison 7 is for texts only
      {2, "7", "FTTFFTF"},
      {2, "-5", "FTFTTFF"},
      {5, "N02", "FTTFFTF"},   // N1 against N2 7
      {5, "N03", "FTFTTFF"},   // against N3 -5
      {3, "2.5", "TFFFTTF"},
      {3, "2.25", "FTFTTFF"},
      {6, "D02", "FTFTTFF"},   // D1 2.5 against D2 2.25
      {7, "abc", "FFFFFFF"},   // no such type
  };
  for (const Case& c : cases) {
    const std::string& outcomes = c.outcomes;
    for (int comparison = 1; comparison <= 7; ++comparison) {
      const std::string text = "<IFVAR:" + std::to_string(c.type) + ":01:" + std::to_string(comparison) + ":" +
                               c.value + ">t<ELSE>f<ENDIF>";
      SCOPED_TRACE(text);
      EXPECT_EQ(Play(text), outcomes[static_cast<std::size_t>(comparison - 1)] == 'T' ? "t" : "f");
    }
  }
  // T4 "xAbCx" contains "aBc" without regard to case.
  EXPECT_EQ(Play("<IFVAR:1:04:7:aBc>t<ELSE>f<ENDIF>"), "t");
  // A variable outside the tables ends the run with a clear message.
  EXPECT_EQ(Play("<IFVAR:2:77:1:5>t<ELSE>f<ENDIF>x"), "");
  EXPECT_EQ(Captions(), std::vector<std::string>{"Variable Error"});
}

// --- Every "<IFOTH:" test against the stand-in --------------------------------------------------

TEST_F(BlocksTest, EveryWorldTest) {
  MakeFile("C:\\data\\report.txt");
  MakeFile("C:\\tools\\tool.exe");
  mem.environment.SetVariable("PATH", "C:\\nothere;C:\\tools");
  const platform::WindowHandle notepad = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 7);
  mem.desktop.AddForeignWindow("Calculator", "Calc", 9);
  mem.desktop.SetForeground(notepad);
  mem.processes.Add(7, "notepad.exe");
  mem.processes.Add(9, "calc.exe");
  mem.clipboard.text = "Hello World";
  host.macros = {{"Daily", true}, {"Weekly", false}};

  struct Case {
    std::string tag;  // test, flag, text
    bool holds;
  };
  const Case cases[] = {
      {"01:0:C:\\data\\report.txt", true},   {"01:0:C:\\data\\other.txt", false},
      {"01:0:tool.exe", false},              {"01:1:tool.exe", true},  // found along PATH
      {"01:0:C:\\data", false},              // a folder is no file
      {"02:0:C:\\data", true},               {"02:0:C:\\nothere", false},
      {"03:1:untitled - notepad", true},     {"03:1:notepad", false},
      {"03:0:NOTEPAD", true},                {"03:0:Calc", false},
      {"04:1:calculator", true},             {"04:1:calc", false},
      {"04:0:CALC", true},                   {"04:0:Word", false},
      {"05:0:notepad", true},                {"05:0:calc", false},
      {"06:0:CALC.EXE", true},               {"06:0:word", false},
      {"07:0:hello world", true},            {"07:0:hello", false},
      {"08:0:WORLD", true},                  {"08:0:moon", false},
      {"09:0:C:\\data\\report.txt", false},  {"09:1:tool.exe", false},  {"09:0:tool.exe", true},
      {"10:0:C:\\data", false},              {"10:0:C:\\nothere", true},
      {"11:1:untitled - notepad", false},    {"11:0:calc", true},
      {"12:0:calc", false},                  {"12:1:calc", true},
      {"13:0:notepad", false},               {"13:0:calc", true},
      {"14:0:calc", false},                  {"14:0:word", true},
      {"15:0:Hello World", true},            {"15:0:hello world", false},
      {"16:0:World", true},                  {"16:0:world", false},
      {"17:0:Daily", true},                  {"17:0:Weekly", false},  {"17:0:daily", false},
      {"17:0:None", false},
      {"18:0:Weekly", true},                 {"18:0:Daily", false},   {"18:0:None", false},
      {"19:0:x", false},                     {"00:0:", false},
  };
  for (const Case& c : cases) {
    const std::string text = "<IFOTH:" + c.tag + ">t<ELSE>f<ENDIF>";
    SCOPED_TRACE(text);
    EXPECT_EQ(Play(text), c.holds ? "t" : "f");
  }

  // The clipboard without text: only an empty text equals it.
  mem.clipboard.text.reset();
  EXPECT_EQ(Play("<IFOTH:07:0:>t<ELSE>f<ENDIF>"), "t");
  EXPECT_EQ(Play("<IFOTH:07:0:a>t<ELSE>f<ENDIF>"), "f");
  EXPECT_EQ(Play("<IFOTH:08:0:>t<ELSE>f<ENDIF>"), "f");
  // No window in front: the title tests hold in neither form.
  mem.desktop.SetForeground(platform::kNoWindow);
  EXPECT_EQ(Play("<IFOTH:03:0:Notepad>t<ELSE>f<ENDIF>"), "f");
  EXPECT_EQ(Play("<IFOTH:11:0:Notepad>t<ELSE>f<ENDIF>"), "f");
  EXPECT_EQ(Play("<IFOTH:13:0:Notepad>t<ELSE>f<ENDIF>"), "t");
  // The text field's text variables are expanded.
  host.expand = [](std::string& text, std::size_t) { text = "C:\\data"; };
  EXPECT_EQ(Play("<IFOTH:02:0:%T1%>t<ELSE>f<ENDIF>"), "t");
}

// --- Repeat with folder --------------------------------------------------------------------------

TEST_F(BlocksTest, RepeatWithFolderWalksFilesAndFolders) {
  MakeFile("C:\\tree\\b.txt");
  MakeFile("C:\\tree\\a.txt");
  MakeFile("C:\\tree\\sub\\c.txt");
  MakeFile("C:\\tree\\sub\\deep\\d.txt");
  MakeFolder("C:\\tree\\empty");
  // The body adds T1 and "|" to T2.
  const std::string body = "<TMVAR:08:02:01:000:000:><TMVAR:07:02:00:000:000:|>";
  struct Case {
    int mode;
    std::string folder;
    std::string names;
  };
  const Case cases[] = {
      {1, "C:\\tree", "a.txt|b.txt|"},
      {2, "C:\\tree", "C:\\tree\\a.txt|C:\\tree\\b.txt|"},
      {3, "C:\\tree", "a.txt|b.txt|c.txt|d.txt|"},
      {4, "C:\\tree\\", "C:\\tree\\a.txt|C:\\tree\\b.txt|C:\\tree\\sub\\c.txt|C:\\tree\\sub\\deep\\d.txt|"},
      {5, "C:\\tree", "C:\\tree\\empty|C:\\tree\\sub|"},
      {6, "C:\\tree", "C:\\tree\\empty|C:\\tree\\sub|C:\\tree\\sub\\deep|"},
      {1, "C:\\tree\\empty", ""},
      {6, "C:\\tree\\empty\\", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.mode) + " " + c.folder);
    st.vars.text[2].clear();
    Play("<REP3:07:00000" + std::to_string(c.mode) + ":000001:0001:0:01:" + c.folder + ">" + body + "<ENDREP>z");
    EXPECT_EQ(st.vars.text[2], c.names);
    EXPECT_TRUE(host.boxes.empty());
  }
  // A body that adds files to the folder it walks does not make the walk endless.
  st.vars.text[2].clear();
  Play("<REP3:07:000001:000001:0001:0:01:C:\\tree>" + body + "<TMVAR:20:01:00:000:000:C:\\tree\\new%T1%><ENDREP>");
  EXPECT_EQ(st.vars.text[2], "a.txt|b.txt|");
  // A folder that is not there ends the run with its message.
  EXPECT_EQ(Play("<REP3:07:000001:000001:0001:0:01:C:\\missing>x<ENDREP>y"), "");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Repeat With Folder Error");
  EXPECT_NE(host.boxes[0].text.find("\"C:\\missing\""), std::string::npos);
}

// --- Bad input: a clear message or a correct run, never a hang --------------------------------

TEST_F(BlocksTest, BadInputEndsWithAClearMessage) {
  struct Case {
    std::string text;
    std::string typed;
    std::vector<std::string> captions;
  };
  const Case cases[] = {
      {"a<REPEAT:0002>b", "a", {"Repeat Error", "Macro Abort"}},
      {"a<REPEAT:0002>b<ENDREP", "a", {"Repeat Error", "Macro Abort"}},
      {"a<REPEAT:0002>b<DIS:<ENDREP>\x02", "a", {"Repeat Error", "Macro Abort"}},
      {"a<IFVAR:2:01:1:0>b<ELSE>c", "a", {"If / Then Error", "Macro Abort"}},
      {"a<IFVAR:2:01:1:0>b<DIS:<ENDIF>\x02", "a", {"If / Then Error", "Macro Abort"}},
      // Unknown kinds never leave the cursor on the tag.
      {"a<REP3:03:000001:000001:0001:0:00:>b<ENDREP>c", "a", {"Repeat Error"}},
      {"a<REP3:99:000001:000001:0001:0:00:>b<ENDREP>c", "a", {"Repeat Error"}},
      {"a<REP3:06:000001:000004:0001:0:00:5>b<ENDREP>c", "a", {"Repeat Error"}},
      {"a<REP3:06:000001:000005:0001:0:00:5>b<ENDREP>c", "a", {"Repeat Error"}},
      {"a<REP3:06:000009:000002:0001:0:00:5>b<ENDREP>c", "a", {"Repeat Error"}},
      {"a<REP3:07:000009:000001:0001:0:01:C:\\>b<ENDREP>c", "a", {"Repeat With Folder Error"}},
      // Variables outside the tables.
      {"a<REP3:05:000001:000001:0077:0:00:>b<ENDREP>c", "a", {"Variable Error"}},
      {"a<REP3:01:000001:000001:0002:1:77:>b<ENDREP>c", "a", {"Variable Error"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Play(c.text), c.typed);
    EXPECT_EQ(Captions(), c.captions);
    EXPECT_EQ(interpreter.Depth(), 0);
  }
}

TEST_F(BlocksTest, DeepNestingAndHugeCountsRunOrStop) {
  std::string open, close;
  for (int i = 0; i < 100; ++i) {
    open += "<REPEAT:0001>";
    close += "<ENDREP>";
  }
  EXPECT_EQ(Play(open + "x" + close + "y"), "xy");
  EXPECT_TRUE(host.boxes.empty());
  // 100 levels of repeats and if blocks in turn: the innermost counter stands in an if block,
  // so it types 1 in both passes of the outermost repeat.
  std::string mixed, mixedClose;
  for (int i = 0; i < 50; ++i) {
    mixed += i == 0 ? "<REP3:01:000001:000001:0002:0:00:>" : "<REP3:01:000001:000001:0001:0:00:>";
    mixed += "<IFVAR:2:01:1:0>";
    mixedClose += "<ELSE>?<ENDIF><ENDREP>";
  }
  st.vars.integer[1] = 0;
  EXPECT_EQ(Play(mixed + "x<I>" + mixedClose + "y"), "x1x1y");
  EXPECT_TRUE(host.boxes.empty());
  // Past the nesting limit: one clear message, nothing more typed.
  std::string deeper, deeperClose;
  for (int i = 0; i < kMaxNesting + 10; ++i) {
    deeper += "<IFVAR:2:01:1:0>";
    deeperClose += "<ENDIF>";
  }
  st.vars.integer[1] = 0;
  EXPECT_EQ(Play(deeper + "x" + deeperClose + "y"), "");
  EXPECT_EQ(Captions(), std::vector<std::string>{"Macro Error"});
  // 100000 passes of a short body: every pass types.
  st.vars.integer[4] = 100000;
  EXPECT_EQ(Play("<REP3:05:000001:000001:0004:0:00:>x<ENDREP>"), std::string(100000, 'x'));
  // The largest count with an empty body ends at once and leaves the pass number where the
  // passes would have.
  st.vars.integer[4] = 2147483647;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(Play("<REP3:05:000001:000001:0004:1:05:><ENDREP>z"), "z");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  EXPECT_EQ(st.vars.integer[5], 2147483647);
  // A repeat-until that never holds ends with the abort key.
  host.onPump = [&](int pump) {
    if (pump > 5000) st.abortMacro = true;
  };
  Play("<REP3:06:000001:000002:0001:0:00:1><ENDREP>");
  EXPECT_TRUE(st.abortMacro);
  EXPECT_TRUE(host.boxes.empty());  // the abort ends the loop without a message of its own
}

// --- The repeat prompt ---------------------------------------------------------------------------

TEST_F(BlocksTest, PromptedRepeatAcceptsOnlyACountOfZeroOrMore) {
  auto answer = [&](const std::string& typed) {
    host.runner.Then([typed](forms::Form& form) {
      auto& prompt = dynamic_cast<TRepeatPrompt&>(form);
      forms::user::EnterText(prompt.NumReps, typed);
      forms::user::Click(prompt.OkButton);
    });
  };
  answer("3");
  EXPECT_EQ(Play("<PROMPTREP>a<I><ENDREP>"), "a1a2a3");
  answer(" 2 ");
  EXPECT_EQ(Play("<REP3:02:000001:000001:0000:1:03:>b<ENDREP>"), "bb");
  EXPECT_EQ(st.vars.integer[3], 2);
  answer("0");
  EXPECT_EQ(Play("<PROMPTREP>a<ENDREP>c"), "c");
  // -1, a word or nothing are refused in the prompt; the user corrects them.
  for (const std::string bad : {"-1", "abc", "", "1x"}) {
    SCOPED_TRACE(bad);
    mem.boxes.shown.clear();
    host.runner.Then([bad](forms::Form& form) {
      auto& prompt = dynamic_cast<TRepeatPrompt&>(form);
      forms::user::EnterText(prompt.NumReps, bad);
      forms::user::Click(prompt.OkButton);
      EXPECT_TRUE(form.Showing());
      forms::user::EnterText(prompt.NumReps, "2");
      forms::user::Click(prompt.OkButton);
    });
    EXPECT_EQ(Play("<PROMPTREP>a<ENDREP>"), "aa");
    ASSERT_EQ(mem.boxes.shown.size(), 1u);
    EXPECT_EQ(mem.boxes.shown[0].text, "Invalid numeric value entered.  Please Correct");
  }
  // The close box needs a valid count too; the prompt comes before the missing end is found.
  host.runner.Then([](forms::Form& form) {
    auto& prompt = dynamic_cast<TRepeatPrompt&>(form);
    forms::user::EnterText(prompt.NumReps, "1");
    form.Close();
  });
  EXPECT_EQ(Play("<PROMPTREP>a"), "");
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Repeat Error", "Macro Abort"}));
  // The run's abort closes it, whatever it holds, and the run ends without a message.
  host.runner.Then([&](forms::Form& form) {
    st.abortMacro = true;
    host.prompts.CloseOpenPrompt();
    EXPECT_FALSE(form.Showing());
  });
  mem.input.keys.clear();
  host.boxes.clear();
  interpreter.DoMacro("<PROMPTREP>a<ENDREP>b");
  EXPECT_EQ(TypedText(mem.input.keys), "");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(BlocksTest, RepeatPromptLooksAsDesigned) {
  host.runner.Then([&](forms::Form& form) {
    auto& prompt = dynamic_cast<TRepeatPrompt&>(form);
    EXPECT_EQ(form.caption(), "Macro Repeat");
    EXPECT_TRUE(form.stayOnTop());
    EXPECT_EQ(form.clientWidth(), 167);
    EXPECT_EQ(form.clientHeight(), 56);
    EXPECT_EQ(form.left(), (800 - form.width()) / 2);
    EXPECT_EQ(prompt.TheMessage.caption(), "Times To Repeat");
    EXPECT_EQ(prompt.NumReps.maxLength(), 4);
    EXPECT_TRUE(prompt.OkButton.isDefault());
    forms::user::EnterText(prompt.NumReps, "1");
    forms::user::Click(prompt.OkButton);
  });
  Play("<PROMPTREP>a<ENDREP>");
  ASSERT_EQ(host.runner.shown.size(), 1u);
  EXPECT_EQ(host.runner.shown[0].focusAtShow, "NumReps");
  // Framed as every prompt: the pause, the application shown and hidden, the form brought up.
  EXPECT_EQ(host.pauses, std::vector<double>{0.3});
  EXPECT_EQ(host.application, (std::vector<bool>{true, false}));
  EXPECT_EQ(host.foreground.size(), 1u);
}

// The block plays on into the window that was in front before its prompt, wherever the system
// put the front when the prompt closed; a run that ended at the prompt gives nothing back.
TEST_F(BlocksTest, PromptsGiveTheFrontBackToTheWindowTheMacroTypesInto) {
  const platform::WindowHandle target = mem.desktop.AddForeignWindow("Target", "Edit", 7);
  const platform::WindowHandle other = mem.desktop.AddForeignWindow("Other", "Edit", 9);
  auto answer = [&](bool abort) {
    host.runner.Then([&, abort](forms::Form& form) {
      mem.desktop.SetForeground(other);
      if (abort) {
        st.abortMacro = true;
        host.prompts.CloseOpenPrompt();
        return;
      }
      if (auto* prompt = dynamic_cast<TRepeatPrompt*>(&form)) forms::user::EnterText(prompt->NumReps, "1");
      forms::user::Click(*form.Find("OkButton"));
    });
  };
  for (const std::string text : {"<PROMPTREP>a<ENDREP>", "<IFMESS:1:T\x01Q\x01\x01\x01>a<ENDIF>"}) {
    SCOPED_TRACE(text);
    mem.desktop.SetForeground(target);
    answer(false);
    EXPECT_EQ(Play(text), "a");
    EXPECT_EQ(mem.desktop.GetForegroundWindow(), target);
    mem.desktop.SetForeground(target);
    answer(true);
    EXPECT_EQ(Play(text), "");
    EXPECT_EQ(mem.desktop.GetForegroundWindow(), other);
  }
}

// --- The question box ------------------------------------------------------------------------------

TEST_F(BlocksTest, QuestionBoxChoosesThePart) {
  struct Case {
    char kind;
    std::string first, second;
    const char* click;
    std::string typed;
  };
  const Case cases[] = {
      {'1', "&Yes", "&No", "OkButton", "a!"},
      {'1', "&Yes", "&No", "CancelButton", "b!"},
      {'2', "&Ok", "&Cancel", "OkButton", "a!"},
      {'3', "&True", "&False", "CancelButton", "b!"},
      {'4', "&Go", "&Stop", "OkButton", "a!"},
      {'7', "&Ok", "&Cancel", "OkButton", "a!"},
      {'1', "&Yes", "&No", nullptr, "b!"},  // the close box
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.kind) + (c.click ? c.click : "close box"));
    std::string caption, question, first, second;
    host.runner.Then([&](forms::Form& form) {
      auto& box = dynamic_cast<TShowAQuestion&>(form);
      caption = form.caption();
      question = box.TheMessage.caption();
      first = box.OkButton.caption();
      second = box.CancelButton.caption();
      if (c.click) forms::user::Click(*form.Find(c.click));
    });
    EXPECT_EQ(Play(std::string("<IFMESS:") + c.kind + ":Title\x01" "Continue?\x01&Go\x01&Stop\x01>a<ELSE>b<ENDIF>!"),
              c.typed);
    EXPECT_EQ(caption, "Title");
    EXPECT_EQ(question, "Continue?");
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(second, c.second);
  }
  // The question is asked even when the block has no end; the run then stops.
  host.runner.Then([](forms::Form& form) { forms::user::Click(*form.Find("OkButton")); });
  EXPECT_EQ(Play("<IFMESS:1:T\x01Q\x01\x01\x01>a"), "");
  EXPECT_EQ(host.runner.shown.size(), 8u);
  EXPECT_EQ(Captions(), (std::vector<std::string>{"If / Then Error", "Macro Abort"}));
}

TEST_F(BlocksTest, QuestionBoxSizesItselfToTheQuestion) {
  // Every character 10 pixels wide: 29 characters fit the 292-pixel line.
  host.runner.SetMeasure([](const forms::Font&, std::string_view text) { return static_cast<int>(text.size()) * 10; });
  struct Case {
    std::string question;
    int lines;
    forms::Alignment alignment;
  };
  const Case cases[] = {
      {"Continue?", 1, forms::Alignment::kCenter},
      {"aaaa bbbb cccc dddd eeee ffff gggg", 2, forms::Alignment::kLeft},
      {"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm", 3, forms::Alignment::kLeft},
      {"", 0, forms::Alignment::kLeft},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    host.runner.Then([&](forms::Form& form) {
      auto& box = dynamic_cast<TShowAQuestion&>(form);
      EXPECT_EQ(box.lineCount, c.lines);
      EXPECT_EQ(box.TheMessage.alignment(), c.alignment);
      EXPECT_EQ(box.TheMessage.height(), 16 * c.lines);
      EXPECT_EQ(box.OkButton.top(), 4 + 16 * c.lines + 4);
      EXPECT_EQ(box.CancelButton.top(), box.OkButton.top());
      EXPECT_EQ(form.clientHeight(), box.OkButton.top() + 21 + 4);
      EXPECT_EQ(form.clientWidth(), 299);
      EXPECT_EQ(form.top(), (600 - form.height()) / 2);
      forms::user::Click(box.OkButton);
    });
    Play("<IFMESS:1:T\x01" + c.question + "\x01\x01\x01>a<ENDIF>");
  }
}

TEST(MessageLines, WrapsAtWordsAndStopsAtAWordTooWide) {
  const auto width = [](std::string_view text) { return static_cast<int>(text.size()); };
  struct Case {
    std::string message;
    int limit;
    int lines;
  };
  const Case cases[] = {
      {"", 10, 0},
      {"short", 10, 1},
      {"one two three", 13, 1},
      {"one two three", 12, 2},
      {"one two three four five", 8, 4},  // "one two ", "three ", "four ", "five"
      {"abcdefghijklmnop", 10, 1},         // one word wider than the line: the count stops
      {"ab abcdefghijklmnop", 10, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageLineCount(c.message, c.limit, width), c.lines) << c.message;
}

}  // namespace
}  // namespace wdx::player
