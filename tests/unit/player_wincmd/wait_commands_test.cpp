// Wait commands over the stand-in: each wait ends on the event it waits for (injected while the
// wait pumps messages, as the hook library's reports come), times out on the test clock with
// its message, stops at once on an abort, and leaves the hook library's flag as it found it.
// Also "<DOHOOK>" and the owner of the shell's launches.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"
#include "shared/date_time.h"

namespace wdx::player {
namespace {

using testing::ClockHost;
using testing::TypedText;

// The host with a hook library: the wait flags, the running programs and the hooks.
class WaitHost : public ClockHost {
 public:
  using ClockHost::ClockHost;
  bool AskForReport(WaitReport report, bool on) override {
    flags[static_cast<std::size_t>(report)] = on;
    asked.emplace_back(report, on);
    return true;
  }
  bool ReportAsked(WaitReport report) override { return flags[static_cast<std::size_t>(report)]; }
  std::optional<std::vector<std::string>> RunningPrograms(bool listAgain) override {
    if (listAgain) ++listings;
    return programs;
  }
  void ReinstallHooks() override { ++rehooks; }
  platform::WindowHandle OwnerWindow() override { return 4242; }

  std::array<bool, 4> flags{};
  std::vector<std::pair<WaitReport, bool>> asked;
  std::vector<std::string> programs;
  int listings = 0;
  int rehooks = 0;
};

class WaitCommandsTest : public ::testing::Test {
 protected:
  WaitCommandsTest() { host.pumpMs = 50; }

  // Plays the text; `at` runs once on the pump with that number (the run's own pumps count).
  std::string Play(const std::string& text, int at = 0, std::function<void()> event = {}) {
    mem.input.keys.clear();
    host.boxes.clear();
    host.pauses.clear();
    host.asked.clear();
    host.pumps = 0;
    st.abortMacro = false;
    host.onPump = [&](int pump) {
      if (pump == at && event) event();
      if (Waited() > kStuck) st.abortMacro = true;  // a wait that never ends fails the test, not the run
    };
    started = host.Now();
    interpreter.DoMacro(text);
    host.onPump = nullptr;
    return TypedText(mem.input.keys);
  }
  std::uint64_t Waited() const { return host.Now() - started; }
  static constexpr std::uint64_t kStuck = 1000ull * 3600 * 24 * 3;

  platform::MemoryPlatform mem;
  WaitHost host{mem};
  Interpreter interpreter{host};
  RunState& st = host.state;
  std::uint64_t started = 0;
};

TEST_F(WaitCommandsTest, WindowWaitsEndWhenTheFrontChanges) {
  const platform::WindowHandle calc = mem.desktop.AddForeignWindow("Calculator", "Calc", 7);
  mem.desktop.BringToFront(calc);
  // The window comes later; a part of its title in any case matches.
  EXPECT_EQ(Play("<WAITWIN:000:note>ok", 40,
                 [&] { mem.desktop.BringToFront(mem.desktop.AddForeignWindow("Untitled - Notepad", "N", 8)); }),
            "ok");
  EXPECT_GE(Waited(), 1500u);
  EXPECT_TRUE(host.boxes.empty());
  const platform::WindowHandle pad = mem.desktop.GetForegroundWindow();
  EXPECT_EQ(st.targetWindow, pad);

  // Already in front: the first look ends it.
  st.targetWindow = platform::kNoWindow;
  EXPECT_EQ(Play("<WAITWIN:000:NOTEPAD>ok"), "ok");
  EXPECT_LT(Waited(), 300u);
  EXPECT_EQ(st.targetWindow, pad);
  // With a time-out the window in front does not become the macro's window.
  st.targetWindow = platform::kNoWindow;
  EXPECT_EQ(Play("<WAITWIN:005:NOTEPAD>ok"), "ok");
  EXPECT_EQ(st.targetWindow, platform::kNoWindow);

  // Losing the front: ends once a titled window without the text is in front.
  EXPECT_EQ(Play("<WAITWLF:001:notepad>ok", 30, [&] { mem.desktop.BringToFront(calc); }), "ok");
  EXPECT_GE(Waited(), 1000u);
  EXPECT_EQ(st.targetWindow, calc);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WaitCommandsTest, ProgramWaitEndsWhenTheProgramIsGone) {
  host.programs = {"NOTEPAD.EXE", "CALC.EXE"};
  EXPECT_EQ(Play("<WAITPROG:000:word.exe>ok"), "ok");  // not running: at once
  EXPECT_LT(Waited(), 300u);
  host.listings = 0;
  EXPECT_EQ(Play("<WAITPROG:002:notepad>ok", 100, [&] { host.programs = {"CALC.EXE"}; }), "ok");
  EXPECT_TRUE(host.boxes.empty());
  // Listed again when the wait begins and every 2 seconds (100 pumps of 50 ms: 5 s).
  EXPECT_GE(host.listings, 3);
  EXPECT_LE(host.listings, 4);
}

TEST_F(WaitCommandsTest, ReportedEventsEndTheirWaits) {
  struct Case {
    std::string text;
    WaitReport report;
    std::function<void(RunState&)> event;
    bool ends;
  };
  const std::vector<Case> cases = {
      {"<WAITLM:001>", WaitReport::kClick, [](RunState& s) { s.clickSeen[0] = true; }, true},
      {"<WAITRM:001>", WaitReport::kClick, [](RunState& s) { s.clickSeen[1] = true; }, true},
      {"<WAITMM:001>", WaitReport::kClick, [](RunState& s) { s.clickSeen[2] = true; }, true},
      {"<WAITLM:001>", WaitReport::kClick, [](RunState& s) { s.clickSeen[1] = true; }, false},
      {"<WAITKEY:001:50>", WaitReport::kKey, [](RunState& s) { s.keySeenCode = 13; }, true},
      {"<WAITKEY:001:35>", WaitReport::kKey, [](RunState& s) { s.keySeenCode = '9'; }, true},
      {"<WAITKEY:001:0>", WaitReport::kKey, [](RunState& s) { s.keySeenCode = 'A'; }, true},
      {"<WAITKEY:001:47>", WaitReport::kKey, [](RunState& s) { s.keySeenCode = 0x7B; }, true},
      {"<WAITKEY:001:53>", WaitReport::kKey, [](RunState& s) { s.keySeenCode = 0x10; }, true},
      {"<WAITKEY:001:50>", WaitReport::kKey, [](RunState& s) { s.keySeenCode = 'A'; }, false},
      {"<WAITTXTN:001:abc>", WaitReport::kText, [](RunState& s) { s.waitTextBuffer = "ABC"; }, true},
      {"<WAITTXTY:001:abc>", WaitReport::kText, [](RunState& s) { s.waitTextBuffer = "abc"; }, true},
      {"<WAITTXTY:001:abc>", WaitReport::kText, [](RunState& s) { s.waitTextBuffer = "ABC"; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    st.clickSeen = {true, true, true};  // left from before: cleared when the wait begins
    st.keySeenCode = 13;
    EXPECT_EQ(Play(c.text + "ok", 20, [&] { c.event(st); }), c.ends ? "ok" : "");
    if (c.ends) {
      EXPECT_GE(Waited(), 900u);
      EXPECT_LT(Waited(), 2000u);
      EXPECT_TRUE(host.boxes.empty());
    } else {
      EXPECT_GE(Waited(), 60000u);
      ASSERT_EQ(host.boxes.size(), 2u);  // the time-out, then "Macro Abort" for the text left
      EXPECT_EQ(host.boxes[1].caption, "Macro Abort");
    }
    // The flag was set for the wait and cleared after it.
    const std::vector<std::pair<WaitReport, bool>> asked = {{c.report, true}, {c.report, false}};
    EXPECT_EQ(host.asked, asked);
    EXPECT_FALSE(host.flags[static_cast<std::size_t>(c.report)]);
  }
  // The text wait keeps as many typed characters as its text has.
  Play("<WAITTXTN:000:abcd>", 5, [&] { st.waitTextBuffer = "ABCD"; });
  EXPECT_EQ(st.waitTextLimit, 4);
}

// A mouse wait pauses half a second after it, however it ended; the others do not pause.
TEST_F(WaitCommandsTest, AClickWaitPausesAfterItEnds) {
  Play("<WAITLM:000>", 3, [&] { st.clickSeen[0] = true; });
  EXPECT_EQ(host.pauses, std::vector<double>{0.5});
  Play("<WAITMM:001>");
  EXPECT_EQ(host.pauses, std::vector<double>{0.5});
  Play("<WAITKEY:000:50>", 3, [&] { st.keySeenCode = 13; });
  EXPECT_TRUE(host.pauses.empty());
}

TEST_F(WaitCommandsTest, TimeOutsSayWhatDidNotHappenAndAbort) {
  mem.desktop.BringToFront(mem.desktop.AddForeignWindow("Untitled - Notepad", "N", 8));
  host.programs = {"NOTEPAD.EXE"};
  struct Case {
    std::string tag, caption, message;
  };
  const std::string tail = " minutes.  Macro will abort. (Macro Name: )";
  const std::vector<Case> cases = {
      {"<WAITWIN:001:Calc>", "Wait For Window Error",
       "The Window Title of \"CALC\" did not appear within the specified time of 1" + tail},
      {"<WAITWLF:001:Note>", "Wait For Window Error",
       "The Window Title of \"NOTE\" did not lose focus within the specified time of 1" + tail},
      {"<WAITPROG:001:notepad.exe>", "Wait For Program To Terminate Error",
       "The Program \"NOTEPAD.EXE\" did not terminate within the specified time of 1" + tail},
      {"<WAITLM:001>", "Wait For Mouse Click Error", "Left click did not occur within the specified time of 1" + tail},
      {"<WAITRM:001>", "Wait For Mouse Click Error",
       "Right click did not occur within the specified time of 1" + tail},
      {"<WAITMM:001>", "Wait For Mouse Click Error",
       "Middle click did not occur within the specified time of 1" + tail},
      {"<WAITKEY:001:48>", "Wait For Key Press",
       "The \"ESC\" key was not pressed within the specified time of 1" + tail},
      {"<WAITKEY:001:36>", "Wait For Key Press", "The \"F1\" key was not pressed within the specified time of 1" + tail},
      {"<WAITTXTN:001:Hello>", "Wait For Text Error",
       " Text \"Hello\" was not typed within the specified time of 1" + tail},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    EXPECT_EQ(Play("a" + c.tag), "a");
    EXPECT_GT(Waited(), 60000u);
    EXPECT_LT(Waited(), 61000u);
    EXPECT_TRUE(st.abortMacro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0], (testing::Box{c.caption, c.message}));
  }
  // The rest of the macro is not played, and each level with text left says the macro stopped.
  EXPECT_EQ(Play("<WAITWIN:002:Calc>rest"), "");
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[1].caption, "Macro Abort");
}

// Begun at 23:59:30 with one minute, the wait ends at 00:00:30 of the next day; a tick count that
// wraps meanwhile changes nothing.
TEST_F(WaitCommandsTest, ATimeOutSpansMidnight) {
  mem.clock.SetNow(EncodeDate(2026, 12, 31) + (23 * 3600 + 59 * 60 + 30) / 86400.0);
  mem.clock.SetTickCount(0xFFFFFFFFu - 20000);
  Play("<WAITWIN:001:Calc>");
  EXPECT_GT(Waited(), 60000u);
  EXPECT_LT(Waited(), 60200u);
  EXPECT_EQ(host.boxes.size(), 1u);
  // The longest time-out, 999 minutes, ends too.
  host.pumpMs = 60000;
  Play("<WAITLM:999>");
  EXPECT_GT(Waited(), 999u * 60000);
  EXPECT_LT(Waited(), 1003u * 60000);  // the time-out, and the pumps around the command
}

TEST_F(WaitCommandsTest, TheAbortKeyEndsEveryWaitAtOnce) {
  mem.desktop.BringToFront(mem.desktop.AddForeignWindow("Untitled - Notepad", "N", 8));
  host.programs = {"NOTEPAD.EXE"};
  const std::vector<std::string> waits = {"<WAITWIN:000:Calc>", "<WAITWLF:000:Note>", "<WAITPROG:000:NOTEPAD>",
                                          "<WAITLM:000>",       "<WAITKEY:000:12>",   "<WAITTXTY:000:x>",
                                          "<WAITPB>",           "<WAITTIME:99999999>", "<WAITWIN:000:>"};
  for (const std::string& wait : waits) {
    SCOPED_TRACE(wait);
    // (The keystroke synchronisation's marker key types as "?".)
    EXPECT_EQ(Play(wait + "rest", 10, [&] { st.abortMacro = true; }), wait == "<WAITPB>" ? "?" : "");
    EXPECT_LT(Waited(), 1000u);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Macro Abort");
    EXPECT_EQ(host.flags, (std::array<bool, 4>{}));
  }
}

TEST_F(WaitCommandsTest, KeystrokeSyncSendsTheMarkerAndWaitsForIt) {
  // The hook library reports the marker key (and clears the flag) a little later.
  Play("a<WAITPB>b", 8, [&] { host.flags[3] = false; });
  EXPECT_EQ(host.pauses, std::vector<double>{0.1});
  std::vector<std::uint8_t> vks;
  for (const platform::KeyEventRecord& k : mem.input.keys) vks.push_back(k.vk);
  EXPECT_EQ(vks, (std::vector<std::uint8_t>{'A', 'A', 0x2B, 0x2B, 'B', 'B'}));  // the marker down and up
  EXPECT_LT(Waited(), 1000u);
  // Never reported: the wait ends after 30 seconds, with the flag cleared.
  Play("<WAITPB>");
  EXPECT_GT(Waited(), 30000u);
  EXPECT_LT(Waited(), 31000u);
  EXPECT_FALSE(host.flags[3]);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(WaitCommandsTest, TimeWaitIsExactAtAnySpeed) {
  st.speedFactor = 3.0;
  EXPECT_EQ(Play("<WAITTIME:00000005>ok"), "ok");
  EXPECT_GE(Waited(), 5000u);
  EXPECT_LT(Waited(), 5300u);
  st.speedFactor = 0.0;
  EXPECT_EQ(Play("<WAITTIME:00000002>ok"), "ok");
  EXPECT_GE(Waited(), 2000u);
  EXPECT_EQ(Play("<WAITTIME:-0000005>ok"), "ok");
  EXPECT_LT(Waited(), 300u);
  // A wait of more than a day ends.
  host.pumpMs = 3600 * 1000;
  EXPECT_EQ(Play("<WAITTIME:00100000>ok"), "ok");
  EXPECT_GE(Waited(), 100000000u);
  EXPECT_LT(Waited(), 100000000u + 5 * 3600 * 1000);
}

TEST_F(WaitCommandsTest, BadFieldsFailClearly) {
  EXPECT_EQ(Play("<WAITKEY:000:54>ok"), "");
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].caption, "Wait For Key Press");
  EXPECT_EQ(host.boxes[0].text, "The key number 54 names no key. Macro will abort. (Macro Name: )");
  EXPECT_TRUE(host.asked.empty());
  // An empty text is typed at once; an empty title never comes to the front.
  EXPECT_EQ(Play("<WAITTXTY:000:>ok"), "ok");
  EXPECT_EQ(Play("<WAITWIN:001:>ok"), "");
  EXPECT_GT(Waited(), 60000u);
}

// A host without a hook library cannot report events: the waits that need it say so and stop.
TEST(WaitWithoutHookLibrary, FailsWithAMessage) {
  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
  interpreter.DoMacro("<WAITLM:000>x");
  ASSERT_GE(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Wait Error");
  EXPECT_EQ(host.boxes[0].text, "The hook library is not available in this build. Macro will abort. (Macro Name: )");
  EXPECT_TRUE(TypedText(mem.input.keys).empty());
}

TEST_F(WaitCommandsTest, DohookInstallsTheHooksAgain) {
  EXPECT_EQ(Play("a<DOHOOK>b<DOHOOK>"), "ab");
  EXPECT_EQ(host.rehooks, 2);
}

TEST_F(WaitCommandsTest, LaunchesAndAddressesAreOwnedByThePlayersWindow) {
  Play("<LAUNCH:notepad.exe><HTTP:http://example.test><EXPLORE:C:\\Temp>");
  ASSERT_EQ(mem.shell.calls.size(), 3u);
  EXPECT_EQ(mem.shell.calls[0].owner, 4242u);
  EXPECT_EQ(mem.shell.calls[1].owner, 4242u);
  EXPECT_EQ(mem.shell.calls[2].owner, platform::kNoWindow);
}

}  // namespace
}  // namespace wdx::player
