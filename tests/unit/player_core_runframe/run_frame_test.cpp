#include "player/core/run_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "platform/virtual_keys.h"
#include "player/interpreter/key_posting.h"
#include "shared/date_pictures.h"
#include "shared/date_time.h"
#include "shared/protocol_messages.h"

namespace wdx::player {
namespace {

namespace fs = std::filesystem;
using platform::KeyEventRecord;

class RecordingTray : public MainTrayIcon {
 public:
  void SetRunningImage(bool running) override { log.push_back(running ? "image running" : "image idle"); }
  void SetTip(const std::string& tip) override { log.push_back("tip " + tip); }
  void SetActive(bool active) override { log.push_back(active ? "active" : "inactive"); }
  std::vector<std::string> log;
};

class RunFrameTest : public ::testing::Test {
 protected:
  RunFrameTest()
      : p(mem.Get()),
        hook(mem.desktop, &mem.kernel),
        activation(p, true),
        editor(mem.desktop, &mem.shell, activation, "C:\\WENDRIX"),
        frame(p, hook, block, settings, editor, activation) {
    mainWindow = mem.desktop.CreateOwnWindow("TMainWin", "Wendrix Player", [this](const platform::Message& m) {
      delivered.push_back(m.message);
      if (m.message == kDuringRun && duringRun) std::exchange(duringRun, nullptr)();
      frame.HandleRunFrameMessage(m);
      return 0;
    });
    frame.SetMainWindow(mainWindow);
    frame.SetTray(&tray);
    frame.SetClosePlayer([this] { ++closePlayer; });
    block.SetPlayerWindow(mainWindow);
    hook.WdxUpInit(block);
    mem.clock.SetNow(EncodeDateTime({2024, 3, 5, 14, 30, 0, 0}));
    fs::create_directories(mem.NativePath("C:\\WENDRIX"));
    settings.errorLogPath = "C:\\WENDRIX\\ERRORLOG.TXT";
  }

  // A run of `text` whose first pump calls `during` (the interpreter pumps after every character).
  bool Run(const std::string& text, std::function<void()> during = nullptr, bool markInUse = false) {
    duringRun = std::move(during);
    mem.desktop.PostMessage(mainWindow, kDuringRun, 0, 0);
    RunRequest r;
    r.text = text;
    r.name = "Sig";
    r.markInUse = markInUse;
    return frame.StartRun(r);
  }
  // `during` at the run's second pump, once what the run posted itself before its first has
  // been handled.
  std::function<void()> AtSecondPump(std::function<void()> during) {
    return [this, during] {
      duringRun = during;
      mem.desktop.PostMessage(mainWindow, kDuringRun, 0, 0);
    };
  }
  std::string TypedLetters() {
    std::string typed;
    for (const KeyEventRecord& k : mem.input.keys)
      if (!(k.flags & 2) && k.vk >= 'A' && k.vk <= 'Z') typed += static_cast<char>(k.vk);
    return typed;
  }
  double Seconds() { return SecondsOfDay(mem.clock.Now()); }
  std::string LogText() {
    std::ifstream in(mem.NativePath(settings.errorLogPath), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static KeyEventRecord Key(std::uint8_t vk, bool up, std::uint8_t scan, bool extended = false) {
    return {vk, scan, (extended ? 1u : 0u) | (up ? 2u : 0u)};
  }

  platform::MemoryPlatform mem;
  platform::Platform p;
  hook::InProcessHookLibrary hook;
  TGlobData block;
  TSettingsRec settings;
  WindowActivation activation;
  EditorLink editor;
  RunFrame frame;
  int closePlayer = 0;
  RecordingTray tray;
  platform::WindowHandle mainWindow = 0;
  std::vector<std::uint32_t> delivered;
  static constexpr std::uint32_t kDuringRun = platform::msg::kUser + 100;
  std::function<void()> duringRun;
};

// A run starts from a clean state: logging off, errors shown, no delays, speed 1, no abort,
// the live variables empty (the saved ones kept), Caps Lock turned off, the running icon shown.
TEST_F(RunFrameTest, RunStartsFromACleanStateWithCapsLockOff) {
  RunState& s = frame.State();
  s.logErrors = true;
  s.showErrors = false;
  s.keyDelayOn = s.mouseDelayOn = true;
  s.speedFactor = 3;
  s.abortMacro = true;
  s.appendMacroName = true;
  s.capsLockOn = true;
  s.vars.text[1] = "one";
  s.vars.text[99] = "last";
  s.vars.integer[0] = 4;
  s.vars.decimal[50] = 2.5;
  s.saved.text[1] = "kept";
  RunState during;
  std::vector<std::string> trayDuring;
  ASSERT_TRUE(Run("ab", AtSecondPump([&] {
    during = s;
    trayDuring = tray.log;
  })));

  EXPECT_FALSE(during.logErrors);
  EXPECT_TRUE(during.showErrors);
  EXPECT_FALSE(during.keyDelayOn || during.mouseDelayOn || during.abortMacro || during.appendMacroName);
  EXPECT_EQ(during.speedFactor, 1.0);
  EXPECT_TRUE(during.macroPlaying);
  EXPECT_TRUE(during.capsWasOn);
  EXPECT_EQ(during.currentMacroName, "Sig");
  EXPECT_EQ(during.vars.text[1], "");
  EXPECT_EQ(during.vars.text[99], "");
  EXPECT_EQ(during.vars.integer[0], 0);
  EXPECT_EQ(during.vars.decimal[50], 0.0);
  EXPECT_EQ(during.saved.text[1], "kept");
  ASSERT_GE(mem.input.keys.size(), 2u);
  EXPECT_EQ(mem.input.keys[0], Key(20, false, 0x3A, true));
  EXPECT_EQ(mem.input.keys[1], Key(20, true, 0x3A, true));
  EXPECT_EQ(trayDuring, (std::vector<std::string>{"image running", std::string("tip ") + kRunningTip, "active"}));
  EXPECT_FALSE(s.macroPlaying);
}

TEST_F(RunFrameTest, TrayStaysAsItIsWithoutTheRunningIcon) {
  settings.showRunningIcon = false;
  std::vector<std::string> trayDuring{"not run"};
  Run("a", [&] { trayDuring = tray.log; });
  EXPECT_TRUE(trayDuring.empty());
  EXPECT_EQ(TypedLetters(), "A");  // Caps Lock was off: nothing else pressed
  EXPECT_EQ(mem.input.keys.size(), 2u);
}

// The end of a run logs when the run turned logging on, gives the tray back its idle look (and
// takes the icon away without "Use Tray"), and closes the player when the run asked for it.
TEST_F(RunFrameTest, RunEndLogsRestoresTheTrayAndClosesWhenAsked) {
  settings.useTray = false;
  std::size_t trayBefore = 0;
  Run("ab", AtSecondPump([&] {
    frame.State().logErrors = true;
    frame.State().terminateAfterRun = true;
    trayBefore = tray.log.size();
  }));
  EXPECT_FALSE(frame.State().macroPlaying);
  EXPECT_EQ(std::vector<std::string>(tray.log.begin() + static_cast<std::ptrdiff_t>(trayBefore), tray.log.end()),
            (std::vector<std::string>{"inactive", "image idle", std::string("tip ") + kIdleTip}));
  EXPECT_EQ(closePlayer, 1);
  EXPECT_EQ(LogText(), "3/5/2024 2:30:00 PM Finished Macro Sig\r\n");
}

// The running icon waits for the run's first turn of the queue (the shell is slow to change it
// and the first key must not wait); a run over before that shows it neither during nor after.
TEST_F(RunFrameTest, RunningIconComesWithTheFirstPumpAndNeverAfterTheRun) {
  std::vector<std::string> trayAtFirstKey{"not run"};
  std::size_t keysAtFirstKey = 0;
  Run("a", [&] {
    trayAtFirstKey = tray.log;
    keysAtFirstKey = mem.input.keys.size();
  });
  EXPECT_TRUE(trayAtFirstKey.empty());
  EXPECT_EQ(keysAtFirstKey, 2u);
  ASSERT_FALSE(tray.log.empty());
  EXPECT_EQ(tray.log.front(), "image running");

  tray.log.clear();
  ASSERT_TRUE(Run(""));
  mem.desktop.PumpPending();
  EXPECT_EQ(tray.log, (std::vector<std::string>{"image idle", std::string("tip ") + kIdleTip}));
}

TEST_F(RunFrameTest, OneRunAtATime) {
  bool nested = true;
  EXPECT_TRUE(Run("ab", [&] { nested = frame.StartRun({"xy", "inner"}); }));
  EXPECT_FALSE(nested);
  EXPECT_EQ(TypedLetters(), "AB");
  EXPECT_EQ(frame.State().currentMacroName, "Sig");
  EXPECT_FALSE(frame.State().macroPlaying);
}

TEST_F(RunFrameTest, PostVKeyUsesTheScanCodeAndTheExtendedFlag) {
  for (int v : {20, 33, 36, 40, 45, 46, 144, 145}) EXPECT_TRUE(ExtendKey(static_cast<std::uint8_t>(v))) << v;
  for (int v : {8, 13, 16, 32, 41, 65, 146}) EXPECT_FALSE(ExtendKey(static_cast<std::uint8_t>(v))) << v;
  frame.PostVKey(vk::kLeft, false);
  frame.PostAltVKey(vk::kNumpad0 + 6, true);
  frame.PostVKey(vk::kShift, false);
  EXPECT_EQ(mem.input.keys, (std::vector<KeyEventRecord>{Key(vk::kLeft, false, 0x4B, true), Key(0x66, true, 0x4D),
                                                          Key(vk::kShift, false, 0x2A)}));
}

TEST_F(RunFrameTest, WaitsPumpMessagesAndHonourTheSpeedFactor) {
  const double start = Seconds();
  mem.desktop.PostMessage(mainWindow, UM_ABORTMACRO, 0, 0);
  frame.State().speedFactor = 2.0;
  frame.PauseFor(1.5);
  const double took = Seconds() - start;
  EXPECT_GE(took, 3.0);
  EXPECT_LT(took, 3.02);
  EXPECT_TRUE(frame.State().abortMacro);  // handled during the wait

  const double before = Seconds();
  frame.PauseForNoSpeed(0.3);  // the factor does not count
  EXPECT_NEAR(Seconds() - before, 0.3, 0.015);

  frame.State().speedFactor = 0;
  const double z = Seconds();
  frame.PauseFor(10);
  EXPECT_EQ(Seconds(), z);
}

TEST_F(RunFrameTest, PolledWaitsWrapAtMidnight) {
  mem.clock.SetNow(EncodeDateTime({2024, 3, 5, 23, 59, 58, 0}));
  frame.PauseForNoSpeed(5);
  const CivilDateTime end = DecodeDateTime(mem.clock.Now());
  EXPECT_EQ(end.day, 6);
  EXPECT_EQ(end.hour, 0);
  EXPECT_EQ(end.minute, 0);
  EXPECT_EQ(end.second, 3);
}

TEST_F(RunFrameTest, WaitsOfADayOrMoreEnd) {
  mem.clock.SetNow(EncodeDateTime({2024, 3, 5, 10, 0, 0, 0}));
  const double start = mem.clock.Now();
  frame.PauseForNoSpeed(86400 + 2);  // the time of day comes round again during the wait
  EXPECT_NEAR((mem.clock.Now() - start) * 86400.0, 86402.0, 0.2);
}

TEST_F(RunFrameTest, TimedWaitsBlockWithoutPumping) {
  mem.desktop.PostMessage(mainWindow, UM_ABORTMACRO, 0, 0);
  const std::uint64_t t0 = mem.clock.Monotonic();
  frame.WaitForTimer(1500);
  EXPECT_EQ(mem.clock.Monotonic() - t0, 1500u);
  EXPECT_FALSE(frame.State().abortMacro);  // nothing handled meanwhile
  EXPECT_EQ(mem.desktop.PendingCount(), 1u);
  EXPECT_FALSE(mem.kernel.Exists(kWaitTimerSemaphore));  // the handle is closed again

  frame.State().speedFactor = 0.5;
  const std::uint64_t t1 = mem.clock.Monotonic();
  frame.TimedPauseFor(false, 3);   // 1.5 s at half speed
  frame.TimedPauseFor(true, 0.25);  // exact: no factor
  EXPECT_EQ(mem.clock.Monotonic() - t1, 1750u);
  frame.State().speedFactor = 0;
  frame.TimedPauseFor(false, 3);
  frame.TimedPauseFor(false, -1);
  EXPECT_EQ(mem.clock.Monotonic() - t1, 1750u);
}

TEST_F(RunFrameTest, ErrorLogLinesAndFailingWrites) {
  frame.LogError("Could not find file.  Macro will abort.");
  mem.clock.SetNow(EncodeDateTime({2024, 12, 31, 0, 5, 9, 0}));
  frame.LogError("second");
  // The system's formats as they are when the line is written.
  mem.regional.formats = {"dd.MM.yyyy", "HH:mm:ss", "", ""};
  frame.LogError("third");
  EXPECT_EQ(LogText(),
            "3/5/2024 2:30:00 PM Could not find file.  Macro will abort.\r\n"
            "12/31/2024 12:05:09 AM second\r\n"
            "31.12.2024 00:05:09 third\r\n");

  // A folder that is missing, a full disk, no path: the line is lost, nothing is raised and the
  // run goes on.
  // (The full disk is the host's own device, reached past the stand-in's folder.)
  struct HostPaths : platform::Files {
    std::string NativePath(const std::string& path) override { return path; }
  } hostPaths;
  for (const std::string& bad : {std::string("C:\\MISSING\\LOG.TXT"), std::string("/dev/full"), std::string()}) {
    if (bad == "/dev/full") p.files = &hostPaths;
    settings.errorLogPath = bad;
    EXPECT_NO_THROW(frame.LogError("lost"));
  }
  p.files = mem.Get().files;
  EXPECT_TRUE(mem.boxes.shown.empty());
}

TEST(DatePicturesTest, PicturesAsWindowsWritesThem) {
  const CivilDateTime c{2024, 3, 5, 14, 7, 9, 0};  // a Tuesday
  const platform::DateTimeFormats us;
  const struct {
    const char* picture;
    const char* text;
  } cases[] = {
      {"M/d/yyyy", "3/5/2024"},
      {"MM/dd/yy", "03/05/24"},
      {"y", "24"},
      {"dddd, MMMM d, yyyy", "Tuesday, March 5, 2024"},
      {"ddd d MMM", "Tue 5 Mar"},
      {"h:mm:ss tt", "2:07:09 PM"},
      {"hh:m:s t", "02:7:9 P"},
      {"HH'h'mm", "14h07"},
      {"'d''M' d", "d'M 5"},    // quoted text, with a quote in it
      {"'open", "open"},        // an unclosed quote runs to the end
      {"yyyy-MM-dd x", "2024-03-05 x"},
  };
  for (const auto& k : cases) EXPECT_EQ(FormatPicture(c, k.picture, us), k.text) << k.picture;
  EXPECT_EQ(FormatPicture({2024, 3, 5, 0, 5, 0, 0}, "h tt", {"", "", "vorm.", "nachm."}), "12 vorm.");
}

TEST_F(RunFrameTest, DoAMessageAppendsTheMacroNameOnce) {
  frame.State().currentMacroName = "Mail";
  frame.State().appendMacroName = true;
  frame.DoAMessage("Error", "Bad file.");
  frame.DoAMessage("Notice", "Plain.");
  ASSERT_EQ(mem.boxes.shown.size(), 2u);
  EXPECT_EQ(mem.boxes.shown[0].text, "Bad file. (Macro Name: Mail)");
  EXPECT_EQ(mem.boxes.shown[0].caption, "Error");
  EXPECT_EQ(mem.boxes.shown[1].text, "Plain.");
  EXPECT_FALSE(frame.State().appendMacroName);
}

TEST(ProcessStringVar, ExpandsUntilTheFirstBadReference) {
  VariableSet v;
  v.text[1] = "one";
  v.text[2] = "two";
  v.text[12] = "twelve";
  v.text[99] = "%T1%";
  struct Case {
    std::string in;
    std::size_t max;
    std::string out;
  } cases[] = {
      {"a%T1%b", 255, "aoneb"},
      {"%T1%%T12%%T2%", 255, "onetwelvetwo"},
      {"x%T1%y%T100%z%T2%", 255, "xoney%T100%z%T2%"},  // 100: it and the rest stay as written
      {"%T0%%T1%", 255, "%T0%%T1%"},
      {"%T99%", 255, "%T1%"},                           // inserted text is not searched again
      {"%Tx%%T1%", 255, "%Tx%%T1%"},
      {"100%T", 255, "100%T"},
      {"%T1", 255, "%T1"},
      {"no refs", 255, "no refs"},
      {"%T1%%T2%", 5, "onetw"},                         // the field's maximum length
      {"%T3%end", 255, "end"},                          // an empty variable
  };
  for (const Case& c : cases) {
    std::string s = c.in;
    ProcessStringVar(s, c.max, v);
    EXPECT_EQ(s, c.out) << c.in;
  }
  std::string longText(300, 'x');
  longText += "%T1%";
  std::string ansi = longText;
  ProcessAnsiStringVar(ansi, v);
  EXPECT_EQ(ansi, std::string(300, 'x') + "one");  // no limits on the long form
  ProcessStringVar(longText, 255, v);
  EXPECT_EQ(longText.size(), 255u);

  // The long form builds no text longer than a variable holds, and then changes nothing.
  VariableSet big;
  big.text[1] = std::string(VariableSet::kMaxTextLength / 2, 'b');
  std::string twice = "%T1%%T1%";
  EXPECT_TRUE(ProcessAnsiStringVar(twice, big));
  EXPECT_EQ(twice.size(), VariableSet::kMaxTextLength);
  std::string more = "%T1%%T1%!";
  EXPECT_FALSE(ProcessAnsiStringVar(more, big));
  EXPECT_EQ(more, "%T1%%T1%!");
}

TEST_F(RunFrameTest, InUseFallsFifteenSecondsAfterTheLastRun) {
  const platform::WindowHandle editorWindow = mem.desktop.AddForeignWindow("Wendrix Editor - MACROS.WDX", "TEdMain", 7);
  bool inUseDuring = false;
  Run("a", [&] { inUseDuring = hook.Block().InUse(); }, true);
  EXPECT_TRUE(inUseDuring);
  const auto execute = [&] {
    int n = 0;
    for (const KeyEventRecord& k : mem.input.keys) n += k.vk == vk::kExecute;
    return n;
  };
  EXPECT_EQ(execute(), 2);

  frame.PauseForNoSpeed(10);
  EXPECT_TRUE(hook.Block().InUse());
  Run("", nullptr, true);  // a new run re-arms the timer
  frame.PauseForNoSpeed(10);
  EXPECT_TRUE(hook.Block().InUse());
  frame.PauseForNoSpeed(5.1);
  EXPECT_FALSE(hook.Block().InUse());
  EXPECT_FALSE(block.InUse());
  EXPECT_FALSE(mem.desktop.HasTimer(mainWindow, kClearTimerId));

  int notices = 0;
  for (const platform::Message& m : mem.desktop.foreignMessages) {
    if (m.window == editorWindow && m.message == UM_CONTROL && m.wparam == 6 && m.lparam == 2) ++notices;
  }
  EXPECT_EQ(notices, 3);  // set, set, cleared

  mem.desktop.PostMessage(mainWindow, UM_CLEARINUSE, 0, 0);
  block.SetInUse(true);
  hook.WdxUpInUse(block);
  mem.desktop.PumpPending();
  EXPECT_FALSE(hook.Block().InUse());
}

// However a run ends, its last synthesised keys are the end marker, after every key the run let
// go; the hook library, seeing them come through, frees the hot keys at once (the 15-second timer
// is only the fallback).
TEST_F(RunFrameTest, EveryRunEndsWithTheEndMarkerAndTheHookFreesTheKeys) {
  struct Case {
    const char* name;
    const char* text;
    bool abortDuring;
  };
  const Case cases[] = {
      {"a run that ends normally", "ab", false},
      {"a run that fails with its error box", "a<ACTIVATE:Nothing Here>b", false},
      {"a run aborted by the abort key, a modifier held", "a<CTRLD>bcdefgh", true},
  };
  hook.WdxHookKeyboard();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    mem.input.keys.clear();
    hook.FeedKeyPress(vk::kExecute, true);  // the previous case's marker: nothing left in use
    ASSERT_FALSE(hook.Block().InUse());
    Run(c.text, c.abortDuring ? std::function<void()>([&] { mem.desktop.PostMessage(mainWindow, UM_ABORTMACRO, 0, 0); })
                              : nullptr,
        true);
    ASSERT_TRUE(hook.Block().InUse());
    const std::vector<KeyEventRecord> keys = mem.input.keys;
    ASSERT_GE(keys.size(), 2u);
    EXPECT_EQ(keys[keys.size() - 2].vk, vk::kExecute);
    EXPECT_EQ(keys[keys.size() - 2].flags & platform::keyflag::kKeyUp, 0u);
    EXPECT_EQ(keys.back().vk, vk::kExecute);
    EXPECT_NE(keys.back().flags & platform::keyflag::kKeyUp, 0u);
    // The run's keys as the hook library sees them come through, in order.
    for (const KeyEventRecord& k : keys) hook.FeedKey(k.vk, (k.flags & platform::keyflag::kKeyUp) != 0, true);
    EXPECT_FALSE(hook.Block().InUse());
  }
}

TEST_F(RunFrameTest, HooksAreInstalledAgainUnlessAMacroPlays) {
  block.SetKeyboardHook(hook.WdxHookKeyboard());
  block.SetMouseHook(hook.WdxHookMouse());
  const std::uint32_t oldKeyboard = block.KeyboardHook();
  frame.TestHooks();
  EXPECT_NE(block.KeyboardHook(), oldKeyboard);
  EXPECT_TRUE(hook.KeyboardInstalled());
  EXPECT_TRUE(hook.MouseInstalled());
  EXPECT_EQ(hook.Block().KeyboardHook(), block.KeyboardHook());
  EXPECT_EQ(hook.Block().MouseHook(), block.MouseHook());

  const std::uint32_t current = block.KeyboardHook();
  frame.State().macroPlaying = true;
  frame.TestHooks();
  EXPECT_EQ(block.KeyboardHook(), current);
  frame.State().macroPlaying = false;
  mem.desktop.SetTimer(mainWindow, kHookTimerId, kHookTimerMs);
  frame.PauseForNoSpeed(5.1);
  EXPECT_NE(block.KeyboardHook(), current);
  EXPECT_FALSE(mem.desktop.HasTimer(mainWindow, kHookTimerId));
}

TEST_F(RunFrameTest, LockKeyReportsAndTheAbortKeyReachTheRunState) {
  hook.WdxHookKeyboard();
  hook.FeedKeyPress(vk::kCapital);
  hook.FeedKeyPress(vk::kNumLock);
  hook.FeedKeyPress(vk::kPause);
  frame.PumpMessages();
  EXPECT_TRUE(frame.State().capsLockOn);
  EXPECT_TRUE(frame.State().numLockOn);
  EXPECT_FALSE(frame.State().scrollLockOn);
  EXPECT_TRUE(frame.State().abortMacro);
}

// The wait commands through the real hook decisions: the flag the wait sets reaches the hook
// library, whose report (a key, a click, the marker key) ends the wait, and the flag is clear
// again afterwards. (The typed text goes to the Abbrekey watcher, not to the run frame.)
TEST_F(RunFrameTest, WaitsEndOnTheHookLibrarysReports) {
  hook.WdxHookKeyboard();
  hook.WdxHookMouse();
  struct Case {
    const char* text;
    std::function<void()> event;
    std::size_t flag;
  };
  const Case cases[] = {
      {"<WAITKEY:001:50>ok", [&] { hook.FeedKeyPress(vk::kReturn); }, glob::kWaitKey},
      {"<WAITRM:001>ok",
       [&] {
         hook.FeedMouse(hook::MouseAction::kDown, 2, {5, 5});
         hook.FeedMouse(hook::MouseAction::kUp, 2, {5, 5});
       },
       glob::kWaitClick},
      {"<WAITPB>ok", [&] { hook.FeedKeyPress(vk::kExecute, true); }, glob::kWaitKeySync},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    mem.input.keys.clear();
    const double before = Seconds();
    bool sawFlag = false;
    ASSERT_TRUE(Run(c.text, [&] {
      sawFlag = hook.Block().WaitFlag(c.flag);
      c.event();
    }));
    EXPECT_TRUE(sawFlag);
    EXPECT_EQ(TypedLetters(), "OK");
    EXPECT_LT(Seconds() - before, 5.0);
    EXPECT_FALSE(frame.State().abortMacro);
    EXPECT_FALSE(block.WaitFlag(c.flag));
    EXPECT_FALSE(hook.Block().WaitFlag(c.flag));
  }
}

// The wait for a program's end lists the running programs again; "<DOHOOK>" installs the hooks
// afresh; launches are owned by the player's window.
TEST_F(RunFrameTest, ProgramWaitHooksAgainAndLaunchOwner) {
  int listed = 0;
  frame.SetProgramLister([&] {
    ++listed;
    block.ClearRunningPrograms();
    block.SetRunningCount(listed < 3 ? 1 : 0);
    if (listed < 3) block.SetRunningProgram(1, "NOTEPAD.EXE");
  });
  ASSERT_TRUE(Run("<WAITPROG:001:notepad>ok"));
  EXPECT_EQ(TypedLetters(), "OK");
  EXPECT_EQ(listed, 3);

  block.SetKeyboardHook(hook.WdxHookKeyboard());
  block.SetMouseHook(hook.WdxHookMouse());
  const std::uint32_t keyboard = block.KeyboardHook();
  const std::uint32_t mouse = block.MouseHook();
  ASSERT_TRUE(Run("<DOHOOK><LAUNCH:notepad.exe>"));
  EXPECT_NE(block.KeyboardHook(), keyboard);
  EXPECT_NE(block.MouseHook(), mouse);
  EXPECT_TRUE(hook.KeyboardInstalled());
  EXPECT_TRUE(hook.MouseInstalled());
  ASSERT_EQ(mem.shell.calls.size(), 1u);
  EXPECT_EQ(mem.shell.calls[0].owner, mainWindow);
}

}  // namespace
}  // namespace wdx::player
