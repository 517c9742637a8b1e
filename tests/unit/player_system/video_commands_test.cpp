// Video clip commands over the stand-in's media device and the scripted form runner: the clip
// window's size from the clip, the three modes, the window closing itself at the clip's end,
// one window at a time, and a clip that cannot be opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock_host.h"
#include "forms/user.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using testing::Box;
using testing::ClockHost;

class VideoCommandsTest : public ::testing::Test {
 protected:
  VideoCommandsTest() {
    mem.input.SetScreenSize({1024, 768});
    mem.media.clips["C:\\clips\\big.avi"] = {320, 240};
    mem.media.clips["C:\\clips\\small.avi"] = {100, 80};
  }
  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

TEST_F(VideoCommandsTest, TheWindowTakesTheClipsSizeAndAtLeastTheButtonsWidth) {
  struct Seen {
    std::string caption;
    int width = 0, height = 0, left = 0, top = 0;
  };
  std::vector<Seen> seen;
  for (int i = 0; i < 2; ++i) {
    host.runner.Then([&](forms::Form& f) {
      seen.push_back({f.caption(), f.clientWidth(), f.clientHeight(), f.left(), f.top()});
      f.Close();
    });
  }
  interpreter.DoMacro("<AVI:C:\\clips\\big.avi><AVI:C:\\clips\\small.avi>x");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, "Video Clip Player");
  EXPECT_EQ(seen[0].width, 320);
  EXPECT_EQ(seen[0].height, 271);
  EXPECT_EQ(seen[1].width, 253);  // a clip narrower than the buttons
  EXPECT_EQ(seen[1].height, 111);
  EXPECT_EQ(mem.media.clipPlace, (platform::Rect{76, 0, 176, 80}));  // in the middle above the buttons
  // Open only: nothing plays until the user says so.
  EXPECT_EQ(mem.media.calls, (std::vector<std::string>{"open clip C:\\clips\\big.avi", "close",
                                                       "open clip C:\\clips\\small.avi", "close"}));
  EXPECT_EQ(testing::TypedText(mem.input.keys), "x");
}

TEST_F(VideoCommandsTest, PlayToTheEndClosesItselfAndPlayLeavesItToTheUser) {
  bool stillUp = false;
  host.runner.Then([&](forms::Form&) {
    // The clip ends; the window closes at the next look.
    mem.media.clipPlaying = false;
    for (int i = 0; i < 3 && mem.media.openClip; ++i) mem.desktop.WaitAndPump(1000);
    stillUp = mem.media.openClip.has_value();
  });
  host.state.vars.text[2] = "C:\\clips\\big.avi";
  host.expand = [&](std::string& text, std::size_t) {
    if (text == "%T2%") text = host.state.vars.text[2];
  };
  interpreter.DoMacro("<AVIE:%T2%>");
  EXPECT_FALSE(stillUp);
  ASSERT_EQ(host.runner.shown.size(), 1u);
  EXPECT_FALSE(host.runner.shown[0].leftOpen);
  EXPECT_EQ(mem.media.calls,
            (std::vector<std::string>{"open clip C:\\clips\\big.avi", "play clip", "close"}));

  // "<AVII:" plays at once and stays until the user closes it, with the player's buttons.
  mem.media.calls.clear();
  host.runner.Then([&](forms::Form& f) {
    forms::user::Click(*f.Find("PauseButton"));
    forms::user::Click(*f.Find("PlayButton"));
    f.Close();
  });
  interpreter.DoMacro("<AVII:C:\\clips\\small.avi>");
  EXPECT_EQ(mem.media.calls, (std::vector<std::string>{"open clip C:\\clips\\small.avi", "play clip", "pause",
                                                       "play clip", "close"}));
}

TEST_F(VideoCommandsTest, AClipThatCannotBeOpenedIsReportedAndTheMacroGoesOn) {
  interpreter.DoMacro("<AVII:C:\\clips\\missing.avi>y");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Error", "The video clip C:\\clips\\missing.avi cannot be played: "
                                                    "The specified file cannot be found."}}));
  EXPECT_EQ(testing::TypedText(mem.input.keys), "y");
  EXPECT_FALSE(host.state.abortMacro);
}

}  // namespace
}  // namespace wdx::player
