// System and shell commands over the stand-in: what each tag asks of the system (a table of the
// recorded calls), the display mode's reports, the wallpaper's registry values, the default
// printer, the Control Panel's command line (and the applet names it refuses), and the shell
// functions with and without the shell's automation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player {
namespace {

using testing::Box;
using testing::ClockHost;

class SystemCommandsTest : public ::testing::Test {
 protected:
  std::vector<std::string> Play(const std::string& text) {
    mem.settings.calls.clear();
    interpreter.DoMacro(text);
    return mem.settings.calls;
  }
  void SetBrowserVersion(const std::string& version) {
    mem.registry.WriteString(platform::RegistryRoot::kLocalMachine, "Software\\Microsoft\\Internet Explorer", "Version",
                             version);
  }
  std::string Desktop(const std::string& name) {
    return mem.registry.ReadString(platform::RegistryRoot::kCurrentUser, "Control Panel\\Desktop", name).value_or("-");
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

TEST_F(SystemCommandsTest, EachTagAsksTheSystemForItsChange) {
  struct Case {
    std::string macro;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {"<KEYDEL:03>", {"parameter keyboard-delay 3"}},
      {"<KEYDEL:2>", {"parameter keyboard-delay 2"}},  // the one digit the editor writes
      {"<KEYSPD:31>", {"parameter keyboard-speed 31"}},
      {"<SSTIME:10>", {"parameter screen-saver-timeout 600"}},
      {"<WBSIZE:04>", {"parameter border 4"}},
      {"<SSON>", {"start screen saver"}},
      {"<SSOFF>", {"parameter screen-saver-active 0"}},
      {"<SSON>", {}},  // no screen saver active: nothing to start
      {"<SCREEN:001>", {"test display 800x600x32@60", "display 800x600x32@60"}},
      {"<CASCDESK>", {"cascade"}},
      {"<TILHDESK>", {"tile horizontally"}},
      {"<TILVDESK>", {"tile vertically"}},
      {"<LOGOFF>", {"log off"}},
      {"<REBOOT>", {"reboot with the shutdown right"}},
      {"<SHUTDOWN>", {"shut down with the shutdown right"}},
      {"<POWEROFF>", {"power off with the shutdown right"}},
      {"<WALLT:c:\\w.bmp>", {"apply wallpaper"}},
      {"<EMPTYBIN>x", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.macro);
    EXPECT_EQ(Play(c.macro), c.calls);
    EXPECT_FALSE(host.state.abortMacro);
  }
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SystemCommandsTest, TheShutdownRightIsAskedOnlyOnNt) {
  mem.system.version = {platform::OsFamily::kWindows95, 4, 10};
  EXPECT_EQ(Play("<REBOOT><LOGOFF>"), (std::vector<std::string>{"reboot", "log off"}));
  mem.system.version = {platform::OsFamily::kNt, 5, 1};
  mem.settings.shutdownRight = false;
  // Without the right the restart does nothing; the log-off never asks for it.
  EXPECT_EQ(Play("<REBOOT><LOGOFF>"), (std::vector<std::string>{"no shutdown right", "log off"}));
}

TEST_F(SystemCommandsTest, DisplayModesReportWhatWentWrongAndTheMacroGoesOn) {
  namespace dc = platform::display_change;
  // One past the last mode: nothing is tried.
  EXPECT_TRUE(Play("<SCREEN:003>").empty());
  mem.settings.testResult = dc::kBadMode;
  EXPECT_EQ(Play("<SCREEN:000>"), std::vector<std::string>{"test display 640x480x16@60"});
  mem.settings.testResult = dc::kSuccessful;
  mem.settings.changeResult = dc::kRestart;
  Play("<SCREEN:002>");
  mem.settings.changeResult = -3;
  Play("<SCREEN:002>");
  const std::vector<Box> expected = {
      {"Macro Execution Error", "The specified Screen Display Settings does not exist on this computer."},
      {"Macro Execution Error", "The attempt to switch to the specified Screen Display Settings failed."},
      {"Warning", "System must be rebooted before new display settings take effect."},
      {"Macro Execution Error", "The attempt to switch to the specified Screen Display Settings failed."},
  };
  EXPECT_EQ(host.boxes, expected);
  EXPECT_FALSE(host.state.abortMacro);
  // Logged when logging is on, nothing shown when boxes are off.
  host.boxes.clear();
  interpreter.DoMacro("<LOGERR:Y><SCREEN:099>");
  EXPECT_TRUE(host.boxes.empty());
  ASSERT_FALSE(host.log.empty());
  EXPECT_EQ(host.log.back(), "The specified Screen Display Settings does not exist on this computer.");
}

TEST_F(SystemCommandsTest, WallpaperValuesGoToTheDesktopKeyBeforeTheyAreApplied) {
  struct Case {
    std::string macro;
    std::string file, tile, style, x, y;
  };
  const std::vector<Case> cases = {
      {"<WALLT:c:\\a.bmp>", "c:\\a.bmp", "1", "0", "0", "0"},
      {"<WALLC:c:\\b.bmp>", "c:\\b.bmp", "0", "0", "0", "0"},
      {"<WALLS:c:\\c.bmp>", "c:\\c.bmp", "0", "2", "0", "0"},
      {"<WALLP:0100,0050c:\\d.bmp>", "c:\\d.bmp", "0", "0", "100", "50"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.macro);
    EXPECT_EQ(Play(c.macro), std::vector<std::string>{"apply wallpaper"});
    EXPECT_EQ(Desktop("Wallpaper"), c.file);
    EXPECT_EQ(Desktop("TileWallpaper"), c.tile);
    EXPECT_EQ(Desktop("WallpaperStyle"), c.style);
    EXPECT_EQ(Desktop("WallpaperOriginX"), c.x);
    EXPECT_EQ(Desktop("WallpaperOriginY"), c.y);
  }
  // Only the file part of "<WALLP:" is expanded.
  host.expanded.clear();
  Play("<WALLP:0001,0002%T1%>");
  EXPECT_EQ(host.expanded, std::vector<std::string>{"%T1%"});
}

TEST_F(SystemCommandsTest, TheDefaultPrinterIsWrittenWithItsDriverAndPortAndAnnounced) {
  mem.settings.printers = {{"Laser", "LaserDrv", "LPT1:"}, {"Ink", "", ""}};
  mem.profile.WriteString("WIN.INI", "Devices", "Ink", "winspool,USB001");
  EXPECT_EQ(Play("<DEFPRT:Laser>"), std::vector<std::string>{"broadcast windows"});
  EXPECT_EQ(mem.profile.GetString("WIN.INI", "windows", "device", ""), "Laser,LaserDrv,LPT1:");
  Play("<DEFPRT:Ink>");
  EXPECT_EQ(mem.profile.GetString("WIN.INI", "windows", "device", ""), "Ink,winspool,USB001");
  // Names compare exactly.
  EXPECT_TRUE(Play("<DEFPRT:laser>").empty());
  EXPECT_EQ(mem.profile.GetString("WIN.INI", "windows", "device", ""), "Ink,winspool,USB001");
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Macro Execution Error",
                                           "The specified Default Printer does not exist on this computer."}}));
}

TEST_F(SystemCommandsTest, TheControlPanelRunsOnlyAppletNames) {
  interpreter.DoMacro("<CPOPEN><CPRUN:desk.cpl:2>x<CPRUN:my panel.CPL:0>");
  ASSERT_EQ(mem.shell.calls.size(), 3u);
  EXPECT_EQ(mem.shell.calls[0].file, "rundll32.exe");
  EXPECT_EQ(mem.shell.calls[0].parameters, "shell32.dll,Control_RunDLL");
  EXPECT_EQ(mem.shell.calls[1].parameters, "shell32.dll,Control_RunDLL desk.cpl,,2");
  // An applet the system does not list is quoted.
  EXPECT_EQ(mem.shell.calls[2].parameters, "shell32.dll,Control_RunDLL \"my panel.CPL\",,0");
  EXPECT_EQ(testing::TypedText(mem.input.keys), "x");
  // What could carry more than an applet's name never reaches the command line.
  mem.shell.calls.clear();
  for (const char* macro : {"<CPRUN:desk.cpl,,1 & calc.cpl:2>", "<CPRUN:..\\x.cpl:1>", "<CPRUN:\"a.cpl:1>",
                            "<CPRUN:desk.exe:1>", "<CPRUN:desk.cpl:x>", "<CPRUN::1>"}) {
    SCOPED_TRACE(macro);
    host.boxes.clear();
    interpreter.DoMacro(macro);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].caption, "Macro Execution Error");
    EXPECT_FALSE(host.state.abortMacro);
  }
  EXPECT_TRUE(mem.shell.calls.empty());
}

TEST_F(SystemCommandsTest, ShellFunctionsNeedTheShellsAutomation) {
  using SF = platform::ShellFunction;
  using Call = platform::MemoryShell::FunctionCall;
  // Without it: the requirements, captioned with the function's name.
  interpreter.DoMacro("<MINIDESK><RUNFF>");
  const std::string requirements =
      "This function requires Windows 98 or NT.  Wendrix requires Windows 95 that has Internet Explore 4.0 or greater "
      "installed. It appears that your system does not meet these requirements.";
  EXPECT_EQ(host.boxes, (std::vector<Box>{{"Minimize All Error", requirements}, {"Run Find Files Error", requirements}}));
  EXPECT_TRUE(mem.shell.functions.empty());
  SetBrowserVersion("3.02");
  interpreter.DoMacro("<LOGERR:Y><RESTDESK>");
  ASSERT_FALSE(host.log.empty());
  EXPECT_EQ(host.log.back(), "Undo Minimize All Error. " + requirements);

  SetBrowserVersion("5.00.2314.1003");
  host.state.showErrors = true;
  host.state.logErrors = false;
  host.boxes.clear();
  interpreter.DoMacro("<MINIDESK><RESTDESK><SUSPEND><UNDOCK><RUNDT><RUNFC><RUNFF><RUNRP><EXPCP><EXPDT><EXPDP><EXPFV>"
                      "<EXPFT><EXPMC><EXPNW><EXPPR><EXPPF><EXPRD><EXPRB><EXPSM><EXPSU><EXPUD>");
  const std::vector<Call> expected = {
      {SF::kMinimizeAll, 0}, {SF::kUndoMinimizeAll, 0}, {SF::kSuspend, 0},  {SF::kEjectPc, 0}, {SF::kSetTime, 0},
      {SF::kFindComputer, 0}, {SF::kFindFiles, 0},     {SF::kFileRun, 0},  {SF::kExplore, 3}, {SF::kExplore, 0},
      {SF::kExplore, 16},    {SF::kExplore, 6},        {SF::kExplore, 20}, {SF::kExplore, 17}, {SF::kExplore, 18},
      {SF::kExplore, 4},     {SF::kExplore, 2},        {SF::kExplore, 8},  {SF::kExplore, 10}, {SF::kExplore, 11},
      {SF::kExplore, 7},     {SF::kExplore, 5},
  };
  EXPECT_EQ(mem.shell.functions, expected);
  EXPECT_TRUE(host.boxes.empty());

  // The shell's object missing or failing: reported with the function's name, the macro goes on.
  mem.shell.functionResult = platform::ShellCallResult::kNoShellObject;
  interpreter.DoMacro("<RUNRP>y");
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].caption, "Error");
  EXPECT_EQ(host.boxes[0].text.substr(0, 50), "Function could not be located. Dialog Run failed. ");
  EXPECT_NE(host.boxes[0].text.find("\"Tools | Internet Explorer 5.0 Fix\""), std::string::npos);
  EXPECT_EQ(testing::TypedText(mem.input.keys), "y");
}

}  // namespace
}  // namespace wdx::player
