// CD audio commands over a scripted disc: opening (which drive, once), the commands each tag
// gives the device, the position arithmetic of next, previous, go to, step and back, and the
// failures of a device without a disc or a computer without a CD drive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using testing::Box;
using testing::ClockHost;

class CdAudioTest : public ::testing::Test {
 protected:
  CdAudioTest() { mem.media.cdDrives = {"D:", "E:"}; }
  std::vector<std::string> Play(const std::string& text) {
    mem.media.calls.clear();
    interpreter.DoMacro(text);
    return mem.media.calls;
  }
  void At(std::uint32_t track, std::uint32_t second, std::uint32_t mode = platform::media_mode::kStopped) {
    mem.media.track = track;
    mem.media.second = second;
    mem.media.mode = mode;
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

TEST_F(CdAudioTest, TheDeviceOpensOnceOnTheDriveTheTagChose) {
  // The first CD drive, shareable, in track-minutes-seconds-frames time.
  EXPECT_EQ(Play("<CDPLAY>"), (std::vector<std::string>{"open cd D: shareable", "time format 10", "play"}));
  // Open: the drive part is not looked at.
  EXPECT_EQ(Play("<CDPLAY:FE>"), std::vector<std::string>{"play"});
  EXPECT_EQ(Play("<CDSTOP>"), (std::vector<std::string>{"stop", "close"}));
  // "F" and a letter: that drive, as the editor's dialog writes a chosen drive.
  EXPECT_EQ(Play("<CDPLAY:FE>"), (std::vector<std::string>{"open cd E: shareable", "time format 10", "play"}));
  EXPECT_EQ(Play("<CDEJECT>"), (std::vector<std::string>{"door open", "close"}));
  // "T": the first drive available, whatever letter follows.
  EXPECT_EQ(Play("<CDGOTO:TE03>"),
            (std::vector<std::string>{"open cd D: shareable", "time format 10", "play from 3 0:00"}));
  EXPECT_EQ(Play("<CDCLOSE:FE>"), (std::vector<std::string>{"door closed", "close"}));
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CdAudioTest, PositionArithmetic) {
  // Tracks of 3:20, 4:30, 3:05 and 4:00.
  Play("<CDPLAY>");
  struct Case {
    std::string macro;
    std::uint32_t track, second, mode;
    std::vector<std::string> calls;
  };
  namespace mm = platform::media_mode;
  const std::vector<Case> cases = {
      {"<CDSTEP:10>", 2, 115, mm::kPlaying, {"seek 2 2:05", "play"}},
      {"<CDSTEP:99>", 2, 30, mm::kPlaying, {"seek 2 2:09", "play"}},
      {"<CDSTEP:30>", 2, 255, mm::kPlaying, {"seek 3 0:15", "play"}},  // past the end: into the next track
      {"<CDSTEP:30>", 4, 230, mm::kPlaying, {"seek 4 3:59", "play"}},  // the last track: its end
      {"<CDBACK:10>", 1, 5, mm::kPlaying, {"seek 1 0:00", "play"}},
      {"<CDBACK:10>", 2, 65, mm::kPlaying, {"seek 2 0:55", "play"}},
      {"<CDBACK:20>", 3, 5, mm::kPlaying, {"seek 2 4:15", "play"}},  // before the start: into the track before
      {"<CDGOTO:03>", 1, 40, mm::kStopped, {"play from 3 0:00"}},
      {"<CDNEXT>", 2, 40, mm::kPlaying, {"play from 3 0:00"}},
      {"<CDNEXT>", 2, 40, mm::kStopped, {"seek 3 0:00"}},
      {"<CDNEXT>", 4, 40, mm::kStopped, {"seek 4 0:00"}},  // the last track has no next
      {"<CDPREV>", 3, 40, mm::kPlaying, {"play from 3 0:00"}},
      {"<CDPREV>", 3, 0, mm::kStopped, {"seek 2 0:00"}},
      {"<CDPREV>", 1, 0, mm::kStopped, {"seek 1 0:00"}},
      {"<CDPAUSE>", 1, 10, mm::kPlaying, {"pause"}},
      {"<CDPAUSE>", 1, 10, mm::kPaused, {"resume"}},
      {"<CDPAUSE>", 1, 10, mm::kStopped, {}},
      {"<CDSTEP:1>", 1, 10, mm::kStopped, {}},  // one digit: typed as text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.macro + " at " + std::to_string(c.track) + " " + std::to_string(c.second));
    At(c.track, c.second, c.mode);
    EXPECT_EQ(Play(c.macro), c.calls);
  }
  EXPECT_EQ(testing::TypedText(mem.input.keys), "<CDSTEP:1>");
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CdAudioTest, DeviceFailuresAreReportedAndTheMacroGoesOn) {
  mem.media.discIn = false;
  interpreter.DoMacro("<CDPLAY>a");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"CD Audio Error", "The device is not ready."}}));
  EXPECT_EQ(testing::TypedText(mem.input.keys), "a");
  EXPECT_FALSE(host.state.abortMacro);

  // A drive the system does not have: not opened, so the next command tries again.
  host.boxes.clear();
  mem.media.discIn = true;
  EXPECT_EQ(Play("<CDSTOP><CDPLAY:FQ>"), (std::vector<std::string>{"stop", "close", "open cd Q: shareable"}));
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"CD Audio Error", "Invalid MCI device ID."}}));

}

TEST_F(CdAudioTest, WithoutACdDriveEveryCommandSaysSo) {
  mem.media.cdDrives.clear();
  EXPECT_TRUE(Play("<CDPLAY><CDEJECT>").empty());
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"CD Audio Error", "There is no CD drive on this computer."},
                                          {"CD Audio Error", "There is no CD drive on this computer."}}));
}

}  // namespace
}  // namespace wdx::player
