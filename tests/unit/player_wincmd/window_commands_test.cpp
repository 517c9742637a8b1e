// Window commands over the stand-in desktop: the rectangles after every size and position form
// on a known screen, the anchors, the show, quit and system commands, the window a field names,
// and the failing activation that ends the run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using platform::Rect;
using testing::ClockHost;
using testing::TypedText;

constexpr std::uint32_t kSysCommand = 0x0112;

class WindowCommandsTest : public ::testing::Test {
 protected:
  WindowCommandsTest() {
    mem.input.SetScreenSize({800, 600});
    other = mem.desktop.AddForeignWindow("Calculator", "Calc", 7, {0, 0, 200, 200});
    pad = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 8, {100, 50, 500, 350});
  }

  std::string Play(const std::string& text) {
    mem.input.keys.clear();
    st.abortMacro = false;
    interpreter.DoMacro(text);
    return TypedText(mem.input.keys);
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
  RunState& st = host.state;
  platform::WindowHandle other = platform::kNoWindow;
  platform::WindowHandle pad = platform::kNoWindow;
};

// The rectangle of a 400 by 300 window at (100, 50) on an 800 by 600 screen after each command;
// N1 = 300 and N2 = 200.
TEST_F(WindowCommandsTest, SizesAndPlacesOnAKnownScreen) {
  struct Case {
    std::string tag;
    Rect expected;
  };
  const std::vector<Case> cases = {
      {"<WSIZE:0640,0480Notepad>", {100, 50, 740, 530}},
      {"<WSIZE:001N,002N Notepad>", {100, 50, 400, 250}},
      {"<WSIZE:051N,0100Notepad>", {100, 50, 151, 150}},  // 51 is no variable
      {"<WSIZE:0000,0000Notepad>", {100, 50, 100, 50}},
      {"<WSIZE:9999,9999Notepad>", {100, 50, 10099, 10049}},
      {"<WSIZEPIX:0010,-010Notepad>", {100, 50, 510, 340}},
      {"<WSIZEPER:0050,-050Notepad>", {100, 50, 700, 200}},
      {"<WPOS:0010,0020Notepad>", {10, 20, 410, 320}},
      {"<WPOS2:-0010,99999Notepad>", {-10, 99999, 390, 100299}},
      {"<WPOS2PIX:-0010,00000Notepad>", {90, 50, 490, 350}},
      {"<WPOS2PER:00010,-0010Notepad>", {180, -10, 580, 290}},
      {"<WPOS2TL:Notepad>", {0, 0, 400, 300}},
      {"<WPOS2TC:Notepad>", {200, 0, 600, 300}},
      {"<WPOS2TR:Notepad>", {400, 0, 800, 300}},
      {"<WPOS2LC:Notepad>", {0, 150, 400, 450}},
      {"<WPOS2CC:Notepad>", {200, 150, 600, 450}},
      {"<WPOS2RC:Notepad>", {400, 150, 800, 450}},
      {"<WPOS2BL:Notepad>", {0, 300, 400, 600}},
      {"<WPOS2BC:Notepad>", {200, 300, 600, 600}},
      {"<WPOS2BR:Notepad>", {400, 300, 800, 600}},
      {"<WPOS2CC:untitled>", {200, 150, 600, 450}},  // part of the title, any case
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    mem.desktop.MoveWindow(pad, {100, 50, 500, 350});
    st.vars.integer[1] = 300;
    st.vars.integer[2] = 200;
    EXPECT_EQ(Play(c.tag + "ok"), "ok");
    EXPECT_EQ(mem.desktop.GetWindowRect(pad), c.expected);
    EXPECT_EQ(mem.desktop.GetWindowRect(other), (Rect{0, 0, 200, 200}));
  }
}

TEST_F(WindowCommandsTest, CentringAWindowWiderThanTheScreenTruncatesTowardZero) {
  mem.desktop.MoveWindow(pad, {0, 0, 1001, 601});
  Play("<WPOS2CC:Notepad>");
  EXPECT_EQ(mem.desktop.GetWindowRect(pad), (Rect{-100, 0, 901, 601}));
}

TEST_F(WindowCommandsTest, CurrentNamesTheWindowInFront) {
  mem.desktop.SetForeground(other);
  Play("<WPOS2TL:\"CURRENT\"><WSIZE:0100,0100\"CURRENT\">");
  EXPECT_EQ(mem.desktop.GetWindowRect(other), (Rect{0, 0, 100, 100}));
  EXPECT_EQ(mem.desktop.GetWindowRect(pad), (Rect{100, 50, 500, 350}));
}

TEST_F(WindowCommandsTest, ShowHideQuitAndSystemCommandsReachTheWindow) {
  Play("<WHIDE:Notepad>");
  EXPECT_FALSE(mem.desktop.IsVisible(pad));
  Play("<WSHOW:Notepad>");
  EXPECT_TRUE(mem.desktop.IsVisible(pad));
  mem.desktop.foreignMessages.clear();
  Play("<WMAX:Notepad><WMIN:Notepad><WRES:Notepad><WCLS:Notepad><WSHUT:Notepad>");
  std::vector<std::pair<std::uint32_t, std::uint64_t>> seen;
  for (const platform::Message& m : mem.desktop.foreignMessages) {
    EXPECT_EQ(m.window, pad);
    seen.emplace_back(m.message, m.wparam);
  }
  const std::vector<std::pair<std::uint32_t, std::uint64_t>> expected = {
      {kSysCommand, 0xF030}, {kSysCommand, 0xF020}, {kSysCommand, 0xF120}, {kSysCommand, 0xF060},
      {platform::msg::kQuit, 0}};
  EXPECT_EQ(seen, expected);
}

// A window that is not there, an empty field and a field without its ">" do nothing and say
// nothing; the run goes on after the tag (or ends with the text).
TEST_F(WindowCommandsTest, MissingWindowsAreQuietlySkipped) {
  mem.desktop.foreignMessages.clear();
  EXPECT_EQ(Play("a<WMAX:No Such Window>b<WHIDE:>c<WSIZE:0100,0100>d<WPOS2CC:Nope>e"), "abcde");
  EXPECT_EQ(Play("a<WSIZE:0100,0100Notepad"), "a");
  EXPECT_EQ(mem.desktop.GetWindowRect(pad), (Rect{100, 50, 200, 150}));
  EXPECT_TRUE(mem.desktop.foreignMessages.empty());
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_FALSE(st.abortMacro);
}

TEST_F(WindowCommandsTest, ActivateBringsTheWindowToTheFront) {
  mem.desktop.SetForeground(other);
  EXPECT_EQ(Play("<ACTIVATE:notepad>x"), "x");
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), pad);
  EXPECT_EQ(st.targetWindow, pad);
}

// The message says the macro will abort: the rest of the text, the passes left of an enclosing
// block and the text after the block are not played.
TEST_F(WindowCommandsTest, ActivateOfAMissingWindowAbortsTheMacro) {
  struct Case {
    std::string text;
    std::string title;
  };
  const std::vector<Case> cases = {
      {"a<ACTIVATE:Gone>b", "Gone"},
      {"a<REPEAT:0003>c<ACTIVATE:Gone>d<ENDREP>e", "Gone"},
      {"a<ACTIVATE:>b", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    host.boxes.clear();
    EXPECT_EQ(Play(c.text), c.text.find("REPEAT") != std::string::npos ? "ac" : "a");
    EXPECT_TRUE(st.abortMacro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Activate Command Failed");
    EXPECT_EQ(host.boxes[0].text, "Specified window title of \"" + c.title +
                                      "\" could not be found on your computer. Macro will abort. (Macro Name: )");
  }
}

TEST_F(WindowCommandsTest, TitlesWithTextVariablesAreExpanded) {
  host.expand = [](std::string& text, std::size_t) { text = "Untitled - Notepad"; };
  Play("<WPOS2TL:%T1>");
  EXPECT_EQ(host.expanded, std::vector<std::string>{"%T1"});
  EXPECT_EQ(mem.desktop.GetWindowRect(pad), (Rect{0, 0, 400, 300}));
}

}  // namespace
}  // namespace wdx::player
