// Delays, the speed factor and the key delay, timed on the stand-in clock.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using testing::ClockHost;
using testing::TypedText;

class TimingTest : public ::testing::Test {
 protected:
  void Play(const std::string& text) { interpreter.DoMacro(text, 1, 1, 1, false, false, 0); }
  void Reset() {
    host.state = RunState{};
    host.pauses.clear();
    host.boxes.clear();
    mem.input.keys.clear();
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

// The clock moves only in pumps (1 ms each) and in blocking waits, so a run takes exactly its
// waits plus one pump per step of the text.
TEST_F(TimingTest, EachDelayAndSpeedWaitsExactlyWhatItShould) {
  struct Case {
    const char* text;
    int steps;              // interpreter steps, each pumped once afterwards
    std::uint64_t pumped;   // milliseconds waited while pumping
    std::uint64_t blocked;  // milliseconds waited without pumping
    const char* typed;
  };
  const Case cases[] = {
      {"<MSD:0250>", 1, 250, 0, ""},
      {"<IMSD:0250>", 1, 250, 0, ""},
      {"<SPEED:02.00><MSD:0250>", 2, 500, 0, ""},
      {"<SPEED:02.00><IMSD:0250>", 2, 250, 0, ""},
      {"<SPEED:00.50><MSD:0250>", 2, 125, 0, ""},
      {"<SPEED:00000><MSD:0250>", 2, 0, 0, ""},
      {"<SPEED:00000><IMSD:0250>", 2, 250, 0, ""},
      {"<SPEED:0x.50><MSD:0100>", 2, 100, 0, ""},    // not a number: the factor stays 1
      {"<SPEED:00002><SPEED:1.2.3><MSD:0100>", 3, 200, 0, ""},
      {"<SPKEY:0100>ab", 3, 200, 0, "ab"},
      {"<SPKEY:0100><TAB>", 2, 100, 0, "\t"},          // named keys wait too
      {"<SPEED:00.50><SPKEY:0100>ab", 4, 100, 0, "ab"},
      {"<SPEED:00000><SPKEY:0100>ab", 4, 0, 0, "ab"},
      {"<SPKEY:0100><SPKEY:0000>ab", 4, 0, 0, "ab"},
      {"<SPMSE:0100>ab", 3, 0, 0, "ab"},               // the mouse delay is not a key delay
      {"<TDELAY:05>", 1, 0, 5000, ""},
      {"<SPEED:00.50><TDELAY:05>", 2, 0, 2500, ""},
      {"<SPEED:00000><TDELAY:05>", 2, 0, 0, ""},
      {"<ITDELAY:02>", 1, 0, 2000, ""},
      {"<SPEED:00000><ITDELAY:02>", 2, 0, 2000, ""},
      {"<SPEED:00.50><ITDELAY:02>", 2, 0, 2000, ""},
      // Below zero waits nothing (a pumping wait still pumps once).
      {"<MSD:-100>", 1, 1, 0, ""},
      {"<IMSD:-100>", 1, 1, 0, ""},
      {"<TDELAY:-5>", 1, 0, 0, ""},
      {"<SPEED:-1.00><MSD:0100><TDELAY:01>", 3, 1, 0, ""},
      {"<SPEED:-1.00><SPKEY:0100>a", 3, 1, 0, "a"},
      // Wrong widths are typed as text and wait nothing.
      {"<MSD:250>", 9, 0, 0, "<MSD:250>"},
      {"<TDELAY:5>", 10, 0, 0, "<TDELAY:5>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Reset();
    const std::uint64_t start = host.Now();
    const int pumpsBefore = host.pumps;
    Play(c.text);
    const int pumps = host.pumps - pumpsBefore;
    EXPECT_EQ(host.Now() - start, c.steps + c.pumped + c.blocked);
    // Pumping waits pump once per millisecond (at least once); blocking waits never pump.
    EXPECT_EQ(static_cast<std::uint64_t>(pumps), c.steps + c.pumped);
    EXPECT_EQ(TypedText(mem.input.keys), c.typed);
    EXPECT_TRUE(host.boxes.empty());
  }
}

TEST_F(TimingTest, SecondDelaysGoToTheMainWindowsWaits) {
  struct Case {
    const char* text;
    std::vector<double> pauses;  // seconds waited as the host's wait records them
  };
  const Case cases[] = {
      {"<DELAY:00004>", {4.0}},
      {"<DELAY:05.00>", {5.0}},
      {"<SPEED:00.50><DELAY:00004>", {2.0}},
      {"<SPEED:00000><DELAY:00004>", {0.0}},
      {"<SPEED:00000><IDELAY:001.5>", {1.5}},
      {"<SPEED:00002><IDELAY:00001>", {1.0}},
      {"<DELAY:-0001>", {0.0}},
      {"<DELAY:0x.01>", {0.0}},
      {"<DELAY:0005>", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Reset();
    Play(c.text);
    EXPECT_EQ(host.pauses, c.pauses);
  }
}

TEST_F(TimingTest, SpeedAndDelaysLastUntilTheNextRunAndReachNestedLevels) {
  host.state.vars.text[1] = "<SPEED:00.50><SPKEY:0020>";
  Play("%T1%<MSD:0100>");
  EXPECT_EQ(host.state.speedFactor, 0.5);
  EXPECT_TRUE(host.state.keyDelayOn);
  EXPECT_EQ(host.state.keyDelay, 20);
  Play("<SPMSE:0300>");
  EXPECT_TRUE(host.state.mouseDelayOn);
  EXPECT_EQ(host.state.mouseDelay, 300);
  Play("<SPMSE:0000>");
  EXPECT_FALSE(host.state.mouseDelayOn);
}

TEST_F(TimingTest, WaitsPumpMessagesSoTimersTickAndAnAbortIsSeenAfterTheWait) {
  int ticks = 0;
  const platform::WindowHandle w = mem.desktop.CreateOwnWindow("Timer", "", [&](const platform::Message& m) {
    if (m.message == platform::msg::kTimer) ++ticks;
    return std::int64_t{0};
  });
  mem.desktop.SetTimer(w, 1, 100);
  // The abort key arrives in the middle of the wait: the wait runs to its end, and the next
  // step reports the abort instead of typing.
  host.onPump = [&](int pump) {
    if (pump == 50) host.state.abortMacro = true;
  };
  const std::uint64_t start = host.Now();
  Play("<IMSD:0250>x");
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(host.Now() - start, 251u);
  EXPECT_EQ(TypedText(mem.input.keys), "");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Macro Abort");
}

TEST_F(TimingTest, HugeSpeedFactorsWaitTheLongestWaitInsteadOfOverflowing) {
  EXPECT_EQ(TimedPauseMs(false, 99, 9e300), std::numeric_limits<std::uint32_t>::max() - 1);
  EXPECT_EQ(TimedPauseMs(true, 5, 0), 5000u);
  EXPECT_EQ(TimedPauseMs(false, 5, 0), 0u);
  EXPECT_EQ(TimedPauseMs(false, -5, 1), 0u);
  EXPECT_EQ(TimedPauseMs(false, 3, 0.1), 300u);
  // A scaled millisecond wait beyond 32 bits waits the longest one (pumping an hour at a time).
  host.pumpMs = 3600000;
  const std::uint64_t start = host.Now();
  Play("<SPEED:9E300><MSD:0001>");
  const std::uint64_t waited = host.Now() - start - 2 * host.pumpMs;
  EXPECT_GE(waited, 2147483647u);
  EXPECT_LT(waited, 2147483647u + host.pumpMs);
}

}  // namespace
}  // namespace wdx::player
