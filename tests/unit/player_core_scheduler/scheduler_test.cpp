// The scheduler in the whole player: the schedule timer ticking on the stand-in clock, the
// macros it runs (read back from the keys the player typed), the idle time the in-process hook
// library and the ticks count, the start-up work, the screen saver and the wave file.
#include <gtest/gtest.h>

#include "player/core/protocol.h"
#include "player/core/scheduler.h"
#include "player_fixture.h"
#include "shared/date_time.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

struct Timed {
  std::string nickname;
  std::string text;
  std::uint16_t kind = schedule::kEveryMinutes;
  int minutes = 0;  // every N / after N idle minutes
  int hour = 12, minute = 0;
  bool pm = false;
  std::int16_t scope = scope::kGlobal;
  std::string scopeText;
  bool active = true;
};

// 2024-03-04, a Monday.
double Day(int h, int mi, int s = 0) { return EncodeDate(2024, 3, 4) + EncodeTime(h, mi, s, 0); }

struct SchedulerPlayer : StandAlonePlayer {
  explicit SchedulerPlayer(const std::vector<Timed>& macros, double now = Day(9, 58)) {
    mem.clock.SetNow(now);
    mem.profile.WriteString(kSettingsFileName, "Scheduler", "Timer Seconds", "10");
    std::filesystem::create_directories(Native(kLibrary).parent_path());
    std::ofstream out(Native(kLibrary), std::ios::binary | std::ios::app);
    for (const Timed& t : macros) {
      TMacroRec r = MakeRecord({t.nickname, activation::kTimed, t.scope, t.scopeText, t.text, t.active});
      r.SetScheduleKind(t.kind);
      r.SetEveryMinutes(static_cast<std::uint16_t>(t.minutes));
      r.SetHour(static_cast<std::uint8_t>(t.hour));
      r.SetMinute(static_cast<std::uint8_t>(t.minute));
      r.SetPm(t.pm ? 1 : 0);
      r.SetYear(2024);
      r.SetMonth(3);
      r.SetDay(4);
      out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
    }
  }
  // The stand-in clock moves on in steps of a second, the player handling what falls due.
  void Wait(int seconds) {
    for (int i = 0; i < seconds; ++i) {
      mem.clock.Advance(1000);
      Pump();
    }
  }
  std::int64_t SysCommand(std::uint64_t command) {
    return mem.desktop.SendMessage(main->MainWindow(), platform::msg::kSysCommand, command, 0);
  }
};

TEST(SchedulerTest, DueMacrosRunOnTheScheduleTimer) {
  SchedulerPlayer player({{"every", "e", schedule::kEveryMinutes, 2},
                          {"once", "o", schedule::kOnce, 0, 10, 0},
                          {"hourly", "h", schedule::kHourly},
                          {"off", "x", schedule::kEveryMinutes, 1, 12, 0, false, scope::kGlobal, "", false}});
  player.Start();
  player.Front("Notepad");
  player.Wait(119);
  EXPECT_EQ(player.Typed(), "");
  player.Wait(10);  // 10:00: two minutes from the start, the once macro, the hourly one
  EXPECT_EQ(player.Typed(), "EOH");
  player.Wait(120);
  EXPECT_EQ(player.Typed(), "EOHE");
  EXPECT_EQ(player.RunEndMarkers(), 0);  // schedules do not mark the hook library's in-use flag
  EXPECT_EQ(player.main->State().currentMacroNumber, 1);
}

TEST(SchedulerTest, NoTimerWithoutTimedMacrosAndARebuildRestartsTheCount) {
  SchedulerPlayer none({});
  none.Start();
  EXPECT_FALSE(none.mem.desktop.HasTimer(none.main->MainWindow(), kScheduleTimerId));

  SchedulerPlayer player({{"every", "e", schedule::kEveryMinutes, 1}});
  player.Start();
  player.Front("Notepad");
  EXPECT_TRUE(player.mem.desktop.HasTimer(player.main->MainWindow(), kScheduleTimerId));
  player.Wait(50);
  player.mem.desktop.PostMessage(player.main->MainWindow(), UM_CONTROL, control::kSchedulesChanged, 0);
  player.Wait(50);
  EXPECT_EQ(player.Typed(), "");
  player.Wait(11);
  EXPECT_EQ(player.Typed(), "E");
}

// A scoped timed macro brings its window up first; without the window it does not run. A macro
// due while another one plays is dropped.
TEST(SchedulerTest, ScopedMacrosNeedTheirWindowAndBusyTimesDropTheRun) {
  SchedulerPlayer player({{"pad", "p", schedule::kEveryMinutes, 1, 12, 0, false, scope::kWindow, "Notepad"},
                          {"any", "a", schedule::kEveryMinutes, 1}});
  player.Start();
  const platform::WindowHandle other = player.Front("Calculator");
  player.Wait(61);
  EXPECT_EQ(player.Typed(), "A");
  const platform::WindowHandle pad = player.Window("Untitled - Notepad", 0x300, true);
  player.Wait(60);
  EXPECT_EQ(player.Typed(), "APA");
  EXPECT_EQ(player.mem.desktop.GetForegroundWindow(), pad);
  player.mem.desktop.SetForeground(other);
  player.main->State().macroPlaying = true;
  player.Wait(60);
  player.main->State().macroPlaying = false;
  player.Wait(58);
  EXPECT_EQ(player.Typed(), "APA");
  player.Wait(1);
  EXPECT_EQ(player.Typed(), "APAPA");
}

// After N idle minutes: the hook library reports activity, the ticks add their seconds; the
// macro runs once per idle period.
TEST(SchedulerTest, IdleMacroRunsOncePerIdlePeriod) {
  SchedulerPlayer player({{"idle", "i", schedule::kIdleMinutes, 1}});
  player.Start();
  player.Front("Notepad");
  EXPECT_TRUE(player.block.IdleTracking());
  player.Wait(60);
  EXPECT_EQ(player.Typed(), "");
  player.Wait(10);  // 70 idle seconds at the seventh tick: more than 60
  EXPECT_EQ(player.Typed(), "I");
  player.Wait(300);
  EXPECT_EQ(player.Typed(), "I");
  // The user comes back; a rebuild of the table meanwhile does not count as a new period.
  player.mem.desktop.PostMessage(player.main->MainWindow(), UM_CONTROL, control::kSchedulesChanged, 0);
  player.Wait(10);
  EXPECT_EQ(player.Typed(), "I");
  player.Press('Q', false, false);
  player.Wait(60);
  EXPECT_EQ(player.Typed(), "I");
  player.Wait(10);
  EXPECT_EQ(player.Typed(), "II");
}

TEST(SchedulerTest, ScreenSaverWaitsWhileTimedMacrosAreActive) {
  struct Row {
    const char* what;
    const char* setting;
    bool active;
    std::int64_t screenSaver;
  } rows[] = {
      {"timed macro, setting on", "Yes", true, -1},
      {"timed macro, setting off", "No", true, platform::kDefaultHandling},
      {"no active timed macro", "Yes", false, platform::kDefaultHandling},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SchedulerPlayer player({{"start", "s", schedule::kStartup, 0, 12, 0, false, scope::kGlobal, "", r.active}});
    player.mem.profile.WriteString(kSettingsFileName, "Misc", "Disable Screen Saver", r.setting);
    player.Start();
    EXPECT_EQ(player.SysCommand(platform::sc::kScreenSave), r.screenSaver);
    EXPECT_EQ(player.SysCommand(platform::sc::kScreenSave | 2), r.screenSaver);
    EXPECT_EQ(player.SysCommand(platform::sc::kMinimize), 0);
    EXPECT_EQ(player.SysCommand(0xF060), platform::kDefaultHandling);  // SC_CLOSE: the system's
  }
}

// Five seconds after start: the "/WRM" file, the "/A" macro, then the start-up macros in
// macro-number order. A file that cannot be read says so and the rest still runs.
TEST(SchedulerTest, StartupWorkRunsInItsOrder) {
  struct Row {
    const char* what;
    const char* wrm;  // the file's text; nullptr: there is no file
    std::string typed;
    std::vector<std::string> boxes;
    int endMarkers;
  } rows[] = {
      {"all three", "w", "WAXY", {}, 2},
      {"file ending in Ctrl+Z", "w\x1A", "WAXY", {}, 2},
      {"empty file", "", "AXY", {}, 1},
      {"missing file", nullptr, "AXY", {std::string("Error: ") + kSingleMacroOpenError}, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SchedulerPlayer player({{"start x", "x", schedule::kStartup},
                            {"every", "e", schedule::kEveryMinutes, 1},
                            {"start off", "z", schedule::kStartup, 0, 12, 0, false, scope::kGlobal, "", false},
                            {"start scoped", "q", schedule::kStartup, 0, 12, 0, false, scope::kWindow, "Nowhere"},
                            {"start y", "y", schedule::kStartup}});
    player.AddMacros({{"Hello", kCtrlAltH, scope::kGlobal, "", "a"}});
    if (r.wrm) {
      std::ofstream(player.Native("C:\\ONE.WRM"), std::ios::binary) << r.wrm;
    }
    player.mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /A hello /WRMC:\\ONE.WRM";
    player.Start();
    player.Front("Notepad");
    player.Wait(4);
    EXPECT_EQ(player.Typed(), "");
    player.Wait(1);
    EXPECT_EQ(player.Typed(), r.typed);
    EXPECT_EQ(player.BoxTexts(), r.boxes);
    // The file and the "/A" macro mark their runs for the hook library; start-up macros do not.
    EXPECT_EQ(player.RunEndMarkers(), r.endMarkers);
    player.Wait(10);
    EXPECT_EQ(player.Typed(), r.typed);
  }
}

// A macro that still plays when the start-up work is due (a hot key in the first seconds)
// delays it; nothing is passed over.
TEST(SchedulerTest, StartupWorkWaitsForAPlayingMacro) {
  SchedulerPlayer player({{"start", "s", schedule::kStartup}});
  player.Start();
  player.Front("Notepad");
  player.main->State().macroPlaying = true;
  player.Wait(8);
  EXPECT_EQ(player.Typed(), "");
  player.main->State().macroPlaying = false;
  player.Wait(1);
  EXPECT_EQ(player.Typed(), "S");
  player.Wait(10);
  EXPECT_EQ(player.Typed(), "S");
}

// "Use Wave File": the sound plays before each timed run; with "Wave File Wait" the macro types
// once it ended. A missing file plays nothing and the macro still runs.
TEST(SchedulerTest, WaveFilePlaysBeforeTheRun) {
  struct Row {
    const char* what;
    const char* wait;
    bool fileThere;
    std::uint64_t waitedMs;
  } rows[] = {
      {"no wait", "No", true, 0},
      {"wait", "Yes", true, 3000},
      {"missing file", "Yes", false, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    SchedulerPlayer player({{"start", "s", schedule::kStartup}});
    player.mem.profile.WriteString(kSettingsFileName, "Scheduler", "Use Wave File", "Yes");
    player.mem.profile.WriteString(kSettingsFileName, "Scheduler", "Wave File Wait", r.wait);
    player.mem.profile.WriteString(kSettingsFileName, "Scheduler", "Wave File", "C:\\CHIME.WAV");
    if (r.fileThere) std::ofstream(player.Native("C:\\CHIME.WAV")) << "RIFF";
    player.mem.sound.lengthMs = 3000;
    player.Start();
    player.Front("Notepad");
    const std::uint64_t start = player.mem.clock.Monotonic();
    player.Wait(5);
    EXPECT_EQ(player.Typed(), "S");
    EXPECT_EQ(player.mem.sound.played, r.fileThere ? std::vector<std::string>{"C:\\CHIME.WAV"}
                                                   : std::vector<std::string>{});
    // The clock the player waited on while the sound played.
    EXPECT_EQ(player.mem.clock.Monotonic() - start, 5000u + r.waitedMs);
  }
}

}  // namespace
}  // namespace wdx::player::testing
