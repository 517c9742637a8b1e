// Mouse commands over the stand-in input: the exact events of each tag, the 0..65535 scaling on
// a known screen, the moves relative to the pointer and the window in front, the caret move and
// its message, and the mouse-action delay once per command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using platform::MouseEventRecord;
using testing::ClockHost;
namespace mf = platform::mouseflag;

class MouseCommandsTest : public ::testing::Test {
 protected:
  MouseCommandsTest() { mem.input.SetScreenSize({1024, 768}); }
  std::vector<MouseEventRecord> Play(const std::string& text) {
    mem.input.mouse.clear();
    interpreter.DoMacro(text);
    return mem.input.mouse;
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
  RunState& st = host.state;
};

TEST_F(MouseCommandsTest, ButtonsAndWheelSendTheirEvents) {
  using E = MouseEventRecord;
  struct Case {
    std::string tag;
    std::vector<E> events;
  };
  const std::vector<Case> cases = {
      // A button the macro leaves down goes up when the run ends.
      {"<LDN>", {{mf::kLeftDown}, {mf::kLeftUp}}},
      {"<LDN>x<LUP>", {{mf::kLeftDown}, {mf::kLeftUp}}},
      {"<LUP>", {{mf::kLeftUp}}},
      {"<LCLK>", {{mf::kLeftDown}, {mf::kLeftUp}}},
      {"<LDCLK>", {{mf::kLeftDown}, {mf::kLeftUp}, {mf::kLeftDown}, {mf::kLeftUp}}},
      {"<RCLK>", {{mf::kRightDown}, {mf::kRightUp}}},
      {"<RDCLK>", {{mf::kRightDown}, {mf::kRightUp}, {mf::kRightDown}, {mf::kRightUp}}},
      {"<MDN><MUP>", {{mf::kMiddleDown}, {mf::kMiddleUp}}},
      {"<MDCLK>", {{mf::kMiddleDown}, {mf::kMiddleUp}, {mf::kMiddleDown}, {mf::kMiddleUp}}},
      {"<WFW:003>", {{mf::kWheel, 0, 0, 360}}},
      {"<WBW:002>", {{mf::kWheel, 0, 0, -240}}},
      // Last: a stopped run stays stopped.
      {"<RDN><MDN><MSTOP><MUP>", {{mf::kRightDown}, {mf::kMiddleDown}, {mf::kRightUp}, {mf::kMiddleUp}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(Play(c.tag), c.events);
  }
}

TEST_F(MouseCommandsTest, MovesScaleToTheAbsoluteRange) {
  constexpr std::uint32_t kAbs = mf::kMove | mf::kAbsolute;
  st.vars.integer[3] = 512;
  mem.input.SetCursorPos({100, 200});
  const platform::WindowHandle w = mem.desktop.AddForeignWindow("Front", "F", 5, {256, 192, 600, 500});
  mem.desktop.SetForeground(w);
  struct Case {
    std::string tag;
    MouseEventRecord event;
  };
  const std::vector<Case> cases = {
      {"<MMP:-0010,00000>", {kAbs, 5759, 17066}},  // from the pointer at (100, 200)
      {"<MMS:01024,00768>", {kAbs, 65535, 65535}},
      {"<MMS:00000,00000>", {kAbs, 0, 0}},
      {"<MMS:0003N,00384>", {kAbs, 32767, 32767}},
      {"<MMS:0051N,00001>", {kAbs, 3263, 85}},  // 51 is no variable
      {"<MMW:00000,00000>", {kAbs, 16383, 16383}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(Play(c.tag), std::vector<MouseEventRecord>{c.event});
  }
}

TEST_F(MouseCommandsTest, TheDelayComesOnceBeforeTheFirstEvent) {
  st.mouseDelayOn = true;
  st.mouseDelay = 500;
  const std::uint64_t start = host.Now();
  Play("<SPMSE:0500><LDCLK>");
  EXPECT_EQ(mem.input.mouse.size(), 4u);
  EXPECT_GE(host.Now() - start, 500u);
  EXPECT_LT(host.Now() - start, 1000u);
}

TEST_F(MouseCommandsTest, TheCaretMoveSaysSoWhenThereIsNoCaret) {
  const platform::WindowHandle w = mem.desktop.AddForeignWindow("Editor", "E", 5);
  mem.desktop.SetForeground(w);
  interpreter.DoMacro("<MMC>a");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Error");
  EXPECT_EQ(host.boxes[0].text, "Could not move the mouse to the location of the caret.");
  EXPECT_FALSE(st.abortMacro);
  mem.desktop.SetCaret(w, platform::Point{300, 400});
  host.boxes.clear();
  interpreter.DoMacro("<MMC>");
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_EQ(mem.input.GetCursorPos(), (platform::Point{300, 400}));
}

}  // namespace
}  // namespace wdx::player
