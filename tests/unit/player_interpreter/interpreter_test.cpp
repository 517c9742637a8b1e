#include "player/interpreter/interpreter.h"

#include <gtest/gtest.h>

#include <map>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "platform/memory/memory_input.h"
#include "test_host.h"

namespace wdx::player {
namespace {

using platform::KeyEventRecord;
using testing::Box;
using testing::TestHost;

// Keys by the names the expectations use, with the US layout's virtual key and scan code and
// whether the player sends them as extended keys. Written out here rather than taken from the
// code under test.
struct KeyName {
  std::uint8_t vk;
  std::uint8_t scan;
  bool extended;
};
const std::map<std::string, KeyName>& Keys() {
  static const std::map<std::string, KeyName> keys = [] {
    std::map<std::string, KeyName> k = {
        {"Shift", {0x10, 0x2A, false}}, {"Ctrl", {0x11, 0x1D, false}},  {"Alt", {0x12, 0x38, false}},
        {"Enter", {0x0D, 0x1C, false}}, {"Tab", {0x09, 0x0F, false}},   {"Back", {0x08, 0x0E, false}},
        {"Esc", {0x1B, 0x01, false}},   {"Space", {0x20, 0x39, false}}, {"Home", {0x24, 0x47, true}},
        {"End", {0x23, 0x4F, true}},    {"Left", {0x25, 0x4B, true}},   {"Down", {0x28, 0x50, true}},
        {"PgUp", {0x21, 0x49, true}},   {"Del", {0x2E, 0x53, true}},    {"Caps", {0x14, 0x3A, true}},
        {"Num", {0x90, 0x45, true}},    {"Scroll", {0x91, 0x46, true}}, {"LWin", {0x5B, 0x5B, false}},
        {"F1", {0x70, 0x3B, false}},    {"F10", {0x79, 0x44, false}},   {"F12", {0x7B, 0x58, false}},
        {"Minus", {0xBD, 0x0C, false}}, {"Period", {0xBE, 0x34, false}}, {"Comma", {0xBC, 0x33, false}},
        {"Slash", {0xBF, 0x35, false}}, {"Colon", {0xBA, 0x27, false}}, {"KpAdd", {0x6B, 0x4E, false}},
        {"RButton", {0x02, 0x00, false}}, {"Zoom", {0xFB, 0x00, false}}, {"NoKey", {0xFF, 0x00, false}},
    };
    const char letters[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
    const std::uint8_t letterScans[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1E, 0x1F, 0x20,
                                        0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32};
    for (int i = 0; i < 26; ++i) k[std::string(1, letters[i])] = {static_cast<std::uint8_t>(letters[i]), letterScans[i], false};
    for (int d = 0; d <= 9; ++d) {
      k[std::to_string(d)] = {static_cast<std::uint8_t>('0' + d), static_cast<std::uint8_t>(d == 0 ? 0x0B : 0x01 + d), false};
    }
    const std::uint8_t padScans[] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
    for (int d = 0; d <= 9; ++d) k["Kp" + std::to_string(d)] = {static_cast<std::uint8_t>(0x60 + d), padScans[d], false};
    return k;
  }();
  return keys;
}

// "+Shift +A -A -Shift": "+" key down, "-" key up.
std::vector<KeyEventRecord> Events(const std::string& script) {
  std::vector<KeyEventRecord> out;
  std::istringstream in(script);
  std::string token;
  while (in >> token) {
    const auto it = Keys().find(token.substr(1));
    if (it == Keys().end()) {
      ADD_FAILURE() << "unknown key name " << token;
      continue;
    }
    std::uint32_t flags = it->second.extended ? platform::keyflag::kExtendedKey : 0;
    if (token[0] == '-') flags |= platform::keyflag::kKeyUp;
    out.push_back({it->second.vk, it->second.scan, flags});
  }
  return out;
}

std::string Describe(const std::vector<KeyEventRecord>& events) {
  std::ostringstream out;
  for (const KeyEventRecord& e : events) {
    out << ((e.flags & platform::keyflag::kKeyUp) ? '-' : '+');
    std::string name;
    for (const auto& [n, k] : Keys()) {
      if (k.vk == e.vk) name = n;
    }
    if (name.empty()) name = "vk" + std::to_string(e.vk);
    out << name << "(" << std::hex << int{e.scan} << "," << e.flags << std::dec << ") ";
  }
  return out.str();
}

class InterpreterTest : public ::testing::Test {
 protected:
  // A top-level run as the player starts one: one pass, Caps Lock restored at the end.
  void Play(const std::string& text, bool restoreCaps = true) {
    interpreter.DoMacro(text, 1, 1, 1, restoreCaps, false, 0);
  }
  void ExpectKeys(const std::string& expected) {
    EXPECT_EQ(input.keys, Events(expected)) << "  got: " << Describe(input.keys)
                                            << "\n  want: " << Describe(Events(expected));
  }

  platform::MemoryInput input;
  TestHost host{input};
  Interpreter interpreter{host};
};

struct KeyCase {
  const char* name;
  std::string text;
  const char* keys;
};

// Plain text, tags and their fields, as exact key events.
TEST_F(InterpreterTest, TypesTextAndKeyTagsAsExactKeyEvents) {
  const KeyCase cases[] = {
      {"lower and upper case", "aB", "+A -A +Shift +B -B -Shift"},
      {"shifted punctuation", "1!?:", "+1 -1 +Shift +1 -1 -Shift +Shift +Slash -Slash -Shift +Shift +Colon -Colon -Shift"},
      {"CR LF is one Enter", "a\r\nb", "+A -A +Enter -Enter +B -B"},
      {"CR alone is one Enter", "a\rb", "+A -A +Enter -Enter +B -B"},
      {"named key", "<ENTER><TAB><BACKSPACE><ESC>", "+Enter -Enter +Tab -Tab +Back -Back +Esc -Esc"},
      {"extended named keys", "<HOME><END><LEFT ARROW><DELETE><PAGE UP>",
       "+Home -Home +End -End +Left -Left +Del -Del +PgUp -PgUp"},
      {"lower-case tag is text", "<enter>",
       "+Shift +Comma -Comma -Shift +E -E +N -N +T -T +E -E +R -R +Shift +Period -Period -Shift"},
      {"wrong width is text", "<ALT:65>",
       "+Shift +Comma -Comma -Shift +Shift +A -A -Shift +Shift +L -L -Shift +Shift +T -T -Shift "
       "+Shift +Colon -Colon -Shift +6 -6 +5 -5 +Shift +Period -Period -Shift"},
      {"unknown tag is text", "<Q", "+Shift +Comma -Comma -Shift +Shift +Q -Q -Shift"},
      {"function keys told apart", "<F1><F10><F12>", "+F1 -F1 +F10 -F10 +F12 -F12"},
      {"terminal and keypad keys", "<ZOOM><KEYP+><KEYP7>", "+Zoom -Zoom +KpAdd -KpAdd +Kp7 -Kp7"},
      {"shift for the next key", "<SHIFT>a", "+Shift +A -A -Shift"},
      {"shift for a named key", "<SHIFT><HOME>", "+Shift +Home -Home -Shift"},
      {"ctrl held over a character", "<CTRLD>c<CTRLU>", "+Ctrl +C -C -Ctrl"},
      {"held modifiers apply to everything between", "<SHFD>ab<SHFU>c", "+Shift +A -A +B -B -Shift +C -C"},
      {"alt twice", "<ALT>f<ALT>", "+Alt +F -F -Alt +Alt -Alt"},
      {"windows key held", "<WIND>e<WINU>", "+LWin +E -E -LWin"},
      {"alt keypad code", "<ALT:065>", "+Alt +Kp0 -Kp0 +Kp6 -Kp6 +Kp5 -Kp5 -Alt"},
      {"four-digit alt keypad code", "<ALT4:0233>", "+Alt +Kp0 -Kp0 +Kp2 -Kp2 +Kp3 -Kp3 +Kp3 -Kp3 -Alt"},
      {"alt keypad code keeps pending shift", "<SHIFT><ALT:065>a",
       "+Shift +Alt +Kp0 -Kp0 +Kp6 -Kp6 +Kp5 -Kp5 -Alt +A -A -Shift"},
      {"character above 127", "\xE9", "+Alt +Kp0 -Kp0 +Kp2 -Kp2 +Kp3 -Kp3 +Kp3 -Kp3 -Alt"},
      {"character without a key", "\x7F", "+NoKey -NoKey"},
      {"key test", "<TEST>", "+Shift +Home -Home -Shift"},
      {"mouse-button key", "<RIGHT MOUSE>", "+RButton -RButton"},
      {"caps lock key", "<CAPLOCK>", "+Caps -Caps +Caps -Caps"},  // pressed; the end gives the state back
      {"remark", "<REM:any text>x", "+X -X"},
      {"remark without end", "<REM:no end x", ""},
      {"disabled command", "<DIS:<DELAY:00010>\x02x", "+X -X"},
      {"disabled command without end", "<DIS:<TAB>x", ""},
      {"block ends met on their own", "<ENDREP><ELSE><ENDIF>x", "+X -X"},
      {"percent without a reference", "%Q", "+Shift +5 -5 -Shift +Shift +Q -Q -Shift"},
      {"lower-case reference is text", "%t1%", "+Shift +5 -5 -Shift +T -T +1 -1 +Shift +5 -5 -Shift"},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    input.keys.clear();
    host.state = RunState{};
    input.SetToggled(vk::kCapital, false);
    Play(c.text);
    ExpectKeys(c.keys);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(input.KeysDown().empty());
  }
}

TEST_F(InterpreterTest, VariableReferencesPlayTheirValuesAsMacroText) {
  host.state.vars.text[1] = "x%T2%y";
  host.state.vars.text[2] = "<ENTER>";
  host.state.vars.integer[3] = -7;
  host.state.vars.decimal[1] = 0.1;
  Play("%T1%-%N3%-%D1%");
  ExpectKeys("+X -X +Enter -Enter +Y -Y +Minus -Minus +Minus -Minus +7 -7 +Minus -Minus "
             "+0 -0 +Period -Period +1 -1 +0 -0 +0 -0 +0 -0");
}

TEST_F(InterpreterTest, ReferencesEdgeCases) {
  struct Case {
    const char* name;
    std::string text;
    const char* keys;
  };
  const Case cases[] = {
      {"a variable naming itself is not played again", "%T5%", "+X -X +Y -Y"},
      {"self-removal needs the same spelling", "%T05%", "+X -X +X -X +Y -Y +Y -Y"},
      {"no closing percent ends the pass", "50%The end", "+5 -5 +0 -0"},
      {"out-of-range numbers read as empty", "%T100%%N51%a", "+0 -0 +A -A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    input.keys.clear();
    host.state = RunState{};
    host.state.vars.text[5] = "x%T5%y";
    Play(c.text);
    ExpectKeys(c.keys);
  }
}

TEST_F(InterpreterTest, PassesRepeatTheTextAndStoreTheCounter) {
  std::vector<std::int32_t> seen;
  host.onPump = [&](int) { seen.push_back(host.state.vars.integer[5]); };
  interpreter.DoMacro("ab", 3, 1, 1, false, true, 5);
  ExpectKeys("+A -A +B -B +A -A +B -B +A -A +B -B");
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(host.state.vars.integer[5], 3);

  input.keys.clear();
  interpreter.DoMacro("ab", 0, 1, 1, false, false, 0);
  EXPECT_TRUE(input.keys.empty());
}

TEST_F(InterpreterTest, PumpsAfterEveryCharacterAndCommand) {
  Play("ab<TAB>\r\n%T1%");
  // a, b, <TAB>, CR LF, the reference (its empty value plays nothing).
  EXPECT_EQ(host.pumps, 5);
}

TEST_F(InterpreterTest, LockKeysFollowTheReportedStates) {
  // Caps Lock off: "<TOG:1>" presses it, and the end of the run keeps it on.
  Play("<TOG:1>");
  ExpectKeys("+Caps -Caps");
  EXPECT_TRUE(input.GetKeyState(vk::kCapital) & 1);
  EXPECT_EQ(host.pauses, std::vector<double>{0.1});

  // Already on: nothing is pressed.
  input.keys.clear();
  host.state.capsLockOn = true;
  host.state.capsWasOn = true;
  Play("<TOG:1>");
  ExpectKeys("");

  // Num Lock and Scroll Lock on, then off; an unknown kind only pauses.
  input.keys.clear();
  host.pauses.clear();
  Play("<TOG:3><TOG:5><TOG:4><TOG:6><TOG:7><TOG:x>");
  ExpectKeys("+Num -Num +Scroll -Scroll +Num -Num +Scroll -Scroll");
  EXPECT_EQ(host.pauses.size(), 6u);
}

TEST_F(InterpreterTest, RestoresCapsLockAtTheEndOfATopLevelRun) {
  // The run began with Caps Lock on (the frame turned it off): the end turns it back on.
  host.state.capsWasOn = true;
  Play("a");
  ExpectKeys("+A -A +Caps -Caps");

  // The editor's test run does not restore it; neither does an empty text that was not asked to.
  input.keys.clear();
  input.SetToggled(vk::kCapital, false);
  host.state.capsLockOn = false;
  Play("a", false);
  ExpectKeys("+A -A");
  input.keys.clear();
  Play("", true);
  ExpectKeys("+Caps -Caps");
}

TEST_F(InterpreterTest, KeyDelayWaitsBeforeEachTypedKey) {
  host.state.keyDelayOn = true;
  host.state.keyDelay = 10;
  host.state.speedFactor = 2.0;
  Play("a<CTRLD><ENTER>");
  // One 20 ms wait (pumping until the ticks pass it) before "a" and before <ENTER>, none
  // before the hold tag.
  EXPECT_GE(host.pumps, 2 * 20);
  host.pumps = 0;
  host.state.speedFactor = 0.0;
  input.keys.clear();
  Play("a");
  EXPECT_EQ(host.pumps, 1);
}

TEST_F(InterpreterTest, RunLeavesNoKeyHeld) {
  const char* texts[] = {"x<CTRLD>", "<SHIFT>", "<ALT>", "<SHFD><ALTD>a", "<WIND>", "%T1%b"};
  host.state.vars.text[1] = "<SHIFT>";
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    input.keys.clear();
    Play(text);
    EXPECT_TRUE(input.KeysDown().empty());
  }
  input.keys.clear();
  Play("x<CTRLD>");
  ExpectKeys("+X -X +Ctrl -Ctrl");
  // A pending "<SHIFT>" of a variable's value stays down over the rest of the text, then goes up.
  input.keys.clear();
  Play("%T1%b");
  ExpectKeys("+Shift +B -B -Shift");
}

TEST_F(InterpreterTest, AbortStopsTheRunAndEachLevelWithTextLeftReportsIt) {
  host.state.currentMacroName = "Greeting";
  host.onPump = [&](int pump) {
    if (pump == 1) host.state.abortMacro = true;
  };
  Play("abc");
  ExpectKeys("+A -A");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Macro Abort", "Wendrix 2000 macro has been aborted. (Macro Name: Greeting)"}}));

  // An abort that arrives with the last character ends the run without a box.
  host.state = RunState{};
  host.boxes.clear();
  host.pumps = 0;
  input.keys.clear();
  host.onPump = [&](int pump) {
    if (pump == 2) host.state.abortMacro = true;
  };
  Play("ab");
  ExpectKeys("+A -A +B -B");
  EXPECT_TRUE(host.boxes.empty());

  // Keys held down when the abort came go up.
  host.state = RunState{};
  host.pumps = 0;
  input.keys.clear();
  host.onPump = [&](int pump) {
    if (pump == 2) host.state.abortMacro = true;
  };
  host.state.showErrors = false;
  host.state.logErrors = true;
  Play("<SHFD>abc");
  ExpectKeys("+Shift +A -A -Shift");
  EXPECT_EQ(host.log, std::vector<std::string>{"Wendrix 2000 macro has been aborted."});
  EXPECT_TRUE(host.boxes.empty());
}

// A box takes the focus and waits for the user: the keys the run held are up before it shows,
// whether the abort key or a failing command ended the run.
TEST_F(InterpreterTest, HeldKeysGoUpBeforeTheBoxOfAnEndingRun) {
  struct BoxHost : TestHost {
    explicit BoxHost(platform::MemoryInput& in) : TestHost(in), input(in) {}
    void DoAMessage(const std::string& caption, const std::string& text) override {
      downAtBox.push_back(input.KeysDown().size());
      TestHost::DoAMessage(caption, text);
    }
    platform::MemoryInput& input;
    std::vector<std::size_t> downAtBox;
  };
  for (const bool byAbortKey : {true, false}) {
    SCOPED_TRACE(byAbortKey ? "abort key" : "failing command");
    platform::MemoryInput keys;
    BoxHost boxHost(keys);
    Interpreter in(boxHost);
    boxHost.onPump = [&](int pump) {
      if (byAbortKey && pump == 4) boxHost.state.abortMacro = true;
    };
    in.DoMacro(byAbortKey ? "<CTRLD><ALTD>ab%T1%cd" : "<CTRLD><ALTD>a<BEEP>bcd", 1, 1, 1, true, false, 0);
    ASSERT_FALSE(boxHost.downAtBox.empty());
    for (const std::size_t down : boxHost.downAtBox) EXPECT_EQ(down, 0u);
    EXPECT_TRUE(keys.KeysDown().empty());
  }
}

TEST_F(InterpreterTest, FailureInAVariableValueIsReportedOncePerLevelWithTextLeft) {
  host.state.currentMacroName = "M";
  host.state.vars.text[1] = "<CLIPSG:c>xy";  // a command whose facility this host lacks fails the run
  Play("a%T1%b");
  ExpectKeys("+A -A");
  const std::string abortText = "Wendrix 2000 macro has been aborted. (Macro Name: M)";
  ASSERT_EQ(host.boxes.size(), 3u);
  EXPECT_EQ(host.boxes[0].caption, "Clipboard Error");
  EXPECT_EQ(host.boxes[0].text, "The clipboard is not available in this build. Macro will abort. (Macro Name: M)");
  EXPECT_EQ(host.boxes[1], (Box{"Macro Abort", abortText}));
  EXPECT_EQ(host.boxes[2], (Box{"Macro Abort", abortText}));
  EXPECT_TRUE(host.state.abortMacro);

  // A failure with nothing left after it, at every level, shows only its own box.
  host.state = RunState{};
  host.boxes.clear();
  host.state.vars.text[1] = "<CLIPSG:c>";
  Play("%T1%");
  EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(InterpreterTest, CommandsOfOtherFamiliesSkipTheirFieldsAndFail) {
  struct Case {
    std::string text;
    std::size_t aborts;  // "Macro Abort" boxes after the command's own
  };
  const Case cases[] = {
      {"<CLIPST:Untitled>", 0},
      {"<CLIPST:Untitled>x", 1},
      {"<CLIPAT:Untitled>", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    host.state = RunState{};
    host.boxes.clear();
    input.keys.clear();
    host.state.logErrors = true;
    host.log.clear();
    Play(c.text);
    ASSERT_EQ(host.boxes.size(), 1 + c.aborts);
    EXPECT_EQ(host.boxes[0].caption, "Clipboard Error");  // this host has no clipboard
    EXPECT_EQ(host.log.size(), 1 + c.aborts);
    EXPECT_TRUE(input.keys.empty());
  }
}

TEST_F(InterpreterTest, VariablesReferringToEachOtherStopWithOneError) {
  const std::pair<std::string, std::string> loops[] = {{"%T2%", "%T1%"}, {"%T2%a", "%T1%b"}, {"x%T2%", "y%T1%"}};
  for (const auto& [t1, t2] : loops) {
    SCOPED_TRACE(t1 + " / " + t2);
    host.state = RunState{};
    host.boxes.clear();
    input.keys.clear();
    host.state.vars.text[1] = t1;
    host.state.vars.text[2] = t2;
    Play("%T1%z");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Macro Error");
    EXPECT_NE(host.boxes[0].text.find("Macro will abort."), std::string::npos);
    EXPECT_TRUE(host.state.abortMacro);
    EXPECT_TRUE(input.KeysDown().empty());
  }
  // The next run starts clean.
  host.state.abortMacro = false;
  host.boxes.clear();
  input.keys.clear();
  Play("a");
  ExpectKeys("+A -A");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(InterpreterTest, DeepButFiniteNestingPlays) {
  // T1 -> T2 -> ... -> T50 -> "q": well inside the limit.
  for (int i = 1; i < 50; ++i) host.state.vars.text[i] = "%T" + std::to_string(i + 1) + "%";
  host.state.vars.text[50] = "q";
  Play("%T1%");
  ExpectKeys("+Q -Q");
  EXPECT_TRUE(host.boxes.empty());
}

// A family whose "<DELAY:" runs out of memory.
class OutOfMemoryFamily final : public CommandFamily {
 public:
  explicit OutOfMemoryFamily(Interpreter& in) { in.Claim<&Run>(TagId::kDelay, *this); }
  static void Run(Interpreter&, Level&, const TagInfo&) { throw std::bad_alloc(); }
};

TEST_F(InterpreterTest, ACommandOutOfMemoryAbortsTheMacroNotThePlayer) {
  interpreter.AddFamily(std::make_unique<OutOfMemoryFamily>(interpreter));
  host.state.vars.text[1] = "b<DELAY:00001>c";
  Play("a<SHIFT>%T1%d");
  ExpectKeys("+A -A +Shift +B -B -Shift");  // the held Shift goes up with the run
  ASSERT_EQ(host.boxes.size(), 3u);  // the failure, then each level with text left
  EXPECT_EQ(host.boxes[0].caption, "Macro Error");
  EXPECT_NE(host.boxes[0].text.find("not enough memory"), std::string::npos);
  EXPECT_TRUE(host.state.abortMacro);
}

TEST_F(InterpreterTest, AbortSetBeforeTheRunPlaysNothing) {
  host.state.abortMacro = true;
  host.state.capsWasOn = true;
  Play("abc");
  ExpectKeys("");
  EXPECT_TRUE(host.boxes.empty());
}

// A family with state of its own: "<WMAX:" + a letter + ">" here stands for a command that
// goes on ("g"), jumps over the next character ("j") or leaves the level ("l"), and counts
// the tags it ran since the start of the run.
class ProbeFamily final : public CommandFamily {
 public:
  explicit ProbeFamily(Interpreter& in) { in.Claim<&ProbeFamily::Run>(TagId::kWmax, *this); }
  Flow Run(Interpreter& /*in*/, Level& level, const TagInfo& tag) {
    ++ran;
    const std::size_t end = TagEnd(tag, level.text, level.cursor);
    switch (level.At(level.cursor + 6)) {
      case 'j': return Flow::JumpTo(end + 1);
      case 'l': return Flow::LeaveLevel();
      default: return Flow::GoOn();
    }
  }
  void ResetForRun() override {
    ran = 0;
    ++resets;
  }
  int ran = 0;
  int resets = 0;
};

TEST_F(InterpreterTest, FamiliesSayWhatHappensNextAndAreResetPerRun) {
  interpreter.AddFamily(std::make_unique<ProbeFamily>(interpreter));
  ProbeFamily& probe = *interpreter.Find<ProbeFamily>();
  struct Case {
    const char* name;
    std::string text;
    const char* keys;
  };
  const Case cases[] = {
      {"go on past the tag", "<WMAX:g>a", "+A -A"},
      {"jump", "<WMAX:j>ab", "+B -B"},
      {"leave this level only", "%T1%c", "+A -A +C -C"},
  };
  host.state.vars.text[1] = "a<WMAX:l>b";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    input.keys.clear();
    Play(c.text);
    ExpectKeys(c.keys);
    EXPECT_EQ(probe.ran, 1);
  }
  // One reset per top-level run, none for the nested level of the variable.
  EXPECT_EQ(probe.resets, 3);
  EXPECT_TRUE(host.boxes.empty());
}

}  // namespace
}  // namespace wdx::player
